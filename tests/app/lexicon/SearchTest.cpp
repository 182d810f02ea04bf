// SPDX-License-Identifier: GPL-3.0-or-later
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "CaseFoldingFinder.h"
#include "JsonStringList.h"
#include "LexiconStore.h"
#include "LexiconTestSupport.h"
#include "SearchIndex.h"
#include "SearchInterpretation.h"
#include "SearchText.h"

namespace tessel {
namespace {

using testing::idsOf;
using testing::SearchData;
using testing::TemporaryFolder;

// ---- the search cases, answered by the SQL query and by both fast-path set-ups ----

enum class Engine { reference, fastBuilt, fastStored };

struct SearchCase {
    std::string name;
    std::string query;
    LearningLanguage language;
    std::int64_t limit;
    std::vector<std::string> ids;
};

const LearningLanguage zh = LearningLanguage::chinese;
const LearningLanguage ja = LearningLanguage::japanese;

const std::vector<SearchCase> kSearchCases = {
    // Exact term, then prefixes (course entries first), then other matches whatever their rank.
    {"exactPrefixThenContains", "好", zh, 80, {"zh-hao", "zh-haochi", "zh-haoren", "zh-nihao"}},
    // Exact is case-sensitive; prefix and contains fold ASCII letters.
    {"exactIsCaseSensitive", "OK", zh, 80, {"zh-ok", "zh-okbeng", "zh-hao", "zh-shu"}},
    {"prefixFoldsCase", "ok", zh, 80, {"zh-okbeng", "zh-ok", "zh-hao", "zh-shu"}},
    {"prefixFoldsCaseOnTerm", "t恤", zh, 80, {"zh-txu"}},
    // An exact match on the alternate form counts as exact.
    {"exactAlternate", "ネコ", ja, 80, {"ja-neko"}},
    {"exactTraditional", "謝謝", zh, 80, {"zh-xiexie"}},
    {"meaningMatch", "eat", ja, 80, {"ja-taberu", "ja-kuu"}},
    {"readingMatch", "たべ", ja, 80, {"ja-taberu", "ja-tabemono"}},
    {"termPrefix", "食べ", ja, 80, {"ja-taberu", "ja-tabemono"}},
    {"romanization", "nihao", zh, 80, {"zh-nihao"}},
    {"readingWithTones", "nǐ hǎo", zh, 80, {"zh-nihao"}},
    {"romanizationV", "lv", zh, 80, {"zh-lv"}},
    // Wildcard characters and the escape character are literal.
    {"percentIsLiteral", "%", zh, 80, {"zh-baifenzhi", "zh-percent-sign"}},
    {"percentIsLiteralJa", "%", ja, 80, {"ja-paasento"}},
    {"underscoreIsLiteral", "_", zh, 80, {"zh-xiahuaxian"}},
    {"underscoreIsLiteralJa", "_", ja, 80, {"ja-andaabaa"}},
    {"backslashIsLiteral", "\\", zh, 80, {"zh-fanxiegang"}},
    {"backslashInRawJson", "\\", ja, 80, {"ja-en"}},
    {"escapeTextIsMatchedRaw", "u00a5", ja, 80, {"ja-en"}},
    {"escapedCharacterIsNotDecoded", "¥", ja, 80, {}},
    // Letters beyond ASCII are compared exactly.
    {"accentedCaseIsNotFolded", "CAFÉ", ja, 80, {}},
    {"asciiPartFolds", "CAFé", ja, 80, {"ja-kafe"}},
    // The other language never appears.
    {"sameTermOtherLanguageZh", "学生", zh, 80, {"zh-xuesheng"}},
    {"sameTermOtherLanguageJa", "学生", ja, 80, {"ja-gakusei"}},
    {"noMatch", "xyzzy", zh, 80, {}},
    // Blank queries list the language's entries: course first, by rank.
    {"blankBrowses", "", ja, 5, {"ja-kore", "ja-mizu", "ja-taberu", "ja-nihon", "ja-ichi"}},
    {"whitespaceBrowses", " \t\n\u3000 ", zh, 3, {"zh-nihao", "zh-xiexie", "zh-hao"}},
    {"browseReachesReferenceEntries", "", ja, 40, {"ja-kore",     "ja-mizu",     "ja-taberu",
                                                   "ja-nihon",    "ja-ichi",     "ja-hon",
                                                   "ja-arigatou", "ja-gakusei",  "ja-nomu",
                                                   "ja-toukyou",  "ja-neko",     "ja-tabemono",
                                                   "ja-ookii",    "ja-kafe",     "ja-benkyou",
                                                   "ja-paasento", "ja-ame",      "ja-kuu",
                                                   "ja-kujira",   "ja-andaabaa", "ja-en"}},
    {"queryIsTrimmed", "\u3000 好 \n", zh, 1, {"zh-hao"}},
    // Limits.
    {"limitCutsInsideTheFirstGroups", "好", zh, 2, {"zh-hao", "zh-haochi"}},
    {"limitCutsContains", "a", zh, 3, {"zh-nihao", "zh-xiexie", "zh-hao"}},
    {"zeroLimit", "好", zh, 0, {}},
    {"negativeLimit", "好", zh, -1, {}},
    {"negativeLimitBrowse", "", zh, -80, {}},
    // Pinyin and romaji as typed find the entry through their romanization; the query's own
    // results stay first, and nothing is listed twice.
    {"pinyinWithDigits", "ni3 hao3", zh, 80, {"zh-nihao"}},
    {"fullWidthPinyin", "ｎｉ３ｈａｏ３", zh, 80, {"zh-nihao"}},
    {"pinyinUmlaut", "lü", zh, 80, {"zh-lv"}},
    {"interpretationFollows",
     "hǎo",
     zh,
     80,
     {"zh-nihao", "zh-hao", "zh-haochi", "zh-haoren", "zh-percent-sign"}},
    {"interpretationWithinLimit", "hǎo", zh, 2, {"zh-nihao", "zh-hao"}},
    {"hepburnMacrons", "Tōkyō", ja, 80, {"ja-toukyou"}},
    {"macronOnO", "ōkii", ja, 80, {"ja-ookii"}},
    {"droppedLongVowel", "tokyou", ja, 80, {}},
    // A NULL column reads as empty and still lets the row match on its term.
    {"nullColumns", "攷", zh, 80, {"zh-variant"}},
};

class SearchCaseTest : public ::testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        const SearchData data =
            GetParam() == Engine::fastStored ? SearchData::stored : SearchData::builtFromTable;
        auto opened = LexiconStore::open(testing::fixtureLexicon(m_folder, data));
        ASSERT_TRUE(opened);
        m_store = *opened;
    }

