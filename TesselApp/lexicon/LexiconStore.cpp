// SPDX-License-Identifier: GPL-3.0-or-later
#include "LexiconStore.h"

#include <algorithm>
#include <filesystem>
#include <limits>

#include <sqlite3.h>

#include "JsonStringList.h"
#include "LessonCard.h"
#include "LessonReader.h"
#include "LexiconSql.h"
#include "SearchIndex.h"
#include "SearchInterpretation.h"
#include "SearchText.h"
#include "SentenceReadings.h"
#include "SqliteStatement.h"

namespace tessel {
namespace {

int boundLimit(std::int64_t limit) {
    return static_cast<int>(
        std::clamp<std::int64_t>(limit, 0, std::numeric_limits<std::int32_t>::max()));
}

tl::unexpected<Error> queryFailed(const Error& libraryError) {
    return LexiconError::queryFailed(libraryError.description).unexpected();
}

// Reads every row of a bound statement; any step error drops the rows read so far.
template <class Row, class ReadRow>
Result<std::vector<Row>> readRows(SqliteStatement& statement, ReadRow readRow) {
    std::vector<Row> rows;
    while (true) {
        auto stepped = statement.step();
        if (!stepped) return queryFailed(stepped.error());
        if (!*stepped) return rows;
        rows.push_back(readRow(statement));
    }
}

LexiconEntry readEntry(const SqliteStatement& row, LearningLanguage language) {
    LexiconEntry entry;
    entry.id = row.text(0);
    entry.language = language;
    entry.term = row.text(1);
    entry.alternate = row.text(2);
    entry.reading = row.text(3);
    entry.romanization = row.text(4);
    entry.meanings = decodeJsonStringList(row.textView(5));
    entry.frequencyRank = row.int32(6);
    entry.level = row.int32(7);
    entry.isInCurriculum = row.int32(8) == 1;
    entry.source = row.text(9);
    entry.partsOfSpeech = decodeJsonStringList(row.textView(10));
    return entry;
}

LexiconLesson readLesson(const SqliteStatement& row, LearningLanguage language) {
    LessonRow fields;
    fields.id = row.textView(0);
    fields.term = row.textView(1);
    fields.alternate = row.textView(2);
    fields.reading = row.textView(3);
    fields.romanization = row.textView(4);
    fields.meaningsJson = row.textView(5);
    fields.frequencyRank = row.int32(6);
    fields.level = row.int32(7);
    fields.partsOfSpeechJson = row.textView(8);
    fields.prompt = row.textView(9);
    fields.translation = row.textView(10);
    fields.note = row.textView(11);
    fields.acceptedAnswersJson = row.textView(12);
    fields.exerciseAttribution = row.textView(13);
    fields.exerciseId = row.textView(14);
    fields.source = row.textView(15);
    return makeLesson(fields, language);
}

}  // namespace

std::string lexiconLanguageCode(LearningLanguage language) {
    return language == LearningLanguage::japanese ? "ja" : "zh";
}

LexiconStore::LexiconStore(sqlite3* database, std::string databasePath)
    : m_database(database), m_databasePath(std::move(databasePath)) {}

LexiconStore::~LexiconStore() {
    for (const SearchState& state : m_search) {
        if (state.check.valid()) state.check.wait();
    }
    sqlite3_close(m_database);
}

Result<std::shared_ptr<LexiconStore>> LexiconStore::openFirstExisting(
    const std::vector<std::string>& candidates) {
    for (const std::string& candidate : candidates) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) return open(candidate);
    }
    return LexiconError::missingBundledDatabase().unexpected();
}

