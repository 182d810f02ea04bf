// SPDX-License-Identifier: GPL-3.0-or-later
// An on/off switch in the theme's colours; the label is the setting row's title.
import QtQuick
import QtQuick.Controls.Basic
import Brindle

Switch {
    id: root

    padding: 0
    implicitWidth: 44
    implicitHeight: 26

    indicator: Rectangle {
        implicitWidth: 44
        implicitHeight: 26
        radius: 13
        color: root.checked ? TesselTheme.primary : TesselTheme.line
        border.width: root.visualFocus ? 2 : 0
        border.color: TesselTheme.primaryDark

        Rectangle {
            x: root.checked ? parent.width - width - 3 : 3
            y: 3
            width: 20
            height: 20
            radius: 10
            color: TesselTheme.white
            Behavior on x { NumberAnimation { duration: 120; easing.type: Easing.OutCubic } }
        }
    }
    contentItem: null
}
