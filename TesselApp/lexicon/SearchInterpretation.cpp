// SPDX-License-Identifier: GPL-3.0-or-later
#include "SearchInterpretation.h"

#include <algorithm>

#include "AnswerNormalization.h"
#include "RomajiSpellings.h"
#include "SearchText.h"

namespace tessel {
namespace {

// Every interpretation is one more search of the romanization column per keystroke; the first
// few spellings are the likely ones (long vowels as "ou"/"ei" before "oo"/"ee").
constexpr std::size_t kJapaneseSpellingLimit = 8;

bool hasAsciiLetter(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); });
}

// "gè r" -> "gèr": a lone "r" after a syllable joins it.
std::string joinedErhua(std::string_view query) {
    std::string joined;
    for (std::size_t i = 0; i < query.size(); ++i) {
        const bool detachedR = query[i] == ' ' && i > 0 && query[i - 1] != ' ' &&
                               i + 1 < query.size() &&
                               (query[i + 1] == 'r' || query[i + 1] == 'R') &&
                               (i + 2 == query.size() || query[i + 2] == ' ');
        if (!detachedR) joined.push_back(query[i]);
    }
    return joined;
}

}  // namespace

std::vector<SearchInterpretation> searchInterpretations(std::string_view trimmedQuery,
                                                        LearningLanguage language) {
    std::vector<SearchInterpretation> interpretations;
    std::vector<std::string> spellings;
    if (language == LearningLanguage::chinese) {
        if (std::string joined = joinedErhua(trimmedQuery); joined != trimmedQuery) {
            interpretations.push_back({std::move(joined), false});
        }
        std::string pinyin = AnswerNormalizer::normalizePinyin(trimmedQuery);
        if (hasAsciiLetter(pinyin)) spellings.push_back(std::move(pinyin));
    } else {
        spellings = lexiconRomajiSpellings(trimmedQuery, kJapaneseSpellingLimit);
    }
    const std::string asWritten = asciiLowered(trimmedQuery);
    for (std::string& spelling : spellings) {
        if (!spelling.empty() && spelling != asWritten) {
            interpretations.push_back({std::move(spelling), true});
        }
    }
    return interpretations;
}

}  // namespace tessel
