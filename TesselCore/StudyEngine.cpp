// SPDX-License-Identifier: GPL-3.0-or-later
#include "StudyEngine.h"

namespace tessel {

StudyReviewResult StudyEngine::submitAnswer(std::string_view input, const VocabularyItem& item,
                                            ExerciseDirection direction, ReviewRating correctRating,
                                            Instant at, double studySeconds,
                                            const Calendar& calendar,
                                            LearnerProgress& progress) const {
    const AnswerEvaluation evaluation = validator.evaluate(input, item, direction);
    return recordEvaluation(evaluation, item, correctRating, at, studySeconds, calendar, progress);
}

StudyReviewResult StudyEngine::recordEvaluation(const AnswerEvaluation& evaluation,
                                                const VocabularyItem& item,
                                                ReviewRating correctRating, Instant at,
                                                double studySeconds, const Calendar& calendar,
                                                LearnerProgress& progress) const {
    StudyReviewResult result = recordEvaluationWithoutStreak(evaluation, item, correctRating, at,
                                                             studySeconds, calendar, progress);
    result.streak = progress.streak(at, calendar, item.language);
    return result;
}

StudyReviewResult StudyEngine::recordEvaluationWithoutStreak(
    const AnswerEvaluation& evaluation, const VocabularyItem& item, ReviewRating correctRating,
    Instant at, double studySeconds, const Calendar& calendar, LearnerProgress& progress) const {
    StudyReviewResult result;
    result.evaluation = evaluation;
    result.previousCard = progress.card(item.id);

    // A wrong answer is always a lapse, and a right one is never scheduled as one.
    if (!evaluation.isCorrect) {
        result.rating = ReviewRating::again;
    } else {
        result.rating = correctRating == ReviewRating::again ? ReviewRating::good : correctRating;
    }

    result.updatedCard = scheduler.schedule(item.id, result.previousCard, result.rating, at);

    // The first right answer ever teaches the word, even after earlier wrong ones.
    const bool learnedForFirstTime =
        evaluation.isCorrect && (!result.previousCard || result.previousCard->correctReviews == 0);

    progress.recordReview(result.updatedCard, evaluation.isCorrect, learnedForFirstTime, at,
                          studySeconds, calendar, item.language);

    result.dailyStats = progress.stats(at, calendar, item.language);
    return result;
}

}  // namespace tessel
