// SPDX-License-Identifier: GPL-3.0-or-later
#include "Leech.h"

#include <algorithm>

namespace tessel {

std::vector<CardProgress> worstLeeches(const LearnerProgress& progress,
                                       const std::function<bool(const std::string&)>& belongs,
                                       std::size_t limit) {
    std::vector<CardProgress> found;
    for (const auto& [id, card] : progress.cards) {
        if (isLeech(card) && belongs(id)) found.push_back(card);
    }
    // The map is ordered by id, so a stable sort on lapses alone leaves ties by id.
    std::stable_sort(found.begin(), found.end(), [](const CardProgress& a, const CardProgress& b) {
        return a.lapseCount > b.lapseCount;
    });
    if (found.size() > limit) found.resize(limit);
    return found;
}

}  // namespace tessel
