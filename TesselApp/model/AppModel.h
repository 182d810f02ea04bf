// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one object that owns everything the screens show and everything the learner can change.
//
// QML API (import Brindle.Model; the singleton is `AppModel`):
//
// Enumerations travel as their text values: destination "home" | "learn" | "dictionary" |
// "progress" | "settings" | "sources"; languages "chinese" | "japanese"; sessionPhase "idle" |
// "answering" | "feedback" | "complete"; ratings "again" | "hard" | "good" | "easy".
// Records are value types (see Records.h) whose properties carry the record's field names.
// Optional values (currentItem, currentLesson, answerEvaluation, sessionStartedAt, cardFor())
// are `undefined` when absent.
//
// Properties (all notify):
//   destination (rw string)          selectedLanguage (string)      lessonCount (int)
//   counts (lexiconCounts)           sources (list of lexiconSource)
//   plan (studySessionPlan)          searchQuery (rw string)        searchResults (list)
//   isSearching (bool)               isProgressReady (bool)         startupError (rw string, ""
//   isLexiconAvailable (bool, constant: false when the word list    = none; write "" to dismiss;
//     could not be opened)                                          several problems are listed
//                                                                   one per paragraph)
//   sessionItems (list of vocabularyItem)   currentIndex (int)      sessionPhase (string)
//   answer (rw string)               answerEvaluation (answerEvaluation | undefined)
//   sessionCorrect (int)             sessionReviewed (int)          sessionStartedAt (Date |
//                                                                   undefined)
//   hasCompletedOnboarding (bool)    onboardingLanguage (rw string) onboardingLevel (rw int)
//   startingBand (rw int)            dailyGoal (rw int)             newWordsPerSession (rw int)
//   speechRate (rw double)           showReading (rw bool)          showTranslation (rw bool)
//   playAudioAutomatically (rw bool) currentItem (vocabularyItem | undefined)
//   currentLesson (lexiconLesson | undefined)
//   Statistics, notified together by statisticsChanged: todayStats (dailyStudyStats),
//   streak (studyStreak), goalProgress (double 0...1), learnedCount, stableCount,
//   totalAnswerCount (int), overallAccuracy (double 0...1), statisticsRevision (int; mention it
//   in bindings that call statsForRecentDays so they re-evaluate), todayAccuracyText and
//   overallAccuracyText (string, see percentText).
//   sessionAccuracyText (string, see percentText; notified by sessionReviewedChanged, which every
//   change of the session's counters emits)
//   canUndoRating (bool) and sessionMisses (list of sessionMiss, the session's wrong answers in
//   order), notified together by ratingHistoryChanged
//   leeches (list of leechWord: the selected language's words that keep slipping, most lapses
//   first, at most 10; notified by statisticsChanged)
//
// Invokables:
//   selectLanguage(string)  completeOnboarding()  reloadLanguageContent()  refreshPlan()
//   beginSession(bool reviewOnly)  submitAnswer()  revealAnswer()
//   rateAndAdvance(string; an unknown rating does nothing)  leaveSession()  runSearch()
//   statsForRecentDays(int n) -> [{day: Date, stats}] exportProgress(url or path) -> "" or the
//   error text (no prefix) restoreProgress(url or path) -> "" or the error text (no prefix)
//   resetProgress()  cardFor(string itemID) -> cardProgress | undefined
//   playCurrentSentence()  speak(string text, string language; "chinese" or "japanese", any
//   other language speaks nothing)  pronounce(string term, string reading, string language)
//   undoLastRating()  openInDictionary(string term)
//   currentHour() -> int  now() -> Date
//   languageName(string language) -> "Chinese" | "Japanese"
//   nativeLanguageName(string language) -> "中文" | "日本語" (anything but "japanese" is Chinese)
//   Character panel: charactersOf(string term) -> [string] (its Han characters, each once)
//   characterInfo(string character, string language) -> lexiconCharacter | undefined
//   wordsWithCharacter(string character, string language) -> [lexiconEntry]
//
// The full list of lessons stays in C++ (up to 40,000 records); QML sees lessonCount. Counts of
// the lexicon are numbers (doubles) so that 64-bit figures survive.

#include <QtQml/qqmlregistration.h>
#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <vector>

