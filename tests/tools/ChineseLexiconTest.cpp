// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "ChineseLexicon.h"

namespace tessel::compiler {
namespace {

TEST(ChineseGlossTest, TellsMeaningsFromPointersAndNotes) {
    const std::pair<const char*, GlossKind> cases[] = {
        {"to eat", GlossKind::meaning},
        {"variant of 年[nian2]", GlossKind::pointer},
        {"old variant of 秋[qiu1]", GlossKind::pointer},
        {"(old) contracted variant of 麼|么[me5]", GlossKind::pointer},
        {"erhua variant of 玩[wan2]", GlossKind::pointer},
        // "variant of" inside a real gloss does not make it a pointer
        {"crispy, deep-fried (variant of 脆[cui4])", GlossKind::meaning},
        {"see 你好[ni3 hao3]", GlossKind::pointer},
        {"used in 葡萄[pu2 tao5]", GlossKind::pointer},
        {"abbr. for 北京大學|北京大学[Bei3 jing1 Da4 xue2]", GlossKind::pointer},
        {"surname Wang", GlossKind::surname},
        {"CL:個|个[ge4]", GlossKind::note},
        {"Taiwan pr. [fa3]", GlossKind::note},
        {"seesaw", GlossKind::meaning},
    };
    for (const auto& [gloss, kind] : cases) EXPECT_EQ(classifyChineseGloss(gloss), kind) << gloss;
}

TEST(ChineseGlossTest, RecognisesProperNounsByTheirCapitalisedFirstSyllable) {
    const std::pair<const char*, bool> cases[] = {
        {"Zhong1 guo2", true}, {"Wang2", true},  {"zhong1 guo2", false},
        {"A A zhi4", false},   {"K ge1", false}, {"", false},
    };
    for (const auto& [pinyin, proper] : cases)
        EXPECT_EQ(isChineseProperNoun(pinyin), proper) << pinyin;
}

// A small dictionary: two records share the headword 了, a name shares 王, a variant record
// shares 年, and 乙 is not counted by the segmenter at all.
CedictText sampleDictionary() {
    return parseCedict(
        "秊 年 [nian2] /grain/harvest (old)/variant of 年[nian2]/\n"
        "年 年 [nian2] /year/CL:個|个[ge4]/\n"
        "了 了 [liao3] /to finish/\n"
        "了 了 [le5] /(completed action marker)/(modal particle)/\n"
        "王 王 [Wang2] /surname Wang/\n"
        "王 王 [wang2] /king/\n"
        "中國 中国 [Zhong1 guo2] /China/\n"
        "乙 乙 [yi3] /second of the ten Heavenly Stems/\n"
        "乙 乙 [yi3] /second of the ten Heavenly Stems/\n");
}

WordFrequencies sampleCounts() {
    return parseWordFrequencies("了 900 ul\n年 500 m\n中国 700 ns\n王 100 n\n");
}

const CompiledEntry& find(const RankedEntries& ranked, std::string_view term,
                          std::string_view reading) {
    auto found = std::find_if(ranked.entries.begin(), ranked.entries.end(), [&](const auto& e) {
        return e.term == term && e.reading == reading;
    });
    EXPECT_NE(found, ranked.entries.end()) << term << " " << reading;
    return *found;
}

TEST(ChineseEntriesTest, GivesEachCountedHeadwordsRankToItsEverydayRecord) {
    const RankedEntries ranked = buildChineseEntries(sampleDictionary(), sampleCounts());
    ASSERT_EQ(ranked.entries.size(), 9u);
    EXPECT_EQ(ranked.rankedCount, 4u);

    std::vector<std::string> rankedOrder;
    for (std::size_t i = 0; i < ranked.rankedCount; ++i) {
        const CompiledEntry& e = ranked.entries[ranked.order[i]];
        rankedOrder.push_back(e.term + " " + e.reading);
    }
    // By count; within a headword the record with more real glosses and no variant pointer.
    EXPECT_EQ(rankedOrder,
              (std::vector<std::string>{"了 le", "中国 Zhōng guó", "年 nián", "王 wáng"}));
    // Parts of speech come from the segmenter and only go to the record that took the count.
    EXPECT_EQ(find(ranked, "了", "le").partsOfSpeech, std::vector<std::string>{"particle"});
    EXPECT_TRUE(find(ranked, "了", "liǎo").partsOfSpeech.empty());
}

TEST(ChineseEntriesTest, KeepsNamesSurnamesAndPointersOutOfTheCourse) {
    const RankedEntries ranked = buildChineseEntries(sampleDictionary(), sampleCounts());
    auto eligible = [&](std::string_view term, std::string_view reading) {
        const CompiledEntry& entry = find(ranked, term, reading);
        return bool(ranked.courseEligible[std::size_t(&entry - ranked.entries.data())]);
    };
    EXPECT_TRUE(eligible("了", "le"));
    EXPECT_TRUE(eligible("王", "wáng"));
    EXPECT_FALSE(eligible("王", "Wáng"));
}

TEST(ChineseGlossTest, ShowsBracketedPinyinWithToneMarks) {
    const std::pair<const char*, const char*> cases[] = {
        {"also pr. [zhi1 dao5]", "also pr. [zhī dao]"},
        {"also pr. [zhi1dao5]", "also pr. [zhī dao]"},
        {"CL:個|个[ge4],位[wei4]", "CL:個|个[gè],位[wèi]"},
        {"Titanic [Tai4 tan3 ni2 ke4 Hao4]", "Titanic [Tài tǎn ní kè Hào]"},
        {"green [lu:4]", "green [lǜ]"},
        {"Taiwanese [ông-lâi]", "Taiwanese [ông-lâi]"},  // not numbered pinyin
        {"see [1]", "see [1]"},
        {"unclosed [ni3", "unclosed [ni3"},
        {"plain gloss", "plain gloss"},
    };
    for (const auto& [gloss, shown] : cases) EXPECT_EQ(glossWithToneMarks(gloss), shown) << gloss;
}

TEST(ChineseEntriesTest, GeneralWeightsTemperTheNewspaperCounts) {
    const CedictText dictionary = parseCedict(
        "法案 法案 [fa3 an4] /bill; proposed law/\n"
        "謝謝 谢谢 [xie4 xie5] /to thank/\n"
        "米飯 米饭 [mi3 fan4] /cooked rice/\n"
        "政府 政府 [zheng4 fu3] /government/\n");
    const WordFrequencies news =
        parseWordFrequencies("法案 1000 n\n政府 900 n\n谢谢 100 nr\n米饭 50 n\n");
    // Everyday writing, in traditional characters; 政府 is missing from it.
    const WordFrequencies everyday = parseWordFrequencies(
        "謝謝\t5000\n米飯\t4000\n吃\t3000\n喝\t2500\n你\t2000\n好\t1500\n法案\t10\n");
    auto order = [](const RankedEntries& ranked) {
        std::vector<std::string> terms;
        for (std::size_t i = 0; i < ranked.rankedCount; ++i) {
            terms.push_back(ranked.entries[ranked.order[i]].term);
        }
        return terms;
    };
    EXPECT_EQ(order(buildChineseEntries(dictionary, news)),
              (std::vector<std::string>{"法案", "政府", "谢谢", "米饭"}));
    // 谢谢 (ranks 3 and 1) and 米饭 (4 and 2, found by its traditional spelling) overtake
    // 法案 (1 and 7); 政府 keeps its newspaper rank 2 alone.
    EXPECT_EQ(order(buildChineseEntries(dictionary, news, everyday)),
              (std::vector<std::string>{"谢谢", "政府", "米饭", "法案"}));
}

TEST(ChineseEntriesTest, AdmitsProperNounsUnlessTheyNameAPersonOrAnOrganisation) {
    const RankedEntries ranked = buildChineseEntries(
        parseCedict("中國 中国 [Zhong1 guo2] /China/\n"
                    "春節 春节 [Chun1 jie2] /Spring Festival/\n"
                    "漢語 汉语 [Han4 yu3] /Chinese language/\n"
                    "毛澤東 毛泽东 [Mao2 Ze2 dong1] /Mao Zedong (1893-1976), Chinese leader/\n"
                    "張偉 张伟 [Zhang1 Wei3] /Zhang Wei/\n"
                    "新華社 新华社 [Xin1 hua2 she4] /Xinhua News Agency/\n"
                    "謝謝 谢谢 [xie4 xie5] /to thank/thanks/\n"),
        parseWordFrequencies("中国 700 ns\n春节 300 t\n汉语 200 nz\n毛泽东 600 nr\n"
                             "张伟 50 nrfg\n新华社 400 nt\n谢谢 100 nr\n"));
    const std::pair<const char*, bool> cases[] = {
        {"中国", true},  {"春节", true},    {"汉语", true}, {"毛泽东", false},
        {"张伟", false}, {"新华社", false}, {"谢谢", true},  // a lower-case word keeps its place
                                                             // whatever its tag says
    };
    for (const auto& [term, expected] : cases) {
        const auto found = std::find_if(ranked.entries.begin(), ranked.entries.end(),
                                        [&](const CompiledEntry& e) { return e.term == term; });
        ASSERT_NE(found, ranked.entries.end()) << term;
        EXPECT_EQ(bool(ranked.courseEligible[std::size_t(found - ranked.entries.begin())]),
                  expected)
            << term;
    }
}

TEST(ChineseEntriesTest, FillsTheRowFieldsAndGivesDistinctIds) {
    const RankedEntries ranked = buildChineseEntries(sampleDictionary(), sampleCounts());
    const CompiledEntry& china = find(ranked, "中国", "Zhōng guó");
    EXPECT_EQ(china.language, "zh");
    EXPECT_EQ(china.alternate, "中國");
    EXPECT_EQ(china.romanization, "zhongguo");
    EXPECT_EQ(china.source, "CC-CEDICT");
    EXPECT_TRUE(find(ranked, "了", "le").alternate.empty());

    std::vector<std::string> ids;
    for (const auto& entry : ranked.entries) ids.push_back(entry.id);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end()) << "identical records";
}

TEST(ChineseEntriesTest, IdsDependOnContentNotOnPositionOrRank) {
    auto idsByContent = [](const RankedEntries& ranked) {
        std::map<std::string, std::string> ids;
        for (const CompiledEntry& e : ranked.entries) {
            if (e.term == "乙") continue;  // identical twins: told apart by file order alone
            ids[e.term + "|" + e.alternate + "|" + e.reading] = e.id;
        }
        return ids;
    };
    CedictText reversed = sampleDictionary();
    std::reverse(reversed.records.begin(), reversed.records.end());
    const auto forward = idsByContent(buildChineseEntries(sampleDictionary(), sampleCounts()));
    const auto backward = idsByContent(buildChineseEntries(reversed, WordFrequencies{}));
    EXPECT_EQ(forward.size(), 7u);
    EXPECT_EQ(forward, backward);
}

}  // namespace
}  // namespace tessel::compiler
