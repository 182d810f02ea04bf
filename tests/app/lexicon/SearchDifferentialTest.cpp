// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "LexiconStore.h"
#include "LexiconTestSupport.h"
#include "SearchText.h"

// The fast search must list exactly what the SQL query lists, in the same order, for every
// corpus query and for random pieces of the lexicon's own text.

namespace tessel {
namespace {

using testing::CorpusQuery;
using testing::SearchData;
using testing::TemporaryFolder;

// A romanization as a learner may type it, so that the query's interpretations have work to
// do: Japanese with Hepburn long vowels and keyboard "nn", Chinese with tone digits and spaces.
std::string asLearnerTypes(std::string text, LearningLanguage language) {
    const auto replaceAll = [&](std::string_view from, std::string_view to) {
        for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
            text.replace(at, from.size(), to);
            at += to.size();
        }
    };
    if (language == LearningLanguage::japanese) {
        replaceAll("ou", "ō");
        replaceAll("n'", "nn");
        replaceAll("du", "zu");
        replaceAll("ha", "wa");
    } else {
        replaceAll("a", "a3 ");
        replaceAll("v", "ü");
    }
    return text;
}

// Pieces of 1 to 4 characters (on character boundaries) of the searchable text of random
// rows, with the case of ASCII letters sometimes changed, plus a few joined with spaces, and
// whole romanizations as learners type them.
std::vector<CorpusQuery> randomQueries(const std::string& path, std::size_t count, unsigned seed) {
    std::vector<std::pair<LearningLanguage, std::string>> texts;
    std::vector<CorpusQuery> typed;
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    // Every 37th row keeps the sample spread over the whole table and cheap to read.
    sqlite3_prepare_v2(db,
                       "SELECT language, term, alternate, reading, romanization, meanings_json "
                       "FROM vocabulary WHERE rowid % 37 = 0 OR (SELECT COUNT(*) FROM "
                       "vocabulary) < 1000",
                       -1, &statement, nullptr);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        const auto language =
            std::string(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))) == "ja"
                ? LearningLanguage::japanese
                : LearningLanguage::chinese;
        for (int column = 1; column <= 5; ++column) {
            const auto* text = sqlite3_column_text(statement, column);
            if (text != nullptr && *text != 0) {
                texts.emplace_back(language, reinterpret_cast<const char*>(text));
                if (column == 4) {
                    typed.push_back({language, asLearnerTypes(texts.back().second, language)});
                }
            }
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);

    std::mt19937 random(seed);
    std::vector<CorpusQuery> queries;
    while (queries.size() < count && !texts.empty()) {
        const auto& [language, text] = texts[random() % texts.size()];
        std::vector<std::size_t> starts;  // character starts
        for (std::size_t i = 0; i < text.size(); ++i) {
            if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
        }
        starts.push_back(text.size());
        const std::size_t first = random() % (starts.size() - 1);
        const std::size_t last = std::min(starts.size() - 1, first + 1 + random() % 4);
        std::string piece = text.substr(starts[first], starts[last] - starts[first]);
        if (random() % 4 == 0) {
            for (char& c : piece) {
                if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            }
        }
        // Queries are also sent to the other language now and then: they must find nothing
        // there or the same as the SQL query.
        const bool swap = random() % 10 == 0;
        const LearningLanguage target =
            swap ? (language == LearningLanguage::chinese ? LearningLanguage::japanese
                                                          : LearningLanguage::chinese)
                 : language;
        if (random() % 20 == 0) piece = " " + piece + "\u3000";
        queries.push_back({target, piece});
    }
    for (std::size_t i = 0; i < count / 10 && !typed.empty(); ++i) {
        queries.push_back(typed[random() % typed.size()]);
    }
    return queries;
}

struct Mismatch {
    std::string description;
};

// Runs the queries on `threads` stores of the same file side by side (the SQL query is slow on
// the full lexicon) and collects every disagreement.
std::vector<Mismatch> compare(const std::string& path, const std::vector<CorpusQuery>& queries,
                              std::int64_t limit, int threads) {
    std::vector<std::vector<Mismatch>> found(threads);
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            auto store = LexiconStore::open(path);
            if (!store) {
                found[t].push_back({store.error().description});
                return;
            }
            for (std::size_t i = t; i < queries.size(); i += threads) {
                const CorpusQuery& query = queries[i];
                auto fast = (*store)->search(query.text, query.language, limit);
                auto reference = (*store)->searchReference(query.text, query.language, limit);
                const std::string label = std::string(rawValue(query.language)) + " \"" +
                                          query.text + "\" limit " + std::to_string(limit);
                if (!fast || !reference) {
                    found[t].push_back({label + ": query failed"});
                } else if (*fast != *reference) {
                    found[t].push_back({label + ": fast " + std::to_string(fast->size()) +
                                        " entries, reference " +
                                        std::to_string(reference->size())});
                }
            }
        });
    }
    for (auto& worker : workers) worker.join();
    std::vector<Mismatch> all;
    for (auto& list : found) all.insert(all.end(), list.begin(), list.end());
    return all;
}

void expectNoMismatch(const std::vector<Mismatch>& mismatches, std::size_t queries) {
    EXPECT_TRUE(mismatches.empty()) << mismatches.size() << " of " << queries
                                    << " queries differ, first: " << mismatches.front().description;
    for (std::size_t i = 0; i < std::min<std::size_t>(mismatches.size(), 20); ++i) {
        ADD_FAILURE() << mismatches[i].description;
    }
}

class FixtureDifferentialTest : public ::testing::TestWithParam<SearchData> {};

TEST_P(FixtureDifferentialTest, CorpusAndRandomPiecesMatchTheQuery) {
    TemporaryFolder folder;
    const std::string path = testing::fixtureLexicon(folder, GetParam());
    auto queries = testing::searchCorpus();
    ASSERT_GE(queries.size(), 200u);
    const auto pieces = randomQueries(path, 2000, 7);
    queries.insert(queries.end(), pieces.begin(), pieces.end());
    for (const std::int64_t limit : {80, 2}) {
        const auto mismatches = compare(path, queries, limit, 1);
        if (!mismatches.empty()) expectNoMismatch(mismatches, queries.size());
    }
}

INSTANTIATE_TEST_SUITE_P(SearchData, FixtureDifferentialTest,
                         ::testing::Values(SearchData::builtFromTable, SearchData::stored),
                         [](const auto& info) { return testing::searchDataName(info.param); });

// On the full lexicon each SQL query takes a tenth of a second or more, so the random sample
// is smaller; BRINDLE_DIFFERENTIAL_SAMPLES raises or lowers it.
TEST(RealLexiconDifferentialTest, CorpusAndRandomPiecesMatchTheQuery) {
    const std::string path = testing::realLexiconPath();
    if (path.empty()) GTEST_SKIP() << "resources/Tessel.sqlite has not been built";
    std::size_t samples = 2000;
    if (const char* text = std::getenv("BRINDLE_DIFFERENTIAL_SAMPLES")) {
        samples = static_cast<std::size_t>(std::strtoul(text, nullptr, 10));
    }
    auto queries = testing::searchCorpus();
    ASSERT_GE(queries.size(), 200u);
    const auto pieces = randomQueries(path, samples, 11);
    queries.insert(queries.end(), pieces.begin(), pieces.end());
    const int threads = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    const auto mismatches = compare(path, queries, 80, threads);
    if (!mismatches.empty()) expectNoMismatch(mismatches, queries.size());
}

}  // namespace
}  // namespace tessel