    Result<std::vector<LexiconEntry>> run(const SearchCase& c) {
        return GetParam() == Engine::reference
                   ? m_store->searchReference(c.query, c.language, c.limit)
                   : m_store->search(c.query, c.language, c.limit);
    }

    TemporaryFolder m_folder;
    std::shared_ptr<LexiconStore> m_store;
};

TEST_P(SearchCaseTest, ListsTheExpectedEntriesInOrder) {
    for (const SearchCase& c : kSearchCases) {
        auto results = run(c);
        ASSERT_TRUE(results) << c.name << ": " << results.error().description;
        EXPECT_EQ(idsOf(*results), c.ids) << c.name;
        for (const auto& entry : *results) EXPECT_EQ(entry.language, c.language) << c.name;
    }
}

TEST_P(SearchCaseTest, EntriesCarryEveryField) {
    auto results = run({"", "OK绷", zh, 80, {}});
    ASSERT_TRUE(results);
    ASSERT_EQ(results->size(), 1u);
    const LexiconEntry expected{"zh-okbeng",  zh,    "OK绷", "OK繃", "ōukèibēng", "oukeibeng",
                                {"band-aid"}, 49999, 6,      false,  "CC-CEDICT", {}};
    EXPECT_EQ(results->front(), expected);

    // Malformed JSON and arrays holding other values read as empty lists.
    auto odd = run({"", "アンダーバー", ja, 80, {}});
    ASSERT_TRUE(odd);
    ASSERT_EQ(odd->size(), 1u);
    EXPECT_TRUE(odd->front().meanings.empty());
    EXPECT_TRUE(odd->front().partsOfSpeech.empty());
    auto course = run({"", "食べる", ja, 80, {}});
    ASSERT_TRUE(course);
    ASSERT_FALSE(course->empty());
    EXPECT_TRUE(course->front().isInCurriculum);
    EXPECT_EQ(course->front().partsOfSpeech,
              (std::vector<std::string>{"Ichidan verb", "transitive verb"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, SearchCaseTest,
                         ::testing::Values(Engine::reference, Engine::fastBuilt,
                                           Engine::fastStored),
                         [](const auto& info) {
                             switch (info.param) {
                                 case Engine::reference:
                                     return std::string("reference");
                                 case Engine::fastBuilt:
                                     return std::string("fastBuilt");
                                 case Engine::fastStored:
                                     return std::string("fastStored");
                             }
                             return std::string();
                         });

// ---- stored search data that no longer describes the table ----

TEST(StaleSearchDataTest, SearchFollowsTheTableAfterEdits) {
    const struct {
        std::string name;
        std::string edit;
    } cases[] = {
        {"renamedTerm", "UPDATE vocabulary SET term = '好好' WHERE id = 'zh-hao'"},
        {"deletedRow", "DELETE FROM vocabulary WHERE id = 'zh-haochi'"},
        // Edited in place, row ids kept: only the content tells.
        {"termEditedInPlace", "UPDATE vocabulary SET term = '您好' WHERE id = 'zh-da'"},
        {"romanizationEditedInPlace",
         "UPDATE vocabulary SET romanization = 'haoda' WHERE id = 'zh-da'"},
        {"addedRow",
         "INSERT INTO vocabulary VALUES ('zh-haoxiang', 'zh', '好像', '', 'hǎoxiàng', "
         "'haoxiang', '[\"to seem\"]', 10, 1, 1, 'CC-CEDICT', '[]')"},
    };
    for (const auto& c : cases) {
        TemporaryFolder folder;
        const std::string path = testing::fixtureLexicon(folder, SearchData::stored);
        ASSERT_EQ(testing::executeSQL(path, c.edit), "") << c.name;
        auto store = LexiconStore::open(path);
        ASSERT_TRUE(store);
        for (const std::string query : {"好", "hao", "您好", ""}) {
            auto fast = (*store)->search(query, zh, 80);
            auto reference = (*store)->searchReference(query, zh, 80);
            ASSERT_TRUE(fast && reference);
            EXPECT_EQ(idsOf(*fast), idsOf(*reference)) << c.name << " / " << query;
        }
    }
}

// Releasing a language's search data frees it; the next search loads it again, a verdict that
// the stored data is stale outlives the release, and a search on another thread keeps the data
// it started with.
TEST(StaleSearchDataTest, ReleasedSearchDataLoadsAgain) {
    for (const bool edited : {false, true}) {
        TemporaryFolder folder;
        const std::string path = testing::fixtureLexicon(folder, SearchData::stored);
        if (edited) {
            ASSERT_EQ(
                testing::executeSQL(path, "UPDATE vocabulary SET term = '您好' WHERE id = 'zh-da'"),
                "");
        }
        auto store = LexiconStore::open(path);
        ASSERT_TRUE(store);
        const LexiconStore& lexicon = **store;
        lexicon.releaseSearch(ja);  // never loaded
        for (int round = 0; round < 2; ++round) {
            for (const std::string query : {"好", "您好", "hao", ""}) {
                auto fast = lexicon.search(query, zh, 80);
                auto reference = lexicon.searchReference(query, zh, 80);
                ASSERT_TRUE(fast && reference);
                EXPECT_EQ(idsOf(*fast), idsOf(*reference)) << edited << " / " << query;
            }
            lexicon.releaseSearch(zh);
        }
        const auto expected = idsOf(*lexicon.searchReference("hao", zh, 80));
        std::thread releasing([&] {
            for (int i = 0; i < 200; ++i) lexicon.releaseSearch(zh);
        });
        for (int i = 0; i < 200; ++i) {
            auto found = lexicon.search("hao", zh, 80);
            ASSERT_TRUE(found);
            EXPECT_EQ(idsOf(*found), expected);
        }
        releasing.join();
    }
}

// ---- stored search data ----

TEST(StoredSearchDataTest, LoadsBackWhatWasBuilt) {
    TemporaryFolder folder;
    const std::string path = testing::fixtureLexicon(folder, SearchData::stored);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    for (const std::string code : {"zh", "ja"}) {
        auto built = SearchIndex::build(db, code);
        auto loaded = SearchIndex::load(db, code);
        ASSERT_TRUE(built && loaded);
        ASSERT_TRUE(loaded->has_value()) << code;
        const SearchIndex& stored = **loaded;
        ASSERT_EQ(stored.size(), built->size());
        for (SearchIndex::Position p = 0; p < stored.size(); ++p) {
            EXPECT_EQ(stored.rowid(p), built->rowid(p));
            for (int field = 0; field < 5; ++field) {
                EXPECT_EQ(stored.field(p, field), built->field(p, field));
            }
        }
        for (const auto& query : testing::searchCorpus()) {
            const std::string text = trimmedSearchText(query.text);
            if (!SearchIndex::canAnswer(text, 50000)) continue;
            EXPECT_EQ(stored.find(text, 80), built->find(text, 80)) << text;
        }
    }
    auto none = SearchIndex::load(db, "xx");
    ASSERT_TRUE(none);
    EXPECT_FALSE(none->has_value());
    sqlite3_close(db);
}

TEST(StoredSearchDataTest, QueriesTheIndexCannotAnswerAreLeftToTheDatabase) {
    const std::pair<std::string, bool> cases[] = {
        {"好", true},
        {"%_\\", true},
        {std::string("a\0b", 3), false},
        {"a\x1f"
         "b",
         false},
        {"a\x1e"
         "b",
         false},
        {"\xff", false},
        {std::string(49998, 'a'), true},
        {std::string(49999, 'a'), false},  // with the two % signs the pattern is too long
        {std::string(24999, '%'), true},
        {std::string(25000, '%'), false},
    };
    for (const auto& [query, answerable] : cases) {
        EXPECT_EQ(SearchIndex::canAnswer(query, 50000), answerable) << query.size();
    }
}

// At the database's pattern limit the fast path and the SQL query agree, error included.
TEST(StoredSearchDataTest, LongQueriesAgreeWithTheDatabase) {
    TemporaryFolder folder;
    auto store = LexiconStore::open(testing::fixtureLexicon(folder, SearchData::stored));
    ASSERT_TRUE(store);
    for (const std::string& query : {std::string(49998, 'a'), std::string(49999, 'a'),
                                     std::string(24999, '%'), std::string(25000, '_')}) {
        auto fast = (*store)->search(query, zh, 80);
        auto reference = (*store)->searchReference(query, zh, 80);
        EXPECT_EQ(fast.has_value(), reference.has_value()) << query.size();
        if (fast && reference) {
            EXPECT_EQ(*fast, *reference);
        } else if (!fast && !reference) {
            EXPECT_EQ(fast.error(), reference.error());
        }
    }
    auto tooLong = (*store)->search(std::string(49999, 'a'), zh, 80);
    ASSERT_FALSE(tooLong);
    EXPECT_EQ(tooLong.error().description,
              "The local lexicon query failed: LIKE or GLOB pattern too complex");
}

// ---- query text ----

TEST(SearchInterpretationTest, ReadsPinyinAndRomajiAsTheLexiconSpellsThem) {
    using I = SearchInterpretation;
    const struct {
        const char* query;
        LearningLanguage language;
        std::vector<I> expected;
    } cases[] = {
        {"lv4 se4", zh, {I{"lvse"}}},
        {"gè r", zh, {I{"gèr", false}, I{"ger"}}},
        {"nihao", zh, {}},
        {"你好", zh, {}},
        {"tōkyō", ja, {I{"toukyou"}, I{"toukyoo"}, I{"tookyou"}, I{"tookyoo"}}},
        {"sannin", ja, {I{"san'in"}}},
        {"natsu", ja, {I{"n'atsu"}}},
        {"taberu", ja, {}},
        {"たべる", ja, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(searchInterpretations(c.query, c.language), c.expected) << c.query;
    }
}

TEST(SearchTextTest, TrimsUnicodeWhiteSpaceAtBothEndsOnly) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"  \t\n\r\v\f", ""},
        {"\u3000食べる\u3000", "食べる"},
        {"\u00a0nihao\u2029", "nihao"},
        {"\u0085\u1680\u2000\u200a\u202f\u205f\u2028x", "x"},
        {" ni hao ", "ni hao"},
        {"\u200bzero\u200b", "\u200bzero\u200b"},  // a zero-width space is no white space
        {"\xff ", "\xff"},                         // invalid bytes stay
        {" a\xe3\x80", "a\xe3\x80"},
    };
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(trimmedSearchText(input), expected) << input;
    }
}

