// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LexiconSchema.h"

struct sqlite3;

namespace tessel {

// True when `table`.`column` exists and compares with the library's default byte-wise
// collation, so that C++ byte comparisons of its text agree with the queries' own. False when
// the column is missing, compares otherwise, or the library cannot tell.
// REQUIRES: `db` is open.
bool columnComparesBytewise(sqlite3* db, const schema::TableDefinition& table, const char* column);

}  // namespace tessel
