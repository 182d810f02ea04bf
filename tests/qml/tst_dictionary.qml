// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtTest
import Brindle
import Brindle.Model
import Brindle.Testing

// The dictionary over the real model and the fixture lexicon.
Item {
    id: top
    width: 1214
    height: 882

    Component { id: dictionaryComponent; DictionaryView {} }
    Component { id: tagsComponent; FlowTags {} }
    Component { id: detailComponent; DictionaryDetail { width: 600; height: 600 } }
    Component { id: rowComponent; DictionaryRow { width: 440 } }

    TestCase {
        name: "Dictionary"
        when: windowShown

        function init() {
            AppModel.selectLanguage("chinese");
            AppModel.destination = "dictionary";
            AppModel.searchQuery = "";
            TestHarness.clearSpoken();
        }
        function cleanup() {
            AppModel.startupError = "";
        }

        function open() {
            const view = createTemporaryObject(dictionaryComponent, top,
                                               { width: top.width, height: top.height });
            verify(view);
            waitForRendering(view);
            return view;
        }
        // Types `text` into the focused search field and waits for the model's answer.
        function type(view, text) {
            const field = findChild(view, "searchField");
            field.forceActiveFocus();
            for (const character of text)
                keyClick(character);
            compare(AppModel.searchQuery, field.text);
            tryCompare(AppModel, "isSearching", false);
        }
        function search(view, text) {
            const field = findChild(view, "searchField");
            field.selectAll();
            keyClick(Qt.Key_Backspace);
            type(view, text);
        }
        function detailTerm(view) {
            const term = findChild(view, "detailTerm");
            return term && term.visible ? term.text : "";
        }
        // The coverage chips' texts in the order shown.
        function chips(view) {
            const row = findChild(findChild(view, "detail").item, "coverageChip").parent;
            const texts = [];
            for (let i = 0; i < row.children.length; ++i) {
                if (row.children[i].objectName === "coverageChip")
                    texts.push(row.children[i].text);
            }
            return texts;
        }

        function test_searchFieldHasFocusOnOpen() {
            const view = open();
            verify(findChild(view, "searchField").activeFocus);
        }

        function test_typingSearchesAndSelectsTheFirstResult() {
            const view = open();
            type(view, "hao");
            verify(AppModel.searchResults.length > 1);
            compare(view.selection, undefined);
            compare(detailTerm(view), AppModel.searchResults[0].term);
            compare(findChild(view, "noMatch").visible, false);
        }

        function test_arrowKeysMoveThroughResults() {
            const view = open();
            type(view, "hao");
            const results = AppModel.searchResults;
            keyClick(Qt.Key_Down);
            compare(detailTerm(view), results[1].term);
            keyClick(Qt.Key_Down);
            compare(detailTerm(view), results[2].term);
            keyClick(Qt.Key_Up);
            keyClick(Qt.Key_Up);
            keyClick(Qt.Key_Up);
            compare(detailTerm(view), results[0].term);
            verify(findChild(view, "searchField").activeFocus);
        }

        function test_switchingLanguageClearsTheSelection() {
            const view = open();
            type(view, "hao");
            keyClick(Qt.Key_Down);
            verify(view.selection !== undefined);
            AppModel.selectLanguage("japanese");
            compare(view.selection, undefined);
            search(view, "taberu");
            compare(AppModel.searchResults[0].term, "食べる");
            compare(detailTerm(view), "食べる");
        }

        function test_rankChipUpToForty_thousand_data() {
            return [
                { tag: "rank 40000", query: "xiongmao", term: "熊猫", rank: /^Rank 40\D000$/ },
                { tag: "rank 40001", query: "qie", term: "企鹅", rank: null },
                { tag: "rank 1", query: "nihao", term: "你好", rank: /^Rank 1$/ }
            ];
        }
        function test_rankChipUpToForty_thousand(data) {
            const view = open();
            type(view, data.query);
            compare(detailTerm(view), data.term);
            const shown = chips(view);
            compare(shown[0], "Band " + AppModel.searchResults[0].level);
            compare(shown[1], "Study path");
            if (data.rank === null) {
                compare(shown.length, 2);
            } else {
                compare(shown.length, 3);
                verify(data.rank.test(shown[2]), shown[2]);
            }
        }

        function test_entryWithoutMeanings() {
            const view = open();
            type(view, "ne");
            let index = -1;
            for (let i = 0; i < AppModel.searchResults.length; ++i) {
                if (AppModel.searchResults[i].term === "呢")
                    index = i;
            }
            verify(index >= 0);
            const list = findChild(view, "results");
            list.positionViewAtIndex(index, ListView.Contain);
            const row = list.itemAtIndex(index);
            compare(findChild(row, "gloss").text, "No English gloss");
            mouseClick(row);
            compare(detailTerm(view), "呢");
            compare(findChild(findChild(view, "detail").item, "meanings").count, 0);
        }

        function test_clearButtonEmptiesTheQueryAndSearchesAgain() {
            const view = open();
            type(view, "zhongguo");
            compare(AppModel.searchResults.length, 1);
            const clear = findChild(view, "clearSearch");
            verify(clear.visible);
            mouseClick(clear);
            compare(AppModel.searchQuery, "");
            compare(findChild(view, "searchField").text, "");
            verify(AppModel.isSearching);
            tryCompare(AppModel, "isSearching", false);
            // The empty query browses the language's entries again.
            verify(AppModel.searchResults.length > 1);
            verify(!clear.visible);
        }

        function test_noMatchShowsBothEmptyStates() {
            const view = open();
            type(view, "qqqqqq");
            compare(AppModel.searchResults.length, 0);
            verify(findChild(view, "noMatch").visible);
            verify(findChild(view, "chooseWord").visible);
            compare(findChild(view, "detail").item, null);
        }

        function test_speakerAndLicensesButtons() {
            const view = open();
            type(view, "nihao");
            const detail = findChild(view, "detail").item;
            const speaker = findChild(detail, "pronounce");
            compare(speaker.Accessible.name, "Pronounce 你好");
            mouseClick(speaker);
            compare(TestHarness.spoken, ["chinese:你好"]);
            compare(findChild(detail, "sourceLine").text, "Source: CC-CEDICT");
            mouseClick(findChild(detail, "viewLicenses"));
            compare(AppModel.destination, "sources");
        }

        function test_grammarShowsAtMostFourTags_data() {
            return [
                { tag: "none", values: [], shown: 0 },
                { tag: "two", values: ["noun", "verb"], shown: 2 },
                { tag: "six", values: ["a", "b", "c", "d", "e", "f"], shown: 4 }
            ];
        }
        function test_grammarShowsAtMostFourTags(data) {
            const tags = createTemporaryObject(tagsComponent, top, { values: data.values });
            compare(tags.shownValues, data.values.slice(0, 4));
            let drawn = 0;
            for (let i = 0; i < tags.children.length; ++i)
                drawn += tags.children[i].objectName === "tag" ? 1 : 0;
            compare(drawn, data.shown);
        }

        function japaneseEntry(term, alternate, reading) {
            return { id: "ja-x", language: "japanese", term: term, alternate: alternate,
                     reading: reading, romanization: "", meanings: ["this"], frequencyRank: 1,
                     level: 1, isInCurriculum: true, source: "JMdict/EDICT", partsOfSpeech: [] };
        }

        function test_alternateShownOnlyWhenItAddsAForm_data() {
            return [
                { tag: "kana twice", alternate: "これ", shown: false },
                { tag: "another spelling", alternate: "コレ", shown: true },
                { tag: "none", alternate: "", shown: false }
            ];
        }
        function test_alternateShownOnlyWhenItAddsAForm(data) {
            const detail = createTemporaryObject(detailComponent, top,
                                                 { entry: japaneseEntry("此れ", data.alternate, "これ") });
            compare(findChild(detail, "detailAlternate").visible, data.shown);
        }

        function test_longTermsShrinkAndWrapButAreNeverCut() {
            const shortRow = createTemporaryObject(rowComponent, top,
                                                   { entry: japaneseEntry("本", "", "ほん") });
            const longTerm = "食べ放題のレストランに行く";
            const longRow = createTemporaryObject(rowComponent, top,
                                                  { entry: japaneseEntry(longTerm, "", "") });
            const shortLabel = findChild(shortRow, "term");
            const longLabel = findChild(longRow, "term");
            verify(longLabel.font.pixelSize < shortLabel.font.pixelSize);
            compare(longLabel.text, longTerm);
            verify(!longLabel.truncated);
            verify(longLabel.lineCount > 1);
        }

        function test_japaneseEntryWithSixPartsOfSpeech() {
            AppModel.selectLanguage("japanese");
            const view = open();
            type(view, "ichi");
            compare(detailTerm(view), "一");
            compare(findChild(findChild(view, "detail").item, "grammar").shownValues,
                    ["numeric", "noun", "prefix", "suffix"]);
        }
    }
}
