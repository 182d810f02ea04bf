// SPDX-License-Identifier: GPL-3.0-or-later
// The study screen's header: leave button, language and "N / T" with a progress bar, and the
// speaker button that reads the current sentence.
import QtQuick
import QtQuick.Controls.Basic
import Brindle
import Brindle.Model
import "StudyText.js" as StudyText

Item {
    id: root

    readonly property int total: AppModel.sessionItems.length

    implicitHeight: 17 + 40

    RoundIconButton {
        id: leaveButton
        objectName: "leaveButton"
        anchors.left: parent.left
        anchors.leftMargin: 28
        anchors.top: parent.top
        anchors.topMargin: 17
        iconName: "xmark"
        Accessible.name: "Leave session"
        onClicked: AppModel.leaveSession()
    }

    Column {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.verticalCenter: leaveButton.verticalCenter
        spacing: 7

        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 8
            Label {
                objectName: "languageName"
                text: AppModel.languageName(AppModel.selectedLanguage)
                font.pixelSize: 11
                font.bold: true
                color: TesselTheme.primary
            }
            Label {
                objectName: "counter"
                visible: root.total > 0
                text: StudyText.counter(AppModel.currentIndex, root.total)
                font.pixelSize: 11
                color: TesselTheme.secondaryText
            }
        }

        Rectangle {
            objectName: "progressTrack"
            width: Math.max(120, Math.min(360, root.width - 2 * 28 - 2 * 34 - 80))
            height: 4
            radius: 2
            color: TesselTheme.line

            Rectangle {
                objectName: "progressFill"
                readonly property real fraction: StudyText.progressFraction(
                                                     AppModel.sessionPhase, AppModel.currentIndex,
                                                     root.total)
                width: parent.width * fraction
                height: parent.height
                radius: 2
                color: TesselTheme.primary
                Behavior on width {
                    NumberAnimation { duration: 200; easing.type: Easing.OutCubic }
                }
            }
        }
    }

    RoundIconButton {
        objectName: "playSentenceButton"
        anchors.right: parent.right
        anchors.rightMargin: 28
        anchors.top: parent.top
        anchors.topMargin: 17
        iconName: "speaker.wave.2.fill"
        Accessible.name: "Play sentence"
        enabled: AppModel.currentItem !== undefined
        onClicked: AppModel.playCurrentSentence()
    }
}
