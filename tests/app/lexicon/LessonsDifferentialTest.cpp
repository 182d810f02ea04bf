// SPDX-License-Identifier: GPL-3.0-or-later
// The course list answers from index order and memory instead of the SQL statement that defines
// it; these tests hold the two to exactly the same results on the fixture, on variants of it
// built to break the shortcut's assumptions, and on the real lexicon.

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "LessonReader.h"
#include "LexiconStore.h"
#include "LexiconTestSupport.h"

namespace tessel::testing {
namespace {

constexpr std::int64_t kLimits[] = {0, 1, 7, 40000, -1, -40000};

// Both languages, every limit: fast and reference lists equal field by field.
void expectSameAsReference(const LexiconStore& store, const std::string& context) {
    for (const auto language : kAllLearningLanguages) {
        for (const std::int64_t limit : kLimits) {
            auto fast = store.lessons(language, limit);
            auto reference = store.lessonsReference(language, limit);
            ASSERT_TRUE(fast) << fast.error().description;
            ASSERT_TRUE(reference) << reference.error().description;
            EXPECT_EQ(*fast, *reference)
                << context << ": " << rawValue(language) << " limit " << limit;
        }
    }
}

// A read-only connection for calling the shortcuts directly, closed at the end of the scope.
class Connection {
  public:
    explicit Connection(const std::string& path) {
        sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READONLY, nullptr);
    }
    ~Connection() { sqlite3_close(m_db); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    sqlite3* get() const { return m_db; }

  private:
    sqlite3* m_db = nullptr;
};

struct FixtureVariant {
    std::string name;
    std::string sql;           // run on the fixture before opening it
    bool lessonsTakeShortcut;  // readCourseLessons answers for both languages
};

void PrintTo(const FixtureVariant& variant, std::ostream* out) {
    *out << variant.name;
}

const std::vector<FixtureVariant>& fixtureVariants() {
    static const std::vector<FixtureVariant> variants = {
        {"as written", "", true},
        // Exercises the list must not pick: a larger id added first, a NULL prompt that reads
        // "___", an empty id that joins but is no contextual card, exercises of entries outside
        // the course or the table, and of the other language.
        {"awkward exercises",
         "INSERT INTO exercises VALUES ('ex-zh-009', 'zh-hao', NULL, NULL, NULL, NULL, NULL),"
         " ('ex-zh-010', 'zh-hao', 'p', 't', 'n', '[\"x\"]', 'a'),"
         " ('', 'zh-da', 'p2', 't2', 'n2', 'not json', 'a2'),"
         " ('ex-zh-000', 'zh-ok', 'p3', 't3', 'n3', '[]', 'a3'),"
         " ('ex-none', 'zh-missing', 'p4', 't4', 'n4', '[]', 'a4'),"
         " ('ex-ja-000', 'ja-ame', '___', '', '', '[\"雨\",\"あめ\"]', '');",
         true},
        // Two course entries equal in level, rank and term may come in either order.
        {"tied sort keys",
         "INSERT INTO vocabulary VALUES ('zh-hao-2', 'zh', '好', '', 'hǎo', 'hao', '[\"fine\"]',"
         " 3, 1, 1, 'CC-CEDICT', '[]'), ('ja-kore-2', 'ja', 'これ', '', 'これ', 'kore', '[]',"
         " 1, 1, 1, 'EDICT', '[]');",
         false},
        // Ties broken only by the term, in byte order (upper case before lower case).
        {"ties broken by term",
         "INSERT INTO vocabulary VALUES ('zh-b', 'zh', 'b', '', '', '', '[]', 7, 1, 1, 's', '[]'),"
         " ('zh-B', 'zh', 'B', '', '', '', '[]', 7, 1, 1, 's', '[]'),"
         " ('zh-a2', 'zh', 'ab', '', '', '', '[]', 7, 1, 1, 's', '[]');",
         true},
        {"a course entry without a level",
         "INSERT INTO vocabulary VALUES ('zh-null', 'zh', '零', '', 'líng', 'ling', '[]', 9000,"
         " NULL, 1, 'CC-CEDICT', '[]'), ('ja-null', 'ja', '零', '', 'れい', 'rei', '[]', NULL,"
         " 2, 1, 'EDICT', '[]');",
         false},
    };
    return variants;
}

class FixtureVariantTest : public ::testing::TestWithParam<FixtureVariant> {};

TEST_P(FixtureVariantTest, ShortcutsAnswerExactlyAsTheQueriesOrStepAside) {
    const FixtureVariant& variant = GetParam();
    TemporaryFolder folder;
    const std::string path = fixtureLexicon(folder, SearchData::builtFromTable);
    if (!variant.sql.empty()) {
        ASSERT_EQ(executeSQL(path, variant.sql), "");
    }
    auto store = LexiconStore::open(path);
    ASSERT_TRUE(store) << store.error().description;
    expectSameAsReference(**store, variant.name);

    Connection connection(path);
    for (const auto language : kAllLearningLanguages) {
        const std::string code = lexiconLanguageCode(language);
        EXPECT_EQ(readCourseLessons(connection.get(), language, code, 40000).has_value(),
                  variant.lessonsTakeShortcut)
            << rawValue(language);
    }
}

INSTANTIATE_TEST_SUITE_P(Fixture, FixtureVariantTest, ::testing::ValuesIn(fixtureVariants()),
                         [](const auto& info) {
                             std::string name;
                             for (const char c : info.param.name) {
                                 if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                             }
                             return name;
                         });

TEST(LessonsShortcutTest, FailuresAreTheQueriesOwn) {
    TemporaryFolder folder;
    const std::string path = fixtureLexicon(folder, SearchData::builtFromTable);
    ASSERT_EQ(executeSQL(path, "DROP TABLE exercises;"), "");
    auto store = LexiconStore::open(path);
    ASSERT_TRUE(store);
    for (const auto language : kAllLearningLanguages) {
        auto lessons = (*store)->lessons(language, 40000);
        auto reference = (*store)->lessonsReference(language, 40000);
        ASSERT_FALSE(lessons);
        ASSERT_FALSE(reference);
        EXPECT_EQ(lessons.error().description, reference.error().description);
    }
}

TEST(RealLexiconShortcutTest, LessonsMatchTheQuery) {
    const std::string path = realLexiconPath();
    if (path.empty()) GTEST_SKIP() << "resources/Tessel.sqlite has not been built";
    auto store = LexiconStore::open(path);
    ASSERT_TRUE(store) << store.error().description;
    expectSameAsReference(**store, "real lexicon");
    // The shortcut must actually serve the real lexicon, or its speed is not what is measured.
    Connection connection(path);
    for (const auto language : kAllLearningLanguages) {
        EXPECT_TRUE(
            readCourseLessons(connection.get(), language, lexiconLanguageCode(language), 40000));
    }
}

}  // namespace
}  // namespace tessel::testing
