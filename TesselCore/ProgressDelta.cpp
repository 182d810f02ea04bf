// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgressDelta.h"

namespace tessel {

namespace {

std::optional<DailyStudyStats> find(const DailyStatsMap& map, const std::string& key) {
    const auto it = map.find(key);
    if (it == map.end()) return std::nullopt;
    return it->second;
}

void store(DailyStatsMap& map, const std::string& key, std::optional<DailyStudyStats>&& record) {
    if (record) {
        map.insert_or_assign(key, std::move(*record));
    } else {
        map.erase(key);
    }
}

}  // namespace

void ProgressDelta::noteCard(const LearnerProgress& progress, const std::string& itemID) {
    m_cards.insert_or_assign(itemID, progress.card(itemID));
    m_schemaVersion = progress.schemaVersion;
}

void ProgressDelta::noteDay(const LearnerProgress& progress, const std::string& key) {
    Day day;
    day.all = find(progress.dailyStats, key);
    day.unscoped = find(progress.unscopedDailyStats, key);
    // Every language is noted, also one whose map does not exist: a day gone from a map
    // must go from the copy too.
    for (auto language : kAllLearningLanguages) {
        const auto map = progress.dailyStatsByLanguage.find(language);
        m_languageMaps[language] = map != progress.dailyStatsByLanguage.end();
        day.byLanguage[language] =
            map == progress.dailyStatsByLanguage.end() ? std::nullopt : find(map->second, key);
    }
    m_days.insert_or_assign(key, std::move(day));
    m_schemaVersion = progress.schemaVersion;
}

void ProgressDelta::noteWhole(LearnerProgress progress) {
    m_cards.clear();
    m_days.clear();
    m_languageMaps.clear();
    m_schemaVersion.reset();
    m_whole = std::move(progress);
}

void ProgressDelta::merge(ProgressDelta&& newer) {
    if (newer.m_whole) {
        *this = std::move(newer);
        return;
    }
    for (auto& [id, card] : newer.m_cards) m_cards.insert_or_assign(id, std::move(card));
    for (auto& [key, day] : newer.m_days) m_days.insert_or_assign(key, std::move(day));
    for (const auto& [language, exists] : newer.m_languageMaps) m_languageMaps[language] = exists;
    if (newer.m_schemaVersion) m_schemaVersion = newer.m_schemaVersion;
}

void ProgressDelta::applyTo(LearnerProgress& target) && {
    if (m_whole) target = std::move(*m_whole);
    if (m_schemaVersion) target.schemaVersion = *m_schemaVersion;
    for (auto& [id, card] : m_cards) {
        if (card) {
            target.cards.insert_or_assign(id, std::move(*card));
        } else {
            target.cards.erase(id);
        }
    }
    for (auto& [key, day] : m_days) {
        store(target.dailyStats, key, std::move(day.all));
        store(target.unscopedDailyStats, key, std::move(day.unscoped));
        for (auto& [language, record] : day.byLanguage) {
            if (record) {
                store(target.dailyStatsByLanguage[language], key, std::move(record));
            } else if (const auto map = target.dailyStatsByLanguage.find(language);
                       map != target.dailyStatsByLanguage.end()) {
                map->second.erase(key);
            }
        }
    }
    // Last, whatever order the days came in: a map removed after one of its days was noted is
    // gone, and one left empty stays.
    for (const auto& [language, exists] : m_languageMaps) {
        if (exists) {
            target.dailyStatsByLanguage[language];
        } else {
            target.dailyStatsByLanguage.erase(language);
        }
    }
    m_cards.clear();
    m_days.clear();
    m_languageMaps.clear();
    m_whole.reset();
}

}  // namespace tessel
