// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared set-up of the lexicon tests: temporary folders, fixture lexicons with and without the
// stored search data, and the committed query corpus.

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include "FixtureLexicon.h"
#include "LexiconStore.h"
#include "SearchIndexWriter.h"

namespace tessel::testing {

// A fresh folder removed when the object goes away.
class TemporaryFolder {
  public:
    TemporaryFolder() {
        static std::atomic<int> counter{0};
        m_path = std::filesystem::temp_directory_path() /
                 ("brindle-lexicon-test-" + std::to_string(::getpid()) + "-" +
                  std::to_string(counter++));
        std::filesystem::create_directories(m_path);
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

  private:
    std::filesystem::path m_path;
};

// Runs `sql` on the file opened for writing; returns the library's message, "" on success.
inline std::string executeSQL(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    std::string message;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        message = db ? sqlite3_errmsg(db) : "cannot open";
    } else {
        char* error = nullptr;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            message = error ? error : "unknown error";
        }
        sqlite3_free(error);
    }
    sqlite3_close(db);
    return message;
}

// Stores the search data in the file, as the lexicon compiler does; "" on success.
inline std::string writeStoredSearchData(const std::string& path) {
    sqlite3* db = nullptr;
    std::string message;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        message = "cannot open";
    } else {
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        if (auto written = writeSearchIndex(db); !written) message = written.error().description;
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
    return message;
}

// How a test lexicon provides the search data of the fast path.
enum class SearchData { builtFromTable, stored };

inline std::string searchDataName(SearchData data) {
    return data == SearchData::stored ? "stored" : "builtFromTable";
}

// The fixture lexicon in `folder`, with the stored search data when asked for.
inline std::string fixtureLexicon(const TemporaryFolder& folder, SearchData data) {
    const std::string path = buildFixtureLexicon(folder.path().string());
    EXPECT_FALSE(path.empty());
    if (data == SearchData::stored) {
        EXPECT_EQ(writeStoredSearchData(path), "");
    }
    return path;
}

// The real lexicon's path when it has been built, else "". BRINDLE_TEST_LEXICON names another
// file to use instead (for example a lexicon compiled elsewhere).
inline std::string realLexiconPath() {
    const char* override = std::getenv("BRINDLE_TEST_LEXICON");
    const std::string path = override != nullptr ? override : BRINDLE_REAL_LEXICON;
    return std::filesystem::is_regular_file(path) ? path : std::string();
}

struct CorpusQuery {
    LearningLanguage language;
    std::string text;
};

// The committed benchmark corpus: "zh" or "ja", a tab, the raw query.
inline std::vector<CorpusQuery> searchCorpus() {
    std::vector<CorpusQuery> queries;
    std::ifstream in(BRINDLE_SEARCH_QUERIES);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || line.size() < 3 || line[2] != '\t') continue;
        const auto language =
            line.compare(0, 2, "ja") == 0 ? LearningLanguage::japanese : LearningLanguage::chinese;
        queries.push_back({language, line.substr(3)});
    }
    return queries;
}

inline std::vector<std::string> idsOf(const std::vector<LexiconEntry>& entries) {
    std::vector<std::string> ids;
    for (const auto& entry : entries) ids.push_back(entry.id);
    return ids;
}

}  // namespace tessel::testing
