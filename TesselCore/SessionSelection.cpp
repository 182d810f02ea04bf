// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionSelection.h"

#include <algorithm>
#include <cassert>
#include <limits>

#include <nlohmann/json.hpp>

namespace tessel {

namespace {

struct DueCandidate {
    Instant dueDate;
    std::int64_t level;
    std::int64_t frequencyRank;
    const VocabularyItem* item;
};

struct NewCandidate {
    std::int64_t level;
    std::int64_t frequencyRank;
    bool contextual;
    const VocabularyItem* item;
};

bool earlierInStudyOrder(const DueCandidate& a, const DueCandidate& b) {
    if (a.dueDate != b.dueDate) return a.dueDate < b.dueDate;
    if (a.level != b.level) return a.level < b.level;
    if (a.frequencyRank != b.frequencyRank) return a.frequencyRank < b.frequencyRank;
    // Byte order of UTF-8 text is code point order.
    return a.item->id < b.item->id;
}

bool earlierInStudyOrder(const NewCandidate& a, const NewCandidate& b) {
    if (a.level != b.level) return a.level < b.level;
    if (a.frequencyRank != b.frequencyRank) return a.frequencyRank < b.frequencyRank;
    return a.item->id < b.item->id;
}

// Only the first `count` entries are ever shown, so only they are put in order; the order is
// total (ids are unique among candidates), so the result equals the head of a full sort.
template <class Candidate>
std::vector<VocabularyItem> firstInOrder(std::vector<Candidate>& candidates, std::size_t count) {
    const auto comparator = [](const Candidate& a, const Candidate& b) {
        return earlierInStudyOrder(a, b);
    };
    std::partial_sort(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(count),
                      candidates.end(), comparator);
    std::vector<VocabularyItem> chosen;
    chosen.reserve(count);
    for (std::size_t i = 0; i < count; ++i) chosen.push_back(*candidates[i].item);
    return chosen;
}

std::string missing(const char* key) {
    return std::string("The data couldn’t be read because it is missing: ") + key;
}

}  // namespace

SessionSelectionConfiguration::SessionSelectionConfiguration(std::int64_t maximumDueCards,
                                                             std::int64_t maximumNewCards,
                                                             std::int64_t maximumTotalCards)
    : maximumDueCards(std::max<std::int64_t>(maximumDueCards, 0)),
      maximumNewCards(std::max<std::int64_t>(maximumNewCards, 0)),
      maximumTotalCards(std::max<std::int64_t>(maximumTotalCards, 0)) {}

std::string SessionSelectionConfiguration::encode() const {
    const nlohmann::json j = {{"maximumDueCards", maximumDueCards},
                              {"maximumNewCards", maximumNewCards},
                              {"maximumTotalCards", maximumTotalCards}};
    return j.dump();
}

Result<SessionSelectionConfiguration> SessionSelectionConfiguration::decode(std::string_view json) {
    const auto j = nlohmann::json::parse(json, nullptr, false);
    if (j.is_discarded() || !j.is_object()) {
        return fail("The data couldn’t be read because it isn’t in the correct format.");
    }
    SessionSelectionConfiguration configuration;
    const std::pair<const char*, std::int64_t*> fields[] = {
        {"maximumDueCards", &configuration.maximumDueCards},
        {"maximumNewCards", &configuration.maximumNewCards},
        {"maximumTotalCards", &configuration.maximumTotalCards}};
    for (const auto& [key, target] : fields) {
        const auto it = j.find(key);
        if (it == j.end() || it->is_null()) return fail(missing(key));
        const bool tooLarge =
            it->is_number_unsigned() &&
            it->get<std::uint64_t>() >
                static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
        if (!it->is_number_integer() || tooLarge) {
            return fail(std::string("The data couldn’t be read because it isn’t in the correct "
                                    "format: ") +
                        key);
        }
        *target = it->get<std::int64_t>();
    }
    return configuration;
}

std::vector<VocabularyItem> StudySessionPlan::items() const {
    std::vector<VocabularyItem> all;
    all.reserve(dueItems.size() + newItems.size());
    all.insert(all.end(), dueItems.begin(), dueItems.end());
    all.insert(all.end(), newItems.begin(), newItems.end());
    return all;
}

CourseView::CourseView(const std::vector<VocabularyItem>& items) {
    m_items.reserve(items.size());
    for (const VocabularyItem& item : items) m_items.push_back(&item);
    m_contextual.assign(items.size(), 0);
    buildIndex();
}

void CourseView::buildIndex() {
    m_first.resize(m_items.size());
    m_index.reserve(m_items.size());
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        m_first[i] = m_index.try_emplace(m_items[i]->id, i).first->second;
    }
}