Result<std::shared_ptr<LexiconStore>> LexiconStore::open(const std::string& databasePath) {
    sqlite3* database = nullptr;
    const int rc = sqlite3_open_v2(databasePath.c_str(), &database,
                                   SQLITE_OPEN_READONLY | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = sqliteMessage(database);
        sqlite3_close(database);
        return LexiconError::openFailed(std::move(message)).unexpected();
    }
    sqlite3_busy_timeout(database, 1000);
    // Mapped reads skip a system call and a copy per page; the first search of a language
    // reads tens of megabytes of search data. Failing to map only costs speed.
    sqlite3_exec(database, "PRAGMA mmap_size = 268435456", nullptr, nullptr, nullptr);
    // The library opens lazily; read the schema now so that a file that is not a database is
    // reported as an opening failure instead of failing every later query.
    if (sqlite3_exec(database, "SELECT 1 FROM sqlite_master LIMIT 1", nullptr, nullptr, nullptr) !=
        SQLITE_OK) {
        std::string message = sqliteMessage(database);
        sqlite3_close(database);
        return LexiconError::openFailed(std::move(message)).unexpected();
    }
    return std::shared_ptr<LexiconStore>(new LexiconStore(database, databasePath));
}

Result<std::optional<LexiconCharacter>> LexiconStore::character(std::string_view character,
                                                                LearningLanguage language) const {
    auto statement = SqliteStatement::prepare(m_database, sql::kCharacterSQL);
    if (!statement) return queryFailed(statement.error());
    statement->bindText(1, lexiconLanguageCode(language));
    statement->bindTextBytes(2, character);
    auto stepped = statement->step();
    if (!stepped) return queryFailed(stepped.error());
    if (!*stepped) return std::optional<LexiconCharacter>();
    LexiconCharacter found;
    found.character = std::string(character);
    found.language = language;
    found.strokeCount = statement->int64(0);
    found.readings = decodeJsonStringList(statement->textView(1));
    found.kunReadings = decodeJsonStringList(statement->textView(2));
    found.meanings = decodeJsonStringList(statement->textView(3));
    found.grade = statement->int64(4);
    found.jlpt = statement->int64(5);
    found.frequency = statement->int64(6);
    found.strokes = std::string(statement->blob(7));
    return std::optional<LexiconCharacter>(std::move(found));
}

Result<std::vector<LexiconEntry>> LexiconStore::wordsWithCharacter(std::string_view character,
                                                                   LearningLanguage language,
                                                                   std::int64_t limit) const {
    // instr() with an empty needle matches every term.
    if (character.empty()) return std::vector<LexiconEntry>();
    auto statement = SqliteStatement::prepare(m_database, sql::kWordsWithCharacterSQL);
    if (!statement) return queryFailed(statement.error());
    statement->bindText(1, lexiconLanguageCode(language));
    statement->bindTextBytes(2, character);
    statement->bindInt(3, boundLimit(limit));
    return readRows<LexiconEntry>(
        *statement, [language](const SqliteStatement& row) { return readEntry(row, language); });
}

Result<std::vector<LexiconLesson>> LexiconStore::lessons(LearningLanguage language,
                                                         std::int64_t limit) const {
    auto fast =
        readCourseLessons(m_database, language, lexiconLanguageCode(language), boundLimit(limit));
    if (!fast) return lessonsReference(language, limit);
    attachSentenceReadings(m_database, *fast);
    return std::move(*fast);
}

Result<std::vector<LexiconLesson>> LexiconStore::lessonsReference(LearningLanguage language,
                                                                  std::int64_t limit) const {
    auto statement = SqliteStatement::prepare(m_database, sql::kLessonsSQL);
    if (!statement) return queryFailed(statement.error());
    statement->bindText(1, lexiconLanguageCode(language));
    statement->bindInt(2, boundLimit(limit));
    auto lessons = readRows<LexiconLesson>(
        *statement, [&](const SqliteStatement& row) { return readLesson(row, language); });
    if (lessons) attachSentenceReadings(m_database, *lessons);
    return lessons;
}

Result<std::int64_t> LexiconStore::scalar(const char* text, const std::string& code) const {
    auto statement = SqliteStatement::prepare(m_database, text);
    if (!statement) return queryFailed(statement.error());
    statement->bindText(1, code);
    auto stepped = statement->step();
    if (!stepped) return queryFailed(stepped.error());
    if (!*stepped) return LexiconError::queryFailed(sqliteMessage(m_database)).unexpected();
    return statement->int64(0);
}

