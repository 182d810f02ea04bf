// SPDX-License-Identifier: GPL-3.0-or-later
#include "AnswerNormalization.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessel {
namespace {

constexpr auto kChinese = LearningLanguage::chinese;
constexpr auto kJapanese = LearningLanguage::japanese;
constexpr auto kAutomatic = AnswerContent::automatic;
constexpr auto kPinyin = AnswerContent::pinyin;
constexpr auto kText = AnswerContent::text;

struct NormalizeCase {
    LearningLanguage language;
    AnswerContent content;
    std::string input;
    std::string expected;
};

void PrintTo(const NormalizeCase& c, std::ostream* os) {
    *os << rawValue(c.language) << "/" << rawValue(c.content) << " \"" << c.input << "\"";
}

class NormalizeTest : public testing::TestWithParam<NormalizeCase> {};

TEST_P(NormalizeTest, GivesTheComparableForm) {
    const auto& c = GetParam();
    EXPECT_EQ(AnswerNormalizer::normalize(c.input, c.language, c.content), c.expected);
    if (c.content == kPinyin) {
        EXPECT_EQ(AnswerNormalizer::normalizePinyin(c.input), c.expected);
    }
}

// clang-format off
const NormalizeCase kWorkedExamples[] = {
    {kChinese, kPinyin, "Nǐ hǎo", "nihao"},
    {kChinese, kPinyin, "ni3 hao3", "nihao"},
    {kChinese, kPinyin, "NI3-HAO3", "nihao"},
    {kChinese, kPinyin, "Xī’ān", "xian"},
    {kChinese, kPinyin, "lǜ", "lv"},
    {kChinese, kPinyin, "lu:4", "lv"},
    {kChinese, kPinyin, "lü", "lv"},
    {kChinese, kPinyin, "nǐ hǎo!", "nihao!"},
    {kChinese, kAutomatic, "你好", "你好"},
    {kChinese, kAutomatic, "nǐhǎo", "nihao"},
    {kChinese, kText, "Nǐ Hǎo", "nǐhǎo"},
    {kJapanese, kAutomatic, "Taberu", "taberu"},
    {kJapanese, kText, "ＡＢＣ", "abc"},
    {kChinese, kText, "Ice Cream", "icecream"},
    {kJapanese, kText, "Ice Cream", "icecream"},
    {kChinese, kText, "to eat, drink", "toeat,drink"},
    {kJapanese, kText, "to eat, drink", "toeat,drink"},
};

const NormalizeCase kPinyinRule[] = {
    {kChinese, kPinyin, "ni6 hao0 ma5 ba9", "ni6haomaba9"},
    {kChinese, kPinyin, "LU:", "lv"},
    {kChinese, kPinyin, "u:u:uu:u", "vvuvu"},
    {kChinese, kPinyin, "LǙ Ǘ Ü", "lvvv"},
    {kChinese, kPinyin, "lu\u0308\u0300", "lv"},  // ǜ decomposed
    {kChinese, kPinyin, "xi'an-x\u02BCi\u00B7an", "xianxian"},
    {kChinese, kPinyin, "ê ń ň ǹ ḿ", "ennnm"},
    {kChinese, kPinyin, "ｎｉ３ ｈａｏ３", "nihao"},
    {kChinese, kPinyin, "ni\u3000hao\u00A0ma\t\n\r\u2028\u2029\u0085", "nihaoma"},
    {kChinese, kPinyin, "你好, nǐ hǎo?", "你好,nihao?"},
    {kChinese, kPinyin, "が", "か"},  // voicing marks fold like diacritics
    {kChinese, kPinyin, "İ", "i"},
    {kChinese, kPinyin, " \t ", ""},
    {kChinese, kPinyin, "", ""},
};

const NormalizeCase kTextRule[] = {
    {kJapanese, kText, "ﾀﾍﾞﾙ", "タベル"},
    {kJapanese, kAutomatic, "Tōkyō", "tōkyō"},
    {kJapanese, kText, "ΟΔΟΣ ΟΔΟΣ", "οδοςοδος"},
    {kJapanese, kText, "Straße ǅ ﬁ", "straßedžfi"},
    {kChinese, kText, "ni3 hao3", "ni3hao3"},
    {kJapanese, kText, "a\r\nb\u3000c", "abc"},
    {kJapanese, kText, "a \u0301b", "a \u0301b"},  // a space carrying a mark is no space
    {kJapanese, kText, "\u3000 \u00A0", ""},
};

// Only the input's own scalars decide the rule; × and ÷ lie in the Latin range taken whole.
const NormalizeCase kAutomaticChoice[] = {
    {kChinese, kAutomatic, "你好5", "你好5"},
    {kChinese, kAutomatic, "×5", "×"},
    {kChinese, kAutomatic, "ʯ5", "ʯ"},
    {kChinese, kAutomatic, "Ͱ5", "ͱ5"},
    {kChinese, kAutomatic, "ｎｉ3", "ni"},  // width is folded before the letter test
    {kChinese, kAutomatic, "ｎｉ３ｈａｏ３", "nihao"},
    {kChinese, kAutomatic, "ni3 好", "ni好"},
};
// clang-format on

std::string caseName(const testing::TestParamInfo<NormalizeCase>& info) {
    return std::string(rawValue(info.param.language)) + "_" +
           std::string(rawValue(info.param.content)) + "_" + std::to_string(info.index);
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, NormalizeTest, testing::ValuesIn(kWorkedExamples),
                         caseName);
INSTANTIATE_TEST_SUITE_P(PinyinRule, NormalizeTest, testing::ValuesIn(kPinyinRule), caseName);
INSTANTIATE_TEST_SUITE_P(TextRule, NormalizeTest, testing::ValuesIn(kTextRule), caseName);
INSTANTIATE_TEST_SUITE_P(AutomaticChoice, NormalizeTest, testing::ValuesIn(kAutomaticChoice),
                         caseName);

struct EvaluationCase {
    const char* name;
    VocabularyItem item;
    ExerciseDirection direction;
    std::string input;
    bool correct;
    std::optional<std::string> matched;
    std::string normalized;
};

VocabularyItem item(LearningLanguage language, std::string term, std::string reading,
                    std::optional<std::string> romanization = {},
                    std::vector<std::string> accepted = {},
                    std::vector<std::string> meanings = {}) {
    VocabularyItem made;
    made.language = language;
    made.term = std::move(term);
    made.reading = std::move(reading);
    made.romanization = std::move(romanization);
    made.acceptedAnswers = std::move(accepted);
    made.meanings = std::move(meanings);
    return made;
}

TEST(AnswerValidatorTest, JudgesInputsAgainstAnItem) {
    const auto target = ExerciseDirection::targetLanguage;
    const auto meaning = ExerciseDirection::meaning;
    const auto nihao = item(kChinese, "你好", "nǐ hǎo");
    const auto taberu = item(kJapanese, "食べる", "タベル", "taberu");
    const auto tokyo = item(kJapanese, "東京", "とうきょう", "tōkyō");
    const auto spaces = item(kChinese, "", "", {}, {"   "});
    const auto twins = item(kChinese, "绿", "lǜ", {}, {"lu:"});
    const auto eat = item(kChinese, "吃", "chī", {}, {}, {"to eat", "to consume"});
    const std::vector<EvaluationCase> cases = {
        {"hanzi", nihao, target, "你好", true, "你好", "你好"},
        {"spaced", nihao, target, "ni hao", true, "nǐ hǎo", "nihao"},
        {"joined", nihao, target, "nihao", true, "nǐ hǎo", "nihao"},
        {"tone digits", nihao, target, "Ni3Hao3", true, "nǐ hǎo", "nihao"},
        {"hyphenated", nihao, target, "nǐ-hǎo", true, "nǐ hǎo", "nihao"},
        {"punctuation counts", nihao, target, "nihao!", false, {}, "nihao!"},
        {"misspelt", nihao, target, "ni hau", false, {}, "nihau"},
        {"full-width digits", nihao, target, "ｎｉ３ｈａｏ３", true, "nǐ hǎo", "nihao"},
        {"other script", taberu, target, "たべる", false, {}, "たべる"},
        {"half-width kana", taberu, target, "ﾀﾍﾞﾙ", true, "タベル", "タベル"},
        {"romanization", taberu, target, "TABERU", true, "taberu", "taberu"},
        {"diacritics kept in Japanese", tokyo, target, "tokyo", false, {}, "tokyo"},
        {"diacritics given", tokyo, target, "Tōkyō", true, "tōkyō", "tōkyō"},
        {"empty against spaces", spaces, target, "", false, "   ", ""},
        {"spaces against spaces", spaces, target, " \t", false, "   ", ""},
        {"first of equal forms", twins, target, "lv", true, "lǜ", "lv"},
        {"lu is not lü", twins, target, "lu", false, {}, "lu"},
        {"lu: is lü", twins, target, "lu:", true, "lǜ", "lv"},
        {"meaning with spaces", eat, meaning, "To  Eat", true, "to eat", "toeat"},
        {"meaning with hyphen", eat, meaning, "to-eat", false, {}, "to-eat"},
        {"second meaning", eat, meaning, "to consume", true, "to consume", "toconsume"},
        {"meanings are not target answers", eat, target, "to eat", false, {}, "toeat"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto evaluation = AnswerValidator().evaluate(c.input, c.item, c.direction);
        EXPECT_EQ(evaluation, (AnswerEvaluation{c.input, c.normalized, c.correct, c.matched}));
    }
}

// Cards carry the lexicon's romaji ("toukyou", "san'in"); learners type Hepburn or keyboard romaji.
TEST(AnswerValidatorTest, AcceptsHepburnAndKeyboardRomaji) {
    const auto target = ExerciseDirection::targetLanguage;
    struct Case {
        VocabularyItem item;
        std::string input;
        bool correct;
    };
    const auto toukyou = item(kJapanese, "東京", "とうきょう", "toukyou");
    const auto ookii = item(kJapanese, "大きい", "おおきい", "ookii");
    const auto sensei = item(kJapanese, "先生", "せんせい", "sensei");
    const auto san_in = item(kJapanese, "参院", "さんいん", "san'in");
    const auto sannin = item(kJapanese, "三人", "さんにん", "sannin");
    const auto genin = item(kJapanese, "原因", "げんいん", "gen'in");
    // clang-format off
    const std::vector<Case> cases = {
        {toukyou, "tōkyō", true},      {toukyou, "Tôkyô", true},
        {toukyou, "tookyoo", true},    {toukyou, "toukyou", true},
        {toukyou, "tokyo", false},     {toukyou, "toukyo", false},
        {ookii, "ōkii", true},         {sensei, "sensē", true},
        {sensei, "sensee", true},
        {item(kJapanese, "手続き", "てつづき", "tetsuduki"), "tetsuzuki", true},
        {item(kJapanese, "設置", "せっち", "setchi"), "secchi", true},
        {item(kJapanese, "実は", "じつは", "jitsuha"), "jitsu wa", true},
        {item(kJapanese, "気を付けて", "きをつけて", "kiwotsukete"), "ki o tsukete", true},
        {item(kJapanese, "ラーメン", "らーめん", "raamen"), "ra-men", true},
        {item(kJapanese, "あっ", "あっ", "a'"), "axtsu", true},
        {genin, "gen'in", true},       {genin, "gennin", true},
        {genin, "genin", false},       {san_in, "sannin", true},
        {sannin, "san'in", false},     {sannin, "sannnin", true},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input + " for " + *c.item.romanization);
        const auto evaluation = AnswerValidator().evaluate(c.input, c.item, target);
        EXPECT_EQ(evaluation.isCorrect, c.correct);
        if (c.correct) {
            EXPECT_EQ(evaluation.matchedAnswer, c.item.romanization);
        }
    }
    // A meaning is English: "to eat" is no romaji spelling of "to heat".
    const auto heat = item(kJapanese, "熱する", "ねっする", "nessuru", {}, {"to heat"});
    EXPECT_FALSE(AnswerValidator().evaluate("to eat", heat, ExerciseDirection::meaning).isCorrect);
}

TEST(AnswerValidatorTest, AutomaticContentChoosesPerCandidate) {
    // The input is read as pinyin, the hanzi candidate as text, the Latin one as pinyin.
    const auto evaluation =
        AnswerValidator().evaluate("Ni3hao3", {"你好", "", "nǐ hǎo"}, kChinese, kAutomatic);
    EXPECT_EQ(evaluation.matchedAnswer, std::optional<std::string>("nǐ hǎo"));
    EXPECT_TRUE(evaluation.isCorrect);
    EXPECT_FALSE(AnswerValidator().evaluate("nihao", {}, kChinese, kAutomatic).isCorrect);
}

TEST(AnswerEvaluationTest, JsonRoundTripAndRefusals) {
    for (const auto& evaluation : {AnswerEvaluation{"Nǐ hǎo", "nihao", true, "nǐ hǎo"},
                                   AnswerEvaluation{"", "", false, {}}}) {
        EXPECT_EQ(AnswerEvaluation::decode(evaluation.encode()), evaluation);
    }
    EXPECT_EQ((AnswerEvaluation{"a", "a", false, {}}.encode()),
              R"({"input":"a","isCorrect":false,"normalizedInput":"a"})");
    EXPECT_EQ(AnswerEvaluation::decode(
                  R"({"input":"x","normalizedInput":"x","isCorrect":false,"matchedAnswer":null})"),
              (AnswerEvaluation{"x", "x", false, {}}));
    for (const char* bad :
         {R"({"input":"x","normalizedInput":"x"})",
          R"({"input":"x","normalizedInput":"x","isCorrect":1})",
          R"({"input":"x","normalizedInput":7,"isCorrect":true})",
          R"({"input":"x","normalizedInput":"x","isCorrect":true,"matchedAnswer":[]})",
          R"(["input"])", "{"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(AnswerEvaluation::decode(bad).has_value());
    }
    for (const auto content : {kAutomatic, kPinyin, kText}) {
        EXPECT_EQ(answerContentFromRawValue(rawValue(content)), content);
    }
    EXPECT_EQ(answerContentFromRawValue("Pinyin"), std::nullopt);
}

}  // namespace
}  // namespace tessel
