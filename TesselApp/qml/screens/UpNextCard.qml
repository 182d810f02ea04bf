// SPDX-License-Identifier: GPL-3.0-or-later
// "Up next" on the home screen: the first four words of today's queue, or a note that the queue
// is clear.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle
import "../components/Format.js" as Format

TesselCard {
    id: root

    // The plan's items (vocabulary items), due ones first.
    property var items: []
    readonly property int shownCount: Math.min(4, Format.listLength(items))

    signal openSession

    padding: 22

    ColumnLayout {
        spacing: 16

        RowLayout {
            Layout.fillWidth: true
            CardHeading {
                Layout.fillWidth: true
                title: "Up next"
                subtitle: "A glimpse of today’s adaptive queue"
            }
            TesselButton {
                objectName: "openSession"
                Layout.alignment: Qt.AlignTop
                flat: true
                text: "Open session"
                font.pixelSize: 12
                textColor: TesselTheme.primary
                onClicked: root.openSession()
            }
        }

        Row {
            id: queue
            objectName: "queue"
            Layout.fillWidth: true
            visible: root.shownCount > 0
            spacing: 12

            Repeater {
                model: root.shownCount
                delegate: Rectangle {
                    id: queueTile
                    required property int index
                    readonly property var item: root.items[index]
                    readonly property string firstMeaning: Format.firstMeaning(item, "")
                    objectName: "queueItem"
                    width: (queue.width - 3 * queue.spacing) / 4
                    height: tile.implicitHeight + 28
                    radius: 16
                    color: TesselTheme.paleMint
                    border.width: 1
                    border.color: TesselTheme.withAlpha(TesselTheme.line, 0.75)

                    Column {
                        id: tile
                        x: 14
                        y: 14
                        width: parent.width - 28
                        spacing: 3
                        Label {
                            objectName: "term"
                            width: parent.width
                            text: queueTile.item.term
                            elide: Text.ElideRight
                            font.family: TesselTheme.fontFamilyFor(queueTile.item.language)
                            font.pixelSize: 22
                            font.bold: true
                            color: TesselTheme.forest
                        }
                        Label {
                            width: parent.width
                            visible: queueTile.item.reading !== ""
                            text: queueTile.item.reading
                            elide: Text.ElideRight
                            font.family: TesselTheme.fontFamilyFor(queueTile.item.language)
                            font.pixelSize: 11
                            font.weight: Font.Medium
                            color: TesselTheme.primary
                        }
                        Label {
                            width: parent.width
                            visible: queueTile.firstMeaning !== ""
                            text: queueTile.firstMeaning
                            elide: Text.ElideRight
                            font.pixelSize: 11
                            color: TesselTheme.secondaryText
                        }
                    }
                }
            }
        }

        Row {
            objectName: "queueClear"
            visible: root.shownCount === 0
            spacing: 8
            Icon {
                name: "checkmark.circle.fill"
                size: 15
                color: TesselTheme.secondaryText
                anchors.verticalCenter: parent.verticalCenter
            }
            Label {
                text: "Your queue is clear. Start a session to keep learning."
                font.pixelSize: 13
                font.weight: Font.Medium
                color: TesselTheme.secondaryText
                anchors.verticalCenter: parent.verticalCenter
            }
        }
    }
}
