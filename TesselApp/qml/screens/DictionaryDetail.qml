// SPDX-License-Identifier: GPL-3.0-or-later
// The dictionary's detail pane for one entry: written forms and reading with a speaker button,
// the numbered meanings, the grammar tags, a tile for each of its characters (choosing one opens
// the character panel below the tiles), the entry's place in the study path and its source.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle
import Brindle.Model
import "../components/Format.js" as Format

Flickable {
    id: root

    // A lexicon entry; must be set.
    property var entry
    // The learner's card for the entry; undefined when there is none.
    property var card
    readonly property string family: TesselTheme.fontFamilyFor(entry.language)

    // The character whose panel is open; "" for none.
    property string selectedCharacter: ""

    signal pronounce
    signal viewLicenses
    // A word of the character panel was chosen.
    signal openWord(var entry)

    onEntryChanged: selectedCharacter = ""

    clip: true
    contentWidth: width
    contentHeight: column.implicitHeight + 56
    boundsBehavior: Flickable.StopAtBounds
    ScrollBar.vertical: ScrollBar {}

    component Caption: Label {
        font.pixelSize: 10
        font.bold: true
        font.letterSpacing: 1.15
        color: TesselTheme.secondaryText
    }

    ColumnLayout {
        id: column
        x: 28
        y: 28
        width: root.width - 56
        spacing: 24

        // Plain positioning rather than a layout: a wrapped term changes its height after its
        // width is known, which a column follows at once.
        Item {
            Layout.fillWidth: true
            implicitHeight: Math.max(forms.implicitHeight, speaker.height)

            Column {
                id: forms
                anchors.left: parent.left
                anchors.right: speaker.left
                anchors.rightMargin: 16
                spacing: 4
                TextEdit {
                    objectName: "detailTerm"
                    width: parent.width
                    text: root.entry.term
                    readOnly: true
                    selectByMouse: true
                    wrapMode: TextEdit.Wrap
                    font.family: root.family
                    font.pixelSize: 44
                    font.bold: true
                    color: TesselTheme.forest
                    selectionColor: TesselTheme.mint
                    selectedTextColor: TesselTheme.forest
                }
                Label {
                    objectName: "detailAlternate"
                    width: parent.width
                    // A kana alternate equal to the reading would show the kana twice.
                    visible: root.entry.alternate !== "" && root.entry.alternate !== root.entry.term
                             && root.entry.alternate !== root.entry.reading
                    text: root.entry.alternate
                    wrapMode: Text.Wrap
                    font.family: root.family
                    font.pixelSize: 19
                    font.weight: Font.DemiBold
                    color: TesselTheme.secondaryText
                }
                Label {
                    objectName: "detailReading"
                    width: parent.width
                    visible: root.entry.reading !== ""
                    text: root.entry.reading
                    wrapMode: Text.Wrap
                    font.family: root.family
                    font.pixelSize: 15
                    font.weight: Font.DemiBold
                    color: TesselTheme.primary
                }
            }
            RoundButton {
                id: speaker
                objectName: "pronounce"
                anchors.right: parent.right
                anchors.top: parent.top
                width: 44
                height: 44
                focusPolicy: Qt.StrongFocus
                Accessible.name: "Pronounce " + root.entry.term
                onClicked: root.pronounce()
                contentItem: Icon {
                    name: "speaker.wave.2.fill"
                    size: 17
                    font.weight: Font.DemiBold
                    color: TesselTheme.primary
                }
                background: Rectangle {
                    radius: width / 2
                    color: speaker.pressed ? TesselTheme.mint : TesselTheme.paleMint
                    border.width: speaker.visualFocus ? 2 : 1
                    border.color: speaker.visualFocus ? TesselTheme.primary : TesselTheme.line
                }
            }
        }

        Rectangle {
            Layout.fillWidth: true
            implicitHeight: 1
            color: TesselTheme.line
        }

        ColumnLayout {
            Layout.fillWidth: true
            spacing: 10
            Caption { text: "MEANINGS" }
            Repeater {
                objectName: "meanings"
                model: root.entry.meanings
                delegate: RowLayout {
                    id: meaning
                    required property var modelData
                    required property int index
                    Layout.fillWidth: true
                    spacing: 10
                    Rectangle {
                        Layout.alignment: Qt.AlignTop
                        implicitWidth: 22
                        implicitHeight: 22
                        radius: 11
                        color: TesselTheme.paleMint
                        Label {
                            anchors.centerIn: parent
                            text: meaning.index + 1
                            font.pixelSize: 10
                            font.bold: true
                            color: TesselTheme.primary
                        }
                    }
                    Label {
                        objectName: "meaning"
                        Layout.fillWidth: true
                        Layout.topMargin: 2
                        text: meaning.modelData
                        wrapMode: Text.Wrap
                        font.pixelSize: 14
                        font.weight: Font.Medium
                        color: TesselTheme.forest
                    }
                }
            }
        }

        ColumnLayout {
            Layout.fillWidth: true
            visible: Format.listLength(root.entry.partsOfSpeech) > 0
            spacing: 10
            Caption { text: "GRAMMAR" }
            FlowTags {
                objectName: "grammar"
                values: root.entry.partsOfSpeech
            }
        }

        ColumnLayout {
            id: charactersSection
            Layout.fillWidth: true
            readonly property var characters: AppModel.charactersOf(root.entry.term)
            visible: characters.length > 0
            spacing: 10
            Caption { text: "CHARACTERS" }
            Flow {
                Layout.fillWidth: true
                spacing: 8
                Repeater {
                    id: characterTiles
                    objectName: "characterTiles"
                    model: charactersSection.characters
                    delegate: AbstractButton {
                        id: tile
                        required property string modelData
                        readonly property bool chosen: root.selectedCharacter === modelData
                        objectName: "characterTile-" + modelData
                        implicitWidth: 54
                        implicitHeight: 54
                        focusPolicy: Qt.StrongFocus
                        Accessible.role: Accessible.Button
                        Accessible.name: "Character " + modelData
                        Accessible.checked: chosen
                        Keys.onReturnPressed: clicked()
                        Keys.onEnterPressed: clicked()
                        onClicked: root.selectedCharacter = chosen ? "" : modelData
                        contentItem: Label {
                            text: tile.modelData
                            horizontalAlignment: Text.AlignHCenter
                            verticalAlignment: Text.AlignVCenter
                            font.family: root.family
                            font.pixelSize: 28
                            color: tile.chosen ? TesselTheme.white : TesselTheme.forest
                        }
                        background: Rectangle {
                            radius: 12
                            color: tile.chosen ? TesselTheme.primary
                                               : (tile.hovered ? TesselTheme.mint : TesselTheme.paleMint)
                            border.width: tile.visualFocus ? 2 : 1
                            border.color: tile.visualFocus ? TesselTheme.primaryDark : TesselTheme.line
                        }
                    }
                }
            }
            // Always there, shown while a tile is chosen: it asks the lexicon nothing without a
            // character, and a Loader cannot build an inline component in this bound file.
            CharacterPanel {
                id: characterPanel
                objectName: "characterPanel"
                Layout.fillWidth: true
                visible: root.selectedCharacter !== ""
                character: root.selectedCharacter
                language: root.entry.language
                onOpenWord: entry => root.openWord(entry)
                // The panel's buttons are hidden with it: the keyboard returns to the tile.
                onCloseRequested: {
                    const index = characterTiles.model.indexOf(root.selectedCharacter);
                    root.selectedCharacter = "";
                    if (index >= 0)
                        characterTiles.itemAt(index).forceActiveFocus();
                }
                // Brings the panel's top into view; the pane may be short at the window's minimum
                // size. Not clamped to the content height, which the layout has not grown yet; the
                // rest of the pane below the panel keeps the position within bounds.
                onVisibleChanged: {
                    if (!visible)
                        return;
                    Qt.callLater(() => {
                        const top = characterPanel.mapToItem(root.contentItem, 0, 0).y;
                        root.contentY = Math.max(0, top - 12);
                    });
                }
            }
        }

        ColumnLayout {
            Layout.fillWidth: true
            spacing: 10
            Caption { text: "TESSEL COVERAGE" }
            Flow {
                Layout.fillWidth: true
                spacing: 8
                Repeater {
                    model: Format.coverageChips(root.entry, root.card)
                    delegate: Rectangle {
                        id: chip
                        required property var modelData
                        objectName: "coverageChip"
                        property alias text: chipText.text
                        implicitWidth: chipRow.implicitWidth + 20
                        implicitHeight: chipRow.implicitHeight + 14
                        radius: height / 2
                        color: TesselTheme.paleMint
                        border.width: 1
                        border.color: TesselTheme.withAlpha(TesselTheme.line, 0.75)
                        Row {
                            id: chipRow
                            anchors.centerIn: parent
                            spacing: 5
                            Icon {
                                name: chip.modelData.symbol
                                size: 11
                                color: TesselTheme.primary
                                anchors.verticalCenter: parent.verticalCenter
                            }
                            Label {
                                id: chipText
                                text: chip.modelData.text
                                font.pixelSize: 10
                                font.weight: Font.DemiBold
                                color: TesselTheme.forest
                                anchors.verticalCenter: parent.verticalCenter
                            }
                        }
                    }
                }
            }
            Label {
                Layout.fillWidth: true
                text: "Bands are Brindle usefulness groups, not official HSK or JLPT classifications."
                wrapMode: Text.Wrap
                font.pixelSize: 11
                color: TesselTheme.secondaryText
            }
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 10
            Label {
                objectName: "sourceLine"
                Layout.fillWidth: true
                text: "Source: " + root.entry.source
                elide: Text.ElideRight
                font.pixelSize: 11
                color: TesselTheme.secondaryText
            }
            TesselButton {
                objectName: "viewLicenses"
                flat: true
                text: "View licenses"
                font.pixelSize: 12
                textColor: TesselTheme.primary
                onClicked: root.viewLicenses()
            }
        }
    }
}
