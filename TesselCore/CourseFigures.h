// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Kept up to date card by card because recounting a heavy learner's cards after every rating
// costs more than the whole rating may (a learner with 100,000 cards: dashboard statistics within
// 2 ms, bench/app/learner). `of` is the definition; tests/core/CourseFiguresTest.cpp holds
// `update` to it.

#include <cstdint>
#include <string>

#include "Progress.h"
#include "SessionSelection.h"

namespace tessel {

// The dashboard's figures over the learner's cards of one course: cards of other languages and
// of items no longer in the course stay out.
struct CourseFigures {
    std::int64_t learned = 0;  // cards answered right at least once
    std::int64_t stable = 0;   // cards whose memory lasts three weeks or more
    std::int64_t answers = 0;
    std::int64_t correct = 0;
    // False when some card's counts are so large or negative (a hand-edited file) that the sums
    // may have saturated: then only `of` can give the figures.
    bool exact = true;

    // The figures over the learner's cards of the course (sums saturate rather than overflow).
    static CourseFigures of(const CourseCards& cards);

    // Moves the figures from before the card stored under `itemID` changed to after: `before` or
    // `after` is null where there was or is no card. False, leaving the figures unusable, when
    // this cannot be done exactly; recompute them with `of`.
    [[nodiscard]] bool update(const CourseView& course, const std::string& itemID,
                              const CardProgress* before, const CardProgress* after);

    bool operator==(const CourseFigures&) const = default;
};

}  // namespace tessel
