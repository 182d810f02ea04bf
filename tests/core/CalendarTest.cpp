// SPDX-License-Identifier: GPL-3.0-or-later
#include "Calendar.h"

#include <cctype>
#include <ctime>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "TestInstants.h"
#include <unicode/basictz.h>
#include <unicode/gregocal.h>
#include <unicode/tztrans.h>

namespace tessel {
namespace {

using std::chrono::hours;
using std::chrono::milliseconds;
using std::chrono::minutes;

using testing_support::utc;

// ICU's own calendar, built fresh for every question, is the reference our offset arithmetic
// must agree with.
class Reference {
  public:
    explicit Reference(const std::string& zone) {
        UErrorCode status = U_ZERO_ERROR;
        m_calendar = std::make_unique<icu::GregorianCalendar>(
            icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(zone)), status);
        m_calendar->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
    }
    DateComponents components(Instant t) {
        set(t);
        UErrorCode s = U_ZERO_ERROR;
        return {m_calendar->get(UCAL_YEAR, s), m_calendar->get(UCAL_MONTH, s) + 1,
                m_calendar->get(UCAL_DATE, s), m_calendar->get(UCAL_HOUR_OF_DAY, s),
                m_calendar->get(UCAL_MINUTE, s)};
    }
    Instant startOfDay(Instant t) {
        const DateComponents c = components(t);
        m_calendar->setSkippedWallTimeOption(UCAL_WALLTIME_NEXT_VALID);
        m_calendar->clear();
        m_calendar->set(c.year, c.month - 1, c.day, 0, 0, 0);
        return get();
    }
    Instant addingDays(int days, Instant t) {
        const DateComponents c = components(t);
        UErrorCode s = U_ZERO_ERROR;
        const int second = m_calendar->get(UCAL_SECOND, s);
        const int milli = m_calendar->get(UCAL_MILLISECOND, s);
        m_calendar->setSkippedWallTimeOption(UCAL_WALLTIME_LAST);
        m_calendar->clear();
        m_calendar->set(c.year, c.month - 1, c.day + days, c.hour, c.minute, second);
        m_calendar->set(UCAL_MILLISECOND, milli);
        return get();
    }

  private:
    void set(Instant t) {
        UErrorCode s = U_ZERO_ERROR;
        m_calendar->setTime(
            static_cast<UDate>(std::chrono::floor<milliseconds>(t.time_since_epoch()).count()), s);
    }
    Instant get() {
        UErrorCode s = U_ZERO_ERROR;
        return Instant(milliseconds(static_cast<std::int64_t>(m_calendar->getTime(s))));
    }
    std::unique_ptr<icu::GregorianCalendar> m_calendar;
};

// Zones with every kind of shift: an hour at 2 a.m., half an hour (Lord Howe), a skipped
// midnight (Santiago, Beirut, Sao Paulo, Havana in March), a repeated midnight (Havana in
// November), a date-line jump (Apia, end of 2011) and no shift at all.
const char* const kZones[] = {"America/New_York", "Australia/Lord_Howe", "America/Santiago",
                              "Asia/Beirut",      "America/Sao_Paulo",   "America/Havana",
                              "Pacific/Apia",     "Asia/Kolkata",        "UTC"};

class CalendarAgreesWithIcu : public testing::TestWithParam<const char*> {};

TEST_P(CalendarAgreesWithIcu, AroundEveryShiftAndAcrossYears) {
    const Calendar calendar = Calendar::withTimeZone(GetParam());
    Reference reference(GetParam());

    std::vector<Instant> samples;
    for (Instant t = utc(2011, 1, 1); t < utc(2020, 1, 1); t += hours(31) + minutes(7)) {
        samples.push_back(t);
    }
    std::unique_ptr<icu::TimeZone> zone(
        icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(GetParam())));
    auto* basic = dynamic_cast<icu::BasicTimeZone*>(zone.get());
    ASSERT_NE(basic, nullptr);
    icu::TimeZoneTransition transition;
    UDate base = 1.29e12;  // 2010
    while (basic->getNextTransition(base, false, transition) && transition.getTime() < 1.58e12) {
        base = transition.getTime();
        const Instant shift(milliseconds(static_cast<std::int64_t>(base)));
        const milliseconds deltas[] = {
            -hours(25),      -hours(23) - minutes(30), -minutes(61), -milliseconds(1),
            milliseconds(0), milliseconds(1),          minutes(30),  hours(1),
            hours(23)};
        for (const milliseconds delta : deltas) {
            samples.push_back(shift + delta);
        }
    }

