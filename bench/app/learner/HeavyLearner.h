// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A generated learner who has studied for years: the progress the benchmarks of a heavy learner
// time, and the file scripts hand to the real application.

#include <cstddef>
#include <string>
#include <vector>

#include "Calendar.h"
#include "Progress.h"

namespace tessel::bench {

// `cardCount` cards (the first ids of `ids`; fewer when it holds fewer) reviewed over the four
// years before `now`: most cards seen many times, about one in twelve due at `now`, a few
// started but never reviewed; and daily figures for every day of those years but one in
// nine, up to yesterday, in both languages. Deterministic for the same arguments.
LearnerProgress heavyLearner(const std::vector<std::string>& ids, std::size_t cardCount,
                             Instant now, const Calendar& calendar);

}  // namespace tessel::bench
