// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

#include "AdaptiveScheduler.h"
#include "AnswerNormalization.h"
#include "Calendar.h"
#include "Progress.h"
#include "Vocabulary.h"

namespace tessel {

// The outcome of one recorded answer, with what the interface shows after it.
struct StudyReviewResult {
    // The verdict, as judged or as passed in.
    AnswerEvaluation evaluation;
    // The rating actually scheduled: `again` for a wrong answer, never `again` for a right one.
    ReviewRating rating = ReviewRating::again;
    // The item's record before the answer; absent when the item had none.
    std::optional<CardProgress> previousCard;
    // The item's record after the answer, as now stored in the progress.
    CardProgress updatedCard;
    // The review day's statistics for the item's language (unscoped figures included).
    DailyStudyStats dailyStats;
    // The streak for the item's language as of the review instant.
    StudyStreak streak;

    bool operator==(const StudyReviewResult&) const = default;
};

// Turns one answer into a change of the learner's progress. Holds no state of its own; safe to
// use from any thread as long as the progress passed in is not shared during the call.
struct StudyEngine {
    AnswerValidator validator;
    AdaptiveScheduler scheduler;

    // Judges `input` against `item` in `direction`, then records it as `recordEvaluation` does.
    // Never fails; every answer, empty or not, counts as one review.
    StudyReviewResult submitAnswer(std::string_view input, const VocabularyItem& item,
                                   ExerciseDirection direction, ReviewRating correctRating,
                                   Instant at, double studySeconds, const Calendar& calendar,
                                   LearnerProgress& progress) const;

    // Schedules the item with `correctRating` when `evaluation` is correct (`again` becomes
    // `good`) and with `again` otherwise, stores the new record and counts the review on the
    // day of `at` for the item's language. The evaluation is taken as given. Never fails.
    StudyReviewResult recordEvaluation(const AnswerEvaluation& evaluation,
                                       const VocabularyItem& item, ReviewRating correctRating,
                                       Instant at, double studySeconds, const Calendar& calendar,
                                       LearnerProgress& progress) const;
    // As recordEvaluation, but `streak` stays empty: working it out reads every day of the
    // learner's history, which a caller keeping the streak itself should not pay for on every
    // answer.
    StudyReviewResult recordEvaluationWithoutStreak(const AnswerEvaluation& evaluation,
                                                    const VocabularyItem& item,
                                                    ReviewRating correctRating, Instant at,
                                                    double studySeconds, const Calendar& calendar,
                                                    LearnerProgress& progress) const;

    bool operator==(const StudyEngine&) const = default;
};

}  // namespace tessel
