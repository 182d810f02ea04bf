// SPDX-License-Identifier: GPL-3.0-or-later
// The "Brindle needs attention" alert: a title, the message (or "Unknown error") and one "OK".
//
//   AttentionDialog { message: "..."; onClosed: ... }   // open() to show
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import Brindle

Dialog {
    id: root

    property string message

    objectName: "attentionDialog"
    parent: T.Overlay.overlay
    modal: true
    closePolicy: T.Popup.CloseOnEscape
    anchors.centerIn: T.Overlay.overlay
    width: Math.min(440, parent ? parent.width - 80 : 440)
    padding: 24
    topPadding: 22

    background: Rectangle {
        radius: 16
        color: TesselTheme.white
        border.width: 1
        border.color: TesselTheme.line
    }

    T.Overlay.modal: Rectangle {
        color: TesselTheme.withAlpha(TesselTheme.forest, 0.18)
    }

    header: null

    contentItem: ColumnLayout {
        spacing: 10

        Label {
            objectName: "attentionTitle"
            Layout.fillWidth: true
            text: "Brindle needs attention"
            font.pixelSize: 17
            font.bold: true
            color: TesselTheme.forest
            wrapMode: Text.WordWrap
        }
        Label {
            objectName: "attentionMessage"
            Layout.fillWidth: true
            text: root.message !== "" ? root.message : "Unknown error"
            font.pixelSize: 13
            color: TesselTheme.secondaryText
            wrapMode: Text.WordWrap
        }
        TesselButton {
            id: okButton
            objectName: "attentionOK"
            Layout.alignment: Qt.AlignRight
            Layout.topMargin: 8
            Layout.preferredWidth: 90
            text: "OK"
            prominent: true
            onClicked: root.close()
        }
    }

    onOpened: okButton.forceActiveFocus()
}
