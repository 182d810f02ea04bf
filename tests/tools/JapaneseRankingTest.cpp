#include <gtest/gtest.h>

#include <algorithm>

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

TEST(JapaneseRankTest, OrdersByBucketThenFirstListsThenCommonMark) {
    // Listed best first; each key must beat every later one.
    const JapaneseRankKey keys[] = {
        japaneseRankKey({1, 0b0011, 0}, true),   japaneseRankKey({1, 0b0001, 0}, true),
        japaneseRankKey({1, 0b0001, 0}, false),  japaneseRankKey({2, 0b0011, 0}, true),
        japaneseRankKey({48, 0, 0b0001}, false), japaneseRankKey({0, 0b0110, 0}, false),
        japaneseRankKey({0, 0b0010, 0}, true),   japaneseRankKey({0, 0b0010, 0}, false),
        japaneseRankKey({0, 0, 0b0010}, true),   japaneseRankKey({0, 0, 0}, true),
        japaneseRankKey({0, 0, 0b0010}, false),
    };
    const std::size_t count = std::size(keys);
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t j = i + 1; j < count; ++j) {
            EXPECT_TRUE(betterJapaneseKey(keys[i], keys[j])) << i << " vs " << j;
            EXPECT_FALSE(betterJapaneseKey(keys[j], keys[i])) << j << " vs " << i;
        }
    }
    EXPECT_TRUE(keys[count - 2].ranked()) << "(P) alone ranks";
    EXPECT_FALSE(keys[count - 1].ranked()) << "second lists alone do not";
}

TEST(JapaneseEntriesTest, BuildsRowsInRankOrder) {
    const EdictText edict = parseEdict(
        "此れ [これ] /(pn) (uk) this/\n"
        "東京 [とうきょう] /(n) Tokyo/(P)/\n"
        "東京 [とうけい] /(ok) (n) Tokyo/\n"
        "ぼく /(pn) I (male)/(P)/\n"
        "バルセロナ /(n) (place) Barcelona (Spain)/(P)/\n"
        "東京 [とうけい] /(ok) (n) Tokyo/\n");
    const PriorityIndex index = PriorityIndex::fromDictionary(
        " [news1]  [nf01]  東京 /x/,  [news1]  [nf01] とうきょう /x/\n"
        " [ichi1]  此れ /x/,  [ichi1] これ /x/\n");
    const RankedEntries ranked = buildJapaneseEntries(edict, index);

    std::vector<std::string> order;
    for (std::size_t index : ranked.order) {
        order.push_back(ranked.entries[index].term + "[" + ranked.entries[index].reading + "]");
    }
    // bucket, then a first list, then (P) alone (shorter term first), then the unranked
    EXPECT_EQ(order, (std::vector<std::string>{"東京[とうきょう]", "此れ[これ]", "ぼく[ぼく]",
                                               "バルセロナ[バルセロナ]", "東京[とうけい]",
                                               "東京[とうけい]"}));
    EXPECT_EQ(ranked.rankedCount, 4u);

    const CompiledEntry& kore = ranked.entries[0];
    EXPECT_EQ(kore.alternate, "これ") << "usually written in kana";
    EXPECT_EQ(kore.romanization, "kore");
    EXPECT_EQ(ranked.entries[1].romanization, "toukyou");
    EXPECT_TRUE(ranked.entries[1].alternate.empty());
    EXPECT_EQ(ranked.entries[3].reading, "ぼく") << "a kana word reads as itself";
    EXPECT_FALSE(ranked.courseEligible[4]) << "a place name only";
    EXPECT_TRUE(ranked.courseEligible[3]);
    EXPECT_NE(ranked.entries[2].id, ranked.entries[5].id) << "duplicate lines get distinct ids";
    EXPECT_EQ(ranked.entries[1].id.substr(0, 3), "ja-");
}

}  // namespace
}  // namespace tessel::compiler
