// SPDX-License-Identifier: GPL-3.0-or-later
// A card of the settings screen: a heading with its symbol, then the card's rows.
//
//   SettingsCard { heading: "Local voice"; symbol: "waveform"; SettingRow { divided: false … } }
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle

TesselCard {
    id: root

    property string heading
    property string symbol
    default property alias rows: body.data

    padding: 22

    ColumnLayout {
        spacing: 14

        Row {
            spacing: 8
            Icon {
                name: root.symbol
                size: 16
                color: TesselTheme.primary
                anchors.verticalCenter: parent.verticalCenter
            }
            Label {
                text: root.heading
                font.pixelSize: 15
                font.bold: true
                color: TesselTheme.forest
                anchors.verticalCenter: parent.verticalCenter
            }
        }
        ColumnLayout {
            id: body
            Layout.fillWidth: true
            spacing: 12
        }
    }
}
