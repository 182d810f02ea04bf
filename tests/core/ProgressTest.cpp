// SPDX-License-Identifier: GPL-3.0-or-later
#include "Progress.h"

#include <cctype>
#include <cmath>
#include <ctime>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "TestInstants.h"

namespace tessel {
namespace {

using std::chrono::hours;
using std::chrono::milliseconds;

using testing_support::utc;

DailyStudyStats day(std::string key, std::int64_t reviewed, std::int64_t sessions = 0,
                    double seconds = 0) {
    return {std::move(key), reviewed, reviewed, 0, sessions, seconds};
}

DailyStatsMap mapOf(std::vector<DailyStudyStats> records) {
    DailyStatsMap map;
    int n = 0;
    // Map keys are deliberately not the day: the streak reads the records' own `day`.
    for (auto& record : records)
        map.emplace(std::string("k").append(std::to_string(n++)), std::move(record));
    return map;
}

struct StreakCase {
    const char* name;
    std::vector<DailyStudyStats> records;
    StudyStreak expected;
};

class Streak : public testing::TestWithParam<StreakCase> {};

TEST_P(Streak, FromRecordsAsOfMidMay) {
    const Calendar calendar = Calendar::withTimeZone("America/New_York");
    const Instant now = utc(2024, 5, 15, 16);  // noon on 15 May in New York
    EXPECT_EQ(StreakCalculator::calculate(mapOf(GetParam().records), now, calendar),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Streak,
    testing::Values(StreakCase{"Empty", {}, {0, 0, std::nullopt, false}},
                    StreakCase{"TodayAndTwoBefore",
                               {day("2024-05-13", 1), day("2024-05-14", 2), day("2024-05-15", 3)},
                               {3, 3, "2024-05-15", true}},
                    StreakCase{"EndingYesterday",
                               {day("2024-05-13", 1), day("2024-05-14", 2)},
                               {2, 2, "2024-05-14", false}},
                    StreakCase{"GapOfADay", {day("2024-05-13", 1)}, {0, 1, "2024-05-13", false}},
                    StreakCase{"LongerRunLastMonth",
                               {day("2024-04-10", 1), day("2024-04-11", 1), day("2024-04-12", 1),
                                day("2024-04-13", 1), day("2024-05-14", 1), day("2024-05-15", 1)},
                               {2, 4, "2024-05-15", true}},
                    StreakCase{"TomorrowIgnored",
                               {day("2024-05-16", 4), day("2024-05-15", 1)},
                               {1, 1, "2024-05-15", true}},
                    StreakCase{"OnlyTomorrow", {day("2024-05-16", 4)}, {0, 0, std::nullopt, false}},
                    StreakCase{"SessionWithoutReviewsCounts",
                               {day("2024-05-15", 0, 1)},
                               {1, 1, "2024-05-15", true}},
                    StreakCase{"SecondsAloneDoNotCount",
                               {day("2024-05-15", 0, 0, 120)},
                               {0, 0, std::nullopt, false}},
                    StreakCase{"UnparsableDayIgnored",
                               {day("today", 5), day("2024-05-14", 1)},
                               {1, 1, "2024-05-14", false}},
                    StreakCase{"SameDayTwiceCountsOnce",
                               {day("2024-5-15", 1), day("2024-05-15", 1), day("2024-05-14", 1)},
                               {2, 2, "2024-05-15", true}},
                    StreakCase{"AcrossYearEnd",
                               {day("2023-12-31", 1), day("2024-01-01", 1), day("2024-05-15", 1)},
                               {1, 2, "2024-05-15", true}}),
    [](const testing::TestParamInfo<StreakCase>& info) { return info.param.name; });

struct ShiftRun {
    const char* zone;
    int year, month, firstDay, length;
};

class StreakAcrossShifts : public testing::TestWithParam<ShiftRun> {};

// A run of study days around a clock change stays one run, whether it ends today or yesterday,
// and whatever time of the last day it is.
TEST_P(StreakAcrossShifts, RunIsUnbroken) {
    const ShiftRun& run = GetParam();
    const Calendar calendar = Calendar::withTimeZone(run.zone);
    std::vector<DailyStudyStats> records;
    for (int d = 0; d < run.length; ++d) {
        char key[16];
        std::snprintf(key, sizeof key, "%04d-%02d-%02d", run.year, run.month, run.firstDay + d);
        records.push_back(day(key, 1));
    }
    const DailyStatsMap stats = mapOf(records);
    const Instant lastDay = *calendar.date(run.year, run.month, run.firstDay + run.length - 1);
    const milliseconds times[] = {milliseconds(0), hours(12), hours(23) - milliseconds(1)};
    for (const milliseconds into : times) {
        const StudyStreak today = StreakCalculator::calculate(stats, lastDay + into, calendar);
        EXPECT_EQ(today.currentDays, run.length) << "same day, +" << into.count() << " ms";
        EXPECT_EQ(today.longestDays, run.length);
        EXPECT_TRUE(today.hasStudiedToday);
        EXPECT_EQ(today.lastStudyDay, records.back().day);
    }
    // Days last 23 to 25 hours, so 36 hours after the last day began is the day after.
    const StudyStreak tomorrow = StreakCalculator::calculate(stats, lastDay + hours(36), calendar);
    EXPECT_EQ(tomorrow.currentDays, run.length);
    EXPECT_FALSE(tomorrow.hasStudiedToday);
}

INSTANTIATE_TEST_SUITE_P(Zones, StreakAcrossShifts,
                         testing::Values(ShiftRun{"America/New_York", 2024, 3, 8, 5},
                                         ShiftRun{"America/New_York", 2024, 11, 1, 5},
                                         ShiftRun{"Australia/Lord_Howe", 2024, 4, 5, 5},
                                         ShiftRun{"Australia/Lord_Howe", 2024, 10, 4, 5},
                                         // Midnight is skipped on the 8th: today begins at 1 a.m.
                                         ShiftRun{"America/Santiago", 2019, 9, 5, 4},
                                         ShiftRun{"America/Santiago", 2019, 9, 6, 4},
                                         ShiftRun{"Asia/Beirut", 2019, 3, 28, 4},
                                         ShiftRun{"America/Havana", 2019, 11, 1, 5},
                                         ShiftRun{"America/Toronto", 1919, 3, 28, 4}),
                         [](const testing::TestParamInfo<ShiftRun>& info) {
                             std::string name = info.param.zone;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             char day[16];
                             std::snprintf(day, sizeof day, "_%04d_%02d_%02d", info.param.year,
                                           info.param.month, info.param.firstDay);
                             return name + day;
                         });

// Zones that skipped a whole calendar date: the days either side of the gap are consecutive for
// the learner, and the streak is counted (and finishes) on the day after the gap.
TEST(Streak, AcrossASkippedDate) {
    struct Case {
        const char* zone;
        const char* before;
        const char* after;
    } cases[] = {{"Pacific/Apia", "2011-12-29", "2011-12-31"},
                 {"Pacific/Fakaofo", "2011-12-29", "2011-12-31"},
                 {"Pacific/Kiritimati", "1994-12-30", "1995-01-01"},
                 {"Pacific/Kwajalein", "1993-08-20", "1993-08-22"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zone);
        const Calendar calendar = Calendar::withTimeZone(c.zone);
        const Instant after = *StudyDay::date(c.after, calendar);
        const DailyStatsMap both = mapOf({day(c.before, 1), day(c.after, 1)});
        EXPECT_EQ(StreakCalculator::calculate(both, after + hours(12), calendar),
                  (StudyStreak{2, 2, c.after, true}));
        EXPECT_EQ(StreakCalculator::calculate(both, after + hours(36), calendar),
                  (StudyStreak{2, 2, c.after, false}));
        const DailyStatsMap afterOnly = mapOf({day(c.after, 1)});
        EXPECT_EQ(StreakCalculator::calculate(afterOnly, after + hours(12), calendar),
                  (StudyStreak{1, 1, c.after, true}));
    }
}

TEST(StudyDay, KeysFollowTheZonesWallClock) {
    struct Case {
        const char* zone;
        Instant at;
        const char* key;
    } cases[] = {
        {"America/New_York", utc(2024, 3, 10, 4, 59, 59), "2024-03-09"},
        {"America/New_York", utc(2024, 3, 10, 5), "2024-03-10"},
        {"America/New_York", utc(2024, 11, 4, 4, 59, 59), "2024-11-03"},
        {"America/New_York", utc(2024, 11, 4, 5), "2024-11-04"},
        {"Australia/Lord_Howe", utc(2024, 4, 6, 12, 59, 59), "2024-04-06"},
        {"Australia/Lord_Howe", utc(2024, 4, 7, 13, 29, 59), "2024-04-07"},
        {"Australia/Lord_Howe", utc(2024, 4, 7, 13, 30), "2024-04-08"},
        {"America/Santiago", utc(2019, 9, 8, 3, 59, 59), "2019-09-07"},
        {"America/Santiago", utc(2019, 9, 8, 4), "2019-09-08"},
        {"Asia/Tokyo", utc(2024, 4, 30, 15), "2024-05-01"},
        {"UTC", utc(1969, 12, 31, 23, 59, 59) + milliseconds(500), "1969-12-31"},
        {"UTC", utc(1970, 1, 1), "1970-01-01"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StudyDay::key(c.at, Calendar::withTimeZone(c.zone)), c.key) << c.zone;
    }
}

TEST(StudyDay, ParsingKeys) {
    const Calendar calendar = Calendar::withTimeZone("Europe/Berlin");
    const auto mayDay = calendar.date(2024, 5, 1);
    struct Case {
        const char* text;
        bool parses;
    } cases[] = {{"2024-05-01", true},
                 {"2024-5-1", true},
                 {"2024--05--01", true},
                 {"2024-x-05-1", true},
                 {"+2024-05-01", true},
                 {"2024-05-01-07", false},
                 {"2024-05", false},
                 {"today", false},
                 {"", false},
                 {"2024-13-01", false},
                 {" 2024-05-01", false},
                 {"2024-05-1.5", false},
                 {"99999999999999999999-05-01", false},
                 {"3000000000-05-01", false}};
    for (const Case& c : cases) {
        const auto parsed = StudyDay::date(c.text, calendar);
        EXPECT_EQ(parsed.has_value(), c.parses) << c.text;
        if (c.parses && parsed) {
            EXPECT_EQ(parsed, mayDay) << c.text;
        }
    }
}

TEST(DailyStudyStats, DerivedFigures) {
    struct Case {
        std::int64_t reviewed, correct, sessions;
        double seconds;
        std::int64_t incorrect;
        double accuracy;
        bool active;
    } cases[] = {{0, 0, 0, 0, 0, 0.0, false},
                 {4, 3, 0, 0, 1, 0.75, true},
                 {2, 5, 0, 0, 0, 2.5, true},
                 {0, 0, 1, 0, 0, 0.0, true},
                 {0, 0, 0, 60, 0, 0.0, false},
                 {-1, 0, 0, 0, 0, 0.0, false},
                 // Extreme stored pairs: the difference saturates instead of overflowing.
                 {std::numeric_limits<std::int64_t>::max(), -1, 0, 0,
                  std::numeric_limits<std::int64_t>::max(), -1.0 / 9.223372036854775807e18, true},
                 {std::numeric_limits<std::int64_t>::min(), 1, 0, 0, 0, 0.0, false}};
    for (const Case& c : cases) {
        const DailyStudyStats stats{"d", c.reviewed, c.correct, 0, c.sessions, c.seconds};
        EXPECT_EQ(stats.incorrectCount(), c.incorrect);
        EXPECT_DOUBLE_EQ(stats.accuracy(), c.accuracy);
        EXPECT_EQ(stats.hasActivity(), c.active);
    }
}

TEST(LearnerProgress, ConstructorKeepsTheSchemaAtLeastCurrent) {
    const DailyStatsMap daily = {{"2024-05-01", day("2024-05-01", 2)}};
    const std::map<LearningLanguage, DailyStatsMap> none,
        japanese = {{LearningLanguage::japanese, daily}};
    EXPECT_EQ(LearnerProgress(1, {}, daily, none).schemaVersion, 2);
    EXPECT_EQ(LearnerProgress(7, {}, daily, none).schemaVersion, 7);
    // Without unscoped figures, older figures count for every language unless split already.
    EXPECT_EQ(LearnerProgress(0, {}, daily, none).unscopedDailyStats, daily);
    EXPECT_TRUE(LearnerProgress(2, {}, daily, japanese).unscopedDailyStats.empty());
    EXPECT_TRUE(LearnerProgress(2, {}, daily, none, DailyStatsMap{}).unscopedDailyStats.empty());
    EXPECT_EQ(LearnerProgress(), LearnerProgress(2, {}, {}, {}));
}

DailyStudyStats sum(const DailyStatsMap& map, const std::string& key) {
    const auto it = map.find(key);
    return it == map.end() ? DailyStudyStats{} : it->second;
}

// Whatever sequence of reviews and sessions is recorded, each day's all-language figures are the
// sum of the unscoped and both languages' figures.
TEST(LearnerProgress, RecordingKeepsTheTotalsTheSumOfTheParts) {
    const Calendar calendar = Calendar::withTimeZone("Australia/Lord_Howe");
    std::mt19937 random(7);
    LearnerProgress progress;
    const std::optional<LearningLanguage> languages[] = {std::nullopt, LearningLanguage::chinese,
                                                         LearningLanguage::japanese};
    for (int i = 0; i < 400; ++i) {
        const Instant at = utc(2024, 4, 1) + hours(random() % (24 * 14));
        const auto language = languages[random() % 3];
        if (random() % 5 == 0) {
            progress.completeSession(at, calendar, language);
        } else {
            CardProgress card;
            card.itemID = "item-" + std::to_string(random() % 50);
            progress.recordReview(card, random() % 2 == 0, random() % 4 == 0, at,
                                  static_cast<double>(random() % 40) - 5, calendar, language);
        }
    }
    ASSERT_GE(progress.dailyStats.size(), 14u);
    for (const auto& [key, total] : progress.dailyStats) {
        const auto unscoped = sum(progress.unscopedDailyStats, key);
        const auto chinese = sum(progress.dailyStatsByLanguage[LearningLanguage::chinese], key);
        const auto japanese = sum(progress.dailyStatsByLanguage[LearningLanguage::japanese], key);
        DailyStudyStats parts = LearnerProgress::combined(key, &unscoped, &chinese);
        parts = LearnerProgress::combined(key, &parts, &japanese);
        EXPECT_EQ(total, parts) << key;
        EXPECT_EQ(total.day, key);
    }
    EXPECT_LE(progress.cards.size(), 50u);
}

TEST(LearnerProgress, RecordReviewCountsIntoTheRightMaps) {
    const Calendar calendar = Calendar::withTimeZone("Asia/Tokyo");
    const Instant at = utc(2024, 4, 30, 16);  // 1 May in Tokyo
    LearnerProgress progress;
    CardProgress card;
    card.itemID = "ja-1";
    progress.recordReview(card, true, true, at, 12.5, calendar, LearningLanguage::japanese);
    progress.recordReview(card, false, false, at, -5, calendar, LearningLanguage::japanese);
    progress.recordReview(card, true, false, at, INFINITY, calendar, std::nullopt);
    progress.completeSession(at, calendar, LearningLanguage::chinese);

    const DailyStudyStats total{"2024-05-01", 3, 2, 1, 1, 12.5};
    EXPECT_EQ(progress.dailyStats.at("2024-05-01"), total);
    EXPECT_EQ(progress.unscopedDailyStats.at("2024-05-01"),
              (DailyStudyStats{"2024-05-01", 1, 1, 0, 0, 0}));
    EXPECT_EQ(progress.dailyStatsByLanguage.at(LearningLanguage::japanese).at("2024-05-01"),
              (DailyStudyStats{"2024-05-01", 2, 1, 1, 0, 12.5}));
    EXPECT_EQ(progress.dailyStatsByLanguage.at(LearningLanguage::chinese).at("2024-05-01"),
              (DailyStudyStats{"2024-05-01", 0, 0, 0, 1, 0}));
    EXPECT_EQ(progress.card("ja-1"), card);
    EXPECT_FALSE(progress.card("ja-2"));

    EXPECT_EQ(progress.stats(at, calendar, LearningLanguage::japanese),
              (DailyStudyStats{"2024-05-01", 3, 2, 1, 0, 12.5}));
    EXPECT_EQ(progress.stats(at, calendar, LearningLanguage::chinese),
              (DailyStudyStats{"2024-05-01", 1, 1, 0, 1, 0}));
    EXPECT_EQ(progress.stats(at + hours(24), calendar), (DailyStudyStats{"2024-05-02"}));

    // A stored record keeps its own `day` text when counted into again.
    progress.dailyStats["2024-05-01"].day = "2024-5-1";
    progress.completeSession(at, calendar, std::nullopt);
    EXPECT_EQ(progress.dailyStats.at("2024-05-01").day, "2024-5-1");
}

TEST(LearnerProgress, StreakPerLanguageSeesUnscopedAndOwnDaysOnly) {
    const Calendar calendar = Calendar::withTimeZone("UTC");
    LearnerProgress progress(2, {}, {}, {});
    progress.unscopedDailyStats = {{"2024-05-13", day("2024-05-13", 1)}};
    progress.dailyStatsByLanguage[LearningLanguage::japanese] = {
        {"2024-05-14", day("2024-05-14", 1)}, {"2024-05-15", day("2024-05-15", 1)}};
    progress.dailyStatsByLanguage[LearningLanguage::chinese] = {
        {"2024-05-12", day("2024-05-12", 1)}, {"2024-05-15", day("2024-05-15", 0, 0, 9)}};
    progress.dailyStats = {{"2024-05-10", day("2024-05-10", 1)},
                           {"2024-05-15", day("2024-05-15", 1)}};
    const Instant now = utc(2024, 5, 15, 12);
    EXPECT_EQ(progress.streak(now, calendar, LearningLanguage::japanese),
              (StudyStreak{3, 3, "2024-05-15", true}));
    EXPECT_EQ(progress.streak(now, calendar, LearningLanguage::chinese),
              (StudyStreak{0, 2, "2024-05-13", false}));
    EXPECT_EQ(progress.streak(now, calendar), (StudyStreak{1, 1, "2024-05-15", true}));
}

TEST(LearnerProgress, CountsAtTheEdgeOf64BitsStopInsteadOfWrapping) {
    const Calendar calendar = Calendar::withTimeZone("UTC");
    const Instant at = utc(2024, 5, 1, 12);
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    LearnerProgress progress;
    progress.dailyStats["2024-05-01"] = {"2024-05-01", kMax, kMax, kMax, kMax, 0};
    progress.recordReview(CardProgress{}, true, true, at, 1, calendar, std::nullopt);
    progress.completeSession(at, calendar, std::nullopt);
    EXPECT_EQ(progress.dailyStats.at("2024-05-01"),
              (DailyStudyStats{"2024-05-01", kMax, kMax, kMax, kMax, 1}));

    DailyStatsMap target{{"d", {"d", kMax, 0, 0, 0, 0}}};
    LearnerProgress::merge({{"d", {"d", 5, 0, 0, 0, 0}}}, target);
    EXPECT_EQ(target.at("d").reviewedCount, kMax);
}

TEST(LearnerProgress, MergeSumsByKeyAndLeavesOthersAlone) {
    DailyStatsMap target = {{"a", {"a", 1, 1, 1, 1, 1.5}}, {"b", {"b", 2, 0, 0, 0, 0}}};
    const DailyStatsMap source = {{"a", {"wrong", 3, 2, 0, 1, 2.0}},
                                  {"c", {"other", 1, 1, 1, 0, 0}}};
    LearnerProgress::merge(source, target);
    const DailyStatsMap expected = {
        {"a", {"a", 4, 3, 1, 2, 3.5}}, {"b", {"b", 2, 0, 0, 0, 0}}, {"c", {"c", 1, 1, 1, 0, 0}}};
    EXPECT_EQ(target, expected);
    EXPECT_EQ(LearnerProgress::combined("x", nullptr, nullptr), (DailyStudyStats{"x"}));
}

// The day's first study lengthens the kept streak exactly as a walk over the whole history would,
// across clock changes and a skipped date; where it cannot tell, it declines.
TEST(LearnerProgress, StreakAfterFirstStudyAgreesWithTheWholeHistory) {
    constexpr auto zh = LearningLanguage::chinese;
    std::mt19937 random(5);
    // A few days either side of a clock change or of the skipped 2011-12-30.
    for (const auto& [zone, day] : {std::pair{"America/Santiago", "2019-09-09"},
                                    {"Australia/Lord_Howe", "2019-10-08"},
                                    {"Pacific/Apia", "2012-01-02"}}) {
        SCOPED_TRACE(zone);
        const Calendar calendar = Calendar::withTimeZone(zone);
        const Instant around = *StudyDay::date(day, calendar);
        for (int round = 0; round < 40; ++round) {
            const Instant now = *calendar.addingDays(-static_cast<int>(random() % 5), around) +
                                hours(static_cast<int>(random() % 24));
            LearnerProgress progress;
            for (int back = 1; back <= 8; ++back) {
                if (random() % 3 != 0)
                    progress.recordReview({}, true, false, *calendar.addingDays(-back, now), 1,
                                          calendar,
                                          random() % 4 ? std::optional(zh) : std::nullopt);
            }
            const StudyStreak before = progress.streak(now, calendar, zh);
            progress.recordReview({}, true, false, now, 1, calendar, zh);
            const StudyStreak today = progress.streak(now, calendar, zh);
            const std::string key = StudyDay::key(now, calendar);
            // A day back across the skipped date is today: no first study.
            EXPECT_EQ(progress.streakAfterFirstStudy(before, key, now, calendar, zh),
                      before.hasStudiedToday ? std::nullopt : std::optional(today));
            EXPECT_EQ(progress.streakAfterFirstStudy(today, key, now, calendar, zh), std::nullopt);
        }
    }
    // Another day's key, or a hand-edited record of today naming another day, is left to the walk.
    const Calendar calendar = Calendar::withTimeZone("UTC");
    const Instant now = utc(2024, 5, 15, 12);
    LearnerProgress progress;
    progress.recordReview({}, true, false, now, 1, calendar, std::nullopt);
    const StudyStreak none;
    EXPECT_EQ(progress.streakAfterFirstStudy(none, "2024-05-14", now, calendar, zh), std::nullopt);
    EXPECT_NE(progress.streakAfterFirstStudy(none, "2024-05-15", now, calendar, zh), std::nullopt);
    progress.unscopedDailyStats.at("2024-05-15").day = "2024-05-01";
    EXPECT_EQ(progress.streakAfterFirstStudy(none, "2024-05-15", now, calendar, zh), std::nullopt);
}

TEST(StudyStreak, JsonForm) {
    const StudyStreak full{3, 7, "2024-05-15", true};
    EXPECT_EQ(
        full.encode(),
        R"({"currentDays":3,"hasStudiedToday":true,"lastStudyDay":"2024-05-15","longestDays":7})");
    EXPECT_EQ(StudyStreak::decode(full.encode()), full);
    struct Case {
        const char* json;
        bool ok;
    } cases[] = {
        {R"({"currentDays":0,"longestDays":0,"hasStudiedToday":false})", true},
        {R"({"currentDays":0,"longestDays":0,"hasStudiedToday":false,"lastStudyDay":null})", true},
        {R"({"currentDays":0,"longestDays":0})", false},
        {R"({"currentDays":1.5,"longestDays":0,"hasStudiedToday":false})", false},
        {R"({"currentDays":0,"longestDays":0,"hasStudiedToday":1})", false},
        {R"({"currentDays":0,"longestDays":0,"hasStudiedToday":true,"lastStudyDay":5})", false},
        {R"({"currentDays":18446744073709551615,"longestDays":0,"hasStudiedToday":true})", false},
        {R"([1,2)", false}};
    for (const Case& c : cases) EXPECT_EQ(StudyStreak::decode(c.json).has_value(), c.ok) << c.json;
}

}  // namespace
}  // namespace tessel
