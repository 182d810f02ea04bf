// SPDX-License-Identifier: GPL-3.0-or-later
// The left column: logo, language switch, navigation with the Today badge, and the privacy note.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle.Model
import "Destinations.js" as Destinations

Rectangle {
    id: root

    color: TesselTheme.white

    // "Learn" with no session starts one (which shows the study page); otherwise just navigate,
    // so a session waiting on its verdict is resumed, never restarted.
    function navigate(key) {
        if (key === "learn" && AppModel.sessionPhase === "idle")
            AppModel.beginSession(false)
        else
            AppModel.destination = key
    }

    Rectangle {
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        width: 1
        color: TesselTheme.withAlpha(TesselTheme.line, 0.75)
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.leftMargin: 16
        anchors.rightMargin: 17
        anchors.topMargin: 24
        anchors.bottomMargin: 20
        spacing: 0

        RowLayout {
            spacing: 10
            Layout.leftMargin: 4

            TesselLogo { size: 35 }
            Column {
                spacing: 1
                Label {
                    text: "Brindle"
                    font.pixelSize: 18
                    font.bold: true
                    color: TesselTheme.forest
                }
                Label {
                    text: "grow your vocabulary"
                    font.pixelSize: 9
                    font.weight: Font.Medium
                    color: TesselTheme.secondaryText
                }
            }
        }

        RowLayout {
            Layout.topMargin: 22
            Layout.fillWidth: true
            spacing: 8

            Repeater {
                model: ["chinese", "japanese"]
                TesselPill {
                    required property string modelData
                    objectName: "language-" + modelData
                    Layout.fillWidth: true
                    Layout.preferredWidth: 1
                    text: AppModel.nativeLanguageName(modelData)
                    font.family: TesselTheme.fontFamilyFor(modelData)
                    selected: AppModel.selectedLanguage === modelData
                    Accessible.name: AppModel.languageName(modelData)
                    onClicked: AppModel.selectLanguage(modelData)
                }
            }
        }

        Label {
            Layout.topMargin: 26
            Layout.leftMargin: 4
            text: "LEARN"
            font.pixelSize: 10
            font.bold: true
            font.letterSpacing: 1.2
            color: TesselTheme.withAlpha(TesselTheme.secondaryText, 0.75)
        }

        Column {
            Layout.topMargin: 8
            Layout.fillWidth: true
            spacing: 3
            Repeater {
                model: Destinations.mainGroup
                delegate: navButton
            }
        }

        Column {
            Layout.topMargin: 18
            Layout.fillWidth: true
            spacing: 3
            Repeater {
                model: Destinations.secondGroup
                delegate: navButton
            }
        }

        Item { Layout.fillHeight: true }

        RowLayout {
            Layout.leftMargin: 4
            spacing: 9
            Icon {
                name: "lock.shield.fill"
                size: 18
                color: TesselTheme.primary
            }
            Column {
                spacing: 1
                Label {
                    text: "Private by design"
                    font.pixelSize: 11
                    font.weight: Font.DemiBold
                    color: TesselTheme.forest
                }
                Label {
                    text: "No account · no cloud"
                    font.pixelSize: 9
                    color: TesselTheme.secondaryText
                }
            }
        }
    }

    Component {
        id: navButton

        AbstractButton {
            id: button

            required property string modelData
            readonly property var entry: Destinations.find(modelData)
            readonly property bool selected: AppModel.destination === modelData
            readonly property int dueCount: AppModel.plan ? AppModel.plan.availableDueCount : 0

            objectName: "nav-" + modelData
            width: parent.width
            height: 38
            focusPolicy: Qt.StrongFocus
            Keys.onReturnPressed: clicked()
            Keys.onEnterPressed: clicked()
            text: entry.label
            Accessible.name: entry.label
            onClicked: root.navigate(modelData)

            background: Rectangle {
                radius: 10
                color: button.selected ? TesselTheme.white
                                       : (button.hovered ? TesselTheme.withAlpha(TesselTheme.paleMint, 0.9) : "transparent")
                border.width: button.selected || button.visualFocus ? 1 : 0
                border.color: button.visualFocus ? TesselTheme.primary : TesselTheme.line

                // The selected row stands out from the white column by a faint lift.
                Rectangle {
                    visible: button.selected
                    z: -1
                    anchors.fill: parent
                    anchors.topMargin: 2
                    anchors.bottomMargin: -2
                    radius: parent.radius
                    color: TesselTheme.withAlpha(TesselTheme.forest, 0.06)
                }
            }

            contentItem: RowLayout {
                spacing: 8
                Icon {
                    Layout.preferredWidth: 20
                    Layout.leftMargin: 4
                    name: button.entry.symbol
                    size: 16
                    color: button.selected ? TesselTheme.primary : TesselTheme.forest
                }
                Label {
                    Layout.fillWidth: true
                    text: button.entry.label
                    font.pixelSize: 14
                    font.weight: Font.DemiBold
                    color: TesselTheme.forest
                    elide: Text.ElideRight
                }
                Rectangle {
                    objectName: "todayBadge"
                    visible: button.modelData === "home" && button.dueCount >= 1
                    Layout.rightMargin: 6
                    implicitWidth: Math.max(height, badgeText.implicitWidth + 14)
                    implicitHeight: badgeText.implicitHeight + 4
                    radius: height / 2
                    color: button.selected ? TesselTheme.white : TesselTheme.primary
                    border.width: button.selected ? 1 : 0
                    border.color: TesselTheme.primary
                    Label {
                        id: badgeText
                        objectName: "todayBadgeText"
                        anchors.centerIn: parent
                        text: button.dueCount
                        font.pixelSize: 11
                        font.bold: true
                        color: button.selected ? TesselTheme.primary : TesselTheme.white
                    }
                }
            }
        }
    }
}
