// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "CaseName.h"
#include "Pinyin.h"

namespace tessel::compiler {
namespace {

struct PinyinCase {
    const char* numbered;
    const char* marked;
    const char* typed;
};

class PinyinTest : public testing::TestWithParam<PinyinCase> {};

TEST_P(PinyinTest, ConvertsToToneMarksAndKeyboardForm) {
    EXPECT_EQ(pinyinWithToneMarks(GetParam().numbered), GetParam().marked);
    EXPECT_EQ(pinyinRomanization(GetParam().numbered), GetParam().typed);
}

INSTANTIATE_TEST_SUITE_P(
    Syllables, PinyinTest,
    testing::Values(PinyinCase{"ni3 hao3", "nǐ hǎo", "nihao"},
                    // u: is ü, written v on a keyboard; the mark sits on the ü
                    PinyinCase{"lu:4", "lǜ", "lv"}, PinyinCase{"nu:3 er2", "nǚ ér", "nver"},
                    PinyinCase{"lu:e4", "lüè", "lve"},
                    // names keep their capital in the reading but not in the typed form
                    PinyinCase{"Zhong1 guo2", "Zhōng guó", "zhongguo"},
                    // a and e always take the mark, then o of "ou", then the last vowel
                    PinyinCase{"hua1", "huā", "hua"}, PinyinCase{"xue2", "xué", "xue"},
                    PinyinCase{"gou3", "gǒu", "gou"}, PinyinCase{"liu2", "liú", "liu"},
                    PinyinCase{"gui4", "guì", "gui"}, PinyinCase{"shuo1", "shuō", "shuo"},
                    // the neutral tone carries no mark
                    PinyinCase{"dong1 xi5", "dōng xi", "dongxi"},
                    PinyinCase{"wan2 r5", "wánr", "wanr"},
                    // erhua joins its syllable; a token of several syllables is marked whole
                    PinyinCase{"you3 dian3 r5", "yǒu diǎnr", "youdianr"},
                    PinyinCase{"shi2ke4", "shíkè", "shike"},
                    PinyinCase{"yi1mo2-yi1yang4", "yīmó-yīyàng", "yimoyiyang"},
                    // syllables without a vowel mark their nasal
                    PinyinCase{"m2", "ḿ", "m"}, PinyinCase{"ng4", "ǹg", "ng"},
                    PinyinCase{"e^2", "ế", "e"},
                    // letters and punctuation that are not syllables pass through
                    PinyinCase{"A A zhi4", "A A zhì", "aazhi"},
                    PinyinCase{"Ka3 er3 · Ma3 ke4 si1", "Kǎ ěr · Mǎ kè sī", "kaermakesi"},
                    // the placeholder for "no Mandarin reading" is no reading
                    PinyinCase{"xx5", "", ""}, PinyinCase{"jiu4 xx5", "jiù", "jiu"}, PinyinCase{"", "", ""}),
    [](const auto& info) { return testCaseName(info.index, info.param.numbered); });

}  // namespace
}  // namespace tessel::compiler
