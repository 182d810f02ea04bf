// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>

#include "Calendar.h"

namespace tessel::testing_support {

// The instant of a UTC wall-clock time, for tables of test cases.
inline Instant utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_sec = s;
    return std::chrono::system_clock::from_time_t(timegm(&tm));
}

}  // namespace tessel::testing_support
