// SPDX-License-Identifier: GPL-3.0-or-later
#include "LexiconWriter.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <memory>

#include "LexiconSchema.h"
#include "Sha256.h"

namespace tessel::compiler {

namespace {

// Build-time settings: nothing needs to survive a crash (the file is renamed into place only
// at the end), so there is no journal and no syncing until the final flush.
constexpr const char* kBuildPragmas =
    "PRAGMA page_size = 4096;"
    "PRAGMA journal_mode = OFF;"
    "PRAGMA synchronous = OFF;"
    "PRAGMA locking_mode = EXCLUSIVE;"
    "PRAGMA temp_store = MEMORY;"
    "PRAGMA cache_size = -262144;";

using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

// One prepared statement, finalised however the caller leaves; the failure names SQLite's reason.
Result<Statement> prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return fail(std::string("SQLite: ") + sqlite3_errmsg(db));
    }
    return Statement(raw, &sqlite3_finalize);
}

std::string jsonArray(const std::vector<std::string>& values) {
    return nlohmann::json(values).dump();
}

void bindText(sqlite3_stmt* statement, int position, const std::string& text) {
    sqlite3_bind_text(statement, position, text.data(), static_cast<int>(text.size()),
                      SQLITE_STATIC);
}

}  // namespace

Result<LexiconWriter> LexiconWriter::create(const std::filesystem::path& destination) {
    std::error_code error;
    if (destination.has_parent_path())
        std::filesystem::create_directories(destination.parent_path(), error);
    if (error)
        return fail("cannot create " + destination.parent_path().string() + ": " + error.message());
    auto temporary = destination;
    temporary += ".tmp-" + std::to_string(::getpid());
    std::filesystem::remove(temporary, error);

    sqlite3* db = nullptr;
    const int opened = sqlite3_open_v2(temporary.c_str(), &db,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (opened != SQLITE_OK) {
        std::string message = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        std::filesystem::remove(temporary, error);
        return fail("cannot create " + temporary.string() + ": " + message);
    }
    LexiconWriter writer(db, temporary, destination);
    if (auto done = writer.execute(kBuildPragmas); !done) return tl::unexpected(done.error());
    const std::string version =
        "PRAGMA user_version = " + std::to_string(schema::kFormatVersion) + ";";
    if (auto done = writer.execute(version.c_str()); !done) return tl::unexpected(done.error());
    for (const schema::TableDefinition& table : schema::kTables) {
        const std::string create = schema::createStatement(table);
        if (auto done = writer.execute(create.c_str()); !done) return tl::unexpected(done.error());
    }
    return writer;
}

LexiconWriter::LexiconWriter(sqlite3* db, std::filesystem::path temporary,
                             std::filesystem::path destination)
    : m_db(db), m_temporary(std::move(temporary)), m_destination(std::move(destination)) {}

LexiconWriter::LexiconWriter(LexiconWriter&& other) noexcept
    : m_db(other.m_db),
      m_temporary(std::move(other.m_temporary)),
      m_destination(std::move(other.m_destination)) {
    other.m_db = nullptr;
    other.m_temporary.clear();
}

LexiconWriter::~LexiconWriter() {
    if (m_db != nullptr) sqlite3_close(m_db);
    if (!m_temporary.empty()) {
        std::error_code ignored;
        std::filesystem::remove(m_temporary, ignored);
    }
}

Result<void> LexiconWriter::execute(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        std::string text = message ? message : sqlite3_errmsg(m_db);
        sqlite3_free(message);
        return fail("SQLite: " + text);
    }
    return {};
}

