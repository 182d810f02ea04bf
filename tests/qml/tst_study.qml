// SPDX-License-Identifier: GPL-3.0-or-later
// The study screen on the real model and the fixture lexicon: panels, keyboard flow, verdicts,
// counters and the closing panels.
import QtQuick
import QtTest
import Brindle
import Brindle.Model
import Brindle.Testing

Item {
    id: scene
    width: 1050
    height: 700

    RootView {
        id: rootView
        anchors.fill: parent
    }

    TestCase {
        name: "Study"
        when: windowShown

        function named(name) {
            return findChild(rootView, name)
        }
        function shown(name) {
            const item = named(name)
            return item !== null && item.visible
        }
        function panel() {
            return rootView.currentScreen ? rootView.currentScreen.panel : ""
        }
        function field() {
            return named("answerField")
        }
        function typeText(text) {
            for (const ch of text)
                keyClick(ch)
        }
        function startSession() {
            AppModel.beginSession(false)
            compare(AppModel.destination, "learn")
            tryCompare(AppModel, "sessionPhase", "answering")
            tryVerify(() => panel() === "card" && field() !== null && field().activeFocus,
                      1000, "the answer field takes the keyboard when a card appears")
        }
        // "Show answer", then Return: rates the card `again`.
        function revealAndContinue() {
            mouseClick(named("showAnswerButton"))
            compare(AppModel.sessionPhase, "feedback")
            tryVerify(() => shown("verdictContinue"))
            keyClick(Qt.Key_Return)
        }
        function finishSession() {
            while (AppModel.sessionPhase === "answering")
                revealAndContinue()
            compare(AppModel.sessionPhase, "complete")
        }

        function initTestCase() {
            tryVerify(() => AppModel.isProgressReady, 5000)
            AppModel.onboardingLanguage = "chinese"
            AppModel.onboardingLevel = 1
            AppModel.completeOnboarding()
            verify(AppModel.hasCompletedOnboarding)
        }
        function cleanup() {
            AppModel.leaveSession()
        }

        function test_checkDisabledForBlankAnswerButReturnSubmits() {
            startSession()
            const check = named("checkButton")
            verify(!check.enabled)
            typeText("   ")
            compare(AppModel.answer, "   ")
            verify(!check.enabled, "an answer of only spaces cannot be checked with the button")
            typeText("x")
            verify(check.enabled)
            keyClick(Qt.Key_Backspace)
            verify(!check.enabled)

            keyClick(Qt.Key_Return)
            compare(AppModel.sessionPhase, "feedback", "Return still submits")
            verify(!AppModel.answerEvaluation.isCorrect)
            tryVerify(() => shown("verdictContinue"))
            compare(named("verdictTitle").text, "Let this one grow again")
            compare(named("verdictIcon").name, "arrow.counterclockwise.circle.fill")
        }

        function test_showAnswerThenReturnRatesAgain() {
            startSession()
            // Copies: the model's record changes with the next card.
            const itemId = AppModel.currentItem.id
            const term = AppModel.currentItem.term
            const reviewedBefore = AppModel.sessionReviewed
            mouseClick(named("showAnswerButton"))
            compare(AppModel.sessionPhase, "feedback")
            verify(!AppModel.answerEvaluation.isCorrect)
            tryVerify(() => shown("verdictContinue"))
            verify(!shown("rating-good"), "no rating buttons after a revealed answer")
            compare(named("answerTerm").text, term)

            keyClick(Qt.Key_Return)
            compare(AppModel.sessionReviewed, reviewedBefore + 1)
            compare(AppModel.sessionCorrect, 0)
            const card = AppModel.cardFor(itemId)
            verify(card !== undefined, "the rating reached the learner's progress")
            compare(card.correctReviews, 0)
            verify(card.lapseCount >= 0)
            compare(card.consecutiveCorrect, 0)
        }

        function test_keyboardOnlyCorrectAnswer() {
            startSession()
            const itemId = AppModel.currentItem.id
            const romanization = AppModel.currentItem.romanization
            verify(romanization !== "", "the fixture's cards have pinyin")
            const index = AppModel.currentIndex
            typeText(romanization)
            keyClick(Qt.Key_Return)
            compare(AppModel.sessionPhase, "feedback")
            verify(AppModel.answerEvaluation.isCorrect)
            compare(named("verdictTitle").text, "That’s it")
            verify(!shown("verdictContinue"))

            // Return does nothing here: the ratings have no shortcuts.
            keyClick(Qt.Key_Return)
            compare(AppModel.sessionPhase, "feedback")

            keyClick(Qt.Key_Tab)
            verify(named("rating-hard").activeFocus, "Tab reaches Hard first")
            keyClick(Qt.Key_Tab)
            verify(named("rating-good").activeFocus)
            keyClick(Qt.Key_Space)
            compare(AppModel.sessionCorrect, 1)
            compare(AppModel.cardFor(itemId).correctReviews, 1)
            if (AppModel.sessionPhase === "answering") {
                compare(AppModel.currentIndex, index + 1)
                tryVerify(() => field() !== null && field().activeFocus, 1000,
                          "the next card takes the keyboard at once")
                keyClick("a")
                compare(AppModel.answer, "a")
            }
        }

        function test_counterNeverExceedsTheTotal() {
            startSession()
            const total = AppModel.sessionItems.length
            verify(total >= 1)
            compare(named("counter").text, "1 / " + total)
            while (AppModel.currentIndex < total - 1) {
                revealAndContinue()
                compare(named("counter").text, (AppModel.currentIndex + 1) + " / " + total)
            }
            compare(named("counter").text, total + " / " + total)
            revealAndContinue()
            compare(AppModel.sessionPhase, "complete")
            compare(named("counter").text, total + " / " + total, "stays on the last card")
            compare(named("progressFill").fraction, 1, "the bar reaches its end on Session planted")
        }

        function test_sessionPlantedFigures() {
            startSession()
            typeText(AppModel.currentItem.romanization)
            keyClick(Qt.Key_Return)
            verify(AppModel.answerEvaluation.isCorrect)
            mouseClick(named("rating-easy"))
            finishSession()
            tryVerify(() => panel() === "closing")
            compare(named("closingTitle").text, "Session planted")
            const reviewed = AppModel.sessionReviewed
            compare(named("stat-reviewed").value, String(reviewed))
            compare(named("stat-correct").value, "1")
            const oneRightOf = ["", "100%", "50%", "33%", "25%", "20%", "17%", "14%", "12%"]
            compare(named("stat-accuracy").value, oneRightOf[reviewed])
            verify(shown("studyAnotherButton"))

            mouseClick(named("studyAnotherButton"))
            compare(AppModel.sessionReviewed, 0, "a new session starts")
            verify(AppModel.sessionPhase === "answering" || AppModel.sessionPhase === "complete")
        }

        function test_a_queueClearAndOpenDictionary() {
            AppModel.refreshPlan()
            AppModel.beginSession(true)  // review only, nothing is due yet
            compare(AppModel.sessionPhase, "complete")
            tryVerify(() => panel() === "closing")
            compare(named("closingTitle").text, "Your queue is clear")
            mouseClick(named("openDictionaryButton"))
            compare(AppModel.destination, "dictionary")
            compare(AppModel.sessionPhase, "idle")
        }

        function test_learnResumesASessionInFeedback() {
            startSession()
            mouseClick(named("showAnswerButton"))
            compare(AppModel.sessionPhase, "feedback")
            const index = AppModel.currentIndex
            const started = AppModel.sessionStartedAt

            mouseClick(named("nav-home"))
            compare(AppModel.destination, "home")
            mouseClick(named("nav-learn"))
            compare(AppModel.destination, "learn")
            compare(AppModel.sessionPhase, "feedback", "not restarted")
            compare(AppModel.currentIndex, index)
            compare(AppModel.sessionStartedAt, started)
            tryVerify(() => shown("verdictContinue"))
            const reviewed = AppModel.sessionReviewed
            keyClick(Qt.Key_Return)
            compare(AppModel.sessionReviewed, reviewed + 1, "Return still continues after coming back")
        }

        function test_learnWithoutSessionStartsOne() {
            compare(AppModel.sessionPhase, "idle")
            mouseClick(named("nav-learn"))
            compare(AppModel.destination, "learn")
            verify(AppModel.sessionPhase === "answering" || AppModel.sessionPhase === "complete")
        }

        function test_leaveButtonsGoHome() {
            startSession()
            mouseClick(named("leaveButton"))
            compare(AppModel.sessionPhase, "idle")
            compare(AppModel.destination, "home")
        }

        function test_zz_chipTurnsToReviewForDueCards() {
            startSession()
            compare(named("chip").text, AppModel.cardFor(AppModel.currentItem.id) === undefined
                                        ? "NEW WORD" : "REVIEW")
            finishSession()
            TestHarness.advanceDays(3)
            AppModel.refreshPlan()
            verify(AppModel.plan.availableDueCount >= 1)
            startSession()
            verify(AppModel.cardFor(AppModel.currentItem.id).totalReviews >= 1, "due cards come first")
            compare(named("chip").text, "REVIEW")
        }

        // Japanese: the reading goes beside the answer only when it differs from the term.
        function test_zz_readingLineAndPrompts() {
            AppModel.selectLanguage("japanese")
            let checked = 0
            let sawEqualReading = false
            for (let round = 0; round < 3 && !sawEqualReading; ++round) {
                startSession()
                while (AppModel.sessionPhase === "answering") {
                    const item = { term: AppModel.currentItem.term, reading: AppModel.currentItem.reading,
                                   exampleTarget: AppModel.currentItem.exampleTarget }
                    const lesson = AppModel.currentLesson
                    if (lesson !== undefined && lesson.isContextual)
                        compare(named("promptSentence").text, item.exampleTarget)
                    else
                        compare(named("promptSubtitle").text, "Write one accepted Japanese form.")
                    mouseClick(named("showAnswerButton"))
                    tryVerify(() => shown("verdictContinue"))
                    const expected = item.reading !== "" && item.reading !== item.term
                    compare(named("readingLabel").visible, expected, item.term)
                    sawEqualReading = sawEqualReading || (item.reading === item.term)
                    ++checked
                    keyClick(Qt.Key_Return)
                }
            }
            verify(checked >= 2)
            verify(sawEqualReading, "the fixture offers a kana word whose reading is its term")
        }
    }
}
