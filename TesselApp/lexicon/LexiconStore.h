// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "LexiconError.h"
#include "LexiconRecords.h"
#include "Result.h"
#include "Vocabulary.h"

struct sqlite3;

namespace tessel {

class SearchIndex;

// Read-only access to the lexicon database: the study cards, the sizes, the data sources and
// the dictionary search. One store per application; the connection is opened in the library's
// serialized mode, so calls from several threads are safe. Every failure's description is a
// `LexiconError` description.
class LexiconStore {
  public:
    // The store on the first candidate that names an existing file (the candidates come from
    // bundledLexiconCandidates, LexiconLocation.h). Fails with missingBundledDatabase when none
    // exists, or with openFailed.
    static Result<std::shared_ptr<LexiconStore>> openFirstExisting(
        const std::vector<std::string>& candidates);

    // The store on the file at `databasePath`, opened read-only. Fails with openFailed (for
    // example a missing file or one that is not a database).
    static Result<std::shared_ptr<LexiconStore>> open(const std::string& databasePath);

    LexiconStore(const LexiconStore&) = delete;
    LexiconStore& operator=(const LexiconStore&) = delete;
    ~LexiconStore();

    const std::string& databasePath() const { return m_databasePath; }

    // The course cards of the language (learnable entries, each once with its first exercise),
    // exercise cards first, then by level, frequency rank and term; at most `limit` (negative
    // counts as 0, above 2147483647 as 2147483647). Fails with queryFailed.
    // Answers exactly as lessonsReference, usually without its sort and per-entry subquery.
    Result<std::vector<LexiconLesson>> lessons(LearningLanguage language, std::int64_t limit) const;

    // The same list from the one SQL query that defines it: slower, kept as the definition the
    // fast list is checked against. Fails with queryFailed.
    Result<std::vector<LexiconLesson>> lessonsReference(LearningLanguage language,
                                                        std::int64_t limit) const;

    // All entries, course entries and attached exercises of the language, as plain SQL counts
    // (a few milliseconds on the full lexicon). Fails with queryFailed (the first failing count).
    Result<LexiconCounts> counts(LearningLanguage language) const;

    // Every data source, ordered by display name. Fails with queryFailed.
    Result<std::vector<LexiconSource>> sources() const;

    // Dictionary search over term, alternate, reading, romanization and meanings: exact
    // term/alternate matches first, then term/alternate prefixes, then other matches, each
    // group course entries first, then by frequency rank and term; ASCII letters match either
    // case. A blank query lists the language's entries in that order. The entries found by the
    // query's romaji or pinyin interpretations (searchInterpretations) follow, without repeats.
    // At most `limit` (clamped as for lessons). Empty when nothing matches. Fails with
    // queryFailed.
    // Answers exactly as searchReference, usually from memory (the first search of a language
    // loads its search data).
    Result<std::vector<LexiconEntry>> search(std::string_view query, LearningLanguage language,
                                             std::int64_t limit) const;

    // The same search run as one SQL query over the whole table: slow, kept as the definition
    // the fast search is checked against.
    Result<std::vector<LexiconEntry>> searchReference(std::string_view query,
                                                      LearningLanguage language,
                                                      std::int64_t limit) const;

    // The character panel's facts and stroke data of `character` (one Han character, UTF-8) in
    // the language; nullopt when the lexicon has nothing on it. Fails with queryFailed.
    Result<std::optional<LexiconCharacter>> character(std::string_view character,
                                                      LearningLanguage language) const;

    // The course entries of the language whose term contains `character`, in course order
    // (band, frequency rank, term); at most `limit` (clamped as for lessons). Empty for an empty
    // `character`. Fails with queryFailed.
    Result<std::vector<LexiconEntry>> wordsWithCharacter(std::string_view character,
                                                         LearningLanguage language,
                                                         std::int64_t limit) const;

    // Loads the language's search data now instead of at its first search, and waits for stored
    // data to be checked against the table. Fails with queryFailed only when the data can
    // neither be loaded nor built; search still works then.
    Result<void> prepareSearch(LearningLanguage language) const;

  private:
    LexiconStore(sqlite3* database, std::string databasePath);

    struct SearchState {
        std::once_flag once;
        std::unique_ptr<SearchIndex> index;  // empty: answer with the SQL query
        std::atomic<bool> disabled{false};   // the index disagreed with the table
        std::string loadError;
        // Compares a stored index's fingerprint with the table's, off the calling thread, and
        // sets `disabled` when they differ. Invalid for an index built from the table.
        std::shared_future<void> check;
    };

    // Column 0 of the one row of `text` run with `code` bound first. Fails with queryFailed,
    // also when there is no row.
    Result<std::int64_t> scalar(const char* text, const std::string& code) const;
    SearchState& searchState(LearningLanguage language) const;
    // The SQL search for a trimmed query itself, and for a romanization interpretation.
    Result<std::vector<LexiconEntry>> searchAsWritten(const std::string& trimmed,
                                                      LearningLanguage language,
                                                      std::int64_t limit) const;
    Result<std::vector<LexiconEntry>> searchRomanization(const std::string& spelling,
                                                         LearningLanguage language,
                                                         std::int64_t limit) const;
    Result<std::vector<LexiconEntry>> fetchEntries(const SearchIndex& index,
                                                   const std::vector<std::uint32_t>& positions,
                                                   LearningLanguage language) const;

    sqlite3* m_database = nullptr;
    std::string m_databasePath;
    mutable std::array<SearchState, 2> m_search;
};

// "zh" for chinese, "ja" for japanese: the language codes of the database.
std::string lexiconLanguageCode(LearningLanguage language);

}  // namespace tessel
