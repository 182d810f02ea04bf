// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "CharacterTable.h"
#include "CompiledEntry.h"
#include "ExerciseSet.h"
#include "Result.h"
#include "SourceRecords.h"

struct sqlite3;

namespace tessel::compiler {

// Writes the read-only lexicon into a temporary file beside the destination and moves it into
// place only when everything succeeded, so that a failed build never leaves a half-written
// lexicon where the application looks for it.
class LexiconWriter {
  public:
    // Starts a new temporary database for `destination`; fails when it cannot be created.
    static Result<LexiconWriter> create(const std::filesystem::path& destination);

    LexiconWriter(LexiconWriter&& other) noexcept;
    LexiconWriter& operator=(LexiconWriter&&) = delete;
    // Removes the temporary file unless `finish` moved it into place.
    ~LexiconWriter();

    // Appends the entries in the given order. `progress` receives the share written (0..1).
    Result<void> writeVocabulary(const std::vector<const CompiledEntry*>& entries,
                                 const std::function<void(double)>& progress);
    Result<void> writeExercises(const std::vector<Exercise>& exercises);
    Result<void> writeSources(const std::vector<SourceRecord>& sources);
    // The character panel's rows; fails on a repeated (language, character).
    Result<void> writeCharacters(const std::vector<CharacterRow>& characters);
    // Builds the indexes the lesson, count and exercise queries use.
    Result<void> createIndexes();
    // Gathers planner statistics, compacts the file and moves it to the destination. Fails if
    // compacting changed any vocabulary row's rowid, which stored search data relies on.
    Result<void> finish();

    // The open connection, for writers of additional tables. Empty after `finish`.
    sqlite3* connection() const { return m_db; }

  private:
    LexiconWriter(sqlite3* db, std::filesystem::path temporary, std::filesystem::path destination);
    Result<void> execute(const char* sql);
    // SHA-256 over every vocabulary row's rowid and id, in rowid order.
    Result<std::string> rowFingerprint();

    sqlite3* m_db = nullptr;
    std::filesystem::path m_temporary;
    std::filesystem::path m_destination;
};

}  // namespace tessel::compiler
