// SPDX-License-Identifier: GPL-3.0-or-later
#include "Course.h"

#include <algorithm>

namespace tessel {

Course::Course(std::vector<LexiconLesson> lessons)
    : m_lessons(std::move(lessons)), m_repeated(m_lessons.size(), 0) {
    m_index.reserve(m_lessons.size());
    for (std::size_t i = 0; i < m_lessons.size(); ++i) {
        if (!m_index.emplace(m_lessons[i].item.id, i).second) m_repeated[i] = 1;
    }
}

const LexiconLesson* Course::lesson(const std::string& itemID) const {
    const auto found = m_index.find(itemID);
    return found == m_index.end() ? nullptr : &m_lessons[found->second];
}

PlanCandidates Course::planCandidates(const LearnerProgress& progress, std::int64_t startingBand,
                                      const SessionSelectionConfiguration& caps,
                                      Instant now) const {
    const std::size_t n = m_lessons.size();
    // The learner usually has far fewer cards than the course has lessons, so the cards are
    // walked and looked up in the course, not the other way round.
    std::vector<const CardProgress*> cardOf(n, nullptr);
    for (const auto& [id, card] : progress.cards) {
        const auto found = m_index.find(id);
        if (found != m_index.end()) cardOf[found->second] = &card;
    }
    const auto reviewed = [&](std::size_t i) {
        return cardOf[i] != nullptr && cardOf[i]->totalReviews != 0;
    };

    std::vector<unsigned char> eligible(n, 0);
    bool unstartedContextual = false;
    for (std::size_t i = 0; i < n; ++i) {
        if (m_repeated[i]) continue;
        eligible[i] = m_lessons[i].item.level >= startingBand || reviewed(i);
        if (eligible[i] && m_lessons[i].isContextual && cardOf[i] == nullptr)
            unstartedContextual = true;
    }

    std::vector<std::size_t> due;
    std::vector<std::size_t> fresh;
    for (std::size_t i = 0; i < n; ++i) {
        if (!eligible[i]) continue;
        if (unstartedContextual && !m_lessons[i].isContextual && !reviewed(i)) continue;
        if (!reviewed(i)) {
            fresh.push_back(i);
        } else if (cardOf[i]->isDue(now)) {
            due.push_back(i);
        }
    }

    const auto item = [&](std::size_t i) -> const VocabularyItem& { return m_lessons[i].item; };
    const auto dueOrder = [&](std::size_t a, std::size_t b) {
        const auto& x = item(a);
        const auto& y = item(b);
        if (cardOf[a]->dueDate != cardOf[b]->dueDate)
            return cardOf[a]->dueDate < cardOf[b]->dueDate;
        if (x.level != y.level) return x.level < y.level;
        if (x.frequencyRank != y.frequencyRank) return x.frequencyRank < y.frequencyRank;
        return x.id < y.id;
    };
    const auto newOrder = [&](std::size_t a, std::size_t b) {
        const auto& x = item(a);
        const auto& y = item(b);
        if (x.level != y.level) return x.level < y.level;
        if (x.frequencyRank != y.frequencyRank) return x.frequencyRank < y.frequencyRank;
        return x.id < y.id;
    };
    // Ids are unique here, so both orders are total and the leading k items are one definite set.
    const auto keepLeading = [](std::vector<std::size_t>& list, std::int64_t k, auto order) {
        const auto keep = static_cast<std::size_t>(std::max<std::int64_t>(k, 0));
        if (list.size() <= keep) return;
        std::nth_element(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(keep), list.end(),
                         order);
        list.resize(keep);
    };

    PlanCandidates result;
    result.availableDueCount = static_cast<std::int64_t>(due.size());
    result.availableNewCount = static_cast<std::int64_t>(fresh.size());
    keepLeading(due, std::min(caps.maximumDueCards, caps.maximumTotalCards), dueOrder);
    keepLeading(fresh, caps.maximumNewCards, newOrder);
    result.items.reserve(due.size() + fresh.size());
    for (std::size_t i : due) result.items.push_back(item(i));
    for (std::size_t i : fresh) result.items.push_back(item(i));
    return result;
}

}  // namespace tessel
