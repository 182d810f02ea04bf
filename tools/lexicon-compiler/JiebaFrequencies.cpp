// SPDX-License-Identifier: GPL-3.0-or-later
#include "JiebaFrequencies.h"
#include "TextLines.h"

#include <charconv>

namespace tessel::compiler {

WordFrequencies parseWordFrequencies(std::string_view text) {
    WordFrequencies result;
    result.words.reserve(360000);
    TextLines lines(text);
    std::string_view line;
    while (lines.next(line)) {
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;

        // The word itself may hold spaces ("AT&T" does not, "c #" might): the count is the
        // last numeric field, the tag an optional field after it. Fields are separated by
        // spaces (jieba) or tabs (the Rime essay).
        const std::size_t lastSpace = line.find_last_of(" \t");
        if (lastSpace == std::string_view::npos || lastSpace == 0) {
            ++result.skippedLines;
            continue;
        }
        std::string_view word = line.substr(0, lastSpace);
        std::string_view countText = line.substr(lastSpace + 1);
        std::string_view tag;
        std::int64_t count = 0;
        auto parsed = std::from_chars(countText.data(), countText.data() + countText.size(), count);
        if (parsed.ec != std::errc() || parsed.ptr != countText.data() + countText.size()) {
            tag = countText;
            const std::size_t countSpace = word.find_last_of(" \t");
            if (countSpace == std::string_view::npos || countSpace == 0) {
                ++result.skippedLines;
                continue;
            }
            countText = word.substr(countSpace + 1);
            word = word.substr(0, countSpace);
            parsed = std::from_chars(countText.data(), countText.data() + countText.size(), count);
            if (parsed.ec != std::errc() || parsed.ptr != countText.data() + countText.size()) {
                ++result.skippedLines;
                continue;
            }
        }
        if (count < 0) {
            ++result.skippedLines;
            continue;
        }
        auto [it, inserted] = result.words.try_emplace(std::string(word));
        if (inserted || count > it->second.count) {
            it->second.count = count;
            it->second.tag = std::string(tag);
        }
    }
    return result;
}

std::vector<std::string> chinesePartOfSpeechLabels(std::string_view tag) {
    struct Row {
        std::string_view tag;
        std::string_view label;
    };
    static constexpr Row kLabels[] = {
        {"n", "noun"},
        {"nr", "person name"},
        {"nrt", "person name"},
        {"nrfg", "person name"},
        {"ns", "place name"},
        {"nt", "organization name"},
        {"nz", "proper noun"},
        {"t", "time word"},
        {"s", "place word"},
        {"f", "locality word"},
        {"v", "verb"},
        {"vd", "verb"},
        {"vi", "verb"},
        {"vq", "verb"},
        {"vn", "verbal noun"},
        {"a", "adjective"},
        {"ad", "adjective"},
        {"an", "adjective"},
        {"b", "attributive adjective"},
        {"z", "descriptive word"},
        {"d", "adverb"},
        {"df", "adverb"},
        {"r", "pronoun"},
        {"rr", "pronoun"},
        {"rz", "pronoun"},
        {"m", "numeral"},
        {"mq", "numeral"},
        {"q", "measure word"},
        {"p", "preposition"},
        {"c", "conjunction"},
        {"u", "particle"},
        {"ud", "particle"},
        {"ug", "particle"},
        {"uj", "particle"},
        {"ul", "particle"},
        {"uv", "particle"},
        {"uz", "particle"},
        {"y", "modal particle"},
        {"e", "interjection"},
        {"o", "onomatopoeia"},
        {"i", "idiom"},
        {"l", "set phrase"},
        {"j", "abbreviation"},
    };
    for (const Row& row : kLabels) {
        if (row.tag == tag) return {std::string(row.label)};
    }
    return {};
}

}  // namespace tessel::compiler