#include "AnswerNormalization.h"
#include "Calendar.h"
#include "Course.h"
#include "CourseFigures.h"
#include "Leech.h"
#include "LexiconStore.h"
#include "Preferences.h"
#include "Progress.h"
#include "ReviewUndo.h"
#include "SessionSelection.h"
#include "StudyEngine.h"

class QQmlEngine;
class QJSEngine;
class QSettings;

namespace tessel {

class ProgressStoring;
class ProgressSaver;
class SpeechOutput;

enum class AppDestination { home, learn, dictionary, progress, settings, sources };
enum class SessionPhase { idle, answering, feedback, complete };

QString rawValue(AppDestination destination);
std::optional<AppDestination> appDestinationFromRawValue(const QString& raw);
QString rawValue(SessionPhase phase);

class AppModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    Q_PROPERTY(QString destination READ destination WRITE setDestination NOTIFY destinationChanged)
    Q_PROPERTY(QString selectedLanguage READ selectedLanguage NOTIFY selectedLanguageChanged)
    Q_PROPERTY(int lessonCount READ lessonCount NOTIFY lessonsChanged)
    Q_PROPERTY(QVariant counts READ counts NOTIFY countsChanged)
    Q_PROPERTY(QVariantList sources READ sources NOTIFY sourcesChanged)
    Q_PROPERTY(QVariant plan READ plan NOTIFY planChanged)
    Q_PROPERTY(QString searchQuery READ searchQuery WRITE setSearchQuery NOTIFY searchQueryChanged)
    Q_PROPERTY(QVariantList searchResults READ searchResults NOTIFY searchResultsChanged)
    Q_PROPERTY(bool isSearching READ isSearching NOTIFY isSearchingChanged)
    Q_PROPERTY(bool isProgressReady READ isProgressReady NOTIFY isProgressReadyChanged)
    Q_PROPERTY(bool isLexiconAvailable READ isLexiconAvailable CONSTANT)
    Q_PROPERTY(
        QString startupError READ startupError WRITE setStartupError NOTIFY startupErrorChanged)
    Q_PROPERTY(QVariantList sessionItems READ sessionItems NOTIFY sessionItemsChanged)
    Q_PROPERTY(int currentIndex READ currentIndex NOTIFY currentIndexChanged)
    Q_PROPERTY(QString sessionPhase READ sessionPhase NOTIFY sessionPhaseChanged)
    Q_PROPERTY(QString answer READ answer WRITE setAnswer NOTIFY answerChanged)
    Q_PROPERTY(QVariant answerEvaluation READ answerEvaluation NOTIFY answerEvaluationChanged)
    Q_PROPERTY(int sessionCorrect READ sessionCorrect NOTIFY sessionCorrectChanged)
    Q_PROPERTY(int sessionReviewed READ sessionReviewed NOTIFY sessionReviewedChanged)
    Q_PROPERTY(QVariant sessionStartedAt READ sessionStartedAt NOTIFY sessionStartedAtChanged)
    Q_PROPERTY(bool hasCompletedOnboarding READ hasCompletedOnboarding NOTIFY
                   hasCompletedOnboardingChanged)
    Q_PROPERTY(QString onboardingLanguage READ onboardingLanguage WRITE setOnboardingLanguage NOTIFY
                   onboardingLanguageChanged)
    Q_PROPERTY(int onboardingLevel READ onboardingLevel WRITE setOnboardingLevel NOTIFY
                   onboardingLevelChanged)
    Q_PROPERTY(int startingBand READ startingBand WRITE setStartingBand NOTIFY startingBandChanged)
    Q_PROPERTY(int dailyGoal READ dailyGoal WRITE setDailyGoal NOTIFY dailyGoalChanged)
    Q_PROPERTY(int newWordsPerSession READ newWordsPerSession WRITE setNewWordsPerSession NOTIFY
                   newWordsPerSessionChanged)
    Q_PROPERTY(double speechRate READ speechRate WRITE setSpeechRate NOTIFY speechRateChanged)
    Q_PROPERTY(bool showReading READ showReading WRITE setShowReading NOTIFY showReadingChanged)
    Q_PROPERTY(bool showTranslation READ showTranslation WRITE setShowTranslation NOTIFY
                   showTranslationChanged)
    Q_PROPERTY(bool playAudioAutomatically READ playAudioAutomatically WRITE
                   setPlayAudioAutomatically NOTIFY playAudioAutomaticallyChanged)
    Q_PROPERTY(QVariant currentItem READ currentItemValue NOTIFY currentItemChanged)
    Q_PROPERTY(QVariant currentLesson READ currentLessonValue NOTIFY currentItemChanged)

