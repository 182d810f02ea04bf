// SPDX-License-Identifier: GPL-3.0-or-later
// Onboarding choice of a starting level: symbol tile, title over detail, and a check mark.
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle

AbstractButton {
    id: root

    property string title
    property string detail
    property string symbol
    property bool selected: false

    focusPolicy: Qt.StrongFocus
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()
    padding: 16
    implicitHeight: implicitContentHeight + topPadding + bottomPadding
    Accessible.name: title

    background: Rectangle {
        radius: 16
        color: TesselTheme.white
        border.width: root.selected ? 2 : 1
        border.color: root.selected || root.visualFocus ? TesselTheme.primary : TesselTheme.line
    }

    contentItem: RowLayout {
        spacing: 14

        Rectangle {
            implicitWidth: 42
            implicitHeight: 42
            radius: 12
            color: root.selected ? TesselTheme.primary : TesselTheme.mint
            Icon {
                anchors.centerIn: parent
                name: root.symbol
                size: 20
                color: root.selected ? TesselTheme.white : TesselTheme.primary
            }
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 2
            Label {
                Layout.fillWidth: true
                text: root.title
                font.pixelSize: 15
                font.bold: true
                color: TesselTheme.forest
            }
            Label {
                Layout.fillWidth: true
                text: root.detail
                font.pixelSize: 12
                color: TesselTheme.secondaryText
                wrapMode: Text.WordWrap
            }
        }
        Icon {
            objectName: "checkIcon"
            name: root.selected ? "checkmark.circle.fill" : "circle"
            size: 20
            color: root.selected ? TesselTheme.primary : TesselTheme.line
        }
    }
}
