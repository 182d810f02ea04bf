#include "SpeechService.h"

#include <QLocale>
#include <QTextToSpeech>
#include <QVoice>

#include <algorithm>
#include <cmath>

namespace tessel {

namespace {

constexpr float kMinimumRate = 0.30f;
constexpr float kMaximumRate = 0.56f;

QList<QVoice> allVoices(QTextToSpeech& engine) {
    // speech-dispatcher only lists the voices of the current locale, and files espeak-ng's
    // Mandarin under the C locale, so every locale has to be visited.
    const QLocale original = engine.locale();
    QList<QVoice> voices;
    const QList<QLocale> locales = engine.availableLocales();
    for (const QLocale& locale : locales) {
        engine.setLocale(locale);
        for (const QVoice& voice : engine.availableVoices()) {
            if (!voices.contains(voice)) voices.append(voice);
        }
    }
    if (locales.isEmpty()) voices = engine.availableVoices();
    engine.setLocale(original);
    return voices;
}

}  // namespace

SpeechService::SpeechService(QObject* parent) : QObject(parent) {}

SpeechService::~SpeechService() = default;

double SpeechService::engineRate(float rate) {
    const float held = std::clamp(std::isnan(rate) ? 0.44f : rate, kMinimumRate, kMaximumRate);
    return (static_cast<double>(held) - 0.5) * 2.5;
}

std::optional<int> SpeechService::chooseVoice(LearningLanguage language,
                                              const QStringList& voiceNames,
                                              const QStringList& localeNames) {
    auto firstWhere = [&](auto&& predicate) -> std::optional<int> {
        for (int i = 0; i < voiceNames.size(); ++i) {
            const QString locale = i < localeNames.size() ? localeNames[i] : QString();
            if (predicate(voiceNames[i].toLower(), locale.toLower())) return i;
        }
        return std::nullopt;
    };
    if (language == LearningLanguage::japanese) {
        if (auto byLocale = firstWhere([](const QString&, const QString& locale) {
                return locale == "ja" || locale.startsWith("ja_") || locale.startsWith("ja-");
            }))
            return byLocale;
        return firstWhere([](const QString& name, const QString&) {
            return name == "ja" || name.startsWith("ja-") || name.startsWith("ja_") ||
                   name.contains("japanese");
        });
    }
    if (auto pinyin = firstWhere(
            [](const QString& name, const QString&) { return name.contains("cmn-latn-pinyin"); }))
        return pinyin;
    if (auto mandarin = firstWhere([](const QString& name, const QString&) {
            return name == "cmn" || name.startsWith("cmn-") || name.contains("mandarin");
        }))
        return mandarin;
    return firstWhere([](const QString&, const QString& locale) {
        return locale == "zh" || locale.startsWith("zh_") || locale.startsWith("zh-");
    });
}

bool SpeechService::ensureEngine() {
    if (m_engineTried) return m_engine != nullptr;
    m_engineTried = true;
    const QStringList engines = QTextToSpeech::availableEngines();
    if (engines.isEmpty()) return false;
    const QString name = engines.contains("speechd") ? QStringLiteral("speechd") : engines.first();
    auto* engine = new QTextToSpeech(name, this);
    if (engine->state() == QTextToSpeech::Error) {
        delete engine;
        return false;
    }
    m_engine = engine;
    return true;
}

std::optional<QVoice> SpeechService::voiceFor(LearningLanguage language) {
    if (auto known = m_voices.find(language); known != m_voices.end()) return known->second;
    std::optional<QVoice> chosen;
    if (ensureEngine()) {
        const QList<QVoice> voices = allVoices(*m_engine);
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

void SpeechService::speak(const QString& text, LearningLanguage language, float rate) {
    if (!ensureEngine()) return;
    m_engine->stop(QTextToSpeech::BoundaryHint::Immediate);
    if (auto voice = voiceFor(language)) m_engine->setVoice(*voice);
    m_engine->setRate(engineRate(rate));
    m_engine->setPitch(0.0);
    m_engine->setVolume(1.0);
    m_engine->say(text);
}

void SpeechService::stop() {
    if (m_engine) m_engine->stop(QTextToSpeech::BoundaryHint::Immediate);
}

QStringList SpeechService::voiceDescriptions() {
    QStringList descriptions;
    if (!ensureEngine()) return descriptions;
    for (const QVoice& voice : allVoices(*m_engine))
        descriptions.append(QStringLiteral("%1 (%2)").arg(voice.name(), voice.locale().name()));
    return descriptions;
}

QString SpeechService::voiceNameFor(LearningLanguage language) {
    const auto voice = voiceFor(language);
    return voice ? voice->name() : QString();
}

}  // namespace tessel