    for (const Instant t : samples) {
        const auto at = std::chrono::system_clock::to_time_t(t);
        SCOPED_TRACE(testing::Message() << GetParam() << " at " << at);
        ASSERT_EQ(calendar.components(t), reference.components(t));
        const Instant start = calendar.startOfDay(t);
        ASSERT_EQ(start, reference.startOfDay(t));
        // The start belongs to the same day and the instant before it to an earlier day (two
        // days earlier after Apia's skipped 30 December 2011).
        ASSERT_EQ(calendar.daysBetween(start, t), 0);
        ASSERT_GE(calendar.daysBetween(start - milliseconds(1), t), 1);
        for (int days : {-1, 1, 30}) {
            ASSERT_EQ(calendar.addingDays(days, t), reference.addingDays(days, t)) << days;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Zones, CalendarAgreesWithIcu, testing::ValuesIn(kZones),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             for (char& ch : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             }
                             return name;
                         });

struct DayShape {
    const char* zone;
    int year, month, day;
    Instant expectedStart;
    std::chrono::minutes expectedLength;
};

class CalendarDayShape : public testing::TestWithParam<DayShape> {};

TEST_P(CalendarDayShape, StartAndLengthOfShiftDays) {
    const DayShape& c = GetParam();
    const Calendar calendar = Calendar::withTimeZone(c.zone);
    const auto start = calendar.date(c.year, c.month, c.day);
    auto next = calendar.date(c.year, c.month, c.day + 1);
    if (!next) next = calendar.date(c.year, c.month + 1, 1);
    ASSERT_TRUE(start && next);
    EXPECT_EQ(*start, c.expectedStart);
    EXPECT_EQ(std::chrono::duration_cast<minutes>(*next - *start), c.expectedLength);
    EXPECT_EQ(calendar.startOfDay(*start + hours(12)), *start);
    EXPECT_EQ(calendar.daysBetween(*start, *next), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Zones, CalendarDayShape,
    testing::Values(
        DayShape{"America/New_York", 2024, 3, 10, utc(2024, 3, 10, 5), hours(23)},
        DayShape{"America/New_York", 2024, 11, 3, utc(2024, 11, 3, 4), hours(25)},
        DayShape{"Australia/Lord_Howe", 2024, 4, 7, utc(2024, 4, 6, 13), hours(24) + minutes(30)},
        DayShape{"Australia/Lord_Howe", 2024, 10, 6, utc(2024, 10, 5, 13, 30),
                 hours(23) + minutes(30)},
        // Clocks jump from 00:00 to 01:00: the day begins at 01:00.
        DayShape{"America/Santiago", 2019, 9, 8, utc(2019, 9, 8, 4), hours(23)},
        DayShape{"Asia/Beirut", 2018, 3, 25, utc(2018, 3, 24, 22), hours(23)},
        DayShape{"America/Sao_Paulo", 2018, 11, 4, utc(2018, 11, 4, 3), hours(23)},
        // Clocks jumped from 23:30 to 00:30: the day began half an hour after midnight.
        DayShape{"America/Toronto", 1919, 3, 31, utc(1919, 3, 31, 4, 30), hours(23) + minutes(30)},
        // Clocks fall back from 01:00 to 00:00: the day begins at the first midnight.
        DayShape{"America/Havana", 2019, 11, 3, utc(2019, 11, 3, 4), hours(25)}),
    [](const testing::TestParamInfo<DayShape>& info) {
        std::string name =
            info.param.zone +
            std::to_string(info.param.year * 10000 + info.param.month * 100 + info.param.day);
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        }
        return name;
    });

TEST(Calendar, DatesThatDoNotExistOrCannotBeHeldGiveNothing) {
    const Calendar calendar = Calendar::withTimeZone("Europe/Paris");
    struct Case {
        int year, month, day;
        bool exists;
    } cases[] = {{2024, 2, 29, true},  {2023, 2, 29, false}, {2000, 2, 29, true},
                 {1900, 2, 29, false}, {2024, 13, 1, false}, {2024, 0, 1, false},
                 {2024, 4, 31, false}, {2024, 1, 0, false},  {9999, 12, 31, false},
                 {1500, 1, 1, false},  {2200, 1, 1, true}};
    for (const Case& c : cases) {
        EXPECT_EQ(calendar.date(c.year, c.month, c.day).has_value(), c.exists)
            << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(Calendar, UnknownZoneFallsBackToUtc) {
    const Calendar calendar = Calendar::withTimeZone("Mars/Olympus_Mons");
    EXPECT_EQ(calendar.timeZoneID(), "UTC");
    EXPECT_EQ(calendar.startOfDay(utc(2024, 5, 1, 23, 59)), utc(2024, 5, 1));
    EXPECT_EQ(Calendar::withTimeZone("Asia/Tokyo").timeZoneID(), "Asia/Tokyo");
    EXPECT_FALSE(Calendar::current().timeZoneID().empty());
    EXPECT_FALSE(calendar.addingDays(std::int64_t{1} << 40, utc(2024, 1, 1)).has_value());
}

}  // namespace
}  // namespace tessel
