// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <functional>

#include "ExerciseSet.h"

namespace tessel::compiler {
namespace {

using nlohmann::json;

// A valid starter set: the minimum number of exercises for each language, all practising the
// same entry of that language.
json validSet() {
    json exercises = json::array();
    for (const char* language : {"zh", "ja"}) {
        for (std::size_t i = 1; i <= kMinimumExercisesPerLanguage; ++i) {
            char id[16];
            std::snprintf(id, sizeof id, "ex-%s-%03zu", language, i);
            const bool zh = std::string(language) == "zh";
            exercises.push_back({{"id", id},
                                 {"language", language},
                                 {"term", zh ? "你好" : "食べる"},
                                 {"reading", zh ? "nǐ hǎo" : "たべる"},
                                 {"prompt", zh ? "___，我是小明。" : "パンを___。"},
                                 {"translation", "t"},
                                 {"note", "n"},
                                 {"answers", {zh ? "你好" : "食べる"}}});
            if (!zh) exercises.back()["prompt_reading"] = "パンを___。";
        }
    }
    return {{"attribution", "Brindle original sentence"}, {"exercises", exercises}};
}

TEST(ExerciseSetTest, ReadsAValidSet) {
    auto exercises = parseExercises(validSet().dump());
    ASSERT_TRUE(exercises.has_value()) << exercises.error().description;
    ASSERT_EQ(exercises->size(), 2 * kMinimumExercisesPerLanguage);
    const Exercise& first = exercises->front();
    EXPECT_EQ(first.id, "ex-zh-001");
    EXPECT_EQ(first.attribution, "Brindle original sentence");
    EXPECT_EQ(first.acceptedAnswers, std::vector<std::string>{"你好"});
}

TEST(ExerciseSetTest, RejectsFaultyExercisesNamingThem) {
    struct Case {
        const char* what;
        std::function<void(json&)> spoil;
        const char* named;  // part of the expected message
    };
    const Case cases[] = {
        {"missing note", [](json& s) { s["exercises"][3].erase("note"); }, "ex-zh-004"},
        {"empty term", [](json& s) { s["exercises"][0]["term"] = ""; }, "\"term\""},
        {"two gaps", [](json& s) { s["exercises"][1]["prompt"] = "___ ___"; }, "exactly one gap"},
        {"no gap", [](json& s) { s["exercises"][1]["prompt"] = "你好"; }, "exactly one gap"},
        {"repeated id", [](json& s) { s["exercises"][1]["id"] = "ex-zh-001"; }, "repeated"},
        {"id of the other language", [](json& s) { s["exercises"][0]["id"] = "ex-ja-999"; },
         "ex-zh-001"},
        {"unknown language", [](json& s) { s["exercises"][0]["language"] = "ko"; }, "language"},
        {"no answers", [](json& s) { s["exercises"][2]["answers"] = json::array(); }, "answers"},
        {"answer with the gap", [](json& s) { s["exercises"][2]["answers"] = {"___"}; }, "answer"},
        {"too few of a language", [](json& s) { s["exercises"].erase(0); }, "at least"},
        {"no attribution", [](json& s) { s.erase("attribution"); }, "attribution"},
        {"Japanese without a reading",
         [](json& s) { s["exercises"][kMinimumExercisesPerLanguage].erase("prompt_reading"); },
         "prompt_reading"},
        {"reading with kanji",
         [](json& s) {
             s["exercises"][kMinimumExercisesPerLanguage]["prompt_reading"] = "毎朝___。";
         },
         "kana"},
        {"reading without the gap",
         [](json& s) {
             s["exercises"][kMinimumExercisesPerLanguage]["prompt_reading"] = "ぱんを。";
         },
         "kana"},
        {"Chinese with a reading", [](json& s) { s["exercises"][0]["prompt_reading"] = "___"; },
         "only Japanese"},
    };
    for (const Case& c : cases) {
        json set = validSet();
        c.spoil(set);
        auto exercises = parseExercises(set.dump());
        ASSERT_FALSE(exercises.has_value()) << c.what;
        EXPECT_NE(exercises.error().description.find(c.named), std::string::npos)
            << c.what << ": " << exercises.error().description;
    }
    EXPECT_FALSE(parseExercises("{not json").has_value());
}

CompiledEntry entry(std::string id, std::string term, std::string reading, bool learnable,
                    int level) {
    CompiledEntry e;
    e.id = std::move(id);
    e.language = e.id.substr(0, 2);
    e.term = std::move(term);
    e.reading = std::move(reading);
    e.learnable = learnable;
    e.level = level;
    return e;
}

TEST(ExerciseSetTest, AttachesEachExerciseToItsEarlyCourseEntry) {
    RankedEntries chinese;
    chinese.entries = {entry("zh-1", "你好", "nǐ hǎo", true, 2),
                       entry("zh-2", "你好", "nǐ hǎo", false, 6),  // a reference-only twin
                       entry("zh-3", "学习", "xué xí", true, 5),
                       entry("zh-4", "中国", "Zhōng guó", false, 1),
                       entry("zh-5", "行", "xíng", true, 1),
                       entry("zh-6", "行", "xíng", true, 2)};
    RankedEntries japanese;
    japanese.entries = {entry("ja-1", "食べる", "たべる", true, 1)};

    struct Case {
        const char* term;
        const char* reading;
        const char* result;  // the entry id, or a part of the error
    };
    const Case cases[] = {
        {"你好", "nǐ hǎo", "zh-1"},
        {"学习", "xué xí", "not in bands 1 to 4"},
        {"中国", "Zhōng guó", "not in bands 1 to 4"},
        {"你好", "ni hao", "no lexicon entry"},
        {"行", "xíng", "more than one"},
    };
    for (const Case& c : cases) {
        std::vector<Exercise> exercises(2);
        exercises[0] = {"ex-zh-001", "zh",     c.term, c.reading, "___", "t",
                        "n",         {c.term}, "a",    "",        ""};
        exercises[1] = {"ex-ja-001", "ja",       "食べる", "たべる", "___",        "t",
                        "n",         {"食べる"}, "a",      "",       "パンを___。"};
        auto resolved = resolveExercises(exercises, {&chinese, &japanese});
        if (std::string(c.result).substr(0, 3) == "zh-") {
            ASSERT_TRUE(resolved.has_value()) << resolved.error().description;
            EXPECT_EQ(exercises[0].vocabularyId, c.result);
            EXPECT_EQ(exercises[1].vocabularyId, "ja-1");
        } else {
            ASSERT_FALSE(resolved.has_value()) << c.term;
            EXPECT_NE(resolved.error().description.find(c.result), std::string::npos)
                << resolved.error().description;
            EXPECT_NE(resolved.error().description.find("ex-zh-001"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace tessel::compiler
