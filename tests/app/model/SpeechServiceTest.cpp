// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "SpeechService.h"

using namespace tessel;

class SpeechServiceTest : public QObject {
    Q_OBJECT

  private slots:
    void rateIsHeldAndMapped_data() {
        QTest::addColumn<float>("rate");
        QTest::addColumn<double>("engine");
        QTest::newRow("too slow") << 0.1f << -0.5;
        QTest::newRow("slowest") << 0.30f << -0.5;
        QTest::newRow("default") << 0.44f << -0.15;
        QTest::newRow("natural") << 0.5f << 0.0;
        QTest::newRow("fastest") << 0.56f << 0.15;
        QTest::newRow("too fast") << 2.0f << 0.15;
        QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << -0.15;
    }

    void rateIsHeldAndMapped() {
        QFETCH(float, rate);
        QFETCH(double, engine);
        QVERIFY2(qAbs(SpeechService::engineRate(rate) - engine) < 1e-6,
                 qPrintable(QString::number(SpeechService::engineRate(rate))));
    }

    void voiceChoice_data() {
        QTest::addColumn<bool>("japanese");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("locales");
        QTest::addColumn<int>("expected");
        // What speech-dispatcher with espeak-ng reports: Mandarin under the C locale, every
        // voice again with each variant.
        const QStringList names = {"English (Great Britain)",
                                   "Japanese+Adam",
                                   "Chinese (Mandarin, latin as English)",
                                   "Chinese (Mandarin, latin as Pinyin)+Adam",
                                   "Chinese (Mandarin, latin as Pinyin)",
                                   "Japanese",
                                   "Chinese (Cantonese)"};
        const QStringList locales = {"en_GB", "ja_JP", "C", "C", "C", "ja_JP", "yue_HK"};
        QTest::newRow("mandarin pinyin voice") << false << names << locales << 4;
        QTest::newRow("japanese plain voice") << true << names << locales << 5;
        QTest::newRow("espeak-ng voice names")
            << false << QStringList{"yue", "cmn", "cmn-latn-pinyin"} << QStringList{"C", "C", "C"}
            << 2;
        QTest::newRow("mandarin without pinyin")
            << false << QStringList{"yue", "cmn"} << QStringList{"C", "C"} << 1;
        QTest::newRow("mandarin by locale")
            << false << QStringList{"Lili", "Kyoko"} << QStringList{"zh_CN", "ja_JP"} << 0;
        QTest::newRow("japanese by name")
            << true << QStringList{"en", "ja"} << QStringList{"C", "C"} << 1;
        QTest::newRow("only a variant")
            << true << QStringList{"en", "Japanese+Max"} << QStringList{"en_US", "C"} << 1;
        QTest::newRow("no japanese voice")
            << true << QStringList{"en", "cmn"} << QStringList{"en_US", "C"} << -1;
        QTest::newRow("cantonese is no mandarin")
            << false << QStringList{"Chinese (Cantonese)", "en"} << QStringList{"yue_HK", "en_US"}
            << -1;
    }

    void voiceChoice() {
        QFETCH(bool, japanese);
        QFETCH(QStringList, names);
        QFETCH(QStringList, locales);
        QFETCH(int, expected);
        const auto chosen = SpeechService::chooseVoice(
            japanese ? LearningLanguage::japanese : LearningLanguage::chinese, names, locales);
        QCOMPARE(chosen.value_or(-1), expected);
    }

    // Silencing (on every change of language or page) must not start the engine and its daemon
    // for a learner who never hears a word.
    void silenceAloneStartsNothing() {
        SpeechService speech;
        speech.stop();
        QCoreApplication::processEvents();
        QVERIFY(!speech.isStarted());
    }
};

QTEST_GUILESS_MAIN(SpeechServiceTest)
#include "SpeechServiceTest.moc"
