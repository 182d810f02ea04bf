// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgressJSON.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace tessel {
namespace {

using nlohmann::json;
using ProgressJSON::decode;
using ProgressJSON::encode;
using ProgressJSON::encodeInPieces;

Instant at(std::int64_t seconds) {
    return Instant{std::chrono::seconds{seconds}};
}

constexpr std::int64_t kMay1 = 1714552200;  // 2024-05-01T08:30:00Z

DailyStudyStats stats(std::string day, std::int64_t reviewed, std::int64_t correct,
                      std::int64_t learned, std::int64_t sessions, double seconds) {
    return DailyStudyStats{std::move(day), reviewed, correct, learned, sessions, seconds};
}

LearnerProgress smallProgress() {
    LearnerProgress p;
    p.cards["zh-1"] = CardProgress{
        "zh-1", 2.5, 4.75, 3, at(kMay1 + 3 * 86400), at(kMay1), ReviewRating::good, 2, 2, 0, 2};
    p.cards["ja-7"] =
        CardProgress{"ja-7", 0, 5, 0, at(kMay1 + 600), std::nullopt, std::nullopt, 1, 0, 1, 0};
    p.dailyStats["2024-05-01"] = stats("2024-05-01", 2, 1, 1, 1, 42.5);
    p.dailyStatsByLanguage[LearningLanguage::chinese]["2024-05-01"] =
        stats("2024-05-01", 1, 1, 1, 1, 20);
    p.dailyStatsByLanguage[LearningLanguage::japanese]["2024-05-01"] =
        stats("2024-05-01", 1, 0, 0, 0, 22.5);
    return p;
}

constexpr const char* kSmallProgressText = R"({
  "cards": {
    "ja-7": {
      "consecutiveCorrect": 0,
      "correctReviews": 0,
      "difficulty": 5.0,
      "dueDate": "2024-05-01T08:40:00Z",
      "intervalDays": 0,
      "itemID": "ja-7",
      "lapseCount": 1,
      "stabilityDays": 0.0,
      "totalReviews": 1
    },
    "zh-1": {
      "consecutiveCorrect": 2,
      "correctReviews": 2,
      "difficulty": 4.75,
      "dueDate": "2024-05-04T08:30:00Z",
      "intervalDays": 3,
      "itemID": "zh-1",
      "lapseCount": 0,
      "lastRating": "good",
      "lastReviewedAt": "2024-05-01T08:30:00Z",
      "stabilityDays": 2.5,
      "totalReviews": 2
    }
  },
  "dailyStats": {
    "2024-05-01": {
      "correctCount": 1,
      "day": "2024-05-01",
      "newCardsLearned": 1,
      "reviewedCount": 2,
      "sessionsCompleted": 1,
      "studySeconds": 42.5
    }
  },
  "dailyStatsByLanguage": {
    "chinese": {
      "2024-05-01": {
        "correctCount": 1,
        "day": "2024-05-01",
        "newCardsLearned": 1,
        "reviewedCount": 1,
        "sessionsCompleted": 1,
        "studySeconds": 20.0
      }
    },
    "japanese": {
      "2024-05-01": {
        "correctCount": 0,
        "day": "2024-05-01",
        "newCardsLearned": 0,
        "reviewedCount": 1,
        "sessionsCompleted": 0,
        "studySeconds": 22.5
      }
    }
  },
  "schemaVersion": 2,
  "unscopedDailyStats": {}
})";

TEST(ProgressJSONTest, PrettyTextIsExactlyTheGoldenText) {
    const auto text = encode(smallProgress(), true);
    ASSERT_TRUE(text) << text.error().description;
    EXPECT_EQ(*text, kSmallProgressText);

    const auto compact = encode(smallProgress(), false);
    ASSERT_TRUE(compact);
    EXPECT_EQ(*compact, json::parse(kSmallProgressText).dump());
    EXPECT_EQ(compact->find_first_of(" \n"), std::string::npos);
}

