// SPDX-License-Identifier: GPL-3.0-or-later
#include "StudyEngine.h"

#include <gtest/gtest.h>

namespace tessel {
namespace {

using std::chrono::seconds;

const Instant kNow = instantFromSeconds(1'714'550'400);  // 2024-05-01T08:00:00Z
const Calendar kCalendar = Calendar::withTimeZone("Europe/Berlin");

VocabularyItem word(const char* id = "zh-xuexiao",
                    LearningLanguage language = LearningLanguage::chinese) {
    VocabularyItem v;
    v.id = id;
    v.language = language;
    v.term = "学校";
    v.reading = "xuéxiào";
    v.meanings = {"school"};
    return v;
}

AnswerEvaluation verdict(bool correct) {
    return {"typed", "typed", correct, std::nullopt};
}

struct RatingCase {
    const char* name;
    bool correct;
    ReviewRating given, scheduled;
};

class EngineRating : public testing::TestWithParam<RatingCase> {};

TEST_P(EngineRating, WrongIsAlwaysAgainAndRightNeverIs) {
    const RatingCase& c = GetParam();
    LearnerProgress progress;
    const StudyEngine engine{};
    const auto result =
        engine.recordEvaluation(verdict(c.correct), word(), c.given, kNow, 4, kCalendar, progress);
    EXPECT_EQ(result.rating, c.scheduled);
    EXPECT_EQ(result.updatedCard,
              engine.scheduler.schedule(word().id, std::nullopt, c.scheduled, kNow));
    EXPECT_EQ(result.dailyStats.reviewedCount, 1);
    EXPECT_EQ(result.dailyStats.correctCount, c.correct ? 1 : 0);
    EXPECT_EQ(result.dailyStats.newCardsLearned, c.correct ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EngineRating,
    testing::Values(RatingCase{"WrongEasy", false, ReviewRating::easy, ReviewRating::again},
                    RatingCase{"WrongGood", false, ReviewRating::good, ReviewRating::again},
                    RatingCase{"RightAgain", true, ReviewRating::again, ReviewRating::good},
                    RatingCase{"RightHard", true, ReviewRating::hard, ReviewRating::hard},
                    RatingCase{"RightEasy", true, ReviewRating::easy, ReviewRating::easy}),
    [](const testing::TestParamInfo<RatingCase>& info) { return info.param.name; });

TEST(StudyEngine, FirstRightAnswerOnANewItem) {
    LearnerProgress progress;
    const auto result = StudyEngine{}.recordEvaluation(verdict(true), word(), ReviewRating::good,
                                                       kNow, 7.5, kCalendar, progress);
    EXPECT_FALSE(result.previousCard);
    EXPECT_EQ(result.updatedCard.totalReviews, 1);
    EXPECT_DOUBLE_EQ(result.updatedCard.stabilityDays, 2.0);
    EXPECT_EQ(result.updatedCard.intervalDays, 2);
    EXPECT_EQ(progress.card(word().id), result.updatedCard);
    EXPECT_EQ(result.dailyStats, (DailyStudyStats{"2024-05-01", 1, 1, 1, 0, 7.5}));
    EXPECT_EQ(result.streak, (StudyStreak{1, 1, "2024-05-01", true}));
    EXPECT_EQ(result.evaluation, verdict(true));
}

// Only the first right answer ever teaches an item, even after wrong ones.
TEST(StudyEngine, LearnedForTheFirstTimeCountsOnce) {
    LearnerProgress progress;
    const StudyEngine engine{};
    const bool answers[] = {false, false, true, false, true};
    const std::int64_t learnedAfter[] = {0, 0, 1, 1, 1};
    for (int i = 0; i < 5; ++i) {
        const auto result = engine.recordEvaluation(verdict(answers[i]), word(), ReviewRating::good,
                                                    kNow + seconds(60 * i), 1, kCalendar, progress);
        EXPECT_EQ(result.dailyStats.newCardsLearned, learnedAfter[i]) << i;
        EXPECT_EQ(result.dailyStats.reviewedCount, i + 1);
        EXPECT_EQ(result.previousCard.has_value(), i > 0);
    }
}

TEST(StudyEngine, DayFiguresAndStreakBelongToTheItemsLanguage) {
    LearnerProgress progress;
    const StudyEngine engine{};
    // Yesterday in Japanese only, an unscoped day before that, today in both languages.
    const Instant yesterday = kNow - seconds(86'400);
    engine.recordEvaluation(verdict(true), word("ja-1", LearningLanguage::japanese),
                            ReviewRating::good, yesterday, 1, kCalendar, progress);
    progress.unscopedDailyStats["2024-04-29"] = {"2024-04-29", 2, 2, 0, 0, 0};
    engine.recordEvaluation(verdict(true), word("ja-2", LearningLanguage::japanese),
                            ReviewRating::good, kNow, 1, kCalendar, progress);
    progress.unscopedDailyStats["2024-05-01"] = {"2024-05-01", 1, 0, 0, 0, 0};
    const auto chinese = engine.recordEvaluation(verdict(false), word(), ReviewRating::good, kNow,
                                                 -5, kCalendar, progress);
    EXPECT_EQ(chinese.dailyStats, (DailyStudyStats{"2024-05-01", 2, 0, 0, 0, 0}));
    EXPECT_EQ(chinese.streak, (StudyStreak{1, 1, "2024-05-01", true}));
    const auto japanese =
        engine.recordEvaluation(verdict(true), word("ja-3", LearningLanguage::japanese),
                                ReviewRating::good, kNow, 2, kCalendar, progress);
    EXPECT_EQ(japanese.dailyStats, (DailyStudyStats{"2024-05-01", 3, 2, 2, 0, 3}));
    EXPECT_EQ(japanese.streak, (StudyStreak{3, 3, "2024-05-01", true}));
    EXPECT_EQ(progress.dailyStats.at("2024-05-01").reviewedCount, 3);
}

TEST(StudyEngine, SubmitAnswerJudgesThenRecords) {
    const StudyEngine engine{};
    struct Case {
        const char* input;
        bool correct;
    } cases[] = {{"学校", true}, {"", false}, {"school", false}};
    for (const Case& c : cases) {
        LearnerProgress progress;
        const auto result = engine.submitAnswer(c.input, word(), ExerciseDirection::targetLanguage,
                                                ReviewRating::easy, kNow, 2, kCalendar, progress);
        EXPECT_EQ(result.evaluation,
                  engine.validator.evaluate(c.input, word(), ExerciseDirection::targetLanguage));
        EXPECT_EQ(result.evaluation.isCorrect, c.correct) << c.input;
        EXPECT_EQ(result.rating, c.correct ? ReviewRating::easy : ReviewRating::again);
        EXPECT_EQ(result.dailyStats.reviewedCount, 1) << "every answer counts, even an empty one";
    }
}

}  // namespace
}  // namespace tessel
