// SPDX-License-Identifier: GPL-3.0-or-later
#include "SentenceReadings.h"

#include <string>
#include <unordered_map>

#include "SqliteStatement.h"

namespace tessel {
namespace {

constexpr const char* kHasReadingsSQL =
    "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = 'exercise_readings'";

// The reading of each entry's first exercise, the one whose sentence the card shows.
constexpr const char* kReadingsSQL =
    "SELECT e.vocabulary_id, r.prompt_reading\n"
    "FROM exercise_readings r JOIN exercises e ON e.id = r.exercise_id\n"
    "WHERE e.id = (SELECT MIN(e2.id) FROM exercises e2 WHERE e2.vocabulary_id = e.vocabulary_id)";

}  // namespace

void attachSentenceReadings(sqlite3* db, std::vector<LexiconLesson>& lessons) {
    auto exists = SqliteStatement::prepare(db, kHasReadingsSQL);
    if (!exists) return;
    auto stepped = exists->step();
    if (!stepped || !*stepped || exists->int64(0) == 0) return;

    auto statement = SqliteStatement::prepare(db, kReadingsSQL);
    if (!statement) return;
    std::unordered_map<std::string, std::string> byEntry;
    while (true) {
        auto row = statement->step();
        if (!row) return;
        if (!*row) break;
        byEntry.emplace(statement->text(0), statement->text(1));
    }
    for (LexiconLesson& lesson : lessons) {
        if (!lesson.isContextual) continue;
        const auto found = byEntry.find(lesson.item.id);
        if (found != byEntry.end()) lesson.exampleReading = found->second;
    }
}

}  // namespace tessel
