// SPDX-License-Identifier: GPL-3.0-or-later
// One setting: its title over a short explanation on the left, the control on the right, and a
// divider above it unless it is the first row of its card.
//
//   SettingRow { title: "Daily card goal"; detail: "…"; ToggleSwitch { … } }
//
// Positioned with anchors rather than layouts: the wrapped explanation changes height once its
// width is known, and anchors follow that at once.
import QtQuick
import QtQuick.Controls.Basic
import Brindle

Item {
    id: root

    property string title
    property string detail
    property bool divided: true
    default property alias accessory: holder.data

    readonly property real topInset: divided ? 13 : 0

    implicitHeight: topInset + Math.max(texts.implicitHeight, holder.implicitHeight)

    Rectangle {
        width: parent.width
        height: 1
        visible: root.divided
        color: TesselTheme.withAlpha(TesselTheme.line, 0.8)
    }
    Column {
        id: texts
        y: root.topInset + (root.height - root.topInset - implicitHeight) / 2
        anchors.left: parent.left
        anchors.right: holder.left
        anchors.rightMargin: 18
        spacing: 3
        Label {
            width: parent.width
            text: root.title
            wrapMode: Text.Wrap
            font.pixelSize: 13
            font.weight: Font.DemiBold
            color: TesselTheme.forest
        }
        Label {
            width: parent.width
            text: root.detail
            wrapMode: Text.Wrap
            font.pixelSize: 10
            color: TesselTheme.secondaryText
        }
    }
    Row {
        id: holder
        anchors.right: parent.right
        y: root.topInset + (root.height - root.topInset - implicitHeight) / 2
        spacing: 10
    }
}
