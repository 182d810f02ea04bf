// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "CaseName.h"
#include "EdictParser.h"

namespace tessel::compiler {
namespace {

using Strings = std::vector<std::string>;

struct EdictCase {
    const char* line;
    bool valid;
    EdictLine entry;
};

class EdictLineTest : public testing::TestWithParam<EdictCase> {};

TEST_P(EdictLineTest, SeparatesGlossesFromCodes) {
    EdictLine entry;
    ASSERT_EQ(parseEdictLine(GetParam().line, entry), GetParam().valid) << GetParam().line;
    if (GetParam().valid) {
        EXPECT_EQ(entry, GetParam().entry) << GetParam().line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, EdictLineTest,
    testing::Values(
        EdictCase{"東京 [とうきょう] /(n) Tokyo/(P)/",
                  true,
                  {"東京", "とうきょう", {"Tokyo"}, {"noun"}, true, false, false}},
        // senses, repeated codes and repeated glosses are folded together
        EdictCase{"食べる [たべる] /(v1,vt) (1) to eat/(v1,vt) (2) to live on (e.g. a salary)/(P)/",
                  true,
                  {"食べる",
                   "たべる",
                   {"to eat", "to live on (e.g. a salary)"},
                   {"Ichidan verb", "transitive verb"},
                   true,
                   false,
                   false}},
        // "uk" on the first sense; spelling codes before the part of speech
        EdictCase{"此れ [これ] /(pn) (1) (uk) this/(pn) (2) (uk) this person/",
                  true,
                  {"此れ", "これ", {"this", "this person"}, {"pronoun"}, false, true, false}},
        EdictCase{"為る [する] /(oK) (vs-i) (1) (uk) to do/",
                  true,
                  {"為る", "する", {"to do"}, {"suru verb"}, false, true, false}},
        // parentheses that are English stay; cross-references and loanword origins go
        EdictCase{"１服 [いっぷく] /(n,vs) (a) dose/(a) puff/",
                  true,
                  {"１服",
                   "いっぷく",
                   {"(a) dose", "(a) puff"},
                   {"noun", "suru verb"},
                   false,
                   false,
                   false}},
        EdictCase{
            "珈琲 [コーヒー] /(n,adj-no) (uk) (See 珈琲豆) coffee (eng: coffee, dut: koffie)/",
            true,
            {"珈琲", "コーヒー", {"coffee"}, {"noun", "no-adjective"}, false, true, false}},
        EdictCase{"ＲＡＨＭＥＮ [ラーメン] /(n) rigid frame (ger: Rah(men))/",
                  true,
                  {"ＲＡＨＭＥＮ", "ラーメン", {"rigid frame"}, {"noun"}, false, false, false}},
        // dialect and field codes are dropped like the others
        EdictCase{"あかん /(exp) (ksb:) (comp) no good/",
                  true,
                  {"あかん", "", {"no good"}, {"expression"}, false, false, false}},
        // a line whose only sense is a name
        EdictCase{"バルセロナ /(n) (place) Barcelona (Spain)/",
                  true,
                  {"バルセロナ", "", {"Barcelona (Spain)"}, {"noun"}, false, false, true}},
        EdictCase{"某 [ぼう] /(n) (place) Place/(n) (2) certain/",
                  true,
                  {"某", "ぼう", {"Place", "certain"}, {"noun"}, false, false, false}},
        // no gloss, no slashes, no term
        EdictCase{"４° [しど] /", false, {}}, EdictCase{"４° [しど] /(n)/", false, {}},
        EdictCase{"東京 [とうきょう] Tokyo", false, {}}, EdictCase{" /(n) x/", false, {}}),
    [](const auto& info) { return testCaseName(info.index, info.param.line); });

TEST(EdictTextTest, SkipsTheHeaderLineAndCountsInvalidLines) {
    const EdictText text = parseEdict(
        "\u3000\uFF1F\uFF1F\uFF1F /EDICT, EDICT_SUB(P)/Created: 2021-02-03/\n"
        "ヽ /(unc) repetition mark in katakana/\n"
        "４° [しど] /\n"
        "東京 [とうきょう] /(n) Tokyo/(P)/\n");
    ASSERT_EQ(text.lines.size(), 2u);
    EXPECT_EQ(text.lines[0].term, "ヽ");
    EXPECT_EQ(text.lines[0].partsOfSpeech, Strings{"unclassified"});
    EXPECT_EQ(text.skippedLines, 1u);
}

TEST(EucJpTest, DecodesTheDictionaryEncodingAndRejectsBrokenBytes) {
    // 東京 [とうきょう] in EUC-JP
    const std::string bytes = "\xC5\xEC\xB5\xFE [\xA4\xC8\xA4\xA6\xA4\xAD\xA4\xE7\xA4\xA6]";
    auto text = decodeEucJp(bytes);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, "東京 [とうきょう]");
    EXPECT_FALSE(decodeEucJp("\xC5\xEC\xB5").has_value()) << "truncated character";
    EXPECT_FALSE(decodeEucJp("ok \xA4\x41").has_value()) << "invalid trail byte";
}

}  // namespace
}  // namespace tessel::compiler