Result<LexiconCounts> LexiconStore::counts(LearningLanguage language) const {
    const std::string code = lexiconLanguageCode(language);
    LexiconCounts counts;
    for (auto [text, field] :
         {std::pair{sql::kReferenceCountSQL, &LexiconCounts::referenceEntries},
          std::pair{sql::kCurriculumCountSQL, &LexiconCounts::curriculumEntries},
          std::pair{sql::kExerciseCountSQL, &LexiconCounts::contextualExercises}}) {
        auto value = scalar(text, code);
        if (!value) return tl::unexpected(value.error());
        counts.*field = *value;
    }
    return counts;
}

Result<std::vector<LexiconSource>> LexiconStore::sources() const {
    auto statement = SqliteStatement::prepare(m_database, sql::kSourcesSQL);
    if (!statement) return queryFailed(statement.error());
    return readRows<LexiconSource>(*statement, [](const SqliteStatement& row) {
        return LexiconSource{row.text(0), row.text(1), row.text(2), row.text(3),
                             row.text(4), row.text(5), row.text(6)};
    });
}

Result<std::vector<LexiconEntry>> LexiconStore::searchReference(std::string_view query,
                                                                LearningLanguage language,
                                                                std::int64_t limit) const {
    const std::string trimmed = trimmedSearchText(query);
    auto entries = searchAsWritten(trimmed, language, limit);
    if (!entries || trimmed.empty()) return entries;
    const auto byId = [](const LexiconEntry& entry) -> const std::string& { return entry.id; };
    const auto wanted = static_cast<std::size_t>(boundLimit(limit));
    for (const SearchInterpretation& meant : searchInterpretations(trimmed, language)) {
        if (entries->size() >= wanted) break;
        auto found = meant.romanizationOnly ? searchRomanization(meant.text, language, limit)
                                            : searchAsWritten(meant.text, language, limit);
        if (!found) return found;
        appendUnlisted(*entries, std::move(*found), wanted, byId);
    }
    return entries;
}

Result<std::vector<LexiconEntry>> LexiconStore::searchAsWritten(const std::string& trimmed,
                                                                LearningLanguage language,
                                                                std::int64_t limit) const {
    const bool browsing = trimmed.empty();
    auto statement =
        SqliteStatement::prepare(m_database, browsing ? sql::kBrowseSQL : sql::kSearchSQL);
    if (!statement) return queryFailed(statement.error());
    statement->bindText(1, lexiconLanguageCode(language));
    if (browsing) {
        statement->bindInt(2, boundLimit(limit));
    } else {
        const std::string escaped = escapedForLike(trimmed);
        const std::string contains = "%" + escaped + "%";
        const std::string prefix = escaped + "%";
        for (int index = 2; index <= 6; ++index) statement->bindText(index, contains);
        statement->bindText(7, trimmed);
        statement->bindText(8, trimmed);
        statement->bindText(9, prefix);
        statement->bindText(10, prefix);
        statement->bindInt(11, boundLimit(limit));
    }
    return readRows<LexiconEntry>(
        *statement, [&](const SqliteStatement& row) { return readEntry(row, language); });
}

Result<std::vector<LexiconEntry>> LexiconStore::searchRomanization(const std::string& spelling,
                                                                   LearningLanguage language,
                                                                   std::int64_t limit) const {
    auto statement = SqliteStatement::prepare(m_database, sql::kRomanizationSearchSQL);
    if (!statement) return queryFailed(statement.error());
    const std::string escaped = escapedForLike(spelling);
    statement->bindText(1, lexiconLanguageCode(language));
    statement->bindText(2, "%" + escaped + "%");
    statement->bindText(3, spelling);
    statement->bindText(4, escaped + "%");
    statement->bindInt(5, boundLimit(limit));
    return readRows<LexiconEntry>(
        *statement, [&](const SqliteStatement& row) { return readEntry(row, language); });
}

