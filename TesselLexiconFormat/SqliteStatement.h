// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "Result.h"

struct sqlite3;
struct sqlite3_stmt;

namespace tessel {

// The connection's last error message, or "unknown error" without a connection.
std::string sqliteMessage(sqlite3* db);

// One prepared statement, finalised when destroyed. Failures carry the library's message as
// the error description; callers wrap it in the error of their own module.
class SqliteStatement {
  public:
    // The prepared statement; fails when the text does not compile or prepares to nothing.
    // REQUIRES: `db` is an open connection.
    static Result<SqliteStatement> prepare(sqlite3* db, const char* sql);

    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;
    ~SqliteStatement();

    // Binds `text` up to its first NUL, copied at once, at position `index` (1-based).
    void bindText(int index, const std::string& text);
    // Binds all of `text`, NUL bytes included, as text.
    void bindTextBytes(int index, std::string_view text);
    void bindInt(int index, int value);
    void bindInt64(int index, std::int64_t value);
    void bindBlob(int index, std::string_view bytes);

    // Steps once: true for a row, false when done; fails on any other result.
    Result<bool> step();
    // Clears the bindings' effect so that the statement can run again.
    void reset();

    // Column readers for the current row: NULL text reads as "", NULL integers as 0; text
    // ends at its first NUL byte.
    std::string text(int column) const;
    std::string_view textView(int column) const;
    int int32(int column) const;
    std::int64_t int64(int column) const;
    bool isNull(int column) const;
    std::string_view blob(int column) const;

    sqlite3_stmt* handle() const { return m_statement; }

  private:
    SqliteStatement(sqlite3* db, sqlite3_stmt* statement) : m_db(db), m_statement(statement) {}

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_statement = nullptr;
};

}  // namespace tessel
