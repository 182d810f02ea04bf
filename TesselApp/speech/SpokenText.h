// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "Vocabulary.h"

namespace tessel {

// What the voice says for a word: Mandarin reads the characters; Japanese reads the kana
// reading, because the Japanese voice cannot read kanji. Empty (say nothing) for a Japanese word
// whose reading is not kana.
std::string spokenWord(LearningLanguage language, std::string_view term, std::string_view reading);

// What the voice says for a card's example: Mandarin reads the sentence with the term in its
// blank. Japanese reads `sentenceReading` (the sentence in kana, with the blank) with the word's
// reading in the blank; without a sentence reading, the word alone as `spokenWord` says it.
// Empty when there is nothing a voice could read right.
std::string spokenSentence(const VocabularyItem& item, std::string_view sentenceReading);

}  // namespace tessel
