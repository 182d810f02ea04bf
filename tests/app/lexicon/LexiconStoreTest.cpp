// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "LexiconLocation.h"
#include "LexiconStore.h"
#include "LexiconTestSupport.h"

namespace tessel {
namespace {

using testing::TemporaryFolder;

constexpr const char* kDictionaryNote =
    "Dictionary-backed recall card. A contextual example is awaiting native-speaker review.";

class FixtureStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string path = buildFixtureLexicon(m_folder.path().string());
        ASSERT_FALSE(path.empty());
        auto opened = LexiconStore::open(path);
        ASSERT_TRUE(opened) << opened.error().description;
        m_store = *opened;
    }

    std::optional<LexiconLesson> lesson(LearningLanguage language, const std::string& id) {
        auto lessons = m_store->lessons(language, 40000);
        EXPECT_TRUE(lessons);
        if (!lessons) return std::nullopt;
        for (auto& lesson : *lessons) {
            if (lesson.item.id == id) return lesson;
        }
        return std::nullopt;
    }

    TemporaryFolder m_folder;
    std::shared_ptr<LexiconStore> m_store;
};

// ---- opening ----

TEST(LexiconStoreOpenTest, FailuresCarryTheirDescriptions) {
    TemporaryFolder folder;
    const auto notADatabase = folder.path() / "notes.sqlite";
    std::ofstream(notADatabase) << "These are not the bytes of a database file, just plain text "
                                   "long enough to fill a header.\n";
    const struct {
        std::string path;
        std::string description;
    } cases[] = {
        {(folder.path() / "missing.sqlite").string(),
         "The local lexicon could not be opened: unable to open database file"},
        {notADatabase.string(), "The local lexicon could not be opened: file is not a database"},
        {folder.path().string(), "The local lexicon could not be opened: disk I/O error"},
    };
    for (const auto& c : cases) {
        auto store = LexiconStore::open(c.path);
        ASSERT_FALSE(store) << c.path;
        EXPECT_EQ(store.error().description, c.description) << c.path;
    }
}

TEST(LexiconStoreOpenTest, BundledLookUpTakesTheFirstExistingFile) {
    TemporaryFolder folder;
    const std::string fixture = buildFixtureLexicon(folder.path().string());
    const std::string missing = (folder.path() / "nowhere" / "Tessel.sqlite").string();
    const std::string aFolder = folder.path().string();

    auto none = LexiconStore::openFirstExisting({missing, aFolder});
    ASSERT_FALSE(none);
    EXPECT_EQ(none.error().description,
              "The bundled Brindle lexicon could not be found. Reinstall the app.");
    EXPECT_FALSE(LexiconStore::openFirstExisting({}));

    auto found = LexiconStore::openFirstExisting({missing, aFolder, fixture});
    ASSERT_TRUE(found) << found.error().description;
    EXPECT_EQ((*found)->databasePath(), fixture);
}

// The source tree's lexicon is a candidate only for programs run from their build tree: an
// installed program must never open a file on the build machine's path.
TEST(LexiconStoreOpenTest, OnlyProgramsInTheBuildTreeLookInTheSourceTree) {
    const std::vector<std::filesystem::path> data = {"/home/me/.local/share", "/usr/share"};
    const std::vector<std::string> installed = {"/home/me/.local/share/brindle/Tessel.sqlite",
                                                "/usr/share/brindle/Tessel.sqlite",
                                                "/opt/b/share/brindle/Tessel.sqlite"};
    EXPECT_EQ(bundledLexiconCandidates(data, "/opt/b/bin"), installed);
    EXPECT_EQ(bundledLexiconCandidates(data, "/usr/bin"),
              std::vector<std::string>(installed.begin(), installed.begin() + 2));
    EXPECT_EQ(bundledLexiconCandidates(data, ""),
              std::vector<std::string>(installed.begin(), installed.begin() + 2));

    const auto fromBuildTree = bundledLexiconCandidates(data, runningExecutableFolder());
    ASSERT_EQ(fromBuildTree.size(), 4u);
    EXPECT_EQ(fromBuildTree.back(), std::string(BRINDLE_REAL_LEXICON));
}

