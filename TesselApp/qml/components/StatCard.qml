// SPDX-License-Identifier: GPL-3.0-or-later
// One headline figure in a card: a symbol in a tinted tile, the value, its label and an
// optional detail line (home dashboard and progress screen).
//
//   StatCard { symbol: "leaf.fill"; value: "12"; label: "Words planted"; detail: "…" }
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle

TesselCard {
    id: root

    property string symbol
    property string value
    property string label
    property string detail
    property real valueSize: 22
    property real labelSize: 12
    property real symbolSize: 18

    padding: 18

    ColumnLayout {
        spacing: 6

        Rectangle {
            Layout.preferredWidth: root.symbolSize + 16
            Layout.preferredHeight: root.symbolSize + 16
            radius: 10
            color: TesselTheme.paleMint
            Icon {
                anchors.centerIn: parent
                name: root.symbol
                size: root.symbolSize
                color: TesselTheme.primary
            }
        }
        Label {
            objectName: "value"
            Layout.fillWidth: true
            Layout.topMargin: 4
            text: root.value
            elide: Text.ElideRight
            font.pixelSize: root.valueSize
            font.bold: true
            color: TesselTheme.forest
        }
        Label {
            objectName: "label"
            Layout.fillWidth: true
            text: root.label
            elide: Text.ElideRight
            font.pixelSize: root.labelSize
            font.weight: Font.DemiBold
            color: TesselTheme.forest
        }
        Label {
            objectName: "detail"
            Layout.fillWidth: true
            visible: root.detail !== ""
            text: root.detail
            wrapMode: Text.WordWrap
            font.pixelSize: 10
            color: TesselTheme.secondaryText
        }
    }
}