TEST(SearchTextTest, EscapesLikeWildcardsAndTheEscapeCharacter) {
    const std::pair<std::string, std::string> cases[] = {
        {"abc", "abc"}, {"%", "\\%"},       {"_", "\\_"},
        {"\\", "\\\\"}, {"\\%", "\\\\\\%"}, {"50%_off\\", "50\\%\\_off\\\\"},
    };
    for (const auto& [input, expected] : cases) EXPECT_EQ(escapedForLike(input), expected);
}

// ---- JSON lists, checked against a general JSON parser ----

TEST(JsonStringListTest, AgreesWithAGeneralParser) {
    const std::string cases[] = {
        "[]",
        "[\"a\"]",
        " [ \"a\" , \"b\" ] ",
        "[\"to eat\",\"to drink\"]",
        "[\"\\u00a5\"]",
        "[\"\\ud83d\\ude42\"]",
        "[\"q\\\"uote\\\\ \\/ \\b\\f\\n\\r\\t\"]",
        "[\"食べる\"]",
        "",
        "null",
        "{}",
        "\"a\"",
        "[1]",
        "[\"a\",1]",
        "[\"a\",]",
        "[,]",
        "[\"a\"",
        "[\"a\"] x",
        "[[\"a\"]]",
        "[\"\\ud800\"]",
        "[\"\\udc00\"]",
        "[\"\\x\"]",
        "[\"\\u12\"]",
        "[\"tab\there\"]",
        "[\"\xff\"]",
        "[\"a\"]\n",
        "not json",
        "[null]",
        "[\"\\u0000\"]",
        "[\"a\"][\"b\"]",
    };
    for (const std::string& text : cases) {
        std::vector<std::string> expected;
        const auto parsed = nlohmann::json::parse(text, nullptr, false);
        if (!parsed.is_discarded() && parsed.is_array() &&
            std::all_of(parsed.begin(), parsed.end(),
                        [](const auto& v) { return v.is_string(); })) {
            expected = parsed.get<std::vector<std::string>>();
        }
        EXPECT_EQ(decodeJsonStringList(text), expected) << text;
    }
}

