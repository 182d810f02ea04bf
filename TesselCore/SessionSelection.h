// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Calendar.h"
#include "Progress.h"
#include "Result.h"
#include "Vocabulary.h"

namespace tessel {

// The caps of one study session's plan.
struct SessionSelectionConfiguration {
    std::int64_t maximumDueCards = 0;
    std::int64_t maximumNewCards = 0;
    std::int64_t maximumTotalCards = 0;

    // Every cap is zero.
    SessionSelectionConfiguration() = default;
    // Negative caps are stored as 0.
    SessionSelectionConfiguration(std::int64_t maximumDueCards, std::int64_t maximumNewCards,
                                  std::int64_t maximumTotalCards);

    // Sorted-key JSON object with the three caps.
    std::string encode() const;
    // All three keys are required integers and are stored as they stand (negatives included);
    // fails on malformed JSON, a missing key or a wrong type.
    static Result<SessionSelectionConfiguration> decode(std::string_view json);

    bool operator==(const SessionSelectionConfiguration&) const = default;
};

// The cards of one session: due cards in study order, then new cards in study order.
struct StudySessionPlan {
    std::vector<VocabularyItem> dueItems;
    std::vector<VocabularyItem> newItems;
    // How many cards were due / new before any cap.
    std::int64_t availableDueCount = 0;
    std::int64_t availableNewCount = 0;

    // Due items followed by new items: the session's order.
    std::vector<VocabularyItem> items() const;
    // True when neither list holds a card.
    bool isEmpty() const { return dueItems.empty() && newItems.empty(); }

    bool operator==(const StudySessionPlan&) const = default;
};

// Chooses the cards of a session. Pure; safe to call from any thread.
struct StudySessionSelector {
    SessionSelectionConfiguration configuration;

    // The plan for `items` (only the first item of each id, only `language`'s items when one is
    // given): due cards, most overdue first, then new cards, easiest and most frequent first,
    // capped by the configuration. A negative cap (possible only through decoding) counts as 0.
    // Never fails; empty input gives an empty plan.
    StudySessionPlan select(const std::vector<VocabularyItem>& items,
                            const LearnerProgress& progress,
                            std::optional<LearningLanguage> language, Instant now) const;

    bool operator==(const StudySessionSelector&) const = default;
};

}  // namespace tessel
