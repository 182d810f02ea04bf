// SPDX-License-Identifier: GPL-3.0-or-later
#include <QSignalSpy>
#include <QTest>

#include "SpokenText.h"
#include "TestSupport.h"

using namespace tessel;
using namespace tessel::test;

namespace {

// Reviewed, due cards for the Chinese course words with these ids.
LearnerProgress dueCards(const std::vector<std::string>& ids, Instant due) {
    LearnerProgress progress;
    for (const auto& id : ids) progress.cards[id] = reviewedCard(id, due);
    return progress;
}

// The accepted first answer of the current card.
QString rightAnswer(const AppModel& model) {
    return QString::fromStdString(model.currentItem()->acceptedAnswers.front());
}

void answerAndRate(AppModel& model, bool right, const QString& rating = "good") {
    model.setAnswer(right ? rightAnswer(model) : QString("wrong"));
    model.submitAnswer();
    model.rateAndAdvance(rating);
}

std::vector<std::string> ids(const std::vector<VocabularyItem>& items) {
    std::vector<std::string> out;
    for (const auto& item : items) out.push_back(item.id);
    return out;
}

}  // namespace

class SessionTest : public QObject {
    Q_OBJECT

  private slots:
    void ratingTheLastCardCompletesTheSession() {
        Harness h;
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        model.beginSession(false);
        QCOMPARE(model.sessionItemsValue().size(), std::size_t(2));  // the two contextual cards
        answerAndRate(model, true);
        QCOMPARE(model.sessionPhase(), QString("answering"));
        QCOMPARE(model.currentIndex(), 1);
        const VocabularyItem last = *model.currentItem();
        h.advance(12);

        QSignalSpy plan(&model, &AppModel::planChanged);
        answerAndRate(model, false, "easy");
        QCOMPARE(model.sessionPhase(), QString("complete"));
        QCOMPARE(model.sessionReviewed(), 2);
        QCOMPARE(model.sessionCorrect(), 1);
        QCOMPARE(model.currentIndex(), 1);
        QCOMPARE(*model.currentItem(), last);
        QCOMPARE(plan.count(), 1);
        // The wrong answer is due again in ten minutes: not part of the new plan yet.
        for (const auto& item : model.planValue().items()) QVERIFY(item.id != last.id);

        const DailyStudyStats today = model.todayStats();
        QCOMPARE(today.sessionsCompleted, std::int64_t(1));
        QCOMPARE(today.reviewedCount, std::int64_t(2));
        QCOMPARE(today.correctCount, std::int64_t(1));
        QCOMPARE(today.studySeconds, 12.0);
        // The first rating's save, then the last rating and the completed session, made while
        // it was written, as one save holding it all.
        QTRY_COMPARE(model.pendingSaveCount(), 0);
        QCOMPARE(h.store->saveCalls, 2);
        QCOMPARE(h.store->written.back(), model.progress());
    }

    void quickRatingsWithASlowStoreWaitAsOneSave() {
        Harness h;
        h.store->holdSaves = true;
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        model.setStartingBand(2);  // ordinary band 2 and 3 words: a longer session
        model.beginSession(false);
        QVERIFY(model.sessionItemsValue().size() >= 4);
        std::vector<LearnerProgress> states;
        for (int i = 0; i < 3; ++i) {
            answerAndRate(model, true);
            states.push_back(model.progress());
        }

        // Each save waits for the one before it to answer; the ratings made meanwhile wait as
        // one save holding the newest progress, never as a queue.
        QTRY_COMPARE(h.store->heldSaves(), 1);
        QTest::qWait(10);
        QCOMPARE(h.store->saveCalls, 1);
        QCOMPARE(model.pendingSaveCount(), 2);
        for (int i = 0; i < 2; ++i) {
            QTRY_COMPARE(h.store->heldSaves(), 1);
            h.store->releaseSave();
        }
        QTRY_COMPARE(model.pendingSaveCount(), 0);
        QCOMPARE(h.store->written, (std::vector{states[0], states[2]}));
    }

