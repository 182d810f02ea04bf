// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <bit>
#include <cstring>

#include <sqlite3.h>

#include "LexiconSchema.h"
#include "SearchIndex.h"
#include "SqliteStatement.h"

// Reading and writing the stored copy of the search data (table `search_index`): one row per
// language and part, integer lists as little-endian 32-bit words.

namespace tessel {
namespace {

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
    const std::string table(schema::kSearchIndex.name);
    if (sqlite3_blob_open(db, "main", table.c_str(), "data", rowid, 0, &blob) != SQLITE_OK) {
        std::string message = sqliteMessage(db);
        sqlite3_blob_close(blob);
        return fail(std::move(message));
    }
    std::string bytes(static_cast<std::size_t>(sqlite3_blob_bytes(blob)), '\0');
    const int rc = bytes.empty()
                       ? SQLITE_OK
                       : sqlite3_blob_read(blob, bytes.data(), static_cast<int>(bytes.size()), 0);
    if (rc != SQLITE_OK) {
        std::string message = sqliteMessage(db);
        sqlite3_blob_close(blob);
        return fail(std::move(message));
    }
    sqlite3_blob_close(blob);
    return bytes;
}

Result<void> run(sqlite3* db, const char* sql) {
    auto statement = SqliteStatement::prepare(db, sql);
    if (!statement) return tl::unexpected(statement.error());
    auto stepped = statement->step();
    if (!stepped) return tl::unexpected(stepped.error());
    return {};
}

}  // namespace

Result<std::int64_t> SearchIndex::highestRowid(sqlite3* db) {
    auto statement = SqliteStatement::prepare(db, "SELECT COALESCE(MAX(rowid), 0) FROM vocabulary");
    if (!statement) return tl::unexpected(statement.error());
    auto row = statement->step();
    if (!row) return tl::unexpected(row.error());
    return *row ? statement->int64(0) : 0;
}

Result<std::optional<SearchIndex>> SearchIndex::load(sqlite3* db, const std::string& languageCode) {
    auto exists = SqliteStatement::prepare(
        db, "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = ?");
    if (!exists) return tl::unexpected(exists.error());
    exists->bindTextBytes(1, schema::kSearchIndex.name);
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
        // Optional parts: files written before them have none and build them on loading.
        if (part == "romantext") {
            index.m_romanText = std::move(*bytes);
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
        } else if (part == "romankeys" || part == "romanoffsets") {
            (part == "romankeys" ? index.m_romanKeys : index.m_romanOffsets) = std::move(*words);
            continue;
        } else if (part == "meta") {
            if (words->size() != 1) return std::optional<SearchIndex>();
            index.m_highestRowid = words->front();
        } else if (part == "fingerprint") {
            if (words->size() != 2) return std::optional<SearchIndex>();
            index.m_fingerprint = (std::uint64_t{(*words)[1]} << 32) | (*words)[0];
        } else {
            continue;
        }
        ++found;
    }
    if (found != 6 || !index.isConsistent()) return std::optional<SearchIndex>();
    auto highest = highestRowid(db);
    if (!highest) return tl::unexpected(highest.error());
    if (*highest != index.m_highestRowid) return std::optional<SearchIndex>();
    index.indexRomanizations();
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
    auto created = run(db, schema::createStatement(schema::kSearchIndex, true).c_str());
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
        {"romankeys", encodeWords(m_romanKeys)},
        {"romantext", m_romanText},
        {"romanoffsets", encodeWords(m_romanOffsets)},
        {"meta", encodeWords({m_highestRowid})},
        {"fingerprint", encodeWords({static_cast<std::uint32_t>(m_fingerprint),
                                     static_cast<std::uint32_t>(m_fingerprint >> 32)})},
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
}  // namespace tessel
