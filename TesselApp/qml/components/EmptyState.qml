// SPDX-License-Identifier: GPL-3.0-or-later
// What a pane shows when it has nothing to list: a large symbol, a title and a description,
// centred.
import QtQuick
import QtQuick.Controls.Basic
import Brindle

Column {
    id: root

    property string symbol
    property string title
    property string description

    spacing: 8

    Icon {
        anchors.horizontalCenter: parent.horizontalCenter
        name: root.symbol
        size: 38
        color: TesselTheme.secondaryText
    }
    Label {
        objectName: "emptyTitle"
        width: root.width
        horizontalAlignment: Text.AlignHCenter
        text: root.title
        wrapMode: Text.WordWrap
        font.pixelSize: 17
        font.bold: true
        color: TesselTheme.forest
    }
    Label {
        width: root.width
        horizontalAlignment: Text.AlignHCenter
        text: root.description
        wrapMode: Text.WordWrap
        font.pixelSize: 12
        color: TesselTheme.secondaryText
    }
}
