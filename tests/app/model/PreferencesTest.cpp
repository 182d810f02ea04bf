// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include "Preferences.h"
#include "TestSupport.h"

using namespace tessel;
using namespace tessel::test;

namespace {

// Writes an INI file by hand, as it would be found on disk after a run: every value is text.
void writeIni(const QString& path, const QString& body) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[General]\n");
    file.write(body.toUtf8());
}

QVariant storedValue(const Harness& h, const char* key) {
    QSettings reread(h.settingsPath(), QSettings::IniFormat);
    return reread.value(key);
}

}  // namespace

class PreferencesTest : public QObject {
    Q_OBJECT

  private slots:
    void firstStartUsesDefaultsAndWritesThemBack() {
        Harness h;
        AppModel& model = h.build();
        QCOMPARE(model.selectedLanguage(), QString("chinese"));
        QCOMPARE(model.onboardingLanguage(), QString("chinese"));
        QCOMPARE(model.hasCompletedOnboarding(), false);
        QCOMPARE(model.startingBand(), 1);
        QCOMPARE(model.dailyGoal(), 20);
        QCOMPARE(model.newWordsPerSession(), 8);
        QCOMPARE(model.speechRate(), 0.44);
        QCOMPARE(model.showReading(), true);
        QCOMPARE(model.showTranslation(), true);
        QCOMPARE(model.playAudioAutomatically(), false);
        QCOMPARE(model.onboardingLevel(), 1);
        QCOMPARE(model.destination(), QString("home"));

        h.settings->sync();
        QCOMPARE(storedValue(h, "startingBand").toInt(), 1);
        QCOMPARE(storedValue(h, "dailyGoal").toInt(), 20);
        QCOMPARE(storedValue(h, "newWordsPerSession").toInt(), 8);
        QCOMPARE(storedValue(h, "speechRate").toDouble(), 0.44);
        // Only the four bounded values are written at start-up.
        QVERIFY(!storedValue(h, "showReading").isValid());
        QVERIFY(!storedValue(h, "selectedLanguage").isValid());
    }

    void storedValuesAreNormalised_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("expected");
        QTest::addColumn<bool>("writtenBack");

