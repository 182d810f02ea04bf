// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReviewUndo.h"

#include <gtest/gtest.h>

#include "Leech.h"
#include "StudyEngine.h"

namespace tessel {
namespace {

const Instant kNow = instantFromSeconds(1'714'550'400);  // 2024-05-01T08:00:00Z
const Calendar kCalendar = Calendar::withTimeZone("Europe/Berlin");

DailyStudyStats day(const char* key, std::int64_t reviewed) {
    DailyStudyStats stats;
    stats.day = key;
    stats.reviewedCount = reviewed;
    stats.correctCount = reviewed;
    stats.studySeconds = 30;
    return stats;
}

CardProgress card(const char* id, std::int64_t lapses) {
    CardProgress c;
    c.itemID = id;
    c.totalReviews = lapses + 1;
    c.lapseCount = lapses;
    c.dueDate = kNow;
    return c;
}

struct UndoCase {
    const char* name;
    LearnerProgress before;
    std::optional<LearningLanguage> language;
    bool completesSession;
};

class ReviewUndoRestores : public testing::TestWithParam<UndoCase> {};

// Whatever a rating (and the session completion after it) added, created or changed comes back
// exactly: records the day did not have are gone again, maps the language did not have too.
TEST_P(ReviewUndoRestores, TheProgressBeforeTheRating) {
    const UndoCase& c = GetParam();
    LearnerProgress progress = c.before;
    VocabularyItem item;
    item.id = "zh-xuexiao";
    item.language = c.language.value_or(LearningLanguage::chinese);

    const ReviewUndo undo = ReviewUndo::capture(progress, item.id, kNow, kCalendar, c.language);
    const AnswerEvaluation wrong{"x", "x", false, std::nullopt};
    const CardProgress updated = StudyEngine{}.scheduler.schedule(item.id, progress.card(item.id),
                                                                  ReviewRating::again, kNow);
    progress.recordReview(updated, false, false, kNow, 7, kCalendar, c.language);
    if (c.completesSession) progress.completeSession(kNow, kCalendar, c.language);
    ASSERT_NE(progress, c.before);

    undo.restore(progress);
    EXPECT_EQ(progress, c.before);
}

LearnerProgress withHistory(bool languageMap, bool today) {
    LearnerProgress p;
    p.cards["zh-xuexiao"] = card("zh-xuexiao", 2);
    p.cards["zh-other"] = card("zh-other", 0);
    p.dailyStats["2024-04-30"] = day("2024-04-30", 3);
    if (today) p.dailyStats["2024-05-01"] = day("2024-05-01", 2);
    if (languageMap) {
        p.dailyStatsByLanguage[LearningLanguage::chinese]["2024-04-30"] = day("2024-04-30", 3);
        if (today)
            p.dailyStatsByLanguage[LearningLanguage::chinese]["2024-05-01"] = day("2024-05-01", 2);
    }
    p.dailyStatsByLanguage[LearningLanguage::japanese];  // present but empty: must stay so
    return p;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReviewUndoRestores,
    testing::Values(
        UndoCase{"NewCardFreshProgress", LearnerProgress{}, LearningLanguage::chinese, false},
        UndoCase{"NewCardLastOfSession", LearnerProgress{}, LearningLanguage::chinese, true},
        UndoCase{"ReviewFirstToday", withHistory(true, false), LearningLanguage::chinese, true},
        UndoCase{"ReviewLaterToday", withHistory(true, true), LearningLanguage::chinese, false},
        UndoCase{"LanguageWithoutMap", withHistory(false, true), LearningLanguage::chinese, true},
        UndoCase{"Unscoped", withHistory(false, true), std::nullopt, true}),
    [](const testing::TestParamInfo<UndoCase>& info) { return info.param.name; });

TEST(Leech, EightLapsesMakeALeechSevenDoNot) {
    EXPECT_FALSE(isLeech(card("a", 7)));
    EXPECT_TRUE(isLeech(card("a", 8)));
}

TEST(Leech, WorstFirstWithinTheCourseAndTheLimit) {
    LearnerProgress p;
    for (const auto& c : {card("zh-a", 9), card("zh-b", 30), card("zh-c", 7), card("zh-d", 9),
                          card("ja-e", 50), card("zh-f", 8)}) {
        p.cards[c.itemID] = c;
    }
    const auto chinese = [](const std::string& id) { return id.rfind("zh-", 0) == 0; };
    std::vector<std::string> ids;
    for (const auto& c : worstLeeches(p, chinese, 3)) ids.push_back(c.itemID);
    EXPECT_EQ(ids, (std::vector<std::string>{"zh-b", "zh-a", "zh-d"}));
    EXPECT_EQ(worstLeeches(p, chinese, 10).size(), 4u);
    EXPECT_TRUE(worstLeeches(
                    p, [](const std::string&) { return false; }, 10)
                    .empty());
}

}  // namespace
}  // namespace tessel
