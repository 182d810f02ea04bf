// SPDX-License-Identifier: GPL-3.0-or-later
// A titled figure with a thin bar of value out of total and a detail line under it (the
// progress screen's memory health).
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle
import "Format.js" as Format

ColumnLayout {
    id: root

    property string title
    property real value: 0
    property real total: 0
    property string detail

    spacing: 6

    RowLayout {
        Layout.fillWidth: true
        Label {
            Layout.fillWidth: true
            text: root.title
            elide: Text.ElideRight
            font.pixelSize: 12
            font.weight: Font.DemiBold
            color: TesselTheme.forest
        }
        Label {
            objectName: "lineValue"
            text: Format.grouped(root.value)
            font.pixelSize: 14
            font.bold: true
            color: TesselTheme.forest
        }
    }
    ThinProgressBar {
        objectName: "lineBar"
        Layout.fillWidth: true
        value: root.value
        total: root.total
    }
    Label {
        Layout.fillWidth: true
        text: root.detail
        wrapMode: Text.Wrap
        font.pixelSize: 10
        color: TesselTheme.secondaryText
    }
}
