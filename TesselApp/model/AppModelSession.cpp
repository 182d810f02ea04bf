// SPDX-License-Identifier: GPL-3.0-or-later
#include <QSettings>

#include <algorithm>
#include <cassert>
#include <cmath>

#include "AppModel.h"
#include "ProgressSaver.h"
#include "Records.h"

namespace tessel {

void AppModel::refreshPlan() {
    if (!m_isProgressReady) return setPlan(StudySessionPlan{});

    const std::int64_t dueCap = std::max<std::int64_t>(m_prefs.dailyGoal, 20);
    const std::int64_t newCap = m_prefs.newWordsPerSession;
    const std::int64_t totalCap = std::max(m_prefs.dailyGoal, m_prefs.newWordsPerSession);
    const StudySessionSelector selector{SessionSelectionConfiguration(dueCap, newCap, totalCap)};
    const Instant now = nowInstant();
    // Kept up to date change by change: in a debug build, check it against a fresh look-up.
    assert(courseCards() == CourseCards(m_course.view(), m_progress));
    setPlan(selector.select(m_course.view(), courseCards(), m_prefs.startingBand,
                            m_selectedLanguage, now));
}

void AppModel::beginSession(bool reviewOnly) {
    if (!m_isProgressReady) {
        m_pendingSessionRequest = reviewOnly;
        setDestinationValue(AppDestination::learn);
        return;
    }
    refreshPlan();
    setSessionItems(reviewOnly ? m_plan.dueItems : m_plan.items());
    setCurrentIndex(0);
    setSessionCounters(0, 0);
    m_sessionStartedAt = nowInstant();
    emit sessionStartedAtChanged();
    setDestinationValue(AppDestination::learn);
    // Every card has a speaker button: the voice should be ready before it is pressed.
    prepareSpeech(m_selectedLanguage);
    prepareCurrentCard();
}

void AppModel::prepareCurrentCard() {
    setAnswer(QString());
    setAnswerEvaluation(std::nullopt);
    const auto item = currentItem();
    setPhase(item ? SessionPhase::answering : SessionPhase::complete);
    m_cardStartedAt = nowInstant();
    if (m_prefs.playAudioAutomatically && item) playCurrentSentence();
}

void AppModel::submitAnswer() {
    const auto item = currentItem();
    if (!item || m_sessionPhase != SessionPhase::answering) return;
    setAnswerEvaluation(m_engine.validator.evaluate(m_answer.toUtf8().toStdString(), *item,
                                                    ExerciseDirection::targetLanguage));
    setPhase(SessionPhase::feedback);
}

void AppModel::revealAnswer() {
    const auto item = currentItem();
    if (!item || m_sessionPhase != SessionPhase::answering) return;
    setAnswerEvaluation(
        m_engine.validator.evaluate(std::string_view(), *item, ExerciseDirection::targetLanguage));
    setPhase(SessionPhase::feedback);
}

void AppModel::rateAndAdvance(const QString& rating) {
    if (auto value = reviewRatingFromRawValue(rating.toStdString())) rateAndAdvance(*value);
}

void AppModel::rateAndAdvance(ReviewRating rating) {
    const auto item = currentItem();
    if (!item || !m_answerEvaluation || m_sessionPhase != SessionPhase::feedback) return;

    const Instant t = nowInstant();
    double studySeconds = std::chrono::duration<double>(t - m_cardStartedAt.value_or(t)).count();
    // A clock set back while the card was shown must not record negative study time.
    if (!(studySeconds >= 0) || !std::isfinite(studySeconds)) studySeconds = 0;
    const Calendar cal = calendar();
    rememberRating(*item, t, cal);
    const std::vector<std::string> day{StudyDay::key(t, cal)};
    StudyReviewResult result;
    changeProgress({item->id}, day, [&](LearnerProgress& progress) {
        result = m_engine.recordEvaluationWithoutStreak(*m_answerEvaluation, *item, rating, t,
                                                        studySeconds, cal, progress);
    });

    setSessionCounters(m_sessionReviewed + 1,
                       m_sessionCorrect + (result.evaluation.isCorrect ? 1 : 0));

    if (m_currentIndex + 1 < static_cast<std::int64_t>(m_sessionItems.size())) {
        setCurrentIndex(m_currentIndex + 1);
        prepareCurrentCard();
        return;
    }
    changeProgress({}, day, [&](LearnerProgress& progress) {
        progress.completeSession(t, cal, item->language);
    });
    refreshPlan();
    setPhase(SessionPhase::complete);
}

void AppModel::leaveSession() {
    setPhase(SessionPhase::idle);
    setSessionItems({});
    setAnswer(QString());
    setAnswerEvaluation(std::nullopt);
    stopSpeech();
    setDestinationValue(AppDestination::home);
}

// --- observable state helpers ---------------------------------------------------------------

void AppModel::setPhase(SessionPhase phase) {
    if (m_sessionPhase == phase) return;
    m_sessionPhase = phase;
    emit sessionPhaseChanged();
}

void AppModel::setSessionItems(std::vector<VocabularyItem> items) {
    // Ratings can be taken back only within the session that made them.
    clearRatings();
    if (items.empty() && m_sessionItems.empty()) return;
    m_sessionItems = std::move(items);
    m_sessionItemsValue.reset();
    emit sessionItemsChanged();
    emit currentItemChanged();
}

void AppModel::setCurrentIndex(std::int64_t index) {
    if (m_currentIndex == index) return;
    m_currentIndex = index;
    emit currentIndexChanged();
    emit currentItemChanged();
}

void AppModel::setAnswerEvaluation(std::optional<AnswerEvaluation> evaluation) {
    if (m_answerEvaluation == evaluation) return;
    m_answerEvaluation = std::move(evaluation);
    emit answerEvaluationChanged();
}

void AppModel::setIsSearching(bool searching) {
    if (m_isSearching == searching) return;
    m_isSearching = searching;
    emit isSearchingChanged();
}

void AppModel::setPlan(StudySessionPlan plan) {
    if (m_plan == plan) return;
    m_plan = std::move(plan);
    m_planValue = QVariant();
    emit planChanged();
}

void AppModel::setSearchResults(std::vector<LexiconEntry> results) {
    m_searchResults = std::move(results);
    emit searchResultsChanged();
}

void AppModel::setSessionCounters(std::int64_t reviewed, std::int64_t correct) {
    if (m_sessionReviewed != reviewed) {
        m_sessionReviewed = reviewed;
        emit sessionReviewedChanged();
    }
    if (m_sessionCorrect != correct) {
        m_sessionCorrect = correct;
        emit sessionCorrectChanged();
    }
}

}  // namespace tessel
