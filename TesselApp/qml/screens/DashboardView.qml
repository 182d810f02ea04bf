// SPDX-License-Identifier: GPL-3.0-or-later
// The "Today" screen: greeting, the daily goal and the button that starts the session, three
// headline figures, the last seven days, the size of the local library and the next words of
// the adaptive queue, all for the selected language.
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
    // Moves on every minute so the greeting follows the clock while the screen stays open.
    property int clockTick: 0

    readonly property var plan: AppModel.plan
    readonly property var recentDays: {
        AppModel.statisticsRevision;
        clockTick;
        return AppModel.statsForRecentDays(7);
    }
    readonly property string greeting: {
        clockTick;
        return Format.greeting(AppModel.currentHour());
    }

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
            objectName: "header"
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignBottom
            eyebrow: AppModel.nativeLanguageName(AppModel.selectedLanguage) + " · "
                     + AppModel.languageName(AppModel.selectedLanguage)
            title: root.greeting
            subtitle: root.plan.availableDueCount >= 1
                      ? "A few words are ready to be strengthened."
                      : "Your review garden is tidy. Add something new."
        }
        BadgePill {
            objectName: "streakBadge"
            Layout.alignment: Qt.AlignBottom
            plain: true
            symbol: "flame.fill"
            text: AppModel.streak.currentDays + " day streak"
        }
    }

    DashboardHero {
        objectName: "hero"
        Layout.fillWidth: true
        Layout.preferredHeight: 205
        reviewedToday: AppModel.todayStats.reviewedCount
        dailyGoal: AppModel.dailyGoal
        goalProgress: AppModel.goalProgress
        dueNow: root.plan.availableDueCount
        newToday: Format.listLength(root.plan.newItems)
        dueInSession: Format.listLength(root.plan.dueItems)
        todayAccuracy: AppModel.todayAccuracyText
        wordListMissing: AppModel.isLexiconAvailable === false
        onStartSession: AppModel.beginSession(false)
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 14

        StatCard {
            objectName: "wordsDue"
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            symbol: "clock.badge.checkmark.fill"
            value: Format.grouped(root.plan.availableDueCount)
            label: "Words due"
            detail: root.plan.availableDueCount !== 0 ? "Ready for reinforcement"
                                                      : "Review queue is clear"
        }
        StatCard {
            objectName: "wordsPlanted"
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            symbol: "leaf.fill"
            value: Format.grouped(AppModel.learnedCount)
            label: "Words planted"
            detail: Format.grouped(AppModel.stableCount) + (AppModel.stableCount === 1 ? " has" : " have")
                    + " 21+ day stability"
        }
        StatCard {
            objectName: "recallAccuracy"
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            symbol: "target"
            value: AppModel.overallAccuracyText
            label: "Recall accuracy"
            detail: "Across " + Format.counted(AppModel.totalAnswerCount, "answer", "answers")
        }
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 18

        TesselCard {
            objectName: "weeklyActivity"
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignTop
            padding: 22

            ColumnLayout {
                spacing: 14

                RowLayout {
                    Layout.fillWidth: true
                    CardHeading {
                        Layout.fillWidth: true
                        title: "Last 7 days"
                        subtitle: "Cards answered each day"
                    }
                    BadgePill {
                        objectName: "weekTotal"
                        Layout.alignment: Qt.AlignTop
                        text: Format.counted(Format.totalReviewed(root.recentDays), "card", "cards")
                    }
                }
                BarChart {
                    objectName: "weekChart"
                    Layout.fillWidth: true
                    Layout.preferredHeight: 150
                    barRadius: 5
                    xTitle: "Day"
                    yTitle: "Cards"
                    series: [{ name: "Cards", color: TesselTheme.primary,
                               fadedColor: TesselTheme.withAlpha(TesselTheme.primary, 0.55) }]
                    points: root.recentDays.map(entry => ({
                        label: Format.narrowWeekday(entry.day),
                        name: Format.longDate(entry.day),
                        values: [entry.stats.reviewedCount]
                    }))
                }
            }
        }

        TesselCard {
            objectName: "library"
            Layout.preferredWidth: 315
            Layout.alignment: Qt.AlignTop
            padding: 22

            ColumnLayout {
                spacing: 12

                CardHeading { Layout.fillWidth: true; title: "Local language library" }
                Repeater {
                    model: [
                        { symbol: "books.vertical.fill", label: "Reference entries",
                          value: AppModel.counts.referenceEntries },
                        { symbol: "list.number", label: "Frequency curriculum",
                          value: AppModel.counts.curriculumEntries },
                        { symbol: "text.bubble.fill", label: "Context lessons",
                          value: AppModel.counts.contextualExercises }
                    ]
                    delegate: RowLayout {
                        id: libraryRow
                        required property var modelData
                        Layout.fillWidth: true
                        spacing: 9
                        Icon {
                            Layout.preferredWidth: 18
                            name: libraryRow.modelData.symbol
                            size: 14
                            color: TesselTheme.primary
                        }
                        Label {
                            Layout.fillWidth: true
                            text: libraryRow.modelData.label
                            elide: Text.ElideRight
                            font.pixelSize: 12
                            font.weight: Font.Medium
                            color: TesselTheme.forest
                        }
                        Label {
                            objectName: "libraryFigure"
                            text: Format.grouped(libraryRow.modelData.value)
                            font.pixelSize: 13
                            font.bold: true
                            color: TesselTheme.forest
                        }
                    }
                }
                TesselButton {
                    objectName: "howCoverageWorks"
                    flat: true
                    text: "How coverage works"
                    textColor: TesselTheme.primary
                    onClicked: AppModel.destination = "sources"
                }
            }
        }
    }

    UpNextCard {
        objectName: "upNext"
        Layout.fillWidth: true
        items: root.plan.items
        onOpenSession: AppModel.beginSession(false)
    }
}
