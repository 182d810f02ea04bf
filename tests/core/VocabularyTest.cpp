// SPDX-License-Identifier: GPL-3.0-or-later
#include "Vocabulary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessel {
namespace {

using Strings = std::vector<std::string>;

VocabularyItem makeItem(std::string id, LearningLanguage language, std::string term,
                        std::string reading, std::optional<std::string> romanization = {},
                        Strings meanings = {}, Strings acceptedAnswers = {}) {
    // clang-format off
    return VocabularyItem{std::move(id), language, std::move(term), std::move(reading),
                          std::move(romanization), std::move(meanings), "例句", "Example.", 2, 150,
                          std::move(acceptedAnswers), {"noun"}};
    // clang-format on
}

// One complete item object in JSON, with `extra` spliced in before the closing brace; a key
// repeated there counts with its later value.
std::string itemJson(const std::string& language = "chinese", const std::string& extra = "") {
    return R"({"id":"zh-1","language":")" + language +
           R"(","term":"你好","reading":"nǐ hǎo","meanings":["hello"],)"
           R"("exampleTarget":"你好！","exampleEnglish":"Hello!","level":1,"frequencyRank":7,)"
           R"("acceptedAnswers":["ni hao"],"tags":["greeting"])" +
           extra + "}";
}

std::string catalogJson(const std::string& items, const std::string& version = "3") {
    return R"({"schemaVersion":)" + version + R"(,"items":[)" + items + "]}";
}

TEST(LearningLanguageTest, RawValuesAreExactAndCaseSensitive) {
    EXPECT_EQ(rawValue(LearningLanguage::chinese), "chinese");
    EXPECT_EQ(displayName(LearningLanguage::japanese), "Japanese");
    EXPECT_EQ(learningLanguageFromRawValue("japanese"), LearningLanguage::japanese);
    for (const char* wrong : {"Chinese", "zh", "korean", "", "chinese "}) {
        SCOPED_TRACE(wrong);
        EXPECT_EQ(learningLanguageFromRawValue(wrong), std::nullopt);
    }
    for (const auto direction : {ExerciseDirection::targetLanguage, ExerciseDirection::meaning}) {
        EXPECT_EQ(exerciseDirectionFromRawValue(rawValue(direction)), direction);
    }
    EXPECT_EQ(exerciseDirectionFromRawValue("TargetLanguage"), std::nullopt);
}

struct CandidateCase {
    const char* name;
    VocabularyItem item;
    Strings targets;
    Strings meanings;
};

TEST(VocabularyItemTest, CandidatesDropEmptiesAndRepeatsInOrder) {
    const std::vector<CandidateCase> cases = {
        {"repeated term and empty answer dropped",
         makeItem("a", LearningLanguage::chinese, "你好", "nǐ hǎo", {}, {}, {"你好", "", "ni hao"}),
         {"你好", "nǐ hǎo", "ni hao"},
         {}},
        {"reading equal to term listed once",
         makeItem("b", LearningLanguage::japanese, "すし", "すし", "sushi"),
         {"すし", "sushi"},
         {}},
        {"spaces kept, meaning repeat dropped",
         makeItem("c", LearningLanguage::chinese, "吃", "chī", {}, {" ", "to eat", "to eat"}),
         {"吃", "chī"},
         {" ", "to eat"}},
        {"canonically equivalent spellings count as repeats",
         makeItem("d", LearningLanguage::chinese, "绿", "lǜ", {}, {"café", "cafe\u0301", "Café"},
                  {"lu\u0308\u0300"}),
         {"绿", "lǜ"},
         {"café", "Café"}},
        {"empty term and reading",
         makeItem("e", LearningLanguage::japanese, "", "", "", {""}, {"x", "x"}),
         {"x"},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.item.targetAnswerCandidates(), c.targets);
        EXPECT_EQ(c.item.meaningAnswerCandidates(), c.meanings);
    }
}

TEST(VocabularyCatalogTest, LookUpsKeepCatalogueOrder) {
    const VocabularyCatalog chineseOnly{1,
                                        {makeItem("x", LearningLanguage::chinese, "一", "yī"),
                                         makeItem("x", LearningLanguage::chinese, "二", "èr"),
                                         makeItem("y", LearningLanguage::chinese, "三", "sān")}};
    EXPECT_TRUE(chineseOnly.itemsFor(LearningLanguage::japanese).empty());
    EXPECT_EQ(chineseOnly.itemsFor(LearningLanguage::chinese), chineseOnly.items);
    ASSERT_TRUE(chineseOnly.item("x").has_value());
    EXPECT_EQ(chineseOnly.item("x")->term, "一");
    EXPECT_EQ(chineseOnly.item("X"), std::nullopt);
    EXPECT_EQ(chineseOnly.item(""), std::nullopt);
}

TEST(VocabularyCatalogTest, DecodesOptionalRomanizationAndEncodesSortedKeys) {
    for (const std::string extra : {"", R"(,"romanization":null)"}) {
        SCOPED_TRACE(extra);
        const auto catalog = VocabularyCatalog::decode(catalogJson(itemJson("chinese", extra)));
        ASSERT_TRUE(catalog.has_value()) << catalog.error().description;
        ASSERT_EQ(catalog->items.size(), 1u);
        EXPECT_EQ(catalog->items[0].romanization, std::nullopt);
        EXPECT_EQ(catalog->encode().find("romanization"), std::string::npos);
    }
    const auto item =
        makeItem("ja-1", LearningLanguage::japanese, "東京", "とうきょう", "tōkyō", {"Tokyo"}, {});
    const VocabularyCatalog catalog{-4, {item}};
    EXPECT_EQ(catalog.encode(),
              R"({"items":[{"acceptedAnswers":[],"exampleEnglish":"Example.",)"
              R"("exampleTarget":"例句","frequencyRank":150,"id":"ja-1","language":"japanese",)"
              R"("level":2,"meanings":["Tokyo"],"reading":"とうきょう","romanization":"tōkyō",)"
              R"("tags":["noun"],"term":"東京"}],"schemaVersion":-4})");
    EXPECT_EQ(VocabularyCatalog::decode(catalog.encode()), catalog);
}

