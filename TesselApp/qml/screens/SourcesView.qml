// SPDX-License-Identifier: GPL-3.0-or-later
// "A promise you can audit": what the local data covers, the sizes of the lexicon, every open
// data source with its licence, checksum and links, and the clean-room boundary.
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
    // Hands an address to the system browser, true when something took it; tests replace it to
    // see what would open.
    property var openExternally: url => Qt.openUrlExternally(url)

    // Opens `url`, or shows it with "Copy" when nothing on this computer could.
    function openLink(url) {
        if (!openExternally(url))
            linkFallback.show(url);
    }

    maxContentWidth: 980

    LinkFallbackDialog {
        id: linkFallback
    }

    SectionTitle {
        Layout.fillWidth: true
        eyebrow: "Coverage & sources"
        title: "A promise you can audit"
        subtitle: "Broad local reference coverage, a focused learning path, and no copied commercial course data."
    }

    TesselCard {
        objectName: "coveragePromise"
        Layout.fillWidth: true
        padding: 24

        RowLayout {
            spacing: 16
            Icon {
                Layout.alignment: Qt.AlignTop
                name: "checkmark.seal.fill"
                size: 27
                color: TesselTheme.primary
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 10
                CardHeading { Layout.fillWidth: true; title: "What coverage means here" }
                Label {
                    Layout.fillWidth: true
                    text: "Tessel includes a dated, normalized projection of CC-CEDICT and JMdict. The locked build retains each valid CC-CEDICT source record and expands JMdict entries into restriction-valid written-form and reading pairs with their applicable senses. These are auditable dictionary projections—not a claim that any finite database contains every word in a living language."
                    wrapMode: Text.Wrap
                    font.pixelSize: 12
                    color: TesselTheme.secondaryText
                }
                Label {
                    Layout.fillWidth: true
                    text: "The study path is deliberately smaller: frequency-ranked, dictionary-backed recall cards plus an original contextual starter set. Native-speaker release review is still required for the starter set; reference-only entries stay searchable."
                    wrapMode: Text.Wrap
                    font.pixelSize: 12
                    font.weight: Font.Medium
                    color: TesselTheme.forest
                }
            }
        }
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 14
        Repeater {
            model: [
                { value: AppModel.counts.referenceEntries, label: "reference entries",
                  detail: "A dated, normalized dictionary projection" },
                { value: AppModel.counts.curriculumEntries, label: "frequency-ranked words",
                  detail: "Eligible for the usefulness path" },
                { value: AppModel.counts.contextualExercises, label: "context starter cards",
                  detail: "Original exercises; release review pending" }
            ]
            delegate: TesselCard {
                id: numberCard
                required property var modelData
                objectName: "numberCard-" + modelData.label
                Layout.fillWidth: true
                Layout.preferredWidth: 1
                Layout.fillHeight: true
                padding: 20
                ColumnLayout {
                    spacing: 4
                    Label {
                        objectName: "number"
                        Layout.fillWidth: true
                        text: Format.grouped(numberCard.modelData.value)
                        elide: Text.ElideRight
                        font.pixelSize: 27
                        font.bold: true
                        color: TesselTheme.forest
                    }
                    Label {
                        Layout.fillWidth: true
                        text: numberCard.modelData.label
                        wrapMode: Text.Wrap
                        font.pixelSize: 11
                        font.bold: true
                        color: TesselTheme.forest
                    }
                    Label {
                        Layout.fillWidth: true
                        text: numberCard.modelData.detail
                        wrapMode: Text.Wrap
                        font.pixelSize: 10
                        color: TesselTheme.secondaryText
                    }
                }
            }
        }
    }

    ColumnLayout {
        Layout.fillWidth: true
        spacing: 14

        Label {
            objectName: "bundledHeading"
            text: "Bundled open data"
            font.pixelSize: 19
            font.bold: true
            color: TesselTheme.forest
        }
        Repeater {
            objectName: "sourceCards"
            model: AppModel.sources
            delegate: SourceCard {
                required property var modelData
                Layout.fillWidth: true
                source: modelData
                onOpenLink: url => root.openLink(url)
            }
        }
    }

    TesselCard {
        objectName: "legalBoundary"
        Layout.fillWidth: true
        padding: 24

        ColumnLayout {
            spacing: 10
            Row {
                spacing: 8
                Icon {
                    name: "shield.lefthalf.filled"
                    size: 16
                    color: TesselTheme.primary
                    anchors.verticalCenter: parent.verticalCenter
                }
                Label {
                    text: "Clean-room boundary"
                    font.pixelSize: 15
                    font.bold: true
                    color: TesselTheme.forest
                    anchors.verticalCenter: parent.verticalCenter
                }
            }
            Label {
                Layout.fillWidth: true
                text: "Brindle contains no code, example sentences, translations, audio, word ordering, branding, art or scraped data from any commercial language course. Its scheduler, interface, microcopy, examples and data compiler were created independently. Any similarity is limited to general language-learning methods such as cloze recall and spaced repetition."
                wrapMode: Text.Wrap
                font.pixelSize: 11
                color: TesselTheme.secondaryText
            }
            Label {
                Layout.fillWidth: true
                text: "Tessel usefulness bands are not official HSK or JLPT levels. Obtain legal review before adding third-party proficiency lists or selling the app."
                wrapMode: Text.Wrap
                font.pixelSize: 11
                font.weight: Font.DemiBold
                color: TesselTheme.forest
            }
        }
    }
}