Result<void> LexiconWriter::writeVocabulary(const std::vector<const CompiledEntry*>& entries,
                                            const std::function<void(double)>& progress) {
    if (auto done = execute("BEGIN"); !done) return done;
    auto insert = prepare(m_db,
                          "INSERT INTO vocabulary (id, language, term, alternate, reading, "
                          "romanization, meanings_json, frequency_rank, level, learnable, "
                          "source, part_of_speech_json) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)");
    if (!insert) return tl::unexpected(insert.error());
    sqlite3_stmt* raw = insert->get();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const CompiledEntry& entry = *entries[i];
        const std::string meanings = jsonArray(entry.meanings);
        const std::string partsOfSpeech = jsonArray(entry.partsOfSpeech);
        bindText(raw, 1, entry.id);
        bindText(raw, 2, entry.language);
        bindText(raw, 3, entry.term);
        bindText(raw, 4, entry.alternate);
        bindText(raw, 5, entry.reading);
        bindText(raw, 6, entry.romanization);
        bindText(raw, 7, meanings);
        sqlite3_bind_int(raw, 8, entry.frequencyRank);
        sqlite3_bind_int(raw, 9, entry.level);
        sqlite3_bind_int(raw, 10, entry.learnable ? 1 : 0);
        bindText(raw, 11, entry.source);
        bindText(raw, 12, partsOfSpeech);
        if (sqlite3_step(raw) != SQLITE_DONE) {
            return fail("cannot store entry " + entry.id + ": " + sqlite3_errmsg(m_db));
        }
        sqlite3_reset(raw);
        if (progress && i % 8192 == 0) progress(double(i) / double(entries.size()));
    }
    insert->reset();
    return execute("COMMIT");
}

Result<void> LexiconWriter::writeExercises(const std::vector<Exercise>& exercises) {
    if (auto done = execute("BEGIN"); !done) return done;
    auto insert = prepare(m_db,
                          "INSERT INTO exercises (id, vocabulary_id, prompt, translation, note, "
                          "accepted_answers_json, attribution) VALUES (?,?,?,?,?,?,?)");
    if (!insert) return tl::unexpected(insert.error());
    sqlite3_stmt* raw = insert->get();
    for (const Exercise& exercise : exercises) {
        const std::string answers = jsonArray(exercise.acceptedAnswers);
        bindText(raw, 1, exercise.id);
        bindText(raw, 2, exercise.vocabularyId);
        bindText(raw, 3, exercise.prompt);
        bindText(raw, 4, exercise.translation);
        bindText(raw, 5, exercise.note);
        bindText(raw, 6, answers);
        bindText(raw, 7, exercise.attribution);
        if (sqlite3_step(raw) != SQLITE_DONE) {
            return fail("cannot store exercise " + exercise.id + ": " + sqlite3_errmsg(m_db));
        }
        sqlite3_reset(raw);
    }
    insert->reset();

    // Kept apart from `exercises`, whose columns the store reads by position in its contract.
    auto reading = prepare(m_db,
                           "INSERT INTO exercise_readings (exercise_id, prompt_reading) "
                           "VALUES (?,?)");
    if (!reading) return tl::unexpected(reading.error());
    for (const Exercise& exercise : exercises) {
        if (exercise.promptReading.empty()) continue;
        bindText(reading->get(), 1, exercise.id);
        bindText(reading->get(), 2, exercise.promptReading);
        if (sqlite3_step(reading->get()) != SQLITE_DONE) {
            return fail("cannot store the reading of exercise " + exercise.id + ": " +
                        sqlite3_errmsg(m_db));
        }
        sqlite3_reset(reading->get());
    }
    reading->reset();
    return execute("COMMIT");
}

Result<void> LexiconWriter::writeSources(const std::vector<SourceRecord>& sources) {
    auto insert = prepare(m_db,
                          "INSERT INTO sources (id, display_name, url, license, license_url, "
                          "attribution, source_sha256) VALUES (?,?,?,?,?,?,?)");
    if (!insert) return tl::unexpected(insert.error());
    sqlite3_stmt* raw = insert->get();
    for (const SourceRecord& source : sources) {
        bindText(raw, 1, source.id);
        bindText(raw, 2, source.displayName);
        bindText(raw, 3, source.url);
        bindText(raw, 4, source.license);
        bindText(raw, 5, source.licenseUrl);
        bindText(raw, 6, source.attribution);
        bindText(raw, 7, source.sha256);
        if (sqlite3_step(raw) != SQLITE_DONE) {
            return fail("cannot store source " + source.id + ": " + sqlite3_errmsg(m_db));
        }
        sqlite3_reset(raw);
    }
    return {};
}

