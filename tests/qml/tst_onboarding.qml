// SPDX-License-Identifier: GPL-3.0-or-later
// Onboarding on a first start: the three steps, their choices, and finishing into the main layout.
import QtQuick
import QtTest
import Brindle
import Brindle.Model

Item {
    id: scene
    width: 1050
    height: 700

    RootView {
        id: rootView
        anchors.fill: parent
    }

    TestCase {
        id: test
        name: "Onboarding"
        when: windowShown

        function onboarding() {
            return findChild(rootView, "onboarding").item
        }
        function visibleChild(name) {
            const item = findChild(rootView, name)
            return item && item.visible ? item : null
        }
        function stepLabel() {
            return findChild(rootView, "stepLabel").text
        }
        function clickNamed(name) {
            const item = findChild(rootView, name)
            verify(item, "no item " + name)
            mouseClick(item)
        }
        function goToStep(step) {
            onboarding().step = 0
            for (let i = 0; i < step; ++i)
                clickNamed("continueButton")
            compare(onboarding().step, step)
        }

        function initTestCase() {
            verify(!AppModel.hasCompletedOnboarding, "a first start shows onboarding")
            verify(onboarding() !== null)
            verify(!findChild(rootView, "mainLayout").visible)
        }

        function test_a_stepsAndButtons() {
            compare(stepLabel(), "1 of 3")
            verify(visibleChild("backButton") === null, "no Back on the first step")
            compare(findChild(rootView, "continueButton").text, "Continue")

            clickNamed("continueButton")
            compare(stepLabel(), "2 of 3")
            verify(visibleChild("backButton") !== null)
            compare(findChild(rootView, "continueButton").text, "Continue")

            clickNamed("continueButton")
            compare(stepLabel(), "3 of 3")
            compare(findChild(rootView, "continueButton").text, "Start growing")

            clickNamed("backButton")
            compare(stepLabel(), "2 of 3")
            clickNamed("backButton")
            compare(stepLabel(), "1 of 3")
            verify(!AppModel.hasCompletedOnboarding)
        }

        function test_b_languageCards_data() {
            return [
                { tag: "japanese", language: "japanese", other: "chinese" },
                { tag: "chinese", language: "chinese", other: "japanese" },
            ]
        }
        function test_b_languageCards(data) {
            goToStep(0)
            clickNamed("languageCard-" + data.language)
            compare(AppModel.onboardingLanguage, data.language)
            const chosen = findChild(rootView, "languageCard-" + data.language)
            const other = findChild(rootView, "languageCard-" + data.other)
            verify(chosen.selected && !other.selected)
            compare(findChild(chosen, "checkIcon").name, "checkmark.circle.fill")
            compare(findChild(other, "checkIcon").name, "circle")
            compare(chosen.background.border.width, 2)
            verify(!AppModel.hasCompletedOnboarding, "choosing does not finish onboarding")
        }

        function test_c_levelRows_data() {
            return [ { tag: "1", level: 1 }, { tag: "5", level: 5 }, { tag: "3", level: 3 } ]
        }
        function test_c_levelRows(data) {
            goToStep(1)
            clickNamed("levelRow-" + data.level)
            compare(AppModel.onboardingLevel, data.level)
            for (const level of [1, 3, 5])
                compare(findChild(rootView, "levelRow-" + level).selected, level === data.level)
        }

        function test_d_goalTileUpdatesTheModelAtOnce_data() {
            return [ { tag: "10", goal: 10 }, { tag: "30", goal: 30 }, { tag: "20", goal: 20 } ]
        }
        function test_d_goalTileUpdatesTheModelAtOnce(data) {
            goToStep(2)
            clickNamed("goalTile-" + data.goal)
            compare(AppModel.dailyGoal, data.goal)
            verify(!AppModel.hasCompletedOnboarding)
            for (const goal of [10, 20, 30])
                compare(findChild(rootView, "goalTile-" + goal).selected, goal === data.goal)
        }

        // Last: finishing swaps the window to the main layout for good.
        function test_z_startGrowingFromAlreadyExploring() {
            goToStep(0)
            clickNamed("languageCard-japanese")
            clickNamed("continueButton")
            clickNamed("levelRow-3")
            clickNamed("continueButton")
            clickNamed("goalTile-10")
            clickNamed("continueButton")  // "Start growing"

            verify(AppModel.hasCompletedOnboarding)
            compare(AppModel.startingBand, 3)
            compare(AppModel.selectedLanguage, "japanese")
            compare(AppModel.dailyGoal, 10)
            compare(AppModel.destination, "home")
            tryVerify(() => findChild(rootView, "onboarding").item === null)
            verify(findChild(rootView, "mainLayout").visible)
            verify(findChild(rootView, "nav-home") !== null)
        }
    }
}
