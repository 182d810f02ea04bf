// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgressJSON.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <new>

#include "ProgressReader.h"

namespace tessel::ProgressJSON {

namespace {

using namespace std::chrono;

// Parses exactly `count` ASCII digits at `pos`; nothing for anything else.
std::optional<int> digits(std::string_view text, std::size_t pos, std::size_t count) {
    if (pos + count > text.size()) return std::nullopt;
    int value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool hasAt(std::string_view text, std::size_t pos, char c) {
    return pos < text.size() && text[pos] == c;
}

// The day whose all-language total (the sum of the language-free record and each language's
// record) cannot be held, if any. Such totals come only from damaged or hand-made files; without
// this check they would overflow, or become infinite and make every later save fail.
std::optional<std::string> dayWithUnholdableTotal(
    const DailyStatsMap& unscoped, const std::map<LearningLanguage, DailyStatsMap>& byLanguage) {
    DailyStatsMap totals = unscoped;
    for (const auto& [language, map] : byLanguage) {
        for (const auto& [day, s] : map) {
            DailyStudyStats& total = totals[day];
            const bool overflow =
                __builtin_add_overflow(total.reviewedCount, s.reviewedCount,
                                       &total.reviewedCount) ||
                __builtin_add_overflow(total.correctCount, s.correctCount, &total.correctCount) ||
                __builtin_add_overflow(total.newCardsLearned, s.newCardsLearned,
                                       &total.newCardsLearned) ||
                __builtin_add_overflow(total.sessionsCompleted, s.sessionsCompleted,
                                       &total.sessionsCompleted);
            total.studySeconds += s.studySeconds;
            if (overflow || !std::isfinite(total.studySeconds)) return day;
        }
    }
    return std::nullopt;
}

// Applies the carry-over rules to what was read.
Result<LearnerProgress> assemble(ProgressParts parts) {
    const std::int64_t version = parts.schemaVersion.value_or(1);
    auto byLanguage =
        std::move(parts.dailyStatsByLanguage).value_or(std::map<LearningLanguage, DailyStatsMap>{});
    DailyStatsMap unscoped;
    if (parts.unscopedDailyStats) {
        unscoped = std::move(*parts.unscopedDailyStats);
    } else if (version <= 1 && parts.dailyStats) {
        // Schema 1 kept no languages apart, so its statistics count for both languages.
        unscoped = *parts.dailyStats;
    }
    DailyStatsMap daily;
    if (parts.dailyStats) {
        daily = std::move(*parts.dailyStats);
    } else {
        if (const auto day = dayWithUnholdableTotal(unscoped, byLanguage)) {
            return fail(
                "The data couldn’t be read because it isn’t in the correct format: the totals "
                "of " +
                day->substr(0, 60) + " are too large");
        }
        daily = unscoped;
        for (const auto& [language, stats] : byLanguage) LearnerProgress::merge(stats, daily);
    }
    return LearnerProgress(version,
                           std::move(parts.cards).value_or(std::map<std::string, CardProgress>{}),
                           std::move(daily), std::move(byLanguage), std::move(unscoped));
}

}  // namespace

std::string formatInstant(Instant instant) {
    char buffer[32];
    return std::string(buffer, formatInstantInto(instant, buffer));
}

std::size_t formatInstantInto(Instant instant, char* buffer) {
    // floor, not duration_cast: an instant half a second before 1970 belongs to 23:59:59. The
    // only exception is the partial first second an Instant can hold, whose floor no Instant can
    // hold: it is written as the next second so that every written date can be read back.
    const auto earliest = ceil<seconds>(Instant::min());
    const auto secondsPart = std::max(floor<seconds>(instant), earliest);
    const auto dayPart = floor<days>(secondsPart);
    const year_month_day date{dayPart};
    const hh_mm_ss<seconds> time{secondsPart - dayPart};
    const int y = int(date.year());
    if (y < 0 || y > 9999) {
        const int length =
            std::snprintf(buffer, 32, "%04d-%02u-%02uT%02d:%02d:%02dZ", y, unsigned(date.month()),
                          unsigned(date.day()), int(time.hours().count()),
                          int(time.minutes().count()), int(time.seconds().count()));
        return std::size_t(std::clamp(length, 0, 31));
    }
    // Every progress file holds two dates per card: formatted by hand, as printf would.
    const auto put = [&buffer](std::size_t at, unsigned value, std::size_t width) {
        for (std::size_t i = width; i-- > 0; value /= 10) buffer[at + i] = char('0' + value % 10);
    };
    put(0, unsigned(y), 4);
    buffer[4] = '-';
    put(5, unsigned(date.month()), 2);
    buffer[7] = '-';
    put(8, unsigned(date.day()), 2);
    buffer[10] = 'T';
    put(11, unsigned(time.hours().count()), 2);
    buffer[13] = ':';
    put(14, unsigned(time.minutes().count()), 2);
    buffer[16] = ':';
    put(17, unsigned(time.seconds().count()), 2);
    buffer[19] = 'Z';
    buffer[20] = '\0';
    return 20;
}

std::optional<Instant> parseInstant(std::string_view text) {
    // YYYY-MM-DDTHH:MM:SS followed by Z or ±HH:MM; nothing else.
    if (text.size() != 20 && text.size() != 25) return std::nullopt;
    const auto y = digits(text, 0, 4);
    const auto mo = digits(text, 5, 2);
    const auto d = digits(text, 8, 2);
    const auto h = digits(text, 11, 2);
    const auto mi = digits(text, 14, 2);
    const auto s = digits(text, 17, 2);
    if (!y || !mo || !d || !h || !mi || !s || !hasAt(text, 4, '-') || !hasAt(text, 7, '-') ||
        !hasAt(text, 10, 'T') || !hasAt(text, 13, ':') || !hasAt(text, 16, ':')) {
        return std::nullopt;
    }
    const year_month_day date{year{*y}, month{unsigned(*mo)}, day{unsigned(*d)}};
    // A leap second has no place on this clock; the app never writes one.
    if (!date.ok() || *h > 23 || *mi > 59 || *s > 59) return std::nullopt;

    std::int64_t offsetSeconds = 0;
    if (text.size() == 20) {
        if (text[19] != 'Z') return std::nullopt;
    } else {
        const char sign = text[19];
        const auto oh = digits(text, 20, 2);
        const auto om = digits(text, 23, 2);
        if ((sign != '+' && sign != '-') || !oh || !om || !hasAt(text, 22, ':') || *oh > 23 ||
            *om > 59) {
            return std::nullopt;
        }
        offsetSeconds = (sign == '+' ? 1 : -1) * (std::int64_t{*oh} * 3600 + *om * 60);
    }

    const std::int64_t local =
        sys_days{date}.time_since_epoch().count() * std::int64_t{86400} + *h * 3600 + *mi * 60 + *s;
    const std::int64_t utc = local - offsetSeconds;
    // Instants count nanoseconds in 64 bits; outside this span the count would overflow.
    const auto earliest = ceil<seconds>(Instant::min()).time_since_epoch().count();
    const auto latest = floor<seconds>(Instant::max()).time_since_epoch().count();
    if (utc < earliest || utc > latest) return std::nullopt;
    return Instant{duration_cast<Instant::duration>(seconds{utc})};
}

namespace {

Result<LearnerProgress> decodeParts(std::string_view text, bool* hasProgressKey) {
    try {
        ProgressReader reader(kMaxNestingDepth);
        if (nlohmann::json::sax_parse(text.data(), text.data() + text.size(), &reader)) {
            ProgressParts parts = reader.takeParts();
            *hasProgressKey = parts.hasProgressKey;
            return assemble(std::move(parts));
        }
        if (reader.parserFailure() == ProgressReader::ParserFailure::none) {
            return fail(reader.error());
        }
        const std::size_t position = std::min(reader.errorPosition(), text.size());
        const std::string_view before = text.substr(0, position);
        const auto line = 1 + std::count(before.begin(), before.end(), '\n');
        const std::size_t lastBreak = before.rfind('\n');
        const std::size_t column =
            position - (lastBreak == std::string_view::npos ? 0 : lastBreak + 1) + 1;
        const std::string where =
            " (line " + std::to_string(line) + ", column " + std::to_string(column) + ")";
        if (reader.parserFailure() == ProgressReader::ParserFailure::numberOutOfRange) {
            return fail(
                "The data couldn’t be read because it isn’t in the correct format: a number is "
                "out of range" +
                where);
        }
        return fail("The data couldn’t be read because it isn’t valid JSON" + where);
    } catch (const std::bad_alloc&) {
        return fail("The data couldn’t be read because there is not enough memory.");
    } catch (const std::exception& e) {
        return fail(std::string("The data couldn’t be read: ") + e.what());
    }
}

}  // namespace

Result<LearnerProgress> decode(std::string_view text) {
    bool hasProgressKey = false;
    return decodeParts(text, &hasProgressKey);
}

Result<LearnerProgress> decodeFile(std::string_view text, std::string_view fileName) {
    bool hasProgressKey = false;
    auto decoded = decodeParts(text, &hasProgressKey);
    if (decoded && !hasProgressKey) {
        return fail("The file “" + std::string(fileName) + "” is not a Brindle progress file.");
    }
    return decoded;
}

}  // namespace tessel::ProgressJSON
