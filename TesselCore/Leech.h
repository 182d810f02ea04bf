// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "AdaptiveScheduler.h"
#include "Progress.h"
#include "SessionSelection.h"

namespace tessel {

// A card that has lapsed this often keeps slipping: a leech. Computed, never stored.
inline constexpr std::int64_t kLeechLapseCount = 8;

inline bool isLeech(const CardProgress& card) {
    return card.lapseCount >= kLeechLapseCount;
}

// Up to `limit` leeches among the cards whose id `belongs` accepts, most lapses first, ties by
// id; empty when there are none.
std::vector<CardProgress> worstLeeches(const LearnerProgress& progress,
                                       const std::function<bool(const std::string&)>& belongs,
                                       std::size_t limit);

// The leeches among the learner's cards of a course, found once from the cards already found in
// the course and then kept up to date card by card: looking through a heavy learner's cards after
// every rating costs more than the rating may (a learner with 100,000 cards: dashboard statistics
// within 2 ms, bench/app/learner). worstLeeches, with `belongs` accepting the course's ids, is the
// definition; tests/core/CourseFiguresTest.cpp holds this to it.
class LeechBoard {
  public:
    LeechBoard(const CourseView& course, const CourseCards& cards);
    // After the card stored under `itemID` changed: `before` or `after` is null where there was
    // or is no card; `belongs` tells whether the course holds `itemID`.
    void cardChanged(const std::string& itemID, const CardProgress* before,
                     const CardProgress* after, bool belongs);
    // As worstLeeches over `progress`.
    // REQUIRES: every change of `progress` since construction went through cardChanged.
    std::vector<CardProgress> worst(const LearnerProgress& progress, std::size_t limit) const;

  private:
    // Most lapses first (negated), ties by id.
    std::set<std::pair<std::int64_t, std::string>> m_leeches;
};

}  // namespace tessel
