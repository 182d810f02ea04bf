// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the application model with the same property names, for screen tests that need
// figures the fixture lexicon and a fresh progress cannot produce (ranks of 40,000, a stored
// correct count above the reviews, a queue of exactly one due and one new card). It records the
// operations the screens call.
import QtQuick

QtObject {
    id: stub

    property string destination: "home"
    property string selectedLanguage: "chinese"
    property var counts: ({ referenceEntries: 0, curriculumEntries: 0, contextualExercises: 0 })
    property var sources: []
    property var plan: ({ dueItems: [], newItems: [], items: [], availableDueCount: 0,
                          availableNewCount: 0, isEmpty: true })
    property string searchQuery: ""
    property var searchResults: []
    property bool isSearching: false
    property bool isLexiconAvailable: true
    property string startupError: ""
    property int dailyGoal: 20
    property int newWordsPerSession: 8
    property int startingBand: 1
    property real speechRate: 0.45
    property bool showReading: true
    property bool showTranslation: true
    property bool playAudioAutomatically: false
    property var todayStats: ({ day: "", reviewedCount: 0, correctCount: 0 })
    property var streak: ({ currentDays: 0, longestDays: 0, lastStudyDay: "",
                            hasStudiedToday: false })
    property real goalProgress: 0
    property int learnedCount: 0
    property int stableCount: 0
    property int totalAnswerCount: 0
    property real overallAccuracy: 0
    property int statisticsRevision: 0

    // What the clock says: the hour currentHour() answers.
    property int hour: 9
    // Per-day figures for statsForRecentDays, oldest first: [{reviewedCount, correctCount}].
    property var dayFigures: []

    // Calls the screens made.
    property var calls: []

    function record(name, args) {
        calls = calls.concat([{ name: name, args: args }]);
    }
    function callCount(name) {
        return calls.filter(c => c.name === name).length;
    }

    function currentHour() { return hour; }
    function statsForRecentDays(n) {
        const days = [];
        const today = new Date(2024, 2, 30);
        for (let k = n - 1; k >= 0; --k) {
            const day = new Date(today.getFullYear(), today.getMonth(), today.getDate() - k);
            const figures = dayFigures[dayFigures.length - 1 - k] || {};
            days.push({ day: day, stats: { day: "", reviewedCount: figures.reviewedCount || 0,
                                           correctCount: figures.correctCount || 0 } });
        }
        return days;
    }
    function beginSession(reviewOnly) { record("beginSession", [reviewOnly]); }
    function runSearch() { record("runSearch", [searchQuery]); }
    function speak(text, language) { record("speak", [text, language]); }
    function pronounce(term, reading, language) { record("pronounce", [term, reading, language]); }
    function selectLanguage(language) {
        record("selectLanguage", [language]);
        selectedLanguage = language;
    }
    function resetProgress() { record("resetProgress", []); }
    // Error texts the next export or restore answers with ("" for success).
    property string exportError: ""
    property string restoreError: ""
    function exportProgress(location) {
        record("exportProgress", [location]);
        return exportError;
    }
    function restoreProgress(location) {
        record("restoreProgress", [location]);
        return restoreError;
    }
}
