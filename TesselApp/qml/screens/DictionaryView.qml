// SPDX-License-Identifier: GPL-3.0-or-later
// The offline dictionary: a search field that searches the local lexicon of the selected
// language while the learner types, the list of results and the chosen entry in detail.
// The search field has the keyboard when the screen opens; the arrow keys move through the
// results from the field or the list.
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle
import Brindle.Model
import "../components/Format.js" as Format

Item {
    id: root

    // The application model; tests hand in a stand-in with the same properties.
    // The id of the chosen result; undefined until the learner picks one.
    property var selection: undefined
    // An entry to choose once the search for it answers (a word opened from the character panel).
    property var pendingSelection: undefined

    readonly property var results: AppModel.searchResults
    readonly property int selectedIndex: Format.selectedIndex(results, selection)
    readonly property var selectedEntry: selectedIndex >= 0 ? results[selectedIndex] : undefined

    // Writes the query and searches for it (the model waits for a pause in typing).
    function search(text) {
        AppModel.searchQuery = text;
        AppModel.runSearch();
    }

    // Moves the selection `step` results down (up when negative), staying within the list.
    function moveSelection(step) {
        const count = Format.listLength(results);
        if (count === 0)
            return;
        const index = Math.max(0, Math.min(count - 1, selectedIndex + step));
        selection = results[index].id;
        resultList.positionViewAtIndex(index, ListView.Contain);
    }

    Component.onCompleted: searchField.forceActiveFocus()

    Connections {
        target: AppModel
        function onSelectedLanguageChanged() {
            root.selection = undefined;
            root.pendingSelection = undefined;
        }
        function onSearchResultsChanged() {
            if (root.pendingSelection === undefined)
                return;
            const count = Format.listLength(root.results);
            for (let i = 0; i < count; ++i) {
                if (root.results[i].id === root.pendingSelection)
                    root.selection = root.pendingSelection;
            }
            root.pendingSelection = undefined;
        }
        // Typing breaks the field's binding to the query; a query written elsewhere (the clear
        // button, the model) is copied back.
        function onSearchQueryChanged() {
            if (searchField.text !== AppModel.searchQuery)
                searchField.text = AppModel.searchQuery;
        }
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.leftMargin: 30
        anchors.rightMargin: 30
        anchors.topMargin: 22
        anchors.bottomMargin: 24
        spacing: 18

        RowLayout {
            Layout.fillWidth: true
            spacing: 16
            SectionTitle {
                Layout.fillWidth: true
                Layout.alignment: Qt.AlignBottom
                eyebrow: AppModel.nativeLanguageName(AppModel.selectedLanguage)
                title: "Offline dictionary"
                subtitle: "Search forms, readings, pinyin, and English meanings."
            }
            BadgePill {
                objectName: "entryCount"
                Layout.alignment: Qt.AlignBottom
                text: Format.counted(AppModel.counts.referenceEntries, "entry", "entries")
            }
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: 46
            radius: 14
            color: TesselTheme.white
            border.width: searchField.activeFocus ? 2 : 1
            border.color: searchField.activeFocus ? TesselTheme.primary : TesselTheme.line

            RowLayout {
                anchors.fill: parent
                anchors.leftMargin: 15
                anchors.rightMargin: 15
                spacing: 10
                Icon {
                    name: "magnifyingglass"
                    size: 17
                    color: TesselTheme.secondaryText
                }
                TextField {
                    id: searchField
                    objectName: "searchField"
                    Layout.fillWidth: true
                    text: AppModel.searchQuery
                    placeholderText: "Search Chinese, Japanese, a reading, or a meaning"
                    Accessible.name: "Search the dictionary"
                    placeholderTextColor: TesselTheme.secondaryText
                    font.family: TesselTheme.fontFamilyFor(AppModel.selectedLanguage)
                    font.pixelSize: 14
                    font.weight: Font.Medium
                    color: TesselTheme.forest
                    selectionColor: TesselTheme.mint
                    selectedTextColor: TesselTheme.forest
                    background: null
                    leftPadding: 0
                    rightPadding: 0
                    onTextEdited: root.search(text)
                    Keys.onUpPressed: root.moveSelection(-1)
                    Keys.onDownPressed: root.moveSelection(1)
                }
                BusyIndicator {
                    objectName: "searchSpinner"
                    Layout.preferredWidth: 20
                    Layout.preferredHeight: 20
                    visible: AppModel.isSearching
                    running: visible
                }
                AbstractButton {
                    objectName: "clearSearch"
                    Layout.preferredWidth: 22
                    Layout.preferredHeight: 22
                    visible: !AppModel.isSearching && AppModel.searchQuery !== ""
                    focusPolicy: Qt.StrongFocus
                    Keys.onReturnPressed: clicked()
                    Keys.onEnterPressed: clicked()
                    Accessible.name: "Clear search"
                    onClicked: {
                        root.search("");
                        searchField.forceActiveFocus();
                    }
                    contentItem: Icon {
                        name: "xmark.circle.fill"
                        size: 17
                        color: TesselTheme.secondaryText
                    }
                }
            }
        }

        TesselCard {
            id: panel
            Layout.fillWidth: true
            Layout.fillHeight: true
            padding: 0

            RowLayout {
                height: panel.height
                spacing: 0

                Item {
                    Layout.fillHeight: true
                    Layout.preferredWidth: Math.max(390, Math.min(500, Math.min(440, panel.width * 0.45)))

                    EmptyState {
                        objectName: "noMatch"
                        anchors.centerIn: parent
                        width: parent.width - 48
                        visible: Format.listLength(root.results) === 0
                        symbol: "text.magnifyingglass"
                        title: "No local match"
                        description: "Try a shorter word, another spelling, or an English meaning."
                    }
                    ListView {
                        id: resultList
                        objectName: "results"
                        anchors.fill: parent
                        anchors.margins: 8
                        visible: Format.listLength(root.results) > 0
                        clip: true
                        model: root.results
                        currentIndex: root.selectedIndex
                        keyNavigationEnabled: false
                        boundsBehavior: Flickable.StopAtBounds
                        spacing: 2
                        activeFocusOnTab: true
                        Keys.onUpPressed: root.moveSelection(-1)
                        Keys.onDownPressed: root.moveSelection(1)
                        ScrollBar.vertical: ScrollBar {}
                        delegate: DictionaryRow {
                            required property var modelData
                            required property int index
                            width: ListView.view.width
                            entry: modelData
                            selected: index === root.selectedIndex
                            onChosen: {
                                root.selection = modelData.id;
                                resultList.forceActiveFocus();
                            }
                        }
                    }
                }

                Rectangle {
                    Layout.fillHeight: true
                    Layout.preferredWidth: 1
                    color: TesselTheme.line
                }

                Item {
                    Layout.fillWidth: true
                    Layout.fillHeight: true

                    EmptyState {
                        objectName: "chooseWord"
                        anchors.centerIn: parent
                        width: Math.min(340, parent.width - 48)
                        visible: root.selectedEntry === undefined
                        symbol: "book.closed"
                        title: "Choose a word"
                        description: "Select a result to see its readings and meanings."
                    }
                    Loader {
                        objectName: "detail"
                        anchors.fill: parent
                        active: root.selectedEntry !== undefined
                        sourceComponent: DictionaryDetail {
                            entry: root.selectedEntry
                            card: {
                                AppModel.statisticsRevision;
                                return AppModel.cardFor(root.selectedEntry.id);
                            }
                            onPronounce: AppModel.pronounce(root.selectedEntry.term,
                                                            root.selectedEntry.reading,
                                                            root.selectedEntry.language)
                            onViewLicenses: AppModel.destination = "sources"
                            onOpenWord: entry => {
                                root.pendingSelection = entry.id;
                                root.search(entry.term);
                            }
                        }
                    }
                }
            }
        }
    }
}
