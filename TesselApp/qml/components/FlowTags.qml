// SPDX-License-Identifier: GPL-3.0-or-later
// A single row of small capsules, at most the first four values; the row never wraps.
//
//   FlowTags { values: ["noun", "verb"] }
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import Brindle

Row {
    id: root

    property var values: []
    readonly property var shownValues: {
        const shown = [];
        for (let i = 0; values && i < values.length && i < 4; ++i)
            shown.push(values[i]);
        return shown;
    }

    spacing: 7

    Repeater {
        model: root.shownValues
        delegate: Rectangle {
            id: capsule
            required property var modelData
            objectName: "tag"
            implicitWidth: tag.implicitWidth + 18
            implicitHeight: tag.implicitHeight + 12
            radius: height / 2
            color: TesselTheme.paleMint
            Label {
                id: tag
                anchors.centerIn: parent
                text: capsule.modelData
                font.pixelSize: 10
                font.weight: Font.Medium
                color: TesselTheme.secondaryText
            }
        }
    }
}
