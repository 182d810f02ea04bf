// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "Vocabulary.h"

namespace tessel {

// Reads text aloud. The application model talks to this, never to the engine itself, so tests
// can record what would have been spoken.
class SpeechOutput {
  public:
    virtual ~SpeechOutput() = default;

    // Cuts off whatever is being spoken, then speaks `text` exactly as given in `language`'s
    // voice at `rate` (held within 0.30 ... 0.56). Returns at once; never fails: without an
    // engine or a voice nothing is heard.
    // REQUIRES: called on the main thread.
    virtual void speak(const QString& text, LearningLanguage language, float rate) = 0;
    // Silences the current utterance at once and drops any queued one.
    virtual void stop() = 0;
    // Readies the engine and `language`'s voice ahead of the first utterance, so that it is heard
    // without the engine's start-up delay. Returns at once; does nothing once asked for that
    // language before.
    // REQUIRES: called on the main thread.
    virtual void prepare(LearningLanguage language) = 0;
};

}  // namespace tessel
