// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessel {

// True for the ideographs the lexicon keeps character data for: the CJK unified and
// compatibility ideograph blocks (all extensions), 々 and 〇. Kana, Latin and punctuation are not.
bool isHanCharacter(char32_t scalar);

// The distinct Han characters of `text` in order of first appearance, each as its UTF-8 text:
// the tiles of a dictionary term and the characters the compiler keeps. Ill-formed bytes are
// skipped.
std::vector<std::string> hanCharacters(std::string_view text);

}  // namespace tessel
