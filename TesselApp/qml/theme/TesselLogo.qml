// SPDX-License-Identifier: GPL-3.0-or-later
// The Brindle mark: a leaf on a rounded green square.
//
//   TesselLogo { size: 35 }
import QtQuick
import Brindle

Rectangle {
    id: root

    property real size: 35

    width: size
    height: size
    radius: 0.3 * size
    color: TesselTheme.primary
    Accessible.ignored: true

    Icon {
        anchors.centerIn: parent
        name: "leaf.fill"
        size: 0.48 * root.size
        color: TesselTheme.white
        font.bold: true
        rotation: -18
    }
}
