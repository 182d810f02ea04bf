// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>

// The lexicon file's tables and indexes, written by the lexicon compiler and read by the store.
// Both sides take the names from here, so a renamed table or index fails to compile instead of
// failing at run time. SQLite keeps each CREATE statement's text in the file: any change to the
// text below changes the compiled lexicon's bytes.
namespace tessel::schema {

// The lexicon format's version, stored as the database's user_version. 2: the characters table.
inline constexpr int kFormatVersion = 2;

struct TableDefinition {
    std::string_view name;
    std::string_view columns;  // the text between the parentheses of CREATE TABLE
};

struct IndexDefinition {
    std::string_view name;
    std::string_view table;
    std::string_view columns;
    std::string_view where;  // "" for an index over every row
};

inline constexpr TableDefinition kVocabulary{"vocabulary", R"sql(
    id TEXT NOT NULL PRIMARY KEY,
    language TEXT NOT NULL,
    term TEXT NOT NULL,
    alternate TEXT NOT NULL,
    reading TEXT NOT NULL,
    romanization TEXT NOT NULL,
    meanings_json TEXT NOT NULL,
    frequency_rank INTEGER NOT NULL,
    level INTEGER NOT NULL,
    learnable INTEGER NOT NULL,
    source TEXT NOT NULL,
    part_of_speech_json TEXT NOT NULL
)sql"};

// The store reads these columns by position; a new column goes into a table of its own (as
// exercise_readings did) so that old readers keep working.
inline constexpr TableDefinition kExercises{"exercises", R"sql(
    id TEXT NOT NULL PRIMARY KEY,
    vocabulary_id TEXT NOT NULL REFERENCES vocabulary(id),
    prompt TEXT NOT NULL,
    translation TEXT NOT NULL,
    note TEXT NOT NULL,
    accepted_answers_json TEXT NOT NULL,
    attribution TEXT NOT NULL
)sql"};

inline constexpr TableDefinition kExerciseReadings{"exercise_readings", R"sql(
    exercise_id TEXT NOT NULL PRIMARY KEY REFERENCES exercises(id),
    prompt_reading TEXT NOT NULL
)sql"};

inline constexpr TableDefinition kSources{"sources", R"sql(
    id TEXT NOT NULL PRIMARY KEY,
    display_name TEXT NOT NULL,
    url TEXT NOT NULL,
    license TEXT NOT NULL,
    license_url TEXT NOT NULL,
    attribution TEXT NOT NULL,
    source_sha256 TEXT NOT NULL
)sql"};

// The dictionary's character panel: one row per Han character of a language's terms that the
// sources know something about. Readings and meanings are JSON lists of strings (Chinese pinyin
// with tone marks; Japanese on readings, kun readings in their own list); grade, jlpt and
// frequency are KANJIDIC2's figures, 0 for none and for Chinese; strokes holds
// encodeStrokeDrawing bytes (StrokeDrawing.h), NULL without stroke data.
inline constexpr TableDefinition kCharacters{"characters", R"sql(
    language TEXT NOT NULL,
    character TEXT NOT NULL,
    stroke_count INTEGER NOT NULL,
    readings_json TEXT NOT NULL,
    kun_readings_json TEXT NOT NULL,
    meanings_json TEXT NOT NULL,
    grade INTEGER NOT NULL,
    jlpt INTEGER NOT NULL,
    frequency INTEGER NOT NULL,
    strokes BLOB,
    PRIMARY KEY (language, character)
)sql"};

// Every table the compiler creates before it writes rows, in creation order. A new table is
// defined above and appended here; its rows are written by the compiler's LexiconWriter and
// read by the store. Appending keeps the existing tables where they are in the file.
inline constexpr std::array kTables{kVocabulary, kExercises, kExerciseReadings, kSources,
                                    kCharacters};

// The stored search data (SearchIndex::save creates it last, after the rows are final).
inline constexpr TableDefinition kSearchIndex{"search_index", R"sql(
    language TEXT NOT NULL,
    part TEXT NOT NULL,
    format INTEGER NOT NULL,
    data BLOB NOT NULL,
    UNIQUE (language, part)
)sql"};

// The course list reads only course entries (about one row in ten), so its index holds only
// those rows.
inline constexpr IndexDefinition kLessonsIndex{"vocabulary_lessons", "vocabulary",
                                               "language, learnable, level, frequency_rank, term",
                                               "learnable = 1"};
// A language's entry count reads this narrow index instead of the table.
inline constexpr IndexDefinition kLanguageIndex{"vocabulary_language", "vocabulary", "language",
                                                ""};
// Each course card looks up its entry's first exercise.
inline constexpr IndexDefinition kExercisesByEntryIndex{"exercises_by_entry", "exercises",
                                                        "vocabulary_id, id", ""};

// Every index, created once all rows are written, in creation order.
inline constexpr std::array kIndexes{kLessonsIndex, kLanguageIndex, kExercisesByEntryIndex};

// "CREATE TABLE name (columns)", with "IF NOT EXISTS" when `ifMissing`.
std::string createStatement(const TableDefinition& table, bool ifMissing = false);

// "CREATE INDEX name ON table(columns)", followed by the WHERE clause of a partial index.
std::string createStatement(const IndexDefinition& index);

}  // namespace tessel::schema
