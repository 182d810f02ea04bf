// SPDX-License-Identifier: GPL-3.0-or-later
// "Make it yours": the learner's preferences, backup and restore of the progress file, the reset
// of learning history behind a confirmation, and a few words about Brindle.
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle
import Brindle.Model

ScreenPage {
    id: root

    // The application model; tests hand in a stand-in with the same properties.
    property bool showingResetConfirmation: false
    // Backup and restore: the window's, so that the File menu and this page share one message;
    // a page of its own when shown outside the window (tests).
    property ProgressTransfer transfer: ApplicationWindow.window && ApplicationWindow.window.progressTransfer
                                        ? ApplicationWindow.window.progressTransfer : ownTransfer

    function exportTo(location) { transfer.exportTo(location); }
    function restoreFrom(location) { transfer.restoreFrom(location); }
    function chooseExportFile() { transfer.chooseExportFile(); }

    function askToReset() {
        showingResetConfirmation = true;
        resetDialog.open();
    }

    maxContentWidth: 940

    ProgressTransfer {
        id: ownTransfer
    }

    ResetConfirmation {
        id: resetDialog
        objectName: "resetDialog"
        onConfirmed: AppModel.resetProgress()
        onClosed: root.showingResetConfirmation = false
    }

    SectionTitle {
        Layout.fillWidth: true
        eyebrow: "Settings"
        title: "Make it yours"
        subtitle: "Learning preferences and progress stay on this computer."
    }

    SettingsCard {
        Layout.fillWidth: true
        heading: "Learning rhythm"
        symbol: "calendar.badge.clock"

        SettingRow {
            Layout.fillWidth: true
            divided: false
            title: "Daily card goal"
            detail: "A gentle target, not a limit."
            ChoicePicker {
                objectName: "dailyGoalPicker"
                width: 130
                Accessible.name: "Daily goal"
                values: [10, 20, 30, 50, 100]
                textFor: value => value + " cards"
                current: AppModel.dailyGoal
                onPicked: value => AppModel.dailyGoal = value
            }
        }
        SettingRow {
            Layout.fillWidth: true
            title: "New words per session"
            detail: "Due reviews are always selected first."
            NumberStepper {
                objectName: "newWordsStepper"
                width: 115
                from: 1
                to: 20
                value: AppModel.newWordsPerSession
                Accessible.name: "New words per session"
                onValueModified: AppModel.newWordsPerSession = value
            }
        }
        SettingRow {
            Layout.fillWidth: true
            title: "Starting usefulness band"
            detail: "Lower bands contain more common vocabulary."
            ChoicePicker {
                objectName: "bandPicker"
                width: 130
                Accessible.name: "Starting band"
                values: [1, 2, 3, 4, 5, 6]
                textFor: value => "Band " + value
                current: AppModel.startingBand
                onPicked: value => AppModel.startingBand = value
            }
        }
    }

    SettingsCard {
        Layout.fillWidth: true
        heading: "Study card"
        symbol: "rectangle.and.pencil.and.ellipsis"

        SettingRow {
            Layout.fillWidth: true
            divided: false
            title: "Show sentence translation"
            detail: "Keep the English cue visible while answering."
            ToggleSwitch {
                objectName: "showTranslationSwitch"
                Accessible.name: "Show sentence translation"
                checked: AppModel.showTranslation
                onToggled: AppModel.showTranslation = checked
            }
        }
        SettingRow {
            Layout.fillWidth: true
            title: "Show reading after answer"
            detail: "Display pinyin or kana in feedback."
            ToggleSwitch {
                objectName: "showReadingSwitch"
                Accessible.name: "Show reading after answer"
                checked: AppModel.showReading
                onToggled: AppModel.showReading = checked
            }
        }
        SettingRow {
            Layout.fillWidth: true
            title: "Play audio automatically"
            detail: "Use the system Mandarin or Japanese voice for each card."
            ToggleSwitch {
                objectName: "autoplaySwitch"
                Accessible.name: "Play audio automatically"
                checked: AppModel.playAudioAutomatically
                onToggled: AppModel.playAudioAutomatically = checked
            }
        }
    }

    SettingsCard {
        Layout.fillWidth: true
        heading: "Local voice"
        symbol: "waveform"

        SettingRow {
            Layout.fillWidth: true
            divided: false
            title: "Speech speed"
            detail: "Uses an installed system voice; no recording is downloaded."
            Icon {
                name: "tortoise.fill"
                size: 15
                color: TesselTheme.secondaryText
                anchors.verticalCenter: parent.verticalCenter
            }
            SpeedSlider {
                objectName: "speechRateSlider"
                width: 150
                from: 0.3
                to: 0.56
                value: AppModel.speechRate
                Accessible.name: "Speech speed"
                onMoved: AppModel.speechRate = value
                anchors.verticalCenter: parent.verticalCenter
            }
            Icon {
                name: "hare.fill"
                size: 15
                color: TesselTheme.secondaryText
                anchors.verticalCenter: parent.verticalCenter
            }
        }
    }

    SettingsCard {
        Layout.fillWidth: true
        heading: "Your data"
        symbol: "externaldrive.fill"

        SettingRow {
            Layout.fillWidth: true
            divided: false
            title: "Portable progress backup"
            detail: "Export or restore a human-readable local JSON file."
            TesselButton {
                objectName: "importButton"
                text: "Import…"
                onClicked: root.transfer.chooseImportFile()
            }
            TesselButton {
                objectName: "exportButton"
                text: "Export…"
                prominent: true
                onClicked: root.chooseExportFile()
            }
        }
        SettingRow {
            Layout.fillWidth: true
            title: "Reset learning history"
            detail: "Removes reviews, streaks, and local statistics."
            TesselButton {
                objectName: "resetButton"
                text: "Reset…"
                onClicked: root.askToReset()
            }
        }
        Item {
            objectName: "transferMessage"
            Layout.fillWidth: true
            Layout.topMargin: 2
            visible: root.transfer.transferMessage !== ""
            implicitHeight: Math.max(messageIcon.implicitHeight, messageText.implicitHeight)
            Icon {
                id: messageIcon
                name: "checkmark.circle.fill"
                size: 14
                color: TesselTheme.primary
            }
            Label {
                id: messageText
                objectName: "transferMessageText"
                anchors.left: messageIcon.right
                anchors.leftMargin: 7
                anchors.right: parent.right
                text: root.transfer.transferMessage
                wrapMode: Text.Wrap
                font.pixelSize: 12
                font.weight: Font.DemiBold
                color: TesselTheme.forest
            }
        }
    }

    SettingsCard {
        Layout.fillWidth: true
        heading: "About Brindle"
        symbol: "leaf.fill"

        Label {
            Layout.fillWidth: true
            text: "Brindle " + Qt.application.version
            font.pixelSize: 15
            font.bold: true
            color: TesselTheme.forest
        }
        Label {
            Layout.fillWidth: true
            text: "A clean-room, fully local Mandarin and Japanese vocabulary studio. Working title—complete trademark clearance before sale."
            wrapMode: Text.Wrap
            font.pixelSize: 11
            color: TesselTheme.secondaryText
        }
        TesselButton {
            objectName: "dataSources"
            flat: true
            text: "Data sources"
            textColor: TesselTheme.primary
            onClicked: AppModel.destination = "sources"
        }
    }
}
