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

LeechBoard::LeechBoard(const CourseView& course, const CourseCards& cards) {
    // A card is filed under the id of the first item it was found for, whatever its own
    // `itemID` says.
    cards.forEachCard([&](std::size_t position, const CardProgress& card) {
        if (isLeech(card)) m_leeches.emplace(-card.lapseCount, course.item(position).id);
    });
}

void LeechBoard::cardChanged(const std::string& itemID, const CardProgress* before,
                             const CardProgress* after, bool belongs) {
    if (!belongs) return;
    if (before && isLeech(*before)) m_leeches.erase({-before->lapseCount, itemID});
    if (after && isLeech(*after)) m_leeches.emplace(-after->lapseCount, itemID);
}

std::vector<CardProgress> LeechBoard::worst(const LearnerProgress& progress,
                                            std::size_t limit) const {
    std::vector<CardProgress> found;
    for (const auto& [lapses, id] : m_leeches) {
        if (found.size() == limit) break;
        found.push_back(progress.cards.at(id));
    }
    return found;
}

}  // namespace tessel
