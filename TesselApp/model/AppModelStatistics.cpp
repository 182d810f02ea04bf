// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTimer>

#include <algorithm>

#include "AppModel.h"
#include "Records.h"
#include "Saturating.h"

namespace tessel {

namespace {

constexpr double kStableDays = 21.0;

int clampToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

}  // namespace

const AppModel::CardFigures& AppModel::cardFigures() const {
    if (m_cardFigures) return *m_cardFigures;
    CardFigures figures;
    // Only cards of the selected language's current lessons count: another language's cards
    // and cards of items that left the lexicon stay out.
    for (const auto& [id, card] : m_progress->cards) {
        if (!m_course.contains(id)) continue;
        if (card.correctReviews >= 1) ++figures.learned;
        if (card.stabilityDays >= kStableDays) ++figures.stable;
        figures.answers = saturatingAdd(figures.answers, card.totalReviews);
        figures.correct = saturatingAdd(figures.correct, card.correctReviews);
    }
    m_cardFigures = figures;
    return *m_cardFigures;
}

DailyStudyStats AppModel::todayStats() const {
    return m_progress->stats(nowInstant(), calendar(), m_selectedLanguage);
}

StudyStreak AppModel::streak() const {
    return m_progress->streak(nowInstant(), calendar(), m_selectedLanguage);
}

QVariant AppModel::todayStatsValue() const {
    return QVariant::fromValue(records::fromCore(todayStats()));
}

QVariant AppModel::streakValue() const {
    return QVariant::fromValue(records::fromCore(streak()));
}

double AppModel::goalProgress() const {
    if (m_prefs.dailyGoal < 1) return 0;
    const double ratio =
        static_cast<double>(todayStats().reviewedCount) / static_cast<double>(m_prefs.dailyGoal);
    return std::min(ratio, 1.0);
}

int AppModel::learnedCount() const {
    return clampToInt(cardFigures().learned);
}

int AppModel::stableCount() const {
    return clampToInt(cardFigures().stable);
}

int AppModel::totalAnswerCount() const {
    return clampToInt(cardFigures().answers);
}

double AppModel::overallAccuracy() const {
    const CardFigures& figures = cardFigures();
    if (figures.answers <= 0) return 0;
    return static_cast<double>(figures.correct) / static_cast<double>(figures.answers);
}

std::vector<std::pair<Instant, DailyStudyStats>> AppModel::recentDays(int n) const {
    std::vector<std::pair<Instant, DailyStudyStats>> days;
    if (n <= 0) return days;
    const Calendar cal = calendar();
    days.reserve(static_cast<std::size_t>(n));
    for (std::int64_t offset = -(static_cast<std::int64_t>(n) - 1); offset <= 0; ++offset) {
        const auto date = cal.addingDays(offset, nowInstant());
        if (!date) continue;
        days.emplace_back(cal.startOfDay(*date), m_progress->stats(*date, cal, m_selectedLanguage));
    }
    return days;
}

QVariantList AppModel::statsForRecentDays(int n) const {
    QVariantList list;
    for (const auto& [day, stats] : recentDays(n)) {
        QVariantMap entry;
        entry.insert(QStringLiteral("day"), records::toQDateTime(day).toLocalTime());
        entry.insert(QStringLiteral("stats"), QVariant::fromValue(records::fromCore(stats)));
        list.append(entry);
    }
    return list;
}

QVariant AppModel::cardFor(const QString& itemID) const {
    const auto card = m_progress->card(itemID.toUtf8().toStdString());
    return card ? QVariant::fromValue(records::fromCore(*card)) : QVariant();
}

void AppModel::markStatisticsChanged() {
    m_cardFigures.reset();
    ++m_statisticsRevision;
    emit statisticsChanged();
}

void AppModel::scheduleDayChange() {
    // Today's figures and the streak belong to a calendar day: when the day turns over while the
    // application is open, they must move on too.
    const Calendar cal = calendar();
    const Instant now = nowInstant();
    const auto tomorrow = cal.addingDays(1, now);
    if (!tomorrow) return;
    const auto wait =
        std::chrono::duration_cast<std::chrono::milliseconds>(cal.startOfDay(*tomorrow) - now);
    const auto delay = std::clamp<std::chrono::milliseconds>(
        wait + std::chrono::seconds(1), std::chrono::seconds(1), std::chrono::hours(25));
    QTimer::singleShot(delay, Qt::VeryCoarseTimer, this, [this] {
        markStatisticsChanged();
        scheduleDayChange();
    });
}

}  // namespace tessel
