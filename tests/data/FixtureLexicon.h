// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Builds the small test lexicon from tests/data/lexicon-fixture.sql. Header-only so that every
// test binary (GoogleTest, Qt Test, QML tests) can use it with nothing but SQLite linked.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include <sqlite3.h>

// The folder holding the fixture SQL: the build may define it, otherwise it is this header's own.
inline std::filesystem::path fixtureLexiconDataDir() {
#ifdef BRINDLE_TEST_DATA_DIR
    return std::filesystem::path(BRINDLE_TEST_DATA_DIR);
#else
    return std::filesystem::path(__FILE__).parent_path();
#endif
}

// The fixture's SQL text, or "" when the file cannot be read.
inline std::string fixtureLexiconSQL() {
    std::ifstream in(fixtureLexiconDataDir() / "lexicon-fixture.sql", std::ios::binary);
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Creates (or replaces) "lexicon-fixture.sqlite" in `dir` from the fixture SQL and returns its
// path; returns "" after printing the reason to stderr when anything fails.
// REQUIRES: `dir` exists and is writable.
inline std::string buildFixtureLexicon(const std::string& dir) {
    const std::filesystem::path path = std::filesystem::path(dir) / "lexicon-fixture.sqlite";
    std::error_code ignored;
    std::filesystem::remove(path, ignored);

    const std::string sql = fixtureLexiconSQL();
    if (sql.empty()) {
        std::cerr << "buildFixtureLexicon: cannot read lexicon-fixture.sql in "
                  << fixtureLexiconDataDir() << "\n";
        return {};
    }
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    if (sqlite3_open_v2(path.string().c_str(), &db, flags, nullptr) != SQLITE_OK) {
        std::cerr << "buildFixtureLexicon: " << (db ? sqlite3_errmsg(db) : "out of memory") << "\n";
        sqlite3_close(db);
        return {};
    }
    // One transaction without a journal: the file is thrown away if anything fails.
    const std::string script =
        "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; BEGIN;\n" + sql + "\nCOMMIT;";
    char* message = nullptr;
    const int rc = sqlite3_exec(db, script.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        std::cerr << "buildFixtureLexicon: " << (message ? message : "unknown error") << "\n";
        sqlite3_free(message);
        sqlite3_close(db);
        std::filesystem::remove(path, ignored);
        return {};
    }
    sqlite3_close(db);
    return path.string();
}
