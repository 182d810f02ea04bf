// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessel::compiler {

// A reading's romaji and the kana sounds it spells.
struct RomajiSpelling {
    // Kana by kana with no macrons (とうきょう -> "toukyou", は -> "ha", を -> "wo"), small っ
    // doubling the next consonant (きって -> "kitte", まっちゃ -> "matcha") and written "'"
    // where there is none (あっ -> "a'"), ん written "n'" before a vowel or y (きんえん ->
    // "kin'en") and "n" elsewhere, the long mark ー repeating the vowel before it (ラーメン ->
    // "raamen"), a small kana outside a two-kana syllable spelled like the full-size one.
    // Katakana and half-width forms read like hiragana; Latin letters and digits are kept in
    // lower case; punctuation and spaces are dropped. Empty when the reading holds anything
    // else (a kanji, say), so that no entry carries a wrong romanization.
    std::string romaji;
    // The reading as hiragana sounds (UTF-8): katakana folded, ー replaced by its vowel, small
    // kana outside a syllable made full-size, punctuation dropped. Readings with equal sounds
    // are pronounced alike and may share a romaji; others may not.
    std::string sounds;
};

RomajiSpelling spellKana(std::string_view reading);

// spellKana(reading).romaji.
std::string kanaToRomaji(std::string_view reading);

// Two readings that sound different but are spelled alike.
struct RomajiCollision {
    std::string romaji;
    std::string firstReading;
    std::string otherReading;
};

// One collision per shared romaji, in the order met; empty when every romaji names one sound.
// The lexicon must be built with none: a typed romaji answer or query has to stand for one
// reading.
std::vector<RomajiCollision> romajiCollisions(const std::vector<std::string_view>& readings);

}  // namespace tessel::compiler
