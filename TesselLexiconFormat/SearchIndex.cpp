// SPDX-License-Identifier: GPL-3.0-or-later
#include "SearchIndex.h"

#include <algorithm>
#include <limits>

#include <sqlite3.h>

#include "CaseFoldingFinder.h"
#include "SearchText.h"
#include "SqliteStatement.h"
#include "Utf8.h"

namespace tessel {
namespace {

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

// One row's share of a fingerprint: FNV-1a over the row id and each field's type and bytes,
// then mixed (SplitMix64's finaliser) so that adding the shares up, in whatever order the rows
// come, still tells rows apart.
std::uint64_t rowShare(sqlite3_stmt* row) {
    std::uint64_t hash = 14695981039346656037ull;
    const auto add = [&hash](const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
    };
    const std::int64_t rowid = sqlite3_column_int64(row, 0);
    add(&rowid, sizeof rowid);
    for (int column = 1; column <= kFieldCount; ++column) {
        const auto type = static_cast<unsigned char>(sqlite3_column_type(row, column));
        add(&type, 1);
        const void* bytes = type == SQLITE_BLOB ? sqlite3_column_blob(row, column)
                                                : sqlite3_column_text(row, column);
        add(bytes, static_cast<std::size_t>(sqlite3_column_bytes(row, column)));
        add("\x1F", 1);
    }
    hash = (hash ^ (hash >> 30)) * 0xbf58476d1ce4e5b9ull;
    hash = (hash ^ (hash >> 27)) * 0x94d049bb133111ebull;
    return hash ^ (hash >> 31);
}

// Appends, up to `limit`, the positions whose field in `text` (fields start at `offsets`, the last
// offset being the text's size) contains `needle` and that `results` does not hold yet, in the
// order of the text.
void appendContaining(std::string_view needle, const std::string& text,
                      const std::vector<std::uint32_t>& offsets, std::size_t limit,
                      std::vector<SearchIndex::Position>& results) {
    std::vector<SearchIndex::Position> listed(results.begin(), results.end());
    std::sort(listed.begin(), listed.end());
    const CaseFoldingFinder finder(needle);
    std::size_t from = 0;
    while (results.size() < limit) {
        const std::size_t hit = finder.find(text, from);
        if (hit == CaseFoldingFinder::npos) break;
        const auto next = std::upper_bound(offsets.begin(), offsets.end(), hit);
        const auto position = static_cast<SearchIndex::Position>(next - offsets.begin() - 1);
        if (!std::binary_search(listed.begin(), listed.end(), position)) {
            results.push_back(position);
        }
        from = *next;
    }
}

}  // namespace

Result<std::uint64_t> SearchIndex::tableFingerprint(sqlite3* db, const std::string& languageCode) {
    auto statement = SqliteStatement::prepare(
        db,
        "SELECT rowid, term, alternate, reading, romanization, meanings_json FROM vocabulary "
        "WHERE language = ?");
    if (!statement) return tl::unexpected(statement.error());
    statement->bindText(1, languageCode);
    std::uint64_t fingerprint = 0;
    while (true) {
        auto row = statement->step();
        if (!row) return tl::unexpected(row.error());
        if (!*row) return fingerprint;
        fingerprint += rowShare(statement->handle());
    }
}

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
        index.m_fingerprint += rowShare(statement->handle());
        if (rowid < 0 || rowid > std::numeric_limits<std::uint32_t>::max()) {
            return fail("search index: rowid " + std::to_string(rowid) + " out of range");
        }
        index.m_rowids.push_back(static_cast<std::uint32_t>(rowid));
        index.m_offsets.push_back(static_cast<std::uint32_t>(index.m_text.size()));
        for (int field = 0; field < kFieldCount; ++field) {
            // LIKE never matches a blob value, and an equality with text never holds for one.
            sqlite3_stmt* row = statement->handle();
            std::string_view text;
            if (sqlite3_column_type(row, field + 1) != SQLITE_BLOB) {
                const auto* bytes = sqlite3_column_text(row, field + 1);
                if (bytes != nullptr) {
                    text = std::string_view(
                        reinterpret_cast<const char*>(bytes),
                        static_cast<std::size_t>(sqlite3_column_bytes(row, field + 1)));
                }
            }
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
    std::stable_sort(order.begin(), order.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return folded[a] < folded[b]; });
    std::vector<std::uint32_t> keys(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) keys[i] = index.m_keys[order[i]];
    index.m_keys = std::move(keys);
    index.indexRomanizations();
    return index;
}