// An independent picture of the format, built as a tree and printed by the JSON library.
json tree(const DailyStatsMap& map) {
    json out = json::object();
    for (const auto& [key, s] : map) {
        out[key] = {{"day", s.day},
                    {"reviewedCount", s.reviewedCount},
                    {"correctCount", s.correctCount},
                    {"newCardsLearned", s.newCardsLearned},
                    {"sessionsCompleted", s.sessionsCompleted},
                    {"studySeconds", s.studySeconds}};
    }
    return out;
}

json tree(const LearnerProgress& p) {
    json cards = json::object();
    for (const auto& [key, c] : p.cards) {
        json& o = cards[key];
        o = {{"itemID", c.itemID},
             {"stabilityDays", c.stabilityDays},
             {"difficulty", c.difficulty},
             {"intervalDays", c.intervalDays},
             {"dueDate", ProgressJSON::formatInstant(c.dueDate)},
             {"totalReviews", c.totalReviews},
             {"correctReviews", c.correctReviews},
             {"lapseCount", c.lapseCount},
             {"consecutiveCorrect", c.consecutiveCorrect}};
        if (c.lastReviewedAt) o["lastReviewedAt"] = ProgressJSON::formatInstant(*c.lastReviewedAt);
        if (c.lastRating) o["lastRating"] = std::string(rawValue(*c.lastRating));
    }
    json byLanguage = json::object();
    for (const auto& [language, map] : p.dailyStatsByLanguage) {
        byLanguage[std::string(rawValue(language))] = tree(map);
    }
    return {{"schemaVersion", std::max<std::int64_t>(p.schemaVersion, 2)},
            {"cards", cards},
            {"dailyStats", tree(p.dailyStats)},
            {"dailyStatsByLanguage", byLanguage},
            {"unscopedDailyStats", tree(p.unscopedDailyStats)}};
}

TEST(ProgressJSONTest, WriterMatchesTheLibraryPrinterOnAwkwardValues) {
    LearnerProgress p = smallProgress();
    p.schemaVersion = std::numeric_limits<std::int64_t>::max();
    const std::vector<double> numbers = {
        0.1,  1e-7, 1e21,    -0.0,   123456789.125, 5e-324, 1.7976931348623157e308,
        1e15, 1e16, -2.5e-5, 1.0 / 3};
    const std::vector<std::string> ids = {"quote\"back\\slash",
                                          "tab\tnew\nline\rcr\bbs\fff",
                                          std::string("nul\0x", 5),
                                          "ctl\x01\x1f\x7f",
                                          "汉字 かな 😀",
                                          "/slash/",
                                          "plain start, then \"quote\" é\x02"};
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const std::string id = ids[i % ids.size()] + std::to_string(i);
        p.cards[id] = CardProgress{id,    numbers[i],          -numbers[i], -int(i),   at(-86401),
                                   at(0), ReviewRating::again, INT64_MIN,   INT64_MAX, 0,
                                   0};
        p.unscopedDailyStats[id] = stats(ids[i % ids.size()], 0, -1, 0, 0, numbers[i]);
    }
    const json expected = tree(p);
    for (const bool pretty : {true, false}) {
        const auto text = encode(p, pretty);
        ASSERT_TRUE(text) << text.error().description;
        EXPECT_EQ(*text, pretty ? expected.dump(2) : expected.dump());
    }
}

// The file is written in pieces as it is encoded: together they are encode()'s text, a refused
// piece stops the writing, and a value that cannot be written fails as it does in encode(). A
// text longer than a piece (escaped, six times longer) makes the writer grow its buffer.
TEST(ProgressJSONTest, PiecesMakeUpTheSameText) {
    LearnerProgress p = smallProgress();
    for (int i = 0; i < 6000; ++i) {
        const std::string id = "ja-" + std::to_string(i);
        p.cards[id] = CardProgress{id, 1.5, 5, 3, at(i), at(-i), ReviewRating::good, 4, 3, 1, 1};
    }
    std::string longText;
    for (int i = 0; i < 100000; ++i) longText += i % 3 ? "\x01\"" : "é";
    p.cards["ja-3000"].itemID = longText;
    p.unscopedDailyStats["2024-05-02"] = stats(longText, 1, 1, 0, 0, 1);
    for (const bool pretty : {true, false}) {
        EXPECT_EQ(*encode(p, pretty), pretty ? tree(p).dump(2) : tree(p).dump());
        std::string joined;
        int pieces = 0;
        ASSERT_TRUE(encodeInPieces(p, pretty, [&](std::string_view piece) {
            joined += piece;
            return ++pieces > 0;
        }));
        EXPECT_GT(pieces, 1);
        EXPECT_EQ(joined, *encode(p, pretty));

        pieces = 0;
        const auto refused =
            encodeInPieces(p, pretty, [&](std::string_view) { return ++pieces < 2; });
        ASSERT_FALSE(refused);
        EXPECT_EQ(refused.error().description, "");
        EXPECT_EQ(pieces, 2);
    }
    p.cards["ja-5999"].difficulty = std::nan("");
    const auto failed = encodeInPieces(p, true, [](std::string_view) { return true; });
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().description, encode(p, true).error().description);
}

