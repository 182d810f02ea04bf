// SPDX-License-Identifier: GPL-3.0-or-later
#include "CourseBuilder.h"

#include <limits>
#include <vector>

namespace tessel::compiler {

Result<CourseSummary> assignCourse(RankedEntries& ranked, const CoursePlan& plan) {
    auto& entries = ranked.entries;
    if (ranked.order.size() != entries.size() || ranked.courseEligible.size() != entries.size() ||
        ranked.rankedCount > entries.size()) {
        return fail("the ranking does not cover every entry exactly once");
    }
    if (entries.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        return fail("too many entries for 32-bit ranks");
    }
    std::vector<bool> placed(entries.size(), false);
    for (std::size_t index : ranked.order) {
        if (index >= entries.size() || placed[index]) {
            return fail("the ranking does not cover every entry exactly once");
        }
        placed[index] = true;
    }

    CourseSummary summary;
    summary.referenceEntries = entries.size();
    summary.rankedEntries = ranked.rankedCount;

    std::array<std::size_t, kLastBand - 1> bandEnds{};
    std::size_t end = 0;
    for (std::size_t b = 0; b < kBandSizes.size(); ++b) bandEnds[b] = end += kBandSizes[b];

    summary.bandThresholds.fill(std::numeric_limits<std::int32_t>::max());
    std::size_t courseCount = 0;
    for (std::size_t position = 0; position < ranked.order.size(); ++position) {
        CompiledEntry& entry = entries[ranked.order[position]];
        entry.frequencyRank = static_cast<std::int32_t>(position + 1);
        entry.learnable = position < ranked.rankedCount &&
                          ranked.courseEligible[ranked.order[position]] &&
                          courseCount < plan.courseSize;
        if (!entry.learnable) continue;
        std::size_t band = 0;
        while (band < bandEnds.size() && courseCount >= bandEnds[band]) ++band;
        entry.level = static_cast<std::int32_t>(band + 1);
        ++summary.courseBandSizes[band];
        ++courseCount;
        if (band < bandEnds.size() && courseCount == bandEnds[band]) {
            summary.bandThresholds[band] = entry.frequencyRank;
        }
    }
    summary.courseEntries = courseCount;
    if (courseCount < plan.minimumCourse) {
        return fail("only " + std::to_string(courseCount) +
                    " entries qualify for the course; at least " +
                    std::to_string(plan.minimumCourse) + " are needed");
    }

    for (CompiledEntry& entry : entries) {
        if (entry.learnable) continue;
        int level = kLastBand;
        for (std::size_t b = 0; b < summary.bandThresholds.size(); ++b) {
            if (entry.frequencyRank <= summary.bandThresholds[b]) {
                level = static_cast<int>(b + 1);
                break;
            }
        }
        entry.level = level;
    }
    return summary;
}

}  // namespace tessel::compiler
