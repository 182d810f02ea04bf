// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One fast path lives here: LearnerProgress::streakAfterFirstStudy lengthens a kept streak on the
// day's first study, because walking a heavy learner's years of days again costs more than the
// rating may (a learner with 100,000 cards: dashboard statistics within 2 ms after the day's first
// rating, bench/app/learner). StreakCalculator::calculate is the definition;
// tests/core/ProgressTest.cpp holds the fast path to it.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "AdaptiveScheduler.h"
#include "Calendar.h"
#include "Result.h"
#include "Vocabulary.h"

namespace tessel {

// One day's study figures. `day` is the day key ("2024-05-01").
struct DailyStudyStats {
    std::string day;
    std::int64_t reviewedCount = 0;
    std::int64_t correctCount = 0;
    std::int64_t newCardsLearned = 0;
    std::int64_t sessionsCompleted = 0;
    double studySeconds = 0;

    // reviewedCount - correctCount, never below 0.
    std::int64_t incorrectCount() const;
    // correct / reviewed between 0 and 1; exactly 0 with no reviews.
    double accuracy() const;
    // A review or a completed session; study seconds alone are no activity.
    bool hasActivity() const { return reviewedCount > 0 || sessionsCompleted > 0; }

    bool operator==(const DailyStudyStats&) const = default;
};

struct StudyStreak {
    std::int64_t currentDays = 0;
    std::int64_t longestDays = 0;
    std::optional<std::string> lastStudyDay;
    bool hasStudiedToday = false;

    // Sorted-key JSON object; `lastStudyDay` is left out when absent.
    std::string encode() const;
    // `currentDays`, `longestDays` (integers) and `hasStudiedToday` (boolean) are required;
    // `lastStudyDay` is optional and null counts as absent. Fails on malformed JSON, a missing
    // required key or a wrong type.
    static Result<StudyStreak> decode(std::string_view json);

    bool operator==(const StudyStreak&) const = default;
};

using DailyStatsMap = std::map<std::string, DailyStudyStats>;

namespace StudyDay {
// "%04d-%02d-%02d" of the instant's civil date in the calendar's zone.
std::string key(Instant t, const Calendar& calendar);
// Start of the day named by a key; "2024-5-1" parses, anything without exactly three numbers
// gives nothing.
std::optional<Instant> date(std::string_view key, const Calendar& calendar);
}  // namespace StudyDay

namespace StreakCalculator {
// The streak over the records' `day` fields (map keys are not looked at) as of `now`.
StudyStreak calculate(const DailyStatsMap& stats, Instant now, const Calendar& calendar);
}  // namespace StreakCalculator

// The learner's whole persistent state.
struct LearnerProgress {
    static constexpr std::int64_t currentSchemaVersion = 2;

    std::int64_t schemaVersion = currentSchemaVersion;
    std::map<std::string, CardProgress> cards;
    DailyStatsMap dailyStats;
    std::map<LearningLanguage, DailyStatsMap> dailyStatsByLanguage;
    DailyStatsMap unscopedDailyStats;

    // A fresh, empty progress: schema 2 and all maps empty.
    LearnerProgress() = default;
    // Stores max(schemaVersion, 2). Without `unscoped`, it is empty when `byLanguage` has an entry
    // and a copy of `daily` otherwise.
    LearnerProgress(std::int64_t schemaVersion, std::map<std::string, CardProgress> cards,
                    DailyStatsMap daily, std::map<LearningLanguage, DailyStatsMap> byLanguage,
                    std::optional<DailyStatsMap> unscoped = std::nullopt);

    std::optional<CardProgress> card(const std::string& itemID) const;
    // All-language figures of the instant's day; a zero record with `day` set when missing.
    DailyStudyStats stats(Instant on, const Calendar& calendar) const;
    // Unscoped plus the language's figures of the instant's day.
    DailyStudyStats stats(Instant on, const Calendar& calendar, LearningLanguage language) const;
    // Unscoped plus the language's figures of the day with this key: what the language's streak
    // counts for that day.
    DailyStudyStats stats(const std::string& dayKey, LearningLanguage language) const;
    StudyStreak streak(Instant asOf, const Calendar& calendar) const;
    StudyStreak streak(Instant asOf, const Calendar& calendar, LearningLanguage language) const;
    // The language's streak as of `asOf` once the records under `dayKey` have made that day a
    // study day, from `before`, the streak as of `asOf` without them: the day of `asOf` joins the
    // run that ended the day before, so the history is not walked again. Nothing when only
    // `streak` can tell: `dayKey` is not that day's key, `before` already counts the day, or a
    // record of the day is filed under another day.
    // REQUIRES: nothing but the records under `dayKey` changed since `before` was worked out.
    std::optional<StudyStreak> streakAfterFirstStudy(const StudyStreak& before,
                                                     const std::string& dayKey, Instant asOf,
                                                     const Calendar& calendar,
                                                     LearningLanguage language) const;

    // Stores the card and counts one review in the all-language map and in the language's map
    // (or the unscoped map when no language is given). Negative seconds count as 0.
    void recordReview(const CardProgress& card, bool correct, bool learnedForFirstTime, Instant at,
                      double studySeconds, const Calendar& calendar,
                      std::optional<LearningLanguage> language);
    // Counts one completed session on the instant's day.
    void completeSession(Instant at, const Calendar& calendar,
                         std::optional<LearningLanguage> language);

    // Sums `source` into `target` by day key (each merged record's `day` becomes its key).
    static void merge(const DailyStatsMap& source, DailyStatsMap& target);
    // One record for `day` with the sums of the two (a missing record counts as zero).
    static DailyStudyStats combined(const std::string& day, const DailyStudyStats* a,
                                    const DailyStudyStats* b);

    bool operator==(const LearnerProgress&) const = default;
};

}  // namespace tessel
