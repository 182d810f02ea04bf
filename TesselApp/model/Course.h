// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "LexiconRecords.h"
#include "Progress.h"
#include "SessionSelection.h"

namespace tessel {

// The few course items that can make it into a session plan, with how many were available.
struct PlanCandidates {
    // At most the due cap's worth of due items and the new cap's worth of new items; handing
    // them to the session selector gives exactly the lists it would pick from the whole course.
    std::vector<VocabularyItem> items;
    std::int64_t availableDueCount = 0;
    std::int64_t availableNewCount = 0;
};

// One language's course cards as loaded from the lexicon, indexed by item id.
class Course {
  public:
    Course() = default;
    explicit Course(std::vector<LexiconLesson> lessons);

    const std::vector<LexiconLesson>& lessons() const { return m_lessons; }
    std::size_t size() const { return m_lessons.size(); }
    bool empty() const { return m_lessons.empty(); }
    // The lesson of the item with this id (the first one should the id repeat); null when the
    // course has none.
    const LexiconLesson* lesson(const std::string& itemID) const;
    bool contains(const std::string& itemID) const { return m_index.contains(itemID); }

    // The candidates of the next plan. A lesson is eligible when its item's level is at least
    // `startingBand` or the learner has reviewed it; while an eligible contextual exercise has no
    // card at all, new material comes only from contextual exercises (reviews are unaffected).
    // Of the eligible items, due ones (reviewed, due at `now`) are ordered by due date, level,
    // frequency rank and id, new ones (never reviewed) by level, frequency rank and id, and only
    // the leading ones that the caps can admit are kept. Never fails.
    PlanCandidates planCandidates(const LearnerProgress& progress, std::int64_t startingBand,
                                  const SessionSelectionConfiguration& caps, Instant now) const;

  private:
    std::vector<LexiconLesson> m_lessons;
    std::unordered_map<std::string, std::size_t> m_index;
    // 1 for a lesson whose id an earlier lesson already has; session selection keeps the first.
    std::vector<unsigned char> m_repeated;
};

}  // namespace tessel
