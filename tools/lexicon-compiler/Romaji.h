#pragma once

#include <string>
#include <string_view>

namespace tessel::compiler {

// Keyboard-style romaji of a kana reading, the letters a learner types to enter it:
// kana by kana with no macrons (とうきょう -> "toukyou", は -> "ha", を -> "wo"), small っ doubling
// the next consonant (きって -> "kitte"), ん written "nn" before a vowel or y (きんえん ->
// "kinnen") and "n" elsewhere, the long mark ー repeating the vowel before it (ラーメン ->
// "raamen"). Katakana and half-width forms read like hiragana; Latin letters and digits are
// kept in lower case; punctuation and spaces are dropped. Empty when the reading holds
// anything else (a kanji, say), so that no entry carries a wrong romanization.
std::string kanaToRomaji(std::string_view reading);

}  // namespace tessel::compiler
