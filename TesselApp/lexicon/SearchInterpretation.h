// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "Vocabulary.h"

namespace tessel {

// Another way a dictionary query may be meant, searched after the query itself.
struct SearchInterpretation {
    std::string text;
    // True: entries whose romanization holds `text`; false: `text` searched like a query.
    bool romanizationOnly = true;

    bool operator==(const SearchInterpretation&) const = default;
};

// The interpretations of a trimmed query, in the order their results are listed:
//   - Chinese erhua written apart from its syllable, as the dictionary used to show it, joined
//     to it ("gè r" -> "gèr"), searched like a query;
//   - Chinese: the query as toneless pinyin ("nǐ hǎo", "ni3 hao3", "ｎｉ３ｈａｏ３" -> "nihao";
//     "lüsè", "lv4 se4" -> "lvse"), in the romanization column;
//   - Japanese: the lexicon's spellings of Hepburn or keyboard romaji ("tōkyō" -> "toukyou",
//     "tookyou", ...; see RomajiSpellings.h), in the romanization column.
// Romanization spellings equal to the query with ASCII letters lowered are left out (the query
// itself finds those), so are empty ones. Empty when the query holds no Latin letter.
std::vector<SearchInterpretation> searchInterpretations(std::string_view trimmedQuery,
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
