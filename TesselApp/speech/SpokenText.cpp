// SPDX-License-Identifier: GPL-3.0-or-later
#include "SpokenText.h"

#include "Utf8.h"

namespace tessel {
namespace {

constexpr std::string_view kBlank = "___";

// Hiragana, katakana (with ー and ・) and half-width katakana only.
bool isKana(std::string_view text) {
    if (text.empty()) return false;
    for (std::size_t i = 0; i < text.size();) {
        const auto [c, length] = utf8::decode(text, i);
        const bool kana = (c >= 0x3041 && c <= 0x30FF) || (c >= 0x31F0 && c <= 0x31FF) ||
                          (c >= 0xFF66 && c <= 0xFF9F);
        if (length == 0 || !kana) return false;
        i += length;
    }
    return true;
}

std::string filled(std::string_view sentence, std::string_view word) {
    std::string text;
    for (std::size_t at = 0;;) {
        const std::size_t blank = sentence.find(kBlank, at);
        text.append(sentence.substr(at, blank - at));
        if (blank == std::string_view::npos) return text;
        text.append(word);
        at = blank + kBlank.size();
    }
}

}  // namespace

std::string spokenWord(LearningLanguage language, std::string_view term, std::string_view reading) {
    if (language == LearningLanguage::chinese) return std::string(term);
    return isKana(reading) ? std::string(reading) : std::string();
}

std::string spokenSentence(const VocabularyItem& item, std::string_view sentenceReading) {
    if (item.language == LearningLanguage::chinese) return filled(item.exampleTarget, item.term);
    const std::string word = spokenWord(item.language, item.term, item.reading);
    if (word.empty() || sentenceReading.empty()) return word;
    return filled(sentenceReading, word);
}

}  // namespace tessel
