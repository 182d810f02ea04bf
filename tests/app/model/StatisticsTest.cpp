// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <limits>

#include "ProgressBackup.h"
#include "ProgressJSON.h"
#include "Records.h"
#include "TestSupport.h"

using namespace tessel;
using namespace tessel::test;

namespace {

// Today's statistics in New York for the fixed start, with `reviewed` reviews for Chinese.
LearnerProgress progressWithReviewsToday(std::int64_t reviewed) {
    LearnerProgress progress;
    const Calendar cal = Calendar::withTimeZone("America/New_York");
    for (std::int64_t i = 0; i < reviewed; ++i) {
        CardProgress card = reviewedCard("zh-hao", fixedStart() + std::chrono::hours(48));
        progress.recordReview(card, true, i == 0, fixedStart(), 5, cal, LearningLanguage::chinese);
    }
    return progress;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class StatisticsTest : public QObject {
    Q_OBJECT

  private slots:
    // Every accuracy on screen (today, overall, the session) goes through this one rule.
    void percentText_data() {
        QTest::addColumn<qint64>("part");
        QTest::addColumn<qint64>("whole");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing yet") << qint64(0) << qint64(0) << QStringLiteral("—");
        QTest::newRow("all") << qint64(4) << qint64(4) << QStringLiteral("100%");
        QTest::newRow("none") << qint64(0) << qint64(3) << QStringLiteral("0%");
        QTest::newRow("7 of 9 up") << qint64(7) << qint64(9) << QStringLiteral("78%");
        QTest::newRow("1 of 3 down") << qint64(1) << qint64(3) << QStringLiteral("33%");
        QTest::newRow("half to even, down") << qint64(1) << qint64(8) << QStringLiteral("12%");
        QTest::newRow("half to even, up") << qint64(3) << qint64(8) << QStringLiteral("38%");
        QTest::newRow("more right than asked") << qint64(5) << qint64(4) << QStringLiteral("100%");
        QTest::newRow("saturated") << std::numeric_limits<qint64>::max() / 2
                                   << std::numeric_limits<qint64>::max() << QStringLiteral("50%");
    }

    void percentText() {
        QFETCH(qint64, part);
        QFETCH(qint64, whole);
        QFETCH(QString, expected);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(AppModel::percentText(part, whole), expected);
    }

    void goalProgress_data() {
        QTest::addColumn<int>("goal");
        QTest::addColumn<int>("reviews");
        QTest::addColumn<double>("expected");
        QTest::newRow("quarter") << 20 << 5 << 0.25;
        QTest::newRow("capped") << 20 << 25 << 1.0;
        QTest::newRow("nothing") << 10 << 0 << 0.0;
    }

    void goalProgress() {
        QFETCH(int, goal);
        QFETCH(int, reviews);
        QFETCH(double, expected);
        Harness h;
        h.store->loadResult = progressWithReviewsToday(reviews);
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        QSignalSpy stats(&model, &AppModel::statisticsChanged);
        model.setDailyGoal(goal);
        QCOMPARE(model.goalProgress(), expected);
        QCOMPARE(model.todayStats().reviewedCount, std::int64_t(reviews));
        if (goal != 20) QCOMPARE(stats.count(), 1);
    }

    void cardFigures_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("learned");
        QTest::addColumn<int>("stable");
        QTest::addColumn<int>("answers");
        QTest::addColumn<double>("accuracy");
        // Chinese: 3 of 4 (stable at exactly 21 days), 0 of 1 (20.9 days: not stable), and a
        // card of an item no longer in the lexicon. Japanese: 2 of 2.
        QTest::newRow("chinese") << "chinese" << 1 << 1 << 5 << 0.6;
        QTest::newRow("japanese") << "japanese" << 1 << 0 << 2 << 1.0;
    }

    void cardFigures() {
        QFETCH(QString, language);
        QFETCH(int, learned);
        QFETCH(int, stable);
        QFETCH(int, answers);
        QFETCH(double, accuracy);
        Harness h;
        LearnerProgress progress;
        progress.cards["zh-hao"] = reviewedCard("zh-hao", fixedStart(), 4, 3, 21.0);
        progress.cards["zh-da"] = reviewedCard("zh-da", fixedStart(), 1, 0, 20.9);
        progress.cards["zh-gone"] = reviewedCard("zh-gone", fixedStart(), 9, 9, 50.0);
        progress.cards["ja-mizu"] = reviewedCard("ja-mizu", fixedStart(), 2, 2, 3.0);
        h.store->loadResult = progress;
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        model.selectLanguage(language);
        QCOMPARE(model.learnedCount(), learned);
        QCOMPARE(model.stableCount(), stable);
        QCOMPARE(model.totalAnswerCount(), answers);
        QVERIFY(qFuzzyCompare(model.overallAccuracy(), accuracy));
    }

    // A hand-edited file may file a card under a course id while the card names another item:
    // the leech list shows the real leech and leaves that card out instead of crashing on it.
    void leechesSkipACardFiledUnderAnotherId() {
        Harness h;
        LearnerProgress progress;
        progress.cards["zh-da"] = reviewedCard("zh-da", fixedStart(), 10, 2, 1.0);
        progress.cards["zh-da"].lapseCount = 8;
        progress.cards["zh-hao"] = reviewedCard("zh-gone", fixedStart(), 12, 2, 1.0);
        progress.cards["zh-hao"].lapseCount = 9;
        h.store->loadResult = progress;
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        model.selectLanguage("chinese");
        QCOMPARE(model.leeches().size(), 1);
    }

    void noCardsMeansZeroFigures() {
        Harness h;
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        QCOMPARE(model.learnedCount(), 0);
        QCOMPARE(model.stableCount(), 0);
        QCOMPARE(model.overallAccuracy(), 0.0);
        QCOMPARE(model.goalProgress(), 0.0);
    }

    void recentDaysHaveNoGaps_data() {
        QTest::addColumn<int>("days");
        QTest::newRow("none") << 0;
        QTest::newRow("week") << 7;
        QTest::newRow("month across the autumn clock change") << 30;
    }

    void recentDaysHaveNoGaps() {
        QFETCH(int, days);
        Harness h;
        // 2024-11-20 in New York: the month before it crosses the end of daylight saving time.
        *h.clock = instantFromSeconds(1732111200);
        LearnerProgress progress;
        const Calendar cal = Calendar::withTimeZone("America/New_York");
        progress.recordReview(reviewedCard("zh-hao", *h.clock), true, true, *h.clock, 4, cal,
                              LearningLanguage::chinese);
        h.store->loadResult = progress;
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());

        const auto list = model.recentDays(days);
        QCOMPARE(static_cast<int>(list.size()), days);
        const QVariantList forQml = model.statsForRecentDays(days);
        QCOMPARE(forQml.size(), days);
        if (days == 0) return;
        for (int i = 0; i < days; ++i) {
            const auto& [day, stats] = list[static_cast<std::size_t>(i)];
            QCOMPARE(day, cal.startOfDay(day));
            if (i > 0) {
                QCOMPARE(cal.daysBetween(list[static_cast<std::size_t>(i - 1)].first, day),
                         std::optional<std::int64_t>(1));
            }
            QCOMPARE(stats.day, StudyDay::key(day, cal));
            QCOMPARE(stats.reviewedCount, std::int64_t(i == days - 1 ? 1 : 0));
        }
        QCOMPARE(list.back().second.day, std::string("2024-11-20"));
        const QVariantMap last = forQml.back().toMap();
        QVERIFY(last.value("day").toDateTime().isValid());
        QCOMPARE(last.value("stats").value<records::DailyStudyStats>().reviewedCount, 1);
    }

