// SPDX-License-Identifier: GPL-3.0-or-later
#include "Progress.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <set>
#include <vector>

#include <nlohmann/json.hpp>

#include "Saturating.h"

namespace tessel {

namespace {

DailyStatsMap::iterator recordFor(DailyStatsMap& map, const std::string& key) {
    auto it = map.find(key);
    if (it == map.end()) {
        DailyStudyStats fresh;
        fresh.day = key;
        it = map.emplace(key, std::move(fresh)).first;
    }
    return it;
}

void addReview(DailyStudyStats& stats, bool correct, bool learnedForFirstTime, double seconds) {
    stats.reviewedCount = saturatingAdd(stats.reviewedCount, 1);
    if (correct) stats.correctCount = saturatingAdd(stats.correctCount, 1);
    if (learnedForFirstTime) stats.newCardsLearned = saturatingAdd(stats.newCardsLearned, 1);
    stats.studySeconds += seconds;
}

// A piece of a day key counts only when it is a whole decimal number (an optional plus sign,
// then digits) that fits in 64 bits.
std::optional<std::int64_t> parsePiece(std::string_view piece) {
    if (!piece.empty() && piece.front() == '+') piece.remove_prefix(1);
    if (piece.empty() || piece.front() == '-' || piece.front() == '+') return std::nullopt;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(piece.data(), piece.data() + piece.size(), value);
    if (error != std::errc() || end != piece.data() + piece.size()) return std::nullopt;
    return value;
}

}  // namespace

std::int64_t DailyStudyStats::incorrectCount() const {
    return std::max<std::int64_t>(saturatingSubtract(reviewedCount, correctCount), 0);
}

double DailyStudyStats::accuracy() const {
    if (reviewedCount <= 0) return 0.0;
    return static_cast<double>(correctCount) / static_cast<double>(reviewedCount);
}

std::string StudyDay::key(Instant t, const Calendar& calendar) {
    const DateComponents c = calendar.components(t);
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", c.year, c.month, c.day);
    return buffer;
}

std::optional<Instant> StudyDay::date(std::string_view key, const Calendar& calendar) {
    std::int64_t numbers[3] = {0, 0, 0};
    std::size_t count = 0;
    while (!key.empty()) {
        const std::size_t dash = key.find('-');
        const std::string_view piece = key.substr(0, dash);
        key = dash == std::string_view::npos ? std::string_view() : key.substr(dash + 1);
        if (piece.empty()) continue;
        const auto number = parsePiece(piece);
        if (!number) continue;
        if (count == 3) return std::nullopt;
        numbers[count++] = *number;
    }
    if (count != 3) return std::nullopt;
    constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();
    if (numbers[0] > kIntMax || numbers[1] > kIntMax || numbers[2] > kIntMax) return std::nullopt;
    return calendar.date(static_cast<int>(numbers[0]), static_cast<int>(numbers[1]),
                         static_cast<int>(numbers[2]));
}

StudyStreak StreakCalculator::calculate(const DailyStatsMap& stats, Instant now,
                                        const Calendar& calendar) {
    const Instant today = calendar.startOfDay(now);

    std::set<Instant> days;
    for (const auto& entry : stats) {
        const DailyStudyStats& record = entry.second;
        if (!record.hasActivity()) continue;
        // A parsed key already is the start of its day.
        const auto day = StudyDay::date(record.day, calendar);
        if (day && *day <= today) days.insert(*day);
    }

    // The start of the day before the one starting at `day`: the day holding the instant just
    // before it. Where a zone skipped a whole date (Samoa's 2011-12-30) the day before is the
    // one the learner lived before, and the result is always earlier than `day`, so the walk
    // below ends.
    const auto dayBefore = [&](Instant day) -> std::optional<Instant> {
        const Instant before = calendar.startOfDay(day - std::chrono::milliseconds(1));
        if (before >= day) return std::nullopt;
        return before;
    };

    StudyStreak streak;
    std::int64_t run = 0;
    std::optional<Instant> previous;
    for (const Instant day : days) {
        const auto gap = previous ? calendar.daysBetween(*previous, day) : std::nullopt;
        const bool follows = gap == std::int64_t{1} || (previous && dayBefore(day) == previous);
        run = follows ? run + 1 : 1;
        streak.longestDays = std::max(streak.longestDays, run);
        previous = day;
    }

    streak.hasStudiedToday = days.count(today) > 0;
    std::optional<Instant> cursor =
        streak.hasStudiedToday ? std::optional(today) : dayBefore(today);
    while (cursor && days.count(*cursor) > 0) {
        streak.currentDays += 1;
        cursor = dayBefore(*cursor);
    }

    if (!days.empty()) streak.lastStudyDay = StudyDay::key(*days.rbegin(), calendar);
    return streak;
}

std::string StudyStreak::encode() const {
    nlohmann::json j = {{"currentDays", currentDays},
                        {"longestDays", longestDays},
                        {"hasStudiedToday", hasStudiedToday}};
    if (lastStudyDay) j["lastStudyDay"] = *lastStudyDay;
    return j.dump();
}

Result<StudyStreak> StudyStreak::decode(std::string_view json) {
    const auto j = nlohmann::json::parse(json, nullptr, false);
    if (j.is_discarded() || !j.is_object()) {
        return fail("The data couldn’t be read because it isn’t in the correct format.");
    }
    const auto field = [&](const char* key) -> Result<const nlohmann::json*> {
        const auto it = j.find(key);
        if (it == j.end() || it->is_null()) {
            return fail(std::string("The data couldn’t be read because it is missing: ") + key);
        }
        return &*it;
    };
    const auto wrongType = [](const char* key) {
        return fail(std::string("The data couldn’t be read because it isn’t in the correct "
                                "format: ") +
                    key);
    };
    const auto integer = [&](const char* key) -> Result<std::int64_t> {
        auto value = field(key);
        if (!value) return tl::unexpected(value.error());
        const nlohmann::json& v = **value;
        if (!v.is_number_integer()) return wrongType(key);
        if (v.is_number_unsigned() &&
            v.get<std::uint64_t>() >
                static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
            return wrongType(key);
        }
        return v.get<std::int64_t>();
    };

    StudyStreak streak;
    const auto current = integer("currentDays");
    if (!current) return tl::unexpected(current.error());
    const auto longest = integer("longestDays");
    if (!longest) return tl::unexpected(longest.error());
    const auto today = field("hasStudiedToday");
    if (!today) return tl::unexpected(today.error());
    if (!(*today)->is_boolean()) return wrongType("hasStudiedToday");
    streak.currentDays = *current;
    streak.longestDays = *longest;
    streak.hasStudiedToday = (*today)->get<bool>();
    const auto last = j.find("lastStudyDay");
    if (last != j.end() && !last->is_null()) {
        if (!last->is_string()) return wrongType("lastStudyDay");
        streak.lastStudyDay = last->get<std::string>();
    }
    return streak;
}

LearnerProgress::LearnerProgress(std::int64_t schemaVersion,
                                 std::map<std::string, CardProgress> cards, DailyStatsMap daily,
                                 std::map<LearningLanguage, DailyStatsMap> byLanguage,
                                 std::optional<DailyStatsMap> unscoped)
    : schemaVersion(std::max(schemaVersion, currentSchemaVersion)),
      cards(std::move(cards)),
      dailyStats(std::move(daily)),
      dailyStatsByLanguage(std::move(byLanguage)) {
    if (unscoped) {
        unscopedDailyStats = std::move(*unscoped);
    } else if (dailyStatsByLanguage.empty()) {
        // Statistics from before the per-language split count for every language.
        unscopedDailyStats = dailyStats;
    }
}

std::optional<CardProgress> LearnerProgress::card(const std::string& itemID) const {
    const auto it = cards.find(itemID);
    if (it == cards.end()) return std::nullopt;
    return it->second;
}

DailyStudyStats LearnerProgress::stats(Instant on, const Calendar& calendar) const {
    const std::string key = StudyDay::key(on, calendar);
    const auto it = dailyStats.find(key);
    if (it != dailyStats.end()) return it->second;
    DailyStudyStats empty;
    empty.day = key;
    return empty;
}

DailyStudyStats LearnerProgress::stats(Instant on, const Calendar& calendar,
                                       LearningLanguage language) const {
    return stats(StudyDay::key(on, calendar), language);
}

DailyStudyStats LearnerProgress::stats(const std::string& key, LearningLanguage language) const {
    const auto find = [&key](const DailyStatsMap& map) -> const DailyStudyStats* {
        const auto it = map.find(key);
        return it == map.end() ? nullptr : &it->second;
    };
    const auto languageMap = dailyStatsByLanguage.find(language);
    const DailyStudyStats* scoped =
        languageMap == dailyStatsByLanguage.end() ? nullptr : find(languageMap->second);
    return combined(key, find(unscopedDailyStats), scoped);
}

StudyStreak LearnerProgress::streak(Instant asOf, const Calendar& calendar) const {
    return StreakCalculator::calculate(dailyStats, asOf, calendar);
}

StudyStreak LearnerProgress::streak(Instant asOf, const Calendar& calendar,
                                    LearningLanguage language) const {
    DailyStatsMap days = unscopedDailyStats;
    const auto languageMap = dailyStatsByLanguage.find(language);
    if (languageMap != dailyStatsByLanguage.end()) merge(languageMap->second, days);
    return StreakCalculator::calculate(days, asOf, calendar);
}

std::optional<StudyStreak> LearnerProgress::streakAfterFirstStudy(const StudyStreak& before,
                                                                  const std::string& dayKey,
                                                                  Instant asOf,
                                                                  const Calendar& calendar,
                                                                  LearningLanguage language) const {
    const Instant today = calendar.startOfDay(asOf);
    if (before.hasStudiedToday || dayKey != StudyDay::key(today, calendar)) return std::nullopt;
    if (!stats(dayKey, language).hasActivity()) return std::nullopt;
    // The streak reads an unscoped record the language's map does not share by its own `day`
    // field, which a hand-edited file may set to another day.
    const auto unscoped = unscopedDailyStats.find(dayKey);
    const auto scopedMap = dailyStatsByLanguage.find(language);
    const bool shared =
        scopedMap != dailyStatsByLanguage.end() && scopedMap->second.contains(dayKey);
    if (unscoped != unscopedDailyStats.end() && !shared && unscoped->second.day != dayKey)
        return std::nullopt;

    StudyStreak after = before;
    after.hasStudiedToday = true;
    after.currentDays = saturatingAdd(before.currentDays, 1);
    after.longestDays = std::max(before.longestDays, after.currentDays);
    after.lastStudyDay = dayKey;
    return after;
}

void LearnerProgress::recordReview(const CardProgress& card, bool correct, bool learnedForFirstTime,
                                   Instant at, double studySeconds, const Calendar& calendar,
                                   std::optional<LearningLanguage> language) {
    cards.insert_or_assign(card.itemID, card);
    const std::string key = StudyDay::key(at, calendar);
    // A non-finite figure could never be written to the progress file again, so it counts as 0
    // like a negative one.
    const double seconds = std::isfinite(studySeconds) && studySeconds >= 0 ? studySeconds : 0.0;

    addReview(recordFor(dailyStats, key)->second, correct, learnedForFirstTime, seconds);
    DailyStatsMap& scoped = language ? dailyStatsByLanguage[*language] : unscopedDailyStats;
    addReview(recordFor(scoped, key)->second, correct, learnedForFirstTime, seconds);
}

void LearnerProgress::completeSession(Instant at, const Calendar& calendar,
                                      std::optional<LearningLanguage> language) {
    const std::string key = StudyDay::key(at, calendar);
    auto& all = recordFor(dailyStats, key)->second.sessionsCompleted;
    all = saturatingAdd(all, 1);
    DailyStatsMap& scoped = language ? dailyStatsByLanguage[*language] : unscopedDailyStats;
    auto& own = recordFor(scoped, key)->second.sessionsCompleted;
    own = saturatingAdd(own, 1);
}

void LearnerProgress::merge(const DailyStatsMap& source, DailyStatsMap& target) {
    for (const auto& [key, record] : source) {
        const auto it = target.find(key);
        if (it == target.end()) {
            DailyStudyStats copy = record;
            copy.day = key;
            target.emplace(key, std::move(copy));
        } else {
            it->second = combined(key, &it->second, &record);
        }
    }
}

DailyStudyStats LearnerProgress::combined(const std::string& day, const DailyStudyStats* a,
                                          const DailyStudyStats* b) {
    DailyStudyStats sum;
    sum.day = day;
    for (const DailyStudyStats* part : {a, b}) {
        if (part == nullptr) continue;
        sum.reviewedCount = saturatingAdd(sum.reviewedCount, part->reviewedCount);
        sum.correctCount = saturatingAdd(sum.correctCount, part->correctCount);
        sum.newCardsLearned = saturatingAdd(sum.newCardsLearned, part->newCardsLearned);
        sum.sessionsCompleted = saturatingAdd(sum.sessionsCompleted, part->sessionsCompleted);
        sum.studySeconds += part->studySeconds;
    }
    return sum;
}

}  // namespace tessel