const VocabularyItem& CourseView::item(std::size_t i) const {
    assert(i < size());
    return *m_items[i];
}

bool CourseView::isContextual(std::size_t i) const {
    assert(i < size());
    return m_contextual[i] != 0;
}

std::optional<std::size_t> CourseView::find(std::string_view id) const {
    const auto found = m_index.find(id);
    if (found == m_index.end()) return std::nullopt;
    return found->second;
}

CourseCards::CourseCards(const CourseView& course, const LearnerProgress& progress)
    : m_cardOf(course.size(), nullptr) {
    // The learner has far fewer cards than the course has items, so the cards are looked up in
    // the course's index, never each item in the progress. A card counts for every item that
    // shares its id; the record is stored under the id, whatever its own `itemID` says.
    for (const auto& [id, card] : progress.cards) {
        if (const auto first = course.find(id)) m_cardOf[*first] = &card;
    }
}

void CourseCards::cardChanged(const CourseView& course, const LearnerProgress& progress,
                              const std::string& itemID) {
    const auto first = course.find(itemID);
    if (!first) return;
    const auto card = progress.cards.find(itemID);
    m_cardOf[*first] = card == progress.cards.end() ? nullptr : &card->second;
}

StudySessionPlan StudySessionSelector::select(const CourseView& course,
                                              const LearnerProgress& progress,
                                              std::int64_t startingBand,
                                              std::optional<LearningLanguage> language,
                                              Instant now) const {
    return select(course, CourseCards(course, progress), startingBand, language, now);
}

StudySessionPlan StudySessionSelector::select(const CourseView& course, const CourseCards& cards,
                                              std::int64_t startingBand,
                                              std::optional<LearningLanguage> language,
                                              Instant now) const {
    const std::size_t n = course.size();
    assert(cards.m_cardOf.size() == n);
    const std::vector<const CardProgress*>& cardOf = cards.m_cardOf;
    std::vector<DueCandidate> due;
    std::vector<NewCandidate> fresh;
    bool unstartedContextual = false;
    // Only the first item of each id among the selected language's items takes part.
    std::vector<unsigned char> seen(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
        const VocabularyItem& item = *course.m_items[i];
        if (language && item.language != *language) continue;
        unsigned char& taken = seen[course.m_first[i]];
        if (taken) continue;
        taken = 1;
        const CardProgress* card = cardOf[course.m_first[i]];
        const bool isNew = card == nullptr || card->isNew();
        // Below the starting band only what the learner has already reviewed comes back.
        if (item.level < startingBand && isNew) continue;
        const bool contextual = course.m_contextual[i] != 0;
        if (contextual && card == nullptr) unstartedContextual = true;
        if (isNew) {
            fresh.push_back({item.level, item.frequencyRank, contextual, &item});
        } else if (card->isDue(now)) {
            due.push_back({card->dueDate, item.level, item.frequencyRank, &item});
        }
    }
    // Contextual exercises are started before plain new words.
    if (unstartedContextual)
        std::erase_if(fresh, [](const NewCandidate& c) { return !c.contextual; });

    // Caps read from a file may be negative; they allow nothing, like a cap of 0.
    const auto cap = [](std::int64_t value) {
        return static_cast<std::uint64_t>(std::max<std::int64_t>(value, 0));
    };
    const std::uint64_t total = cap(configuration.maximumTotalCards);
    const std::uint64_t dueTaken = std::min(
        {cap(configuration.maximumDueCards), static_cast<std::uint64_t>(due.size()), total});
    const std::uint64_t room = total - dueTaken;
    const std::uint64_t newTaken = std::min(
        {cap(configuration.maximumNewCards), static_cast<std::uint64_t>(fresh.size()), room});

    StudySessionPlan plan;
    plan.availableDueCount = static_cast<std::int64_t>(due.size());
    plan.availableNewCount = static_cast<std::int64_t>(fresh.size());
    plan.dueItems = firstInOrder(due, static_cast<std::size_t>(dueTaken));
    plan.newItems = firstInOrder(fresh, static_cast<std::size_t>(newTaken));
    return plan;
}

}  // namespace tessel
