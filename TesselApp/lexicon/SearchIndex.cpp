#include "SearchIndex.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include <sqlite3.h>

#include "CaseFoldingFinder.h"
#include "SearchText.h"
#include "SqliteStatement.h"

namespace tessel {
namespace {

constexpr char kFieldEnd = '\x1F';
constexpr int kFieldCount = 5;

constexpr const char* kRowsInResultOrderSQL =
    "SELECT rowid, term, alternate, reading, romanization, meanings_json\n"
    "FROM vocabulary\n"
    "WHERE language = ?\n"
    "ORDER BY learnable DESC, frequency_rank, term, rowid";

inline unsigned char lowerASCII(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// Orders `text` (folded here) against `loweredQuery`, comparing only the query's length when
// `prefixOnly`: the key order is the byte order of the folded text.
int compareFolded(std::string_view text, std::string_view loweredQuery, bool prefixOnly) {
    const std::size_t n = std::min(text.size(), loweredQuery.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char a = lowerASCII(static_cast<unsigned char>(text[i]));
        const auto b = static_cast<unsigned char>(loweredQuery[i]);
        if (a != b) return a < b ? -1 : 1;
    }
    if (text.size() >= loweredQuery.size()) return (prefixOnly || text.size() == n) ? 0 : 1;
    return -1;
}

std::string encodeWords(const std::vector<std::uint32_t>& words) {
    std::string bytes(words.size() * 4, '\0');
    for (std::size_t i = 0; i < words.size(); ++i) {
        for (int b = 0; b < 4; ++b) bytes[i * 4 + b] = static_cast<char>(words[i] >> (8 * b));
    }
    return bytes;
}

std::optional<std::vector<std::uint32_t>> decodeWords(const std::string& bytes) {
    if (bytes.size() % 4 != 0) return std::nullopt;
    std::vector<std::uint32_t> words(bytes.size() / 4);
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(words.data(), bytes.data(), bytes.size());
    } else {
        for (std::size_t i = 0; i < words.size(); ++i) {
            std::uint32_t word = 0;
            for (int b = 3; b >= 0; --b) {
                word = (word << 8) | static_cast<unsigned char>(bytes[i * 4 + b]);
            }
            words[i] = word;
        }
    }
    return words;
}

Result<std::string> readBlob(sqlite3* db, std::int64_t rowid) {
    sqlite3_blob* blob = nullptr;
    if (sqlite3_blob_open(db, "main", SearchIndex::kTableName, "data", rowid, 0, &blob) !=
        SQLITE_OK) {
        std::string message = sqliteMessage(db);
        sqlite3_blob_close(blob);
        return fail(std::move(message));
    }
    std::string bytes(static_cast<std::size_t>(sqlite3_blob_bytes(blob)), '\0');
    const int rc = bytes.empty() ? SQLITE_OK
                                 : sqlite3_blob_read(blob, bytes.data(),
                                                     static_cast<int>(bytes.size()), 0);
    if (rc != SQLITE_OK) {
        std::string message = sqliteMessage(db);
        sqlite3_blob_close(blob);
        return fail(std::move(message));
    }
    sqlite3_blob_close(blob);
    return bytes;
}

// The highest rowid of the whole table: rows added after the index was written raise it.
Result<std::int64_t> highestRowid(sqlite3* db) {
    auto statement = SqliteStatement::prepare(db, "SELECT COALESCE(MAX(rowid), 0) FROM vocabulary");
    if (!statement) return tl::unexpected(statement.error());
    auto row = statement->step();
    if (!row) return tl::unexpected(row.error());
    return *row ? statement->int64(0) : 0;
}

Result<void> run(sqlite3* db, const char* sql) {
    auto statement = SqliteStatement::prepare(db, sql);
    if (!statement) return tl::unexpected(statement.error());
    auto stepped = statement->step();
    if (!stepped) return tl::unexpected(stepped.error());
    return {};
}

}  // namespace

Result<SearchIndex> SearchIndex::build(sqlite3* db, const std::string& languageCode) {
    auto statement = SqliteStatement::prepare(db, kRowsInResultOrderSQL);
    if (!statement) return tl::unexpected(statement.error());
    statement->bindText(1, languageCode);

    SearchIndex index;
    index.m_language = languageCode;
    while (true) {
        auto row = statement->step();
        if (!row) return tl::unexpected(row.error());
        if (!*row) break;
        const std::int64_t rowid = statement->int64(0);
        if (rowid < 0 || rowid > std::numeric_limits<std::uint32_t>::max()) {
            return fail("search index: rowid " + std::to_string(rowid) + " out of range");
        }
        index.m_rowids.push_back(static_cast<std::uint32_t>(rowid));
        index.m_offsets.push_back(static_cast<std::uint32_t>(index.m_text.size()));
        for (int field = 0; field < kFieldCount; ++field) {
            // LIKE never matches a blob value, and an equality with text never holds for one.
            const int type = sqlite3_column_type(statement->handle(), field + 1);
            std::string_view text =
                type == SQLITE_BLOB ? std::string_view() : statement->textView(field + 1);
            if (text.find('\0') != std::string_view::npos) {
                // LIKE stops at a NUL while equality does not; no answer could match both.
                return fail("search index: row " + std::to_string(rowid) + " holds a NUL byte");
            }
            const std::size_t start = index.m_text.size();
            index.m_text.append(text);
            // A stray separator inside the data must not split the record; queries holding
            // one never reach the index, so the replacement changes no answer.
            std::replace(index.m_text.begin() + static_cast<std::ptrdiff_t>(start),
                         index.m_text.end(), kFieldEnd, '\x1E');
            index.m_text.push_back(kFieldEnd);
        }
        if (index.m_text.size() > std::numeric_limits<std::uint32_t>::max()) {
            return fail("search index: text too large");
        }
    }
    index.m_offsets.push_back(static_cast<std::uint32_t>(index.m_text.size()));
    auto highest = highestRowid(db);
    if (!highest) return tl::unexpected(highest.error());
    if (*highest > std::numeric_limits<std::uint32_t>::max()) {
        return fail("search index: rowid " + std::to_string(*highest) + " out of range");
    }
    index.m_highestRowid = static_cast<std::uint32_t>(*highest);

    for (Position position = 0; position < index.m_rowids.size(); ++position) {
        for (std::uint32_t field = 0; field < 2; ++field) {
            if (!index.field(position, static_cast<int>(field)).empty()) {
                index.m_keys.push_back(position * 2 + field);
            }
        }
    }
    std::vector<std::string> folded(index.m_keys.size());
    for (std::size_t i = 0; i < index.m_keys.size(); ++i) {
        folded[i] = asciiLowered(index.keyText(index.m_keys[i]));
    }
    std::vector<std::uint32_t> order(index.m_keys.size());
    for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return folded[a] < folded[b];
    });
    std::vector<std::uint32_t> keys(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) keys[i] = index.m_keys[order[i]];
    index.m_keys = std::move(keys);
    return index;
}