LexiconStore::SearchState& LexiconStore::searchState(LearningLanguage language) const {
    SearchState& state = m_search[language == LearningLanguage::japanese ? 1 : 0];
    std::call_once(state.once, [&] {
        const std::string code = lexiconLanguageCode(language);
        // The stored copy loads in milliseconds; building from the table takes a few hundred
        // on the full lexicon and is the fallback for files written without it.
        auto stored = SearchIndex::load(m_database, code);
        if (stored && *stored) {
            state.index = std::make_unique<SearchIndex>(std::move(**stored));
            // Rows edited in place keep their ids, so only the content tells. Reading it all
            // takes tens of milliseconds, too long for the start-up's first (browsing) search,
            // so it runs beside it; typed searches wait for the verdict (see search()).
            state.check =
                std::async(std::launch::async, [this, code, &state,
                                                expected = state.index->contentFingerprint()] {
                    const auto actual = SearchIndex::tableFingerprint(m_database, code);
                    if (!actual || *actual != expected) state.disabled.store(true);
                }).share();
            return;
        }
        auto built = SearchIndex::build(m_database, code);
        if (built) {
            state.index = std::make_unique<SearchIndex>(std::move(*built));
        } else {
            state.loadError = built.error().description;
        }
    });
    return state;
}

Result<void> LexiconStore::prepareSearch(LearningLanguage language) const {
    const SearchState& state = searchState(language);
    if (const std::shared_future<void> check = state.check; check.valid()) check.wait();
    if (!state.index) return LexiconError::queryFailed(state.loadError).unexpected();
    return {};
}

Result<std::vector<LexiconEntry>> LexiconStore::search(std::string_view query,
                                                       LearningLanguage language,
                                                       std::int64_t limit) const {
    SearchState& state = searchState(language);
    const std::string trimmed = trimmedSearchText(query);
    const int patternLimit = sqlite3_limit(m_database, SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1);
    // Browsing lists the first entries and reads each back from the table (see fetchEntries),
    // so it need not wait for the stored data's check; a query must not miss an edited row.
    if (const std::shared_future<void> check = state.check; check.valid() && !trimmed.empty()) {
        check.wait();
    }
    if (!state.index || state.disabled.load() || !SearchIndex::canAnswer(trimmed, patternLimit)) {
        return searchReference(query, language, limit);
    }
    const auto wanted = static_cast<std::size_t>(boundLimit(limit));
    const std::vector<SearchInterpretation> interpretations =
        trimmed.empty() ? std::vector<SearchInterpretation>()
                        : searchInterpretations(trimmed, language);
    for (const SearchInterpretation& meant : interpretations) {
        if (!SearchIndex::canAnswer(meant.text, patternLimit)) {
            return searchReference(query, language, limit);
        }
    }
    auto positions = state.index->find(trimmed, wanted);
    for (const SearchInterpretation& meant : interpretations) {
        if (positions.size() >= wanted) break;
        appendUnlisted(positions,
                       meant.romanizationOnly ? state.index->findRomanization(meant.text, wanted)
                                              : state.index->find(meant.text, wanted),
                       wanted, [](std::uint32_t position) { return position; });
    }
    auto entries = fetchEntries(*state.index, positions, language);
    if (!entries) return tl::unexpected(entries.error());
    if (entries->size() != positions.size()) {
        // The stored search data no longer describes this table (a lexicon edited after it
        // was written): answer from the table from now on.
        state.disabled.store(true);
        return searchReference(query, language, limit);
    }
    return entries;
}

// The list stops at the first row that is gone or whose term or alternate disagree with the
// index; the caller sees a short list.
Result<std::vector<LexiconEntry>> LexiconStore::fetchEntries(
    const SearchIndex& index, const std::vector<std::uint32_t>& positions,
    LearningLanguage language) const {
    std::vector<LexiconEntry> entries;
    if (positions.empty()) return entries;
    auto statement = SqliteStatement::prepare(m_database, sql::kEntryByRowidSQL);
    if (!statement) return queryFailed(statement.error());
    const std::string code = lexiconLanguageCode(language);
    entries.reserve(positions.size());
    for (const std::uint32_t position : positions) {
        statement->reset();
        statement->bindInt64(1, index.rowid(position));
        statement->bindText(2, code);
        auto stepped = statement->step();
        if (!stepped) return queryFailed(stepped.error());
        if (!*stepped) return entries;
        LexiconEntry entry = readEntry(*statement, language);
        if (entry.term != index.field(position, 0) || entry.alternate != index.field(position, 1)) {
            return entries;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace tessel
