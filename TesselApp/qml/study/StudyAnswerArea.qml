// SPDX-License-Identifier: GPL-3.0-or-later
// The answer field with "Check", "Hear sentence" and "Show answer". It takes the keyboard as
// soon as it appears, so the learner can type at once; Return submits even a blank answer.
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle
import Brindle.Model
import "StudyText.js" as StudyText

ColumnLayout {
    id: root

    readonly property alias field: field

    spacing: 10

    Component.onCompleted: field.forceActiveFocus()

    Label {
        text: "Type the missing word"
        font.pixelSize: 12
        font.weight: Font.DemiBold
        color: TesselTheme.secondaryText
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 12

        TextField {
            id: field
            objectName: "answerField"
            Layout.fillWidth: true
            Layout.preferredHeight: 50
            placeholderText: "Your answer"
            placeholderTextColor: TesselTheme.withAlpha(TesselTheme.secondaryText, 0.6)
            text: AppModel.answer
            onTextEdited: AppModel.answer = text
            onAccepted: AppModel.submitAnswer()
            // The field keeps Ctrl+Z for its own typing; with none to take back (a fresh card,
            // the moment a slip on the last one is noticed) it takes back the last rating.
            Keys.onPressed: (event) => {
                if (event.key === Qt.Key_Z && event.modifiers === Qt.ControlModifier
                        && !field.canUndo && AppModel.canUndoRating) {
                    AppModel.undoLastRating()
                    event.accepted = true
                }
            }
            font.family: TesselTheme.fontFamilyFor(AppModel.currentItem ? AppModel.currentItem.language
                                                                        : AppModel.selectedLanguage)
            font.pixelSize: 20
            font.weight: Font.DemiBold
            color: TesselTheme.forest
            selectionColor: TesselTheme.mint
            selectedTextColor: TesselTheme.forest
            leftPadding: 16
            rightPadding: 16
            verticalAlignment: TextInput.AlignVCenter
            Accessible.name: "Your answer"
            background: Rectangle {
                radius: 13
                color: TesselTheme.white
                border.width: field.activeFocus ? 2 : 1
                border.color: field.activeFocus ? TesselTheme.primary : TesselTheme.line
            }
        }

        TesselButton {
            objectName: "checkButton"
            Layout.preferredHeight: 50
            text: "Check"
            prominent: true
            enabled: StudyText.canCheck(AppModel.answer)
            onClicked: AppModel.submitAnswer()
        }
    }

    RowLayout {
        spacing: 14
        TesselButton {
            objectName: "hearSentenceButton"
            flat: true
            text: "Hear sentence"
            iconName: "speaker.wave.2.fill"
            textColor: TesselTheme.primary
            font.pixelSize: 13
            onClicked: AppModel.playCurrentSentence()
        }
        TesselButton {
            objectName: "showAnswerButton"
            flat: true
            text: "Show answer"
            textColor: TesselTheme.secondaryText
            font.pixelSize: 13
            onClicked: AppModel.revealAnswer()
        }
    }
}
