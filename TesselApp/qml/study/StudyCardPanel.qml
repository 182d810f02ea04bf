// SPDX-License-Identifier: GPL-3.0-or-later
// One card of the session: chip and band, the prompt, then the answer field or the verdict, and
// the keyboard hint row below the card.
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle
import Brindle.Model
import "StudyText.js" as StudyText

Flickable {
    id: root

    // The panel is shown only with a current card; the empty record covers the moment of
    // switching panels, when bindings may still see the card gone.
    readonly property var item: AppModel.currentItem !== undefined ? AppModel.currentItem
                                : ({ id: "", language: "", term: "", reading: "", meanings: [],
                                     exampleTarget: "", exampleEnglish: "", level: 0 })
    // The learner's record for this card; statisticsRevision makes it follow every rating.
    readonly property var card: {
        AppModel.statisticsRevision
        return AppModel.cardFor(item.id)
    }
    readonly property var lesson: AppModel.currentLesson
    readonly property bool contextual: lesson !== undefined && lesson.isContextual
    readonly property bool answering: AppModel.sessionPhase === "answering"
    readonly property bool correct: AppModel.answerEvaluation !== undefined
                                    && AppModel.answerEvaluation.isCorrect

    clip: true
    contentWidth: width
    contentHeight: column.implicitHeight + 56
    boundsBehavior: Flickable.StopAtBounds
    ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

    ColumnLayout {
        id: column
        x: Math.max(28, (root.width - width) / 2)
        y: 28
        width: Math.min(760, root.width - 56)
        spacing: 18

        TesselCard {
            Layout.fillWidth: true
            padding: 30

            ColumnLayout {
                spacing: 24

                RowLayout {
                    spacing: 10
                    Label {
                        objectName: "chip"
                        text: StudyText.chip(root.card)
                        font.pixelSize: 10
                        font.bold: true
                        font.letterSpacing: 1.25
                        color: TesselTheme.primary
                        leftPadding: 10
                        rightPadding: 10
                        topPadding: 4
                        bottomPadding: 4
                        background: Rectangle {
                            radius: height / 2
                            color: TesselTheme.paleMint
                        }
                    }
                    Label {
                        objectName: "leechChip"
                        visible: root.card !== undefined && root.card.isLeech
                        text: "Leech"
                        font.capitalization: Font.AllUppercase
                        font.pixelSize: 10
                        font.bold: true
                        font.letterSpacing: 1.25
                        color: TesselTheme.forest
                        leftPadding: 10
                        rightPadding: 10
                        topPadding: 4
                        bottomPadding: 4
                        Accessible.name: "Leech: this word keeps slipping"
                        background: Rectangle {
                            radius: height / 2
                            color: TesselTheme.mint
                        }
                    }
                    Label {
                        objectName: "band"
                        text: "Usefulness band " + root.item.level
                        font.pixelSize: 12
                        color: TesselTheme.secondaryText
                    }
                }

                // Prompt: the gapped sentence for a contextual exercise, else the meaning.
                ColumnLayout {
                    Layout.fillWidth: true
                    visible: root.contextual
                    spacing: 10
                    TextEdit {
                        objectName: "promptSentence"
                        Layout.fillWidth: true
                        readOnly: true
                        selectByMouse: true
                        activeFocusOnPress: false
                        text: root.item.exampleTarget
                        wrapMode: TextEdit.Wrap
                        font.family: TesselTheme.fontFamilyFor(root.item.language)
                        font.pixelSize: 34
                        font.weight: Font.DemiBold
                        color: TesselTheme.forest
                        selectionColor: TesselTheme.mint
                        selectedTextColor: TesselTheme.forest
                    }
                    Label {
                        objectName: "promptTranslation"
                        Layout.fillWidth: true
                        visible: AppModel.showTranslation
                        text: root.item.exampleEnglish
                        wrapMode: Text.WordWrap
                        font.pixelSize: 15
                        font.weight: Font.Medium
                        color: TesselTheme.secondaryText
                        lineHeight: 1.2
                    }
                }
                ColumnLayout {
                    Layout.fillWidth: true
                    visible: !root.contextual
                    spacing: 6
                    Label {
                        text: "HOW DO YOU SAY…"
                        font.pixelSize: 10
                        font.bold: true
                        font.letterSpacing: 1.2
                        color: TesselTheme.primary
                    }
                    Label {
                        objectName: "promptTitle"
                        Layout.fillWidth: true
                        text: StudyText.promptTitle(root.item.meanings)
                        wrapMode: Text.WordWrap
                        font.pixelSize: 31
                        font.bold: true
                        color: TesselTheme.forest
                    }
                    Label {
                        objectName: "promptSubtitle"
                        Layout.fillWidth: true
                        text: "Write one accepted " + AppModel.languageName(AppModel.selectedLanguage) + " form."
                        wrapMode: Text.WordWrap
                        font.pixelSize: 13
                        font.weight: Font.Medium
                        color: TesselTheme.secondaryText
                    }
                }

                Loader {
                    objectName: "answerOrVerdict"
                    Layout.fillWidth: true
                    sourceComponent: root.answering ? answerArea : verdict
                }
            }
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 6
            Layout.rightMargin: 6
            spacing: 6
            Icon {
                name: "return"
                size: 12
                color: TesselTheme.secondaryText
            }
            Label {
                text: "Enter checks your answer"
                font.pixelSize: 10
                font.weight: Font.Medium
                color: TesselTheme.secondaryText
            }
            Item { Layout.fillWidth: true }
            Icon {
                name: "waveform"
                size: 12
                color: TesselTheme.secondaryText
            }
            Label {
                text: "Audio uses your computer’s local voice"
                font.pixelSize: 10
                font.weight: Font.Medium
                color: TesselTheme.secondaryText
            }
        }
    }

    Component {
        id: answerArea
        StudyAnswerArea {}
    }

    Component {
        id: verdict
        StudyVerdict { correct: root.correct }
    }
}
