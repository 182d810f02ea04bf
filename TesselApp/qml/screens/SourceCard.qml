// SPDX-License-Identifier: GPL-3.0-or-later
// One open-data source of the lexicon: its symbol, name and licence, the attribution, the
// checksum of the source file (selectable for copying) and links to the project and licence.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle
import "../components/Format.js" as Format

TesselCard {
    id: root

    // A lexicon source (id, name, url, license, licenseURL, attribution, checksum).
    property var source
    readonly property bool isFrequencyList: String(source.id).indexOf("frequency") >= 0

    // Asks for `url` to be opened in the system browser.
    signal openLink(string url)

    padding: 20

    RowLayout {
        spacing: 16

        Rectangle {
            Layout.alignment: Qt.AlignTop
            implicitWidth: 40
            implicitHeight: 40
            radius: 12
            color: TesselTheme.mint
            Icon {
                objectName: "sourceSymbol"
                anchors.centerIn: parent
                name: root.isFrequencyList ? "chart.bar.doc.horizontal.fill" : "books.vertical.fill"
                size: 19
                font.weight: Font.DemiBold
                color: TesselTheme.primary
            }
        }

        ColumnLayout {
            Layout.fillWidth: true
            spacing: 6

            Flow {
                Layout.fillWidth: true
                spacing: 8
                Label {
                    objectName: "sourceName"
                    text: root.source.name
                    font.pixelSize: 14
                    font.bold: true
                    color: TesselTheme.forest
                }
                Rectangle {
                    visible: root.source.license !== ""
                    implicitWidth: licence.implicitWidth + 16
                    implicitHeight: licence.implicitHeight + 8
                    radius: height / 2
                    color: TesselTheme.mint
                    Label {
                        id: licence
                        objectName: "sourceLicense"
                        anchors.centerIn: parent
                        text: root.source.license
                        font.pixelSize: 9
                        font.bold: true
                        color: TesselTheme.primaryDark
                    }
                }
            }
            Label {
                objectName: "sourceAttribution"
                Layout.fillWidth: true
                visible: text !== ""
                text: root.source.attribution
                wrapMode: Text.Wrap
                font.pixelSize: 11
                color: TesselTheme.secondaryText
            }
            TextEdit {
                objectName: "sourceChecksum"
                Layout.fillWidth: true
                text: "SHA-256 " + root.source.checksum
                readOnly: true
                selectByMouse: true
                wrapMode: TextEdit.WrapAnywhere
                font.family: "monospace"
                font.pixelSize: 9
                color: TesselTheme.forest
                opacity: 0.8
                selectionColor: TesselTheme.mint
                selectedTextColor: TesselTheme.forest
            }
            Row {
                spacing: 14
                Repeater {
                    model: [{ title: "Project", url: root.source.url },
                            { title: "License", url: root.source.licenseURL }]
                            .filter(link => Format.isOpenableLink(link.url))
                    delegate: TesselButton {
                        required property var modelData
                        objectName: "link-" + modelData.title
                        flat: true
                        text: modelData.title
                        font.pixelSize: 12
                        textColor: TesselTheme.primary
                        Accessible.role: Accessible.Link
                        Accessible.name: modelData.title + ": " + root.source.name
                        Accessible.description: modelData.url
                        onClicked: root.openLink(modelData.url)
                        HoverHandler { cursorShape: Qt.PointingHandCursor }
                    }
                }
            }
        }
    }
}
