// SPDX-License-Identifier: GPL-3.0-or-later
// brindle-lexicon-compare OLD.sqlite NEW.sqlite [QUERY-FILE]
//
// Compares a lexicon built before a change with one built after it, as the learner meets them:
//   - answers: every answer a course card of OLD accepts as typed (its term, reading,
//     romanization and exercise answers) must be accepted by the card of NEW with the same id;
//   - search: every entry OLD's search finds for its query as written (80 at most, as the
//     application asks) must still be found in NEW for the same query (with its
//     interpretations), for each line of QUERY-FILE (the benchmark corpus format) and for the
//     term, reading and romanization of every course card of OLD. An entry NEW still finds,
//     but after the first 80 because entries that did not match before now do, is counted
//     apart from one NEW no longer finds at all.
// OLD's search is the search as written (the search data of the file, which answers exactly
// like the SQL query); additions are allowed, losses are listed. Cards that left the course
// are counted, not checked. Exit status 0 when nothing was lost, 1 otherwise, 2 on misuse.

#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <sqlite3.h>

#include "AnswerNormalization.h"
#include "LexiconStore.h"
#include "SearchIndex.h"
#include "SearchText.h"

using namespace tessel;

namespace {

constexpr std::int64_t kCourseLimit = 40000;
constexpr std::size_t kSearchLimit = 80;
constexpr std::int64_t kUncut = 1000000;
constexpr int kShownLosses = 30;

struct Query {
    LearningLanguage language;
    std::string text;
};

std::vector<Query> readQueryFile(const std::string& path) {
    std::vector<Query> queries;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const auto tab = line.find('\t');
        if (tab == std::string::npos) continue;
        const std::string code = line.substr(0, tab);
        if (code != "zh" && code != "ja") continue;
        queries.push_back({code == "ja" ? LearningLanguage::japanese : LearningLanguage::chinese,
                           line.substr(tab + 1)});
    }
    return queries;
}

// The ids OLD's search finds for a query as written, from the file's own search data.
class AsWrittenSearch {
  public:
    explicit AsWrittenSearch(const std::string& path) {
        sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READONLY, nullptr);
        for (const LearningLanguage language :
             {LearningLanguage::chinese, LearningLanguage::japanese}) {
            auto loaded = SearchIndex::load(m_db, lexiconLanguageCode(language));
            if (loaded && *loaded) {
                m_index.emplace(language, std::move(**loaded));
            } else {
                auto built = SearchIndex::build(m_db, lexiconLanguageCode(language));
                if (built) m_index.emplace(language, std::move(*built));
            }
        }
        sqlite3_prepare_v2(m_db, "SELECT id FROM vocabulary WHERE rowid = ?", -1, &m_idOf, nullptr);
    }
    ~AsWrittenSearch() {
        sqlite3_finalize(m_idOf);
        sqlite3_close(m_db);
    }
    bool ready() const { return m_index.size() == 2 && m_idOf != nullptr; }

    std::vector<std::string> ids(const Query& query) {
        const SearchIndex& index = m_index.at(query.language);
        const std::string trimmed = trimmedSearchText(query.text);
        std::vector<std::string> found;
        if (!SearchIndex::canAnswer(trimmed, -1)) return found;
        for (const auto position : index.find(trimmed, kSearchLimit)) {
            sqlite3_reset(m_idOf);
            sqlite3_bind_int64(m_idOf, 1, index.rowid(position));
            if (sqlite3_step(m_idOf) == SQLITE_ROW) {
                found.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(m_idOf, 0)));
            }
        }
        return found;
    }

  private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_idOf = nullptr;
    std::map<LearningLanguage, SearchIndex> m_index;
};

struct Tally {
    std::size_t checked = 0;
    std::size_t lost = 0;
    void loss(const std::string& what) {
        if (static_cast<int>(++lost) <= kShownLosses) std::cout << "  lost: " << what << "\n";
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::cerr << "usage: brindle-lexicon-compare OLD.sqlite NEW.sqlite [QUERY-FILE]\n";
        return 2;
    }
    auto oldStore = LexiconStore::open(argv[1]);
    auto newStore = LexiconStore::open(argv[2]);
    AsWrittenSearch oldSearch(argv[1]);
    if (!oldStore || !newStore || !oldSearch.ready()) {
        std::cerr << "brindle-lexicon-compare: a lexicon could not be opened\n";
        return 2;
    }
    std::vector<Query> queries = argc == 4 ? readQueryFile(argv[3]) : std::vector<Query>();
    const std::size_t corpusQueries = queries.size();

    Tally answers;
    std::size_t leftCourse = 0;
    const AnswerValidator validator;
    for (const LearningLanguage language :
         {LearningLanguage::chinese, LearningLanguage::japanese}) {
        auto before = (*oldStore)->lessons(language, kCourseLimit);
        auto after = (*newStore)->lessons(language, kCourseLimit);
        if (!before || !after) {
            std::cerr << "brindle-lexicon-compare: the course could not be read\n";
            return 2;
        }
        std::map<std::string, const VocabularyItem*> newCards;
        for (const LexiconLesson& lesson : *after) newCards.emplace(lesson.item.id, &lesson.item);
        for (const LexiconLesson& lesson : *before) {
            const VocabularyItem& card = lesson.item;
            for (const std::string& text :
                 {card.term, card.reading, card.romanization.value_or(std::string())}) {
                if (!text.empty()) queries.push_back({language, text});
            }
            const auto found = newCards.find(card.id);
            if (found == newCards.end()) {
                ++leftCourse;
                continue;
            }
            for (const std::string& answer : card.targetAnswerCandidates()) {
                ++answers.checked;
                const auto verdict =
                    validator.evaluate(answer, *found->second, ExerciseDirection::targetLanguage);
                if (!verdict.isCorrect)
                    answers.loss(card.id + " " + card.term + ": \"" + answer + "\"");
            }
        }
    }

    Tally results;
    Tally displaced;
    std::set<std::pair<int, std::string>> seen;
    for (const Query& query : queries) {
        if (!seen.emplace(static_cast<int>(query.language), query.text).second) continue;
        const auto old = oldSearch.ids(query);
        auto now = (*newStore)->search(query.text, query.language, kSearchLimit);
        if (!now) {
            std::cerr << "brindle-lexicon-compare: search failed: " << now.error().description
                      << "\n";
            return 2;
        }
        std::set<std::string> found;
        for (const LexiconEntry& entry : *now) found.insert(entry.id);
        std::set<std::string> matching;  // without the cut, filled on the first loss
        for (const std::string& id : old) {
            ++results.checked;
            if (found.count(id)) continue;
            if (matching.empty()) {
                auto all = (*newStore)->search(query.text, query.language, kUncut);
                if (all) {
                    for (const LexiconEntry& entry : *all) matching.insert(entry.id);
                }
            }
            if (matching.count(id)) {
                displaced.loss("\"" + query.text + "\" lists " + id + " after the first " +
                               std::to_string(kSearchLimit));
            } else {
                results.loss("\"" + query.text + "\" no longer finds " + id);
            }
        }
    }

    std::cout << "answers: " << answers.checked << " accepted before, " << answers.lost
              << " no longer accepted; " << leftCourse << " cards left the course\n"
              << "search: " << seen.size() << " queries (" << corpusQueries << " from the corpus), "
              << results.checked << " results before, " << results.lost << " no longer found, "
              << displaced.lost
              << " still found but pushed past the cut by entries that now match too\n";
    return answers.lost + results.lost == 0 ? 0 : 1;
}
