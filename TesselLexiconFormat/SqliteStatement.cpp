// SPDX-License-Identifier: GPL-3.0-or-later
#include "SqliteStatement.h"

#include <utility>

#include <sqlite3.h>

namespace tessel {

std::string sqliteMessage(sqlite3* db) {
    if (db == nullptr) return "unknown error";
    const char* message = sqlite3_errmsg(db);
    return message ? message : "unknown error";
}

Result<SqliteStatement> SqliteStatement::prepare(sqlite3* db, const char* sql) {
    if (db == nullptr) return fail("unknown error");
    sqlite3_stmt* statement = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    if (rc != SQLITE_OK || statement == nullptr) {
        std::string message = sqliteMessage(db);
        sqlite3_finalize(statement);
        return fail(std::move(message));
    }
    return SqliteStatement(db, statement);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : m_db(other.m_db), m_statement(std::exchange(other.m_statement, nullptr)) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(m_statement);
        m_db = other.m_db;
        m_statement = std::exchange(other.m_statement, nullptr);
    }
    return *this;
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_statement);
}

void SqliteStatement::bindText(int index, const std::string& text) {
    // Length -1: the library reads up to the first NUL, which is what the stored queries see.
    sqlite3_bind_text(m_statement, index, text.c_str(), -1, SQLITE_TRANSIENT);
}

void SqliteStatement::bindInt(int index, int value) {
    sqlite3_bind_int(m_statement, index, value);
}

void SqliteStatement::bindInt64(int index, std::int64_t value) {
    sqlite3_bind_int64(m_statement, index, value);
}

void SqliteStatement::bindTextBytes(int index, std::string_view text) {
    sqlite3_bind_text64(m_statement, index, text.data(), text.size(), SQLITE_TRANSIENT,
                        SQLITE_UTF8);
}

void SqliteStatement::bindBlob(int index, std::string_view bytes) {
    sqlite3_bind_blob64(m_statement, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
}

Result<bool> SqliteStatement::step() {
    // The step's own result rather than the connection's last code: another thread sharing the
    // serialized connection may have changed the latter in between.
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    return fail(sqliteMessage(m_db));
}

void SqliteStatement::reset() {
    sqlite3_reset(m_statement);
}

std::string SqliteStatement::text(int column) const {
    return std::string(textView(column));
}

std::string_view SqliteStatement::textView(int column) const {
    // Up to the first NUL, like any C string read from the library; measuring with strlen
    // also spares a second call, which takes the connection's lock in serialized mode.
    const auto* text = sqlite3_column_text(m_statement, column);
    if (text == nullptr) return {};
    return std::string_view(reinterpret_cast<const char*>(text));
}

int SqliteStatement::int32(int column) const {
    return sqlite3_column_int(m_statement, column);
}

std::int64_t SqliteStatement::int64(int column) const {
    return sqlite3_column_int64(m_statement, column);
}

bool SqliteStatement::isNull(int column) const {
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

std::string_view SqliteStatement::blob(int column) const {
    const void* data = sqlite3_column_blob(m_statement, column);
    if (data == nullptr) return {};
    return {static_cast<const char*>(data),
            static_cast<std::size_t>(sqlite3_column_bytes(m_statement, column))};
}

}  // namespace tessel
