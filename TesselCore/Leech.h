// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "AdaptiveScheduler.h"
#include "Progress.h"

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

}  // namespace tessel