    Q_PROPERTY(QVariant todayStats READ todayStatsValue NOTIFY statisticsChanged)
    Q_PROPERTY(QVariant streak READ streakValue NOTIFY statisticsChanged)
    Q_PROPERTY(double goalProgress READ goalProgress NOTIFY statisticsChanged)
    Q_PROPERTY(int learnedCount READ learnedCount NOTIFY statisticsChanged)
    Q_PROPERTY(int stableCount READ stableCount NOTIFY statisticsChanged)
    Q_PROPERTY(int totalAnswerCount READ totalAnswerCount NOTIFY statisticsChanged)
    Q_PROPERTY(double overallAccuracy READ overallAccuracy NOTIFY statisticsChanged)
    Q_PROPERTY(int statisticsRevision READ statisticsRevision NOTIFY statisticsChanged)
    Q_PROPERTY(QString todayAccuracyText READ todayAccuracyText NOTIFY statisticsChanged)
    Q_PROPERTY(QString overallAccuracyText READ overallAccuracyText NOTIFY statisticsChanged)
    Q_PROPERTY(QString sessionAccuracyText READ sessionAccuracyText NOTIFY sessionReviewedChanged)
    Q_PROPERTY(bool canUndoRating READ canUndoRating NOTIFY ratingHistoryChanged)
    Q_PROPERTY(QVariantList sessionMisses READ sessionMisses NOTIFY ratingHistoryChanged)
    Q_PROPERTY(QVariantList leeches READ leeches NOTIFY statisticsChanged)

  public:
    using Clock = std::function<Instant()>;
    using CalendarSource = std::function<Calendar()>;

    struct Dependencies {
        // Preferences live here; not owned, must outlive the model.
        QSettings* settings = nullptr;
        // Absent when the lexicon could not be opened.
        std::shared_ptr<LexiconStore> lexicon;
        std::shared_ptr<ProgressStoring> progressStore;
        // Absent: nothing is spoken.
        std::shared_ptr<SpeechOutput> speech;
        // Default: the system clock.
        Clock now;
        // Default: the user's local calendar, asked afresh each time.
        CalendarSource calendar;
        // Shown to the learner at start-up; empty for none.
        QString initialError;
        // The progress file behind `progressStore`; an unreadable file there is moved aside
        // before the first save. Empty when the store has no file.
        QString progressFilePath;
        // Non-empty: nothing is ever saved (another window owns the data folder), and this is
        // shown at start-up.
        QString readOnlyReason;
        // True: the selected language's course, counts and sources are read on a worker thread,
        // through a connection of its own, while the screens load; they arrive with
        // finishStartupContent() or the first turn of the event loop, whichever comes first.
        // The dictionary's first list follows a moment later.
        // False: it is all read before the constructor returns.
        bool readCourseInBackground = false;
    };

    // Runs the start-up sequence: reads and writes back the preferences, loads the selected
    // language's content and starts loading the saved progress in the background.
    // REQUIRES: called on the main thread; deps.settings and deps.progressStore set.
    explicit AppModel(Dependencies deps, QObject* parent = nullptr);
    ~AppModel() override;

    // The application's model: the bundled lexicon (its error shown when missing), the progress
    // file in the user's data folder, preferences under "Brindle"/"Brindle", the system voice.
    // A non-empty `readOnlyReason` keeps it from saving (see Dependencies).
    static AppModel* createDefault(QObject* parent = nullptr, const QString& readOnlyReason = {});
    // ".../Brindle/progress.json" in the user's data folder (the temporary folder when there is
    // none).
    static QString defaultProgressFilePath();

    // The singleton instance handed to QML; set it before the first QML import.
    static void setInstance(AppModel* model);
    static AppModel* instance();
    static AppModel* create(QQmlEngine* qmlEngine, QJSEngine* jsEngine);

