// SPDX-License-Identifier: GPL-3.0-or-later
// The sidebar's destinations: label, symbol and screen file for each of the model's pages.
.pragma library

var all = [
    { key: "home", label: "Today", symbol: "house.fill", screen: "screens/DashboardView.qml" },
    { key: "learn", label: "Learn", symbol: "sparkles", screen: "study/StudyView.qml" },
    { key: "dictionary", label: "Dictionary", symbol: "books.vertical.fill", screen: "screens/DictionaryView.qml" },
    { key: "progress", label: "Progress", symbol: "chart.bar.xaxis", screen: "screens/ProgressDashboardView.qml" },
    { key: "settings", label: "Settings", symbol: "slider.horizontal.3", screen: "screens/SettingsView.qml" },
    { key: "sources", label: "Sources", symbol: "checkmark.seal.fill", screen: "screens/SourcesView.qml" }
]

// The two navigation groups in sidebar order.
var mainGroup = ["home", "learn", "dictionary", "progress"]
var secondGroup = ["sources", "settings"]

// The entry for `key`; the home entry when the key is unknown.
function find(key) {
    for (var i = 0; i < all.length; ++i) {
        if (all[i].key === key)
            return all[i]
    }
    return all[0]
}