    void failedSaveIsReportedAndTheNextOneSucceeds() {
        Harness h;
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        model.setStartingBand(2);
        model.beginSession(false);
        h.store->saveError = "The disk is full.";
        answerAndRate(model, true);
        QTRY_COMPARE(model.startupError(),
                     QString("Progress could not be saved: The disk is full."));
        QVERIFY(h.store->written.empty());

        model.setStartupError("");
        h.store->saveError.reset();
        answerAndRate(model, true);
        QTRY_COMPARE(model.pendingSaveCount(), 0);
        QCOMPARE(model.startupError(), QString());
        QCOMPARE(h.store->written.size(), std::size_t(1));
        QCOMPARE(h.store->written.back(), model.progress());
        QCOMPARE(model.progress().cards.size(), std::size_t(2));
    }

    void eventsOutOfPhaseDoNothing() {
        Harness h;
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        model.submitAnswer();  // no session
        QCOMPARE(model.sessionPhase(), QString("idle"));
        model.beginSession(false);
        model.rateAndAdvance("good");  // answering, not feedback
        QCOMPARE(model.sessionReviewed(), 0);
        QCOMPARE(model.pendingSaveCount(), 0);
        QCOMPARE(h.store->saveCalls, 0);

        model.setAnswer(rightAnswer(model));
        model.submitAnswer();
        const auto verdict = model.answerEvaluationValue();
        QVERIFY(verdict && verdict->isCorrect);
        model.setAnswer("changed");
        model.submitAnswer();  // feedback already: the verdict stands
        QCOMPARE(model.answerEvaluationValue(), verdict);
        model.rateAndAdvance("perfect");  // no such rating
        QCOMPARE(model.sessionReviewed(), 0);
    }

    void revealAnswerJudgesAnEmptyAnswer() {
        Harness h;
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        model.beginSession(false);
        model.setAnswer("你好");
        model.revealAnswer();
        QCOMPARE(model.sessionPhase(), QString("feedback"));
        QVERIFY(model.answerEvaluationValue().has_value());
        QCOMPARE(model.answerEvaluationValue()->input, std::string());
        QCOMPARE(model.answerEvaluationValue()->isCorrect, false);
        model.rateAndAdvance("easy");
        QCOMPARE(model.sessionCorrect(), 0);
        QCOMPARE(model.progress().cards.begin()->second.lastRating, ReviewRating::again);
    }

    void clockSetBackRecordsNoStudyTime() {
        Harness h;
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        model.beginSession(false);
        h.advance(-300);
        answerAndRate(model, true);
        QCOMPARE(model.todayStats().studySeconds, 0.0);
        QCOMPARE(model.todayStats().reviewedCount, std::int64_t(1));
    }

    void reviewOnlyWithNothingDueCompletesAtOnce() {
        Harness h;
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        model.beginSession(true);
        QCOMPARE(model.sessionPhase(), QString("complete"));
        QCOMPARE(model.sessionReviewed(), 0);
        QCOMPARE(model.destination(), QString("learn"));
        QVERIFY(!model.currentItem().has_value());
    }

    void leaveSessionGoesHomeAndSilences() {
        Harness h;
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        model.beginSession(false);
        model.setAnswer("x");
        model.submitAnswer();
        model.leaveSession();
        QCOMPARE(model.sessionPhase(), QString("idle"));
        QVERIFY(model.sessionItemsValue().empty());
        QCOMPARE(model.answer(), QString());
        QVERIFY(!model.answerEvaluationValue());
        QCOMPARE(model.destination(), QString("home"));
        QCOMPARE(h.speech->stops, 1);
        QCOMPARE(h.store->saveCalls, 0);
    }

    void planCaps_data() {
        QTest::addColumn<int>("goal");
        QTest::addColumn<int>("newWords");
        QTest::addColumn<int>("due");
        QTest::addColumn<int>("fresh");
        // Twelve due cards (both contextual exercises among them), six words never seen.
        QTest::newRow("goal 10, 8 new") << 10 << 8 << 10 << 0;
        QTest::newRow("goal 20, 8 new") << 20 << 8 << 12 << 6;
        QTest::newRow("goal 20, 3 new") << 20 << 3 << 12 << 3;
        QTest::newRow("goal 10, 20 new") << 10 << 20 << 12 << 6;
        QTest::newRow("goal 50, 8 new") << 50 << 8 << 12 << 6;
    }

