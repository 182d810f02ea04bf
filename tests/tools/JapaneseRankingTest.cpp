// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>

#include "EntryId.h"
#include "JapaneseLexicon.h"
#include "JmdictPriorities.h"

namespace tessel::compiler {
namespace {

TEST(PriorityHeadwordTest, ReadsFormsWithTheirMarkers) {
    struct Case {
        const char* line;
        std::vector<PriorityForm> forms;  // empty: not a headword line
    };
    const Case cases[] = {
        {" [ichi1]  [news1]  [nf10]  明白 /(en)x (en)x/,  [ichi1]  [news1]  [nf10] めいはく "
         "/mehaku/",
         {{"明白", {10, 0b0011, 0}}, {"めいはく", {10, 0b0011, 0}}}},
        // restrictions, empty notes and spelling notes in parentheses are skipped
        {"明かん /kaN/, あかん /akaN/,  () アカン /akaN/",
         {{"明かん", {}}, {"あかん", {}}, {"アカン", {}}}},
        {" (word containing irregular kanji usage)  悪どい /doi/,  [news2]  [nf30] あくどい "
         "/akudoi/",
         {{"悪どい", {}}, {"あくどい", {30, 0, 0b0001}}}},
        {" [gai1]  [spec2] テレビ /terebi/", {{"テレビ", {0, 0b1000, 0b0100}}}},
        // sense and gloss lines of an entry are not headword lines
        {"(noun (common) (futsuumeishi))", {}},
        {"obvious, clear, plain, evident/apparent", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        std::vector<PriorityForm> forms;
        EXPECT_EQ(parsePriorityHeadword(c.line, forms), !c.forms.empty()) << c.line;
        EXPECT_EQ(forms, c.forms) << c.line;
    }
}

TEST(PriorityIndexTest, CountsOnlyMarkersTheWrittenFormAndReadingShare) {
    const PriorityIndex index = PriorityIndex::fromDictionary(
        " [news1]  [nf01]  東京 /x/,  [news1]  [nf01] とうきょう /x/\n"
        "(noun)\nTokyo\n"
        " [news2]  [nf25]  [spec2]  日本 /x/,  [news2]  [nf25]  [spec2]  にほん /x/, にっぽん /x/\n"
        " [ichi1]  此れ /x/,  [ichi1] これ /x/\n"
        " [spec1] これ /x/\n");
    EXPECT_EQ(index.entryCount(), 4u);
    struct Case {
        const char* term;
        const char* reading;
        Priority expected;
    };
    const Case cases[] = {
        {"東京", "とうきょう", {1, 0b0001, 0}},
        {"東京", "とうけい", {}},  // a reading the entry does not list
        {"日本", "にほん", {25, 0, 0b0101}},
        {"日本", "にっぽん", {}},  // the reading carries no markers of its own
        {"此れ", "これ", {0, 0b0010, 0}},
        // a kana word is looked up among entries without kanji: the second これ entry
        {"これ", "", {0, 0b0100, 0}},
        {"未知", "みち", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(index.lookup(c.term, c.reading), c.expected) << c.term << " " << c.reading;
    }
}

JapaneseSignals signalsOf(Priority priority, bool commonMark, bool kanaWord, int grade, int level,
                          int length) {
    return {priority, commonMark, kanaWord, grade, level, false, length};
}

TEST(JapaneseRankTest, CommonWordsComeFirstAndEverydayOnesLead) {
    constexpr std::uint8_t news1 = 0b0001, ichi1 = 0b0010;
    // Listed best first; each must beat every later one.
    const JapaneseSignals signals[] = {
        // a short ichi1 word in first-grade kanji without a bucket (人 ひと)
        signalsOf({0, ichi1, 0}, true, false, 1, 4, 1),
        // an everyday verb the newspapers rarely use (食べる, nf25)
        signalsOf({25, ichi1 | news1, 0}, true, false, 2, 4, 3),
        // a top newspaper word in later-grade kanji on news1 alone (法案)
        signalsOf({1, news1, 0}, true, false, 4, 2, 2),
        // a word marked only (P)
        signalsOf({0, 0, 0}, true, false, 8, 1, 3),
        // not common: a high newspaper bucket still comes after every common word
        signalsOf({1, 0, 0b0001}, false, false, 1, 4, 2),
        signalsOf({30, 0, 0}, false, false, 1, 4, 2),
        signalsOf({0, 0, 0b0010}, false, true, 0, 0, 3),
        signalsOf({0, 0, 0}, false, true, 0, 0, 3),
    };
    const std::size_t count = std::size(signals);
    for (std::size_t i = 0; i < count; ++i) {
        EXPECT_EQ(isCommonJapanese(signals[i]), i < 4) << i;
        for (std::size_t j = i + 1; j < count; ++j) {
            EXPECT_TRUE(betterJapaneseSignals(signals[i], signals[j])) << i << " vs " << j;
            EXPECT_FALSE(betterJapaneseSignals(signals[j], signals[i])) << j << " vs " << i;
        }
    }
}

TEST(JapaneseRankTest, ReadsGradeAndLevelFromTheKanjiAndTreatsKanaWordsAsEarly) {
    const KanjiDictionary kanji = parseKanjiDictionary(
        "<character>\n<literal>食</literal>\n<misc>\n<grade>2</grade>\n<jlpt>4</jlpt>\n"
        "</misc>\n</character>\n"
        "<character>\n<literal>此</literal>\n<misc>\n<grade>9</grade>\n</misc>\n</character>\n");
    EdictLine line;
    ASSERT_TRUE(parseEdictLine("食べる [たべる] /(v1,vt) to eat/(P)/", line));
    JapaneseSignals eat = japaneseSignals(line, {}, kanji);
    EXPECT_EQ(eat.kanjiGrade, 2);
    EXPECT_EQ(eat.kanjiLevel, 4);
    EXPECT_FALSE(eat.unlistedKanji);
    EXPECT_EQ(eat.length, 3);
    EXPECT_TRUE(eat.commonMark);
    ASSERT_TRUE(parseEdictLine("此れ [これ] /(pn) (uk) this/", line));
    const JapaneseSignals kore = japaneseSignals(line, {}, kanji);
    EXPECT_TRUE(kore.kanaWord) << "usually written in kana";
    EXPECT_TRUE(kore.unlistedKanji) << "此 has no test level";
    ASSERT_TRUE(parseEdictLine("法案 [ほうあん] /(n) bill/", line));
    EXPECT_TRUE(japaneseSignals(line, {}, kanji).unlistedKanji) << "not in the dictionary";
}

TEST(JapaneseEntriesTest, RanksCommonWordsFirstAndMergesSpellings) {
    const EdictText edict = parseEdict(
        "法案 [ほうあん] /(n) bill (law)/\n"
        "人 [ひと] /(n) person/(P)/\n"
        "入口 [いりぐち] /(n) entrance/(P)/\n"
        "入り口 [いりぐち] /(n) entrance/(P)/\n"
        "入口 [はいりぐち] /(n) entrance/\n"
        "此れ [これ] /(pn) (uk) this/\n"
        "バルセロナ /(n) (place) Barcelona (Spain)/(P)/\n"
        "人 [ひと] /(n) person/\n");
    const PriorityIndex index = PriorityIndex::fromDictionary(
        // a news-only word at the very top of the newspaper buckets, which no list marks common
        " [news2]  [nf01]  法案 /x/,  [news2]  [nf01] ほうあん /x/\n"
        " [ichi1]  [news1]  [nf02]  人 /x/,  [ichi1] ひと /x/\n"
        " [ichi1]  入口 /x/,  [ichi1]  [news1]  [nf05]  入り口 /x/,  [ichi1]  [news1]  [nf05] "
        "いりぐち /x/, はいりぐち /x/\n"
        " [ichi1]  此れ /x/,  [ichi1] これ /x/\n");
    const KanjiDictionary kanji = parseKanjiDictionary(
        "<character>\n<literal>人</literal>\n<grade>1</grade>\n<jlpt>4</jlpt>\n</character>\n"
        "<character>\n<literal>入</literal>\n<grade>1</grade>\n<jlpt>4</jlpt>\n</character>\n"
        "<character>\n<literal>口</literal>\n<grade>1</grade>\n<jlpt>4</jlpt>\n</character>\n"
        "<character>\n<literal>法</literal>\n<grade>4</grade>\n<jlpt>2</jlpt>\n</character>\n"
        "<character>\n<literal>案</literal>\n<grade>4</grade>\n<jlpt>2</jlpt>\n</character>\n");
    const RankedEntries ranked = buildJapaneseEntries(edict, index, kanji);

    std::vector<std::string> order;
    for (std::size_t i : ranked.order) {
        order.push_back(ranked.entries[i].term + "[" + ranked.entries[i].reading + "]");
    }
    const auto position = [&](const std::string& word) {
        return std::find(order.begin(), order.end(), word) - order.begin();
    };
    EXPECT_EQ(ranked.rankedCount, 6u) << "both 人 lines, 入口, 入り口, 此れ, the place name";
    EXPECT_LT(position("人[ひと]"), position("法案[ほうあん]"))
        << "a common ichi1-only word beats a news-only word";
    EXPECT_GE(position("法案[ほうあん]"), 6) << "a news-only word is not common";
    EXPECT_FALSE(ranked.courseEligible[7]) << "the second 人 line is the same word";

    // 入口 and 入り口 are one word: studied under the entry's first spelling, 入口, which ranks
    // as well as its better spelling 入り口 and keeps its own id.
    EXPECT_TRUE(ranked.courseEligible[2]);
    EXPECT_FALSE(ranked.courseEligible[3]);
    EXPECT_LT(position("入口[いりぐち]"), position("入り口[いりぐち]"));
    EXPECT_EQ(ranked.entries[2].id, stableEntryId("ja", "入口", "", "いりぐち", 0));
    EXPECT_FALSE(ranked.courseEligible[6]) << "a place name only";
    EXPECT_TRUE(ranked.courseEligible[5]);

    const CompiledEntry& kore = ranked.entries[5];
    EXPECT_EQ(kore.alternate, "これ") << "usually written in kana";
    EXPECT_EQ(kore.romanization, "kore");
    EXPECT_TRUE(ranked.entries[1].alternate.empty());
    EXPECT_NE(ranked.entries[1].id, ranked.entries[7].id) << "duplicate lines get distinct ids";
    EXPECT_EQ(ranked.entries[1].id.substr(0, 3), "ja-");
}

}  // namespace
}  // namespace tessel::compiler
