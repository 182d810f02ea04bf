// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include "JSONProgressStore.h"
#include "Records.h"
#include "TestSupport.h"

using namespace tessel;
using namespace tessel::test;

namespace {

const Calendar kNewYork = Calendar::withTimeZone("America/New_York");

// The model over the fixture lexicon and the real store, its file seeded with `seed`.
struct FileHarness : Harness {
    QString path = folder.filePath("progress.json");

    AppModel& build(const LearnerProgress& seed) {
        [&] { QVERIFY(JSONProgressStore::writeFile(path.toStdString(), seed, true)); }();
        openLexicon();
        model = std::make_unique<AppModel>(
            dependencies(std::make_shared<JSONProgressStore>(path.toStdString(), true)));
        return *model;
    }

    QByteArray file() const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

QString answerFor(const AppModel& model, bool right) {
    return right ? QString::fromStdString(model.currentItem()->acceptedAnswers.front())
                 : QStringLiteral("wrong");
}

void answerAndRate(AppModel& model, bool right, const QString& rating) {
    model.setAnswer(answerFor(model, right));
    model.submitAnswer();
    model.rateAndAdvance(rating);
}

}  // namespace

class UndoTest : public QObject {
    Q_OBJECT

  private slots:
    void undoRestoresTheFileAndTheCard_data() {
        QTest::addColumn<bool>("review");
        QTest::addColumn<bool>("right");
        QTest::newRow("new card, right") << false << true;
        QTest::newRow("review card, wrong") << true << false;
    }

    void undoRestoresTheFileAndTheCard() {
        QFETCH(bool, review);
        QFETCH(bool, right);
        LearnerProgress seed;
        if (review) {
            for (const char* id : {"zh-nihao", "zh-xiexie"})
                seed.cards[id] = reviewedCard(id, fixedStart() - std::chrono::hours(2));
            // Figures already on the day, so that the rating changes records that exist.
            seed.recordReview(reviewedCard("zh-da", fixedStart() + std::chrono::hours(900)), true,
                              false, fixedStart() - std::chrono::hours(1), 12, kNewYork,
                              LearningLanguage::chinese);
        }
        FileHarness h;
        AppModel& model = h.build(seed);
        QTRY_VERIFY(model.isProgressReady());
        model.beginSession(false);
        const QByteArray before = h.file();
        const VocabularyItem first = *model.currentItem();
        QCOMPARE(model.progress().card(first.id).has_value(), review);

        model.setAnswer(answerFor(model, right));
        model.submitAnswer();
        const auto evaluation = model.answerEvaluationValue();
        QSignalSpy history(&model, &AppModel::ratingHistoryChanged);
        model.rateAndAdvance("easy");
        QVERIFY(model.canUndoRating());
        QTRY_COMPARE(model.pendingSaveCount(), 0);
        QVERIFY(h.file() != before);

        model.undoLastRating();
        QCOMPARE(model.sessionPhase(), QString("feedback"));
        QCOMPARE(model.currentIndex(), 0);
        QCOMPARE(*model.currentItem(), first);
        QCOMPARE(model.answer(), answerFor(model, right));
        QCOMPARE(model.answerEvaluationValue(), evaluation);
        QCOMPARE(model.sessionReviewed(), 0);
        QCOMPARE(model.sessionCorrect(), 0);
        QVERIFY(!model.canUndoRating());
        QCOMPARE(history.count(), 2);
        QTRY_COMPARE(model.pendingSaveCount(), 0);
        QCOMPARE(h.file(), before);
    }

