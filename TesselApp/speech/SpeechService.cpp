// SPDX-License-Identifier: GPL-3.0-or-later
#include "SpeechService.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLocale>
#include <QTextToSpeech>
#include <QThread>
#include <QVoice>

#include <algorithm>
#include <atomic>
#include <cassert>
#include <chrono>
#include <cmath>
#include <map>

namespace tessel {

namespace {

constexpr float kMinimumRate = 0.30f;
constexpr float kMaximumRate = 0.56f;
constexpr std::chrono::milliseconds kStopWait{100};
std::atomic<bool> s_engineLeftRunning{false};

// The voices filed under the given locales (all locales when `wanted` accepts every one).
// speech-dispatcher lists only the current locale's voices, and listing them is slow (it goes
// through every voice the engine has), so only the locales that can hold the voice are visited.
template <class Wanted>
QList<QVoice> voicesIn(QTextToSpeech& engine, Wanted wanted) {
    const QLocale original = engine.locale();
    QList<QVoice> voices;
    for (const QLocale& locale : engine.availableLocales()) {
        if (!wanted(locale)) continue;
        engine.setLocale(locale);
        for (const QVoice& voice : engine.availableVoices()) {
            if (!voices.contains(voice)) voices.append(voice);
        }
    }
    engine.setLocale(original);
    return voices;
}

bool mayHoldVoiceFor(const QLocale& locale, LearningLanguage language) {
    // espeak-ng's Mandarin (and voices without a known language) sit under the C locale.
    if (locale == QLocale::c()) return true;
    return locale.language() ==
           (language == LearningLanguage::japanese ? QLocale::Japanese : QLocale::Chinese);
}

}  // namespace

// The synthesizer and the voices chosen for it; lives and is used on the service's thread only.
class SpeechService::Engine : public QObject {
    Q_OBJECT

  public:
    bool ensure() {
        if (m_tried) return m_engine != nullptr;
        m_tried = true;
        const QStringList engines = QTextToSpeech::availableEngines();
        if (engines.isEmpty()) return false;
        const QString name =
            engines.contains("speechd") ? QStringLiteral("speechd") : engines.first();
        auto* engine = new QTextToSpeech(name, this);
        if (engine->state() == QTextToSpeech::Error) {
            delete engine;
            return false;
        }
        m_engine = engine;
        connect(engine, &QTextToSpeech::stateChanged, this, [this](QTextToSpeech::State state) {
            if (state == QTextToSpeech::Speaking) emit began();
        });
        return true;
    }

    std::optional<QVoice> voiceFor(LearningLanguage language) {
        if (auto known = m_voices.find(language); known != m_voices.end()) return known->second;
        std::optional<QVoice> chosen;
        if (ensure()) {
            const QList<QVoice> voices = voicesIn(*m_engine, [language](const QLocale& locale) {
                return mayHoldVoiceFor(locale, language);
            });
            QStringList names, locales;
            for (const QVoice& voice : voices) {
                names.append(voice.name());
                locales.append(voice.locale().name());
            }
            if (auto index = chooseVoice(language, names, locales)) chosen = voices[*index];
        }
        m_voices[language] = chosen;
        return chosen;
    }

    void speak(const QString& text, LearningLanguage language, float rate) {
        if (!ensure()) return;
        m_engine->stop(QTextToSpeech::BoundaryHint::Immediate);
        if (auto voice = voiceFor(language)) m_engine->setVoice(*voice);
        m_engine->setRate(engineRate(rate));
        m_engine->setPitch(0.0);
        m_engine->setVolume(1.0);
        m_engine->say(text);
    }

    void stop() {
        if (m_engine) m_engine->stop(QTextToSpeech::BoundaryHint::Immediate);
    }

    QStringList descriptions() {
        QStringList list;
        if (!ensure()) return list;
        for (const QVoice& voice : voicesIn(*m_engine, [](const QLocale&) { return true; }))
            list.append(QStringLiteral("%1 (%2)").arg(voice.name(), voice.locale().name()));
        return list;
    }

  signals:
    void began();

