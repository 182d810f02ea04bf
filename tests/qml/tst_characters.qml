// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtTest
import Brindle
import Brindle.Model
import Brindle.Testing

// The dictionary's character tiles and panel over the real model and the fixture lexicon, whose
// characters table holds 好 (three strokes), 学 (a numbered diagram) and 生 (no drawing).
Item {
    id: top
    width: 1214
    height: 882

    Component { id: dictionaryComponent; DictionaryView {} }

    TestCase {
        name: "Characters"
        when: windowShown

        function cleanup() {
            AppModel.startupError = "";
        }

        // The dictionary in `language` showing the first result for `query`.
        function open(language, query) {
            AppModel.selectLanguage(language);
            AppModel.destination = "dictionary";
            AppModel.searchQuery = query;
            AppModel.runSearch();
            tryCompare(AppModel, "isSearching", false);
            const view = createTemporaryObject(dictionaryComponent, top,
                                               { width: top.width, height: top.height });
            verify(view);
            waitForRendering(view);
            return view;
        }
        function detail(view) {
            return findChild(view, "detail").item;
        }
        function tile(view, character) {
            return findChild(detail(view), "characterTile-" + character);
        }
        // The open character panel, or null.
        function panel(view) {
            const shown = findChild(detail(view), "characterPanel");
            return shown && shown.visible ? shown : null;
        }
        function openPanel(view, character) {
            mouseClick(tile(view, character));
            const opened = panel(view);
            verify(opened, "panel for " + character);
            compare(opened.character, character);
            return opened;
        }

        function test_aTileForEachCharacterOfTheTerm() {
            let view = open("chinese", "你好");
            compare(findChild(view, "detailTerm").text, "你好");
            verify(tile(view, "你"));
            verify(tile(view, "好"));
            compare(findChild(detail(view), "characterTiles").count, 2);
            compare(panel(view), null, "closed until a tile is chosen");
            view.destroy();
            view = open("japanese", "食べる");
            compare(findChild(detail(view), "characterTiles").count, 1, "kana have no tile");
            view.destroy();
            view = open("japanese", "カフェ");
            compare(findChild(detail(view), "characterTiles").count, 0);
        }

        function test_chineseStrokesAnimateAndStep() {
            const view = open("chinese", "你好");
            const characterPanel = openPanel(view, "好");
            const drawing = findChild(characterPanel, "strokeDrawing");
            verify(drawing.hasDrawing);
            compare(drawing.isDiagram, false);
            compare(drawing.strokeCount, 3);
            verify(drawing.isAnimating);
            compare(findChild(characterPanel, "characterReadings").text, "hǎo、hào");
            compare(findChild(characterPanel, "strokeCount").text, "3 strokes");

            mouseClick(findChild(characterPanel, "nextStroke"));
            compare(drawing.isAnimating, false, "stepping stops the animation");
            compare(drawing.shownStrokes, 1);
            mouseClick(findChild(characterPanel, "nextStroke"));
            mouseClick(findChild(characterPanel, "nextStroke"));
            compare(drawing.shownStrokes, 3);
            compare(findChild(characterPanel, "nextStroke").enabled, false);
            compare(findChild(characterPanel, "strokeProgress").text, "Stroke 3 of 3");
            mouseClick(findChild(characterPanel, "previousStroke"));
            compare(drawing.shownStrokes, 2);

            mouseClick(findChild(characterPanel, "replayStrokes"));
            verify(drawing.isAnimating);
            compare(drawing.shownStrokes, 0);
            // The animation ends by itself with every stroke drawn, and its timer stops.
            tryCompare(drawing, "isAnimating", false, 8000);
            compare(drawing.shownStrokes, 3);
        }

        function test_aCharacterWithoutDataSaysSo() {
            const view = open("chinese", "你好");
            const characterPanel = openPanel(view, "你");
            verify(findChild(characterPanel, "noCharacterData").visible);
            compare(findChild(characterPanel, "strokeDrawing").visible, false);
            compare(findChild(characterPanel, "characterWords").count, 1, "its course words still show");
        }

        function test_japaneseDiagramAndKanjiFacts() {
            const view = open("japanese", "学生");
            let characterPanel = openPanel(view, "学");
            const drawing = findChild(characterPanel, "strokeDrawing");
            verify(drawing.visible);
            verify(drawing.isDiagram);
            compare(drawing.isAnimating, false);
            compare(findChild(characterPanel, "replayStrokes").visible, false);
            compare(findChild(characterPanel, "kanjiGrade").text, "School grade 1");
            compare(findChild(characterPanel, "kanjiJlpt").text, "Former JLPT level 4");
            compare(findChild(characterPanel, "characterKunReadings").text, "まな.ぶ");

            characterPanel = openPanel(view, "生");
            verify(findChild(characterPanel, "noStrokeOrder").visible);
            compare(findChild(characterPanel, "noCharacterData").visible, false);
            compare(findChild(characterPanel, "characterReadings").text, "セイ、ショウ");
        }

        function test_keyboardOpensAndClosesThePanel() {
            const view = open("chinese", "你好");
            tile(view, "好").forceActiveFocus();
            keyClick(Qt.Key_Return);
            verify(panel(view));
            const close = findChild(panel(view), "closeCharacter");
            compare(close.Accessible.name, "Close character 好");
            close.forceActiveFocus();
            keyClick(Qt.Key_Space);
            compare(panel(view), null);
            verify(tile(view, "好").activeFocus, "the keyboard returns to the tile");
            keyClick(Qt.Key_Space);
            verify(panel(view));
            findChild(panel(view), "replayStrokes").forceActiveFocus();
            keyClick(Qt.Key_Escape);
            compare(panel(view), null, "Escape closes the panel");
        }

        function test_aWordOfThePanelOpensInTheDictionary() {
            const view = open("chinese", "你好");
            const characterPanel = openPanel(view, "好");
            const words = findChild(characterPanel, "characterWords");
            compare(words.count, 3);
            compare(words.itemAt(2).text, "好吃");
            words.itemAt(2).clicked();
            compare(AppModel.searchQuery, "好吃");
            tryCompare(AppModel, "isSearching", false);
            tryCompare(findChild(view, "detailTerm"), "text", "好吃");
            compare(view.selection, "zh-haochi");
        }
    }
}
