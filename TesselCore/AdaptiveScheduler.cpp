// SPDX-License-Identifier: GPL-3.0-or-later
#include "AdaptiveScheduler.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <nlohmann/json.hpp>

#include "Saturating.h"

namespace tessel {

namespace {

constexpr double kSecondsPerDay = 86'400.0;
constexpr double kMaximumOverdueRatio = 3.0;

struct RatingRule {
    double difficultyChange;
    double baseGrowth;
    double easeGrowth;
    double overdueGrowth;
};

RatingRule ruleFor(ReviewRating rating) {
    switch (rating) {
        case ReviewRating::again:
            return {1.0, 0.35, 0.0, 0.0};
        case ReviewRating::hard:
            return {0.25, 1.2, 0.25, 0.05};
        case ReviewRating::good:
            return {-0.15, 1.65, 0.55, 0.12};
        case ReviewRating::easy:
            return {-0.5, 2.35, 0.9, 0.18};
    }
    return {0.0, 1.0, 0.0, 0.0};
}

// Raise to `low` first, then lower to `high`, so a configuration whose bounds cross still gives
// the same answer as the documented order of operations.
double clampLowThenHigh(double value, double low, double high) {
    return std::min(std::max(value, low), high);
}

// Only a hand-made configuration can ask for offsets beyond a couple of centuries; keep them
// inside what an instant can hold instead of overflowing.
constexpr double kLongestOffsetSeconds = 200.0 * 366.0 * kSecondsPerDay;

Instant offsetBySeconds(Instant t, double seconds) {
    if (!std::isfinite(seconds)) seconds = seconds > 0 ? kLongestOffsetSeconds : 0.0;
    seconds = std::clamp(seconds, -kLongestOffsetSeconds, kLongestOffsetSeconds);
    return t +
           std::chrono::duration_cast<Instant::duration>(std::chrono::duration<double>(seconds));
}

const char* const kConfigurationKeys[] = {
    "initialDifficulty",     "minimumDifficulty",     "maximumDifficulty",
    "minimumStabilityDays",  "maximumIntervalDays",   "relearningDelaySeconds",
    "firstHardIntervalDays", "firstGoodIntervalDays", "firstEasyIntervalDays"};

std::string missing(const std::string& key) {
    return "The data couldn’t be read because it is missing: " + key;
}
std::string wrongType(const std::string& key) {
    return "The data couldn’t be read because it isn’t in the correct format: " + key;
}

}  // namespace

std::string_view rawValue(ReviewRating rating) {
    switch (rating) {
        case ReviewRating::again:
            return "again";
        case ReviewRating::hard:
            return "hard";
        case ReviewRating::good:
            return "good";
        case ReviewRating::easy:
            return "easy";
    }
    return "again";
}

std::optional<ReviewRating> reviewRatingFromRawValue(std::string_view raw) {
    for (ReviewRating rating : kAllReviewRatings) {
        if (rawValue(rating) == raw) return rating;
    }
    return std::nullopt;
}

CardProgress AdaptiveScheduler::schedule(const std::string& itemID,
                                         const std::optional<CardProgress>& current,
                                         ReviewRating rating, Instant reviewedAt) const {
    const AdaptiveSchedulerConfiguration& c = configuration;
    const auto maximumInterval = static_cast<double>(c.maximumIntervalDays);

    CardProgress card;
    if (current) {
        card = *current;
    } else {
        card.stabilityDays = c.minimumStabilityDays;
        card.difficulty = c.initialDifficulty;
        card.dueDate = reviewedAt;
    }
    card.itemID = itemID;
    const bool firstReview = card.totalReviews == 0;

    // Stored values may come from an edited file; never trust them unclamped.
    const double d = clampLowThenHigh(card.difficulty, c.minimumDifficulty, c.maximumDifficulty);
    const double s = clampLowThenHigh(card.stabilityDays, c.minimumStabilityDays, maximumInterval);

    double overdue = 0.0;
    if (card.lastReviewedAt) {
        // In seconds, not instants: two instants centuries apart differ by more nanoseconds
        // than 64 bits hold.
        const double elapsedDays =
            (secondsSinceEpoch(reviewedAt) - secondsSinceEpoch(*card.lastReviewedAt)) /
            kSecondsPerDay;
        // A review stamped before the previous one (clock changes, edited files) counts as no
        // elapsed time rather than shrinking the card.
        if (elapsedDays >= 0) {
            overdue =
                std::min(elapsedDays / std::max(s, c.minimumStabilityDays), kMaximumOverdueRatio);
        }
    }

    const double range = c.maximumDifficulty - c.minimumDifficulty;
    const double ease = std::clamp((c.maximumDifficulty - d) / std::max(range, 1.0), 0.0, 1.0);

    const RatingRule rule = ruleFor(rating);
    double newStability = 0.0;
    if (firstReview) {
        switch (rating) {
            case ReviewRating::again:
                newStability = c.minimumStabilityDays;
                break;
            case ReviewRating::hard:
                newStability = c.firstHardIntervalDays;
                break;
            case ReviewRating::good:
                newStability = c.firstGoodIntervalDays;
                break;
            case ReviewRating::easy:
                newStability = c.firstEasyIntervalDays;
                break;
        }
    } else {
        newStability =
            s * (rule.baseGrowth + rule.easeGrowth * ease + rule.overdueGrowth * overdue);
    }
    newStability = clampLowThenHigh(newStability, c.minimumStabilityDays, maximumInterval);

    card.stabilityDays = newStability;
    card.difficulty =
        clampLowThenHigh(d + rule.difficultyChange, c.minimumDifficulty, c.maximumDifficulty);

    card.totalReviews = saturatingAdd(card.totalReviews, 1);
    if (isCorrect(rating)) {
        card.correctReviews = saturatingAdd(card.correctReviews, 1);
        card.consecutiveCorrect = saturatingAdd(card.consecutiveCorrect, 1);
    } else {
        card.lapseCount = saturatingAdd(card.lapseCount, 1);
        card.consecutiveCorrect = 0;
    }
    card.lastReviewedAt = reviewedAt;
    card.lastRating = rating;

    if (!isCorrect(rating)) {
        card.intervalDays = 0;
        card.dueDate = offsetBySeconds(reviewedAt, c.relearningDelaySeconds);
    } else {
        double days = std::min(std::max(std::round(newStability), 1.0), maximumInterval);
        days = std::min(days, kLongestOffsetSeconds / kSecondsPerDay);
        card.intervalDays = static_cast<std::int64_t>(days);
        card.dueDate =
            offsetBySeconds(reviewedAt, static_cast<double>(card.intervalDays) * kSecondsPerDay);
    }
    return card;
}

std::string AdaptiveSchedulerConfiguration::encode() const {
    nlohmann::json j = {{"initialDifficulty", initialDifficulty},
                        {"minimumDifficulty", minimumDifficulty},
                        {"maximumDifficulty", maximumDifficulty},
                        {"minimumStabilityDays", minimumStabilityDays},
                        {"maximumIntervalDays", maximumIntervalDays},
                        {"relearningDelaySeconds", relearningDelaySeconds},
                        {"firstHardIntervalDays", firstHardIntervalDays},
                        {"firstGoodIntervalDays", firstGoodIntervalDays},
                        {"firstEasyIntervalDays", firstEasyIntervalDays}};
    return j.dump();
}

Result<AdaptiveSchedulerConfiguration> AdaptiveSchedulerConfiguration::decode(
    std::string_view json) {
    const auto j = nlohmann::json::parse(json, nullptr, false);
    if (j.is_discarded() || !j.is_object()) {
        return fail("The data couldn’t be read because it isn’t in the correct format.");
    }
    for (const char* key : kConfigurationKeys) {
        const auto it = j.find(key);
        if (it == j.end() || it->is_null()) return fail(missing(key));
        const bool integerKey = std::string_view(key) == "maximumIntervalDays";
        const bool fitsInt64 =
            it->is_number_integer() &&
            (!it->is_number_unsigned() ||
             it->get<std::uint64_t>() <=
                 static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()));
        if (integerKey ? !fitsInt64 : !it->is_number()) return fail(wrongType(key));
    }
    AdaptiveSchedulerConfiguration c;
    c.initialDifficulty = j["initialDifficulty"].get<double>();
    c.minimumDifficulty = j["minimumDifficulty"].get<double>();
    c.maximumDifficulty = j["maximumDifficulty"].get<double>();
    c.minimumStabilityDays = j["minimumStabilityDays"].get<double>();
    c.maximumIntervalDays = j["maximumIntervalDays"].get<std::int64_t>();
    c.relearningDelaySeconds = j["relearningDelaySeconds"].get<double>();
    c.firstHardIntervalDays = j["firstHardIntervalDays"].get<double>();
    c.firstGoodIntervalDays = j["firstGoodIntervalDays"].get<double>();
    c.firstEasyIntervalDays = j["firstEasyIntervalDays"].get<double>();
    return c;
}

}  // namespace tessel
