// SPDX-License-Identifier: GPL-3.0-or-later
// The question asked before learning history is erased. "Reset learning history" emits
// `confirmed` and closes; "Cancel", Escape or a click outside only close.
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import Brindle

Dialog {
    id: root

    signal confirmed

    modal: true
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
    anchors.centerIn: T.Overlay.overlay
    width: Math.min(440, parent ? parent.width - 80 : 440)
    padding: 24
    topPadding: 22
    header: null

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
            objectName: "resetTitle"
            Layout.fillWidth: true
            text: "Reset all learning history?"
            wrapMode: Text.WordWrap
            font.pixelSize: 17
            font.bold: true
            color: TesselTheme.forest
        }
        Label {
            objectName: "resetMessage"
            Layout.fillWidth: true
            text: "Export a backup first if you may want this progress later."
            wrapMode: Text.WordWrap
            font.pixelSize: 13
            color: TesselTheme.secondaryText
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            Layout.topMargin: 8
            spacing: 10
            TesselButton {
                id: cancelButton
                objectName: "resetCancel"
                text: "Cancel"
                onClicked: root.close()
            }
            TesselButton {
                objectName: "resetConfirm"
                text: "Reset learning history"
                textColor: TesselTheme.destructive
                onClicked: {
                    root.confirmed();
                    root.close();
                }
            }
        }
    }

    // The safe choice has the keyboard, so Return does not erase anything by accident.
    onOpened: cancelButton.forceActiveFocus()
}