TEST(VocabularyCatalogTest, AcceptsValuesAsTheyStand) {
    const auto twoItems = catalogJson(
        itemJson() + "," +
            R"({"tags":[],"acceptedAnswers":[],"frequencyRank":-9223372036854775808,"level":-1,)"
            R"("exampleEnglish":"","exampleTarget":"","meanings":[],"romanization":"",)"
            R"("reading":"","term":"","language":"japanese","id":"","unknown":{"a":[1,2.5]}})",
        "9223372036854775807");
    const auto catalog = VocabularyCatalog::decode(twoItems);
    ASSERT_TRUE(catalog.has_value()) << catalog.error().description;
    EXPECT_EQ(catalog->schemaVersion, INT64_MAX);
    ASSERT_EQ(catalog->items.size(), 2u);
    EXPECT_EQ(catalog->items[0].id, "zh-1");
    EXPECT_EQ(catalog->items[1].frequencyRank, INT64_MIN);
    EXPECT_EQ(catalog->items[1].romanization, std::optional<std::string>(""));
    EXPECT_EQ(VocabularyCatalog::decode(catalog->encode()), catalog);
}

struct BadCatalogCase {
    const char* name;
    std::string json;
    const char* mentions;  // part of the error description
};

TEST(VocabularyCatalogTest, RefusesMalformedCataloguesWhole) {
    const std::string good = itemJson();
    const std::vector<BadCatalogCase> cases = {
        {"unknown language", catalogJson(good + "," + itemJson("korean")), "items[1].language"},
        {"language in capitals", catalogJson(itemJson("Chinese")), "not a known language"},
        {"missing tags",
         catalogJson(R"({"id":"a","language":"chinese","term":"t","reading":"r",)"
                     R"("meanings":[],"exampleTarget":"","exampleEnglish":"",)"
                     R"("level":1,"frequencyRank":1,"acceptedAnswers":[]})"),
         "items[0].tags\" is missing"},
        {"key case matters", catalogJson(R"({"ID":"a"})"), "items[0].id"},
        {"fractional level", catalogJson(itemJson("chinese", R"(,"level":1.5)")), "level"},
        {"whole float level", catalogJson(itemJson("chinese", R"(,"level":2.0)")), "level"},
        {"exponent level", catalogJson(itemJson("chinese", R"(,"level":1e2)")), "level"},
        {"rank beyond 64 bits",
         catalogJson(itemJson("chinese", R"(,"frequencyRank":18446744073709551615)")),
         "frequencyRank"},
        {"rank far beyond 64 bits",
         catalogJson(itemJson("chinese", R"(,"frequencyRank":1000000000000000000000000)")),
         "frequencyRank"},
        {"number overflow", catalogJson(itemJson("chinese", R"(,"level":1e999)")), "JSON"},
        {"wrong romanization type", catalogJson(itemJson("chinese", R"(,"romanization":7)")),
         "romanization"},
        {"meaning not a string", catalogJson(itemJson("chinese", R"(,"meanings":["a",null])")),
         "meanings[1]"},
        {"string version", catalogJson(good, "\"2\""), "schemaVersion"},
        {"missing version", R"({"items":[]})", "schemaVersion"},
        {"items not an array", R"({"schemaVersion":1,"items":{}})", "items"},
        {"item not an object", catalogJson("[]"), "items[0]"},
        {"top level array", "[" + catalogJson(good) + "]", "top level"},
        {"empty text", "", "not valid JSON"},
        {"truncated", catalogJson(good).substr(0, 60), "not valid JSON"},
        {"trailing garbage", catalogJson(good) + "x", "not valid JSON"},
        {"ill-formed UTF-8", catalogJson(itemJson("chinese", ",\"term\":\"\xC3\x28\"")),
         "not valid JSON"},
        {"lone surrogate escape", catalogJson(itemJson("chinese", R"(,"term":"\ud800")")),
         "not valid JSON"},
        {"deep nesting", std::string(100000, '[') + std::string(100000, ']'), "nested"},
        {"deep nesting inside an unknown key",
         catalogJson(
             itemJson("chinese", ",\"x\":" + std::string(600, '[') + std::string(600, ']'))),
         "nested"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto catalog = VocabularyCatalog::decode(c.json);
        ASSERT_FALSE(catalog.has_value());
        EXPECT_NE(catalog.error().description.find(c.mentions), std::string::npos)
            << catalog.error().description;
    }
}

TEST(VocabularyCatalogTest, HugeGarbageFailsWithAShortMessage) {
    const std::vector<std::string> inputs = {
        std::string(100u << 20, '['),
        std::string(100u << 20, '\xFF'),
        "{\"schemaVersion\":1,\"items\":[" + std::string(4u << 20, ' ') + "x",
    };
    for (const auto& input : inputs) {
        const auto catalog = VocabularyCatalog::decode(input);
        ASSERT_FALSE(catalog.has_value());
        EXPECT_LT(catalog.error().description.size(), 300u);
    }
}

}  // namespace
}  // namespace tessel