    // 10, 20, 30, 50 or 100: the option nearest to `value` (raised to 10, lowered to 100); a tie
    // goes to the smaller option.
    static int clampedDailyGoal(std::int64_t value) { return Preferences::clampedDailyGoal(value); }

    // Properties as QML sees them.
    QString destination() const { return rawValue(m_destination); }
    void setDestination(const QString& destination);
    QString selectedLanguage() const;
    int lessonCount() const { return static_cast<int>(m_course.size()); }
    QVariant counts() const;
    QVariantList sources() const;
    QVariant plan() const;
    QString searchQuery() const { return m_searchQuery; }
    void setSearchQuery(const QString& query);
    QVariantList searchResults() const;
    bool isSearching() const { return m_isSearching; }
    bool isProgressReady() const { return m_isProgressReady; }
    bool isLexiconAvailable() const { return m_lexicon != nullptr; }
    QString startupError() const { return m_startupError; }
    void setStartupError(const QString& message);
    QVariantList sessionItems() const;
    int currentIndex() const { return static_cast<int>(m_currentIndex); }
    QString sessionPhase() const { return rawValue(m_sessionPhase); }
    QString answer() const { return m_answer; }
    void setAnswer(const QString& answer);
    QVariant answerEvaluation() const;
    int sessionCorrect() const { return static_cast<int>(m_sessionCorrect); }
    int sessionReviewed() const { return static_cast<int>(m_sessionReviewed); }
    QVariant sessionStartedAt() const;
    bool hasCompletedOnboarding() const { return m_hasCompletedOnboarding; }
    QString onboardingLanguage() const;
    void setOnboardingLanguage(const QString& language);
    int onboardingLevel() const { return static_cast<int>(m_onboardingLevel); }
    void setOnboardingLevel(int level);
    int startingBand() const { return static_cast<int>(m_prefs.startingBand); }
    void setStartingBand(int band);
    int dailyGoal() const { return static_cast<int>(m_prefs.dailyGoal); }
    void setDailyGoal(int goal);
    int newWordsPerSession() const { return static_cast<int>(m_prefs.newWordsPerSession); }
    void setNewWordsPerSession(int count);
    double speechRate() const { return m_prefs.speechRate; }
    void setSpeechRate(double rate);
    bool showReading() const { return m_prefs.showReading; }
    void setShowReading(bool show);
    bool showTranslation() const { return m_prefs.showTranslation; }
    void setShowTranslation(bool show);
    bool playAudioAutomatically() const { return m_prefs.playAudioAutomatically; }
    void setPlayAudioAutomatically(bool play);
    QVariant currentItemValue() const;
    QVariant currentLessonValue() const;

    QVariant todayStatsValue() const;
    QVariant streakValue() const;
    double goalProgress() const;
    int learnedCount() const;
    int stableCount() const;
    int totalAnswerCount() const;
    double overallAccuracy() const;
    int statisticsRevision() const { return m_statisticsRevision; }
    QString todayAccuracyText() const;
    QString overallAccuracyText() const;
    QString sessionAccuracyText() const;
    // A rating of the current session is there to take back.
    bool canUndoRating() const { return !m_ratings.empty(); }
    QVariantList sessionMisses() const;
    QVariantList leeches() const;

    // `part` of `whole` as a whole percentage in the default locale ("67%"), halves rounded to
    // even as number formatting does elsewhere on the desktop (1 of 8 is "12%"); "—" when
    // `whole` is not positive. Every accuracy the screens show goes through this rule.
    static QString percentText(std::int64_t part, std::int64_t whole);

