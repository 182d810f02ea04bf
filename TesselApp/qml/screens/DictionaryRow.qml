// SPDX-License-Identifier: GPL-3.0-or-later
// One line of the dictionary's result list: the written form, then its reading over the first
// meaning, and the entry's band at the right.
//
//   DictionaryRow { entry: AppModel.searchResults[0]; selected: true }
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle
import "../components/Format.js" as Format

Rectangle {
    id: root

    // A lexicon entry (id, language, term, reading, meanings, level, …).
    property var entry
    property bool selected: false

    signal chosen

    implicitHeight: row.implicitHeight + 14
    radius: 12
    color: selected ? TesselTheme.withAlpha(TesselTheme.mint, 0.6)
                    : (hover.hovered ? TesselTheme.paleMint : TesselTheme.white)
    Accessible.role: Accessible.ListItem
    Accessible.name: entry.term + ", " + Format.firstMeaning(entry, "No English gloss")
    Accessible.selected: selected

    HoverHandler { id: hover }
    TapHandler { onTapped: root.chosen() }

    RowLayout {
        id: row
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        spacing: 10

        Label {
            objectName: "term"
            Layout.preferredWidth: 92
            Layout.maximumWidth: 92
            text: root.entry.term
            // Long terms shrink, then wrap, but are never cut: two entries that differ only
            // near the end must not look the same.
            wrapMode: Text.WrapAnywhere
            font.family: TesselTheme.fontFamilyFor(root.entry.language)
            font.pixelSize: root.entry.term.length <= 4 ? 21 : root.entry.term.length <= 6 ? 15 : 13
            font.bold: true
            color: TesselTheme.forest
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 4
            Label {
                objectName: "reading"
                Layout.fillWidth: true
                // A single space keeps the row's height when there is no reading.
                text: root.entry.reading !== "" ? root.entry.reading : " "
                elide: Text.ElideRight
                maximumLineCount: 1
                font.family: TesselTheme.fontFamilyFor(root.entry.language)
                font.pixelSize: 11
                font.weight: Font.DemiBold
                color: TesselTheme.primary
            }
            Label {
                objectName: "gloss"
                Layout.fillWidth: true
                text: Format.firstMeaning(root.entry, "No English gloss")
                elide: Text.ElideRight
                maximumLineCount: 1
                font.pixelSize: 12
                color: TesselTheme.secondaryText
            }
        }
        Rectangle {
            Layout.alignment: Qt.AlignVCenter
            implicitWidth: badge.implicitWidth + 12
            implicitHeight: badge.implicitHeight + 6
            radius: height / 2
            color: root.selected ? TesselTheme.white : TesselTheme.paleMint
            border.width: 1
            border.color: TesselTheme.line
            Label {
                id: badge
                objectName: "band"
                anchors.centerIn: parent
                text: "B" + root.entry.level
                font.pixelSize: 10
                font.bold: true
                color: TesselTheme.primaryDark
            }
        }
    }
}
