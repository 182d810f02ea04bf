// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

#include "SpeechOutput.h"

class QThread;

namespace tessel {

// Speaks through the system's speech engine (speech-dispatcher with espeak-ng on Linux).
//
// Rate: the learner's rate lives on a 0 ... 1 scale whose natural speed is 0.5; the engine's
// scale is -1 ... 1 with its natural speed at 0. The rate is first held within 0.30 ... 0.56 and
// then mapped linearly with the natural speeds matched: engineRate = (rate - 0.5) * 2.5, so 0.30
// gives -0.5, the default 0.44 gives -0.15 and 0.56 gives +0.15. With espeak-ng that is roughly
// 125, 155 and 200 words a minute: slow enough to follow a tone at the bottom, near normal at the
// top, and never the garbled extremes of the engine's range.
// Pitch is the engine's neutral 0 and volume 1.0 (full) for every utterance.
//
// Voices: Japanese uses a voice whose locale is Japanese (or whose name starts with "ja").
// Mandarin is picked by name, because speech-dispatcher files espeak-ng's Mandarin voices under
// the C locale: the "cmn-latn-pinyin" variant first (it reads hanzi with the right tones), then
// any other "cmn" voice, then any voice whose locale is Chinese. Without a matching voice the
// engine's default voice speaks.
//
// The engine lives on a thread of its own: connecting to speech-dispatcher and listing its
// voices takes a second or two (about a second of processor time, nearly all of it the engine
// reading the daemon's list of every voice), and a daemon that stops answering must never freeze
// the interface. Requests reach that thread in the order they were made, so stop-before-speak
// holds. Nothing is started with the service: the thread, the engine and the daemon start on the
// first request (prepare() when speech becomes likely, else the first utterance), so a learner
// who never hears a word pays nothing and quitting never waits for them. Without any engine
// every call does nothing.
class SpeechService : public QObject, public SpeechOutput {
    Q_OBJECT

  public:
    explicit SpeechService(QObject* parent = nullptr);
    // Returns at once when nothing was ever asked of the service; otherwise waits a moment for
    // the engine's thread to finish (see engineLeftRunning()).
    ~SpeechService() override;

    void speak(const QString& text, LearningLanguage language, float rate) override;
    void stop() override;
    void prepare(LearningLanguage language) override;

    // True once a request has started the engine's thread (and with it the engine).
    bool isStarted() const { return m_thread != nullptr; }

    // True once a service was destroyed while its engine was still inside a call to the speech
    // daemon; the process must then end without tearing the application down (std::_Exit).
    static bool engineLeftRunning();

    // The engine's rate for a learner's rate, as described above.
    static double engineRate(float rate);
    // The position of the voice chosen for `language` among `voiceNames` (with each voice's
    // locale name, "ja_JP", at the same position in `localeNames`); nothing when none fits.
    static std::optional<int> chooseVoice(LearningLanguage language, const QStringList& voiceNames,
                                          const QStringList& localeNames);

    // Every voice the engine offers as "name (locale)", for a manual check; empty without one.
    // Blocks until the engine's thread answers.
    QStringList voiceDescriptions();
    // The name of the voice that would speak `language`; empty for the engine's default voice.
    // Blocks until the engine's thread answers.
    QString voiceNameFor(LearningLanguage language);

  signals:
    // The engine began to voice an utterance (its first sound is on its way).
    void speakingBegan();

  private:
    class Engine;

    // The engine, its thread started on first use.
    Engine* engine();

    QThread* m_thread = nullptr;
    Engine* m_engine;
    std::array<bool, kAllLearningLanguages.size()> m_prepared{};
};

}  // namespace tessel
