// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionSelection.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <limits>

#include <nlohmann/json.hpp>

namespace tessel {

namespace {

// Open-addressing table from item id to its scheduling record, also marking which ids have
// already been taken as candidates. The plan is rebuilt in full on every refresh over tens of
// thousands of items, so one hash probe per item replaces both a tree look-up in the progress and
// a separate set of seen ids.
class IdTable {
  public:
    struct Slot {
        std::string_view id;
        std::size_t hash = 0;
        const CardProgress* card = nullptr;
        bool occupied = false;
        bool seen = false;
    };

    explicit IdTable(std::size_t expected)
        : m_slots(std::bit_ceil(std::max<std::size_t>(16, expected * 2))),
          m_mask(m_slots.size() - 1) {}

    Slot& find(std::string_view id) {
        const std::size_t hash = std::hash<std::string_view>{}(id);
        std::size_t index = hash & m_mask;
        while (m_slots[index].occupied) {
            Slot& slot = m_slots[index];
            if (slot.hash == hash && slot.id == id) return slot;
            index = (index + 1) & m_mask;
        }
        Slot& slot = m_slots[index];
        slot.id = id;
        slot.hash = hash;
        slot.occupied = true;
        return slot;
    }

  private:
    std::vector<Slot> m_slots;
    std::size_t m_mask;
};

struct DueCandidate {
    Instant dueDate;
    std::int64_t level;
    std::int64_t frequencyRank;
    const VocabularyItem* item;
};

struct NewCandidate {
    std::int64_t level;
    std::int64_t frequencyRank;
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

StudySessionPlan StudySessionSelector::select(const std::vector<VocabularyItem>& items,
                                              const LearnerProgress& progress,
                                              std::optional<LearningLanguage> language,
                                              Instant now) const {
    IdTable table(items.size() + progress.cards.size());
    for (const auto& [id, card] : progress.cards) table.find(id).card = &card;

    std::vector<DueCandidate> due;
    std::vector<NewCandidate> fresh;
    fresh.reserve(items.size());
    for (const VocabularyItem& item : items) {
        if (language && item.language != *language) continue;
        IdTable::Slot& slot = table.find(item.id);
        if (slot.seen) continue;
        slot.seen = true;
        const CardProgress* card = slot.card;
        if (card == nullptr || card->isNew()) {
            fresh.push_back({item.level, item.frequencyRank, &item});
        } else if (card->isDue(now)) {
            due.push_back({card->dueDate, item.level, item.frequencyRank, &item});
        }
    }

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
