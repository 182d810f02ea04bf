// SPDX-License-Identifier: GPL-3.0-or-later
// A capsule-shaped choice, e.g. the sidebar's language switch.
//
//   TesselPill { text: "中文"; selected: true; onClicked: ... }
//
// Selected: white on primary. Otherwise forest on pale mint with a line outline. A button, so it
// is clickable, reachable with Tab and pressed with Space.
import QtQuick
import QtQuick.Controls.Basic
import Brindle

AbstractButton {
    id: root

    property bool selected: false

    focusPolicy: Qt.StrongFocus
    Accessible.role: Accessible.Button
    Accessible.name: text
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()
    leftPadding: 13
    rightPadding: 13
    topPadding: 8
    bottomPadding: 8
    font.pixelSize: 13
    font.weight: Font.DemiBold

    contentItem: Label {
        text: root.text
        font: root.font
        color: root.selected ? TesselTheme.white : TesselTheme.forest
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        maximumLineCount: 1
    }
    background: Rectangle {
        radius: height / 2
        color: root.selected ? TesselTheme.primary : TesselTheme.paleMint
        border.width: root.selected ? 0 : 1
        border.color: TesselTheme.line
        Rectangle {
            anchors.fill: parent
            anchors.margins: -3
            radius: height / 2
            color: "transparent"
            border.width: 2
            border.color: TesselTheme.primary
            visible: root.visualFocus
        }
    }
}