    // Operations as QML calls them.
    // Switches the study language; "japanese" selects Japanese, anything else Chinese.
    Q_INVOKABLE void selectLanguage(const QString& language);
    Q_INVOKABLE void completeOnboarding();
    // Reloads lessons, counts, sources and search results and recomputes the plan; a failing
    // lexicon query stops there and shows its description.
    Q_INVOKABLE void reloadLanguageContent();
    // Waits for the content being read in the background (if any) and loads it; nothing to do
    // when it has already arrived. The window calls it once its screens are loaded, so the first
    // frame shows the course.
    void finishStartupContent();
    Q_INVOKABLE void refreshPlan();
    Q_INVOKABLE void beginSession(bool reviewOnly);
    Q_INVOKABLE void submitAnswer();
    // "Show answer": judges an empty answer for the current card and shows the verdict. Only in
    // the answering phase with a current card.
    Q_INVOKABLE void revealAnswer();
    // An unknown rating text does nothing.
    Q_INVOKABLE void rateAndAdvance(const QString& rating);
    Q_INVOKABLE void leaveSession();
    // Takes back the session's last rating: the progress as it was before it (card, day's
    // figures, streak) is saved again, and the learner is back on that card with their answer and
    // its verdict shown. Nothing without a rating to take back (see canUndoRating).
    Q_INVOKABLE void undoLastRating();
    // Opens the dictionary searching for `term`.
    Q_INVOKABLE void openInDictionary(const QString& term);
    Q_INVOKABLE void runSearch();
    // n pairs {day: Date (start of day), stats: dailyStudyStats}, oldest first, the last today.
    Q_INVOKABLE QVariantList statsForRecentDays(int n) const;
    // "" on success, else the error's description. Accepts file URLs and plain paths.
    Q_INVOKABLE QString exportProgress(const QVariant& location);
    Q_INVOKABLE QString restoreProgress(const QVariant& location);
    Q_INVOKABLE void resetProgress();
    Q_INVOKABLE QVariant cardFor(const QString& itemID) const;
    // Speaks the current card's example sentence with its blank filled, Japanese from its kana
    // (spokenSentence); nothing without a card.
    Q_INVOKABLE void playCurrentSentence();
    Q_INVOKABLE void speak(const QString& text, const QString& language);
    // Says a dictionary entry as the language's voice can read it: Mandarin its term, Japanese
    // its kana reading (nothing when the reading is not kana); any other language says nothing.
    Q_INVOKABLE void pronounce(const QString& term, const QString& reading,
                               const QString& language);
    // The dictionary's character panel (AppModelCharacters.cpp). A failing lexicon query shows its
    // description and answers as if there were no data.
    Q_INVOKABLE QStringList charactersOf(const QString& term) const;
    Q_INVOKABLE QVariant characterInfo(const QString& character, const QString& language);
    Q_INVOKABLE QVariantList wordsWithCharacter(const QString& character, const QString& language);
    Q_INVOKABLE int currentHour() const;
    Q_INVOKABLE QDateTime now() const;
    Q_INVOKABLE QString languageName(const QString& language) const;
    Q_INVOKABLE QString nativeLanguageName(const QString& language) const;

    // The same state for C++ callers (tests, benchmarks, the command line).
    AppDestination destinationValue() const { return m_destination; }
    LearningLanguage selectedLanguageValue() const { return m_selectedLanguage; }
    SessionPhase sessionPhaseValue() const { return m_sessionPhase; }
    const std::vector<LexiconLesson>& lessons() const { return m_course.lessons(); }
    const LexiconCounts& countsValue() const { return m_counts; }
    const std::vector<LexiconEntry>& searchResultsValue() const { return m_searchResults; }
    const StudySessionPlan& planValue() const { return m_plan; }
    const LearnerProgress& progress() const { return m_progress; }
    const std::vector<VocabularyItem>& sessionItemsValue() const { return m_sessionItems; }
    const std::optional<AnswerEvaluation>& answerEvaluationValue() const {
        return m_answerEvaluation;
    }
    std::optional<VocabularyItem> currentItem() const;
    std::optional<LexiconLesson> currentLesson() const;
    const Preferences::Values& preferences() const { return m_prefs; }
    DailyStudyStats todayStats() const;
    StudyStreak streak() const;
    std::vector<std::pair<Instant, DailyStudyStats>> recentDays(int n) const;
    void selectLanguage(LearningLanguage language);
    void rateAndAdvance(ReviewRating rating);
    // "" on success, else the error's description.
    QString exportProgressToFile(const QString& path) const;
    QString restoreProgressFromFile(const QString& path);
    // Saves still queued or running; 0 once every save has answered.
    int pendingSaveCount() const;
    // Writes the newest unsaved change now, after any save in flight (see ProgressSaver::finish);
    // nothing is saved afterwards. For the end of the application: the destructor does it too.
    void finishSaving();