Result<std::optional<SearchIndex>> SearchIndex::load(sqlite3* db,
                                                     const std::string& languageCode) {
    auto exists = SqliteStatement::prepare(
        db, "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = 'search_index'");
    if (!exists) return tl::unexpected(exists.error());
    auto existsRow = exists->step();
    if (!existsRow) return tl::unexpected(existsRow.error());
    if (!*existsRow || exists->int64(0) == 0) return std::optional<SearchIndex>();

    auto parts = SqliteStatement::prepare(
        db, "SELECT rowid, part, format FROM search_index WHERE language = ?");
    if (!parts) return tl::unexpected(parts.error());
    parts->bindText(1, languageCode);

    SearchIndex index;
    index.m_language = languageCode;
    int found = 0;
    while (true) {
        auto row = parts->step();
        if (!row) return tl::unexpected(row.error());
        if (!*row) break;
        if (parts->int64(2) != kFormatVersion) return std::optional<SearchIndex>();
        auto bytes = readBlob(db, parts->int64(0));
        if (!bytes) return tl::unexpected(bytes.error());
        const std::string part = parts->text(1);
        if (part == "text") {
            index.m_text = std::move(*bytes);
            ++found;
            continue;
        }
        auto words = decodeWords(*bytes);
        if (!words) return std::optional<SearchIndex>();
        if (part == "rowids") {
            index.m_rowids = std::move(*words);
        } else if (part == "offsets") {
            index.m_offsets = std::move(*words);
        } else if (part == "keys") {
            index.m_keys = std::move(*words);
        } else if (part == "meta") {
            if (words->size() != 1) return std::optional<SearchIndex>();
            index.m_highestRowid = words->front();
        } else {
            continue;
        }
        ++found;
    }
    if (found != 5 || !index.isConsistent()) return std::optional<SearchIndex>();
    auto highest = highestRowid(db);
    if (!highest) return tl::unexpected(highest.error());
    if (*highest != index.m_highestRowid) return std::optional<SearchIndex>();
    return std::optional<SearchIndex>(std::move(index));
}

bool SearchIndex::isConsistent() const {
    const std::size_t n = m_rowids.size();
    if (m_offsets.size() != n + 1 || m_offsets.front() != 0 || m_offsets.back() != m_text.size()) {
        return false;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (m_offsets[i + 1] <= m_offsets[i] || m_text[m_offsets[i + 1] - 1] != kFieldEnd) {
            return false;
        }
    }
    return std::all_of(m_keys.begin(), m_keys.end(),
                       [&](std::uint32_t key) { return key / 2 < n; });
}

