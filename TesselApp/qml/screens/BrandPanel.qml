// SPDX-License-Identifier: GPL-3.0-or-later
// The onboarding's green brand panel: the logo, the promise and the privacy note.
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle

Item {
    id: root

    clip: true

    // A diagonal gradient (top left to bottom right): a vertical gradient on a square as large as
    // the panel's diagonal, turned so that its axis runs corner to corner.
    Rectangle {
        readonly property real diagonal: Math.sqrt(root.width * root.width + root.height * root.height)
        width: diagonal
        height: diagonal
        anchors.centerIn: parent
        rotation: -Math.atan2(root.width, root.height) * 180 / Math.PI
        gradient: Gradient {
            GradientStop { position: 0; color: TesselTheme.forest }
            GradientStop { position: 0.55; color: TesselTheme.primaryDark }
            GradientStop { position: 1; color: TesselTheme.primary }
        }
    }

    Rectangle {
        width: 380
        height: 380
        radius: 190
        x: root.width / 2 - 130 - width / 2
        y: root.height / 2 + 250 - height / 2
        color: TesselTheme.withAlpha(TesselTheme.white, 0.06)
    }
    Rectangle {
        width: 250
        height: 250
        radius: 125
        x: root.width / 2 + 160 - width / 2
        y: root.height / 2 - 260 - height / 2
        color: TesselTheme.withAlpha(TesselTheme.white, 0.05)
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.leftMargin: 36
        anchors.rightMargin: 20
        anchors.topMargin: 44
        anchors.bottomMargin: 36
        spacing: 0

        RowLayout {
            spacing: 12
            Rectangle {
                implicitWidth: 42
                implicitHeight: 42
                radius: 13
                color: "transparent"
                border.width: 1
                border.color: TesselTheme.withAlpha(TesselTheme.white, 0.45)
                TesselLogo {
                    anchors.centerIn: parent
                    size: 42
                    radius: 13
                    z: -1
                }
            }
            Label {
                text: "Brindle"
                font.pixelSize: 22
                font.bold: true
                color: TesselTheme.white
            }
        }

        Item { Layout.fillHeight: true }

        // The leaf in a soft circle: the two tones of the filled symbol.
        Rectangle {
            implicitWidth: 72
            implicitHeight: 72
            radius: 36
            color: TesselTheme.withAlpha(TesselTheme.white, 0.16)
            Icon {
                anchors.centerIn: parent
                name: "leaf.fill"
                size: 40
                color: TesselTheme.white
            }
        }

        Label {
            Layout.topMargin: 22
            Layout.fillWidth: true
            text: "Grow words\nthat stay with you."
            wrapMode: Text.WordWrap
            font.pixelSize: 38
            font.bold: true
            font.letterSpacing: -1.2
            lineHeight: 1.05
            color: TesselTheme.white
        }
        Label {
            Layout.topMargin: 16
            Layout.fillWidth: true
            text: "A focused Mandarin and Japanese learning studio that runs entirely on your computer."
            font.pixelSize: 15
            color: TesselTheme.withAlpha(TesselTheme.white, 0.77)
            wrapMode: Text.WordWrap
            lineHeight: 1.15
        }

        Item { Layout.fillHeight: true }

        RowLayout {
            spacing: 7
            Icon {
                name: "lock.fill"
                size: 13
                color: TesselTheme.withAlpha(TesselTheme.white, 0.8)
            }
            Label {
                Layout.fillWidth: true
                text: "Your learning history never leaves this device"
                font.pixelSize: 11
                color: TesselTheme.withAlpha(TesselTheme.white, 0.8)
                wrapMode: Text.WordWrap
            }
        }
    }
}
