// SPDX-License-Identifier: GPL-3.0-or-later
#include "AdaptiveScheduler.h"

#include <limits>

#include <gtest/gtest.h>

#include "TestInstants.h"

namespace tessel {
namespace {

using std::chrono::seconds;

constexpr double kFourDecimals = 5e-5;
const Instant kStart = instantFromSeconds(1'714'550'400);  // 2024-05-01T08:00:00Z

Instant daysAfterStart(double days) {
    return kStart + seconds(static_cast<long>(days * 86'400));
}

CardProgress reviewed(double stability, double difficulty, Instant lastReview, int reviews = 3) {
    CardProgress card;
    card.itemID = "zh-1";
    card.stabilityDays = stability;
    card.difficulty = difficulty;
    card.intervalDays = static_cast<std::int64_t>(stability);
    card.dueDate = lastReview;
    card.lastReviewedAt = lastReview;
    card.lastRating = ReviewRating::good;
    card.totalReviews = reviews;
    card.correctReviews = reviews;
    card.consecutiveCorrect = reviews;
    return card;
}

TEST(AdaptiveScheduler, FiveStepWorkedExample) {
    const AdaptiveScheduler scheduler{};
    struct Step {
        ReviewRating rating;
        Instant at;
        double stability, difficulty;
        std::int64_t interval;
        Instant due;
    };
    const Instant relearn = daysAfterStart(15) + seconds(600);
    const Step steps[] = {
        {ReviewRating::good, daysAfterStart(0), 2.0, 4.85, 2, daysAfterStart(2)},
        {ReviewRating::good, daysAfterStart(2), 4.1694, 4.70, 4, daysAfterStart(6)},
        {ReviewRating::good, daysAfterStart(6), 8.7100, 4.55, 9, daysAfterStart(15)},
        {ReviewRating::again, daysAfterStart(15), 3.0485, 5.55, 0, relearn},
        {ReviewRating::good, relearn, 5.8599, 5.40, 6, relearn + seconds(6 * 86'400)},
    };
    std::optional<CardProgress> card;
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "review at " << secondsSinceEpoch(step.at));
        card = scheduler.schedule("zh-1", card, step.rating, step.at);
        EXPECT_NEAR(card->stabilityDays, step.stability, kFourDecimals);
        EXPECT_NEAR(card->difficulty, step.difficulty, kFourDecimals);
        EXPECT_EQ(card->intervalDays, step.interval);
        EXPECT_EQ(card->dueDate, step.due);
        EXPECT_EQ(card->lastReviewedAt, step.at);
        EXPECT_EQ(card->lastRating, step.rating);
    }
    EXPECT_EQ(card->totalReviews, 5);
    EXPECT_EQ(card->correctReviews, 4);
    EXPECT_EQ(card->lapseCount, 1);
    EXPECT_EQ(card->consecutiveCorrect, 1);
}

struct Outcome {
    const char* name;
    std::optional<CardProgress> current;
    ReviewRating rating;
    Instant at;
    double stability, difficulty;
    std::int64_t interval;
};

class SchedulerOutcome : public testing::TestWithParam<Outcome> {};

TEST_P(SchedulerOutcome, StabilityDifficultyAndInterval) {
    const Outcome& c = GetParam();
    const CardProgress card = AdaptiveScheduler{}.schedule("zh-1", c.current, c.rating, c.at);
    EXPECT_NEAR(card.stabilityDays, c.stability, 1e-3);
    EXPECT_NEAR(card.difficulty, c.difficulty, 1e-9);
    EXPECT_EQ(card.intervalDays, c.interval);
    const auto expectedDue =
        c.rating == ReviewRating::again ? c.at + seconds(600) : c.at + seconds(c.interval * 86'400);
    EXPECT_EQ(card.dueDate, expectedDue);
}

const CardProgress kTenDayCard = reviewed(10, 5, kStart);
CardProgress withZeroReviews() {
    CardProgress card = reviewed(50, 3, kStart, 0);
    card.lastReviewedAt.reset();
    return card;
}

INSTANTIATE_TEST_SUITE_P(
    Figures, SchedulerOutcome,
    testing::Values(
        Outcome{"NewAgain", std::nullopt, ReviewRating::again, kStart, 0.1, 6.0, 0},
        Outcome{"NewHard", std::nullopt, ReviewRating::hard, kStart, 1.0, 5.25, 1},
        Outcome{"NewEasy", std::nullopt, ReviewRating::easy, kStart, 5.0, 4.5, 5},
        Outcome{"OnTimeHard", kTenDayCard, ReviewRating::hard, daysAfterStart(10), 13.889, 5.25,
                14},
        Outcome{"OnTimeEasy", kTenDayCard, ReviewRating::easy, daysAfterStart(10), 30.3, 4.5, 30},
        Outcome{"FarOverdueGood", kTenDayCard, ReviewRating::good, daysAfterStart(100), 23.156,
                4.85, 23},
        // Three stabilities late already grows the card as much as it can.
        Outcome{"ThreeStabilitiesLate", kTenDayCard, ReviewRating::good, daysAfterStart(30), 23.156,
                4.85, 23},
        Outcome{"CappedAtMaximum", reviewed(300, 1, kStart), ReviewRating::easy,
                daysAfterStart(300), 365, 1.0, 365},
        // Stored values out of range are clamped before use.
        Outcome{"DifficultyAboveMaximum", reviewed(10, 12, kStart), ReviewRating::easy, kStart,
                23.5, 9.5, 24},
        Outcome{"DifficultyBelowMinimum", reviewed(10, -3, kStart), ReviewRating::again, kStart,
                3.5, 2.0, 0},
        Outcome{"StabilityZero", reviewed(0, 5, kStart), ReviewRating::good, kStart, 0.19556, 4.85,
                1},
        Outcome{"StabilityAboveMaximum", reviewed(1000, 5, kStart), ReviewRating::again, kStart,
                127.75, 6.0, 0},
        // A review stamped before the previous one counts as no time elapsed.
        Outcome{"ClockWentBack", kTenDayCard, ReviewRating::good, daysAfterStart(-2), 19.556, 4.85,
                20},
        // No reviews yet means first-review values, whatever the stored stability.
        Outcome{"ZeroReviewsButStability", withZeroReviews(), ReviewRating::good, kStart, 2.0, 2.85,
                2},
        Outcome{"ZeroReviewsAgain", withZeroReviews(), ReviewRating::again, kStart, 0.1, 4.0, 0}),
    [](const testing::TestParamInfo<Outcome>& info) { return info.param.name; });

TEST(AdaptiveScheduler, CountersAndIdentity) {
    const AdaptiveScheduler scheduler{};
    CardProgress stale = reviewed(3, 5, kStart);
    stale.itemID = "old-id";
    stale.lapseCount = 2;
    stale.totalReviews = 5;
    const CardProgress failed = scheduler.schedule("new-id", stale, ReviewRating::again, kStart);
    EXPECT_EQ(failed.itemID, "new-id");
    EXPECT_EQ(failed.totalReviews, 6);
    EXPECT_EQ(failed.correctReviews, 3);
    EXPECT_EQ(failed.lapseCount, 3);
    EXPECT_EQ(failed.consecutiveCorrect, 0);
    const CardProgress first = scheduler.schedule("x", std::nullopt, ReviewRating::again, kStart);
    EXPECT_EQ(first.lapseCount, 1);
    EXPECT_EQ(first.correctReviews, 0);
    EXPECT_EQ(first.consecutiveCorrect, 0);
    EXPECT_FALSE(first.isNew());
}

TEST(AdaptiveScheduler, IsDueFromTheDueInstantOn) {
    CardProgress card;
    card.dueDate = kStart;
    EXPECT_TRUE(card.isDue(kStart));
    EXPECT_TRUE(card.isDue(kStart + seconds(1)));
    EXPECT_FALSE(card.isDue(kStart - seconds(1)));
    // A hand-edited negative count: neither due nor new.
    card.totalReviews = -1;
    EXPECT_FALSE(card.isDue(kStart + seconds(1)));
    EXPECT_FALSE(card.isNew());
}

// Stored values at the edge of what the file holds: counters stop at the 64-bit limit and a
// last review more than 292 years back (beyond a nanosecond instant's range) schedules normally.
TEST(AdaptiveScheduler, ExtremeStoredValuesNeverWrap) {
    const AdaptiveScheduler scheduler{};
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    CardProgress card = reviewed(3, 5, kStart);
    card.totalReviews = card.correctReviews = card.consecutiveCorrect = card.lapseCount = kMax;
    const CardProgress right = scheduler.schedule("zh-1", card, ReviewRating::good, kStart);
    EXPECT_EQ(right.totalReviews, kMax);
    EXPECT_EQ(right.correctReviews, kMax);
    EXPECT_EQ(right.consecutiveCorrect, kMax);
    const CardProgress wrong = scheduler.schedule("zh-1", card, ReviewRating::again, kStart);
    EXPECT_EQ(wrong.lapseCount, kMax);

    const CardProgress ancient = reviewed(3, 5, testing_support::utc(1680, 1, 1));
    const CardProgress later =
        scheduler.schedule("zh-1", ancient, ReviewRating::good, testing_support::utc(2100, 1, 1));
    const CardProgress decade =
        scheduler.schedule("zh-1", reviewed(3, 5, testing_support::utc(2090, 1, 1)),
                           ReviewRating::good, testing_support::utc(2100, 1, 1));
    // Both are overdue beyond the cap, so both grow alike.
    EXPECT_GT(later.stabilityDays, 3 * 1.65);
    EXPECT_EQ(later.stabilityDays, decade.stabilityDays);
}

TEST(ReviewRating, RawValuesRoundTripAndOthersAreRefused) {
    for (ReviewRating rating : kAllReviewRatings) {
        EXPECT_EQ(reviewRatingFromRawValue(rawValue(rating)), rating);
    }
    for (const char* text : {"Again", "perfect", "", " good"}) {
        EXPECT_FALSE(reviewRatingFromRawValue(text).has_value()) << text;
    }
}

TEST(AdaptiveSchedulerConfiguration, JsonNeedsAllNineKeys) {
    const AdaptiveSchedulerConfiguration defaults{};
    const auto decoded = AdaptiveSchedulerConfiguration::decode(defaults.encode());
    ASSERT_TRUE(decoded) << decoded.error().description;
    EXPECT_EQ(*decoded, defaults);
    EXPECT_EQ(defaults.encode().find("\"firstEasyIntervalDays\""), 1u) << "keys are sorted";

    const std::string full = defaults.encode();
    struct Case {
        std::string from, to;
    } broken[] = {{"\"maximumIntervalDays\":365", "\"maximumIntervalDays\":365.5"},
                  {"\"maximumIntervalDays\":365", "\"maximumIntervalDays\":null"},
                  {"\"initialDifficulty\":5.0", "\"initialDifficulty\":\"5\""},
                  {"\"initialDifficulty\":5.0,", ""},
                  {"{", "["}};
    for (const Case& c : broken) {
        std::string text = full;
        const auto at = text.find(c.from);
        ASSERT_NE(at, std::string::npos) << c.from;
        text.replace(at, c.from.size(), c.to);
        EXPECT_FALSE(AdaptiveSchedulerConfiguration::decode(text)) << text;
    }
    // Whole numbers are numbers too.
    std::string integral = full;
    integral.replace(integral.find("5.0"), 3, "5");
    EXPECT_TRUE(AdaptiveSchedulerConfiguration::decode(integral));
}

}  // namespace
}  // namespace tessel