  private:
    QTextToSpeech* m_engine = nullptr;
    bool m_tried = false;
    std::map<LearningLanguage, std::optional<QVoice>> m_voices;
};

SpeechService::SpeechService(QObject* parent) : QObject(parent), m_engine(new Engine) {
    // Made here, on the main thread, so the connection is gone with the service even when the
    // engine outlives it (see engineLeftRunning()).
    connect(m_engine, &Engine::began, this, &SpeechService::speakingBegan, Qt::QueuedConnection);
}

SpeechService::Engine* SpeechService::engine() {
    if (!m_thread) {
        m_thread = new QThread;
        m_thread->setObjectName(QStringLiteral("speech"));
        m_engine->moveToThread(m_thread);
        m_thread->start();
    }
    return m_engine;
}

SpeechService::~SpeechService() {
    if (!m_thread) {
        delete m_engine;
        return;
    }
    QMetaObject::invokeMethod(
        m_engine,
        [engine = m_engine, thread = m_thread] {
            delete engine;
            thread->quit();
        },
        Qt::QueuedConnection);
    // Stopping takes a few milliseconds unless the thread is inside a call to the speech daemon
    // (listing voices can take seconds on a busy machine); quitting does not wait for that.
    if (m_thread->wait(QDeadlineTimer(kStopWait))) {
        delete m_thread;
    } else {
        // A running QThread may not be destroyed: it is left to the process's end, which the
        // application brings about without tearing down under it (see engineLeftRunning()).
        s_engineLeftRunning.store(true);
        qWarning("The speech engine did not stop in time.");
    }
}

bool SpeechService::engineLeftRunning() {
    return s_engineLeftRunning.load();
}

double SpeechService::engineRate(float rate) {
    const float held = std::clamp(std::isnan(rate) ? 0.44f : rate, kMinimumRate, kMaximumRate);
    return (static_cast<double>(held) - 0.5) * 2.5;
}

std::optional<int> SpeechService::chooseVoice(LearningLanguage language,
                                              const QStringList& voiceNames,
                                              const QStringList& localeNames) {
    // espeak-ng offers every voice again with each of its variants ("Japanese+Adam"); the plain
    // voice is preferred, a variant taken only when no plain voice fits.
    auto firstWhere = [&](auto&& predicate) -> std::optional<int> {
        for (bool variants : {false, true}) {
            for (int i = 0; i < voiceNames.size(); ++i) {
                const QString name = voiceNames[i].toLower();
                if (name.contains('+') != variants) continue;
                const QString locale =
                    i < localeNames.size() ? localeNames[i].toLower() : QString();
                if (predicate(name, locale)) return i;
            }
        }
        return std::nullopt;
    };
    const auto localeIs = [](const QString& locale, const char* code) {
        const QString prefix = QLatin1String(code);
        return locale == prefix || locale.startsWith(prefix + '_') ||
               locale.startsWith(prefix + '-');
    };
    if (language == LearningLanguage::japanese) {
        if (auto byLocale = firstWhere(
                [&](const QString&, const QString& locale) { return localeIs(locale, "ja"); }))
            return byLocale;
        return firstWhere([&](const QString& name, const QString&) {
            return localeIs(name, "ja") || name.contains("japanese");
        });
    }
    // speech-dispatcher names espeak-ng's cmn-latn-pinyin "Chinese (Mandarin, latin as Pinyin)".
    if (auto pinyin = firstWhere([](const QString& name, const QString&) {
            return name.contains("cmn-latn-pinyin") ||
                   (name.contains("mandarin") && name.contains("pinyin"));
        }))
        return pinyin;
    if (auto mandarin = firstWhere([&](const QString& name, const QString&) {
            return localeIs(name, "cmn") || name.contains("mandarin");
        }))
        return mandarin;
    return firstWhere([&](const QString&, const QString& locale) {
        return localeIs(locale, "zh") || localeIs(locale, "cmn");
    });
}

void SpeechService::speak(const QString& text, LearningLanguage language, float rate) {
    assert(QCoreApplication::instance() == nullptr ||
           QThread::currentThread() == QCoreApplication::instance()->thread());
    QMetaObject::invokeMethod(
        engine(),
        [engine = m_engine, text, language, rate] { engine->speak(text, language, rate); },
        Qt::QueuedConnection);
}

void SpeechService::stop() {
    // Nothing was ever said, so there is nothing to silence.
    if (!m_thread) return;
    QMetaObject::invokeMethod(
        m_engine, [engine = m_engine] { engine->stop(); }, Qt::QueuedConnection);
}

void SpeechService::prepare(LearningLanguage language) {
    bool& asked = m_prepared[static_cast<std::size_t>(language)];
    if (asked) return;
    asked = true;
    QMetaObject::invokeMethod(
        engine(), [engine = m_engine, language] { engine->voiceFor(language); },
        Qt::QueuedConnection);
}

QStringList SpeechService::voiceDescriptions() {
    QStringList list;
    QMetaObject::invokeMethod(
        engine(), [engine = m_engine, &list] { list = engine->descriptions(); },
        Qt::BlockingQueuedConnection);
    return list;
}

QString SpeechService::voiceNameFor(LearningLanguage language) {
    QString name;
    QMetaObject::invokeMethod(
        engine(),
        [engine = m_engine, language, &name] {
            const auto voice = engine->voiceFor(language);
            name = voice ? voice->name() : QString();
        },
        Qt::BlockingQueuedConnection);
    return name;
}

}  // namespace tessel

#include "SpeechService.moc"
