// SPDX-License-Identifier: GPL-3.0-or-later
// A screen's heading: an optional eyebrow, the title and an optional subtitle, left aligned.
//
//   SectionTitle { eyebrow: "Daily goal"; title: "Set a gentle daily rhythm"; subtitle: "..." }
//
// Empty eyebrow or subtitle are left out; the eyebrow is shown upper-cased.
import QtQuick
import QtQuick.Controls.Basic
import Brindle

Column {
    id: root

    property string eyebrow
    property string title
    property string subtitle

    spacing: 5

    Label {
        objectName: "eyebrow"
        visible: root.eyebrow !== ""
        text: root.eyebrow.toUpperCase()
        width: root.width
        wrapMode: Text.WordWrap
        font.pixelSize: 11
        font.bold: true
        font.letterSpacing: 1.3
        color: TesselTheme.primary
    }
    Label {
        objectName: "title"
        text: root.title
        width: root.width
        wrapMode: Text.WordWrap
        font.pixelSize: 28
        font.bold: true
        color: TesselTheme.forest
    }
    Label {
        objectName: "subtitle"
        visible: root.subtitle !== ""
        text: root.subtitle
        width: root.width
        wrapMode: Text.WordWrap
        font.pixelSize: 14
        color: TesselTheme.secondaryText
    }
}
