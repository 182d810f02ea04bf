// SPDX-License-Identifier: GPL-3.0-or-later
// A card's title (bold 17) over an optional one-line explanation (12, secondary text).
import QtQuick
import QtQuick.Controls.Basic
import Brindle

Column {
    id: root

    property string title
    property string subtitle

    spacing: 3

    Label {
        width: root.width
        text: root.title
        wrapMode: Text.WordWrap
        font.pixelSize: 17
        font.bold: true
        color: TesselTheme.forest
    }
    Label {
        width: root.width
        visible: root.subtitle !== ""
        text: root.subtitle
        wrapMode: Text.WordWrap
        font.pixelSize: 12
        color: TesselTheme.secondaryText
    }
}
