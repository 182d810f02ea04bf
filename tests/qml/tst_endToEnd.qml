// SPDX-License-Identifier: GPL-3.0-or-later
// A learner's first run of the application, start to finish: the model built as the application
// builds it (fixture lexicon in a temporary home), the real window, onboarding with the mouse,
// then a whole session of three cards by keyboard alone, one of them wrong.
import QtQuick
import QtTest
import Brindle.Model
import Brindle.Testing

TestCase {
    name: "EndToEnd"
    when: windowShown

    property var window: null

    function named(name) {
        return findChild(window.contentItem, name)
    }
    function click(name) {
        const item = named(name)
        verify(item !== null && item.visible, "no visible item " + name)
        mouseClick(item)
    }
    function typeText(text) {
        for (const ch of text)
            keyClick(ch)
    }
    function answerField() {
        return named("answerField")
    }

    function test_firstSessionByKeyboard() {
        window = Qt.createComponent("qrc:/Brindle/Main.qml").createObject(null)
        verify(window !== null)
        window.requestActivate()
        tryVerify(() => window.active, 3000)
        tryVerify(() => AppModel.isProgressReady, 5000)
        compare(AppModel.startupError, "", "the fixture lexicon was found in the data folder")
        verify(!AppModel.hasCompletedOnboarding, "a first start shows onboarding")

        // Onboarding: Mandarin, "Already exploring" (band 3), 10 cards a day.
        click("languageCard-chinese")
        click("continueButton")
        click("levelRow-3")
        click("continueButton")
        click("goalTile-10")
        click("continueButton")
        verify(AppModel.hasCompletedOnboarding)
        compare(AppModel.startingBand, 3)
        AppModel.newWordsPerSession = 3

        // The menu shortcut starts today's session.
        keySequence("Ctrl+L")
        tryCompare(AppModel, "sessionPhase", "answering")
        compare(AppModel.sessionItems.length, 3)
        const ids = []
        for (let i = 0; i < 3; ++i) {
            tryVerify(() => answerField() !== null && answerField().activeFocus, 2000,
                      "card " + (i + 1) + " takes the keyboard")
            const item = AppModel.currentItem
            verify(item.level >= 3, "band 3 starts above the first bands")
            ids.push(item.id)
            if (i === 1) {
                typeText("nope")
                keyClick(Qt.Key_Return)
                verify(!AppModel.answerEvaluation.isCorrect)
                keyClick(Qt.Key_Return)  // "Continue"
            } else {
                typeText(item.romanization)
                keyClick(Qt.Key_Return)
                verify(AppModel.answerEvaluation.isCorrect, item.romanization)
                keyClick(Qt.Key_Tab)
                keyClick(Qt.Key_Tab)  // "Good"
                keyClick(Qt.Key_Space)
            }
        }

        tryCompare(AppModel, "sessionPhase", "complete")
        tryVerify(() => named("closingTitle") !== null && named("closingTitle").text === "Session planted")
        compare(findChild(window.contentItem, "stat-reviewed").value, "3")
        compare(findChild(window.contentItem, "stat-correct").value, "2")
        compare(findChild(window.contentItem, "stat-accuracy").value, "67%")

        // Everything rated is on disk.
        tryVerify(() => TestHarness.pendingSaves() === 0, 5000)
        const saved = JSON.parse(TestHarness.readProgressFile())
        for (const id of ids) {
            verify(saved.cards[id] !== undefined, id + " is in the progress file")
            compare(saved.cards[id].totalReviews, 1)
        }
        compare(saved.cards[ids[1]].correctReviews, 0)
        compare(saved.cards[ids[0]].correctReviews, 1)
        compare(Object.keys(saved.cards).length, 3)
        window.destroy()
    }
}
