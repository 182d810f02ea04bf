// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <climits>

#include "AppModel.h"
#include "Leech.h"
#include "Records.h"

// Looking back on study: taking back the session's ratings, the words it missed and the words
// that keep slipping.

namespace tessel {

namespace {

constexpr std::size_t kShownLeeches = 10;

}  // namespace

void AppModel::rememberRating(const VocabularyItem& item, Instant at, const Calendar& calendar) {
    // Only what this rating changes is kept, never a copy of the whole progress: a session of a
    // learner with a large history stays cheap to rate.
    m_ratings.push_back({ReviewUndo::capture(m_progress, item.id, at, calendar, item.language),
                         m_currentIndex, m_answer, m_answerEvaluation.value_or(AnswerEvaluation{}),
                         m_cardStartedAt, m_sessionReviewed, m_sessionCorrect});
    emit ratingHistoryChanged();
}

void AppModel::clearRatings() {
    if (m_ratings.empty()) return;
    m_ratings.clear();
    emit ratingHistoryChanged();
}

void AppModel::undoLastRating() {
    if (m_ratings.empty()) return;
    const Rating rating = std::move(m_ratings.back());
    m_ratings.pop_back();
    const bool undoesCompletion = m_sessionPhase == SessionPhase::complete;

    // Through the one path every change takes, so the kept figures and the save follow.
    changeProgress({rating.progress.itemID}, {rating.progress.day},
                   [&](LearnerProgress& progress) { rating.progress.restore(progress); });
    stopSpeech();
    setCurrentIndex(rating.index);
    setSessionCounters(rating.reviewed, rating.correct);
    setAnswer(rating.answer);
    setAnswerEvaluation(rating.evaluation);
    // The card's time runs on from when it was first shown, as if the rating never happened.
    m_cardStartedAt = rating.cardStartedAt;
    setPhase(SessionPhase::feedback);
    setDestinationValue(AppDestination::learn);
    if (undoesCompletion) refreshPlan();
    emit ratingHistoryChanged();
}

QVariantList AppModel::sessionMisses() const {
    QVariantList misses;
    for (const Rating& rating : m_ratings) {
        if (rating.evaluation.isCorrect) continue;
        records::SessionMiss miss;
        miss.item = records::fromCore(m_sessionItems.at(static_cast<std::size_t>(rating.index)));
        miss.typed = records::toQString(rating.evaluation.input);
        misses.append(QVariant::fromValue(miss));
    }
    return misses;
}

QVariantList AppModel::leeches() const {
    if (m_leechesValue && m_leechesValue->first == m_statisticsRevision)
        return m_leechesValue->second;
    QVariantList list;
    if (!m_leechBoard) m_leechBoard.emplace(m_course.view(), courseCards());
    for (const CardProgress& card : m_leechBoard->worst(m_progress, kShownLeeches)) {
        // A hand-edited file can file a card under a key other than its own id: such a card is
        // not a course word the list can open, so it is left out rather than read through null.
        const LexiconLesson* lesson = m_course.lesson(card.itemID);
        if (lesson == nullptr) continue;
        records::LeechWord word;
        word.item = records::fromCore(lesson->item);
        word.lapseCount = static_cast<int>(std::min<std::int64_t>(card.lapseCount, INT_MAX));
        list.append(QVariant::fromValue(word));
    }
    m_leechesValue.emplace(m_statisticsRevision, list);
    return list;
}

void AppModel::openInDictionary(const QString& term) {
    setSearchQuery(term);
    runSearch();
    setDestinationValue(AppDestination::dictionary);
}

}  // namespace tessel