// ---- the case-folding finder, checked against a plain scan ----

std::size_t plainFind(const std::string& haystack, const std::string& needle, std::size_t from) {
    const std::string text = asciiLowered(haystack);
    return text.find(asciiLowered(needle), from);
}

TEST(CaseFoldingFinderTest, AgreesWithAPlainScan) {
    std::mt19937 random(20240607);
    const std::string alphabet[] = {"a", "B", "c",    "Z",  "%",  "_",  "\\", "@", "`",
                                    "[", "{", "\x1f", "食", "べ", "る", "é",  "É", " "};
    for (int round = 0; round < 3000; ++round) {
        std::string haystack;
        const int length = static_cast<int>(random() % 120);
        for (int i = 0; i < length; ++i) haystack += alphabet[random() % std::size(alphabet)];
        std::string needle;
        const int needleLength = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < needleLength; ++i) needle += alphabet[random() % std::size(alphabet)];
        if (random() % 3 == 0 && haystack.size() > 4) {
            const std::size_t at = random() % (haystack.size() - 3);
            needle = haystack.substr(at, 1 + random() % 3);
        }
        const std::size_t from = haystack.empty() ? 0 : random() % (haystack.size() + 1);
        const CaseFoldingFinder finder(needle);
        ASSERT_EQ(finder.find(haystack, from), plainFind(haystack, needle, from))
            << "needle " << needle << " from " << from << " in " << haystack;
    }
}

TEST(CaseFoldingFinderTest, FoldsOnlyAsciiLetters) {
    const struct {
        std::string haystack;
        std::string needle;
        std::size_t expected;
    } cases[] = {
        {"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxHELLO", "hello", 36},
        {"@@@@", "`", CaseFoldingFinder::npos},  // 0x40 and 0x60 differ only in the case bit
        {"[[[[", "{", CaseFoldingFinder::npos},
        {"CAFÉ", "café", CaseFoldingFinder::npos},
        {"Café", "CAFé", 0},
        {"abc", "abcd", CaseFoldingFinder::npos},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CaseFoldingFinder(c.needle).find(c.haystack, 0), c.expected) << c.needle;
    }
}

}  // namespace
}  // namespace tessel
