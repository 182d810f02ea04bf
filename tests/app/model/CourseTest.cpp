// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include <random>

#include "Course.h"

using namespace tessel;

namespace {

// The plan as the course rules read, step by step, over the whole course: the reference the
// narrowed candidates must reproduce.
StudySessionPlan referencePlan(const std::vector<LexiconLesson>& lessons,
                               const LearnerProgress& progress, std::int64_t band,
                               const SessionSelectionConfiguration& caps, Instant now) {
    const auto reviewed = [&](const std::string& id) {
        const auto card = progress.card(id);
        return card && card->totalReviews != 0;
    };
    std::vector<const LexiconLesson*> eligible;
    for (const auto& lesson : lessons) {
        if (lesson.item.level >= band || reviewed(lesson.item.id)) eligible.push_back(&lesson);
    }
    const bool unstarted = std::any_of(eligible.begin(), eligible.end(), [&](auto* lesson) {
        return lesson->isContextual && !progress.card(lesson->item.id);
    });
    std::vector<VocabularyItem> items;
    for (const auto* lesson : eligible) {
        if (unstarted && !lesson->isContextual && !reviewed(lesson->item.id)) continue;
        items.push_back(lesson->item);
    }
    return StudySessionSelector{caps}.select(items, progress, LearningLanguage::chinese, now);
}

struct Scenario {
    std::vector<LexiconLesson> lessons;
    LearnerProgress progress;
};

Scenario randomScenario(unsigned seed, int size, double contextualShare) {
    std::mt19937 random(seed);
    const auto chance = [&](double p) {
        return std::uniform_real_distribution<>(0, 1)(random) < p;
    };
    const Instant now = instantFromSeconds(1714552200);
    Scenario scenario;
    for (int i = 0; i < size; ++i) {
        LexiconLesson lesson;
        lesson.item.id = "zh-" + std::to_string(random() % 100000) + "-" + std::to_string(i);
        lesson.item.level = 1 + static_cast<std::int64_t>(random() % 6);
        // Few distinct ranks, so ties fall through to the id.
        lesson.item.frequencyRank = static_cast<std::int64_t>(random() % 40);
        lesson.isContextual = chance(contextualShare);
        scenario.lessons.push_back(lesson);
        if (chance(0.03)) scenario.lessons.push_back(lesson);  // a repeated id
        if (!chance(0.4)) continue;
        CardProgress card;
        card.itemID = lesson.item.id;
        card.totalReviews = chance(0.1)    ? 0
                            : chance(0.05) ? -2  // hand-edited: neither due nor new
                                           : 1 + static_cast<std::int64_t>(random() % 5);
        // Due dates on a coarse grid: some equal, some exactly now, some ahead.
        card.dueDate = now + std::chrono::hours(24 * (static_cast<int>(random() % 7) - 4));
        scenario.progress.cards[card.itemID] = card;
    }
    return scenario;
}

}  // namespace

class CourseTest : public QObject {
    Q_OBJECT

  private slots:
    void candidatesGiveTheSamePlanAsTheWholeCourse_data() {
        QTest::addColumn<unsigned>("seed");
        QTest::addColumn<int>("size");
        QTest::addColumn<double>("contextualShare");
        for (unsigned seed = 1; seed <= 40; ++seed) {
            const int size = seed % 4 == 0 ? 2000 : 150;
            const double share = seed % 3 == 0 ? 0.0 : 0.05;
            QTest::addRow("seed %u", seed) << seed << size << share;
        }
    }

    void candidatesGiveTheSamePlanAsTheWholeCourse() {
        QFETCH(unsigned, seed);
        QFETCH(int, size);
        QFETCH(double, contextualShare);
        const Scenario scenario = randomScenario(seed, size, contextualShare);
        const Course course(scenario.lessons);
        const Instant now = instantFromSeconds(1714552200);
        for (std::int64_t band : {1, 3, 6}) {
            for (auto [goal, fresh] :
                 std::vector<std::pair<int, int>>{{10, 8}, {20, 20}, {100, 1}}) {
                const SessionSelectionConfiguration caps(std::max(goal, 20), fresh,
                                                         std::max(goal, fresh));
                const PlanCandidates candidates =
                    course.planCandidates(scenario.progress, band, caps, now);
                StudySessionPlan plan = StudySessionSelector{caps}.select(
                    candidates.items, scenario.progress, LearningLanguage::chinese, now);
                plan.availableDueCount = candidates.availableDueCount;
                plan.availableNewCount = candidates.availableNewCount;
                const StudySessionPlan expected =
                    referencePlan(scenario.lessons, scenario.progress, band, caps, now);
                QVERIFY2(
                    plan == expected,
                    qPrintable(QString("band %1 goal %2 new %3").arg(band).arg(goal).arg(fresh)));
            }
        }
    }

    void repeatedIdsKeepTheFirstLesson() {
        LexiconLesson first;
        first.item.id = "zh-a";
        first.note = "first";
        LexiconLesson second = first;
        second.note = "second";
        const Course course({first, second});
        QCOMPARE(course.lesson("zh-a")->note, std::string("first"));
        QVERIFY(course.lesson("zh-b") == nullptr);
    }
};

QTEST_GUILESS_MAIN(CourseTest)
#include "CourseTest.moc"
