// SPDX-License-Identifier: GPL-3.0-or-later
#include "Records.h"

#include <limits>

#include "Leech.h"

namespace tessel::records {

namespace {

int toInt(std::int64_t value) {
    // QML numbers beyond 32 bits would lose nothing as doubles, but ints keep bindings simple;
    // nothing the learner sees comes near the bound.
    if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

QString languageText(LearningLanguage language) {
    return toQString(std::string(rawValue(language)));
}

}  // namespace

QString toQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList toQStringList(const std::vector<std::string>& texts) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(texts.size()));
    for (const auto& text : texts) list.append(toQString(text));
    return list;
}

QDateTime toQDateTime(Instant instant) {
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(instant.time_since_epoch()).count();
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
}

VocabularyItem fromCore(const tessel::VocabularyItem& item) {
    VocabularyItem out;
    out.id = toQString(item.id);
    out.language = languageText(item.language);
    out.term = toQString(item.term);
    out.reading = toQString(item.reading);
    out.romanization = item.romanization ? toQString(*item.romanization) : QString();
    out.meanings = toQStringList(item.meanings);
    out.exampleTarget = toQString(item.exampleTarget);
    out.exampleEnglish = toQString(item.exampleEnglish);
    out.level = toInt(item.level);
    out.frequencyRank = toInt(item.frequencyRank);
    out.acceptedAnswers = toQStringList(item.acceptedAnswers);
    out.tags = toQStringList(item.tags);
    return out;
}

LexiconLesson fromCore(const tessel::LexiconLesson& lesson) {
    return LexiconLesson{fromCore(lesson.item), toQString(lesson.note),
                         toQString(lesson.attribution), lesson.isContextual};
}

LexiconEntry fromCore(const tessel::LexiconEntry& entry) {
    LexiconEntry out;
    out.id = toQString(entry.id);
    out.language = languageText(entry.language);
    out.term = toQString(entry.term);
    out.alternate = toQString(entry.alternate);
    out.reading = toQString(entry.reading);
    out.romanization = toQString(entry.romanization);
    out.meanings = toQStringList(entry.meanings);
    out.frequencyRank = toInt(entry.frequencyRank);
    out.level = toInt(entry.level);
    out.isInCurriculum = entry.isInCurriculum;
    out.source = toQString(entry.source);
    out.partsOfSpeech = toQStringList(entry.partsOfSpeech);
    return out;
}

LexiconSource fromCore(const tessel::LexiconSource& source) {
    return LexiconSource{toQString(source.id),         toQString(source.name),
                         toQString(source.url),        toQString(source.license),
                         toQString(source.licenseURL), toQString(source.attribution),
                         toQString(source.checksum)};
}

LexiconCharacter fromCore(const tessel::LexiconCharacter& character) {
    LexiconCharacter out;
    out.character = toQString(character.character);
    out.language = languageText(character.language);
    out.strokeCount = toInt(character.strokeCount);
    out.readings = toQStringList(character.readings);
    out.kunReadings = toQStringList(character.kunReadings);
    out.meanings = toQStringList(character.meanings);
    out.grade = toInt(character.grade);
    out.jlpt = toInt(character.jlpt);
    out.frequency = toInt(character.frequency);
    out.strokes =
        QByteArray(character.strokes.data(), static_cast<qsizetype>(character.strokes.size()));
    return out;
}

LexiconCounts fromCore(const tessel::LexiconCounts& counts) {
    return LexiconCounts{static_cast<double>(counts.referenceEntries),
                         static_cast<double>(counts.curriculumEntries),
                         static_cast<double>(counts.contextualExercises)};
}

DailyStudyStats fromCore(const tessel::DailyStudyStats& stats) {
    DailyStudyStats out;
    out.day = toQString(stats.day);
    out.reviewedCount = toInt(stats.reviewedCount);
    out.correctCount = toInt(stats.correctCount);
    out.newCardsLearned = toInt(stats.newCardsLearned);
    out.sessionsCompleted = toInt(stats.sessionsCompleted);
    out.studySeconds = stats.studySeconds;
    out.incorrectCount = toInt(stats.incorrectCount());
    out.accuracy = stats.accuracy();
    out.hasActivity = stats.hasActivity();
    return out;
}

StudyStreak fromCore(const tessel::StudyStreak& streak) {
    return StudyStreak{toInt(streak.currentDays), toInt(streak.longestDays),
                       streak.lastStudyDay ? toQString(*streak.lastStudyDay) : QString(),
                       streak.hasStudiedToday};
}

AnswerEvaluation fromCore(const tessel::AnswerEvaluation& evaluation) {
    return AnswerEvaluation{
        toQString(evaluation.input), toQString(evaluation.normalizedInput), evaluation.isCorrect,
        evaluation.matchedAnswer ? toQString(*evaluation.matchedAnswer) : QString()};
}

StudySessionPlan fromCore(const tessel::StudySessionPlan& plan) {
    StudySessionPlan out;
    out.dueItems = toVariantList(plan.dueItems);
    out.newItems = toVariantList(plan.newItems);
    out.items = out.dueItems + out.newItems;
    out.availableDueCount = toInt(plan.availableDueCount);
    out.availableNewCount = toInt(plan.availableNewCount);
    out.isEmpty = plan.isEmpty();
    return out;
}

CardProgress fromCore(const tessel::CardProgress& card) {
    CardProgress out;
    out.itemID = toQString(card.itemID);
    out.stabilityDays = card.stabilityDays;
    out.difficulty = card.difficulty;
    out.intervalDays = toInt(card.intervalDays);
    out.dueDate = toQDateTime(card.dueDate);
    out.totalReviews = toInt(card.totalReviews);
    out.correctReviews = toInt(card.correctReviews);
    out.lapseCount = toInt(card.lapseCount);
    out.consecutiveCorrect = toInt(card.consecutiveCorrect);
    out.isLeech = isLeech(card);
    return out;
}

}  // namespace tessel::records
