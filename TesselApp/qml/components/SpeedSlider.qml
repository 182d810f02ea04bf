// SPDX-License-Identifier: GPL-3.0-or-later
// A continuous slider in the theme's colours.
import QtQuick
import QtQuick.Controls.Basic
import Brindle

Slider {
    id: root

    implicitHeight: 26
    stepSize: 0

    background: Rectangle {
        x: root.leftPadding
        y: root.topPadding + root.availableHeight / 2 - height / 2
        width: root.availableWidth
        height: 4
        radius: 2
        color: TesselTheme.line

        Rectangle {
            width: root.visualPosition * parent.width
            height: parent.height
            radius: 2
            color: TesselTheme.primary
        }
    }
    handle: Rectangle {
        x: root.leftPadding + root.visualPosition * (root.availableWidth - width)
        y: root.topPadding + root.availableHeight / 2 - height / 2
        width: 18
        height: 18
        radius: 9
        color: root.pressed ? TesselTheme.paleMint : TesselTheme.white
        border.width: root.visualFocus ? 2 : 1
        border.color: root.visualFocus ? TesselTheme.primary : TesselTheme.line
    }
}
