// SPDX-License-Identifier: GPL-3.0-or-later
// A stepper showing its current whole number between a minus and a plus button; the buttons stop
// at `from` and `to`.
import QtQuick
import QtQuick.Controls.Basic
import Brindle

SpinBox {
    id: root

    editable: false
    // Tab reaches it; the arrow keys change the number.
    focusPolicy: Qt.StrongFocus
    implicitHeight: 34
    font.pixelSize: 13
    font.weight: Font.DemiBold

    // The stepper itself is the one tab stop; SpinBox makes its number one too.
    Component.onCompleted: contentItem.activeFocusOnTab = false

    contentItem: Text {
        text: root.textFromValue(root.value, root.locale)
        font: root.font
        color: TesselTheme.forest
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }
    background: Rectangle {
        radius: 10
        color: TesselTheme.paleMint
        border.width: root.visualFocus ? 2 : 1
        border.color: root.visualFocus ? TesselTheme.primary : TesselTheme.line
    }
    down.indicator: Rectangle {
        x: 0
        width: 34
        height: root.height
        radius: 10
        color: root.down.pressed ? TesselTheme.mint : "transparent"
        opacity: root.value > root.from ? 1 : 0.35
        Text {
            anchors.centerIn: parent
            text: "−"
            font.pixelSize: 16
            font.bold: true
            color: TesselTheme.primary
        }
    }
    up.indicator: Rectangle {
        x: root.width - width
        width: 34
        height: root.height
        radius: 10
        color: root.up.pressed ? TesselTheme.mint : "transparent"
        opacity: root.value < root.to ? 1 : 0.35
        Text {
            anchors.centerIn: parent
            text: "+"
            font.pixelSize: 16
            font.bold: true
            color: TesselTheme.primary
        }
    }
}
