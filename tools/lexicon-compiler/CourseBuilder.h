// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "CompiledEntry.h"
#include "Result.h"

namespace tessel::compiler {

// Usefulness bands: the first 500 course entries form band 1, the next 1,000 band 2, then
// 1,500, 3,000 and 5,000 for bands 3 to 5; band 6 holds the rest of the course (9,000 when the
// course is full). Small early bands give a beginner a reachable first goal.
inline constexpr std::array<std::size_t, 5> kBandSizes = {500, 1000, 1500, 3000, 5000};
inline constexpr int kLastBand = 6;

struct CoursePlan {
    std::size_t courseSize = 20000;     // entries taken when enough are eligible
    std::size_t minimumCourse = 12000;  // fewer eligible ranked entries than this fails
};

struct CourseSummary {
    std::size_t referenceEntries = 0;
    std::size_t rankedEntries = 0;
    std::size_t courseEntries = 0;
    // Entries per band, course only, index 0 = band 1.
    std::array<std::size_t, kLastBand> courseBandSizes{};
    // The frequency rank of the last course entry of bands 1 to 5: an entry of any kind with a
    // rank at or below threshold b (and above threshold b-1) is in band b; beyond the last, 6.
    std::array<std::int32_t, kLastBand - 1> bandThresholds{};
};

// Gives every entry its frequency rank (1, 2, 3, ... in `order`, distinct), the course flag
// (the first `plan.courseSize` course-eligible ranked entries) and a level from 1 to 6 (course
// entries by their place in the course, the others by their rank against the thresholds).
// Fails when fewer than `plan.minimumCourse` entries qualify or `order` is not a permutation.
Result<CourseSummary> assignCourse(RankedEntries& ranked, const CoursePlan& plan);

}  // namespace tessel::compiler
