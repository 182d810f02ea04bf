// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Calendar.h"
#include "Result.h"

namespace tessel {

enum class ReviewRating { again, hard, good, easy };

inline constexpr std::array<ReviewRating, 4> kAllReviewRatings = {
    ReviewRating::again, ReviewRating::hard, ReviewRating::good, ReviewRating::easy};

// "again", "hard", "good", "easy".
std::string_view rawValue(ReviewRating rating);
// The case for an exact raw value, nothing for any other text ("Again", "perfect").
std::optional<ReviewRating> reviewRatingFromRawValue(std::string_view raw);
// Only `again` is a failure.
inline bool isCorrect(ReviewRating rating) {
    return rating != ReviewRating::again;
}

// The scheduling record of one item.
struct CardProgress {
    std::string itemID;
    double stabilityDays = 0;
    double difficulty = 0;
    std::int64_t intervalDays = 0;
    Instant dueDate{};
    std::optional<Instant> lastReviewedAt;
    std::optional<ReviewRating> lastRating;
    std::int64_t totalReviews = 0;
    std::int64_t correctReviews = 0;
    std::int64_t lapseCount = 0;
    std::int64_t consecutiveCorrect = 0;

    bool isNew() const { return totalReviews == 0; }
    // A card due exactly now is due. A negative review count (a hand-edited file) makes a card
    // neither new nor due.
    bool isDue(Instant at) const { return totalReviews >= 0 && dueDate <= at; }

    bool operator==(const CardProgress&) const = default;
};

struct AdaptiveSchedulerConfiguration {
    double initialDifficulty = 5.0;
    double minimumDifficulty = 1.0;
    double maximumDifficulty = 10.0;
    double minimumStabilityDays = 0.1;
    std::int64_t maximumIntervalDays = 365;
    double relearningDelaySeconds = 600.0;
    double firstHardIntervalDays = 1.0;
    double firstGoodIntervalDays = 2.0;
    double firstEasyIntervalDays = 5.0;

    // Sorted-key JSON object with one key per field.
    std::string encode() const;
    // All nine keys are required (`maximumIntervalDays` an integer, the others numbers); fails on
    // malformed JSON, a missing key or a wrong type. Values are stored as they stand.
    static Result<AdaptiveSchedulerConfiguration> decode(std::string_view json);

    bool operator==(const AdaptiveSchedulerConfiguration&) const = default;
};

// Turns a rating into a card's next record. Pure: no clock, no calendar, no state.
struct AdaptiveScheduler {
    AdaptiveSchedulerConfiguration configuration;

    // The record after reviewing `itemID` at `reviewedAt`; `current` is absent for a card never
    // reviewed. Out-of-range stored values are clamped; never fails.
    CardProgress schedule(const std::string& itemID, const std::optional<CardProgress>& current,
                          ReviewRating rating, Instant reviewedAt) const;

    bool operator==(const AdaptiveScheduler&) const = default;
};

}  // namespace tessel
