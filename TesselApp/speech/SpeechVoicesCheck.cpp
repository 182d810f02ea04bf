// Manual check of the system voices: lists what the speech engine offers, which voice each study
// language would use, and with --speak says a word in each language.
//
// speech_voices [--speak]

#include <QCoreApplication>
#include <QTextToSpeech>
#include <QTimer>

#include <cstdio>

#include "SpeechService.h"

using namespace tessel;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::printf("engines: %s\n", qPrintable(QTextToSpeech::availableEngines().join(", ")));
    SpeechService speech;
    for (const QString& voice : speech.voiceDescriptions()) std::printf("  %s\n", qPrintable(voice));
    for (auto language : kAllLearningLanguages) {
        const QString voice = speech.voiceNameFor(language);
        std::printf("%s: %s\n", displayName(language).data(),
                    voice.isEmpty() ? "(engine default)" : qPrintable(voice));
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