TEST(ProgressJSONTest, RoundTripKeepsEveryFieldAndDropsFractionsOfSeconds) {
    LearnerProgress p = smallProgress();
    p.schemaVersion = 5;
    p.unscopedDailyStats["2024-04-30"] = stats("2024-04-30", 3, 3, 0, 1, 0.125);
    for (const bool pretty : {true, false}) {
        const auto text = encode(p, pretty);
        ASSERT_TRUE(text);
        const auto back = decode(*text);
        ASSERT_TRUE(back) << back.error().description;
        EXPECT_EQ(*back, p);
    }

    LearnerProgress fractional = smallProgress();
    fractional.cards["zh-1"].dueDate = at(kMay1) + std::chrono::milliseconds(999);
    fractional.cards["zh-1"].lastReviewedAt = at(kMay1) - std::chrono::nanoseconds(1);
    const auto back = decode(*encode(fractional, true));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->cards.at("zh-1").dueDate, at(kMay1));
    EXPECT_EQ(back->cards.at("zh-1").lastReviewedAt, at(kMay1 - 1));
}

struct InstantCase {
    const char* text;
    std::optional<std::int64_t> seconds;
};

TEST(ProgressJSONTest, ParsesOnlyWholeSecondInternetDateTimes) {
    const std::optional<std::int64_t> none;
    const std::vector<InstantCase> cases = {
        {"2024-05-01T08:30:00Z", kMay1},
        {"2024-05-01T10:30:00+02:00", kMay1},
        {"2024-05-01T03:00:00-05:30", kMay1},
        {"2024-05-01T08:30:00-00:00", kMay1},
        {"1970-01-01T00:00:00Z", 0},
        {"1969-12-31T23:59:59Z", -1},
        {"2024-02-29T00:00:00Z", 1709164800},
        {"2262-04-11T23:47:16Z", 9223372036},
        {"2262-04-11T23:47:17Z", none},  // beyond what an instant holds
        {"1677-09-21T00:12:43Z", none},
        {"9999-12-31T23:59:59Z", none},
        {"2023-02-29T00:00:00Z", none},
        {"2024-13-01T00:00:00Z", none},
        {"2024-05-01T24:00:00Z", none},
        {"2024-05-01T23:60:00Z", none},
        {"2016-12-31T23:59:60Z", none},
        {"2024-05-01T08:30:00.5Z", none},
        {"2024-05-01T08:30:00.000Z", none},
        {"2024-05-01t08:30:00z", none},
        {"2024-05-01 08:30:00Z", none},
        {"2024-05-01T08:30:00", none},
        {"2024-05-01", none},
        {"2024-05-01T08:30:00+0200", none},
        {"2024-05-01T08:30:00+24:00", none},
        {"2024-05-01T08:30:00+02:60", none},
        {"", none},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto parsed = ProgressJSON::parseInstant(c.text);
        ASSERT_EQ(parsed.has_value(), c.seconds.has_value());
        if (parsed) {
            EXPECT_EQ(*parsed, at(*c.seconds));
        }
    }
}

