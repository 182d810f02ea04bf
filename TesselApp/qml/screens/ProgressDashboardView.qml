// SPDX-License-Identifier: GPL-3.0-or-later
// "Your growth": the streak, four headline figures, thirty days of correct and missed recall,
// memory health, how much of the course has been learned and the words that keep slipping, for
// the selected language.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle
import Brindle.Model
import "../components/Format.js" as Format

ScreenPage {
    id: root

    // The application model; tests hand in a stand-in with the same properties.
    // Moves on every minute so the thirty days roll over at midnight while the screen is open.
    property int clockTick: 0

    readonly property var recentDays: {
        AppModel.statisticsRevision;
        clockTick;
        return AppModel.statsForRecentDays(30);
    }
    readonly property int learned: AppModel.learnedCount

    maxContentWidth: 1220

    Timer {
        interval: 60 * 1000
        repeat: true
        running: root.visible
        onTriggered: root.clockTick += 1
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 16
        SectionTitle {
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignBottom
            eyebrow: AppModel.nativeLanguageName(AppModel.selectedLanguage)
            title: "Your growth"
            subtitle: "Progress reflects demonstrated recall, not a vague completion badge."
        }
        BadgePill {
            objectName: "streakPill"
            Layout.alignment: Qt.AlignBottom
            symbol: "flame.fill"
            selected: AppModel.streak.currentDays > 0
            text: Format.counted(AppModel.streak.currentDays, "day", "days")
        }
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 14
        Repeater {
            model: [
                { symbol: "leaf.fill", value: Format.grouped(AppModel.learnedCount),
                  label: "Words planted" },
                { symbol: "shield.checkered", value: Format.grouped(AppModel.stableCount),
                  label: "Stable words" },
                { symbol: "rectangle.stack.fill", value: Format.grouped(AppModel.totalAnswerCount),
                  label: "All answers" },
                { symbol: "target", label: "Accuracy",
                  value: AppModel.overallAccuracyText }
            ]
            delegate: StatCard {
                required property var modelData
                objectName: "metric-" + modelData.label
                Layout.fillWidth: true
                Layout.preferredWidth: 1
                symbol: modelData.symbol
                symbolSize: 15
                value: modelData.value
                valueSize: 24
                label: modelData.label
                labelSize: 11
            }
        }
    }

    TesselCard {
        objectName: "activity"
        Layout.fillWidth: true
        padding: 22

        ColumnLayout {
            spacing: 16

            RowLayout {
                Layout.fillWidth: true
                spacing: 16
                CardHeading {
                    Layout.fillWidth: true
                    title: "Thirty-day activity"
                    subtitle: "Correct and incorrect recall attempts"
                }
                Repeater {
                    model: [{ name: "Correct", color: TesselTheme.primary },
                            { name: "Again", color: TesselTheme.mint }]
                    delegate: Row {
                        id: legendEntry
                        required property var modelData
                        Layout.alignment: Qt.AlignTop
                        spacing: 6
                        Rectangle {
                            width: 10
                            height: 10
                            radius: 3
                            color: legendEntry.modelData.color
                            anchors.verticalCenter: parent.verticalCenter
                        }
                        Label {
                            text: legendEntry.modelData.name
                            font.pixelSize: 10
                            font.weight: Font.Medium
                            color: TesselTheme.secondaryText
                        }
                    }
                }
            }

            BarChart {
                objectName: "monthChart"
                Layout.fillWidth: true
                Layout.preferredHeight: 210
                barRadius: 3
                barWidthRatio: 0.7
                maxBarWidth: 22
                xTitle: "Day"
                yTitle: "Count"
                series: [{ name: "Correct", color: TesselTheme.primary },
                         { name: "Again", color: TesselTheme.mint }]
                points: root.recentDays.map((entry, index) => ({
                    label: index % 5 === 0 ? Format.monthDay(entry.day) : "",
                    name: Format.longDate(entry.day),
                    values: [entry.stats.correctCount, entry.stats.incorrectCount]
                }))
            }
        }
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 18

        TesselCard {
            objectName: "memoryHealth"
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            Layout.alignment: Qt.AlignTop
            padding: 22

            ColumnLayout {
                spacing: 16
                CardHeading { Layout.fillWidth: true; title: "Memory health" }
                ProgressLine {
                    objectName: "dueNow"
                    Layout.fillWidth: true
                    title: "Due now"
                    value: AppModel.plan.availableDueCount
                    total: root.learned
                    detail: "Scheduled for reinforcement"
                }
                ProgressLine {
                    objectName: "stable"
                    Layout.fillWidth: true
                    title: "Stable 21+ days"
                    value: AppModel.stableCount
                    total: root.learned
                    detail: "Strong spacing history"
                }
                Label {
                    Layout.fillWidth: true
                    text: "Stability estimates come from Brindle’s documented scheduler and change after every answer."
                    wrapMode: Text.Wrap
                    font.pixelSize: 10
                    color: TesselTheme.secondaryText
                }
            }
        }

        TesselCard {
            objectName: "courseCoverage"
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            Layout.alignment: Qt.AlignTop
            padding: 22

            ColumnLayout {
                spacing: 12
                CardHeading { Layout.fillWidth: true; title: "Course coverage" }
                Row {
                    spacing: 6
                    Label {
                        id: learnedFigure
                        objectName: "learnedFigure"
                        text: Format.grouped(root.learned)
                        font.pixelSize: 32
                        font.bold: true
                        color: TesselTheme.forest
                    }
                    Label {
                        objectName: "curriculumFigure"
                        anchors.baseline: learnedFigure.baseline
                        text: "of " + Format.grouped(AppModel.counts.curriculumEntries)
                        font.pixelSize: 12
                        font.weight: Font.DemiBold
                        color: TesselTheme.secondaryText
                    }
                }
                ThinProgressBar {
                    objectName: "courseBar"
                    Layout.fillWidth: true
                    value: root.learned
                    total: AppModel.counts.curriculumEntries
                }
                Label {
                    objectName: "referenceNote"
                    Layout.fillWidth: true
                    text: "The full reference dictionary contains "
                          + Format.counted(AppModel.counts.referenceEntries, "entry", "entries")
                          + ". The course queue uses the smaller frequency-ranked set; contextual cards are identified separately."
                    wrapMode: Text.Wrap
                    font.pixelSize: 11
                    color: TesselTheme.secondaryText
                }
                TesselButton {
                    objectName: "coveragePromise"
                    flat: true
                    text: "Read the coverage promise"
                    textColor: TesselTheme.primary
                    onClicked: AppModel.destination = "sources"
                }
            }
        }
    }

    TesselCard {
        objectName: "leechCard"
        Layout.fillWidth: true
        visible: AppModel.leeches.length > 0
        padding: 22

        ColumnLayout {
            spacing: 10
            CardHeading {
                Layout.fillWidth: true
                title: "Words that keep slipping"
                subtitle: "Missed eight times or more. Open one in the dictionary to look at it afresh."
            }
            Repeater {
                model: AppModel.leeches
                delegate: WordLink {
                    required property var modelData
                    objectName: "leech-" + modelData.item.id
                    Layout.fillWidth: true
                    item: modelData.item
                    note: "Missed " + Format.counted(modelData.lapseCount, "time", "times")
                    onClicked: AppModel.openInDictionary(modelData.item.term)
                }
            }
        }
    }
}
