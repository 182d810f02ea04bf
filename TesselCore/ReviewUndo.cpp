// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReviewUndo.h"

namespace tessel {

namespace {

std::optional<DailyStudyStats> recordIn(const DailyStatsMap& map, const std::string& day) {
    const auto it = map.find(day);
    if (it == map.end()) return std::nullopt;
    return it->second;
}

void putBack(DailyStatsMap& map, const std::string& day,
             const std::optional<DailyStudyStats>& record) {
    if (record) {
        map.insert_or_assign(day, *record);
    } else {
        map.erase(day);
    }
}

}  // namespace

ReviewUndo ReviewUndo::capture(const LearnerProgress& progress, const std::string& itemID,
                               Instant at, const Calendar& calendar,
                               std::optional<LearningLanguage> language) {
    ReviewUndo undo;
    undo.itemID = itemID;
    undo.card = progress.card(itemID);
    undo.day = StudyDay::key(at, calendar);
    undo.language = language;
    undo.allLanguages = recordIn(progress.dailyStats, undo.day);
    if (language) {
        const auto map = progress.dailyStatsByLanguage.find(*language);
        undo.hadLanguageMap = map != progress.dailyStatsByLanguage.end();
        if (undo.hadLanguageMap) undo.scoped = recordIn(map->second, undo.day);
    } else {
        undo.scoped = recordIn(progress.unscopedDailyStats, undo.day);
    }
    return undo;
}

void ReviewUndo::restore(LearnerProgress& progress) const {
    if (card) {
        progress.cards.insert_or_assign(itemID, *card);
    } else {
        progress.cards.erase(itemID);
    }
    putBack(progress.dailyStats, day, allLanguages);
    if (!language) return putBack(progress.unscopedDailyStats, day, scoped);
    // The file writes a language's map even when empty: one the rating created must go again.
    if (!hadLanguageMap) {
        progress.dailyStatsByLanguage.erase(*language);
        return;
    }
    putBack(progress.dailyStatsByLanguage[*language], day, scoped);
}

}  // namespace tessel
