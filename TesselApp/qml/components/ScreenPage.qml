// SPDX-License-Identifier: GPL-3.0-or-later
// The scrolling frame of the home, progress, settings and sources screens: a vertical column of
// sections, centred, at most `maxContentWidth` wide, padded 30 left and right, 22 on top and 36
// at the bottom, sections 22 apart.
//
//   ScreenPage { maxContentWidth: 1220; SectionTitle { Layout.fillWidth: true; title: "…" } }
//
// Children go into a ColumnLayout, so they use Layout.fillWidth to take the full width.
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle

Flickable {
    id: root

    property real maxContentWidth: 1220
    default property alias content: column.data
    readonly property real contentColumnWidth: column.width

    clip: true
    contentWidth: width
    contentHeight: column.implicitHeight + 22 + 36
    boundsBehavior: Flickable.StopAtBounds
    ScrollBar.vertical: ScrollBar {}

    ColumnLayout {
        id: column
        y: 22
        width: Math.max(0, Math.min(root.maxContentWidth, root.width - 60))
        x: (root.width - width) / 2
        spacing: 22
    }
}