  signals:
    void destinationChanged();
    void selectedLanguageChanged();
    void lessonsChanged();
    void countsChanged();
    void sourcesChanged();
    void planChanged();
    void searchQueryChanged();
    void searchResultsChanged();
    void isSearchingChanged();
    void isProgressReadyChanged();
    void startupErrorChanged();
    void sessionItemsChanged();
    void currentIndexChanged();
    void sessionPhaseChanged();
    void answerChanged();
    void answerEvaluationChanged();
    void sessionCorrectChanged();
    void sessionReviewedChanged();
    void sessionStartedAtChanged();
    void hasCompletedOnboardingChanged();
    void onboardingLanguageChanged();
    void onboardingLevelChanged();
    void startingBandChanged();
    void dailyGoalChanged();
    void newWordsPerSessionChanged();
    void speechRateChanged();
    void showReadingChanged();
    void showTranslationChanged();
    void playAudioAutomaticallyChanged();
    void currentItemChanged();
    void statisticsChanged();
    void ratingHistoryChanged();
    // Every requested save has answered (or been given up); for tests and a clean quit.
    void savesSettled();

  private:
    void setDestinationValue(AppDestination destination);
    // What the screens show of a language besides the learner's progress, read together: on a
    // worker at start-up, in place on a language switch.
    struct LanguageContent {
        Course course;
        LexiconCounts counts;
        std::vector<LexiconSource> sources;
    };
    static Result<LanguageContent> readLanguageContent(const LexiconStore& lexicon,
                                                       LearningLanguage language);
    // The content of `language`: the one read in the background when it was read for that
    // language and succeeded, else read now (so an error is reported as by any other read).
    Result<LanguageContent> takeLanguageContent(LearningLanguage language);
    // Takes the selected language's content and recomputes the plan; the dictionary's list for
    // the current query is searched now, or (false: at start-up) a moment later.
    void loadLanguageContent(bool searchNow);
    void setLessons(Course course);
    void scheduleDayChange();
    void loadProgress(std::int64_t generation);
    void applyLoadedProgress(std::int64_t generation, Result<LearnerProgress> loaded);
    void progressBecameReady();
    // Replaces the whole progress; the figures kept from it start again. Saves nothing.
    void replaceProgress(LearnerProgress progress);
    // Saves the whole progress (after a restore or a reset).
    void persistWholeProgress();
    // Every change of the progress but a whole replacement goes through here: `change` may alter
    // only the cards stored under `cardIDs` (adding or removing them too) and the figures of the
    // days keyed `dayKeys` (in any statistics map). The statistics, their notification and the
    // save follow from those entries alone, so a change costs the same for 100 or 100,000 cards.
    void changeProgress(const std::vector<std::string>& cardIDs,
                        const std::vector<std::string>& dayKeys,
                        const std::function<void(LearnerProgress&)>& change);
    // After the records under `dayKey` made it a study day or no longer one; `onlyChangedDay`
    // when no other day's records changed with them.
    void keepStreakAfterStudyDayTurned(const std::string& dayKey, bool onlyChangedDay);
    void prepareCurrentCard();
    // Shows `message` with any message already showing, each once.
    void addStartupError(const QString& message);
    void applySearchResult(std::int64_t generation, LearningLanguage language,
                           const QString& query);
    void setPhase(SessionPhase phase);
    void setSessionItems(std::vector<VocabularyItem> items);
    void setCurrentIndex(std::int64_t index);
    void setAnswerEvaluation(std::optional<AnswerEvaluation> evaluation);
    void setIsSearching(bool searching);
    void setPlan(StudySessionPlan plan);
    void setSearchResults(std::vector<LexiconEntry> results);
    void setSessionCounters(std::int64_t reviewed, std::int64_t correct);
    void markStatisticsChanged();
    // Remembers what rating the current card at `at` is about to change, for undoLastRating.
    void rememberRating(const VocabularyItem& item, Instant at, const Calendar& calendar);
    void clearRatings();
    void speakText(const QString& text, LearningLanguage language);
    void stopSpeech();
    // Readies `language`'s voice because the learner is about to be able to hear it.
    void prepareSpeech(LearningLanguage language);
    // Readies the selected language's voice when the dictionary, whose entries have a speaker
    // button, is open.
    void prepareSpeechForDictionary();
    Instant nowInstant() const { return m_now(); }
    Calendar calendar() const { return m_calendar(); }
    // Figures over the cards of the selected language's lessons, computed after a replacement
    // or a change of course, then kept up to date by changeProgress.
    const CourseCards& courseCards() const;
    const CourseFigures& cardFigures() const;
    // Drops the figures kept over the progress: after a replacement, a change of course or
    // language.
    void resetKeptFigures();

