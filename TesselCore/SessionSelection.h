// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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

// The course as session selection reads it: the caller's items in course order, read in place
// (never copied), which of them are contextual exercises, and an index of their ids. Built once
// per loaded course, so that a refresh of the plan looks up only the learner's cards.
// REQUIRES: the vector it was built from outlives it and is not changed; moving that vector is
// fine (its elements stay in place). A temporary vector is refused at compile time.
class CourseView {
  public:
    CourseView() = default;
    // A course without contextual exercises.
    explicit CourseView(const std::vector<VocabularyItem>& items);
    // Any course records with an `item` (VocabularyItem) and an `isContextual` (bool) member.
    template <class Lesson>
    explicit CourseView(const std::vector<Lesson>& lessons) {
        m_items.reserve(lessons.size());
        m_contextual.reserve(lessons.size());
        for (const Lesson& lesson : lessons) {
            m_items.push_back(&lesson.item);
            m_contextual.push_back(lesson.isContextual ? 1 : 0);
        }
        buildIndex();
    }
    explicit CourseView(std::vector<VocabularyItem>&&) = delete;
    template <class Lesson>
    explicit CourseView(std::vector<Lesson>&&) = delete;

    std::size_t size() const { return m_items.size(); }
    // REQUIRES: i < size().
    const VocabularyItem& item(std::size_t i) const;
    // REQUIRES: i < size().
    bool isContextual(std::size_t i) const;
    // The position of the first item with this id; nullopt when the course has none.
    std::optional<std::size_t> find(std::string_view id) const;

  private:
    friend struct StudySessionSelector;
    friend class CourseCards;
    void buildIndex();

    std::vector<const VocabularyItem*> m_items;
    std::vector<unsigned char> m_contextual;
    // Position of the first item with the same id, for every item.
    std::vector<std::size_t> m_first;
    std::unordered_map<std::string_view, std::size_t> m_index;
};

// The learner's card for each item of a course, found once per progress and then kept up to date
// card by card: looking every card up in the course again costs a heavy learner more than the
// rest of a plan refresh (a learner with 100,000 cards: plan refresh within 10 ms,
// bench/app/learner). The constructor is the definition; tests/core/SessionSelectionTest.cpp
// holds cardChanged to it.
// REQUIRES: the course view and the progress's card records outlive it; a progress replaced as a
// whole needs a new one.
class CourseCards {
  public:
    CourseCards() = default;
    CourseCards(const CourseView& course, const LearnerProgress& progress);

    // After the card stored under `itemID` in `progress` was added, changed or removed.
    void cardChanged(const CourseView& course, const LearnerProgress& progress,
                     const std::string& itemID);

    // Calls `visit(position, card)` for each of the learner's cards in the course, once per id,
    // in course order: `position` is the first item with the card's id.
    template <class Visit>
    void forEachCard(Visit&& visit) const {
        for (std::size_t i = 0; i < m_cardOf.size(); ++i)
            if (m_cardOf[i] != nullptr) visit(i, *m_cardOf[i]);
    }

    bool operator==(const CourseCards&) const = default;

  private:
    friend struct StudySessionSelector;
    // By the position of the first item of each id; null where the learner has no card.
    std::vector<const CardProgress*> m_cardOf;
};

// Chooses the cards of a session: the one place that decides what is studied next.
// Pure; safe to call from any thread.
struct StudySessionSelector {
    SessionSelectionConfiguration configuration;

    // The plan for `course` (only the first item of each id, only `language`'s items when one is
    // given). An item is eligible when its level is at least `startingBand` or the learner has
    // reviewed it; while an eligible contextual exercise has no card at all, new cards come only
    // from contextual exercises (reviews are unaffected). Due cards (reviewed, due at `now`) come
    // most overdue first, then new cards (no card or never reviewed), easiest and most frequent
    // first, capped by the configuration; ties go by id. A negative cap (possible only through
    // decoding) counts as 0. Never fails; an empty course gives an empty plan.
    StudySessionPlan select(const CourseView& course, const LearnerProgress& progress,
                            std::int64_t startingBand, std::optional<LearningLanguage> language,
                            Instant now) const;
    // The same plan with the learner's cards already found in the course.
    // REQUIRES: `cards` belongs to `course` and is up to date with the learner's progress.
    StudySessionPlan select(const CourseView& course, const CourseCards& cards,
                            std::int64_t startingBand, std::optional<LearningLanguage> language,
                            Instant now) const;

    bool operator==(const StudySessionSelector&) const = default;
};

}  // namespace tessel
