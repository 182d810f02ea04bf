// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "EvaluationReport.h"

namespace tessel::compiler {
namespace {

CompiledEntry courseEntry(std::string term, std::string alternate, std::string reading, int level,
                          bool learnable = true) {
    CompiledEntry entry;
    entry.language = "ja";
    entry.term = std::move(term);
    entry.alternate = std::move(alternate);
    entry.reading = std::move(reading);
    entry.level = level;
    entry.learnable = learnable;
    return entry;
}

TEST(EvaluationReportTest, ScoresWordsByTheirEarliestMatchingCourseEntry) {
    const auto words = parseCheckList(
        "# forms\treadings\tgloss\tkind\n"
        "犬\tいぬ\tdog\tnoun\n"
        "貴方|あなた\tあなた\tyou\tnoun\n"
        "今日\tきょう|こんにち\ttoday\tnoun\n"
        "猫\tねこ\tcat\tnoun\n",
        true);
    ASSERT_TRUE(words.has_value());
    ASSERT_EQ(words->size(), 4u);
    EXPECT_EQ((*words)[1], (CheckWord{{"貴方", "あなた"}, {"あなた"}}));

    RankedEntries ranked;
    ranked.entries = {
        courseEntry("犬", "", "けん", 1),  // another reading does not count
        courseEntry("犬", "", "いぬ", 3),
        courseEntry("彼方", "あなた", "あなた", 2),  // found by its kana alternate
        courseEntry("今日", "", "こんにち", 4),
        courseEntry("今日", "", "きょう", 1),
        courseEntry("猫", "", "ねこ", 1, false),  // reference only
    };
    const CheckScore score = scoreCourse(ranked, *words);
    EXPECT_EQ(score.words, 4u);
    EXPECT_EQ(score.inCourse, 3u);
    EXPECT_EQ(score.inFirstTwoBands, 2u);
    EXPECT_EQ(score.medianBand, 3) << "bands 1, 2, 3, 7";
    EXPECT_EQ(score.missing, std::vector<std::string>{"猫"});
    EXPECT_FALSE(parseCheckList("\tいぬ\n", true).has_value()) << "a line without a form";
}

}  // namespace
}  // namespace tessel::compiler
