// SPDX-License-Identifier: GPL-3.0-or-later
#include "SchemaCheck.h"

#include <sqlite3.h>

namespace tessel {

bool columnComparesBytewise(sqlite3* db, const schema::TableDefinition& table, const char* column) {
    const std::string tableName(table.name);
    const char* declaredType = nullptr;
    const char* collation = nullptr;
    int notNull = 0;
    int primaryKey = 0;
    int autoIncrement = 0;
    // No schema name: the tables are looked up as the unqualified names in the queries are.
    if (sqlite3_table_column_metadata(db, nullptr, tableName.c_str(), column, &declaredType,
                                      &collation, &notNull, &primaryKey,
                                      &autoIncrement) != SQLITE_OK) {
        return false;
    }
    return collation != nullptr && sqlite3_stricmp(collation, "BINARY") == 0;
}

}  // namespace tessel
