// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tessel {

// An absolute point in time, with whatever precision the clock gives.
using Instant = std::chrono::system_clock::time_point;

// Whole seconds and fractions from and to instants; used by the scheduler and the file format.
inline Instant instantFromSeconds(double secondsSinceEpoch) {
    return Instant(std::chrono::duration_cast<Instant::duration>(
        std::chrono::duration<double>(secondsSinceEpoch)));
}
inline double secondsSinceEpoch(Instant t) {
    return std::chrono::duration<double>(t.time_since_epoch()).count();
}

struct DateComponents {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    bool operator==(const DateComponents&) const = default;
};

// The Gregorian calendar in one time zone. Day keys, start of day, calendar-day arithmetic and
// streaks all go through it so that daylight-saving changes never break a day. Cheap to copy;
// safe to share between threads (operations only read the shared, immutable time zone).
class Calendar {
  public:
    // The user's current calendar: the system's local time zone.
    static Calendar current();
    // A calendar in the named IANA zone ("America/New_York"); an unknown id gives UTC.
    static Calendar withTimeZone(const std::string& zoneID);

    std::string timeZoneID() const;

    // Year, month, day, hour and minute of `t` in this calendar's zone.
    DateComponents components(Instant t) const;
    // Midnight (or the first instant of the day when midnight is skipped) of the day holding `t`.
    Instant startOfDay(Instant t) const;
    // The start of the given civil day; nothing when the components form no date (month 13...).
    std::optional<Instant> date(int year, int month, int day) const;
    // `t` moved by `days` calendar days, keeping the wall-clock time where it exists.
    std::optional<Instant> addingDays(std::int64_t days, Instant t) const;
    // Whole calendar days from the day of `from` to the day of `to` (negative when `to` is
    // earlier); nothing when the calendar cannot tell.
    std::optional<std::int64_t> daysBetween(Instant from, Instant to) const;

  private:
    struct Zone;
    explicit Calendar(std::shared_ptr<const Zone> zone) : m_zone(std::move(zone)) {}
    std::shared_ptr<const Zone> m_zone;
};

}  // namespace tessel
