// SPDX-License-Identifier: GPL-3.0-or-later
// The end of a session: "Your queue is clear" when there was nothing to study, otherwise
// "Session planted" with the session's figures and the words it missed, each opening in the
// dictionary.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle
import Brindle.Model
import "StudyText.js" as StudyText

Item {
    id: root

    readonly property string variant: StudyText.closingVariant(AppModel.sessionItems.length,
                                                               AppModel.sessionReviewed)

    ColumnLayout {
        anchors.centerIn: parent
        width: Math.min(560, root.width - 72)
        spacing: 16

        // Queue clear.
        Icon {
            Layout.alignment: Qt.AlignHCenter
            visible: root.variant === "queueClear"
            name: "checkmark.circle.fill"
            size: 72
            color: TesselTheme.primary
        }
        // Session planted.
        Rectangle {
            Layout.alignment: Qt.AlignHCenter
            visible: root.variant === "planted"
            implicitWidth: 88
            implicitHeight: 88
            radius: 44
            color: TesselTheme.mint
            Icon {
                anchors.centerIn: parent
                name: "checkmark"
                size: 40
                color: TesselTheme.primaryDark
            }
        }

        Label {
            objectName: "closingTitle"
            Layout.alignment: Qt.AlignHCenter
            text: root.variant === "queueClear" ? "Your queue is clear" : "Session planted"
            font.pixelSize: 29
            font.bold: true
            color: TesselTheme.forest
        }
        Label {
            objectName: "closingMessage"
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            text: root.variant === "queueClear"
                  ? "Nothing is due in this usefulness band right now. Return later or explore the local dictionary."
                  : "A short return tomorrow will make these words stronger."
            font.pixelSize: 14
            color: TesselTheme.secondaryText
        }

        RowLayout {
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: 6
            visible: root.variant === "planted"
            spacing: 12
            Repeater {
                model: [
                    { key: "reviewed", value: String(AppModel.sessionReviewed), label: "reviewed" },
                    { key: "correct", value: String(AppModel.sessionCorrect), label: "correct" },
                    { key: "accuracy", label: "accuracy",
                      value: AppModel.sessionAccuracyText }
                ]
                Rectangle {
                    id: stat
                    required property var modelData
                    objectName: "stat-" + modelData.key
                    readonly property string value: modelData.value
                    implicitWidth: 112
                    implicitHeight: 74
                    radius: 16
                    color: TesselTheme.white
                    border.width: 1
                    border.color: TesselTheme.line
                    Column {
                        anchors.centerIn: parent
                        spacing: 2
                        Label {
                            anchors.horizontalCenter: parent.horizontalCenter
                            text: stat.modelData.value
                            font.pixelSize: 24
                            font.bold: true
                            color: TesselTheme.forest
                        }
                        Label {
                            anchors.horizontalCenter: parent.horizontalCenter
                            text: stat.modelData.label
                            font.pixelSize: 10
                            font.weight: Font.DemiBold
                            color: TesselTheme.secondaryText
                        }
                    }
                }
            }
        }

        ColumnLayout {
            objectName: "sessionReview"
            Layout.fillWidth: true
            Layout.topMargin: 4
            visible: root.variant === "planted" && AppModel.sessionMisses.length > 0
            spacing: 8
            Label {
                text: "Words to look at again"
                font.pixelSize: 12
                font.weight: Font.DemiBold
                color: TesselTheme.secondaryText
            }
            ListView {
                id: missList
                objectName: "missList"
                Layout.fillWidth: true
                // About three and a half rows; a longer list scrolls.
                Layout.preferredHeight: Math.min(contentHeight, 210)
                clip: true
                spacing: 6
                boundsBehavior: Flickable.StopAtBounds
                model: AppModel.sessionMisses
                ScrollBar.vertical: ScrollBar {}
                delegate: WordLink {
                    required property var modelData
                    objectName: "miss-" + modelData.item.id
                    width: ListView.view.width
                    item: modelData.item
                    note: modelData.typed !== "" ? "You typed: " + modelData.typed : "No answer"
                    noteInLanguage: true
                    onClicked: AppModel.openInDictionary(modelData.item.term)
                }
            }
        }

        RowLayout {
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: 8
            spacing: 12
            TesselButton {
                objectName: "backToTodayButton"
                text: "Back to today"
                onClicked: AppModel.leaveSession()
            }
            TesselButton {
                objectName: root.variant === "queueClear" ? "openDictionaryButton" : "studyAnotherButton"
                text: root.variant === "queueClear" ? "Open dictionary" : "Study another set"
                prominent: true
                onClicked: {
                    if (root.variant === "queueClear") {
                        AppModel.leaveSession()
                        AppModel.destination = "dictionary"
                    } else {
                        AppModel.beginSession(false)
                    }
                }
            }
        }
    }
}
