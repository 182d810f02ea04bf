// SPDX-License-Identifier: GPL-3.0-or-later
// Manual check of the system voices: lists what the speech engine offers, which voice each study
// language would use, and with --speak says a word in each language.
//
// speech_voices [--all] [--speak]

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextToSpeech>
#include <QTimer>

#include <cstdio>

#include "SpeechService.h"

using namespace tessel;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::printf("engines: %s\n", qPrintable(QTextToSpeech::availableEngines().join(", ")));
    SpeechService speech;
    if (app.arguments().contains("--all")) {
        for (const QString& voice : speech.voiceDescriptions())
            std::printf("  %s\n", qPrintable(voice));
    }
    // Japanese first: its locale holds few voices, so the engine's start-up shows on its own.
    for (auto language : {LearningLanguage::japanese, LearningLanguage::chinese}) {
        QElapsedTimer timer;
        timer.start();
        const QString voice = speech.voiceNameFor(language);
        std::printf("%s: %s (chosen in %lld ms)\n", displayName(language).data(),
                    voice.isEmpty() ? "(engine default)" : qPrintable(voice),
                    static_cast<long long>(timer.elapsed()));
    }
    if (!app.arguments().contains("--speak")) return 0;
    speech.speak(QStringLiteral("这本书"), LearningLanguage::chinese, 0.44f);
    QTimer::singleShot(300, [&] {
        // Cuts the Chinese sentence off: only the Japanese one is heard to the end.
        speech.speak(QStringLiteral("食べる"), LearningLanguage::japanese, 0.44f);
    });
    QTimer::singleShot(3000, &app, &QCoreApplication::quit);
    return app.exec();
}