Result<void> SearchIndex::save(sqlite3* db) const {
    auto created = run(db,
                       "CREATE TABLE IF NOT EXISTS search_index (\n"
                       "    language TEXT NOT NULL,\n"
                       "    part TEXT NOT NULL,\n"
                       "    format INTEGER NOT NULL,\n"
                       "    data BLOB NOT NULL,\n"
                       "    UNIQUE (language, part)\n"
                       ")");
    if (!created) return created;
    auto removed = SqliteStatement::prepare(db, "DELETE FROM search_index WHERE language = ?");
    if (!removed) return tl::unexpected(removed.error());
    removed->bindText(1, m_language);
    if (auto done = removed->step(); !done) return tl::unexpected(done.error());

    const std::pair<const char*, std::string> parts[] = {
        {"rowids", encodeWords(m_rowids)},
        {"offsets", encodeWords(m_offsets)},
        {"text", m_text},
        {"keys", encodeWords(m_keys)},
        {"meta", encodeWords({m_highestRowid})},
    };
    for (const auto& [name, bytes] : parts) {
        auto insert = SqliteStatement::prepare(
            db, "INSERT INTO search_index (language, part, format, data) VALUES (?, ?, ?, ?)");
        if (!insert) return tl::unexpected(insert.error());
        insert->bindText(1, m_language);
        insert->bindText(2, name);
        insert->bindInt(3, kFormatVersion);
        insert->bindBlob(4, bytes);
        if (auto done = insert->step(); !done) return tl::unexpected(done.error());
    }
    return {};
}

bool SearchIndex::canAnswer(std::string_view trimmedQuery, int maxPatternLength) {
    if (trimmedQuery.find_first_of(std::string_view("\0\x1E\x1F", 3)) != std::string_view::npos) {
        return false;
    }
    // Beyond the pattern limit the database reports an error, which only it can give.
    const std::size_t patternLength = escapedForLike(trimmedQuery).size() + 2;
    if (maxPatternLength >= 0 && patternLength > static_cast<std::size_t>(maxPatternLength)) {
        return false;
    }
    return isValidUTF8(trimmedQuery);
}

std::string_view SearchIndex::field(Position position, int field) const {
    std::string_view record(m_text.data() + m_offsets[position],
                            m_offsets[position + 1] - m_offsets[position]);
    for (int i = 0; i < field; ++i) record.remove_prefix(record.find(kFieldEnd) + 1);
    return record.substr(0, record.find(kFieldEnd));
}

std::string_view SearchIndex::keyText(std::uint32_t key) const {
    return field(key / 2, static_cast<int>(key % 2));
}

std::vector<SearchIndex::Match> SearchIndex::termMatches(std::string_view query) const {
    const std::string lowered = asciiLowered(query);
    auto it = std::partition_point(m_keys.begin(), m_keys.end(), [&](std::uint32_t key) {
        return compareFolded(keyText(key), lowered, false) < 0;
    });
    std::vector<Match> matches;
    for (; it != m_keys.end() && compareFolded(keyText(*it), lowered, true) == 0; ++it) {
        const Position position = *it / 2;
        const bool exact = field(position, 0) == query || field(position, 1) == query;
        matches.push_back({position, exact ? 0 : 1});
    }
    // A term and its alternate may both begin with the query; the entry is listed once.
    std::sort(matches.begin(), matches.end(),
              [](const Match& a, const Match& b) { return a.position < b.position; });
    matches.erase(std::unique(matches.begin(), matches.end(),
                              [](const Match& a, const Match& b) {
                                  return a.position == b.position;
                              }),
                  matches.end());
    std::stable_sort(matches.begin(), matches.end(),
                     [](const Match& a, const Match& b) { return a.group < b.group; });
    return matches;
}

std::vector<SearchIndex::Position> SearchIndex::find(std::string_view query,
                                                     std::size_t limit) const {
    std::vector<Position> results;
    if (query.empty()) {
        const std::size_t count = std::min(limit, m_rowids.size());
        results.reserve(count);
        for (Position position = 0; position < count; ++position) results.push_back(position);
        return results;
    }
    const std::vector<Match> matches = termMatches(query);
    for (const Match& match : matches) {
        if (results.size() == limit) return results;
        results.push_back(match.position);
    }
    if (results.size() == limit) return results;

    std::vector<Position> listed(results.begin(), results.end());
    std::sort(listed.begin(), listed.end());
    const CaseFoldingFinder finder(query);
    std::size_t from = 0;
    while (results.size() < limit) {
        const std::size_t hit = finder.find(m_text, from);
        if (hit == CaseFoldingFinder::npos) break;
        const auto next = std::upper_bound(m_offsets.begin(), m_offsets.end(), hit);
        const auto position = static_cast<Position>(next - m_offsets.begin() - 1);
        if (!std::binary_search(listed.begin(), listed.end(), position)) {
            results.push_back(position);
        }
        from = *next;
    }
    return results;
}

}  // namespace tessel
