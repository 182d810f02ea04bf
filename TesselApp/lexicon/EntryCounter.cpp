// SPDX-License-Identifier: GPL-3.0-or-later
#include "EntryCounter.h"

#include <sqlite3.h>

#include "SchemaCheck.h"
#include "SqliteStatement.h"

namespace tessel {
namespace {

// Each statement names the index so that the look-ups stay index seeks; a lexicon without it
// fails to prepare them and is counted the ordinary way.
constexpr const char* kFirstLanguageSQL =
    "SELECT language FROM vocabulary INDEXED BY vocabulary_language\n"
    "ORDER BY language LIMIT 1";
constexpr const char* kNextLanguageSQL =
    "SELECT language FROM vocabulary INDEXED BY vocabulary_language\n"
    "WHERE language > ? ORDER BY language LIMIT 1";
constexpr const char* kFirstRowidSQL =
    "SELECT rowid FROM vocabulary INDEXED BY vocabulary_language\n"
    "WHERE language = ? ORDER BY rowid LIMIT 1";
constexpr const char* kLastRowidSQL =
    "SELECT rowid FROM vocabulary INDEXED BY vocabulary_language\n"
    "WHERE language = ? ORDER BY rowid DESC LIMIT 1";
constexpr const char* kRowCountSQL = "SELECT COUNT(*) FROM vocabulary";

// Languages beyond this many are not worth the look-ups; the lexicon holds two.
constexpr int kMaxLanguages = 32;

// Column 0 of the statement's single row: nullopt on failure, an empty optional inside when
// there is no row.
std::optional<std::optional<std::int64_t>> singleInteger(SqliteStatement& statement) {
    auto stepped = statement.step();
    if (!stepped) return std::nullopt;
    if (!*stepped) return std::optional<std::int64_t>{};
    if (sqlite3_column_type(statement.handle(), 0) != SQLITE_INTEGER) return std::nullopt;
    return std::optional<std::int64_t>{statement.int64(0)};
}

// The next language in index order: nullopt on failure or a value that is not text, "" inside
// when there is none.
std::optional<std::optional<std::string>> nextLanguage(SqliteStatement& statement) {
    auto stepped = statement.step();
    if (!stepped) return std::nullopt;
    if (!*stepped) return std::optional<std::string>{};
    // NULL and numbers sort before text and blobs after it; neither is a language code.
    if (sqlite3_column_type(statement.handle(), 0) != SQLITE_TEXT) return std::nullopt;
    const auto* text = static_cast<const char*>(sqlite3_column_blob(statement.handle(), 0));
    const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement.handle(), 0));
    return std::optional<std::string>{std::string(text == nullptr ? "" : text, size)};
}

}  // namespace

std::optional<std::int64_t> entryCountFromRowidRuns(sqlite3* db, const std::string& code) {
    if (!columnComparesBytewise(db, "vocabulary", "language")) return std::nullopt;
    auto firstLanguage = SqliteStatement::prepare(db, kFirstLanguageSQL);
    auto following = SqliteStatement::prepare(db, kNextLanguageSQL);
    auto firstRowid = SqliteStatement::prepare(db, kFirstRowidSQL);
    auto lastRowid = SqliteStatement::prepare(db, kLastRowidSQL);
    auto rowCount = SqliteStatement::prepare(db, kRowCountSQL);
    if (!firstLanguage || !following || !firstRowid || !lastRowid || !rowCount) {
        return std::nullopt;
    }
    const auto total = singleInteger(*rowCount);
    if (!total || !*total || **total < 0) return std::nullopt;
    const auto rows = static_cast<std::uint64_t>(**total);

    std::uint64_t spans = 0;
    std::optional<std::uint64_t> wanted;
    auto language = nextLanguage(*firstLanguage);
    for (int seen = 0; language && *language; ++seen) {
        if (seen == kMaxLanguages) return std::nullopt;
        const std::string& value = **language;
        for (SqliteStatement* statement : {&*firstRowid, &*lastRowid}) {
            statement->reset();
            statement->bindTextBytes(1, value);
        }
        const auto low = singleInteger(*firstRowid);
        const auto high = singleInteger(*lastRowid);
        if (!low || !high || !*low || !*high) return std::nullopt;
        // Unsigned difference: row ids may span the whole 64-bit range.
        const std::uint64_t span =
            static_cast<std::uint64_t>(**high) - static_cast<std::uint64_t>(**low) + 1;
        if (span == 0 || span > rows - spans) return std::nullopt;
        spans += span;
        if (value == code) wanted = span;
        following->reset();
        following->bindTextBytes(1, value);
        language = nextLanguage(*following);
    }
    if (!language || spans != rows) return std::nullopt;
    return static_cast<std::int64_t>(wanted.value_or(0));
}

}  // namespace tessel
