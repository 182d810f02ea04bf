// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionSelection.h"

#include <algorithm>
#include <random>
#include <set>
#include <tuple>

#include <gtest/gtest.h>

namespace tessel {
namespace {

using std::chrono::seconds;

const Instant kNow = instantFromSeconds(1'714'550'400);

VocabularyItem item(std::string id, std::int64_t level = 1, std::int64_t rank = 1,
                    LearningLanguage language = LearningLanguage::chinese) {
    VocabularyItem v;
    v.id = std::move(id);
    v.language = language;
    v.level = level;
    v.frequencyRank = rank;
    return v;
}

CardProgress card(const std::string& id, Instant due, std::int64_t reviews = 1) {
    CardProgress c;
    c.itemID = id;
    c.dueDate = due;
    c.totalReviews = reviews;
    return c;
}

std::vector<std::string> ids(const std::vector<VocabularyItem>& items) {
    std::vector<std::string> out;
    for (const auto& v : items) out.push_back(v.id);
    return out;
}

struct CapCase {
    const char* name;
    int due, fresh;
    std::int64_t maxDue, maxNew, maxTotal;
    std::size_t expectedDue, expectedNew;
};

class Caps : public testing::TestWithParam<CapCase> {};

TEST_P(Caps, DueCardsComeFirstAndNewOnesOnlyFillTheRoomLeft) {
    const CapCase& c = GetParam();
    std::vector<VocabularyItem> items;
    LearnerProgress progress;
    for (int i = 0; i < c.due; ++i) {
        items.push_back(item("due-" + std::to_string(i)));
        progress.cards.emplace(items.back().id, card(items.back().id, kNow - seconds(i)));
    }
    for (int i = 0; i < c.fresh; ++i) items.push_back(item("new-" + std::to_string(i)));
    SessionSelectionConfiguration configuration;  // fields set directly, as decoding does
    configuration.maximumDueCards = c.maxDue;
    configuration.maximumNewCards = c.maxNew;
    configuration.maximumTotalCards = c.maxTotal;
    const StudySessionPlan plan = StudySessionSelector{configuration}.select(
        CourseView(items), progress, 0, std::nullopt, kNow);
    EXPECT_EQ(plan.dueItems.size(), c.expectedDue);
    EXPECT_EQ(plan.newItems.size(), c.expectedNew);
    EXPECT_EQ(plan.availableDueCount, c.due);
    EXPECT_EQ(plan.availableNewCount, c.fresh);
    EXPECT_EQ(plan.isEmpty(), c.expectedDue + c.expectedNew == 0);
    const auto all = plan.items();
    ASSERT_EQ(all.size(), c.expectedDue + c.expectedNew);
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].id.rfind(i < c.expectedDue ? "due-" : "new-", 0), 0u) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Caps,
    testing::Values(CapCase{"AllNew", 0, 300, 20, 10, 20, 0, 10},
                    CapCase{"DueCappedThenNewFillsRest", 30, 40, 25, 10, 30, 25, 5},
                    CapCase{"SpareDueAllowanceDoesNotRaiseNewCap", 3, 40, 20, 5, 20, 3, 5},
                    CapCase{"TotalZero", 5, 5, 20, 10, 0, 0, 0},
                    CapCase{"DueFillsTotal", 30, 10, 50, 10, 20, 20, 0},
                    CapCase{"NothingToStudy", 0, 0, 20, 10, 30, 0, 0},
                    CapCase{"NegativeCapsAllowNothing", 4, 4, -1, 10, 10, 0, 4},
                    CapCase{"NegativeTotal", 4, 4, 10, 10, -5, 0, 0}),
    [](const testing::TestParamInfo<CapCase>& info) { return info.param.name; });

TEST(StudySessionSelector, StudyOrderOfDueAndNewCards) {
    // "ａ" (U+FF41) sorts before "😀" (U+1F600) by code point, though not by UTF-16 unit.
    const std::vector<VocabularyItem> items = {
        item("d-late", 1, 1), item("n-l2", 2, 1),       item("d-l2", 2, 1),    item("n-r9", 1, 9),
        item("d-r5", 1, 5),   item("\U0001F600", 1, 3), item("d-r3b", 1, 3),   item("n-r3", 1, 3),
        item("d-r3a", 1, 3),  item("\uFF41", 1, 3),     item("d-early", 9, 9), item("é", 1, 3),
        item("z", 1, 3)};
    LearnerProgress progress;
    for (const char* id : {"d-l2", "d-r5", "d-r3b", "d-r3a"}) {
        progress.cards.emplace(id, card(id, kNow - seconds(60)));
    }
    progress.cards.emplace("d-late", card("d-late", kNow));
    progress.cards.emplace("d-early", card("d-early", kNow - seconds(3600)));
    const StudySessionPlan plan = StudySessionSelector{{50, 50, 100}}.select(
        CourseView(items), progress, 0, std::nullopt, kNow);
    EXPECT_EQ(ids(plan.dueItems),
              (std::vector<std::string>{"d-early", "d-r3a", "d-r3b", "d-r5", "d-l2", "d-late"}));
    EXPECT_EQ(ids(plan.newItems),
              (std::vector<std::string>{"n-r3", "z", "é", "\uFF41", "\U0001F600", "n-r9", "n-l2"}));
}

TEST(StudySessionSelector, WhichCardsCountAsDueOrNew) {
    LearnerProgress progress;
    progress.cards.emplace("exactly-now", card("exactly-now", kNow));
    progress.cards.emplace("one-second-later", card("one-second-later", kNow + seconds(1)));
    progress.cards.emplace("never-reviewed", card("never-reviewed", kNow - seconds(86'400), 0));
    // A record stored under one key counts for that key, whatever its own `itemID` says.
    progress.cards.emplace("stored-key", card("other-id", kNow - seconds(5)));
    // A hand-edited negative count: neither due nor new.
    progress.cards.emplace("negative", card("negative", kNow - seconds(5), -1));
    const std::vector<VocabularyItem> items = {
        item("exactly-now"), item("one-second-later"),  item("never-reviewed"), item("stored-key"),
        item("other-id"),    item("exactly-now", 9, 9), item("negative")};
    const StudySessionPlan plan = StudySessionSelector{{10, 10, 20}}.select(
        CourseView(items), progress, 0, std::nullopt, kNow);
    EXPECT_EQ(ids(plan.dueItems), (std::vector<std::string>{"stored-key", "exactly-now"}));
    EXPECT_EQ(ids(plan.newItems), (std::vector<std::string>{"never-reviewed", "other-id"}));
    // The first occurrence of a repeated id is the one kept.
    EXPECT_EQ(plan.dueItems[1].level, 1);
}

TEST(StudySessionSelector, LanguageFilterDropsTheOtherLanguageEntirely) {
    const auto ja = LearningLanguage::japanese;
    const std::vector<VocabularyItem> items = {
        item("x", 1, 1, ja), item("zh-1"), item("ja-1", 1, 2, ja), item("x", 1, 1), item("zh-2")};
    LearnerProgress progress;
    progress.cards.emplace("zh-2", card("zh-2", kNow));
    const StudySessionSelector selector{{10, 10, 20}};
    const auto japanese = selector.select(CourseView(items), progress, 0, ja, kNow);
    EXPECT_EQ(ids(japanese.items()), (std::vector<std::string>{"x", "ja-1"}));
    EXPECT_EQ(japanese.availableDueCount, 0);
    EXPECT_EQ(japanese.availableNewCount, 2);
    // The Chinese "x" is not a duplicate of a Japanese item that was filtered out.
    const auto chinese =
        selector.select(CourseView(items), progress, 0, LearningLanguage::chinese, kNow);
    EXPECT_EQ(ids(chinese.items()), (std::vector<std::string>{"zh-2", "x", "zh-1"}));
    const auto both = selector.select(CourseView(items), progress, 0, std::nullopt, kNow);
    EXPECT_EQ(both.availableNewCount, 3);
    EXPECT_EQ(both.dueItems.front().language, LearningLanguage::chinese);
    EXPECT_EQ(both.newItems.front().language, ja);
}

struct Lesson {
    VocabularyItem item;
    bool isContextual = false;
};

struct EligibilityCase {
    const char* name;
    std::int64_t band;
    std::vector<std::string> expectedDue, expectedNew;
};

void PrintTo(const EligibilityCase& c, std::ostream* out) {
    *out << c.name;
}

class Eligibility : public testing::TestWithParam<EligibilityCase> {};

// A course of level-1 and level-3 words and one level-3 contextual exercise.
TEST_P(Eligibility, StartingBandAndContextualExercisesFirst) {
    const EligibilityCase& c = GetParam();
    const std::vector<Lesson> lessons = {
        {item("low-due", 1)},  {item("low-new", 1)},           {item("low-never", 1)},
        {item("high-new", 3)}, {item("exercise", 3, 2), true}, {item("low-exercise", 1), true}};
    LearnerProgress progress;
    progress.cards.emplace("low-due", card("low-due", kNow));
    progress.cards.emplace("low-never", card("low-never", kNow, 0));
    const StudySessionPlan plan = StudySessionSelector{{10, 10, 20}}.select(
        CourseView(lessons), progress, c.band, LearningLanguage::chinese, kNow);
    EXPECT_EQ(ids(plan.dueItems), c.expectedDue);
    EXPECT_EQ(ids(plan.newItems), c.expectedNew);
    EXPECT_EQ(plan.availableNewCount, std::ssize(c.expectedNew));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Eligibility,
    testing::Values(
        // Both exercises lack a card: new words wait until they are started.
        EligibilityCase{
            "UnstartedExercisesComeFirst", 1, {"low-due"}, {"low-exercise", "exercise"}},
        // Below the band only reviewed words stay; the level-1 exercise no longer holds new words
        // back, the level-3 one still does.
        EligibilityCase{"BandKeepsReviewsDropsNewBelowIt", 3, {"low-due"}, {"exercise"}},
        EligibilityCase{"AboveEveryLevelOnlyReviews", 9, {"low-due"}, {}}),
    [](const testing::TestParamInfo<EligibilityCase>& info) { return info.param.name; });

TEST(StudySessionSelector, ACardOfNoReviewsStartsAnExercise) {
    const std::vector<Lesson> lessons = {{item("word", 1)}, {item("exercise", 2), true}};
    LearnerProgress progress;
    progress.cards.emplace("exercise", card("exercise", kNow, 0));
    const StudySessionPlan plan = StudySessionSelector{{10, 10, 20}}.select(
        CourseView(lessons), progress, 1, LearningLanguage::chinese, kNow);
    EXPECT_EQ(ids(plan.newItems), (std::vector<std::string>{"word", "exercise"}));
}

// A plain restatement of the selection rules, step by step over the whole course, without the
// index or the partial sort.
StudySessionPlan referencePlan(const std::vector<Lesson>& lessons, const LearnerProgress& progress,
                               std::int64_t band, const SessionSelectionConfiguration& c) {
    const auto reviewed = [&](const std::string& id) {
        const auto stored = progress.card(id);
        return stored && stored->totalReviews != 0;
    };
    std::set<std::string> seen;
    std::vector<const Lesson*> eligible;
    for (const auto& lesson : lessons) {
        if (!seen.insert(lesson.item.id).second) continue;
        if (lesson.item.level >= band || reviewed(lesson.item.id)) eligible.push_back(&lesson);
    }
    const bool unstarted = std::any_of(eligible.begin(), eligible.end(), [&](auto* lesson) {
        return lesson->isContextual && !progress.card(lesson->item.id);
    });
    std::vector<VocabularyItem> due, fresh;
    for (const auto* lesson : eligible) {
        const auto& v = lesson->item;
        const auto stored = progress.card(v.id);
        if (!stored || stored->totalReviews == 0) {
            if (!unstarted || lesson->isContextual) fresh.push_back(v);
        } else if (stored->totalReviews > 0 && stored->dueDate <= kNow) {
            due.push_back(v);
        }
    }
    const auto dueKey = [&](const VocabularyItem& v) {
        return std::tuple(progress.cards.at(v.id).dueDate, v.level, v.frequencyRank, v.id);
    };
    std::sort(due.begin(), due.end(), [&](auto& a, auto& b) { return dueKey(a) < dueKey(b); });
    std::sort(fresh.begin(), fresh.end(), [](auto& a, auto& b) {
        return std::tie(a.level, a.frequencyRank, a.id) < std::tie(b.level, b.frequencyRank, b.id);
    });
    const auto dueTaken =
        std::min<std::int64_t>({c.maximumDueCards, std::ssize(due), c.maximumTotalCards});
    const auto newTaken =
        std::min<std::int64_t>({c.maximumNewCards, std::ssize(fresh),
                                std::max<std::int64_t>(c.maximumTotalCards - dueTaken, 0)});
    return {{due.begin(), due.begin() + dueTaken},
            {fresh.begin(), fresh.begin() + newTaken},
            std::ssize(due),
            std::ssize(fresh)};
}

TEST(StudySessionSelector, AgreesWithAPlainFullSortOnRandomInput) {
    std::mt19937 random(11);
    for (int round = 0; round < 60; ++round) {
        // Some rounds without exercises, so that the band and the caps decide alone.
        const unsigned contextualPercent = round % 3 == 0 ? 0 : 4;
        std::vector<Lesson> lessons;
        LearnerProgress progress;
        for (int i = 0; i < 600; ++i) {
            const std::string id = "w" + std::to_string(random() % 500);
            lessons.push_back(
                {item(id, random() % 4, random() % 6), random() % 100 < contextualPercent});
            if (random() % 2 == 0) {
                const auto due = kNow + seconds(static_cast<int>(random() % 7) - 4);
                // Mostly reviewed, some never, a few hand-edited negative counts.
                const std::int64_t reviews = random() % 20 == 0 ? -2 : random() % 3;
                progress.cards.insert_or_assign(id, card(id, due, reviews));
            }
        }
        const std::int64_t band = random() % 4;
        const SessionSelectionConfiguration c(random() % 60, random() % 60, random() % 120);
        EXPECT_EQ(StudySessionSelector{c}.select(CourseView(lessons), progress, band,
                                                 LearningLanguage::chinese, kNow),
                  referencePlan(lessons, progress, band, c))
            << "round " << round;
    }
}

// The index a plan refresh reads, kept up to date card by card, stays what a fresh look-up
// gives, and so does the plan made from it.
TEST(CourseCards, KeptUpToDateAgreesWithAFreshLookUp) {
    std::mt19937 random(23);
    std::vector<Lesson> lessons;
    for (int i = 0; i < 300; ++i)
        lessons.push_back({item("w" + std::to_string(random() % 250), random() % 3), false});
    const CourseView course(lessons);
    LearnerProgress progress;
    CourseCards kept(course, progress);
    for (int step = 0; step < 400; ++step) {
        // Ids outside the course too, as another language's cards are.
        const std::string id = (random() % 5 == 0 ? "x" : "w") + std::to_string(random() % 260);
        if (random() % 4 == 0) {
            progress.cards.erase(id);
        } else {
            progress.cards.insert_or_assign(
                id, card(id, kNow + seconds(static_cast<int>(random() % 7) - 4), random() % 3));
        }
        kept.cardChanged(course, progress, id);
        ASSERT_TRUE(kept == CourseCards(course, progress)) << "step " << step;
    }
    const StudySessionSelector selector{SessionSelectionConfiguration(40, 40, 60)};
    EXPECT_EQ(selector.select(course, kept, 1, LearningLanguage::chinese, kNow),
              referencePlan(lessons, progress, 1, selector.configuration));
}

TEST(SessionSelectionConfiguration, ConstructionAndJson) {
    EXPECT_EQ(SessionSelectionConfiguration(-1, -20, 5), SessionSelectionConfiguration(0, 0, 5));
    const SessionSelectionConfiguration c(20, 10, 30);
    EXPECT_EQ(c.encode(), R"({"maximumDueCards":20,"maximumNewCards":10,"maximumTotalCards":30})");
    EXPECT_EQ(SessionSelectionConfiguration::decode(c.encode()), c);
    const auto negative = SessionSelectionConfiguration::decode(
        R"({"maximumDueCards":-3,"maximumNewCards":1,"maximumTotalCards":2})");
    ASSERT_TRUE(negative);
    EXPECT_EQ(negative->maximumDueCards, -3);
    for (const char* broken :
         {R"({"maximumDueCards":1,"maximumNewCards":1})",
          R"({"maximumDueCards":1,"maximumNewCards":1,"maximumTotalCards":null})",
          R"({"maximumDueCards":1,"maximumNewCards":1.5,"maximumTotalCards":2})",
          R"({"maximumDueCards":"1","maximumNewCards":1,"maximumTotalCards":2})", "", "[]"}) {
        EXPECT_FALSE(SessionSelectionConfiguration::decode(broken)) << broken;
    }
}

}  // namespace
}  // namespace tessel