    void planCaps() {
        QFETCH(int, goal);
        QFETCH(int, newWords);
        QFETCH(int, due);
        QFETCH(int, fresh);
        Harness h;
        std::vector<std::string> reviewed = {"zh-nihao",    "zh-xiexie", "zh-hao",    "zh-da",
                                             "zh-zhongguo", "zh-le",     "zh-shu",    "zh-xuesheng",
                                             "zh-nv",       "zh-ne",     "zh-haochi", "zh-lv"};
        h.store->loadResult = dueCards(reviewed, fixedStart() - std::chrono::minutes(5));
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        model.setDailyGoal(goal);
        model.setNewWordsPerSession(newWords);
        QCOMPARE(static_cast<int>(model.planValue().dueItems.size()), due);
        QCOMPARE(static_cast<int>(model.planValue().newItems.size()), fresh);
        QCOMPARE(model.planValue().availableDueCount, std::int64_t(12));
        QCOMPARE(model.planValue().availableNewCount, std::int64_t(6));
    }

    void startingBandKeepsStudiedWordsBelowIt() {
        Harness h;
        // 呢 (band 2) was studied and is due; 好吃 (band 2) never was.
        h.store->loadResult = dueCards({"zh-ne", "zh-nihao", "zh-xiexie"}, fixedStart());
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        model.setStartingBand(3);
        const auto due = ids(model.planValue().dueItems);
        const auto fresh = ids(model.planValue().newItems);
        QVERIFY(std::find(due.begin(), due.end(), "zh-ne") != due.end());
        QVERIFY(std::find(fresh.begin(), fresh.end(), "zh-haochi") == fresh.end());
        for (const auto& item : model.planValue().newItems) QCOMPARE(item.level, std::int64_t(3));
    }

    void unstartedContextualExercisesComeFirst() {
        Harness h;
        h.store->loadResult = dueCards({"zh-da"}, fixedStart());
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        // Only the contextual exercises as new material; the ordinary review still comes.
        QCOMPARE(ids(model.planValue().newItems),
                 (std::vector<std::string>{"zh-nihao", "zh-xiexie"}));
        QCOMPARE(ids(model.planValue().dueItems), std::vector<std::string>{"zh-da"});

        // Once both exercises have a card, ordinary new words follow.
        model.beginSession(false);
        while (model.sessionPhase() == "answering") answerAndRate(model, true);
        const auto fresh = ids(model.planValue().newItems);
        QVERIFY(!fresh.empty());
        QVERIFY(std::find(fresh.begin(), fresh.end(), "zh-hao") != fresh.end());
    }

    void automaticAudio_data() {
        QTest::addColumn<bool>("audioOn");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("firstSpoken");
        QTest::newRow("blank filled") << true << "chinese"
                                      << "你好，我叫小明。";
        // the voice cannot read kanji: the sentence's kana with the word's reading
        QTest::newRow("japanese sentence") << true << "japanese"
                                           << "まいあさぱんをたべる。";
        QTest::newRow("off") << false << "chinese"
                             << "";
    }

    void automaticAudio() {
        QFETCH(bool, audioOn);
        QFETCH(QString, language);
        QFETCH(QString, firstSpoken);
        Harness h;
        AppModel& model = h.build();
        model.selectLanguage(language);
        model.setPlayAudioAutomatically(audioOn);
        model.setSpeechRate(0.5);
        QTRY_VERIFY(model.isProgressReady());
        // The voice is readied ahead only for a learner who will hear every card.
        const auto chosen = model.selectedLanguageValue();
        QCOMPARE(h.speech->prepared,
                 audioOn ? std::vector{chosen} : std::vector<LearningLanguage>{});
        model.beginSession(false);
        QCOMPARE(h.speech->prepared.back(), chosen);
        if (!audioOn) {
            QVERIFY(h.speech->spoken.empty());
            return;
        }
        QCOMPARE(h.speech->spoken.size(), std::size_t(1));
        QCOMPARE(h.speech->spoken[0].text, firstSpoken);
        QCOMPARE(h.speech->spoken[0].language, model.selectedLanguageValue());
        QCOMPARE(h.speech->spoken[0].rate, 0.5f);
    }

