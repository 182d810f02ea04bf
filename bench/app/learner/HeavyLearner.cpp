// SPDX-License-Identifier: GPL-3.0-or-later
#include "HeavyLearner.h"

#include <algorithm>
#include <chrono>
#include <cstdint>

namespace tessel::bench {

namespace {

constexpr int kYears = 4;

// A well-mixed number for `i` (SplitMix64), so the figures look unrelated from card to card.
std::uint64_t mixed(std::uint64_t i) {
    std::uint64_t z = i + 0x9e3779b97f4a7c15ULL;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

CardProgress cardFor(const std::string& id, std::size_t i, Instant now) {
    const std::uint64_t r = mixed(i);
    CardProgress card;
    card.itemID = id;
    // One in forty has been started without a review yet.
    if (r % 40 == 0) {
        card.dueDate = now;
        return card;
    }
    card.totalReviews = 1 + static_cast<std::int64_t>((r >> 8) % 40);
    card.correctReviews =
        card.totalReviews - static_cast<std::int64_t>((r >> 16) % 4) % card.totalReviews;
    card.lapseCount = card.totalReviews - card.correctReviews;
    card.consecutiveCorrect = std::min<std::int64_t>(card.correctReviews, 1 + (r >> 20) % 9);
    card.stabilityDays = 0.5 + static_cast<double>((r >> 24) % 6000) / 20.0;
    card.difficulty = 1.0 + static_cast<double>((r >> 36) % 900) / 100.0;
    card.intervalDays = 1 + static_cast<std::int64_t>((r >> 44) % 365);
    const auto hours = [](std::uint64_t n) {
        return std::chrono::hours(static_cast<std::int64_t>(n));
    };
    card.dueDate = (r >> 52) % 12 == 0 ? now - hours(1 + (r >> 12) % 2000)
                                       : now + hours(1 + (r >> 12) % (24 * 365));
    card.lastReviewedAt = now - hours(24 + (r >> 28) % (24 * 365 * kYears));
    card.lastRating = kAllReviewRatings[(r >> 60) % 4];
    return card;
}

}  // namespace

LearnerProgress heavyLearner(const std::vector<std::string>& ids, std::size_t cardCount,
                             Instant now, const Calendar& calendar) {
    LearnerProgress progress;
    const std::size_t n = std::min(cardCount, ids.size());
    for (std::size_t i = 0; i < n; ++i) progress.cards.emplace(ids[i], cardFor(ids[i], i, now));

    for (int day = 1; day <= 365 * kYears; ++day) {
        if (mixed(static_cast<std::uint64_t>(day) + 1'000'000'000ULL) % 9 == 0 && day > 400)
            continue;
        const auto date = calendar.addingDays(-day, now);
        if (!date) continue;
        const std::string key = StudyDay::key(*date, calendar);
        const auto r = static_cast<std::int64_t>(mixed(static_cast<std::uint64_t>(day)) % 1000);
        const DailyStudyStats chinese{key,    40 + r % 60, 30 + r % 30,
                                      r % 15, 1 + r % 3,   900.5 + static_cast<double>(r)};
        const DailyStudyStats japanese{key,    20 + r % 40, 15 + r % 20,
                                       r % 10, r % 2,       420.25 + static_cast<double>(r)};
        progress.dailyStatsByLanguage[LearningLanguage::chinese][key] = chinese;
        progress.dailyStatsByLanguage[LearningLanguage::japanese][key] = japanese;
        progress.dailyStats[key] = LearnerProgress::combined(key, &chinese, &japanese);
    }
    return progress;
}

}  // namespace tessel::bench
