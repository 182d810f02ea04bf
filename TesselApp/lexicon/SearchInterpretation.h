#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "Vocabulary.h"

namespace tessel {

// The romanizations a dictionary query may mean besides its own text, for searching the
// romanization column: for Chinese the query as toneless pinyin ("nǐ hǎo", "ni3 hao3",
// "ｎｉ３ｈａｏ３" -> "nihao"; "lüsè", "lv4 se4" -> "lvse"), for Japanese the lexicon's spellings
// of Hepburn or keyboard romaji ("tōkyō" -> "toukyou", "tookyou", ...; see RomajiSpellings.h).
// Spellings equal to the query with ASCII letters lowered are left out (the query as written
// finds those already), so are empty ones. Empty when the query holds no Latin letter.
std::vector<std::string> searchInterpretations(std::string_view trimmedQuery,
                                               LearningLanguage language);

// Appends to `results` the items of `more` whose key is not in `results` yet, until `results`
// holds `limit`: the results of an interpretation come after the query's own, without repeats.
template <class T, class Key>
void appendUnlisted(std::vector<T>& results, std::vector<T> more, std::size_t limit, Key key) {
    for (T& item : more) {
        if (results.size() >= limit) return;
        bool listed = false;
        for (const T& present : results) {
            if (key(present) == key(item)) {
                listed = true;
                break;
            }
        }
        if (!listed) results.push_back(std::move(item));
    }
}

}  // namespace tessel
