// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTimer>

#include <chrono>

#include "AppModel.h"

namespace tessel {

namespace {

// Typing pauses shorter than this do not reach the lexicon.
constexpr std::chrono::milliseconds kSearchDebounce{140};
constexpr std::int64_t kSearchLimit = 80;

}  // namespace

void AppModel::runSearch() {
    if (!m_lexicon) return;
    const std::int64_t generation = ++m_searchGeneration;
    const QString query = m_searchQuery;
    const LearningLanguage language = m_selectedLanguage;
    setIsSearching(true);
    // Precise: a coarse timer may fire a few milliseconds early. The model as context drops the
    // wake-up when the model is gone; nothing cancels an earlier wait, the generation check
    // alone makes it harmless.
    QTimer::singleShot(
        kSearchDebounce, Qt::PreciseTimer, this,
        [this, generation, query, language] { applySearchResult(generation, language, query); });
}

void AppModel::applySearchResult(std::int64_t generation, LearningLanguage language,
                                 const QString& query) {
    if (generation != m_searchGeneration || language != m_selectedLanguage) return;
    auto results = m_lexicon->search(query.toUtf8().toStdString(), language, kSearchLimit);
    if (results) {
        setSearchResults(std::move(*results));
    } else {
        setStartupError(QString::fromStdString(results.error().description));
    }
    setIsSearching(false);
}

}  // namespace tessel
