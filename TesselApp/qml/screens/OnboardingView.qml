// SPDX-License-Identifier: GPL-3.0-or-later
// First start: three steps choosing the language, the starting band and the daily goal.
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle
import Brindle.Model

Item {
    id: root

    // 0 language, 1 starting level, 2 daily goal.
    property int step: 0

    function advance() {
        if (step < 2)
            step += 1
        else
            AppModel.completeOnboarding()
    }

    BrandPanel {
        id: brand
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        width: 390
    }

    Rectangle {
        anchors.left: brand.right
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        color: TesselTheme.white

        ColumnLayout {
            anchors.fill: parent
            anchors.topMargin: 54
            anchors.leftMargin: 38
            anchors.rightMargin: 38
            anchors.bottomMargin: 34
            spacing: 0

            RowLayout {
                spacing: 6
                Repeater {
                    model: 3
                    Rectangle {
                        required property int index
                        Layout.preferredWidth: index === root.step ? 34 : 10
                        Layout.preferredHeight: 7
                        radius: 3.5
                        color: index <= root.step ? TesselTheme.primary : TesselTheme.line
                    }
                }
                Label {
                    objectName: "stepLabel"
                    Layout.leftMargin: 6
                    text: (root.step + 1) + " of 3"
                    font.pixelSize: 12
                    font.weight: Font.Medium
                    color: TesselTheme.secondaryText
                }
            }

            Loader {
                id: stepLoader
                objectName: "stepContent"
                Layout.fillWidth: true
                Layout.topMargin: 30
                sourceComponent: [languageStep, levelStep, goalStep][root.step]
            }

            Item { Layout.fillHeight: true }

            RowLayout {
                Layout.fillWidth: true
                TesselButton {
                    objectName: "backButton"
                    visible: root.step >= 1
                    text: "Back"
                    onClicked: root.step -= 1
                }
                Item { Layout.fillWidth: true }
                TesselButton {
                    objectName: "continueButton"
                    prominent: true
                    text: root.step === 2 ? "Start growing" : "Continue"
                    onClicked: root.advance()
                }
            }
        }
    }

    Component {
        id: languageStep

        ColumnLayout {
            spacing: 26
            SectionTitle {
                Layout.fillWidth: true
                eyebrow: "Choose a language"
                title: "What would you like to grow?"
                subtitle: "You can switch at any time. Progress is tracked separately."
            }
            RowLayout {
                Layout.fillWidth: true
                spacing: 16
                Repeater {
                    model: [
                        { language: "chinese", native: "你好", label: "Mandarin Chinese",
                          detail: "Simplified + traditional forms · Pinyin · local audio" },
                        { language: "japanese", native: "こんにちは", label: "Japanese",
                          detail: "Kanji + kana readings · common usage · local audio" }
                    ]
                    LanguageCard {
                        required property var modelData
                        Layout.fillWidth: true
                        Layout.preferredWidth: 1
                        Layout.fillHeight: true
                        objectName: "languageCard-" + modelData.language
                        language: modelData.language
                        nativeSample: modelData.native
                        label: modelData.label
                        detail: modelData.detail
                        selected: AppModel.onboardingLanguage === modelData.language
                        onClicked: AppModel.onboardingLanguage = modelData.language
                    }
                }
            }
        }
    }

    Component {
        id: levelStep

        ColumnLayout {
            spacing: 26
            SectionTitle {
                Layout.fillWidth: true
                eyebrow: "Starting point"
                title: "Where should we begin?"
                subtitle: "This selects your first usefulness band. It is not an exam score."
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 12
                Repeater {
                    model: [
                        { level: 1, title: "New seedling", symbol: "leaf.fill",
                          detail: "Start with the highest-use everyday vocabulary" },
                        { level: 3, title: "Already exploring", symbol: "figure.walk",
                          detail: "I know basic phrases and common characters" },
                        { level: 5, title: "Strong foundation", symbol: "tree.fill",
                          detail: "Begin with more varied, lower-frequency language" }
                    ]
                    LevelRow {
                        required property var modelData
                        Layout.fillWidth: true
                        objectName: "levelRow-" + modelData.level
                        title: modelData.title
                        detail: modelData.detail
                        symbol: modelData.symbol
                        selected: AppModel.onboardingLevel === modelData.level
                        onClicked: AppModel.onboardingLevel = modelData.level
                    }
                }
            }
        }
    }

    Component {
        id: goalStep

        ColumnLayout {
            spacing: 26
            SectionTitle {
                Layout.fillWidth: true
                eyebrow: "Daily goal"
                title: "Set a gentle daily rhythm"
                subtitle: "Consistency matters more than long sessions. Change this whenever you like."
            }
            RowLayout {
                Layout.fillWidth: true
                spacing: 14
                Repeater {
                    model: [10, 20, 30]
                    GoalTile {
                        required property int modelData
                        Layout.fillWidth: true
                        Layout.preferredWidth: 1
                        objectName: "goalTile-" + modelData
                        value: modelData
                        selected: AppModel.dailyGoal === modelData
                        onClicked: AppModel.dailyGoal = modelData
                    }
                }
            }
            RowLayout {
                spacing: 7
                Icon {
                    name: "sparkles"
                    size: 14
                    color: TesselTheme.primary
                }
                Label {
                    Layout.fillWidth: true
                    text: "The first session will mix a small number of new words with adaptive review."
                    font.pixelSize: 13
                    color: TesselTheme.secondaryText
                    wrapMode: Text.WordWrap
                }
            }
        }
    }
}
