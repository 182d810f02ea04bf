// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QTest>

#include "JSONProgressStore.h"
#include "ProgressBackup.h"
#include "TestSupport.h"

using namespace tessel;
using namespace tessel::test;

namespace {

void answerAndRate(AppModel& model) {
    model.setAnswer(QString::fromStdString(model.currentItem()->acceptedAnswers.front()));
    model.submitAnswer();
    model.rateAndAdvance("good");
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A model over a real progress file in `folder` (the fixture lexicon, the harness's clock).
std::unique_ptr<AppModel> modelOnFile(Harness& h, const QString& path) {
    h.openLexicon();
    auto deps = h.dependencies(std::make_shared<JSONProgressStore>(path.toStdString(), true));
    deps.progressFilePath = path;
    return std::make_unique<AppModel>(std::move(deps));
}

}  // namespace

class ProgressSaverTest : public QObject {
    Q_OBJECT

  private slots:
    // The last change made before the model goes away is the one the file keeps, even when an
    // earlier save is still on its way to the store.
    void theLastSaveLandsLast_data() {
        QTest::addColumn<bool>("restoreThenReset");
        QTest::newRow("ratings") << false;
        QTest::newRow("restore, then reset") << true;
    }
    void theLastSaveLandsLast() {
        QFETCH(bool, restoreThenReset);
        Harness h;
        const QString path = h.folder.filePath("progress.json");
        const QString backup = h.folder.filePath("backup.json");
        for (int round = 0; round < 20; ++round) {
            QFile::remove(path);
            auto model = modelOnFile(h, path);
            QTRY_VERIFY(model->isProgressReady());
            if (restoreThenReset) {
                LearnerProgress restored;
                restored.cards["zh-hao"] = reviewedCard("zh-hao", fixedStart());
                QVERIFY(ProgressBackup::exportTo(backup, restored).has_value());
                QCOMPARE(model->restoreProgress(backup), QString());
                model->resetProgress();
            } else {
                model->setStartingBand(2);
                model->beginSession(false);
                answerAndRate(*model);
                answerAndRate(*model);
            }
            const LearnerProgress last = model->progress();
            model.reset();
            const auto saved = JSONProgressStore::readFile(path.toStdString());
            QVERIFY2(saved.has_value(), saved ? "" : saved.error().description.c_str());
            QVERIFY2(*saved == last, qPrintable(QString("round %1").arg(round)));
        }
    }

    // A change made before the start-up load has answered waits for it, and an unreadable file
    // is kept aside before the change is written, also when the model goes away first.
    void quittingBeforeTheLoadKeepsAnUnreadableFile() {
        Harness h;
        const QString path = h.folder.filePath("progress.json");
        const QByteArray garbage = "{\"cards\": {\"zh-da\": 12";
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(garbage);
        }
        auto model = modelOnFile(h, path);
        model->resetProgress();
        model.reset();
        QCOMPARE(readAll(h.folder.filePath("progress.json.unreadable-20240501T083000Z")), garbage);
        const auto saved = JSONProgressStore::readFile(path.toStdString());
        QVERIFY(saved.has_value());
        QCOMPARE(*saved, LearnerProgress());
    }

    // A window that could not take the data folder's lock says so and never saves.
    void readOnlyWindowSavesNothing() {
        Harness h;
        h.openLexicon();
        auto deps = h.dependencies();
        deps.readOnlyReason = "Another Brindle seems to be using your data folder.";
        AppModel model(std::move(deps));
        QCOMPARE(model.startupError(),
                 QString("Another Brindle seems to be using your data folder."));
        QTRY_VERIFY(model.isProgressReady());
        model.setStartingBand(2);
        model.beginSession(false);
        answerAndRate(model);
        model.resetProgress();
        QCOMPARE(model.pendingSaveCount(), 0);
        QTest::qWait(20);
        QCOMPARE(h.store->saveCalls, 0);
    }
};

QTEST_GUILESS_MAIN(ProgressSaverTest)
#include "ProgressSaverTest.moc"
