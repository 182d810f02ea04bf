// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <numeric>

#include "CourseBuilder.h"

namespace tessel::compiler {
namespace {

// `count` entries already in rank order; the first `ranked` are ranked; every entry whose
// index is a multiple of `skipEvery` (when non-zero) is not eligible for the course.
RankedEntries synthetic(std::size_t count, std::size_t ranked, std::size_t skipEvery) {
    RankedEntries result;
    result.entries.resize(count);
    for (std::size_t i = 0; i < count; ++i) result.entries[i].id = "x-" + std::to_string(i);
    result.order.resize(count);
    std::iota(result.order.rbegin(), result.order.rend(), std::size_t{0});  // reversed on purpose
    result.rankedCount = ranked;
    result.courseEligible.assign(count, true);
    if (skipEvery != 0) {
        for (std::size_t position = 0; position < count; position += skipEvery) {
            result.courseEligible[result.order[position]] = false;
        }
    }
    return result;
}

const CompiledEntry& atRank(const RankedEntries& ranked, std::size_t rank) {
    return ranked.entries[ranked.order[rank - 1]];
}

TEST(CourseBuilderTest, RanksEveryEntryDistinctlyInOrder) {
    RankedEntries ranked = synthetic(30000, 26000, 0);
    ASSERT_TRUE(assignCourse(ranked, CoursePlan{}).has_value());
    for (std::size_t rank = 1; rank <= ranked.entries.size(); ++rank) {
        ASSERT_EQ(atRank(ranked, rank).frequencyRank, std::int32_t(rank));
    }
}

TEST(CourseBuilderTest, TakesTheBestEligibleRankedEntriesAndBandsThem) {
    RankedEntries ranked = synthetic(40000, 30000, 4);  // every 4th position is ineligible
    auto summary = assignCourse(ranked, CoursePlan{});
    ASSERT_TRUE(summary.has_value());
    EXPECT_EQ(summary->courseEntries, 20000u);
    EXPECT_EQ(summary->courseBandSizes,
              (std::array<std::size_t, 6>{500, 1000, 1500, 3000, 5000, 9000}));

    // Course position n (1-based) sits at rank n + ceil(n / 3): three eligible in every four.
    auto rankOfCoursePosition = [](std::int32_t n) { return n + (n + 2) / 3; };
    EXPECT_EQ(summary->bandThresholds,
              (std::array<std::int32_t, 5>{rankOfCoursePosition(500), rankOfCoursePosition(1500),
                                           rankOfCoursePosition(3000), rankOfCoursePosition(6000),
                                           rankOfCoursePosition(11000)}));
    struct Case {
        std::size_t rank;
        bool learnable;
        int level;
    };
    const Case cases[] =
        {
            {1, false, 1},     {2, true, 1},      {667, true, 1},   {668, true, 2},
            {669, false, 2},   {2000, true, 2},   {2001, false, 3}, {26667, true, 6},
            {26668, false, 6},  // past the 20,000th course entry nothing more is learnable
            {29999, false, 6}, {30001, false, 6},  // unranked
        };
    for (const Case& c : cases) {
        const CompiledEntry& entry = atRank(ranked, c.rank);
        EXPECT_EQ(entry.learnable, c.learnable) << "rank " << c.rank;
        EXPECT_EQ(entry.level, c.level) << "rank " << c.rank;
    }
}

TEST(CourseBuilderTest, NeverPutsUnrankedEntriesInTheCourse) {
    RankedEntries ranked = synthetic(30000, 15000, 0);
    auto summary = assignCourse(ranked, CoursePlan{});
    ASSERT_TRUE(summary.has_value());
    EXPECT_EQ(summary->courseEntries, 15000u);
    EXPECT_FALSE(atRank(ranked, 15001).learnable);
    EXPECT_EQ(atRank(ranked, 15001).level, 6);
}

TEST(CourseBuilderTest, RefusesACourseThatIsTooSmallOrARankingWithGaps) {
    RankedEntries tooFew = synthetic(30000, 11999, 0);
    EXPECT_FALSE(assignCourse(tooFew, CoursePlan{}).has_value());

    RankedEntries repeated = synthetic(100, 50, 0);
    repeated.order[1] = repeated.order[0];
    EXPECT_FALSE(assignCourse(repeated, CoursePlan{20, 10}).has_value());

    RankedEntries outOfRange = synthetic(100, 50, 0);
    outOfRange.order[5] = 100;
    EXPECT_FALSE(assignCourse(outOfRange, CoursePlan{20, 10}).has_value());
}

}  // namespace
}  // namespace tessel::compiler
