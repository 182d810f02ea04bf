// SPDX-License-Identifier: GPL-3.0-or-later
// Onboarding choice of a daily goal: the number of cards over "cards / day".
import QtQuick
import QtQuick.Controls.Basic
import Brindle

AbstractButton {
    id: root

    property int value
    property bool selected: false

    focusPolicy: Qt.StrongFocus
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()
    implicitHeight: 120
    Accessible.name: value + " cards per day"

    background: Rectangle {
        radius: 18
        color: root.selected ? TesselTheme.primary : TesselTheme.paleMint
        border.width: root.visualFocus ? 2 : 1
        border.color: root.selected ? TesselTheme.primary
                                    : (root.visualFocus ? TesselTheme.primary : TesselTheme.line)
    }

    contentItem: Item {
        Column {
            anchors.centerIn: parent
            spacing: 2
            Label {
                anchors.horizontalCenter: parent.horizontalCenter
                text: root.value
                font.pixelSize: 32
                font.bold: true
                color: root.selected ? TesselTheme.white : TesselTheme.forest
            }
            Label {
                anchors.horizontalCenter: parent.horizontalCenter
                text: "cards / day"
                font.pixelSize: 12
                font.weight: Font.DemiBold
                color: root.selected ? TesselTheme.withAlpha(TesselTheme.white, 0.78)
                                     : TesselTheme.secondaryText
            }
        }
    }
}
