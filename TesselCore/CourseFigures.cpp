// SPDX-License-Identifier: GPL-3.0-or-later
#include "CourseFigures.h"

#include "Saturating.h"

namespace tessel {

namespace {

constexpr double kStableDays = 21.0;

// Counts up to 2^40 cannot make a sum of fewer than 2^23 cards saturate, so the sums are exact
// and a card's share can be taken out again.
bool isPlain(const CardProgress& card) {
    constexpr std::int64_t kLargest = std::int64_t{1} << 40;
    return card.totalReviews >= 0 && card.totalReviews <= kLargest && card.correctReviews >= 0 &&
           card.correctReviews <= kLargest;
}

}  // namespace

CourseFigures CourseFigures::of(const CourseCards& cards) {
    CourseFigures figures;
    std::size_t counted = 0;
    cards.forEachCard([&](std::size_t, const CardProgress& card) {
        ++counted;
        if (card.correctReviews >= 1) ++figures.learned;
        if (card.stabilityDays >= kStableDays) ++figures.stable;
        figures.answers = saturatingAdd(figures.answers, card.totalReviews);
        figures.correct = saturatingAdd(figures.correct, card.correctReviews);
        if (!isPlain(card)) figures.exact = false;
    });
    if (counted >= (std::size_t{1} << 23)) figures.exact = false;
    return figures;
}

bool CourseFigures::update(const CourseView& course, const std::string& itemID,
                           const CardProgress* before, const CardProgress* after) {
    if (!course.find(itemID)) return true;
    if (!exact || (before && !isPlain(*before)) || (after && !isPlain(*after))) {
        exact = false;
        return false;
    }
    for (const auto& [card, sign] : {std::pair{before, -1}, std::pair{after, 1}}) {
        if (!card) continue;
        if (card->correctReviews >= 1) learned += sign;
        if (card->stabilityDays >= kStableDays) stable += sign;
        answers += sign * card->totalReviews;
        correct += sign * card->correctReviews;
    }
    return true;
}

}  // namespace tessel