void SearchIndex::indexRomanizations() {
    const std::size_t n = m_rowids.size();
    bool storedText = m_romanOffsets.size() == n + 1 && m_romanOffsets.front() == 0 &&
                      m_romanOffsets.back() == m_romanText.size();
    for (std::size_t i = 0; storedText && i < n; ++i) {
        storedText = m_romanOffsets[i + 1] > m_romanOffsets[i] &&
                     m_romanText[m_romanOffsets[i + 1] - 1] == kFieldEnd;
    }
    if (!storedText) buildRomanizationText();
    std::size_t withRomanization = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (m_romanOffsets[i + 1] - m_romanOffsets[i] > 1) ++withRomanization;
    }
    // Stored keys are trusted as far as the stored term keys are: they must name entries with
    // a romanization, one each. Sorting afresh takes most of the time of loading otherwise.
    bool usable = m_romanKeys.size() == withRomanization;
    for (std::size_t i = 0; usable && i < m_romanKeys.size(); ++i) {
        usable = m_romanKeys[i] < n &&
                 m_romanOffsets[m_romanKeys[i] + 1] - m_romanOffsets[m_romanKeys[i]] > 1;
    }
    if (usable) return;
    m_romanKeys.clear();
    for (Position position = 0; position < n; ++position) {
        if (m_romanOffsets[position + 1] - m_romanOffsets[position] > 1) {
            m_romanKeys.push_back(position);
        }
    }
    std::stable_sort(m_romanKeys.begin(), m_romanKeys.end(), [&](Position a, Position b) {
        return loweredRomanization(a) < loweredRomanization(b);
    });
}

// Walking every record takes tens of milliseconds on the full lexicon; files written with the
// romanization text load it instead.
void SearchIndex::buildRomanizationText() {
    m_romanText.clear();
    m_romanOffsets.clear();
    m_romanOffsets.reserve(m_rowids.size() + 1);
    for (Position position = 0; position < m_rowids.size(); ++position) {
        m_romanOffsets.push_back(static_cast<std::uint32_t>(m_romanText.size()));
        const std::size_t start = m_romanText.size();
        m_romanText.append(field(position, 3));
        for (std::size_t i = start; i < m_romanText.size(); ++i) {
            m_romanText[i] =
                static_cast<char>(lowerASCII(static_cast<unsigned char>(m_romanText[i])));
        }
        m_romanText.push_back(kFieldEnd);
    }
    m_romanOffsets.push_back(static_cast<std::uint32_t>(m_romanText.size()));
}

std::string_view SearchIndex::loweredRomanization(Position position) const {
    return std::string_view(m_romanText)
        .substr(m_romanOffsets[position],
                m_romanOffsets[position + 1] - m_romanOffsets[position] - 1);
}

std::vector<SearchIndex::Position> SearchIndex::findRomanization(std::string_view spelling,
                                                                 std::size_t limit) const {
    const std::string lowered = asciiLowered(spelling);
    auto it = std::partition_point(m_romanKeys.begin(), m_romanKeys.end(), [&](Position key) {
        return loweredRomanization(key) < lowered;
    });
    std::vector<Match> matches;
    for (; it != m_romanKeys.end() && loweredRomanization(*it).starts_with(lowered); ++it) {
        matches.push_back({*it, field(*it, 3) == spelling ? 0 : 1});
    }
    std::sort(matches.begin(), matches.end(), [](const Match& a, const Match& b) {
        return a.group != b.group ? a.group < b.group : a.position < b.position;
    });
    std::vector<Position> results;
    for (const Match& match : matches) {
        if (results.size() == limit) return results;
        results.push_back(match.position);
    }
    appendContaining(lowered, m_romanText, m_romanOffsets, limit, results);
    return results;
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
    return utf8::isValid(trimmedQuery);
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
    matches.erase(
        std::unique(matches.begin(), matches.end(),
                    [](const Match& a, const Match& b) { return a.position == b.position; }),
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

    appendContaining(query, m_text, m_offsets, limit, results);
    return results;
}

}  // namespace tessel