#include <gtest/gtest.h>

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
                    // small tsu doubles the next consonant, "cch" included
                    RomajiCase{"きって", "kitte"}, RomajiCase{"がっこう", "gakkou"},
                    RomajiCase{"まっちゃ", "maccha"}, RomajiCase{"あっ", "axtsu"},
                    // syllabic n before a vowel or y is typed twice
                    RomajiCase{"きんえん", "kinnen"}, RomajiCase{"ほんや", "honnya"},
                    RomajiCase{"しんぶん", "shinbun"}, RomajiCase{"ほん", "hon"},
                    // katakana, the long mark and foreign sounds
                    RomajiCase{"ラーメン", "raamen"}, RomajiCase{"コーヒー", "koohii"},
                    RomajiCase{"シーディー", "shiidhii"}, RomajiCase{"ヴァイオリン", "vaiorin"},
                    RomajiCase{"ファイル", "fairu"}, RomajiCase{"ｶﾀｶﾅ", "katakana"},
                    // punctuation is dropped, Latin letters and digits kept in lower case
                    RomajiCase{"ア・イ", "ai"}, RomajiCase{"ＣＤ", "cd"},
                    RomajiCase{"Ｔシャツ", "tshatsu"},
                    // anything that has no romaji leaves none rather than a wrong one
                    RomajiCase{"漢字", ""}, RomajiCase{"か字", ""}, RomajiCase{"", ""}));

}  // namespace
}  // namespace tessel::compiler
