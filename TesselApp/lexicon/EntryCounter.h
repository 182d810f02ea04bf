// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct sqlite3;

namespace tessel {

// The name of the lexicon's index on vocabulary(language) that entryCountFromRowidRuns needs.
inline constexpr const char* kLanguageIndexName = "vocabulary_language";

// The number of vocabulary rows whose language is `code`, found from where each language's
// rows lie instead of by visiting them: a language's rows can never outnumber the row ids from
// its first to its last, so when these spans add up to the table's row count every language
// has exactly as many rows as its span is long. A handful of index look-ups replace a count
// over hundreds of thousands of index entries. Empty when the spans do not add up (rows
// deleted or languages interleaved), when a language value is not text or compares other
// than byte-wise, when the language index is missing, or when a statement fails: the caller
// then counts.
// REQUIRES: `db` is open.
std::optional<std::int64_t> entryCountFromRowidRuns(sqlite3* db, const std::string& code);

}  // namespace tessel