    void exportThenRestoreGivesTheSameProgress() {
        Harness h;
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        model.beginSession(false);
        while (model.sessionPhase() == "answering") {
            model.setAnswer(QString::fromStdString(model.currentItem()->term));
            model.submitAnswer();
            model.rateAndAdvance("easy");
        }
        const LearnerProgress before = model.progress();
        const QString path = h.folder.filePath("Brindle Progress.json");
        QCOMPARE(model.exportProgress(QUrl::fromLocalFile(path)), QString());
        model.resetProgress();
        QCOMPARE(model.progress(), LearnerProgress());
        QCOMPARE(model.restoreProgress(QUrl::fromLocalFile(path).toString()), QString());
        QCOMPARE(model.progress(), before);
        QTRY_COMPARE(model.pendingSaveCount(), 0);
        QCOMPARE(h.store->written.back(), before);
    }

    void restoringASchemaOneFileCountsForBothLanguages() {
        Harness h;
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        const QString path = h.folder.filePath("old.json");
        writeFile(path, R"({"cards": {}, "dailyStats": {"2024-05-01": {"day": "2024-05-01",
            "reviewedCount": 4, "correctCount": 3, "newCardsLearned": 1, "sessionsCompleted": 1,
            "studySeconds": 30}}})");
        QCOMPARE(model.restoreProgress(path), QString());
        QCOMPARE(model.todayStats().reviewedCount, std::int64_t(4));
        model.selectLanguage("japanese");
        QCOMPARE(model.todayStats().reviewedCount, std::int64_t(4));
    }

    void badRestoresChangeNothing_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not json") << QByteArray("hello") << "";
        QTest::newRow("empty object") << QByteArray("{}") << "is not a Brindle progress file";
        QTest::newRow("someone else's json")
            << QByteArray(R"({"theme": "dark"})") << "is not a Brindle progress file";
        QTest::newRow("unknown rating")
            << QByteArray(R"({"cards": {"a": {"itemID": "a", "stabilityDays": 1, "difficulty": 5,
                "intervalDays": 1, "dueDate": "2024-05-01T08:30:00Z", "lastRating": "perfect",
                "totalReviews": 1, "correctReviews": 1, "lapseCount": 0,
                "consecutiveCorrect": 1}}})")
            << "";
        QTest::newRow("too large") << QByteArray() << "larger than 64 MB";
        QTest::newRow("missing") << QByteArray("-") << "does not exist";
    }

    void badRestoresChangeNothing() {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        Harness h;
        h.store->loadResult = progressWithReviewsToday(2);
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        const LearnerProgress before = model.progress();
        QSignalSpy stats(&model, &AppModel::statisticsChanged);

        const QString path = h.folder.filePath("backup.json");
        if (reason.contains("64 MB")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(ProgressBackup::kMaximumRestoreBytes + 1));
        } else if (content != "-") {
            writeFile(path, content);
        }
        const QString error = model.restoreProgress(path);
        QVERIFY(!error.isEmpty());
        if (!reason.isEmpty()) QVERIFY2(error.contains(reason), qPrintable(error));
        QCOMPARE(model.progress(), before);
        QCOMPARE(stats.count(), 0);
        QTest::qWait(10);
        QCOMPARE(h.store->saveCalls, 0);
    }

    void failedExportLeavesTheExistingFile_data() {
        QTest::addColumn<bool>("unencodable");
        QTest::newRow("number that is not finite") << true;
        QTest::newRow("folder that does not exist") << false;
    }

    void failedExportLeavesTheExistingFile() {
        QFETCH(bool, unencodable);
        Harness h;
        if (unencodable) {
            LearnerProgress progress;
            progress.cards["zh-hao"] = reviewedCard("zh-hao", fixedStart(), 1, 1, qQNaN());
            h.store->loadResult = progress;
        }
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        const QString path = unencodable ? h.folder.filePath("backup.json")
                                         : h.folder.filePath("nowhere/backup.json");
        if (unencodable) writeFile(path, "previous backup");
        const QString error = model.exportProgress(path);
        QVERIFY(!error.isEmpty());
        if (unencodable)
            QCOMPARE(readAll(path), QByteArray("previous backup"));
        else
            QVERIFY(!QFile::exists(path));
        QCOMPARE(QDir(h.folder.path()).entryList(QDir::Files).filter("backup").size(),
                 unencodable ? 1 : 0);
    }

    void restoreCarriesOutAPendingSessionRequest() {
        Harness h;
        h.store->holdLoads = true;
        AppModel& model = h.build();
        model.beginSession(false);
        const QString path = h.folder.filePath("backup.json");
        QVERIFY(ProgressBackup::exportTo(path, LearnerProgress()).has_value());
        QCOMPARE(model.restoreProgress(path), QString());
        QCOMPARE(model.sessionPhase(), QString("answering"));
    }

    void cardForGivesTheLearnersRecord() {
        Harness h;
        LearnerProgress progress;
        progress.cards["zh-hao"] = reviewedCard("zh-hao", fixedStart(), 4, 3, 21.0);
        h.store->loadResult = progress;
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        QVERIFY(!model.cardFor("zh-da").isValid());
        const auto card = model.cardFor("zh-hao").value<records::CardProgress>();
        QCOMPARE(card.totalReviews, 4);
        QCOMPARE(card.dueDate, records::toQDateTime(fixedStart()));
    }
};

QTEST_GUILESS_MAIN(StatisticsTest)
#include "StatisticsTest.moc"
