// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Result.h"

struct sqlite3;

namespace tessel {

// Stores the search data of every language of the `vocabulary` table in the table
// `search_index`, so that the application's first dictionary search loads it in milliseconds
// instead of reading and ordering the whole table. Fails with the database's message.
// REQUIRES: `db` is writable and the vocabulary table is complete; rows must keep their rowids
// afterwards (VACUUM keeps them for a table that is only appended to).
Result<void> writeSearchIndex(sqlite3* db);

}  // namespace tessel
