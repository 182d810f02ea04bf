// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "AdaptiveScheduler.h"
#include "Calendar.h"
#include "Progress.h"
#include "Vocabulary.h"

namespace tessel {

// The part of the progress that one rating can change, as it was before the rating: the card
// (or its absence) and the rating day's records in the all-language map and in the language's
// map (or the unscoped one). The streak is computed from those records, so it comes back with
// them. A session completed at the same instant touches only these records too.
struct ReviewUndo {
    std::string itemID;
    std::optional<CardProgress> card;
    std::string day;
    std::optional<LearningLanguage> language;
    std::optional<DailyStudyStats> allLanguages;
    std::optional<DailyStudyStats> scoped;
    // Whether the language had a map of its own (even an empty one); unused without a language.
    bool hadLanguageMap = false;

    // What a review of `itemID` at `at` (as LearnerProgress::recordReview and completeSession
    // count it, on the same day and language) is about to change. Never fails.
    static ReviewUndo capture(const LearnerProgress& progress, const std::string& itemID,
                              Instant at, const Calendar& calendar,
                              std::optional<LearningLanguage> language);

    // Puts the captured records back into `progress`, removing those that did not exist then,
    // so that the progress equals what it was at capture time.
    // REQUIRES: only changes that this capture covers were made to `progress` since.
    void restore(LearnerProgress& progress) const;

    bool operator==(const ReviewUndo&) const = default;
};

}  // namespace tessel
