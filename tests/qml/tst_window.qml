// SPDX-License-Identifier: GPL-3.0-or-later
// The application window: the Study menu and its shortcuts, the attention alert, the sidebar's
// language switch, navigation and Today badge.
import QtQuick
import QtTest
import Brindle
import Brindle.Model
import Brindle.Testing

TestCase {
    id: test
    name: "Window"
    when: windowShown

    property var window: null

    function named(name) {
        return findChild(window.contentItem, name)
    }
    function click(name) {
        const item = named(name)
        verify(item !== null, "no item " + name)
        mouseClick(item)
    }

    function initTestCase() {
        tryVerify(() => AppModel.isProgressReady, 5000)
        AppModel.onboardingLevel = 1
        AppModel.completeOnboarding()
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
    function cleanup() {
        if (window.attentionDialog)
            window.attentionDialog.close()
        AppModel.leaveSession()
        AppModel.startupError = ""
    }

    function test_windowBasics() {
        compare(window.title, "Brindle")
        compare(window.minimumWidth, 1050)
        verify(window.minimumHeight >= 700)
        verify(window.rootView.height >= 700 || window.height < window.minimumHeight)
        compare(window.studyMenu.title, "Study")
        compare(window.startSessionAction.text, "Start Today’s Session")
        compare(window.playSentenceAction.text, "Play Current Sentence")
    }

    function test_playCurrentSentenceNeedsACard() {
        verify(!window.playSentenceAction.enabled, "no card outside a session")
        keySequence("Ctrl+L")
        compare(AppModel.destination, "learn")
        compare(AppModel.sessionPhase, "answering")
        verify(window.playSentenceAction.enabled)

        TestHarness.clearSpoken()
        const sentence = AppModel.currentItem.exampleTarget.split("___").join(AppModel.currentItem.term)
        const language = AppModel.currentItem.language
        keySequence("Ctrl+Shift+P")
        compare(TestHarness.spoken.length, 1)
        compare(TestHarness.spoken[0], language + ":" + sentence)
        verify(TestHarness.spoken[0].indexOf("___") < 0)

        AppModel.leaveSession()
        verify(!window.playSentenceAction.enabled)
        TestHarness.clearSpoken()
        keySequence("Ctrl+Shift+P")
        compare(TestHarness.spoken.length, 0)
    }

    // Undo Rating works only on the session's own ratings. Ctrl+Z in the answer field undoes its
    // typing while there is typing to undo, and the rating otherwise.
    function test_undoRating() {
        const undo = window.undoRatingAction
        compare(undo.shortcut, "Ctrl+Z")
        verify(!undo.enabled, "no session")
        keySequence("Ctrl+L")
        tryCompare(AppModel, "sessionPhase", "answering")
        verify(!undo.enabled, "nothing rated yet")
        const first = AppModel.currentItem.id
        AppModel.revealAnswer()
        AppModel.rateAndAdvance("good")
        compare(AppModel.currentIndex, 1)
        verify(undo.enabled)

        const field = named("answerField")
        tryVerify(() => field !== null && field.activeFocus)
        keyClick(Qt.Key_X)
        compare(AppModel.answer, "x")
        keySequence("Ctrl+Z")
        compare(AppModel.answer, "", "the field's own typing goes first")
        compare(AppModel.currentIndex, 1)
        keySequence("Ctrl+Z")
        compare(AppModel.currentItem.id, first)
        compare(AppModel.sessionPhase, "feedback")
        verify(!undo.enabled)

        AppModel.rateAndAdvance("good")
        verify(undo.enabled)
        AppModel.leaveSession()
        verify(!undo.enabled, "leaving the session forgets its ratings")
    }

    function test_fileAndHelpMenus() {
        const texts = container => {
            const found = []
            for (let i = 0; i < container.count; ++i) {
                if (container.itemAt(i).text)
                    found.push(container.itemAt(i).text)
            }
            return found
        }
        compare(texts(window.menuBar), ["File", "Edit", "Study", "Help"])
        compare(texts(window.fileMenu), ["Export Progress…", "Import Progress…", "Quit"])
        compare(window.quitAction.shortcut, "Ctrl+Q")

        let quits = 0
        const quit = window.quitApplication
        window.quitApplication = () => ++quits
        keySequence("Ctrl+Q")
        window.quitApplication = quit
        compare(quits, 1)

        window.exportAction.trigger()
        const save = window.progressTransfer.exportDialog
        tryVerify(() => save.visible)
        const suggested = decodeURIComponent(String(save.currentFile))
        save.reject()
        // The chooser is a window of its own; give the keyboard back to the main window.
        window.requestActivate()
        tryVerify(() => window.active, 3000)
        verify(suggested.endsWith("/Brindle Progress.json"), suggested)
        tryVerify(() => !save.visible)
    }

    function test_aboutBrindle() {
        window.aboutAction.trigger()
        const about = window.aboutDialog
        tryVerify(() => about.opened)
        compare(findChild(about.contentItem, "aboutTitle").text, "Brindle " + Qt.application.version)
        verify(Qt.application.version !== "")
        const licences = findChild(about.contentItem, "aboutLicences").text
        verify(licences.indexOf("GNU General Public License 3.0 or later") >= 0, licences)
        verify(licences.indexOf("CC BY-SA 4.0") >= 0, licences)
        compare(findChild(about.contentItem, "aboutSources").count, AppModel.sources.length)
        keyClick(Qt.Key_Return)
        tryVerify(() => !about.visible, 1000, "Return presses the focused Close")
    }

    // A menu opened before the window made its items makes them then, once, in order.
    function test_menuMakesItsItemsWhenFirstOpened() {
        const menu = createTemporaryQmlObject(
            "import QtQuick; import QtQuick.Controls.Basic; import Brindle; Item {"
            + " property alias menu: m; Action { id: a; text: \"A\" } Action { id: b; text: \"B\" }"
            + " WindowMenu { id: m; entries: [a, null, b] } }", window.contentItem).menu
        compare(menu.count, 0)
        for (let round = 0; round < 2; ++round) {
            menu.open()
            tryVerify(() => menu.opened)
            compare(menu.count, 3, "round " + round)
            menu.close()
            tryVerify(() => !menu.visible)
        }
        compare(menu.itemAt(0).text, "A")
        compare(menu.itemAt(2).text, "B")
    }

    // Escape closes the Study menu; the next click on its title opens it again.
    function test_studyMenuOpensAfterEscape() {
        const title = named("menu-Study") || findChild(window.menuBar, "menu-Study")
        verify(title !== null)
        // Desktop themes turn hover on; the offscreen platform does not.
        title.hoverEnabled = true
        for (let round = 0; round < 2; ++round) {
            // The pointer rests on the title, as a person's does after clicking it.
            mouseMove(title)
            mouseClick(title)
            tryVerify(() => window.studyMenu.opened, 1000, "round " + round)
            keyClick(Qt.Key_Escape)
            tryVerify(() => !window.studyMenu.visible, 1000, "round " + round)
        }
    }

    function test_menusOpenFromTheKeyboard_data() {
        return [
            { tag: "File", keys: "Alt+F", menu: "fileMenu" },
            { tag: "Edit", keys: "Alt+E", menu: "editMenu" },
            { tag: "Study", keys: "Alt+S", menu: "studyMenu" },
            { tag: "Help", keys: "Alt+H", menu: "helpMenu" },
        ]
    }
    function test_menusOpenFromTheKeyboard(data) {
        const menu = window[data.menu]
        keySequence(data.keys)
        tryVerify(() => menu.opened, 1000)
        keyClick(Qt.Key_Escape)
        tryVerify(() => !menu.visible, 1000)
    }

    function test_attentionAlert_data() {
        return [
            { tag: "OK button", dismiss: "ok" },
            { tag: "Escape", dismiss: "escape" },
        ]
    }
    function test_attentionAlert(data) {
        verify(!window.attentionDialog || !window.attentionDialog.visible)
        AppModel.startupError = "Your saved progress could not be loaded: disk on fire"
        tryVerify(() => window.attentionDialog !== null && window.attentionDialog.opened)
        const dialog = window.attentionDialog
        verify(dialog.width > 300, "the alert is laid out against the window")
        compare(findChild(dialog.contentItem, "attentionTitle").text, "Brindle needs attention")
        compare(findChild(dialog.contentItem, "attentionMessage").text,
                "Your saved progress could not be loaded: disk on fire")
        if (data.dismiss === "ok")
            mouseClick(findChild(dialog.contentItem, "attentionOK"))
        else
            keyClick(Qt.Key_Escape)
        tryVerify(() => !dialog.visible)
        compare(AppModel.startupError, "", "dismissing clears the message")
        wait(50)
        verify(!dialog.visible, "and it does not come back by itself")
    }

    function test_languageSwitch_data() {
        return [
            { tag: "to Japanese", language: "japanese", other: "chinese" },
            { tag: "back to Chinese", language: "chinese", other: "japanese" },
        ]
    }
    function test_languageSwitch(data) {
        click("language-" + data.language)
        compare(AppModel.selectedLanguage, data.language)
        verify(named("language-" + data.language).selected)
        verify(!named("language-" + data.other).selected)
    }

    function test_navigation_data() {
        return [
            { tag: "dictionary", key: "dictionary" },
            { tag: "progress", key: "progress" },
            { tag: "settings", key: "settings" },
            { tag: "sources", key: "sources" },
            { tag: "home", key: "home" },
        ]
    }
    function test_navigation(data) {
        click("nav-" + data.key)
        compare(AppModel.destination, data.key)
        verify(named("nav-" + data.key).selected)
        verify(window.rootView.currentScreen !== null)
        if (data.key === "settings") {
            verify(window.progressTransfer !== null)
            verify(window.rootView.currentScreen.transfer === window.progressTransfer,
                   "the page and the File menu share one backup and restore")
        }
    }

    // Last: it moves the clock.
    function test_z_todayBadge() {
        AppModel.destination = "home"
        AppModel.refreshPlan()
        compare(AppModel.plan.availableDueCount, 0)
        verify(!named("todayBadge").visible, "hidden with nothing due")

        keySequence("Ctrl+L")
        while (AppModel.sessionPhase === "answering") {
            AppModel.revealAnswer()
            AppModel.rateAndAdvance("again")
        }
        AppModel.leaveSession()
        TestHarness.advanceDays(2)
        AppModel.refreshPlan()
        const due = AppModel.plan.availableDueCount
        verify(due >= 1)
        tryVerify(() => named("todayBadge").visible)
        compare(named("todayBadgeText").text, String(due))
    }
}
