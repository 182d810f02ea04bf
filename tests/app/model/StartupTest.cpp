// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include "JSONProgressStore.h"
#include "ProgressBackup.h"
#include "ProgressJSON.h"
#include "TestSupport.h"

using namespace tessel;
using namespace tessel::test;

namespace {

// A progress with every fixture Chinese course word reviewed and due an hour before the start.
LearnerProgress progressWithDueChineseCards(AppModel& model, int count) {
    LearnerProgress progress;
    int added = 0;
    for (const auto& lesson : model.lessons()) {
        if (added == count) break;
        progress.cards[lesson.item.id] =
            reviewedCard(lesson.item.id, fixedStart() - std::chrono::hours(1));
        ++added;
    }
    return progress;
}

std::vector<std::string> entryIDs(const std::vector<LexiconEntry>& entries) {
    std::vector<std::string> ids;
    for (const auto& entry : entries) ids.push_back(entry.id);
    return ids;
}

std::vector<std::string> courseIDs(const AppModel& model) {
    std::vector<std::string> ids;
    for (const auto& lesson : model.lessons()) ids.push_back(lesson.item.id);
    return ids;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

  private slots:
    void sessionRequestedBeforeTheLoadStartsAfterIt() {
        Harness h;
        h.store->holdLoads = true;
        AppModel& model = h.build();
        QVERIFY(!model.isProgressReady());
        QVERIFY(model.planValue().isEmpty());

        model.beginSession(/*reviewOnly=*/true);
        QCOMPARE(model.destination(), QString("learn"));
        QCOMPARE(model.sessionPhase(), QString("idle"));
        QVERIFY(model.sessionItemsValue().empty());

        QTRY_COMPARE(h.store->heldLoads(), 1);
        h.store->releaseLoad(progressWithDueChineseCards(model, 3));
        QTRY_VERIFY(model.isProgressReady());
        QCOMPARE(model.sessionPhase(), QString("answering"));
        // Review only: the three due cards and none of the new ones.
        QCOMPARE(model.sessionItemsValue().size(), std::size_t(3));
        QCOMPARE(model.planValue().dueItems.size(), std::size_t(3));
        QVERIFY(model.currentItem().has_value());
    }

    void resetOrRestoreOvertakesASlowLoad_data() {
        QTest::addColumn<bool>("restore");
        QTest::addColumn<bool>("lateLoadFails");
        QTest::newRow("reset, late result") << false << false;
        QTest::newRow("reset, late error") << false << true;
        QTest::newRow("restore, late result") << true << false;
        QTest::newRow("restore, late error") << true << true;
    }

    void resetOrRestoreOvertakesASlowLoad() {
        QFETCH(bool, restore);
        QFETCH(bool, lateLoadFails);

        Harness h;
        h.store->holdLoads = true;
        AppModel& model = h.build();
        model.beginSession(false);

        LearnerProgress restored;
        restored.cards["zh-hao"] = reviewedCard("zh-hao", fixedStart() - std::chrono::hours(2));
        if (restore) {
            const QString path = h.folder.filePath("backup.json");
            QVERIFY(ProgressBackup::exportTo(path, restored).has_value());
            QCOMPARE(model.restoreProgress(path), QString());
        } else {
            model.resetProgress();
        }
        const LearnerProgress expected = restore ? restored : LearnerProgress();
        // Ready at once, and the pending session request is carried out.
        QVERIFY(model.isProgressReady());
        QCOMPARE(model.sessionPhase(), QString("answering"));
        QCOMPARE(model.progress(), expected);

        LearnerProgress stale;
        stale.cards["zh-da"] = reviewedCard("zh-da", fixedStart());
        QTRY_COMPARE(h.store->heldLoads(), 1);
        h.store->releaseLoad(lateLoadFails ? Result<LearnerProgress>(fail("disk on fire"))
                                           : Result<LearnerProgress>(stale));
        QTRY_COMPARE(model.pendingSaveCount(), 0);
        QCOMPARE(model.progress(), expected);
        QCOMPARE(model.startupError(), QString());
        // The save of the reset or restored progress waited for the load and then went out.
        QCOMPARE(h.store->written.size(), std::size_t(1));
        QCOMPARE(h.store->written.back(), expected);
    }

    void loadErrorIsShownAndTheModelIsReady() {
        Harness h;
        h.store->loadResult = fail("The data couldn’t be read.");
        AppModel& model = h.build();
        QSignalSpy ready(&model, &AppModel::isProgressReadyChanged);
        QTRY_VERIFY(model.isProgressReady());
        QCOMPARE(ready.count(), 1);
        QCOMPARE(model.startupError(),
                 QString("Your saved progress could not be loaded: The data couldn’t be read."));
        QCOMPARE(model.progress(), LearnerProgress());
        QVERIFY(!model.planValue().isEmpty());
    }

    void unreadableProgressFileIsKeptAside() {
        Harness h;
        const QString folder = h.folder.filePath("Brindle");
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + "/progress.json";
        const QByteArray garbage = "{\"cards\": {\"zh-da\": 12";
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(garbage);
        }
        auto store = std::make_shared<JSONProgressStore>(path.toStdString(), true);
        h.openLexicon();
        auto deps = h.dependencies(store);
        deps.progressFilePath = path;
        h.model = std::make_unique<AppModel>(std::move(deps));
        AppModel& model = *h.model;

        QTRY_VERIFY(model.isProgressReady());
        const QString asideName = "progress.json.unreadable-20240501T083000Z";
        QVERIFY(model.startupError().startsWith("Your saved progress could not be loaded: "));
        QVERIFY2(model.startupError().contains(asideName), qPrintable(model.startupError()));
        QCOMPARE(model.progress(), LearnerProgress());
        // Loading alone leaves the file where and as it was.
        QCOMPARE(readAll(path), garbage);
        QVERIFY(!QFile::exists(folder + "/" + asideName));

        model.beginSession(false);
        model.setAnswer("你好");
        model.submitAnswer();
        model.rateAndAdvance("good");
        QTRY_COMPARE(model.pendingSaveCount(), 0);
        QCOMPARE(readAll(folder + "/" + asideName), garbage);
        const auto saved = ProgressJSON::decode(readAll(path).toStdString());
        QVERIFY(saved.has_value());
        QCOMPARE(*saved, model.progress());

        // Later saves do not move the new file aside.
        model.resetProgress();
        QTRY_COMPARE(model.pendingSaveCount(), 0);
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 2);
    }

    // Another program's settings, or a file whose keys are mistyped, would load as an empty
    // progress and be replaced at the next save: it is refused and kept aside like any
    // unreadable file.
    void foreignJsonIsRefusedAndKeptAside() {
        Harness h;
        const QString path = h.folder.filePath("progress.json");
        const QByteArray foreign = R"({"theme":"dark","Cards":{"zh-da":{"totalReviews":3}}})";
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(foreign);
        }
        h.openLexicon();
        auto deps = h.dependencies(std::make_shared<JSONProgressStore>(path.toStdString(), true));
        deps.progressFilePath = path;
        h.model = std::make_unique<AppModel>(std::move(deps));
        AppModel& model = *h.model;
        QTRY_VERIFY(model.isProgressReady());
        QCOMPARE(model.startupError(),
                 QString("Your saved progress could not be loaded: The file “progress.json” is "
                         "not a Brindle progress file. The unreadable file will be kept as "
                         "“progress.json.unreadable-20240501T083000Z” in the same folder before "
                         "anything new is saved."));
        model.resetProgress();
        QTRY_COMPARE(model.pendingSaveCount(), 0);
        QCOMPARE(readAll(h.folder.filePath("progress.json.unreadable-20240501T083000Z")), foreign);
    }

    // With no lexicon and an unreadable progress file the learner is told about both.
    void bothStartupProblemsAreShown() {
        Harness h;
        h.store->loadResult = fail("The data couldn’t be read.");
        auto deps = h.dependencies();
        deps.lexicon = nullptr;
        deps.initialError = "The bundled Brindle lexicon could not be found. Reinstall the app.";
        AppModel model(std::move(deps));
        QVERIFY(!model.isLexiconAvailable());
        QTRY_VERIFY(model.isProgressReady());
        QCOMPARE(model.startupError(),
                 QString("The bundled Brindle lexicon could not be found. Reinstall the app.\n\n"
                         "Your saved progress could not be loaded: The data couldn’t be read."));
    }

    void missingLexiconRunsWithoutContent() {
        Harness h;
        auto deps = h.dependencies();
        deps.lexicon = nullptr;
        deps.initialError = "The bundled Brindle lexicon could not be found. Reinstall the app.";
        AppModel model(std::move(deps));
        QCOMPARE(model.startupError(),
                 QString("The bundled Brindle lexicon could not be found. Reinstall the app."));
        QTRY_VERIFY(model.isProgressReady());
        QCOMPARE(model.lessonCount(), 0);
        QVERIFY(model.planValue().isEmpty());
        model.setSearchQuery("hao");
        model.runSearch();
        QCOMPARE(model.isSearching(), false);
        model.selectLanguage("japanese");
        QCOMPARE(model.selectedLanguage(), QString("japanese"));
    }

    void selectLanguageSwitchesAndIgnoresTheSameLanguage() {
        Harness h;
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        model.beginSession(false);
        QCOMPARE(model.sessionPhase(), QString("answering"));

        QSignalSpy lessons(&model, &AppModel::lessonsChanged);
        model.selectLanguage("chinese");
        QCOMPARE(lessons.count(), 0);
        QCOMPARE(model.sessionPhase(), QString("answering"));
        QCOMPARE(h.speech->stops, 0);

        model.selectLanguage("japanese");
        QCOMPARE(model.selectedLanguage(), QString("japanese"));
        QCOMPARE(lessons.count(), 1);
        QCOMPARE(model.sessionPhase(), QString("idle"));
        QVERIFY(model.sessionItemsValue().empty());
        QCOMPARE(h.speech->stops, 1);
        QCOMPARE(model.lessons().front().item.language, LearningLanguage::japanese);
        QCOMPARE(model.countsValue().curriculumEntries, std::int64_t(17));
        h.settings->sync();
        QCOMPARE(h.settings->value("selectedLanguage").toString(), QString("japanese"));
    }

    // The course read beside the screens is the very course read in place, it arrives with the
    // first turn of the event loop, and joining it again reads nothing twice; the dictionary's
    // first list follows and is the one listed in place.
    void courseReadInTheBackgroundMatchesTheOneReadInPlace() {
        Harness inPlace;
        const AppModel& reference = inPlace.build();
        QVERIFY(!reference.lessons().empty());

        Harness h;
        h.openLexicon();
        auto deps = h.dependencies();
        deps.readCourseInBackground = true;
        h.model = std::make_unique<AppModel>(std::move(deps));
        QSignalSpy lessons(h.model.get(), &AppModel::lessonsChanged);
        QTRY_COMPARE(lessons.count(), 1);
        h.model->finishStartupContent();
        QCOMPARE(lessons.count(), 1);
        QCOMPARE(courseIDs(*h.model), courseIDs(reference));
        QCOMPARE(h.model->countsValue().curriculumEntries,
                 reference.countsValue().curriculumEntries);
        QCOMPARE(h.model->sources().size(), reference.sources().size());
        QTRY_VERIFY(!h.model->searchResultsValue().empty());
        QCOMPARE(entryIDs(h.model->searchResultsValue()), entryIDs(reference.searchResultsValue()));
        QTRY_VERIFY(h.model->isProgressReady());
        QVERIFY(!h.model->planValue().newItems.empty());
    }

    // A language chosen before the background course arrives wins over it, and over the
    // first dictionary list searched for it.
    void languageChosenBeforeTheBackgroundCourseArrivesWins() {
        Harness h;
        h.openLexicon();
        auto deps = h.dependencies();
        deps.readCourseInBackground = true;
        h.model = std::make_unique<AppModel>(std::move(deps));
        h.model->selectLanguage("japanese");
        QCoreApplication::processEvents();
        QCOMPARE(h.model->selectedLanguage(), QString("japanese"));
        QVERIFY(!h.model->lessons().empty());
        for (const auto& lesson : h.model->lessons())
            QCOMPARE(lesson.item.language, LearningLanguage::japanese);
        // No Chinese list may arrive after this and replace the Japanese one.
        const auto listed = entryIDs(h.model->searchResultsValue());
        QVERIFY(!listed.empty());
        QTest::qWait(300);
        QCOMPARE(entryIDs(h.model->searchResultsValue()), listed);
        for (const auto& entry : h.model->searchResultsValue())
            QCOMPARE(entry.language, LearningLanguage::japanese);
    }

    void completeOnboardingAppliesTheChoices() {
        Harness h;
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        model.setDestination("settings");
        model.setOnboardingLanguage("japanese");
        model.setOnboardingLevel(9);
        model.completeOnboarding();
        QCOMPARE(model.startingBand(), 6);
        QCOMPARE(model.hasCompletedOnboarding(), true);
        QCOMPARE(model.selectedLanguage(), QString("japanese"));
        QCOMPARE(model.destination(), QString("home"));
        h.settings->sync();
        QCOMPARE(h.settings->value("hasCompletedOnboarding").toBool(), true);
        QCOMPARE(h.settings->value("startingBand").toInt(), 6);
        QCOMPARE(h.settings->value("selectedLanguage").toString(), QString("japanese"));
    }

    void defaultModelKeepsProgressInTheUserDataFolder() {
        QStandardPaths::setTestModeEnabled(true);
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        const QString path = data + "/Brindle/progress.json";
        QFile::remove(path);
        std::unique_ptr<AppModel> model(AppModel::createDefault());
        QTRY_VERIFY(model->isProgressReady());
        model->resetProgress();
        QTRY_COMPARE(model->pendingSaveCount(), 0);
        QVERIFY2(QFile::exists(path), qPrintable(path));
        model.reset();
        QSettings settings("Brindle", "Brindle");
        QCOMPARE(settings.value("dailyGoal").toInt(), 20);
        QFile::remove(path);
        QStandardPaths::setTestModeEnabled(false);
    }

    void modelGoneBeforeTheLoadAnswersIsHarmless() {
        Harness h;
        h.store->holdLoads = true;
        h.build();
        QTRY_COMPARE(h.store->heldLoads(), 1);
        h.model.reset();
        h.store->releaseLoad(LearnerProgress());
        QTest::qWait(20);  // the answer is posted to the main thread and must be dropped there
    }
};

QTEST_GUILESS_MAIN(StartupTest)
#include "StartupTest.moc"
