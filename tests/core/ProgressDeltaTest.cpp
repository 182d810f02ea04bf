// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgressDelta.h"

#include <random>

#include <gtest/gtest.h>

namespace tessel {
namespace {

const Instant kStart = instantFromSeconds(1'714'550'400);  // 2024-05-01T08:00:00Z

// Random ratings, completed sessions and undone cards and days on `progress`, each noted in
// `delta` by the entries it touched, as the application notes them.
void changeAtRandom(LearnerProgress& progress, ProgressDelta& delta, std::mt19937& random,
                    int steps) {
    const Calendar calendar = Calendar::withTimeZone("Asia/Tokyo");
    for (int step = 0; step < steps; ++step) {
        const Instant at = kStart + std::chrono::hours(random() % 200);
        const std::string key = StudyDay::key(at, calendar);
        const std::string id = "zh-" + std::to_string(random() % 30);
        const auto language =
            random() % 5 == 0 ? std::nullopt : std::optional(kAllLearningLanguages[random() % 2]);
        switch (random() % 4) {
            case 0:
            case 1: {
                CardProgress card;
                card.itemID = id;
                card.totalReviews = random() % 9;
                progress.recordReview(card, random() % 2, false, at, 3.5, calendar, language);
                delta.noteCard(progress, id);
                break;
            }
            case 2:
                progress.completeSession(at, calendar, language);
                break;
            default:
                // An undo: the card and the day's figures taken back.
                progress.cards.erase(id);
                delta.noteCard(progress, id);
                progress.dailyStats.erase(key);
                for (auto& [lang, map] : progress.dailyStatsByLanguage) map.erase(key);
                // A language map the rating created goes with it.
                std::erase_if(progress.dailyStatsByLanguage, [&](const auto& entry) {
                    return entry.second.empty() && random() % 2;
                });
                break;
        }
        delta.noteDay(progress, key);
    }
}

// A copy brought up to date by deltas stays equal to the progress they were noted from, also
// when deltas merge while a save is being written and when a whole progress overtakes them.
TEST(ProgressDelta, KeepsACopyEqualToTheProgress) {
    std::mt19937 random(5);
    for (int round = 0; round < 40; ++round) {
        LearnerProgress progress;
        changeAtRandom(progress, *std::make_unique<ProgressDelta>(), random, 10);
        LearnerProgress copy = progress;
        for (int save = 0; save < 6; ++save) {
            ProgressDelta waiting;
            changeAtRandom(progress, waiting, random, 1 + random() % 5);
            if (random() % 6 == 0) {
                progress.schemaVersion += 1;
                waiting.noteWhole(progress);
            }
            ProgressDelta newer;
            changeAtRandom(progress, newer, random, random() % 4);
            waiting.merge(std::move(newer));
            ASSERT_FALSE(waiting.empty());
            std::move(waiting).applyTo(copy);
            ASSERT_EQ(copy, progress) << "round " << round << ", save " << save;
        }
    }
}

}  // namespace
}  // namespace tessel
