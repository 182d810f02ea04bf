// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The learner-facing records as QML value types. Each property carries the record's field name;
// optional texts are "" when absent and languages are their text values ("chinese").

#include <QtQml/qqmlregistration.h>
#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include "AnswerNormalization.h"
#include "LexiconStore.h"
#include "Progress.h"
#include "SessionSelection.h"

namespace tessel::records {

struct VocabularyItem {
    Q_GADGET
    QML_VALUE_TYPE(vocabularyItem)
    Q_PROPERTY(QString id MEMBER id CONSTANT)
    Q_PROPERTY(QString language MEMBER language CONSTANT)
    Q_PROPERTY(QString term MEMBER term CONSTANT)
    Q_PROPERTY(QString reading MEMBER reading CONSTANT)
    Q_PROPERTY(QString romanization MEMBER romanization CONSTANT)
    Q_PROPERTY(QStringList meanings MEMBER meanings CONSTANT)
    Q_PROPERTY(QString exampleTarget MEMBER exampleTarget CONSTANT)
    Q_PROPERTY(QString exampleEnglish MEMBER exampleEnglish CONSTANT)
    Q_PROPERTY(int level MEMBER level CONSTANT)
    Q_PROPERTY(int frequencyRank MEMBER frequencyRank CONSTANT)
    Q_PROPERTY(QStringList acceptedAnswers MEMBER acceptedAnswers CONSTANT)
    Q_PROPERTY(QStringList tags MEMBER tags CONSTANT)
  public:
    QString id, language, term, reading, romanization;
    QStringList meanings;
    QString exampleTarget, exampleEnglish;
    int level = 0;
    int frequencyRank = 0;
    QStringList acceptedAnswers, tags;
    bool operator==(const VocabularyItem&) const = default;
};

struct LexiconLesson {
    Q_GADGET
    QML_VALUE_TYPE(lexiconLesson)
    Q_PROPERTY(tessel::records::VocabularyItem item MEMBER item CONSTANT)
    Q_PROPERTY(QString note MEMBER note CONSTANT)
    Q_PROPERTY(QString attribution MEMBER attribution CONSTANT)
    Q_PROPERTY(bool isContextual MEMBER isContextual CONSTANT)
  public:
    VocabularyItem item;
    QString note, attribution;
    bool isContextual = false;
    bool operator==(const LexiconLesson&) const = default;
};

struct LexiconEntry {
    Q_GADGET
    QML_VALUE_TYPE(lexiconEntry)
    Q_PROPERTY(QString id MEMBER id CONSTANT)
    Q_PROPERTY(QString language MEMBER language CONSTANT)
    Q_PROPERTY(QString term MEMBER term CONSTANT)
    Q_PROPERTY(QString alternate MEMBER alternate CONSTANT)
    Q_PROPERTY(QString reading MEMBER reading CONSTANT)
    Q_PROPERTY(QString romanization MEMBER romanization CONSTANT)
    Q_PROPERTY(QStringList meanings MEMBER meanings CONSTANT)
    Q_PROPERTY(int frequencyRank MEMBER frequencyRank CONSTANT)
    Q_PROPERTY(int level MEMBER level CONSTANT)
    Q_PROPERTY(bool isInCurriculum MEMBER isInCurriculum CONSTANT)
    Q_PROPERTY(QString source MEMBER source CONSTANT)
    Q_PROPERTY(QStringList partsOfSpeech MEMBER partsOfSpeech CONSTANT)
  public:
    QString id, language, term, alternate, reading, romanization;
    QStringList meanings;
    int frequencyRank = 0;
    int level = 0;
    bool isInCurriculum = false;
    QString source;
    QStringList partsOfSpeech;
    bool operator==(const LexiconEntry&) const = default;
};

struct LexiconSource {
    Q_GADGET
    QML_VALUE_TYPE(lexiconSource)
    Q_PROPERTY(QString id MEMBER id CONSTANT)
    Q_PROPERTY(QString name MEMBER name CONSTANT)
    Q_PROPERTY(QString url MEMBER url CONSTANT)
    Q_PROPERTY(QString license MEMBER license CONSTANT)
    Q_PROPERTY(QString licenseURL MEMBER licenseURL CONSTANT)
    Q_PROPERTY(QString attribution MEMBER attribution CONSTANT)
    Q_PROPERTY(QString checksum MEMBER checksum CONSTANT)
  public:
    QString id, name, url, license, licenseURL, attribution, checksum;
    bool operator==(const LexiconSource&) const = default;
};

struct LexiconCharacter {
    Q_GADGET
    QML_VALUE_TYPE(lexiconCharacter)
    Q_PROPERTY(QString character MEMBER character CONSTANT)
    Q_PROPERTY(QString language MEMBER language CONSTANT)
    Q_PROPERTY(int strokeCount MEMBER strokeCount CONSTANT)
    Q_PROPERTY(QStringList readings MEMBER readings CONSTANT)
    Q_PROPERTY(QStringList kunReadings MEMBER kunReadings CONSTANT)
    Q_PROPERTY(QStringList meanings MEMBER meanings CONSTANT)
    Q_PROPERTY(int grade MEMBER grade CONSTANT)
    Q_PROPERTY(int jlpt MEMBER jlpt CONSTANT)
    Q_PROPERTY(int frequency MEMBER frequency CONSTANT)
    Q_PROPERTY(QByteArray strokes MEMBER strokes CONSTANT)
  public:
    QString character, language;
    int strokeCount = 0;
    QStringList readings, kunReadings, meanings;
    int grade = 0, jlpt = 0, frequency = 0;
    QByteArray strokes;
    bool operator==(const LexiconCharacter&) const = default;
};

struct LexiconCounts {
    Q_GADGET
    QML_VALUE_TYPE(lexiconCounts)
    Q_PROPERTY(double referenceEntries MEMBER referenceEntries CONSTANT)
    Q_PROPERTY(double curriculumEntries MEMBER curriculumEntries CONSTANT)
    Q_PROPERTY(double contextualExercises MEMBER contextualExercises CONSTANT)
  public:
    double referenceEntries = 0, curriculumEntries = 0, contextualExercises = 0;
    bool operator==(const LexiconCounts&) const = default;
};

struct DailyStudyStats {
    Q_GADGET
    QML_VALUE_TYPE(dailyStudyStats)
    Q_PROPERTY(QString day MEMBER day CONSTANT)
    Q_PROPERTY(int reviewedCount MEMBER reviewedCount CONSTANT)
    Q_PROPERTY(int correctCount MEMBER correctCount CONSTANT)
    Q_PROPERTY(int newCardsLearned MEMBER newCardsLearned CONSTANT)
    Q_PROPERTY(int sessionsCompleted MEMBER sessionsCompleted CONSTANT)
    Q_PROPERTY(double studySeconds MEMBER studySeconds CONSTANT)
    Q_PROPERTY(int incorrectCount MEMBER incorrectCount CONSTANT)
    Q_PROPERTY(double accuracy MEMBER accuracy CONSTANT)
    Q_PROPERTY(bool hasActivity MEMBER hasActivity CONSTANT)
  public:
    QString day;
    int reviewedCount = 0, correctCount = 0, newCardsLearned = 0, sessionsCompleted = 0;
    double studySeconds = 0;
    int incorrectCount = 0;
    double accuracy = 0;
    bool hasActivity = false;
    bool operator==(const DailyStudyStats&) const = default;
};

struct StudyStreak {
    Q_GADGET
    QML_VALUE_TYPE(studyStreak)
    Q_PROPERTY(int currentDays MEMBER currentDays CONSTANT)
    Q_PROPERTY(int longestDays MEMBER longestDays CONSTANT)
    Q_PROPERTY(QString lastStudyDay MEMBER lastStudyDay CONSTANT)
    Q_PROPERTY(bool hasStudiedToday MEMBER hasStudiedToday CONSTANT)
  public:
    int currentDays = 0, longestDays = 0;
    QString lastStudyDay;
    bool hasStudiedToday = false;
    bool operator==(const StudyStreak&) const = default;
};

struct AnswerEvaluation {
    Q_GADGET
    QML_VALUE_TYPE(answerEvaluation)
    Q_PROPERTY(QString input MEMBER input CONSTANT)
    Q_PROPERTY(QString normalizedInput MEMBER normalizedInput CONSTANT)
    Q_PROPERTY(bool isCorrect MEMBER isCorrect CONSTANT)
    Q_PROPERTY(QString matchedAnswer MEMBER matchedAnswer CONSTANT)
  public:
    QString input, normalizedInput;
    bool isCorrect = false;
    QString matchedAnswer;
    bool operator==(const AnswerEvaluation&) const = default;
};

struct StudySessionPlan {
    Q_GADGET
    QML_VALUE_TYPE(studySessionPlan)
    Q_PROPERTY(QVariantList dueItems MEMBER dueItems CONSTANT)
    Q_PROPERTY(QVariantList newItems MEMBER newItems CONSTANT)
    Q_PROPERTY(QVariantList items MEMBER items CONSTANT)
    Q_PROPERTY(int availableDueCount MEMBER availableDueCount CONSTANT)
    Q_PROPERTY(int availableNewCount MEMBER availableNewCount CONSTANT)
    Q_PROPERTY(bool isEmpty MEMBER isEmpty CONSTANT)
  public:
    QVariantList dueItems, newItems, items;
    int availableDueCount = 0, availableNewCount = 0;
    bool isEmpty = true;
    bool operator==(const StudySessionPlan&) const = default;
};

struct CardProgress {
    Q_GADGET
    QML_VALUE_TYPE(cardProgress)
    Q_PROPERTY(QString itemID MEMBER itemID CONSTANT)
    Q_PROPERTY(double stabilityDays MEMBER stabilityDays CONSTANT)
    Q_PROPERTY(double difficulty MEMBER difficulty CONSTANT)
    Q_PROPERTY(int intervalDays MEMBER intervalDays CONSTANT)
    Q_PROPERTY(QDateTime dueDate MEMBER dueDate CONSTANT)
    Q_PROPERTY(int totalReviews MEMBER totalReviews CONSTANT)
    Q_PROPERTY(int correctReviews MEMBER correctReviews CONSTANT)
    Q_PROPERTY(int lapseCount MEMBER lapseCount CONSTANT)
    Q_PROPERTY(int consecutiveCorrect MEMBER consecutiveCorrect CONSTANT)
    // Computed (see Leech.h), not part of the stored record.
    Q_PROPERTY(bool isLeech MEMBER isLeech CONSTANT)
  public:
    QString itemID;
    double stabilityDays = 0, difficulty = 0;
    int intervalDays = 0;
    QDateTime dueDate;
    int totalReviews = 0, correctReviews = 0, lapseCount = 0, consecutiveCorrect = 0;
    bool isLeech = false;
    bool operator==(const CardProgress&) const = default;
};

// A word missed in the current session and what the learner typed for it ("" for none).
struct SessionMiss {
    Q_GADGET
    QML_VALUE_TYPE(sessionMiss)
    Q_PROPERTY(tessel::records::VocabularyItem item MEMBER item CONSTANT)
    Q_PROPERTY(QString typed MEMBER typed CONSTANT)
  public:
    VocabularyItem item;
    QString typed;
    bool operator==(const SessionMiss&) const = default;
};

// A word that keeps slipping and how often it has lapsed.
struct LeechWord {
    Q_GADGET
    QML_VALUE_TYPE(leechWord)
    Q_PROPERTY(tessel::records::VocabularyItem item MEMBER item CONSTANT)
    Q_PROPERTY(int lapseCount MEMBER lapseCount CONSTANT)
  public:
    VocabularyItem item;
    int lapseCount = 0;
    bool operator==(const LeechWord&) const = default;
};

// Conversions from the core's records (UTF-8 texts become QStrings).
QString toQString(const std::string& text);
QStringList toQStringList(const std::vector<std::string>& texts);
QDateTime toQDateTime(Instant instant);
VocabularyItem fromCore(const tessel::VocabularyItem& item);
LexiconLesson fromCore(const tessel::LexiconLesson& lesson);
LexiconEntry fromCore(const tessel::LexiconEntry& entry);
LexiconSource fromCore(const tessel::LexiconSource& source);
LexiconCounts fromCore(const tessel::LexiconCounts& counts);
LexiconCharacter fromCore(const tessel::LexiconCharacter& character);
DailyStudyStats fromCore(const tessel::DailyStudyStats& stats);
StudyStreak fromCore(const tessel::StudyStreak& streak);
AnswerEvaluation fromCore(const tessel::AnswerEvaluation& evaluation);
StudySessionPlan fromCore(const tessel::StudySessionPlan& plan);
CardProgress fromCore(const tessel::CardProgress& card);

// A list of records as a QVariantList of value types, in order.
template <class CoreRecord>
QVariantList toVariantList(const std::vector<CoreRecord>& records) {
    QVariantList list;
    list.reserve(static_cast<qsizetype>(records.size()));
    for (const auto& record : records) list.append(QVariant::fromValue(fromCore(record)));
    return list;
}

}  // namespace tessel::records
