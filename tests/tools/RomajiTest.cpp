// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "CaseName.h"
#include "Romaji.h"

namespace tessel::compiler {
namespace {

struct RomajiCase {
    const char* reading;
    const char* romaji;
};

class RomajiTest : public testing::TestWithParam<RomajiCase> {};

TEST_P(RomajiTest, SpellsTheReadingAsTyped) {
    EXPECT_EQ(kanaToRomaji(GetParam().reading), GetParam().romaji) << GetParam().reading;
}

INSTANTIATE_TEST_SUITE_P(
    Readings, RomajiTest,
    testing::Values(RomajiCase{"とうきょう", "toukyou"}, RomajiCase{"たべる", "taberu"},
                    RomajiCase{"こんにちは", "konnichiha"}, RomajiCase{"を", "wo"},
                    RomajiCase{"しゃしん", "shashin"}, RomajiCase{"じゃあ", "jaa"},
                    RomajiCase{"ちぢむ", "chidimu"}, RomajiCase{"つづく", "tsuduku"},
                    // small tsu doubles the next consonant, "ch" as "tch"; elsewhere "'"
                    RomajiCase{"きって", "kitte"}, RomajiCase{"がっこう", "gakkou"},
                    RomajiCase{"まっちゃ", "matcha"}, RomajiCase{"あっ", "a'"},
                    // syllabic n before a vowel or y takes an apostrophe
                    RomajiCase{"きんえん", "kin'en"}, RomajiCase{"ほんや", "hon'ya"},
                    RomajiCase{"きんねん", "kinnen"}, RomajiCase{"こんにちは", "konnichiha"},
                    RomajiCase{"しんぶん", "shinbun"}, RomajiCase{"ほん", "hon"},
                    // katakana, the long mark and foreign sounds
                    RomajiCase{"ラーメン", "raamen"}, RomajiCase{"コーヒー", "koohii"},
                    RomajiCase{"シーディー", "shiidhii"}, RomajiCase{"ヴァイオリン", "vaiorin"},
                    RomajiCase{"ファイル", "fairu"}, RomajiCase{"ｶﾀｶﾅ", "katakana"},
                    // a small kana outside a syllable reads as the full-size one
                    RomajiCase{"ねぇ", "nee"}, RomajiCase{"ゃ", "ya"}, RomajiCase{"ウィ", "wi"},
                    RomajiCase{"ゐ", "wyi"},
                    // punctuation is dropped, Latin letters and digits kept in lower case
                    RomajiCase{"ア・イ", "ai"}, RomajiCase{"ＣＤ", "cd"},
                    RomajiCase{"Ｔシャツ", "tshatsu"},
                    // anything that has no romaji leaves none rather than a wrong one
                    RomajiCase{"漢字", ""}, RomajiCase{"か字", ""}, RomajiCase{"", ""}),
    [](const auto& info) { return testCaseName(info.index, info.param.romaji); });

// The pairs that shared a spelling when ん was written "nn" before a vowel but "n" before the
// n row, plus readings that sound alike and may share one.
TEST(RomajiCollisionsTest, OnlyReadingsThatSoundAlikeShareASpelling) {
    const std::vector<std::string_view> readings = {
        "さんにん", "さんいん",   "たんに",   "たんい",   "きんねん", "きんえん", "ぜんにん",
        "ぜんいん", "しんにゅう", "しんゆう", "かんねん", "かんえん", "ラーメン", "らあめん",
        "ア・イ",   "あい",       "ねぇ",     "ねえ",     "カフェ",   "かふぇ"};
    EXPECT_TRUE(romajiCollisions(readings).empty());

    // A Latin letter in a reading is no kana sound.
    const std::vector<RomajiCollision> found = romajiCollisions({"あ", "Ａ", "あ", "ａ"});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].romaji, "a");
    EXPECT_EQ(found[0].otherReading, "Ａ");
}

}  // namespace
}  // namespace tessel::compiler