        QTest::newRow("band above") << "startingBand=9"
                                    << "startingBand" << QVariant(6) << true;
        QTest::newRow("band zero") << "startingBand=0"
                                   << "startingBand" << QVariant(1) << true;
        QTest::newRow("band negative") << "startingBand=-4"
                                       << "startingBand" << QVariant(1) << true;
        QTest::newRow("band inside") << "startingBand=4"
                                     << "startingBand" << QVariant(4) << true;
        QTest::newRow("band text") << "startingBand=three"
                                   << "startingBand" << QVariant(1) << true;
        QTest::newRow("band fraction") << "startingBand=2.5"
                                       << "startingBand" << QVariant(1) << true;
        QTest::newRow("goal 45") << "dailyGoal=45"
                                 << "dailyGoal" << QVariant(50) << true;
        QTest::newRow("goal 15") << "dailyGoal=15"
                                 << "dailyGoal" << QVariant(10) << true;
        QTest::newRow("goal 250") << "dailyGoal=250"
                                  << "dailyGoal" << QVariant(100) << true;
        QTest::newRow("goal text") << "dailyGoal=plenty"
                                   << "dailyGoal" << QVariant(20) << true;
        QTest::newRow("goal boolean") << "dailyGoal=true"
                                      << "dailyGoal" << QVariant(20) << true;
        QTest::newRow("new words 0") << "newWordsPerSession=0"
                                     << "newWordsPerSession" << QVariant(1) << true;
        QTest::newRow("new words 50") << "newWordsPerSession=50"
                                      << "newWordsPerSession" << QVariant(20) << true;
        QTest::newRow("rate low") << "speechRate=0.1"
                                  << "speechRate" << QVariant(0.30) << true;
        QTest::newRow("rate high") << "speechRate=0.9"
                                   << "speechRate" << QVariant(0.56) << true;
        QTest::newRow("rate inside") << "speechRate=0.5"
                                     << "speechRate" << QVariant(0.5) << true;
        QTest::newRow("rate nan") << "speechRate=nan"
                                  << "speechRate" << QVariant(0.44) << true;
        QTest::newRow("rate text") << "speechRate=fast"
                                   << "speechRate" << QVariant(0.44) << true;
        QTest::newRow("rate integer") << "speechRate=0"
                                      << "speechRate" << QVariant(0.30) << true;
        QTest::newRow("reading off") << "showReading=false"
                                     << "showReading" << QVariant(false) << false;
        QTest::newRow("reading wrong kind") << "showReading=no"
                                            << "showReading" << QVariant(true) << false;
        QTest::newRow("translation number") << "showTranslation=0"
                                            << "showTranslation" << QVariant(true) << false;
        QTest::newRow("audio on") << "playAudioAutomatically=true"
                                  << "playAudioAutomatically" << QVariant(true) << false;
        QTest::newRow("onboarded") << "hasCompletedOnboarding=true"
                                   << "hasCompletedOnboarding" << QVariant(true) << false;
        QTest::newRow("japanese") << "selectedLanguage=japanese"
                                  << "selectedLanguage" << QVariant("japanese") << false;
        QTest::newRow("other language") << "selectedLanguage=korean"
                                        << "selectedLanguage" << QVariant("chinese") << false;
        QTest::newRow("capitalised") << "selectedLanguage=Japanese"
                                     << "selectedLanguage" << QVariant("chinese") << false;
    }

    void storedValuesAreNormalised() {
        QFETCH(QString, line);
        QFETCH(QString, property);
        QFETCH(QVariant, expected);
        QFETCH(bool, writtenBack);

        Harness h;
        h.settings.reset();
        writeIni(h.settingsPath(), line + "\n");
        h.settings = std::make_unique<QSettings>(h.settingsPath(), QSettings::IniFormat);
        AppModel& model = h.build();

        const QVariant actual = model.property(property.toUtf8().constData());
        if (expected.metaType().id() == QMetaType::Double) {
            QVERIFY2(qFuzzyCompare(actual.toDouble(), expected.toDouble()),
                     qPrintable(actual.toString()));
        } else {
            QCOMPARE(actual, expected);
        }
        if (property == "selectedLanguage")
            QCOMPARE(model.onboardingLanguage(), expected.toString());
        if (writtenBack) {
            h.settings->sync();
            QVERIFY(qFuzzyCompare(storedValue(h, property.toUtf8().constData()).toDouble(),
                                  expected.toDouble()));
        }
    }

    void typedValuesOfTheWrongKindCountAsMissing() {
        Harness h;
        h.settings->setValue("dailyGoal", QVariant(true));
        h.settings->setValue("newWordsPerSession", QStringList{"8"});
        h.settings->setValue("showReading", QVariant(0));
        h.settings->setValue("startingBand", QVariant(3));
        h.settings->setValue("speechRate", QVariant(0.35f));
        AppModel& model = h.build();
        QCOMPARE(model.dailyGoal(), 20);
        QCOMPARE(model.newWordsPerSession(), 8);
        QCOMPARE(model.showReading(), true);
        QCOMPARE(model.startingBand(), 3);
        QVERIFY(qAbs(model.speechRate() - 0.35) < 1e-6);
    }

    void clampedDailyGoal_data() {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<int>("expected");
        for (auto [value, expected] : std::vector<std::pair<qint64, int>>{{0, 10},
                                                                          {15, 10},
                                                                          {25, 20},
                                                                          {33, 30},
                                                                          {40, 30},
                                                                          {45, 50},
                                                                          {75, 50},
                                                                          {76, 100},
                                                                          {1000, 100},
                                                                          {-7, 10},
                                                                          {INT64_MAX, 100},
                                                                          {INT64_MIN, 10}}) {
            QTest::addRow("%lld", static_cast<long long>(value)) << value << expected;
        }
    }

    void clampedDailyGoal() {
        QFETCH(qint64, value);
        QFETCH(int, expected);
        QCOMPARE(AppModel::clampedDailyGoal(value), expected);
    }

    void settersNormaliseAndWrite_data() {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("assigned");
        QTest::addColumn<QVariant>("expected");

        QTest::newRow("goal 33") << "dailyGoal" << QVariant(33) << QVariant(30);
        QTest::newRow("band 9") << "startingBand" << QVariant(9) << QVariant(6);
        QTest::newRow("new words -1") << "newWordsPerSession" << QVariant(-1) << QVariant(1);
        QTest::newRow("rate nan") << "speechRate" << QVariant(qQNaN()) << QVariant(0.44);
        QTest::newRow("rate inf") << "speechRate" << QVariant(qInf()) << QVariant(0.44);
        QTest::newRow("rate 2") << "speechRate" << QVariant(2.0) << QVariant(0.56);
        QTest::newRow("reading") << "showReading" << QVariant(false) << QVariant(false);
        QTest::newRow("translation") << "showTranslation" << QVariant(false) << QVariant(false);
        QTest::newRow("audio") << "playAudioAutomatically" << QVariant(true) << QVariant(true);
    }

    void settersNormaliseAndWrite() {
        QFETCH(QString, property);
        QFETCH(QVariant, assigned);
        QFETCH(QVariant, expected);

        Harness h;
        AppModel& model = h.build();
        const QByteArray name = property.toUtf8();
        QVERIFY(model.setProperty(name.constData(), assigned));
        QCOMPARE(model.property(name.constData()).toDouble(), expected.toDouble());
        h.settings->sync();
        const QVariant stored = storedValue(h, name.constData());
        QVERIFY(stored.isValid());
        if (expected.metaType().id() == QMetaType::Bool) {
            QCOMPARE(stored.toBool(), expected.toBool());
        } else {
            QCOMPARE(stored.toDouble(), expected.toDouble());
        }
    }

    void boundedSettersRecomputeThePlan() {
        Harness h;
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        // With the fixture's two contextual exercises unstarted, the plan offers those two.
        QCOMPARE(model.planValue().newItems.size(), std::size_t(2));
        model.setNewWordsPerSession(1);
        QCOMPARE(model.planValue().newItems.size(), std::size_t(1));
        model.setDailyGoal(100);
        model.setNewWordsPerSession(20);
        QCOMPARE(model.planValue().newItems.size(), std::size_t(2));
        model.setStartingBand(2);
        // Both contextual exercises sit in band 1: once they are below the band nothing forces
        // them first, and band 2 and 3 words are offered.
        const auto items = model.planValue().items();
        QVERIFY(!items.empty());
        for (const auto& item : items) QVERIFY(item.level >= 2);
    }
};

QTEST_GUILESS_MAIN(PreferencesTest)
#include "PreferencesTest.moc"
