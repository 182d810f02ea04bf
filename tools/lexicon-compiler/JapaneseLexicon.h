#pragma once

#include "CompiledEntry.h"
#include "EdictParser.h"
#include "JmdictPriorities.h"

namespace tessel::compiler {

// How useful a Japanese line looks, best first: frequency bucket (nf01..nf48), then the "1"
// lists (news1, ichi1, spec1, gai1), then the dictionary's own common mark (P). Lines with
// none of these are unranked.
struct JapaneseRankKey {
    int tier = 3;  // 0: has a bucket, 1: a "1" list, 2: only (P), 3: unranked
    int bucket = 0;
    int firstLists = 0;
    bool common = false;
    int secondLists = 0;

    bool ranked() const { return tier < 3; }
};

JapaneseRankKey japaneseRankKey(const Priority& priority, bool common);

// Strict weak order on rank keys (better first); ties are broken by the caller.
bool betterJapaneseKey(const JapaneseRankKey& a, const JapaneseRankKey& b);

// The "ja" rows: one per dictionary line, term the written form, reading the kana (the term
// itself for kana words), keyboard romaji, glosses without codes, readable parts of speech.
// Words usually written in kana carry their kana as the alternate form, so that the kana
// spelling finds them and is accepted as an answer. Ranked by `japaneseRankKey`, then shorter
// terms, then text; a line is course-eligible unless all its glosses name a person or place.
RankedEntries buildJapaneseEntries(const EdictText& dictionary, const PriorityIndex& priorities);

}  // namespace tessel::compiler