// brindle-cli reads the data folders from the environment as the XDG rules give them.
TEST(LexiconStoreOpenTest, DataFoldersFollowTheEnvironment) {
    const auto keep = [](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    };
    const auto saved = std::array{keep("HOME"), keep("XDG_DATA_HOME"), keep("XDG_DATA_DIRS")};
    using Folders = std::vector<std::filesystem::path>;
    ::setenv("HOME", "/home/me", 1);
    ::setenv("XDG_DATA_HOME", "/data/me", 1);
    ::setenv("XDG_DATA_DIRS", "relative:/a::/b", 1);
    EXPECT_EQ(xdgDataFolders(), (Folders{"/data/me", "/a", "/b"}));
    ::setenv("XDG_DATA_HOME", "relative", 1);
    ::unsetenv("XDG_DATA_DIRS");
    EXPECT_EQ(xdgDataFolders(),
              (Folders{"/home/me/.local/share", "/usr/local/share", "/usr/share"}));
    int index = 0;
    for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS"}) {
        const auto& value = saved[static_cast<std::size_t>(index++)];
        value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
    }
}

// A database without the lexicon's tables: every question fails with the library's message.
TEST(LexiconStoreOpenTest, QueriesOnAnEmptyDatabaseFail) {
    TemporaryFolder folder;
    const std::string path = (folder.path() / "empty.sqlite").string();
    {
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        sqlite3_exec(db, "CREATE TABLE unrelated (x)", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    auto store = LexiconStore::open(path);
    ASSERT_TRUE(store);
    const std::string vocabulary = "The local lexicon query failed: no such table: vocabulary";
    const std::string sources = "The local lexicon query failed: no such table: sources";
    EXPECT_EQ((*store)->lessons(LearningLanguage::chinese, 10).error().description, vocabulary);
    EXPECT_EQ((*store)->counts(LearningLanguage::chinese).error().description, vocabulary);
    EXPECT_EQ((*store)->sources().error().description, sources);
    EXPECT_EQ((*store)->search("好", LearningLanguage::chinese, 10).error().description,
              vocabulary);
    EXPECT_EQ((*store)->search("", LearningLanguage::chinese, 10).error().description, vocabulary);
}

// ---- lessons ----

TEST_F(FixtureStoreTest, LessonOrderIsExercisesFirstThenLevelRankTerm) {
    const struct {
        LearningLanguage language;
        std::int64_t limit;
        std::vector<std::string> ids;
    } cases[] = {
        {LearningLanguage::chinese,
         6,
         {"zh-nihao", "zh-xiexie", "zh-hao", "zh-da", "zh-zhongguo", "zh-le"}},
        {LearningLanguage::japanese, 4, {"ja-taberu", "ja-kore", "ja-mizu", "ja-nihon"}},
        {LearningLanguage::chinese, 0, {}},
        {LearningLanguage::chinese, -3, {}},
    };
    for (const auto& c : cases) {
        auto lessons = m_store->lessons(c.language, c.limit);
        ASSERT_TRUE(lessons);
        std::vector<std::string> ids;
        for (const auto& lesson : *lessons) ids.push_back(lesson.item.id);
        EXPECT_EQ(ids, c.ids) << "limit " << c.limit;
    }
}

TEST_F(FixtureStoreTest, EveryCourseEntryBecomesOneLessonAndNothingElseDoes) {
    for (auto [language, expected] :
         {std::pair{LearningLanguage::chinese, 18}, std::pair{LearningLanguage::japanese, 17}}) {
        auto lessons = m_store->lessons(language, 40000);
        ASSERT_TRUE(lessons);
        EXPECT_EQ(static_cast<int>(lessons->size()), expected);
        std::vector<std::string> ids;
        for (const auto& lesson : *lessons) {
            ids.push_back(lesson.item.id);
            EXPECT_EQ(lesson.item.language, language);
        }
        std::sort(ids.begin(), ids.end());
        EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
        for (const char* reference : {"zh-ok", "zh-variant", "ja-kuu", "ja-en"}) {
            EXPECT_FALSE(std::binary_search(ids.begin(), ids.end(), std::string(reference)));
        }
    }
}

TEST_F(FixtureStoreTest, LessonCardsAreAssembledFromEntryAndFirstExercise) {
    const struct {
        LearningLanguage language;
        std::string id;
        std::vector<std::string> accepted;
        std::string exampleTarget;
        std::string exampleEnglish;
        std::string note;
        std::string attribution;
        bool contextual;
        std::optional<std::string> romanization;
    } cases[] = {
        // Term first, then the exercise's answer, then the alternate form.
        {LearningLanguage::chinese,
         "zh-xiexie",
         {"谢谢", "多谢", "謝謝"},
         "___你的帮助。",
         "Thank you for your help.",
         "Thanks for something.",
         "Brindle original sentence",
         true,
         "xiexie"},
        // The term is already accepted and there is no alternate: nothing is added.
        {LearningLanguage::chinese,
         "zh-nihao",
         {"你好"},
         "___，我叫小明。",
         "Hello, my name is Xiaoming.",
         "A greeting.",
         "Brindle original sentence",
         true,
         "nihao"},
        // Two exercises: the smaller id wins although it was stored second.
        {LearningLanguage::japanese,
         "ja-taberu",
         {"食べる", "たべる"},
         "毎朝パンを___。",
         "I eat bread every morning.",
         "Dictionary form of the verb.",
         "Brindle original sentence",
         true,
         "taberu"},
        // Without an exercise: "___", the first meaning, the fixed note and the source.
        {LearningLanguage::chinese,
         "zh-le",
         {"了"},
         "___",
         "(completed action marker)",
         kDictionaryNote,
         "Dictionary data: CC-CEDICT",
         false,
         std::nullopt},
        {LearningLanguage::chinese,
         "zh-ne",
         {"呢"},
         "___",
         "",
         kDictionaryNote,
         "Dictionary data: CC-CEDICT",
         false,
         "ne"},
        {LearningLanguage::japanese,
         "ja-neko",
         {"猫", "ネコ"},
         "___",
         "cat",
         kDictionaryNote,
         "Dictionary data: EDICT",
         false,
         "neko"},
        {LearningLanguage::japanese,
         "ja-ame",
         {"雨"},
         "___",
         "rain",
         kDictionaryNote,
         "Dictionary data: EDICT",
         false,
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const auto found = lesson(c.language, c.id);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->item.acceptedAnswers, c.accepted);
        EXPECT_EQ(found->item.exampleTarget, c.exampleTarget);
        EXPECT_EQ(found->item.exampleEnglish, c.exampleEnglish);
        EXPECT_EQ(found->note, c.note);
        EXPECT_EQ(found->attribution, c.attribution);
        EXPECT_EQ(found->isContextual, c.contextual);
        EXPECT_EQ(found->item.romanization, c.romanization);
    }
}

TEST_F(FixtureStoreTest, LessonItemCarriesTheEntryFields) {
    const auto ichi = lesson(LearningLanguage::japanese, "ja-ichi");
    ASSERT_TRUE(ichi);
    VocabularyItem expected;
    expected.id = "ja-ichi";
    expected.language = LearningLanguage::japanese;
    expected.term = "一";
    expected.reading = "いち";
    expected.romanization = "ichi";
    expected.meanings = {"one", "best", "first"};
    expected.exampleTarget = "___";
    expected.exampleEnglish = "one";
    expected.level = 1;
    expected.frequencyRank = 5;
    expected.acceptedAnswers = {"一"};
    expected.tags = {"numeric", "noun", "prefix", "suffix", "adverb", "no-adjective"};
    EXPECT_EQ(ichi->item, expected);

    const auto panda = lesson(LearningLanguage::chinese, "zh-xiongmao");
    ASSERT_TRUE(panda);
    EXPECT_EQ(panda->item.frequencyRank, 40000);
    EXPECT_EQ(panda->item.level, 3);
}

// ---- counts and sources ----

TEST_F(FixtureStoreTest, CountsCoverEntriesCourseAndAttachedExercises) {
    EXPECT_EQ(*m_store->counts(LearningLanguage::chinese), (LexiconCounts{24, 18, 2}));
    EXPECT_EQ(*m_store->counts(LearningLanguage::japanese), (LexiconCounts{21, 17, 2}));
}

TEST_F(FixtureStoreTest, SourcesAreOrderedByDisplayName) {
    auto sources = m_store->sources();
    ASSERT_TRUE(sources);
    std::vector<std::string> names;
    for (const auto& source : *sources) names.push_back(source.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Brindle starter exercises", "CC-CEDICT", "EDICT",
                                               "JMdict priority tags", "Jieba word frequencies"}));
    const LexiconSource jieba = sources->back();
    EXPECT_EQ(jieba.id, "jieba-frequency");
    EXPECT_EQ(jieba.url, "https://github.com/fxsjy/jieba");
    EXPECT_EQ(jieba.license, "MIT");
    EXPECT_EQ(jieba.licenseURL, "");
    EXPECT_EQ(jieba.attribution, "Jieba contributors");
    EXPECT_EQ(jieba.checksum.size(), 64u);
}

