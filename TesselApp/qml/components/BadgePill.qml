// SPDX-License-Identifier: GPL-3.0-or-later
// A capsule that shows a figure rather than offering a choice: the look of TesselPill with an
// optional leading symbol (streak badges, chart totals, entry counts).
//
//   BadgePill { symbol: "flame.fill"; text: "3 days"; selected: true }
import QtQuick
import QtQuick.Controls.Basic
import Brindle

Rectangle {
    id: root

    property string text
    property string symbol
    property bool selected: false
    // White fill with a line outline instead of pale mint (the home streak capsule).
    property bool plain: false
    readonly property color foreground: selected ? TesselTheme.white : TesselTheme.forest

    implicitWidth: row.implicitWidth + 26
    implicitHeight: row.implicitHeight + 16
    radius: height / 2
    color: selected ? TesselTheme.primary : (plain ? TesselTheme.white : TesselTheme.paleMint)
    border.width: selected ? 0 : 1
    border.color: TesselTheme.line
    Accessible.role: Accessible.StaticText
    Accessible.name: text

    Row {
        id: row
        anchors.centerIn: parent
        spacing: 6
        Icon {
            visible: root.symbol !== ""
            name: root.symbol
            size: 13
            color: root.selected ? TesselTheme.white : TesselTheme.primary
            anchors.verticalCenter: parent.verticalCenter
        }
        Label {
            objectName: "pillText"
            text: root.text
            font.pixelSize: 13
            font.weight: Font.DemiBold
            color: root.foreground
            anchors.verticalCenter: parent.verticalCenter
        }
    }
}