    void ordinaryCardSpeaksItsTermAndSpeakNeedsAKnownLanguage() {
        Harness h;
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        model.setStartingBand(2);  // ordinary cards: their example is the bare blank
        model.beginSession(false);
        model.playCurrentSentence();
        QCOMPARE(h.speech->spoken.back().text, QString::fromStdString(model.currentItem()->term));
        model.speak("こんにちは", "japanese");
        QCOMPARE(h.speech->spoken.back().language, LearningLanguage::japanese);
        const auto count = h.speech->spoken.size();
        model.speak("hello", "klingon");
        QCOMPARE(h.speech->spoken.size(), count);
    }

    void spokenTextFollowsWhatTheVoiceCanRead_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("term");
        QTest::addColumn<QString>("reading");
        QTest::addColumn<QString>("example");
        QTest::addColumn<QString>("sentenceReading");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("sentence");
        QTest::newRow("mandarin reads characters")
            << "chinese" << "你好" << "nǐ hǎo" << "___，我叫小明。" << ""
            << "你好" << "你好，我叫小明。";
        QTest::newRow("japanese reads kana")
            << "japanese" << "食べる" << "たべる" << "毎朝パンを___。" << "まいあさぱんを___。"
            << "たべる" << "まいあさぱんをたべる。";
        QTest::newRow("japanese card without a sentence")
            << "japanese" << "食べる" << "たべる" << "___" << "" << "たべる" << "たべる";
        QTest::newRow("japanese sentence without kana: the word alone")
            << "japanese" << "食べる" << "たべる" << "毎朝パンを___。" << "" << "たべる"
            << "たべる";
        QTest::newRow("katakana word") << "japanese" << "コーヒー" << "コーヒー" << "___" << ""
                                       << "コーヒー" << "コーヒー";
        QTest::newRow("no kana reading: nothing")
            << "japanese" << "ＡＢＣ" << "ＡＢＣ" << "___を見る。" << "___をみる。" << "" << "";
    }

    void spokenTextFollowsWhatTheVoiceCanRead() {
        QFETCH(QString, language);
        QFETCH(QString, term);
        QFETCH(QString, reading);
        QFETCH(QString, example);
        QFETCH(QString, sentenceReading);
        QFETCH(QString, word);
        QFETCH(QString, sentence);
        VocabularyItem item;
        item.language = *learningLanguageFromRawValue(language.toStdString());
        item.term = term.toStdString();
        item.reading = reading.toStdString();
        item.exampleTarget = example.toStdString();
        QCOMPARE(QString::fromStdString(spokenWord(item.language, item.term, item.reading)), word);
        QCOMPARE(QString::fromStdString(spokenSentence(item, sentenceReading.toStdString())),
                 sentence);
    }

    void dictionaryPronouncesJapaneseFromItsReading() {
        Harness h;
        AppModel& model = h.build();
        model.pronounce("食べる", "たべる", "japanese");
        model.pronounce("你好", "nǐ hǎo", "chinese");
        QCOMPARE(h.speech->spoken.size(), std::size_t(2));
        QCOMPARE(h.speech->spoken[0].text, QString("たべる"));
        QCOMPARE(h.speech->spoken[1].text, QString("你好"));
        model.pronounce("ＡＢＣ", "", "japanese");
        QCOMPARE(h.speech->spoken.size(), std::size_t(2));  // nothing said without kana
    }

    void onlyTheOpenDictionaryReadiesItsLanguagesVoice() {
        Harness h;
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        for (const char* page : {"home", "progress", "settings"}) model.setDestination(page);
        QVERIFY(h.speech->prepared.empty());
        model.setDestination("dictionary");
        model.selectLanguage("japanese");
        QCOMPARE(h.speech->prepared,
                 (std::vector{LearningLanguage::chinese, LearningLanguage::japanese}));
        QVERIFY(h.speech->spoken.empty());
    }
};

QTEST_GUILESS_MAIN(SessionTest)
#include "SessionTest.moc"
