// SPDX-License-Identifier: GPL-3.0-or-later
// The verdict on the current card: the answer with its reading and meanings, then the rating
// buttons after a right answer or "Continue" after a wrong one (Return continues too: see
// RootView, which holds that shortcut).
//
// After a right answer the verdict holds the keyboard focus, so Tab reaches "Hard", "Good" and
// "Easy" in turn and Space presses the focused one; they have no shortcuts of their own.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle
import Brindle.Model
import "StudyText.js" as StudyText

ColumnLayout {
    id: root

    property bool correct: false
    readonly property var item: AppModel.currentItem !== undefined ? AppModel.currentItem
                                : ({ language: "", term: "", reading: "", meanings: [] })
    readonly property var lesson: AppModel.currentLesson

    spacing: 17

    Component.onCompleted: {
        if (correct)
            focusAnchor.forceActiveFocus()
        else
            continueButton.forceActiveFocus()
    }

    // Holds the focus after a right answer; the next Tab goes to the first rating button. It is a
    // tab stop only while it holds the focus, so the chain continues from here but never returns.
    Item {
        id: focusAnchor
        objectName: "verdictFocusAnchor"
        activeFocusOnTab: activeFocus
        Layout.preferredHeight: 0
        Layout.preferredWidth: 0
    }

    RowLayout {
        spacing: 12
        Icon {
            objectName: "verdictIcon"
            Layout.alignment: Qt.AlignTop
            name: root.correct ? "checkmark.circle.fill" : "arrow.counterclockwise.circle.fill"
            size: 23
            color: root.correct ? TesselTheme.primary : TesselTheme.secondaryText
        }
        ColumnLayout {
            spacing: 2
            Label {
                objectName: "verdictTitle"
                text: root.correct ? "That’s it" : "Let this one grow again"
                font.pixelSize: 15
                font.bold: true
                color: TesselTheme.forest
            }
            Label {
                objectName: "verdictLine"
                text: root.correct ? "Your answer was accepted." : "Study the form, then you’ll see it sooner."
                font.pixelSize: 11
                color: TesselTheme.secondaryText
            }
        }
    }

    ColumnLayout {
        Layout.fillWidth: true
        spacing: 6

        Flow {
            Layout.fillWidth: true
            spacing: 12
            Label {
                objectName: "answerTerm"
                text: root.item.term
                font.family: TesselTheme.fontFamilyFor(root.item.language)
                font.pixelSize: 30
                font.bold: true
                color: TesselTheme.forest
            }
            Label {
                objectName: "readingLabel"
                visible: StudyText.showsReading(AppModel.showReading, root.item.reading, root.item.term)
                height: parent.children[0].height
                verticalAlignment: Text.AlignVCenter
                text: root.item.reading
                font.family: TesselTheme.fontFamilyFor(root.item.language)
                font.pixelSize: 14
                font.weight: Font.DemiBold
                color: TesselTheme.primary
            }
        }
        Label {
            objectName: "meaningLine"
            Layout.fillWidth: true
            text: StudyText.meaningLine(root.item.meanings)
            wrapMode: Text.WordWrap
            font.pixelSize: 13
            font.weight: Font.Medium
            color: TesselTheme.secondaryText
        }
        Label {
            objectName: "lessonNote"
            Layout.fillWidth: true
            visible: root.lesson !== undefined && root.lesson.note !== ""
            text: root.lesson !== undefined ? root.lesson.note : ""
            wrapMode: Text.WordWrap
            // Notes quote the language itself (〜たい, 了), so they use its glyph shapes.
            font.family: TesselTheme.fontFamilyFor(root.item.language)
            font.pixelSize: 12
            color: TesselTheme.secondaryText
        }
    }

    ColumnLayout {
        Layout.fillWidth: true
        visible: root.correct
        spacing: 10
        Label {
            text: "How did that feel?"
            font.pixelSize: 11
            font.weight: Font.DemiBold
            color: TesselTheme.forest
        }
        RowLayout {
            Layout.fillWidth: true
            spacing: 10
            Repeater {
                model: [
                    { rating: "hard", title: "Hard", detail: "Soon", prominent: false },
                    { rating: "good", title: "Good", detail: "On track", prominent: true },
                    { rating: "easy", title: "Easy", detail: "Later", prominent: false }
                ]
                TesselButton {
                    required property var modelData
                    objectName: "rating-" + modelData.rating
                    Layout.fillWidth: true
                    Layout.preferredWidth: 1
                    Layout.preferredHeight: 50
                    enabled: root.correct
                    text: modelData.title
                    detail: modelData.detail
                    prominent: modelData.prominent
                    onClicked: AppModel.rateAndAdvance(modelData.rating)
                }
            }
        }
    }

    TesselButton {
        id: continueButton
        objectName: "verdictContinue"
        Layout.alignment: Qt.AlignRight
        visible: !root.correct
        enabled: !root.correct
        text: "Continue"
        prominent: true
        onClicked: AppModel.rateAndAdvance("again")
    }
}
