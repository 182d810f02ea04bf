// SPDX-License-Identifier: GPL-3.0-or-later
// One word as a line that opens it elsewhere: the written form, its reading over its first
// meaning, and a note at the right (how often it lapsed, what the learner typed).
//
//   WordLink { item: AppModel.leeches[0].item; note: "12 lapses"; onClicked: ... }
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle
import "Format.js" as Format

AbstractButton {
    id: root

    // A vocabulary item (language, term, reading, meanings).
    property var item
    property string note
    // The note in the language's font (a typed answer) rather than the interface's.
    property bool noteInLanguage: false

    focusPolicy: Qt.StrongFocus
    Accessible.role: Accessible.Link
    Accessible.name: item.term + ", " + Format.firstMeaning(item, "No English gloss")
                     + (note !== "" ? ", " + note : "")
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()
    leftPadding: 12
    rightPadding: 12
    topPadding: 7
    bottomPadding: 7

    background: Rectangle {
        radius: 12
        color: root.hovered || root.visualFocus ? TesselTheme.paleMint : TesselTheme.white
        border.width: root.visualFocus ? 2 : 1
        border.color: root.visualFocus ? TesselTheme.primary : TesselTheme.line
    }

    contentItem: RowLayout {
        spacing: 12
        Label {
            objectName: "term"
            Layout.preferredWidth: 84
            text: root.item.term
            wrapMode: Text.WrapAnywhere
            font.family: TesselTheme.fontFamilyFor(root.item.language)
            font.pixelSize: root.item.term.length <= 4 ? 20 : 14
            font.bold: true
            color: TesselTheme.forest
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 3
            Label {
                objectName: "reading"
                Layout.fillWidth: true
                text: root.item.reading !== "" ? root.item.reading : " "
                elide: Text.ElideRight
                font.family: TesselTheme.fontFamilyFor(root.item.language)
                font.pixelSize: 11
                font.weight: Font.DemiBold
                color: TesselTheme.primary
            }
            Label {
                objectName: "meaning"
                Layout.fillWidth: true
                text: Format.firstMeaning(root.item, "No English gloss")
                elide: Text.ElideRight
                font.pixelSize: 12
                color: TesselTheme.secondaryText
            }
        }
        Label {
            objectName: "note"
            Layout.maximumWidth: 180
            text: root.note
            elide: Text.ElideRight
            font.family: root.noteInLanguage ? TesselTheme.fontFamilyFor(root.item.language)
                                             : TesselTheme.fontFamily
            font.pixelSize: 12
            font.weight: Font.DemiBold
            color: TesselTheme.forest
        }
    }
}
