// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "CompiledEntry.h"
#include "Result.h"

namespace tessel::compiler {

// One word of a hand-made check list of first-year words: the spellings a learner may meet
// (the first is the usual one) and, for Japanese, the accepted kana readings.
struct CheckWord {
    std::vector<std::string> forms;
    std::vector<std::string> readings;  // empty: any reading (Chinese lists give none)
    bool operator==(const CheckWord&) const = default;
};

// The words of a tab-separated check list: "forms<TAB>readings<TAB>..." for Japanese,
// "form<TAB>..." for Chinese, alternatives split by "|", lines starting with "#" skipped.
// Fails on a line without a form.
Result<std::vector<CheckWord>> parseCheckList(std::string_view text, bool withReadings);

// How well a built course covers a check list. Band 7 stands for "not in the course".
struct CheckScore {
    std::size_t words = 0;
    std::size_t inCourse = 0;
    std::size_t inFirstTwoBands = 0;   // the first 1,500 course entries
    int medianBand = 7;                // the upper median over all words
    std::vector<std::string> missing;  // usual spellings of the words not in the course
    // Course entries in bands 1 and 2 that are names: capitalised Chinese headwords, and
    // those among them whose segmenter tag or glosses say they name a person.
    std::size_t namesInFirstTwoBands = 0;
    std::size_t personalNamesInFirstTwoBands = 0;
};

// Scores the course of `ranked` (after assignCourse) against `words`: a word is in the course
// when a course entry has one of its forms as term or alternate form and, where the list gives
// readings, one of its readings; its band is the earliest such entry's level.
CheckScore scoreCourse(const RankedEntries& ranked, const std::vector<CheckWord>& words);

// "in course 147/150, bands 1-2: 92, median band 2" and the missing words, for the summary.
std::string describeScore(const CheckScore& score);

}  // namespace tessel::compiler
