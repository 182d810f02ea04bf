// SPDX-License-Identifier: GPL-3.0-or-later
// Every screen and dialog as assistive technology sees it: each control a person can operate has
// a name, and Tab reaches it. Walks the real window from onboarding through a whole session.
import QtQuick
import QtTest
import Brindle
import Brindle.Model
import Brindle.Testing

TestCase {
    id: test
    name: "Accessibility"
    when: windowShown

    property var window: null

    function named(name) {
        return findChild(window.contentItem, name)
    }

    function describe(control) {
        return (control.objectName || control.type) + " (role " + control.role + ")"
    }

    // Fails on every operable control of the window without a name or out of Tab's reach.
    function checkScreen(screen) {
        wait(50)
        const controls = TestHarness.accessibleControls(window)
        verify(controls.length > 0, screen + ": no controls found")
        const unnamed = controls.filter(c => c.name.trim() === "").map(describe)
        compare(unnamed, [], screen + ": controls without an accessible name")
        // Menu items move with the arrow keys inside their open menu, not with Tab.
        const unreachable = controls.filter(c => c.enabled && !c.tabbable && c.role !== 12 /* menu item */
                                             && c.type.indexOf("MenuBarItem") < 0)
                                    .map(describe)
        compare(unreachable, [], screen + ": controls that Tab does not reach")
    }

    function initTestCase() {
        tryVerify(() => AppModel.isProgressReady, 5000)
        const component = Qt.createComponent("qrc:/Brindle/Main.qml")
        compare(component.status, Component.Ready, component.errorString())
        window = component.createObject(null)
        verify(window !== null)
        window.requestActivate()
        tryVerify(() => window.active, 3000)
    }
    function cleanupTestCase() {
        window.destroy()
    }

    function test_a_onboarding() {
        verify(!AppModel.hasCompletedOnboarding)
        for (const step of ["language", "level", "goal"]) {
            checkScreen("onboarding " + step)
            if (step !== "goal")
                mouseClick(named("continueButton"))
        }
        AppModel.completeOnboarding()
        tryVerify(() => AppModel.hasCompletedOnboarding)
    }

    function test_b_screens_data() {
        return ["home", "dictionary", "progress", "settings", "sources"].map(d => ({ tag: d }))
    }
    function test_b_screens(data) {
        AppModel.destination = data.tag
        tryVerify(() => window.rootView.currentScreen !== null)
        if (data.tag === "dictionary") {
            AppModel.searchQuery = "ni"
            tryVerify(() => AppModel.searchResults.length > 0, 3000)
        }
        checkScreen(data.tag)
    }

    function test_c_session() {
        AppModel.beginSession(false)
        tryCompare(AppModel, "sessionPhase", "answering")
        checkScreen("answering")
        AppModel.revealAnswer()
        checkScreen("feedback after a miss")
        AppModel.rateAndAdvance("again")
        AppModel.answer = AppModel.currentItem.term
        AppModel.submitAnswer()
        checkScreen("feedback after a right answer")
        while (AppModel.sessionPhase !== "complete") {
            AppModel.revealAnswer()
            AppModel.rateAndAdvance("again")
        }
        checkScreen("session planted")
        AppModel.leaveSession()
    }

    function test_d_dialogs() {
        window.showAbout()
        tryVerify(() => window.aboutDialog.opened)
        checkScreen("About Brindle")
        window.aboutDialog.close()
        tryVerify(() => !window.aboutDialog.visible)

        AppModel.destination = "settings"
        tryVerify(() => window.rootView.currentScreen !== null)
        window.rootView.currentScreen.askToReset()
        const reset = findChild(window.rootView.currentScreen, "resetDialog")
        tryVerify(() => reset.opened)
        checkScreen("reset confirmation")
        reset.close()
        tryVerify(() => !reset.visible)

        AppModel.startupError = "Import failed: not JSON"
        tryVerify(() => window.attentionDialog !== null && window.attentionDialog.opened)
        checkScreen("attention alert")
        window.attentionDialog.close()
        tryVerify(() => !window.attentionDialog.visible)
    }

    function test_e_menus() {
        for (const menu of [window.fileMenu, window.studyMenu, window.helpMenu]) {
            menu.open()
            tryVerify(() => menu.opened)
            checkScreen(menu.title + " menu")
            menu.close()
            tryVerify(() => !menu.visible)
        }
    }
}
