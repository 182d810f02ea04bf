// SPDX-License-Identifier: GPL-3.0-or-later
// The home screen's green panel: the daily-goal ring, the session title and summary, the button
// that starts the session and three facts about today's queue.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle
import "../components/Format.js" as Format

Rectangle {
    id: root

    property int reviewedToday: 0
    property int dailyGoal: 0
    property real goalProgress: 0
    property int dueNow: 0
    property int newToday: 0
    property int dueInSession: 0
    property string todayAccuracy: "—"
    // Without the word list there is nothing to study: the panel says so instead of offering an
    // empty session.
    property bool wordListMissing: false
    readonly property bool goalComplete: goalProgress >= 1

    signal startSession

    implicitHeight: 205
    radius: 26
    gradient: Gradient {
        orientation: Gradient.Horizontal
        GradientStop { position: 0; color: TesselTheme.forest }
        GradientStop { position: 0.55; color: TesselTheme.primaryDark }
        GradientStop { position: 1; color: TesselTheme.primary }
    }

    // Shadow of forest at 16 %, spread to about 24 and 12 down, drawn behind the panel.
    Repeater {
        model: 6
        Rectangle {
            required property int index
            readonly property real spread: 4 * (index + 1)
            z: -1
            x: -spread
            y: 12 - spread
            width: root.width + 2 * spread
            height: root.height + 2 * spread
            radius: root.radius + spread
            color: TesselTheme.forest
            opacity: 0.16 / 6 * (1.6 - index * 0.2)
        }
    }

    // The decorative circles stay inside the panel; they touch only its straight edges, so a
    // rectangular clip matches the rounded outline.
    Item {
        anchors.fill: parent
        clip: true
        Rectangle {
            width: 260
            height: 260
            radius: 130
            x: root.width - 290
            y: -96
            color: TesselTheme.withAlpha(TesselTheme.white, 0.055)
        }
        Rectangle {
            width: 170
            height: 170
            radius: 85
            x: root.width - 420
            y: root.height - 120
            color: TesselTheme.withAlpha(TesselTheme.white, 0.04)
        }
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 30
        anchors.rightMargin: 30
        spacing: 26

        GoalRing {
            objectName: "goalRing"
            Layout.preferredWidth: 116
            Layout.preferredHeight: 116
            progress: root.goalProgress
            centerText: String(root.reviewedToday)
            caption: "of " + root.dailyGoal
        }

        ColumnLayout {
            Layout.fillWidth: true
            spacing: 6

            Label {
                objectName: "heroTitle"
                Layout.fillWidth: true
                text: root.wordListMissing ? "The word list is missing"
                      : root.goalComplete ? "Daily goal complete" : "Your next session is ready"
                wrapMode: Text.WordWrap
                font.pixelSize: 24
                font.bold: true
                color: TesselTheme.white
            }
            Label {
                objectName: "sessionSummary"
                Layout.fillWidth: true
                text: root.wordListMissing
                      ? "Brindle’s word list could not be opened, so there is nothing to study. "
                        + "Reinstall Brindle to bring it back."
                      : Format.sessionSummary(root.dueInSession, root.newToday)
                wrapMode: Text.WordWrap
                font.pixelSize: 14
                color: TesselTheme.withAlpha(TesselTheme.white, 0.78)
            }
            AbstractButton {
                id: startButton
                objectName: "heroButton"
                visible: !root.wordListMissing
                Layout.topMargin: 10
                implicitHeight: 43
                implicitWidth: buttonRow.implicitWidth + 36
                text: root.goalComplete ? "Keep growing" : "Start today’s session"
                focusPolicy: Qt.StrongFocus
                Accessible.name: text
                Keys.onReturnPressed: clicked()
                Keys.onEnterPressed: clicked()
                scale: pressed ? 0.98 : 1
                opacity: pressed ? 0.88 : 1
                onClicked: root.startSession()
                Behavior on scale { NumberAnimation { duration: 120; easing.type: Easing.OutCubic } }

                background: Rectangle {
                    radius: TesselTheme.buttonRadius
                    color: TesselTheme.white
                    border.width: startButton.visualFocus ? 2 : 0
                    border.color: TesselTheme.mint
                }
                contentItem: Item {
                    Row {
                        id: buttonRow
                        anchors.centerIn: parent
                        spacing: 8
                        Icon {
                            name: "play.fill"
                            size: 15
                            color: TesselTheme.forest
                            anchors.verticalCenter: parent.verticalCenter
                        }
                        Label {
                            text: startButton.text
                            font.pixelSize: 14
                            font.weight: Font.DemiBold
                            color: TesselTheme.forest
                            anchors.verticalCenter: parent.verticalCenter
                        }
                    }
                }
            }
        }

        ColumnLayout {
            Layout.alignment: Qt.AlignVCenter
            spacing: 12

            Repeater {
                model: [
                    { symbol: "clock.arrow.circlepath", value: String(root.dueNow), label: "due now" },
                    { symbol: "plus.circle.fill", value: String(root.newToday), label: "new today" },
                    { symbol: "checkmark.circle.fill", value: root.todayAccuracy, label: "today’s accuracy" }
                ]
                delegate: Row {
                    id: fact
                    required property var modelData
                    required property int index
                    objectName: "fact-" + index
                    spacing: 7
                    Icon {
                        name: fact.modelData.symbol
                        size: 15
                        color: TesselTheme.white
                        anchors.verticalCenter: parent.verticalCenter
                    }
                    Label {
                        objectName: "factValue"
                        text: fact.modelData.value
                        font.pixelSize: 15
                        font.bold: true
                        color: TesselTheme.white
                        anchors.verticalCenter: parent.verticalCenter
                    }
                    Label {
                        text: fact.modelData.label
                        font.pixelSize: 11
                        font.weight: Font.Medium
                        color: TesselTheme.withAlpha(TesselTheme.white, 0.68)
                        anchors.verticalCenter: parent.verticalCenter
                    }
                }
            }
        }
    }
}
