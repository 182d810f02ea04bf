// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppModel.h"

#include <QCoreApplication>
#include <QJSEngine>
#include <QQmlEngine>
#include <QSettings>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cassert>
#include <chrono>

#include "ProgressSaver.h"
#include "Records.h"
#include "SpeechOutput.h"
#include "SpokenText.h"

namespace tessel {

namespace {

constexpr std::int64_t kLessonLimit = 40000;
constexpr std::int64_t kSearchLimit = 80;
// Long enough for the first screens to be drawn before the speech engine starts.
constexpr std::chrono::milliseconds kAutomaticAudioWarmUpDelay{3000};

QString qstr(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

LearningLanguage languageFromText(const QString& text) {
    return text == QLatin1String("japanese") ? LearningLanguage::japanese
                                             : LearningLanguage::chinese;
}

}  // namespace

QPointer<AppModel> AppModel::s_instance;

QString AppModel::languageName(const QString& language) const {
    return qstr(displayName(languageFromText(language)));
}

QString AppModel::nativeLanguageName(const QString& language) const {
    return languageFromText(language) == LearningLanguage::japanese ? QStringLiteral("日本語")
                                                                    : QStringLiteral("中文");
}

QString rawValue(AppDestination destination) {
    switch (destination) {
        case AppDestination::home:
            return QStringLiteral("home");
        case AppDestination::learn:
            return QStringLiteral("learn");
        case AppDestination::dictionary:
            return QStringLiteral("dictionary");
        case AppDestination::progress:
            return QStringLiteral("progress");
        case AppDestination::settings:
            return QStringLiteral("settings");
        case AppDestination::sources:
            return QStringLiteral("sources");
    }
    return QStringLiteral("home");
}

std::optional<AppDestination> appDestinationFromRawValue(const QString& raw) {
    for (auto destination :
         {AppDestination::home, AppDestination::learn, AppDestination::dictionary,
          AppDestination::progress, AppDestination::settings, AppDestination::sources}) {
        if (rawValue(destination) == raw) return destination;
    }
    return std::nullopt;
}

QString rawValue(SessionPhase phase) {
    switch (phase) {
        case SessionPhase::idle:
            return QStringLiteral("idle");
        case SessionPhase::answering:
            return QStringLiteral("answering");
        case SessionPhase::feedback:
            return QStringLiteral("feedback");
        case SessionPhase::complete:
            return QStringLiteral("complete");
    }
    return QStringLiteral("idle");
}

AppModel::AppModel(Dependencies deps, QObject* parent)
    : QObject(parent),
      m_settings(deps.settings),
      m_lexicon(std::move(deps.lexicon)),
      m_speech(std::move(deps.speech)),
      m_now(deps.now ? std::move(deps.now)
                     : Clock([] { return std::chrono::system_clock::now(); })),
      m_calendar(deps.calendar ? std::move(deps.calendar) : CalendarSource(&Calendar::current)),
      m_engine{AnswerValidator{}, AdaptiveScheduler{}} {
    assert(QCoreApplication::instance() == nullptr ||
           QThread::currentThread() == QCoreApplication::instance()->thread());
    assert(m_settings && deps.progressStore);
    m_saver = std::make_unique<ProgressSaver>(
        std::move(deps.progressStore), std::move(deps.progressFilePath),
        [this] { return nowInstant(); }, !deps.readOnlyReason.isEmpty());
    connect(m_saver.get(), &ProgressSaver::saveFailed, this, [this](const QString& description) {
        setStartupError(QStringLiteral("Progress could not be saved: ") + description);
    });
    connect(m_saver.get(), &ProgressSaver::settled, this, &AppModel::savesSettled);
    m_prefs = Preferences::read(*m_settings);
    m_selectedLanguage = m_prefs.selectedLanguage;
    m_onboardingLanguage = m_prefs.selectedLanguage;
    m_hasCompletedOnboarding = m_prefs.hasCompletedOnboarding;
    m_startupError = deps.initialError;
    addStartupError(deps.readOnlyReason);
    Preferences::writeBack(*m_settings, m_prefs);
    if (deps.readCourseInBackground && m_lexicon) {
        // Reading the course is most of the model's start-up work; it runs beside the loading
        // of the screens, through a read-only connection of the worker's own.
        m_pendingContentLanguage = m_selectedLanguage;
        m_pendingContent = std::async(
            std::launch::async,
            [path = m_lexicon->databasePath(),
             language = m_selectedLanguage]() -> std::optional<LanguageContent> {
                auto store = LexiconStore::open(path);
                if (!store) return std::nullopt;
                auto content = readLanguageContent(**store, language);
                if (!content) return std::nullopt;
                return std::move(*content);
            });
        QMetaObject::invokeMethod(this, &AppModel::finishStartupContent, Qt::QueuedConnection);
    } else {
        reloadLanguageContent();
    }
    loadProgress(m_progressMutationGeneration);
    scheduleDayChange();
}

AppModel::~AppModel() {
    // Nothing may be lost on quit: the newest unsaved change goes to the store after the save in
    // flight, and the store writes it before it goes away.
    finishSaving();
    if (s_instance == this) s_instance = nullptr;
}

int AppModel::pendingSaveCount() const {
    return m_saver->pendingCount();
}

void AppModel::finishSaving() {
    m_saver->finish();
}

void AppModel::setInstance(AppModel* model) {
    s_instance = model;
}

AppModel* AppModel::instance() {
    return s_instance;
}

AppModel* AppModel::create(QQmlEngine* qmlEngine, QJSEngine*) {
    if (!s_instance) {
        // A QML scene loaded without a prepared model (a designer preview) still gets a working
        // one, owned by its engine.
        s_instance = createDefault(qmlEngine);
    }
    QJSEngine::setObjectOwnership(s_instance.data(), QJSEngine::CppOwnership);
    return s_instance.data();
}

// --- properties -----------------------------------------------------------------------------

void AppModel::setDestination(const QString& destination) {
    if (auto value = appDestinationFromRawValue(destination)) setDestinationValue(*value);
}

void AppModel::setDestinationValue(AppDestination destination) {
    if (m_destination == destination) return;
    m_destination = destination;
    emit destinationChanged();
    prepareSpeechForDictionary();
}

QString AppModel::selectedLanguage() const {
    return qstr(rawValue(m_selectedLanguage));
}

QVariant AppModel::counts() const {
    return QVariant::fromValue(records::fromCore(m_counts));
}

QVariantList AppModel::sources() const {
    return records::toVariantList(m_sources);
}

QVariant AppModel::plan() const {
    if (!m_planValue.isValid()) m_planValue = QVariant::fromValue(records::fromCore(m_plan));
    return m_planValue;
}

void AppModel::setSearchQuery(const QString& query) {
    if (m_searchQuery == query) return;
    m_searchQuery = query;
    emit searchQueryChanged();
}

QVariantList AppModel::searchResults() const {
    return records::toVariantList(m_searchResults);
}

void AppModel::setStartupError(const QString& message) {
    if (m_startupError == message) return;
    m_startupError = message;
    emit startupErrorChanged();
}

void AppModel::addStartupError(const QString& message) {
    if (message.isEmpty()) return;
    const QString separator = QStringLiteral("\n\n");
    if (m_startupError.split(separator).contains(message)) return;
    setStartupError(m_startupError.isEmpty() ? message : m_startupError + separator + message);
}

QVariantList AppModel::sessionItems() const {
    if (!m_sessionItemsValue) m_sessionItemsValue = records::toVariantList(m_sessionItems);
    return *m_sessionItemsValue;
}

void AppModel::setAnswer(const QString& answer) {
    if (m_answer == answer) return;
    m_answer = answer;
    emit answerChanged();
}

QVariant AppModel::answerEvaluation() const {
    if (!m_answerEvaluation) return {};
    return QVariant::fromValue(records::fromCore(*m_answerEvaluation));
}

QVariant AppModel::sessionStartedAt() const {
    if (!m_sessionStartedAt) return {};
    return records::toQDateTime(*m_sessionStartedAt);
}

QString AppModel::onboardingLanguage() const {
    return qstr(rawValue(m_onboardingLanguage));
}

void AppModel::setOnboardingLanguage(const QString& language) {
    const LearningLanguage value = languageFromText(language);
    if (m_onboardingLanguage == value) return;
    m_onboardingLanguage = value;
    emit onboardingLanguageChanged();
}

void AppModel::setOnboardingLevel(int level) {
    if (m_onboardingLevel == level) return;
    m_onboardingLevel = level;
    emit onboardingLevelChanged();
}

void AppModel::setStartingBand(int band) {
    const std::int64_t value = Preferences::clampedStartingBand(band);
    m_settings->setValue(Preferences::kStartingBand, static_cast<qlonglong>(value));
    if (m_prefs.startingBand != value) {
        m_prefs.startingBand = value;
        emit startingBandChanged();
    }
    refreshPlan();
}

void AppModel::setDailyGoal(int goal) {
    const std::int64_t value = Preferences::clampedDailyGoal(goal);
    m_settings->setValue(Preferences::kDailyGoal, static_cast<qlonglong>(value));
    if (m_prefs.dailyGoal != value) {
        m_prefs.dailyGoal = value;
        emit dailyGoalChanged();
        markStatisticsChanged();
    }
    refreshPlan();
}

void AppModel::setNewWordsPerSession(int count) {
    const std::int64_t value = Preferences::clampedNewWordsPerSession(count);
    m_settings->setValue(Preferences::kNewWordsPerSession, static_cast<qlonglong>(value));
    if (m_prefs.newWordsPerSession != value) {
        m_prefs.newWordsPerSession = value;
        emit newWordsPerSessionChanged();
    }
    refreshPlan();
}

void AppModel::setSpeechRate(double rate) {
    const double value = Preferences::normalizedSpeechRate(rate);
    m_settings->setValue(Preferences::kSpeechRate, value);
    if (m_prefs.speechRate == value) return;
    m_prefs.speechRate = value;
    emit speechRateChanged();
}

void AppModel::setShowReading(bool show) {
    m_settings->setValue(Preferences::kShowReading, show);
    if (m_prefs.showReading == show) return;
    m_prefs.showReading = show;
    emit showReadingChanged();
}

void AppModel::setShowTranslation(bool show) {
    m_settings->setValue(Preferences::kShowTranslation, show);
    if (m_prefs.showTranslation == show) return;
    m_prefs.showTranslation = show;
    emit showTranslationChanged();
}

void AppModel::setPlayAudioAutomatically(bool play) {
    m_settings->setValue(Preferences::kPlayAudioAutomatically, play);
    if (m_prefs.playAudioAutomatically == play) return;
    m_prefs.playAudioAutomatically = play;
    emit playAudioAutomaticallyChanged();
    // Every card will speak from now on.
    if (play) prepareSpeech(m_selectedLanguage);
}

std::optional<VocabularyItem> AppModel::currentItem() const {
    if (m_currentIndex < 0 || m_currentIndex >= static_cast<std::int64_t>(m_sessionItems.size()))
        return std::nullopt;
    return m_sessionItems[static_cast<std::size_t>(m_currentIndex)];
}

std::optional<LexiconLesson> AppModel::currentLesson() const {
    const auto item = currentItem();
    if (!item) return std::nullopt;
    const LexiconLesson* lesson = m_course.lesson(item->id);
    if (!lesson) return std::nullopt;
    return *lesson;
}

QVariant AppModel::currentItemValue() const {
    const auto item = currentItem();
    return item ? QVariant::fromValue(records::fromCore(*item)) : QVariant();
}

QVariant AppModel::currentLessonValue() const {
    const auto lesson = currentLesson();
    return lesson ? QVariant::fromValue(records::fromCore(*lesson)) : QVariant();
}

// --- content and language -------------------------------------------------------------------

void AppModel::finishStartupContent() {
    if (m_pendingContent.valid()) loadLanguageContent(false);
}

Result<AppModel::LanguageContent> AppModel::readLanguageContent(const LexiconStore& lexicon,
                                                                LearningLanguage language) {
    auto lessons = lexicon.lessons(language, kLessonLimit);
    if (!lessons) return tl::unexpected(lessons.error());
    auto counts = lexicon.counts(language);
    if (!counts) return tl::unexpected(counts.error());
    auto sources = lexicon.sources();
    if (!sources) return tl::unexpected(sources.error());
    return LanguageContent{Course(std::move(*lessons)), *counts, std::move(*sources)};
}

Result<AppModel::LanguageContent> AppModel::takeLanguageContent(LearningLanguage language) {
    if (m_pendingContent.valid()) {
        auto pending = m_pendingContent.get();
        if (pending && m_pendingContentLanguage == language) return std::move(*pending);
    }
    return readLanguageContent(*m_lexicon, language);
}

void AppModel::reloadLanguageContent() {
    loadLanguageContent(true);
}

void AppModel::loadLanguageContent(bool searchNow) {
    if (!m_lexicon) return;
    auto content = takeLanguageContent(m_selectedLanguage);
    if (!content) return setStartupError(qstr(content.error().description));
    setLessons(std::move(content->course));
    m_counts = content->counts;
    emit countsChanged();
    m_sources = std::move(content->sources);
    emit sourcesChanged();

    if (searchNow) {
        auto results = m_lexicon->search(utf8(m_searchQuery), m_selectedLanguage, kSearchLimit);
        if (!results) return setStartupError(qstr(results.error().description));
        setSearchResults(std::move(*results));
    } else {
        // The dictionary's first list is not on the first screen: it is searched as a typed
        // query is, a moment later. On this thread, not the worker: the search data's memory,
        // freed when the language changes, then serves the next language's instead of staying
        // with a worker's memory pool (the day's peak was 16 MB higher that way).
        runSearch();
    }
    refreshPlan();
}

void AppModel::setLessons(Course course) {
    m_course = std::move(course);
    emit lessonsChanged();
    emit currentItemChanged();
    resetKeptFigures();
    markStatisticsChanged();
}

void AppModel::selectLanguage(const QString& language) {
    selectLanguage(languageFromText(language));
}

void AppModel::selectLanguage(LearningLanguage language) {
    if (language == m_selectedLanguage && !m_course.empty()) return;
    ++m_searchGeneration;
    setIsSearching(false);
    const bool changed = m_selectedLanguage != language;
    // Only the selected language is searched; the other's search data would sit in memory.
    if (changed && m_lexicon) m_lexicon->releaseSearch(m_selectedLanguage);
    m_selectedLanguage = language;
    m_settings->setValue(Preferences::kSelectedLanguage, qstr(rawValue(language)));
    if (changed) {
        emit selectedLanguageChanged();
        resetKeptFigures();
        markStatisticsChanged();
    }
    stopSpeech();
    setPhase(SessionPhase::idle);
    setSessionItems({});
    reloadLanguageContent();
    prepareSpeechForDictionary();
}

void AppModel::completeOnboarding() {
    setStartingBand(
        static_cast<int>(std::clamp<std::int64_t>(m_onboardingLevel, INT_MIN, INT_MAX)));
    m_settings->setValue(Preferences::kHasCompletedOnboarding, true);
    if (!m_hasCompletedOnboarding) {
        m_hasCompletedOnboarding = true;
        emit hasCompletedOnboardingChanged();
    }
    selectLanguage(m_onboardingLanguage);
    setDestinationValue(AppDestination::home);
}

// --- loading the saved progress -------------------------------------------------------------

void AppModel::loadProgress(std::int64_t generation) {
    m_saver->load([this, generation](Result<LearnerProgress> loaded) {
        applyLoadedProgress(generation, std::move(loaded));
    });
}

void AppModel::applyLoadedProgress(std::int64_t generation, Result<LearnerProgress> loaded) {
    const bool current = generation == m_progressMutationGeneration;
    if (loaded) {
        if (current) replaceProgress(std::move(*loaded));
    } else if (current) {
        // The saver keeps the file even when a reset or restore has overtaken the load: the
        // learner never saw what it held, so it must not be overwritten without a copy.
        QString message = QStringLiteral("Your saved progress could not be loaded: ") +
                          qstr(loaded.error().description);
        const QString asideName = m_saver->unreadableFileAsideName();
        if (!asideName.isEmpty()) {
            if (!message.endsWith('.')) message += '.';
            message += QStringLiteral(
                           " The unreadable file will be kept as “%1” in the same "
                           "folder before anything new is saved.")
                           .arg(asideName);
        }
        addStartupError(message);
    }
    progressBecameReady();
}

void AppModel::progressBecameReady() {
    if (!m_isProgressReady) {
        m_isProgressReady = true;
        emit isProgressReadyChanged();
        // A learner who has every card spoken will hear the first one as soon as a session
        // begins; readying the voice must not slow the first screens down, so it waits.
        if (m_prefs.playAudioAutomatically)
            QTimer::singleShot(kAutomaticAudioWarmUpDelay, this,
                               [this] { prepareSpeech(m_selectedLanguage); });
    }
    refreshPlan();
    if (m_pendingSessionRequest) {
        const bool reviewOnly = *m_pendingSessionRequest;
        m_pendingSessionRequest.reset();
        beginSession(reviewOnly);
    }
}

void AppModel::replaceProgress(LearnerProgress progress) {
    m_progress = std::move(progress);
    // A taken-back rating would write the old records into a progress that never had them.
    clearRatings();
    resetKeptFigures();
    markStatisticsChanged();
}

void AppModel::persistWholeProgress() {
    ProgressDelta whole;
    whole.noteWhole(m_progress);
    m_saver->save(std::move(whole));
}

void AppModel::changeProgress(const std::vector<std::string>& cardIDs,
                              const std::vector<std::string>& dayKeys,
                              const std::function<void(LearnerProgress&)>& change) {
    std::vector<std::optional<CardProgress>> cardsBefore;
    cardsBefore.reserve(cardIDs.size());
    for (const auto& id : cardIDs) cardsBefore.push_back(m_progress.card(id));
    std::vector<bool> studiedBefore;
    for (const auto& key : dayKeys)
        studiedBefore.push_back(m_progress.stats(key, m_selectedLanguage).hasActivity());
#ifndef NDEBUG
    const LearnerProgress before = m_progress;
#endif

    change(m_progress);

    ProgressDelta delta;
    for (std::size_t i = 0; i < cardIDs.size(); ++i) {
        delta.noteCard(m_progress, cardIDs[i]);
        if (m_courseCards) m_courseCards->cardChanged(m_course.view(), m_progress, cardIDs[i]);
        const auto after = m_progress.cards.find(cardIDs[i]);
        const CardProgress* now = after == m_progress.cards.end() ? nullptr : &after->second;
        const CardProgress* was = cardsBefore[i] ? &*cardsBefore[i] : nullptr;
        if (m_leechBoard)
            m_leechBoard->cardChanged(cardIDs[i], was, now, m_course.contains(cardIDs[i]));
        if (m_cardFigures && !m_cardFigures->update(m_course.view(), cardIDs[i], was, now))
            m_cardFigures.reset();
    }
    for (std::size_t i = 0; i < dayKeys.size(); ++i) {
        delta.noteDay(m_progress, dayKeys[i]);
        // Only a day turning into or out of a study day moves the streak.
        if (m_progress.stats(dayKeys[i], m_selectedLanguage).hasActivity() != studiedBefore[i])
            keepStreakAfterStudyDayTurned(dayKeys[i], dayKeys.size() == 1);
    }
#ifndef NDEBUG
    // The change touched nothing but what it named, or the saved copy would drift from it.
    LearnerProgress replayed = before;
    ProgressDelta(delta).applyTo(replayed);
    assert(replayed == m_progress);
#endif
    m_saver->save(std::move(delta));
    markStatisticsChanged();
}

void AppModel::keepStreakAfterStudyDayTurned(const std::string& dayKey, bool onlyChangedDay) {
    if (!m_streak) return;
    // The day's first study, the common case, lengthens the run that ended yesterday; anything
    // else has the streak worked out over the whole history again when next read.
    const Calendar cal = calendar();
    const Instant now = nowInstant();
    std::optional<StudyStreak> after;
    if (onlyChangedDay && m_streak->isFor(now, cal))
        after = m_progress.streakAfterFirstStudy(m_streak->streak, dayKey, now, cal,
                                                 m_selectedLanguage);
    if (after) {
        m_streak->streak = *after;
        // In a debug build, check it against the whole history.
        assert(*after == m_progress.streak(now, cal, m_selectedLanguage));
    } else {
        m_streak.reset();
    }
}

// --- speech and time ------------------------------------------------------------------------

void AppModel::speakText(const QString& text, LearningLanguage language) {
    if (!m_speech) return;
    // Nothing a voice could read right: silence rather than garbage.
    if (text.isEmpty()) {
        m_speech->stop();
        return;
    }
    m_speech->speak(text, language, static_cast<float>(m_prefs.speechRate));
}

void AppModel::stopSpeech() {
    if (m_speech) m_speech->stop();
}

void AppModel::prepareSpeech(LearningLanguage language) {
    if (m_speech) m_speech->prepare(language);
}

void AppModel::prepareSpeechForDictionary() {
    if (m_destination == AppDestination::dictionary) prepareSpeech(m_selectedLanguage);
}

void AppModel::playCurrentSentence() {
    const auto item = currentItem();
    if (!item) return;
    const LexiconLesson* lesson = m_course.lesson(item->id);
    const std::string sentenceReading = lesson ? lesson->exampleReading : std::string();
    speakText(qstr(spokenSentence(*item, sentenceReading)), item->language);
}

void AppModel::pronounce(const QString& term, const QString& reading, const QString& language) {
    const auto value = learningLanguageFromRawValue(utf8(language));
    if (value) speakText(qstr(spokenWord(*value, utf8(term), utf8(reading))), *value);
}

void AppModel::speak(const QString& text, const QString& language) {
    // Only the two languages' own texts name a voice; anything else would speak in a voice the
    // learner did not ask for.
    const auto value = learningLanguageFromRawValue(utf8(language));
    if (value) speakText(text, *value);
}

int AppModel::currentHour() const {
    return calendar().components(nowInstant()).hour;
}

QDateTime AppModel::now() const {
    return records::toQDateTime(nowInstant()).toLocalTime();
}

}  // namespace tessel
