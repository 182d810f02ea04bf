// SPDX-License-Identifier: GPL-3.0-or-later
// Shown when the system could not open a link (no browser, for example): the address, selectable,
// and "Copy" to put it on the clipboard.
//
//   LinkFallbackDialog { id: fallback }   fallback.show("https://…")
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import Brindle

Dialog {
    id: root

    property string address

    function show(url) {
        address = url;
        copyButton.text = "Copy";
        open();
    }

    objectName: "linkFallbackDialog"
    parent: T.Overlay.overlay
    modal: true
    closePolicy: T.Popup.CloseOnEscape | T.Popup.CloseOnPressOutside
    anchors.centerIn: T.Overlay.overlay
    width: Math.min(500, parent ? parent.width - 80 : 500)
    padding: 24
    topPadding: 22
    header: null
    title: "The link could not be opened"

    background: Rectangle {
        radius: 16
        color: TesselTheme.white
        border.width: 1
        border.color: TesselTheme.line
    }
    T.Overlay.modal: Rectangle {
        color: TesselTheme.withAlpha(TesselTheme.forest, 0.18)
    }

    contentItem: ColumnLayout {
        spacing: 10

        Label {
            Layout.fillWidth: true
            text: "The link could not be opened"
            font.pixelSize: 17
            font.bold: true
            color: TesselTheme.forest
            wrapMode: Text.WordWrap
        }
        Label {
            Layout.fillWidth: true
            text: "No program on this computer opened it. Copy the address to open it elsewhere."
            font.pixelSize: 13
            color: TesselTheme.secondaryText
            wrapMode: Text.WordWrap
        }
        TextField {
            id: addressField
            objectName: "linkAddress"
            Layout.fillWidth: true
            text: root.address
            readOnly: true
            selectByMouse: true
            font.pixelSize: 12
            color: TesselTheme.forest
            Accessible.name: "Address"
        }
        RowLayout {
            Layout.topMargin: 8
            spacing: 10
            Item { Layout.fillWidth: true }
            TesselButton {
                id: copyButton
                objectName: "linkCopy"
                text: "Copy"
                onClicked: {
                    addressField.selectAll();
                    addressField.copy();
                    addressField.deselect();
                    text = "Copied";
                }
            }
            TesselButton {
                id: closeButton
                objectName: "linkClose"
                Layout.preferredWidth: 90
                text: "Close"
                prominent: true
                onClicked: root.close()
            }
        }
    }

    onOpened: closeButton.forceActiveFocus()
}
