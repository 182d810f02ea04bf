// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessel::compiler {

// A word's count in the segmenter's dictionary and its part-of-speech tag ("n", "v", ...).
struct WordFrequency {
    std::int64_t count = 0;
    std::string tag;
};

struct WordFrequencies {
    std::unordered_map<std::string, WordFrequency> words;
    std::size_t skippedLines = 0;  // lines that are not "word count [tag]"
};

// Reads "word count tag" lines (jieba) and "word<TAB>weight" lines (the Rime essay); fields
// are separated by spaces or tabs. A word listed twice keeps its larger count.
WordFrequencies parseWordFrequencies(std::string_view text);

// Readable labels for a segmenter tag ("v" -> {"verb"}); empty for morpheme and unknown tags,
// which say nothing a learner could use.
std::vector<std::string> chinesePartOfSpeechLabels(std::string_view tag);

}  // namespace tessel::compiler
