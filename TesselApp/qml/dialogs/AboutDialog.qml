// SPDX-License-Identifier: GPL-3.0-or-later
// "About Brindle" (Help menu): the version, the licences of the code and content, and every data
// source of the lexicon with its licence. "Data sources" opens the sources page.
//
//   AboutDialog { id: about }   // about.open() to show
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import Brindle
import Brindle.Model

Dialog {
    id: root

    objectName: "aboutDialog"
    parent: T.Overlay.overlay
    modal: true
    closePolicy: T.Popup.CloseOnEscape | T.Popup.CloseOnPressOutside
    anchors.centerIn: T.Overlay.overlay
    width: Math.min(520, parent ? parent.width - 80 : 520)
    padding: 24
    topPadding: 22
    header: null
    title: "About Brindle"

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

        RowLayout {
            spacing: 12
            TesselLogo { size: 38 }
            Column {
                Label {
                    objectName: "aboutTitle"
                    text: "Brindle " + Qt.application.version
                    font.pixelSize: 17
                    font.bold: true
                    color: TesselTheme.forest
                }
                Label {
                    text: "A fully local Mandarin and Japanese vocabulary studio."
                    font.pixelSize: 12
                    color: TesselTheme.secondaryText
                }
            }
        }

        ColumnLayout {
            Layout.fillWidth: true
            spacing: 8

            Label {
                Layout.topMargin: 6
                text: "Licences"
                font.pixelSize: 13
                font.bold: true
                color: TesselTheme.forest
            }
            Label {
                objectName: "aboutLicences"
                Layout.fillWidth: true
                text: "Brindle’s code: GNU General Public License 3.0 or later.\n"
                      + "Starter exercises: CC BY-SA 4.0, Brindle contributors.\n"
                      + "Icons: Material Design Icons, Apache License 2.0.\n"
                      + "Dictionary data: the licences of its sources, below."
                wrapMode: Text.Wrap
                font.pixelSize: 12
                lineHeight: 1.15
                color: TesselTheme.secondaryText
            }
            Label {
                Layout.topMargin: 6
                text: "Data sources"
                font.pixelSize: 13
                font.bold: true
                color: TesselTheme.forest
            }
            Repeater {
                objectName: "aboutSources"
                model: AppModel.sources
                delegate: Label {
                    required property var modelData
                    Layout.fillWidth: true
                    text: modelData.name + " — " + modelData.license
                    wrapMode: Text.Wrap
                    font.pixelSize: 12
                    color: TesselTheme.secondaryText
                }
            }
        }

        RowLayout {
            Layout.topMargin: 8
            spacing: 10
            Item { Layout.fillWidth: true }
            TesselButton {
                objectName: "aboutDataSources"
                text: "Data sources"
                visible: AppModel.hasCompletedOnboarding
                onClicked: {
                    AppModel.destination = "sources";
                    root.close();
                }
            }
            TesselButton {
                id: closeButton
                objectName: "aboutClose"
                Layout.preferredWidth: 90
                text: "Close"
                prominent: true
                onClicked: root.close()
            }
        }
    }

    onOpened: closeButton.forceActiveFocus()
}
