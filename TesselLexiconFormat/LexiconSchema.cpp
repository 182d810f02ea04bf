// SPDX-License-Identifier: GPL-3.0-or-later
#include "LexiconSchema.h"

namespace tessel::schema {

std::string createStatement(const TableDefinition& table, bool ifMissing) {
    std::string sql = ifMissing ? "CREATE TABLE IF NOT EXISTS " : "CREATE TABLE ";
    sql.append(table.name).append(" (").append(table.columns).append(")");
    return sql;
}

std::string createStatement(const IndexDefinition& index) {
    std::string sql = "CREATE INDEX ";
    sql.append(index.name).append(" ON ").append(index.table);
    sql.append("(").append(index.columns).append(")");
    // The line break keeps the statement text SQLite stores in the file as it always was.
    if (!index.where.empty()) sql.append("\n    WHERE ").append(index.where);
    return sql;
}

}  // namespace tessel::schema
