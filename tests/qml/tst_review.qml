// SPDX-License-Identifier: GPL-3.0-or-later
// Looking back on study, on the real model and the fixture lexicon: the session's missed words on
// the closing panel, and the words that keep slipping (the fixture's 你好 and 谢谢 lapsed 240 and
// 54 times, 好 only 3; no Japanese card lapsed) on the progress page, the study card and the
// dictionary.
import QtQuick
import QtTest
import Brindle
import Brindle.Model
import Brindle.Testing

Item {
    id: scene
    width: 1214
    height: 882

    RootView {
        id: rootView
        anchors.fill: parent
    }

    TestCase {
        name: "Review"
        when: windowShown

        function named(name) {
            return findChild(rootView, name)
        }
        function shown(name) {
            const item = named(name)
            return item !== null && item.visible
        }
        function texts(parent, name) {
            const item = findChild(parent, name)
            return item ? item.text : ""
        }
        function allNamed(item, name, found) {
            found = found || []
            if (!item)
                return found
            if (item.objectName === name)
                found.push(item)
            const children = item.children || []
            for (let i = 0; i < children.length; ++i)
                allNamed(children[i], name, found)
            return found
        }
        function restoreFixture() {
            TestHarness.setClock(new Date(2024, 2, 30, 12, 0, 0))
            compare(AppModel.restoreProgress(TestHarness.progressFixturePath), "")
        }

        function initTestCase() {
            tryVerify(() => AppModel.isProgressReady, 5000)
            AppModel.onboardingLanguage = "chinese"
            AppModel.onboardingLevel = 1
            AppModel.completeOnboarding()
        }
        function init() {
            AppModel.leaveSession()
            AppModel.selectLanguage("chinese")
            AppModel.resetProgress()
            TestHarness.setClock(new Date(NaN))
        }

        function test_closingPanelListsTheMissedWords() {
            AppModel.beginSession(false)
            tryCompare(AppModel, "sessionPhase", "answering")
            const current = AppModel.currentItem
            const missed = { id: current.id, term: current.term, reading: current.reading,
                             meaning: current.meanings[0] }
            AppModel.answer = "nope"
            AppModel.submitAnswer()
            AppModel.rateAndAdvance("good")
            const second = AppModel.sessionItems[1]
            AppModel.answer = second.acceptedAnswers[0]
            AppModel.submitAnswer()
            AppModel.rateAndAdvance("good")
            compare(AppModel.sessionPhase, "complete")
            tryVerify(() => shown("sessionReview"))

            const rows = named("missList")
            compare(rows.count, 1)
            const row = named("miss-" + missed.id)
            verify(row !== null)
            compare(texts(row, "term"), missed.term)
            compare(texts(row, "reading"), missed.reading)
            compare(texts(row, "meaning"), missed.meaning)
            compare(texts(row, "note"), "You typed: nope")
            row.forceActiveFocus()
            keyClick(Qt.Key_Return)
            compare(AppModel.destination, "dictionary")
            compare(AppModel.searchQuery, missed.term)
        }

        function test_closingPanelWithoutMissesIsAsBefore() {
            AppModel.beginSession(false)
            tryCompare(AppModel, "sessionPhase", "answering")
            while (AppModel.sessionPhase === "answering") {
                AppModel.answer = AppModel.currentItem.acceptedAnswers[0]
                AppModel.submitAnswer()
                AppModel.rateAndAdvance("good")
            }
            tryVerify(() => shown("closingPanel"))
            verify(!shown("sessionReview"))
        }

        function test_leechCardListsTheWorstFirstAndOpensTheDictionary() {
            restoreFixture()
            AppModel.destination = "progress"
            tryVerify(() => shown("leechCard"))
            const card = named("leechCard")
            const nihao = findChild(card, "leech-zh-nihao")
            const xiexie = findChild(card, "leech-zh-xiexie")
            verify(nihao && xiexie)
            verify(findChild(card, "leech-zh-hao") === null, "three lapses are no leech")
            verify(nihao.y < xiexie.y, "most lapses first")
            compare(texts(nihao, "note"), "Missed 240 times")
            mouseClick(xiexie)
            compare(AppModel.destination, "dictionary")
            compare(AppModel.searchQuery, "谢谢")

            AppModel.selectLanguage("japanese")
            AppModel.destination = "progress"
            tryVerify(() => named("leechCard") !== null)
            verify(!shown("leechCard"), "a language without leeches shows nothing extra")
        }

        function test_leechChipsOnTheStudyCardAndInTheDictionary() {
            restoreFixture()
            AppModel.beginSession(true)
            tryCompare(AppModel, "sessionPhase", "answering")
            let sawLeech = false
            while (AppModel.sessionPhase === "answering") {
                const card = AppModel.cardFor(AppModel.currentItem.id)
                tryVerify(() => named("leechChip") !== null)
                compare(shown("leechChip"), card !== undefined && card.lapseCount >= 8,
                        AppModel.currentItem.id)
                sawLeech = sawLeech || shown("leechChip")
                AppModel.revealAnswer()
                AppModel.rateAndAdvance("good")
            }
            verify(sawLeech, "the fixture's due cards include a leech")

            AppModel.leaveSession()
            AppModel.openInDictionary("你好")
            tryCompare(AppModel, "isSearching", false)
            tryVerify(() => named("detailTerm") !== null && named("detailTerm").text === "你好")
            const chipTexts = () => allNamed(named("detail"), "coverageChip").map(chip => chip.text)
            verify(chipTexts().indexOf("Leech") >= 0, chipTexts().join())
            AppModel.openInDictionary("好")
            tryCompare(AppModel, "isSearching", false)
            tryVerify(() => named("detailTerm").text === "好")
            verify(chipTexts().length > 0 && chipTexts().indexOf("Leech") < 0, chipTexts().join())
        }
    }
}