Result<void> LexiconWriter::writeCharacters(const std::vector<CharacterRow>& characters) {
    if (auto done = execute("BEGIN"); !done) return done;
    auto insert = prepare(m_db,
                          "INSERT INTO characters (language, character, stroke_count, "
                          "readings_json, kun_readings_json, meanings_json, grade, jlpt, "
                          "frequency, strokes) VALUES (?,?,?,?,?,?,?,?,?,?)");
    if (!insert) return tl::unexpected(insert.error());
    sqlite3_stmt* raw = insert->get();
    for (const CharacterRow& row : characters) {
        const std::string readings = jsonArray(row.readings);
        const std::string kunReadings = jsonArray(row.kunReadings);
        const std::string meanings = jsonArray(row.meanings);
        bindText(raw, 1, row.language);
        bindText(raw, 2, row.character);
        sqlite3_bind_int(raw, 3, row.strokeCount);
        bindText(raw, 4, readings);
        bindText(raw, 5, kunReadings);
        bindText(raw, 6, meanings);
        sqlite3_bind_int(raw, 7, row.grade);
        sqlite3_bind_int(raw, 8, row.jlpt);
        sqlite3_bind_int(raw, 9, row.frequency);
        if (row.strokes.empty()) {
            sqlite3_bind_null(raw, 10);
        } else {
            sqlite3_bind_blob(raw, 10, row.strokes.data(), static_cast<int>(row.strokes.size()),
                              SQLITE_STATIC);
        }
        if (sqlite3_step(raw) != SQLITE_DONE) {
            return fail("cannot store character " + row.character + ": " + sqlite3_errmsg(m_db));
        }
        sqlite3_reset(raw);
    }
    insert->reset();
    return execute("COMMIT");
}

Result<void> LexiconWriter::createIndexes() {
    for (const schema::IndexDefinition& index : schema::kIndexes) {
        if (auto done = execute(schema::createStatement(index).c_str()); !done) return done;
    }
    return {};
}

Result<std::string> LexiconWriter::rowFingerprint() {
    auto rows = prepare(m_db, "SELECT rowid, id FROM vocabulary ORDER BY rowid");
    if (!rows) return tl::unexpected(rows.error());
    sqlite3_stmt* raw = rows->get();
    Sha256 hash;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(raw)) == SQLITE_ROW) {
        const std::string rowid = std::to_string(sqlite3_column_int64(raw, 0));
        const auto* id = reinterpret_cast<const char*>(sqlite3_column_text(raw, 1));
        hash.update(rowid);
        hash.update("\x1F");
        hash.update(id ? id : "");
        hash.update("\n");
    }
    if (step != SQLITE_DONE) return fail(std::string("SQLite: ") + sqlite3_errmsg(m_db));
    const auto digest = hash.finish();
    return toHex(digest.data(), digest.size());
}

Result<void> LexiconWriter::finish() {
    // Stored search data refers to vocabulary rows by rowid; compacting must not renumber them.
    auto before = rowFingerprint();
    if (!before) return tl::unexpected(before.error());
    if (auto done = execute("ANALYZE; VACUUM;"); !done) return done;
    auto after = rowFingerprint();
    if (!after) return tl::unexpected(after.error());
    if (*after != *before) return fail("compacting the lexicon renumbered its vocabulary rows");
    if (sqlite3_close(m_db) != SQLITE_OK) return fail("cannot close the new lexicon");
    m_db = nullptr;

    // The bytes must be on disk before the name points at them.
    const int fd = ::open(m_temporary.c_str(), O_RDONLY);
    if (fd < 0 || ::fsync(fd) != 0) {
        if (fd >= 0) ::close(fd);
        return fail("cannot flush " + m_temporary.string());
    }
    ::close(fd);
    std::error_code error;
    std::filesystem::rename(m_temporary, m_destination, error);
    if (error) return fail("cannot move the lexicon into place: " + error.message());
    m_temporary.clear();
    const auto folder = m_destination.has_parent_path() ? m_destination.parent_path() : ".";
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

}  // namespace tessel::compiler
