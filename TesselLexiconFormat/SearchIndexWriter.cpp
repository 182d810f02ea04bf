// SPDX-License-Identifier: GPL-3.0-or-later
#include "SearchIndexWriter.h"

#include <sqlite3.h>

#include "SearchIndex.h"
#include "SqliteStatement.h"

namespace tessel {

Result<void> writeSearchIndex(sqlite3* db) {
    auto languages =
        SqliteStatement::prepare(db, "SELECT DISTINCT language FROM vocabulary ORDER BY language");
    if (!languages) return tl::unexpected(languages.error());
    while (true) {
        auto row = languages->step();
        if (!row) return tl::unexpected(row.error());
        if (!*row) break;
        auto index = SearchIndex::build(db, languages->text(0));
        if (!index) return tl::unexpected(index.error());
        if (auto saved = index->save(db); !saved) return saved;
    }
    return {};
}

}  // namespace tessel
