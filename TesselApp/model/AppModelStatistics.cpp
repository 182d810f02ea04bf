// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLocale>
#include <QTimer>

#include <algorithm>
#include <limits>

#include "AppModel.h"
#include "Records.h"
#include "Saturating.h"

namespace tessel {

namespace {

int clampToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

}  // namespace

const CourseCards& AppModel::courseCards() const {
    // Finding a heavy learner's cards in the course is the one pass over all of them; the plan,
    // the figures and the leeches then read only the course's cards.
    if (!m_courseCards) m_courseCards.emplace(m_course.view(), m_progress);
    return *m_courseCards;
}

const CourseFigures& AppModel::cardFigures() const {
    // Only cards of the selected language's current lessons count: another language's cards
    // and cards of items that left the lexicon stay out.
    if (!m_cardFigures) m_cardFigures = CourseFigures::of(courseCards());
    return *m_cardFigures;
}

void AppModel::resetKeptFigures() {
    m_cardFigures.reset();
    m_courseCards.reset();
    m_leechBoard.reset();
    m_streak.reset();
}

DailyStudyStats AppModel::todayStats() const {
    return m_progress.stats(nowInstant(), calendar(), m_selectedLanguage);
}

StudyStreak AppModel::streak() const {
    // Worked out over the whole history once a day, and again only when a day other than the
    // day's first study turns into or out of a study day (see keepStreakAfterStudyDayTurned).
    const Calendar cal = calendar();
    const Instant now = nowInstant();
    if (!m_streak || !m_streak->isFor(now, cal))
        m_streak = KeptStreak{cal.startOfDay(now), cal.timeZoneID(),
                              m_progress.streak(now, cal, m_selectedLanguage)};
    return m_streak->streak;
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
    const CourseFigures& figures = cardFigures();
    if (figures.answers <= 0) return 0;
    return static_cast<double>(figures.correct) / static_cast<double>(figures.answers);
}

QString AppModel::percentText(std::int64_t part, std::int64_t whole) {
    if (whole <= 0) return QStringLiteral("—");
    // Whole-number arithmetic, so that a half is exactly a half. Figures so large that part * 100
    // would overflow (only a saturated, hand-edited file has them) are scaled down first.
    part = std::clamp<std::int64_t>(part, 0, whole);
    constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max() / 100;
    if (whole > kLargest) {
        const std::int64_t divisor = whole / kLargest + 1;
        part /= divisor;
        whole /= divisor;
    }
    const std::int64_t scaled = part * 100;
    std::int64_t percent = scaled / whole;
    const std::int64_t twiceRemainder = 2 * (scaled - percent * whole);
    if (twiceRemainder > whole || (twiceRemainder == whole && percent % 2 == 1)) ++percent;
    const QLocale locale;
    return locale.toString(static_cast<qlonglong>(percent)) + locale.percent();
}

QString AppModel::todayAccuracyText() const {
    const DailyStudyStats today = todayStats();
    return percentText(today.correctCount, today.reviewedCount);
}

QString AppModel::overallAccuracyText() const {
    const CourseFigures& figures = cardFigures();
    return percentText(figures.correct, figures.answers);
}

QString AppModel::sessionAccuracyText() const {
    return percentText(m_sessionCorrect, m_sessionReviewed);
}

std::vector<std::pair<Instant, DailyStudyStats>> AppModel::recentDays(int n) const {
    std::vector<std::pair<Instant, DailyStudyStats>> days;
    if (n <= 0) return days;
    const Calendar cal = calendar();
    days.reserve(static_cast<std::size_t>(n));
    for (std::int64_t offset = -(static_cast<std::int64_t>(n) - 1); offset <= 0; ++offset) {
        const auto date = cal.addingDays(offset, nowInstant());
        if (!date) continue;
        days.emplace_back(cal.startOfDay(*date), m_progress.stats(*date, cal, m_selectedLanguage));
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
    const auto card = m_progress.card(itemID.toUtf8().toStdString());
    return card ? QVariant::fromValue(records::fromCore(*card)) : QVariant();
}

void AppModel::markStatisticsChanged() {
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
