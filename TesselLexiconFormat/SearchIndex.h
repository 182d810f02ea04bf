// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Result.h"

// Why this fast path exists: the dictionary searches as the learner types, and every keystroke's
// results must appear within a frame or two (a few milliseconds per search) on the full lexicon,
// where the plain LIKE query (LexiconStore::searchReference) takes tens to hundreds of
// milliseconds. Measured by bench/app/lexicon (lexicon_bench: "search 80" against "search 80,
// SQL query as written", and "first search load"); held to the plain query by
// tests/app/lexicon/SearchDifferentialTest.cpp and RealLexiconDifferentialTest.

struct sqlite3;

namespace tessel {

// The searchable text of one language held in memory, in the order search results are listed
// (course entries first, then frequency rank, term and row), so that a search reads the best
// matches first and stops at the limit instead of matching and sorting the whole table.
//
// Each entry's term, alternate, reading, romanization and raw meanings JSON are kept as one
// record of five fields, each followed by the byte 0x1F; a query holding 0x1F can therefore
// never match across fields, and such queries are left to the database.
class SearchIndex {
  public:
    // Position of an entry in result order.
    using Position = std::uint32_t;

    // The version of the stored parts' layout in the table schema::kSearchIndex.
    static constexpr int kFormatVersion = 2;

    // The index of every `vocabulary` row whose language is `languageCode`, read from the table.
    // Fails with the library's message, or when a rowid does not fit 32 bits.
    // REQUIRES: `db` is open and has the `vocabulary` table.
    static Result<SearchIndex> build(sqlite3* db, const std::string& languageCode);

    // The index stored by `save`, or nothing when the database holds none of the current format
    // for this language, the stored parts do not fit together, or rows were added to the table
    // since. Rows edited in place are not noticed here: compare contentFingerprint() with the
    // table's. Fails with the library's message when reading fails.
    static Result<std::optional<SearchIndex>> load(sqlite3* db, const std::string& languageCode);

    // A fingerprint of the searchable text of every `vocabulary` row of `languageCode` (row ids,
    // the five fields and their types): any edit, addition or removal changes it. Reads the
    // whole language, about 40 ms per 100,000 rows. Fails with the library's message.
    static Result<std::uint64_t> tableFingerprint(sqlite3* db, const std::string& languageCode);
    // The table's fingerprint when the index was built.
    std::uint64_t contentFingerprint() const { return m_fingerprint; }

    // Writes the index into the table `search_index` (created when missing), replacing any
    // stored index of the same language. Fails with the library's message.
    // REQUIRES: `db` is writable; run it after anything that could renumber the rows (VACUUM).
    Result<void> save(sqlite3* db) const;

    // True when `find` answers exactly like the stored LIKE query for this trimmed query: valid
    // UTF-8 without the bytes 0x00, 0x1E, 0x1F, and a LIKE pattern within `maxPatternLength`.
    static bool canAnswer(std::string_view trimmedQuery, int maxPatternLength);

    // The positions of the first `limit` results for the trimmed query: for an empty query the
    // first entries; otherwise exact term/alternate matches, then prefix matches, then any other
    // match, each group in result order. Empty when nothing matches.
    // REQUIRES: canAnswer(trimmedQuery, ...).
    std::vector<Position> find(std::string_view trimmedQuery, std::size_t limit) const;

    // The positions of the first `limit` entries whose romanization contains `spelling` (ASCII
    // letters in either case): those whose romanization equals it (byte for byte) first, then
    // those beginning with it, then the rest, each group in result order. Empty when nothing
    // matches. REQUIRES: canAnswer(spelling, ...) and a non-empty spelling.
    std::vector<Position> findRomanization(std::string_view spelling, std::size_t limit) const;

    const std::string& languageCode() const { return m_language; }
    std::size_t size() const { return m_rowids.size(); }
    std::int64_t rowid(Position position) const { return m_rowids[position]; }
    // Field 0 term, 1 alternate, 2 reading, 3 romanization, 4 meanings JSON of an entry.
    std::string_view field(Position position, int field) const;

  private:
    struct Match {
        Position position;
        int group;  // 0 exact, 1 prefix
    };

    static constexpr char kFieldEnd = '\x1F';

    // The highest rowid of the whole table: rows added after the index was built raise it.
    static Result<std::int64_t> highestRowid(sqlite3* db);

    std::vector<Match> termMatches(std::string_view query) const;
    // Fills the romanization lookup from the records; run once the records are in place.
    void indexRomanizations();
    void buildRomanizationText();
    std::string_view loweredRomanization(Position position) const;
    std::string_view keyText(std::uint32_t key) const;
    bool isConsistent() const;

    std::string m_language;
    std::vector<std::uint32_t> m_rowids;   // by position
    std::vector<std::uint32_t> m_offsets;  // record starts by position, then the text's size
    std::string m_text;
    // Non-empty terms and alternates as position * 2 + field, ordered by their ASCII-lowered
    // text, so the keys beginning with a query form one run.
    std::vector<std::uint32_t> m_keys;
    std::uint32_t m_highestRowid = 0;  // of the whole table when the index was built
    std::uint64_t m_fingerprint = 0;
    // Romanizations ASCII-lowered, each followed by kFieldEnd, with their starts by position
    // (then the text's size), and the positions with one, ordered by it. Stored as optional
    // parts: files written before them build them on loading.
    std::string m_romanText;
    std::vector<std::uint32_t> m_romanOffsets;
    std::vector<std::uint32_t> m_romanKeys;
};

}  // namespace tessel
