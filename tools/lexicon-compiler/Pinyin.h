// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace tessel::compiler {

// Numbered pinyin as the dictionary writes it ("ni3 hao3", "lu:4", "Zhong1 guo2") with tone
// marks instead ("nǐ hǎo", "lǜ", "Zhōng guó"), NFC, spaces and case kept. A token of several
// syllables is marked throughout ("shi2ke4" -> "shíkè", "yi1mo2-yi1yang4" -> "yīmó-yīyàng"), the
// erhua "r5" joins the syllable before it ("na3 r5" -> "nǎr") and the placeholder "xx5" is
// left out. Other tokens that are not syllables ("·", "A", ",") pass through unchanged; tone 5 and
// a missing number mark nothing.
std::string pinyinWithToneMarks(std::string_view numbered);

// Lower-case toneless pinyin without spaces or punctuation, ü written v: the form a learner
// types on a plain keyboard ("ni3 hao3" -> "nihao", "lu:4" -> "lv", "A A zhi4" -> "aazhi");
// the placeholder "xx5" is left out.
std::string pinyinRomanization(std::string_view numbered);

}  // namespace tessel::compiler