    void severalUndosStepBackThroughTheWholeSession() {
        FileHarness h;
        AppModel& model = h.build(LearnerProgress{});
        QTRY_VERIFY(model.isProgressReady());
        model.beginSession(false);
        QCOMPARE(model.sessionItemsValue().size(), std::size_t(2));
        const QByteArray before = h.file();
        const VocabularyItem first = *model.currentItem();
        answerAndRate(model, true, "hard");
        const VocabularyItem last = *model.currentItem();
        h.advance(5);
        answerAndRate(model, false, "good");
        QCOMPARE(model.sessionPhase(), QString("complete"));
        QCOMPARE(model.todayStats().sessionsCompleted, std::int64_t(1));
        const QVariantList misses = model.sessionMisses();
        QCOMPARE(misses.size(), 1);
        const auto miss = misses.front().value<records::SessionMiss>();
        QCOMPARE(miss.item.id, QString::fromStdString(last.id));
        QCOMPARE(miss.typed, QString("wrong"));

        // The last card: the completed session goes too, and the plan sees the card new again.
        model.undoLastRating();
        QCOMPARE(model.sessionPhase(), QString("feedback"));
        QCOMPARE(*model.currentItem(), last);
        QCOMPARE(model.todayStats().sessionsCompleted, std::int64_t(0));
        QCOMPARE(model.todayStats().reviewedCount, std::int64_t(1));
        QVERIFY(model.sessionMisses().isEmpty());
        const auto planned = model.planValue().items();
        QVERIFY(std::any_of(planned.begin(), planned.end(),
                            [&](const VocabularyItem& item) { return item.id == last.id; }));

        model.undoLastRating();
        QCOMPARE(*model.currentItem(), first);
        QCOMPARE(model.todayStats().reviewedCount, std::int64_t(0));
        QVERIFY(!model.canUndoRating());
        model.undoLastRating();  // nothing left: no change
        QCOMPARE(*model.currentItem(), first);
        QTRY_COMPARE(model.pendingSaveCount(), 0);
        QCOMPARE(h.file(), before);

        // A different rating now counts as the only one.
        model.rateAndAdvance("easy");
        const CardProgress card = *model.progress().card(first.id);
        QCOMPARE(card.lastRating, std::optional(ReviewRating::easy));
        QCOMPARE(card.totalReviews, std::int64_t(1));
        QCOMPARE(model.todayStats().reviewedCount, std::int64_t(1));
        QCOMPARE(model.currentIndex(), 1);

        model.leaveSession();
        QVERIFY(!model.canUndoRating());
    }

    // The streak read before the day's first rating moves with it, not with the next one, and
    // back with the undo of both.
    void keptStreakFollowsTheDaysFirstRatingAndItsUndo() {
        LearnerProgress seed;
        for (int back : {24, 48})
            seed.recordReview({}, true, false, fixedStart() - std::chrono::hours(back), 5, kNewYork,
                              LearningLanguage::chinese);
        FileHarness h;
        AppModel& model = h.build(seed);
        QTRY_VERIFY(model.isProgressReady());
        model.beginSession(false);
        const StudyStreak before{2, 2, "2024-04-30", false}, after{3, 3, "2024-05-01", true};
        QCOMPARE(model.streak(), before);
        for (bool right : {true, false}) {
            answerAndRate(model, right, right ? "good" : "again");
            QCOMPARE(model.streak(), after);
        }
        model.undoLastRating();
        model.undoLastRating();
        QCOMPARE(model.streak(), before);
    }

    void undoAfterMidnightTakesBackTheRatingsDay() {
        FileHarness h;
        *h.clock = instantFromSeconds(1714535880);  // 2024-04-30 23:58 in New York
        AppModel& model = h.build(LearnerProgress{});
        QTRY_VERIFY(model.isProgressReady());
        model.beginSession(false);
        answerAndRate(model, true, "good");
        QVERIFY(model.progress().dailyStats.count("2024-04-30"));
        h.advance(240);

        model.undoLastRating();
        QVERIFY(model.progress().dailyStats.empty());
        QVERIFY(model.progress().dailyStatsByLanguage.empty());
        QCOMPARE(model.streak().currentDays, std::int64_t(0));
        model.rateAndAdvance("good");
        QCOMPARE(model.progress().dailyStats.count("2024-04-30"), std::size_t(0));
        QCOMPARE(model.progress().dailyStats.at("2024-05-01").reviewedCount, std::int64_t(1));
    }
};

QTEST_GUILESS_MAIN(UndoTest)
#include "UndoTest.moc"
