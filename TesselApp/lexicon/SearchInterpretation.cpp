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

}  // namespace

std::vector<std::string> searchInterpretations(std::string_view trimmedQuery,
                                               LearningLanguage language) {
    std::vector<std::string> spellings;
    if (language == LearningLanguage::chinese) {
        std::string pinyin = AnswerNormalizer::normalizePinyin(trimmedQuery);
        if (hasAsciiLetter(pinyin)) spellings.push_back(std::move(pinyin));
    } else {
        spellings = lexiconRomajiSpellings(trimmedQuery, kJapaneseSpellingLimit);
    }
    const std::string asWritten = asciiLowered(trimmedQuery);
    std::erase_if(spellings,
                  [&](const std::string& s) { return s.empty() || s == asWritten; });
    return spellings;
}

}  // namespace tessel
