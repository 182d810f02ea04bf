// SPDX-License-Identifier: GPL-3.0-or-later
#include "LessonReader.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include <sqlite3.h>

#include "LessonCard.h"
#include "LexiconSchema.h"
#include "SchemaCheck.h"
#include "SqliteStatement.h"

namespace tessel {
namespace {

// The course index yields this order without sorting; exercise cards are moved to the front
// afterwards, which keeps the order within each group.
constexpr const char* kCourseEntriesSQL =
    "SELECT id, term, alternate, reading, romanization, meanings_json,\n"
    "       frequency_rank, level, part_of_speech_json, source\n"
    "FROM vocabulary\n"
    "WHERE language = ? AND learnable = 1\n"
    "ORDER BY level, frequency_rank, term";

constexpr const char* kExercisesSQL =
    "SELECT id, vocabulary_id, COALESCE(prompt, '___'), COALESCE(translation, ''),\n"
    "       COALESCE(note, ''), COALESCE(accepted_answers_json, '[]'), COALESCE(attribution, '')\n"
    "FROM exercises";

struct StringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
        return std::hash<std::string_view>{}(text);
    }
};

template <class Value>
using StringMap = std::unordered_map<std::string, Value, StringHash, std::equal_to<>>;

// The whole stored text, NUL bytes included: keys and sort ties compare all of it.
std::string_view storedText(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    if (text == nullptr) return {};
    return {text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column))};
}

bool isText(sqlite3_stmt* statement, int column) {
    return sqlite3_column_type(statement, column) == SQLITE_TEXT;
}

struct FirstExercise {
    std::string storedId;  // for choosing the smallest id
    std::string id;
    std::string prompt;
    std::string translation;
    std::string note;
    std::string acceptedAnswersJson;
    std::string attribution;
};

// The exercise with the smallest id of every entry that has one, keyed by the entry id.
std::optional<StringMap<FirstExercise>> firstExercises(sqlite3* db) {
    auto statement = SqliteStatement::prepare(db, kExercisesSQL);
    if (!statement) return std::nullopt;
    sqlite3_stmt* handle = statement->handle();
    StringMap<FirstExercise> first;
    std::unordered_set<std::string, StringHash, std::equal_to<>> seenIds;
    while (true) {
        auto stepped = statement->step();
        if (!stepped) return std::nullopt;
        if (!*stepped) return first;
        // A NULL id would win the smallest-id choice yet join nothing, and a repeated id would
        // join several exercises to one entry: leave such tables to the query.
        if (!isText(handle, 0) || !isText(handle, 1)) return std::nullopt;
        const std::string_view storedId = storedText(handle, 0);
        if (!seenIds.emplace(storedId).second) return std::nullopt;
        auto [slot, added] = first.try_emplace(std::string(storedText(handle, 1)));
        FirstExercise& exercise = slot->second;
        if (!added && storedId >= exercise.storedId) continue;
        exercise = FirstExercise{std::string(storedId), statement->text(0), statement->text(2),
                                 statement->text(3),    statement->text(4), statement->text(5),
                                 statement->text(6)};
    }
}

}  // namespace

std::optional<std::vector<LexiconLesson>> readCourseLessons(sqlite3* db, LearningLanguage language,
                                                            const std::string& code, int limit) {
    for (const auto& [table, column] : {std::pair{&schema::kVocabulary, "id"},
                                        {&schema::kVocabulary, "term"},
                                        {&schema::kExercises, "id"},
                                        {&schema::kExercises, "vocabulary_id"}}) {
        if (!columnComparesBytewise(db, *table, column)) return std::nullopt;
    }
    auto statement = SqliteStatement::prepare(db, kCourseEntriesSQL);
    if (!statement) return std::nullopt;
    const auto exercises = firstExercises(db);
    if (!exercises) return std::nullopt;
    statement->bindText(1, code);
    sqlite3_stmt* handle = statement->handle();

    const auto wanted = static_cast<std::size_t>(limit);
    std::vector<LexiconLesson> withExercise;
    std::vector<LexiconLesson> plain;
    plain.reserve(std::min<std::size_t>(wanted, 1 << 16));
    std::string previousTerm;
    sqlite3_int64 previousLevel = 0;
    sqlite3_int64 previousRank = 0;
    bool first = true;
    while (true) {
        auto stepped = statement->step();
        if (!stepped) return std::nullopt;
        if (!*stepped) break;
        if (!isText(handle, 0) || !isText(handle, 1) ||
            sqlite3_column_type(handle, 6) != SQLITE_INTEGER ||
            sqlite3_column_type(handle, 7) != SQLITE_INTEGER) {
            return std::nullopt;
        }
        const sqlite3_int64 level = sqlite3_column_int64(handle, 7);
        const sqlite3_int64 rank = sqlite3_column_int64(handle, 6);
        const std::string_view storedTerm = storedText(handle, 1);
        // Entries equal in every sort key may come in any order from the query.
        if (!first && level == previousLevel && rank == previousRank &&
            storedTerm == previousTerm) {
            return std::nullopt;
        }
        first = false;
        previousLevel = level;
        previousRank = rank;
        previousTerm.assign(storedTerm);

        const auto found = exercises->find(storedText(handle, 0));
        const FirstExercise* exercise = found == exercises->end() ? nullptr : &found->second;
        std::vector<LexiconLesson>& group = exercise != nullptr ? withExercise : plain;
        if (group.size() >= wanted) continue;
        LessonRow row;
        row.id = statement->textView(0);
        row.term = statement->textView(1);
        row.alternate = statement->textView(2);
        row.reading = statement->textView(3);
        row.romanization = statement->textView(4);
        row.meaningsJson = statement->textView(5);
        row.frequencyRank = statement->int32(6);
        row.level = statement->int32(7);
        row.partsOfSpeechJson = statement->textView(8);
        row.source = statement->textView(9);
        if (exercise != nullptr) {
            row.prompt = exercise->prompt;
            row.translation = exercise->translation;
            row.note = exercise->note;
            row.acceptedAnswersJson = exercise->acceptedAnswersJson;
            row.exerciseAttribution = exercise->attribution;
            row.exerciseId = exercise->id;
        } else {
            row.prompt = "___";
            row.acceptedAnswersJson = "[]";
        }
        group.push_back(makeLesson(row, language));
    }

    if (withExercise.size() >= wanted) {
        withExercise.resize(wanted);
        return withExercise;
    }
    plain.resize(std::min(plain.size(), wanted - withExercise.size()));
    // The few exercise cards go in front of the many others inside the list already reserved:
    // a second list of the whole course would double the memory the read touches.
    plain.insert(plain.begin(), std::make_move_iterator(withExercise.begin()),
                 std::make_move_iterator(withExercise.end()));
    return plain;
}

}  // namespace tessel