TEST(ProgressJSONTest, FormatsInUtcTruncatingTowardThePast) {
    using std::chrono::milliseconds;
    using std::chrono::nanoseconds;
    const std::vector<std::pair<Instant, const char*>> cases = {
        {at(kMay1), "2024-05-01T08:30:00Z"},
        {at(kMay1) + milliseconds(999), "2024-05-01T08:30:00Z"},
        {at(kMay1) - nanoseconds(1), "2024-05-01T08:29:59Z"},
        {at(0), "1970-01-01T00:00:00Z"},
        {at(0) - milliseconds(500), "1969-12-31T23:59:59Z"},
        {at(1709164800 + 86399), "2024-02-29T23:59:59Z"},
        {at(-9223372036), "1677-09-21T00:12:44Z"},
        {Instant::max(), "2262-04-11T23:47:16Z"},
        {Instant::min(), "1677-09-21T00:12:44Z"},
    };
    for (const auto& [instant, text] : cases) {
        EXPECT_EQ(ProgressJSON::formatInstant(instant), text);
    }
}

// The small progress as a tree, edited by `change`, printed compactly.
std::string edited(const std::function<void(json&)>& change) {
    json j = json::parse(kSmallProgressText);
    change(j);
    return j.dump();
}

// The small progress's text with the first occurrence of `from` replaced by `to`, for values the
// JSON library would not print (huge numbers, bad bytes).
std::string replaced(const std::string& from, const std::string& to) {
    std::string text = kSmallProgressText;
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

struct FailureCase {
    const char* name;
    std::string text;
    const char* expected;  // part of the description
};

TEST(ProgressJSONTest, MalformedFilesFailWholeNamingTheKey) {
    const auto cardWith = [](const char* key, json value) {
        return edited([=](json& j) { j["cards"]["zh-1"][key] = value; });
    };
    const auto cardWithout = [](const char* key) {
        return edited([=](json& j) { j["cards"]["zh-1"].erase(key); });
    };
    const std::string deep = R"({"future":)" + std::string(64, '[') + std::string(64, ']') + "}";
    const std::vector<FailureCase> cases = {
        {"missing due date", cardWithout("dueDate"), "it is missing: cards.zh-1.dueDate"},
        {"null due date", cardWith("dueDate", nullptr), "it is missing: cards.zh-1.dueDate"},
        {"missing item id", cardWithout("itemID"), "it is missing: cards.zh-1.itemID"},
        {"text as integer", cardWith("intervalDays", "3"),
         "format: cards.zh-1.intervalDays should be a whole number"},
        {"whole float as integer", cardWith("totalReviews", 2.0), "cards.zh-1.totalReviews"},
        {"exponent as integer", replaced(R"("totalReviews": 2)", R"("totalReviews": 2e0)"),
         "cards.zh-1.totalReviews should be a whole number"},
        {"integer beyond 64 bits",
         replaced(R"("lapseCount": 0)", R"("lapseCount": 9223372036854775808)"),
         "cards.zh-1.lapseCount should be a whole number within 64 bits"},
        {"huge integer text",
         replaced(R"("lapseCount": 0)", R"("lapseCount": )" + std::string(5000, '9')),
         "a number is out of range"},
        {"number out of range", replaced(R"("stabilityDays": 2.5)", R"("stabilityDays": 1e400)"),
         "a number is out of range"},
        {"text as number", cardWith("stabilityDays", "2.5"),
         "cards.zh-1.stabilityDays should be a number"},
        {"fractional seconds", cardWith("dueDate", "2024-05-04T08:30:00.000Z"),
         "cards.zh-1.dueDate should be a date"},
        {"fractional optional date", cardWith("lastReviewedAt", "2024-05-01T08:30:00.5Z"),
         "cards.zh-1.lastReviewedAt"},
        {"unknown rating", cardWith("lastRating", "perfect"),
         "cards.zh-1.lastRating should be one of again, hard, good, easy"},
        {"rating in capitals", cardWith("lastRating", "Good"), "cards.zh-1.lastRating"},
        {"item id as number", cardWith("itemID", 7), "cards.zh-1.itemID should be a string"},
        {"card as null", edited([](json& j) { j["cards"]["zh-1"] = nullptr; }),
         "cards.zh-1 should be an object"},
        {"card as array", edited([](json& j) { j["cards"]["zh-1"] = json::array(); }),
         "cards.zh-1 should be an object"},
        {"cards as array", edited([](json& j) { j["cards"] = json::array(); }),
         "format: cards should be an object"},
        {"missing seconds",
         edited([](json& j) { j["dailyStats"]["2024-05-01"].erase("studySeconds"); }),
         "it is missing: dailyStats.2024-05-01.studySeconds"},
        {"language record without day",
         edited([](json& j) { j["dailyStatsByLanguage"]["japanese"]["2024-05-01"].erase("day"); }),
         "it is missing: dailyStatsByLanguage.japanese.2024-05-01.day"},
        {"null count", edited([](json& j) {
             j["unscopedDailyStats"]["x"] = {{"day", "x"}, {"reviewedCount", nullptr}};
         }),
         "it is missing: unscopedDailyStats.x.reviewedCount"},
        {"language map as array",
         edited([](json& j) { j["dailyStatsByLanguage"]["chinese"] = json::array(); }),
         "dailyStatsByLanguage.chinese should be an object"},
        {"version as text", edited([](json& j) { j["schemaVersion"] = "2"; }),
         "schemaVersion should be a whole number"},
        {"top level array", "[]", "the top level should be an object"},
        {"top level null", "null", "the top level should be an object"},
        {"empty text", "", "isn’t valid JSON (line 1, column 1)"},
        {"truncated", std::string(kSmallProgressText).substr(0, 200), "isn’t valid JSON"},
        {"trailing text", std::string(kSmallProgressText) + " {}", "isn’t valid JSON"},
        {"error position", "{\n  \"cards\": nope\n}", "isn’t valid JSON (line 2"},
        {"comment", "{/* old */}", "isn’t valid JSON"},
        {"invalid UTF-8 in a value", replaced("\"ja-7\",", "\"ja-\xff\","), "isn’t valid JSON"},
        {"invalid UTF-8 in a key", replaced("\"ja-7\": {", "\"ja\xc0\xaf\": {"),
         "isn’t valid JSON"},
        {"nested too deep in an unknown key", deep, "nested more than 64 levels"},
        {"total count beyond 64 bits", edited([](json& j) {
             j.erase("dailyStats");
             j["unscopedDailyStats"]["2024-05-01"] =
                 j["dailyStatsByLanguage"]["chinese"]["2024-05-01"];
             j["unscopedDailyStats"]["2024-05-01"]["reviewedCount"] = INT64_MAX;
         }),
         "the totals of 2024-05-01 are too large"},
        {"total seconds beyond any number", edited([](json& j) {
             j.erase("dailyStats");
             j["dailyStatsByLanguage"]["chinese"]["2024-05-01"]["studySeconds"] = 1e308;
             j["dailyStatsByLanguage"]["japanese"]["2024-05-01"]["studySeconds"] = 1e308;
         }),
         "the totals of 2024-05-01 are too large"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = decode(c.text);
        ASSERT_FALSE(result) << "decoded although malformed";
        EXPECT_NE(result.error().description.find(c.expected), std::string::npos)
            << result.error().description;
    }
}

TEST(ProgressJSONTest, HostileInputFailsWithoutCrashingOrHanging) {
    std::vector<std::string> inputs;
    inputs.push_back(std::string(1'000'000, '['));
    inputs.push_back(std::string(1'000'000, '{'));
    inputs.push_back(R"({"a":)" + std::string(500'000, '['));
    // 100 MB that go wrong at the second byte: the read must stop there, not scan them all.
    inputs.push_back("{" + std::string(100 << 20, '\x9c'));
    // A large, well-formed array in an unknown member: skipped, then the file ends too early.
    std::string skipped = R"({"unknown":[)";
    for (int i = 0; i < 100'000; ++i) skipped += "1,";
    inputs.push_back(skipped + "1]");
    for (const auto& input : inputs) {
        const auto result = decode(input);
        EXPECT_FALSE(result) << input.substr(0, 20);
    }
}

// A progress written out field by field, to state expectations of the carry-over rules.
struct LoadCase {
    const char* name;
    std::string text;
    std::function<LearnerProgress()> expected;
};

TEST(ProgressJSONTest, LoadsOlderAndOddFilesByTheCarryOverRules) {
    const std::string day1 =
        R"({"day":"2024-05-01","reviewedCount":2,"correctCount":1,"newCardsLearned":1,"sessionsCompleted":1,"studySeconds":40})";
    const std::string day1Half =
        R"({"day":"2024-05-01","reviewedCount":1,"correctCount":1,"newCardsLearned":0,"sessionsCompleted":0,"studySeconds":2.5})";
    const std::string day2 =
        R"({"day":"2024-05-02","reviewedCount":4,"correctCount":4,"newCardsLearned":2,"sessionsCompleted":1,"studySeconds":60})";
    const std::string card =
        R"({"itemID":"zh-1","stabilityDays":3,"difficulty":4.5,"intervalDays":3,"dueDate":"2024-05-04T08:30:00Z","totalReviews":1,"correctReviews":1,"lapseCount":0,"consecutiveCorrect":1})";
    const CardProgress zh1{"zh-1", 3, 4.5, 3, at(kMay1 + 3 * 86400), {}, {}, 1, 1, 0, 1};
    const auto s1 = stats("2024-05-01", 2, 1, 1, 1, 40);
    const auto s1Half = stats("2024-05-01", 1, 1, 0, 0, 2.5);
    const auto s2 = stats("2024-05-02", 4, 4, 2, 1, 60);
    const auto progress = [](std::int64_t version, std::map<std::string, CardProgress> cards,
                             DailyStatsMap daily, std::map<LearningLanguage, DailyStatsMap> by,
                             DailyStatsMap unscoped) {
        LearnerProgress p;
        p.schemaVersion = version;
        p.cards = std::move(cards);
        p.dailyStats = std::move(daily);
        p.dailyStatsByLanguage = std::move(by);
        p.unscopedDailyStats = std::move(unscoped);
        return p;
    };
    const auto zh = LearningLanguage::chinese;
    const auto ja = LearningLanguage::japanese;
    const std::vector<LoadCase> cases = {
        {"empty object", "{}", [&] { return LearnerProgress{}; }},
        {"schema 1 without version",
         R"({"cards":{"zh-1":)" + card + R"(},"dailyStats":{"2024-05-01":)" + day1 + "}}",
         [&] {
             return progress(2, {{"zh-1", zh1}}, {{"2024-05-01", s1}}, {}, {{"2024-05-01", s1}});
         }},
        {"schema 1 with version", R"({"schemaVersion":1,"dailyStats":{"2024-05-01":)" + day1 + "}}",
         [&] {
             return progress(2, {}, {{"2024-05-01", s1}}, {}, {{"2024-05-01", s1}});
         }},
        {"negative version counts as schema 1",
         R"({"schemaVersion":-4,"dailyStats":{"d":)" + day1 + "}}",
         [&] {
             return progress(2, {}, {{"d", s1}}, {}, {{"d", s1}});
         }},
        {"schema 2 without daily sums the others",
         R"({"schemaVersion":2,"unscopedDailyStats":{"2024-05-01":)" + day1 +
             R"(},"dailyStatsByLanguage":{"chinese":{"2024-05-01":)" + day1Half +
             R"(,"2024-05-02":)" + day2 + R"(},"japanese":{"2024-05-01":)" + day1Half + "}}}",
         [&] {
             return progress(
                 2, {}, {{"2024-05-01", stats("2024-05-01", 4, 3, 1, 1, 45)}, {"2024-05-02", s2}},
                 {{zh, {{"2024-05-01", s1Half}, {"2024-05-02", s2}}},
                  {ja, {{"2024-05-01", s1Half}}}},
                 {{"2024-05-01", s1}});
         }},
        {"schema 2 without unscoped",
         R"({"schemaVersion":2,"dailyStats":{"2024-05-01":)" + day1 + "}}",
         [&] {
             return progress(2, {}, {{"2024-05-01", s1}}, {}, {});
         }},
        {"other language names dropped unexamined",
         R"({"schemaVersion":2,"dailyStatsByLanguage":{"korean":5,"Chinese":{"x":1},"japanese":{"2024-05-02":)" +
             day2 + "}}}",
         [&] {
             return progress(2, {}, {{"2024-05-02", s2}}, {{ja, {{"2024-05-02", s2}}}}, {});
         }},
        {"future version kept", R"({"schemaVersion":5})",
         [&] { return progress(5, {}, {}, {}, {}); }},
        {"keys taken as they stand",
         R"({"schemaVersion":2,"cards":{"other":)" + card + R"(},"dailyStats":{"2024-06-09":)" +
             day1 + "}}",
         [&] {
             return progress(2, {{"other", zh1}}, {{"2024-06-09", s1}}, {}, {});
         }},
        {"null optional keys are absent",
         R"({"schemaVersion":null,"cards":null,"dailyStats":null,"unscopedDailyStats":null,"dailyStatsByLanguage":null})",
         [&] { return LearnerProgress{}; }},
        {"null optional card keys are absent",
         R"({"cards":{"zh-1":)" + card.substr(0, card.size() - 1) +
             R"(,"lastRating":null,"lastReviewedAt":null}}})",
         [&] {
             return progress(2, {{"zh-1", zh1}}, {}, {}, {});
         }},
        {"unknown members ignored at every level",
         R"({"theme":{"a":[1,{"b":null}]},"cards":{"zh-1":)" + card.substr(0, card.size() - 1) +
             R"(,"note":["x"]}},"dailyStats":{"d":)" + day1.substr(0, day1.size() - 1) +
             R"(,"extra":true}}})",
         [&] {
             return progress(2, {{"zh-1", zh1}}, {{"d", s1}}, {}, {{"d", s1}});
         }},
        {"offset dates in UTC, rating and last review read",
         R"({"cards":{"zh-1":)" + card.substr(0, card.size() - 1) +
             R"(,"lastRating":"easy","lastReviewedAt":"2024-05-01T10:30:00+02:00"}}})",
         [&] {
             CardProgress c = zh1;
             c.lastRating = ReviewRating::easy;
             c.lastReviewedAt = at(kMay1);
             return progress(2, {{"zh-1", c}}, {}, {}, {});
         }},
        {"later duplicate wins",
         R"({"schemaVersion":3,"schemaVersion":4,"cards":{"zh-1":)" + card + R"(},"cards":{}})",
         [&] { return progress(4, {}, {}, {}, {}); }},
        {"byte order mark and white space", "\xEF\xBB\xBF \n{ }\n",
         [&] { return LearnerProgress{}; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = decode(c.text);
        ASSERT_TRUE(result) << result.error().description;
        EXPECT_EQ(*result, c.expected());
    }
}

TEST(ProgressJSONTest, RefusesToWriteWhatCannotBeReadBack) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<std::pair<std::function<void(LearnerProgress&)>, const char*>> cases = {
        {[&](auto& p) { p.cards["zh-1"].stabilityDays = nan; },
         "cards.zh-1.stabilityDays is not a finite number"},
        {[&](auto& p) { p.cards["zh-1"].difficulty = -inf; },
         "cards.zh-1.difficulty is not a finite"},
        {[&](auto& p) { p.dailyStats["2024-05-01"].studySeconds = inf; },
         "dailyStats.2024-05-01.studySeconds"},
        {[&](auto& p) {
             p.dailyStatsByLanguage[LearningLanguage::japanese]["2024-05-01"].studySeconds = nan;
         },
         "dailyStatsByLanguage.japanese.2024-05-01.studySeconds"},
        {[&](auto& p) { p.unscopedDailyStats["x"].studySeconds = nan; },
         "unscopedDailyStats.x.studySeconds"},
        {[&](auto& p) { p.cards["bad\xff"] = p.cards["zh-1"]; },
         "cards.(a key) is not valid UTF-8"},
        {[&](auto& p) { p.cards["zh-1"].itemID = "\xe6\xb1"; },
         "cards.zh-1.itemID is not valid UTF-8"},
        {[&](auto& p) { p.dailyStats["2024-05-01"].day = "\xed\xa0\x80"; },  // a surrogate
         "dailyStats.2024-05-01.day is not valid UTF-8"},
    };
    for (const auto& [change, expected] : cases) {
        SCOPED_TRACE(expected);
        LearnerProgress p = smallProgress();
        change(p);
        for (const bool pretty : {true, false}) {
            const auto result = encode(p, pretty);
            ASSERT_FALSE(result);
            EXPECT_NE(result.error().description.find(expected), std::string::npos)
                << result.error().description;
        }
    }
}

}  // namespace
}  // namespace tessel
