// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Progress.h"

namespace tessel {

// What changed in a learner's progress since a copy of it was last brought up to date, as the
// changed entries themselves: bringing a copy of 100,000 cards up to date after a rating then
// costs one card and one day, not the whole progress (a learner with 100,000 cards: a rating
// within 2 ms of the main thread, bench/app/learner; tests/core/ProgressDeltaTest.cpp holds the
// copy to the progress). Changes recorded one after another merge; the newest value of an entry
// wins.
class ProgressDelta {
  public:
    // Records the card stored under `itemID` in `progress` as it is now (its absence too).
    void noteCard(const LearnerProgress& progress, const std::string& itemID);
    // Records the figures of day `key` in every statistics map of `progress` as they are now
    // (their absence too, and which languages have a map at all).
    void noteDay(const LearnerProgress& progress, const std::string& key);
    // Records that the whole progress is now `progress`, replacing all recorded so far.
    void noteWhole(LearnerProgress progress);
    // Adds the changes of `newer`, recorded after this delta's own.
    void merge(ProgressDelta&& newer);

    // True when nothing has been recorded.
    bool empty() const { return !m_whole && m_cards.empty() && m_days.empty(); }

    // Brings `target` up to date.
    // REQUIRES: `target` equalled the progress the recorded changes started from (any progress
    // when the delta holds a whole one).
    void applyTo(LearnerProgress& target) &&;

  private:
    // One day's record in each map: all languages, each language's own, the unscoped one.
    struct Day {
        std::optional<DailyStudyStats> all;
        std::map<LearningLanguage, std::optional<DailyStudyStats>> byLanguage;
        std::optional<DailyStudyStats> unscoped;
    };

    std::optional<LearnerProgress> m_whole;
    std::optional<std::int64_t> m_schemaVersion;
    std::map<std::string, std::optional<CardProgress>> m_cards;
    std::map<std::string, Day> m_days;
    // Which languages have a map at all, as last noted: the file writes a map even when it is
    // empty, and a rating taken back removes the map it created.
    std::map<LearningLanguage, bool> m_languageMaps;
};

}  // namespace tessel
