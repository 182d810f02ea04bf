// SPDX-License-Identifier: GPL-3.0-or-later
#include "Calendar.h"

#include <limits>

#include <unicode/basictz.h>
#include <unicode/simpletz.h>
#include <unicode/tztrans.h>
#include <unicode/ucal.h>
#include <unicode/unistr.h>

namespace tessel {

namespace {

constexpr std::int64_t kMillisPerDay = 86'400'000;

// Instants are nanoseconds since 1970 in a signed 64-bit count, so only about 292 years either
// side are representable; anything outside is "no instant" rather than an overflow.
constexpr std::int64_t kMinMillis =
    std::numeric_limits<Instant::duration::rep>::min() / 1'000'000 + kMillisPerDay;
constexpr std::int64_t kMaxMillis =
    std::numeric_limits<Instant::duration::rep>::max() / 1'000'000 - kMillisPerDay;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

std::int64_t toMillis(Instant t) {
    using std::chrono::milliseconds;
    return std::chrono::floor<milliseconds>(t.time_since_epoch()).count();
}

Instant fromMillis(std::int64_t millis) {
    return Instant(std::chrono::milliseconds(millis));
}

// Proleptic Gregorian day numbers counted from 1970-01-01. Plain arithmetic keeps day keys cheap:
// no ICU calendar object is built for the hot paths (one key per review, one per stats record).
std::int64_t daysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = floorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

DateComponents civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = floorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
    DateComponents c;
    c.year = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
    c.month = static_cast<int>(m);
    c.day = static_cast<int>(d);
    return c;
}

bool isLeapYear(std::int64_t y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(std::int64_t year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

// The zone is created once per Calendar value and only ever used through const ICU calls
// (offset look-ups and transition queries), which keep no per-call state; copies of a Calendar
// share it across threads without locks.
struct Calendar::Zone {
    std::unique_ptr<const icu::BasicTimeZone> timeZone;
    std::string id;

    static std::shared_ptr<const Zone> make(icu::TimeZone* created) {
        auto zone = std::make_shared<Zone>();
        std::unique_ptr<icu::TimeZone> owned(created);
        icu::UnicodeString id(u"UTC");
        if (owned) owned->getID(id);
        if (auto* basic = dynamic_cast<icu::BasicTimeZone*>(owned.get())) {
            owned.release();
            zone->timeZone.reset(basic);
        } else {
            // Every zone ICU builds from its database or the host is a BasicTimeZone; anything
            // else keeps its fixed offset so that days still follow the wall clock.
            const std::int32_t raw = owned ? owned->getRawOffset() : 0;
            zone->timeZone = std::make_unique<icu::SimpleTimeZone>(raw, id);
        }
        id.toUTF8String(zone->id);
        return zone;
    }

    std::int64_t offsetMillis(std::int64_t utcMillis) const {
        std::int32_t raw = 0;
        std::int32_t dst = 0;
        UErrorCode status = U_ZERO_ERROR;
        timeZone->getOffset(static_cast<UDate>(utcMillis), false, raw, dst, status);
        return U_FAILURE(status) ? 0 : std::int64_t{raw} + dst;
    }

    std::int64_t localMillis(Instant t) const {
        const std::int64_t utc = toMillis(t);
        return utc + offsetMillis(utc);
    }

    std::int64_t localDay(Instant t) const { return floorDiv(localMillis(t), kMillisPerDay); }

    // The instant showing wall time `local`. A wall time that occurs twice resolves to its first
    // occurrence. One that a forward shift skips resolves, when `firstOfGap` is set, to the
    // shift itself (the first instant after the gap, which is how a day whose midnight is
    // skipped begins); otherwise it is read with the offset before the shift, so the wall time
    // moves forward by the size of the gap.
    std::optional<Instant> resolve(std::int64_t local, bool firstOfGap) const {
        if (local < kMinMillis || local > kMaxMillis) return std::nullopt;
        std::int32_t raw = 0;
        std::int32_t dst = 0;
        UErrorCode status = U_ZERO_ERROR;
        timeZone->getOffsetFromLocal(static_cast<UDate>(local), UCAL_TZ_LOCAL_FORMER,
                                     UCAL_TZ_LOCAL_FORMER, raw, dst, status);
        if (U_FAILURE(status)) return std::nullopt;
        std::int64_t utc = local - (std::int64_t{raw} + dst);
        if (firstOfGap && utc + offsetMillis(utc) != local) {
            icu::TimeZoneTransition transition;
            if (timeZone->getPreviousTransition(static_cast<UDate>(utc), true, transition)) {
                const auto shift = static_cast<std::int64_t>(transition.getTime());
                if (shift <= utc && shift > utc - kMillisPerDay) utc = shift;
            }
        }
        return fromMillis(utc);
    }
};

Calendar Calendar::current() {
    return Calendar(Zone::make(icu::TimeZone::createDefault()));
}

Calendar Calendar::withTimeZone(const std::string& zoneID) {
    icu::TimeZone* zone = icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(zoneID));
    icu::UnicodeString id;
    zone->getID(id);
    if (id == icu::UnicodeString(UCAL_UNKNOWN_ZONE_ID)) {
        delete zone;
        zone = icu::TimeZone::createTimeZone(icu::UnicodeString(u"UTC"));
    }
    return Calendar(Zone::make(zone));
}

std::string Calendar::timeZoneID() const {
    return m_zone->id;
}

DateComponents Calendar::components(Instant t) const {
    const std::int64_t local = m_zone->localMillis(t);
    const std::int64_t day = floorDiv(local, kMillisPerDay);
    const std::int64_t millisOfDay = local - day * kMillisPerDay;
    DateComponents c = civilFromDays(day);
    c.hour = static_cast<int>(millisOfDay / 3'600'000);
    c.minute = static_cast<int>(millisOfDay / 60'000 % 60);
    return c;
}

Instant Calendar::startOfDay(Instant t) const {
    return m_zone->resolve(m_zone->localDay(t) * kMillisPerDay, true).value_or(t);
}

std::optional<Instant> Calendar::date(int year, int month, int day) const {
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month)) return std::nullopt;
    return m_zone->resolve(daysFromCivil(year, month, day) * kMillisPerDay, true);
}

std::optional<Instant> Calendar::addingDays(std::int64_t days, Instant t) const {
    if (days == 0) return t;
    constexpr std::int64_t kMaxDays = kMaxMillis / kMillisPerDay;
    if (days > kMaxDays || days < -kMaxDays) return std::nullopt;
    const std::int64_t local = m_zone->localMillis(t);
    const std::int64_t subMillis = (t - fromMillis(toMillis(t))).count();
    auto moved = m_zone->resolve(local + days * kMillisPerDay, false);
    if (!moved) return std::nullopt;
    return *moved + Instant::duration(subMillis);
}

std::optional<std::int64_t> Calendar::daysBetween(Instant from, Instant to) const {
    return m_zone->localDay(to) - m_zone->localDay(from);
}

}  // namespace tessel
