// SPDX-License-Identifier: GPL-3.0-or-later
#include "CourseFigures.h"
#include "Leech.h"

#include <limits>
#include <random>

#include <gtest/gtest.h>

namespace tessel {
namespace {

// Figures and leeches moved card by card agree with a fresh count after every change, cards
// outside the course, an id the course holds twice and cards filed under another id included; a
// card whose counts could saturate the sums asks for a fresh count.
TEST(CourseFigures, KeptUpToDateAgreesWithAFreshCount) {
    std::vector<VocabularyItem> items(40);
    for (std::size_t i = 0; i < items.size(); ++i) items[i].id = "w" + std::to_string(i % 37);
    const CourseView course(items);
    const auto fresh = [&](const LearnerProgress& p) {
        return CourseFigures::of(CourseCards(course, p));
    };
    std::mt19937 random(17);
    LearnerProgress progress;
    CourseFigures kept = fresh(progress);
    const auto belongs = [&](const std::string& id) { return course.find(id).has_value(); };
    LeechBoard leeches(course, CourseCards(course, progress));
    for (int step = 0; step < 500; ++step) {
        const std::string id = (random() % 4 == 0 ? "x" : "w") + std::to_string(random() % 50);
        const auto before = progress.card(id);
        if (random() % 5 == 0) {
            progress.cards.erase(id);
        } else {
            CardProgress& card = progress.cards[id];
            card.itemID = random() % 7 == 0 ? "filed elsewhere" : id;
            card.totalReviews = random() % 30;
            card.correctReviews = random() % (card.totalReviews + 1);
            card.stabilityDays = static_cast<double>(random() % 40);
            card.lapseCount = random() % 12;
        }
        const auto after = progress.cards.find(id);
        ASSERT_TRUE(kept.update(course, id, before ? &*before : nullptr,
                                after == progress.cards.end() ? nullptr : &after->second));
        ASSERT_EQ(kept, fresh(progress)) << "step " << step;
        leeches.cardChanged(id, before ? &*before : nullptr,
                            after == progress.cards.end() ? nullptr : &after->second, belongs(id));
        ASSERT_EQ(leeches.worst(progress, 6), worstLeeches(progress, belongs, 6))
            << "step " << step;
        // Found afresh from the course's cards, the board agrees as well.
        if (step % 50 == 0) {
            ASSERT_EQ(LeechBoard(course, CourseCards(course, progress)).worst(progress, 6),
                      worstLeeches(progress, belongs, 6));
        }
    }

    CardProgress huge;
    huge.totalReviews = std::numeric_limits<std::int64_t>::max();
    const auto plain = progress.card("w1");
    EXPECT_FALSE(kept.update(course, "w1", plain ? &*plain : nullptr, &huge));
    progress.cards["w1"] = huge;
    EXPECT_FALSE(fresh(progress).exact);
}

}  // namespace
}  // namespace tessel