    QSettings* m_settings;
    std::shared_ptr<LexiconStore> m_lexicon;
    std::unique_ptr<ProgressSaver> m_saver;
    std::shared_ptr<SpeechOutput> m_speech;
    Clock m_now;
    CalendarSource m_calendar;
    StudyEngine m_engine;

    AppDestination m_destination = AppDestination::home;
    LearningLanguage m_selectedLanguage = LearningLanguage::chinese;
    Course m_course;
    // The content being read at start-up for m_pendingContentLanguage; invalid once taken. Empty
    // when the worker's reading failed.
    std::future<std::optional<LanguageContent>> m_pendingContent;
    LearningLanguage m_pendingContentLanguage = LearningLanguage::chinese;
    LexiconCounts m_counts;
    std::vector<LexiconSource> m_sources;
    // Changed only through changeProgress and replaceProgress.
    LearnerProgress m_progress;
    StudySessionPlan m_plan;
    // QML's view of the plan and the session's cards, built on first read after a change.
    mutable QVariant m_planValue;
    mutable std::optional<QVariantList> m_sessionItemsValue;
    QString m_searchQuery;
    std::vector<LexiconEntry> m_searchResults;
    bool m_isSearching = false;
    bool m_isProgressReady = false;
    QString m_startupError;
    std::vector<VocabularyItem> m_sessionItems;
    std::int64_t m_currentIndex = 0;
    SessionPhase m_sessionPhase = SessionPhase::idle;
    QString m_answer;
    std::optional<AnswerEvaluation> m_answerEvaluation;
    std::int64_t m_sessionCorrect = 0;
    std::int64_t m_sessionReviewed = 0;
    std::optional<Instant> m_sessionStartedAt;
    bool m_hasCompletedOnboarding = false;
    LearningLanguage m_onboardingLanguage = LearningLanguage::chinese;
    std::int64_t m_onboardingLevel = 1;
    Preferences::Values m_prefs;

    std::int64_t m_searchGeneration = 0;
    std::optional<Instant> m_cardStartedAt;
    std::optional<bool> m_pendingSessionRequest;
    std::int64_t m_progressMutationGeneration = 0;
    int m_statisticsRevision = 0;
    mutable std::optional<CourseFigures> m_cardFigures;
    // The learner's card for each lesson, for the plan, the figures and the leeches; built on
    // first use after a replacement or a change of course (courseCards()), then kept up to date
    // by changeProgress.
    mutable std::optional<CourseCards> m_courseCards;
    // The selected course's leeches, found on first read after a replacement or a change of
    // course, then kept up to date by changeProgress.
    mutable std::optional<LeechBoard> m_leechBoard;
    // The streak as of the start of the day it was worked out for, in that calendar's zone;
    // lengthened by the day's first study, dropped when any other day turns into or out of a
    // study day (keepStreakAfterStudyDayTurned).
    struct KeptStreak {
        Instant today;
        std::string zone;
        StudyStreak streak;

        // Whether it was worked out for the day of `now` in this calendar.
        bool isFor(Instant now, const Calendar& calendar) const {
            return today == calendar.startOfDay(now) && zone == calendar.timeZoneID();
        }
    };
    mutable std::optional<KeptStreak> m_streak;
    // One per rating of the current session, oldest first; emptied whenever the session's cards
    // or the whole progress are replaced.
    struct Rating {
        ReviewUndo progress;
        std::int64_t index = 0;
        QString answer;
        AnswerEvaluation evaluation;
        std::optional<Instant> cardStartedAt;
        std::int64_t reviewed = 0;
        std::int64_t correct = 0;
    };
    std::vector<Rating> m_ratings;
    // The leeches as QML last read them, and the statistics revision they belong to.
    mutable std::optional<std::pair<int, QVariantList>> m_leechesValue;

    static QPointer<AppModel> s_instance;
};

}  // namespace tessel
