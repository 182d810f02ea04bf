// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "CompiledEntry.h"
#include "EdictParser.h"
#include "JmdictPriorities.h"
#include "KanjiDictionary.h"

namespace tessel::compiler {

// What the ranking knows about one dictionary line.
struct JapaneseSignals {
    Priority priority;           // the markers its written form and reading share
    bool commonMark = false;     // the line's own "(P)"
    bool kanaWord = false;       // written in kana, or usually written in kana
    int kanjiGrade = 0;          // the latest school grade among its kanji (0: none listed)
    int kanjiLevel = 0;          // the hardest former test level among its kanji, 1..4 (0: none)
    bool unlistedKanji = false;  // a kanji the kanji dictionary gives no grade or level
    int length = 0;              // characters of the written form
};

// A common word: on any "1" list (news1, ichi1, spec1, gai1) or marked (P). Common words come
// before every other line and alone make up the course.
bool isCommonJapanese(const JapaneseSignals& signals);

// How far from a beginner's first words a common line looks, lower first: a weighted sum of
// the newspaper bucket's mean percentile, the kanji school grade (kana words count as an early
// grade), the kanji test level, the written length, and a bonus for the ichi1 list, which was
// drawn from everyday vocabulary rather than newspapers.
double japaneseCommonScore(const JapaneseSignals& signals);

// Strict weak order of two lines' signals, better first: common lines by their score, then
// the rest by bucket, then first lists, then (P), then second lists. Ties are for the caller.
bool betterJapaneseSignals(const JapaneseSignals& a, const JapaneseSignals& b);

// The signals of one line, given the markers its written form and reading share and the kanji
// dictionary that grades its characters.
JapaneseSignals japaneseSignals(const EdictLine& line, const Priority& priority,
                                const KanjiDictionary& kanji);

// The "ja" rows: one per dictionary line, term the written form, reading the kana (the term
// itself for kana words), keyboard romaji, glosses without codes, readable parts of speech.
// Words usually written in kana carry their kana as the alternate form, so that the kana
// spelling finds them and is accepted as an answer. Ranked by `betterJapaneseSignals`, then
// shorter terms, then text. The common lines are the ranked ones. A line is course-eligible
// unless all its glosses name a person or place, or it is a spelling variant of a better
// ranked line of the same dictionary entry with the same reading (入口 after 入り口): the
// learner studies each word once, under its main spelling, whose id it keeps.
RankedEntries buildJapaneseEntries(const EdictText& dictionary, const PriorityIndex& priorities,
                                   const KanjiDictionary& kanji);

}  // namespace tessel::compiler
