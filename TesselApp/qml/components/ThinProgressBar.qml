// SPDX-License-Identifier: GPL-3.0-or-later
// A thin horizontal bar filled to value / total in primary; a total below 1 counts as 1, so an
// empty course or no learned words draws an empty bar, never an undefined one.
import QtQuick
import Brindle

Rectangle {
    id: root

    property real value: 0
    property real total: 1
    readonly property real fraction: Math.max(0, Math.min(1, (Number(value) || 0)
                                                            / Math.max(Number(total) || 0, 1)))

    implicitHeight: 6
    radius: height / 2
    color: TesselTheme.withAlpha(TesselTheme.line, 0.8)
    Accessible.role: Accessible.ProgressBar

    Rectangle {
        objectName: "fill"
        width: parent.width * root.fraction
        height: parent.height
        radius: parent.radius
        visible: root.fraction > 0
        color: TesselTheme.primary
    }
}
