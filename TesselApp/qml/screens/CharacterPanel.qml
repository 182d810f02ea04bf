// SPDX-License-Identifier: GPL-3.0-or-later
// One character of a dictionary term: how it is written (Chinese: drawn stroke by stroke, with
// replay and stepping; Japanese: the numbered stroke-order diagram in Japanese order), its stroke
// count, readings, meanings, for kanji the school grade and test level, and the most frequent
// course words that use it. A character the lexicon knows nothing about says so.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle
import Brindle.Model

FocusScope {
    id: root

    // One Han character and its language ("chinese" or "japanese"); both must be set.
    property string character
    property string language

    readonly property var info: character !== "" ? AppModel.characterInfo(character, language)
                                                 : undefined
    readonly property bool hasInfo: info !== undefined
    readonly property var words: character !== "" ? AppModel.wordsWithCharacter(character, language)
                                                  : []
    readonly property string family: TesselTheme.fontFamilyFor(language)
    readonly property bool wide: width >= 470

    // The learner chose one of the words: open it in the dictionary.
    signal openWord(var entry)
    signal closeRequested

    implicitHeight: frame.implicitHeight
    Accessible.role: Accessible.Pane
    Accessible.name: "Character " + character
    Keys.onEscapePressed: closeRequested()

    function gradeText(grade) {
        if (grade >= 1 && grade <= 6)
            return "School grade " + grade;
        if (grade === 8)
            return "Secondary school";
        if (grade === 9 || grade === 10)
            return "Name kanji";
        return "";
    }
    function jlptText(level) {
        return level > 0 ? "Former JLPT level " + level : "";
    }
    function joined(list) {
        return list ? list.join("、") : "";
    }

    component Caption: Label {
        font.pixelSize: 10
        font.bold: true
        font.letterSpacing: 1.15
        color: TesselTheme.secondaryText
    }

    Rectangle {
        id: frame
        width: parent.width
        implicitHeight: content.implicitHeight + 32
        radius: 16
        color: TesselTheme.white
        border.width: 1
        border.color: TesselTheme.line

        ColumnLayout {
            id: content
            x: 16
            y: 16
            width: parent.width - 32
            spacing: 14

            RowLayout {
                Layout.fillWidth: true
                spacing: 10
                Label {
                    objectName: "characterHeading"
                    Layout.fillWidth: true
                    text: root.character
                    font.family: root.family
                    font.pixelSize: 30
                    font.bold: true
                    color: TesselTheme.forest
                    Accessible.name: "Character " + root.character
                }
                RoundIconButton {
                    objectName: "closeCharacter"
                    iconName: "xmark"
                    Accessible.name: "Close character " + root.character
                    onClicked: root.closeRequested()
                }
            }

            Label {
                objectName: "noCharacterData"
                Layout.fillWidth: true
                visible: !root.hasInfo
                text: "Brindle has no stroke order, readings or meanings for " + root.character + "."
                wrapMode: Text.Wrap
                font.pixelSize: 13
                color: TesselTheme.secondaryText
            }

            GridLayout {
                Layout.fillWidth: true
                visible: root.hasInfo
                columns: root.wide ? 2 : 1
                columnSpacing: 20
                rowSpacing: 14

                ColumnLayout {
                    Layout.alignment: Qt.AlignTop | Qt.AlignHCenter
                    spacing: 8
                    StrokeOrderView {
                        id: drawing
                        objectName: "strokeDrawing"
                        Layout.preferredWidth: 180
                        Layout.preferredHeight: 180
                        Layout.alignment: Qt.AlignHCenter
                        visible: hasDrawing
                        strokeData: root.hasInfo ? root.info.strokes : ""
                        inkColor: TesselTheme.forest
                        ghostColor: TesselTheme.mint
                        highlightColor: TesselTheme.primary
                        gridColor: TesselTheme.line
                        Accessible.role: Accessible.Graphic
                        Accessible.name: isDiagram
                                         ? "Stroke order diagram of " + root.character + " with numbered strokes"
                                         : "Stroke order of " + root.character + ", " + shownStrokes
                                           + " of " + strokeCount + " strokes drawn"
                    }
                    Label {
                        objectName: "noStrokeOrder"
                        Layout.preferredWidth: 180
                        visible: !drawing.hasDrawing
                        text: "No stroke order for this character."
                        wrapMode: Text.Wrap
                        horizontalAlignment: Text.AlignHCenter
                        font.pixelSize: 12
                        color: TesselTheme.secondaryText
                    }
                    RowLayout {
                        Layout.alignment: Qt.AlignHCenter
                        visible: drawing.hasDrawing && !drawing.isDiagram
                        spacing: 4
                        TesselButton {
                            objectName: "previousStroke"
                            flat: true
                            text: "‹"
                            font.pixelSize: 18
                            enabled: drawing.shownStrokes > 0 || drawing.isAnimating
                            Accessible.name: "Previous stroke"
                            onClicked: drawing.stepBack()
                        }
                        TesselButton {
                            objectName: "replayStrokes"
                            flat: true
                            iconName: "arrow.counterclockwise.circle.fill"
                            text: "Replay"
                            textColor: TesselTheme.primary
                            onClicked: drawing.replay()
                        }
                        TesselButton {
                            objectName: "nextStroke"
                            flat: true
                            text: "›"
                            font.pixelSize: 18
                            enabled: drawing.shownStrokes < drawing.strokeCount
                            Accessible.name: "Next stroke"
                            onClicked: drawing.stepForward()
                        }
                    }
                    Label {
                        objectName: "strokeProgress"
                        Layout.alignment: Qt.AlignHCenter
                        visible: drawing.hasDrawing && !drawing.isDiagram
                        text: "Stroke " + drawing.shownStrokes + " of " + drawing.strokeCount
                        font.pixelSize: 11
                        color: TesselTheme.secondaryText
                    }
                }

                ColumnLayout {
                    Layout.fillWidth: true
                    Layout.alignment: Qt.AlignTop
                    spacing: 10

                    Label {
                        objectName: "strokeCount"
                        Layout.fillWidth: true
                        visible: root.hasInfo && root.info.strokeCount > 0
                        text: root.hasInfo ? root.info.strokeCount + (root.info.strokeCount === 1 ? " stroke" : " strokes") : ""
                        font.pixelSize: 13
                        font.weight: Font.DemiBold
                        color: TesselTheme.forest
                    }
                    Caption {
                        visible: readingsLabel.text !== ""
                        text: root.language === "japanese" ? "ON READINGS" : "PINYIN"
                    }
                    Label {
                        id: readingsLabel
                        objectName: "characterReadings"
                        Layout.fillWidth: true
                        visible: text !== ""
                        text: root.hasInfo ? root.joined(root.info.readings) : ""
                        wrapMode: Text.Wrap
                        font.family: root.family
                        font.pixelSize: 15
                        font.weight: Font.DemiBold
                        color: TesselTheme.primary
                    }
                    Caption {
                        visible: kunLabel.text !== ""
                        text: "KUN READINGS"
                    }
                    Label {
                        id: kunLabel
                        objectName: "characterKunReadings"
                        Layout.fillWidth: true
                        visible: text !== ""
                        text: root.hasInfo ? root.joined(root.info.kunReadings) : ""
                        wrapMode: Text.Wrap
                        font.family: root.family
                        font.pixelSize: 15
                        font.weight: Font.DemiBold
                        color: TesselTheme.primary
                    }
                    Caption {
                        visible: meaningsLabel.text !== ""
                        text: "MEANINGS"
                    }
                    Label {
                        id: meaningsLabel
                        objectName: "characterMeanings"
                        Layout.fillWidth: true
                        visible: text !== ""
                        text: root.hasInfo ? root.info.meanings.join("; ") : ""
                        wrapMode: Text.Wrap
                        font.pixelSize: 13
                        color: TesselTheme.forest
                    }
                    Flow {
                        Layout.fillWidth: true
                        spacing: 6
                        visible: root.hasInfo && (root.info.grade > 0 || root.info.jlpt > 0)
                        BadgePill {
                            objectName: "kanjiGrade"
                            visible: text !== ""
                            text: root.hasInfo ? root.gradeText(root.info.grade) : ""
                        }
                        BadgePill {
                            objectName: "kanjiJlpt"
                            visible: text !== ""
                            text: root.hasInfo ? root.jlptText(root.info.jlpt) : ""
                        }
                    }
                }
            }

            ColumnLayout {
                Layout.fillWidth: true
                visible: root.words.length > 0
                spacing: 6
                Caption { text: "WORDS WITH THIS CHARACTER" }
                Flow {
                    Layout.fillWidth: true
                    spacing: 6
                    Repeater {
                        objectName: "characterWords"
                        model: root.words
                        delegate: TesselButton {
                            required property var modelData
                            objectName: "characterWord"
                            text: modelData.term
                            detail: modelData.reading
                            font.family: root.family
                            Accessible.name: "Open " + modelData.term + " in the dictionary"
                            onClicked: root.openWord(modelData)
                        }
                    }
                }
            }
        }
    }
}
