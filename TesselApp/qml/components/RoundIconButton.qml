// SPDX-License-Identifier: GPL-3.0-or-later
// A small round button showing only a symbol, e.g. the study header's close and speaker buttons.
//
//   RoundIconButton { iconName: "xmark"; Accessible.name: "Leave session"; onClicked: ... }
import QtQuick
import QtQuick.Controls.Basic
import Brindle

AbstractButton {
    id: root

    property string iconName
    property real iconSize: 13

    focusPolicy: Qt.StrongFocus
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()
    implicitWidth: 34
    implicitHeight: 34
    opacity: enabled ? (pressed ? 0.88 : 1) : 0.4
    scale: pressed ? 0.96 : 1

    Behavior on scale {
        NumberAnimation { duration: 120; easing.type: Easing.OutCubic }
    }

    background: Rectangle {
        radius: width / 2
        color: root.hovered ? TesselTheme.mint : TesselTheme.paleMint
        border.width: root.visualFocus ? 2 : 1
        border.color: root.visualFocus ? TesselTheme.primary : TesselTheme.line
    }
    contentItem: Icon {
        name: root.iconName
        size: root.iconSize + 3
        color: TesselTheme.forest
        font.bold: true
    }
}
