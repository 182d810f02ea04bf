// SPDX-License-Identifier: GPL-3.0-or-later
// Onboarding choice of a study language: native sample, name and detail, with a check mark.
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle

AbstractButton {
    id: root

    property string language
    property string nativeSample
    property string label
    property string detail
    property bool selected: false

    focusPolicy: Qt.StrongFocus
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()
    padding: 20
    implicitHeight: implicitContentHeight + topPadding + bottomPadding
    Accessible.name: label

    background: Rectangle {
        radius: 18
        color: TesselTheme.white
        border.width: root.selected ? 2 : 1
        border.color: root.selected || root.visualFocus ? TesselTheme.primary : TesselTheme.line
    }

    contentItem: ColumnLayout {
        spacing: 6

        RowLayout {
            Layout.fillWidth: true
            Label {
                Layout.fillWidth: true
                text: root.nativeSample
                font.family: TesselTheme.fontFamilyFor(root.language)
                font.pixelSize: 30
                font.bold: true
                color: TesselTheme.forest
                elide: Text.ElideRight
            }
            Icon {
                Layout.alignment: Qt.AlignTop
                objectName: "checkIcon"
                name: root.selected ? "checkmark.circle.fill" : "circle"
                size: 21
                color: root.selected ? TesselTheme.primary : TesselTheme.line
            }
        }
        Label {
            Layout.topMargin: 8
            Layout.fillWidth: true
            text: root.label
            font.pixelSize: 16
            font.bold: true
            color: TesselTheme.forest
            wrapMode: Text.WordWrap
        }
        Label {
            Layout.fillWidth: true
            text: root.detail
            font.pixelSize: 12
            color: TesselTheme.secondaryText
            wrapMode: Text.WordWrap
        }
    }
}