// ---- the real lexicon, when it has been built ----

class RealLexiconTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string path = testing::realLexiconPath();
        if (path.empty()) GTEST_SKIP() << "resources/Tessel.sqlite has not been built";
        auto opened = LexiconStore::open(path);
        ASSERT_TRUE(opened) << opened.error().description;
        m_store = *opened;
    }
    std::shared_ptr<LexiconStore> m_store;
};

TEST_F(RealLexiconTest, EverydayWordsAreFoundFirstForTheirOwnText) {
    const struct {
        LearningLanguage language;
        std::string query;
        std::string reading;
        bool inCourse;
    } cases[] = {
        {LearningLanguage::chinese, "你好", "nǐ hǎo", true},
        {LearningLanguage::chinese, "学习", "xué xí", true},
        {LearningLanguage::chinese, "中国", "Zhōng guó", false},  // a proper name
        {LearningLanguage::japanese, "食べる", "たべる", true},
        {LearningLanguage::japanese, "東京", "とうきょう", true},
    };
    for (const auto& c : cases) {
        auto results = m_store->search(c.query, c.language, 80);
        ASSERT_TRUE(results);
        ASSERT_FALSE(results->empty()) << c.query;
        EXPECT_EQ(results->front().term, c.query);
        EXPECT_EQ(results->front().reading, c.reading) << c.query;
        if (c.inCourse) {
            EXPECT_TRUE(results->front().isInCurriculum) << c.query;
        }
    }
}

TEST_F(RealLexiconTest, CourseSizesAndSourcesAreInRange) {
    for (const auto language : kAllLearningLanguages) {
        auto counts = m_store->counts(language);
        ASSERT_TRUE(counts);
        EXPECT_GE(counts->curriculumEntries, 12000);
        EXPECT_LE(counts->curriculumEntries, 25000);
        EXPECT_GT(counts->referenceEntries, counts->curriculumEntries);
        EXPECT_GE(counts->contextualExercises, 60);
        auto lessons = m_store->lessons(language, 40000);
        ASSERT_TRUE(lessons);
        EXPECT_EQ(static_cast<std::int64_t>(lessons->size()), counts->curriculumEntries);
    }
    auto sources = m_store->sources();
    ASSERT_TRUE(sources);
    EXPECT_GE(sources->size(), 5u);
    for (const auto& source : *sources) {
        EXPECT_EQ(source.checksum.size(), 64u) << source.id;
        EXPECT_EQ(source.checksum.find_first_not_of("0123456789abcdef"), std::string::npos)
            << source.id;
    }
}

}  // namespace
}  // namespace tessel
