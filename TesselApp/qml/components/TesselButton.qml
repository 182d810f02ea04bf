// SPDX-License-Identifier: GPL-3.0-or-later
// The application's button.
//
//   TesselButton { text: "Continue"; prominent: true; onClicked: ... }
//   TesselButton { text: "Hear sentence"; iconName: "speaker.wave.2.fill"; flat: true }
//   TesselButton { text: "Good"; detail: "On track"; prominent: true }   // two-line label
//
// prominent: white on primary; otherwise forest on pale mint with a line outline; flat: no fill
// and no outline (a plain text button, `textColor` chooses its colour). While pressed it scales to
// 0.98 and fades to 0.88, easing out over 0.12 s. Reachable with Tab, pressed with Space, Return
// or Enter.
import QtQuick
import QtQuick.Controls.Basic
import Brindle

AbstractButton {
    id: root

    property bool prominent: false
    property bool flat: false
    property string iconName
    property string detail
    property color textColor: prominent ? TesselTheme.white : TesselTheme.forest
    property color iconColor: textColor

    focusPolicy: Qt.StrongFocus
    Accessible.role: Accessible.Button
    Accessible.name: text
    // Return and Enter press a focused button, as Space does.
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()
    leftPadding: flat ? 4 : 18
    rightPadding: flat ? 4 : 18
    topPadding: 6
    bottomPadding: 6
    implicitHeight: Math.max(flat ? 30 : 42, implicitContentHeight + topPadding + bottomPadding)
    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    font.pixelSize: 14
    font.weight: Font.DemiBold
    opacity: !enabled ? 0.45 : (pressed ? 0.88 : 1)
    scale: pressed ? 0.98 : 1

    Behavior on scale {
        NumberAnimation { duration: 120; easing.type: Easing.OutCubic }
    }
    Behavior on opacity {
        NumberAnimation { duration: 120; easing.type: Easing.OutCubic }
    }

    contentItem: Item {
        implicitWidth: row.implicitWidth
        implicitHeight: row.implicitHeight

        Row {
            id: row
            anchors.centerIn: parent
            spacing: 7

            Icon {
                visible: root.iconName !== ""
                name: root.iconName
                size: root.font.pixelSize + 2
                color: root.iconColor
                anchors.verticalCenter: parent.verticalCenter
            }
            Column {
                anchors.verticalCenter: parent.verticalCenter
                spacing: 1

                Label {
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: root.text
                    font.family: root.font.family
                    font.pixelSize: root.detail !== "" ? 13 : root.font.pixelSize
                    font.weight: root.detail !== "" ? Font.Bold : root.font.weight
                    color: root.textColor
                }
                Label {
                    anchors.horizontalCenter: parent.horizontalCenter
                    visible: root.detail !== ""
                    text: root.detail
                    font.family: root.font.family
                    font.pixelSize: 9
                    color: root.textColor
                    opacity: 0.85
                }
            }
        }
    }

    background: Rectangle {
        implicitHeight: root.flat ? 30 : 42
        radius: TesselTheme.buttonRadius
        color: root.flat ? "transparent" : (root.prominent ? TesselTheme.primary : TesselTheme.paleMint)
        border.width: root.flat || root.prominent ? 0 : 1
        border.color: TesselTheme.line

        Rectangle {
            anchors.fill: parent
            anchors.margins: -3
            radius: parent.radius + 3
            color: "transparent"
            border.width: 2
            border.color: TesselTheme.withAlpha(TesselTheme.primary, 0.55)
            visible: root.visualFocus
        }
    }
}
