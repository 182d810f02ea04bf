// SPDX-License-Identifier: GPL-3.0-or-later
// Times the speech service against the system's speech-dispatcher. Every case runs in a process
// of its own with a runtime folder of its own, so each starts its own daemon, cold (the speech
// library remembers the first runtime folder a process used):
//   - a start that never speaks: the speech thread's and the daemon's (with its voice modules')
//     processor time over the first seconds of the service's life (goal: none at all);
//   - the wait from asking for a word to the engine beginning to voice it, cold (nothing readied)
//     and after the voice was readied (what a learner meets once a session began or the
//     dictionary opened), and the processor time the readying took.
// Usage: speech_bench [--rounds N]
// Where no speech engine is installed the service says nothing and the figures say so.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

#include <sys/types.h>
#include <unistd.h>

#include "SpeechService.h"

using namespace tessel;

namespace {

// Past the moment the engine used to be started by itself (3 s), and the second it took.
constexpr int kIdleMs = 6000;
constexpr int kWordWaitMs = 15000;

// utime + stime of /proc/<stat> in milliseconds; -1 when it cannot be read.
double cpuMs(const QString& stat) {
    QFile file(stat);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QByteArray text = file.readAll();
    // Fields after the command's closing parenthesis: state is field 3, utime 14, stime 15.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13) return -1;
    return (fields[11].toDouble() + fields[12].toDouble()) * 1000.0 /
           static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Processor time of this process's thread named "speech"; 0 when there is none.
double speechThreadMs() {
    for (const QString& task : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs)) {
        QFile comm(QStringLiteral("/proc/self/task/%1/comm").arg(task));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "speech")
            return cpuMs(QStringLiteral("/proc/self/task/%1/stat").arg(task));
    }
    return 0;
}

// The speech daemon started for `runtime`, from the id it keeps there; 0 when none runs.
pid_t daemonUnder(const QString& runtime) {
    QFile file(runtime + QStringLiteral("/speech-dispatcher/pid/speech-dispatcher.pid"));
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const pid_t id = file.readAll().trimmed().toInt();
    QFile command(QStringLiteral("/proc/%1/cmdline").arg(id));
    if (id <= 0 || !command.open(QIODevice::ReadOnly) ||
        !command.readAll().contains("speech-dispatcher"))
        return 0;
    return id;
}

// Processor time of the daemon started for `runtime` and of the voice modules it started (which
// carry the same runtime folder in their environment).
double daemonMs(const QString& runtime) {
    const QByteArray mark = "XDG_RUNTIME_DIR=" + runtime.toUtf8() + '\0';
    double total = 0;
    for (const QString& id : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile command(QStringLiteral("/proc/%1/cmdline").arg(id));
        QFile environment(QStringLiteral("/proc/%1/environ").arg(id));
        if (!command.open(QIODevice::ReadOnly) || !command.readAll().contains("speech-dispatcher"))
            continue;
        if (!environment.open(QIODevice::ReadOnly) || !environment.readAll().contains(mark))
            continue;
        total += std::max(0.0, cpuMs(QStringLiteral("/proc/%1/stat").arg(id)));
    }
    return total;
}

// Ends the daemon started for `runtime`, and only it. Without a sound device its audio output
// can hang it, and then it no longer answers the polite signal.
void stopDaemon(const QString& runtime) {
    const pid_t id = daemonUnder(runtime);
    if (!id) return;
    kill(id, SIGTERM);
    for (int i = 0; i < 20 && daemonUnder(runtime) == id; ++i) QThread::msleep(50);
    if (daemonUnder(runtime) == id) kill(id, SIGKILL);
}

void idle(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

// Milliseconds from asking for a word until the engine began to voice it; -1 when it never did.
double firstWord(SpeechService& speech, LearningLanguage language) {
    bool began = false;
    const auto connection =
        QObject::connect(&speech, &SpeechService::speakingBegan, [&began] { began = true; });
    QElapsedTimer timer;
    timer.start();
    speech.speak(
        language == LearningLanguage::japanese ? QStringLiteral("たべる") : QStringLiteral("你好"),
        language, 0.44f);
    while (!began && timer.elapsed() < kWordWaitMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    QObject::disconnect(connection);
    return began ? static_cast<double>(timer.nsecsElapsed()) / 1e6 : -1;
}

// One case in this process, whose runtime folder the parent made for it: prints its figures on
// one line, "name value" pairs, then ends at once (a daemon left without sound may no longer
// answer, and the parent ends it).
[[noreturn]] void runCase(const QString& name, LearningLanguage language) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    SpeechService speech;
    if (name == QLatin1String("cold")) {
        idle(kIdleMs);
        std::printf("idle-thread %.1f idle-daemon %.1f ", speechThreadMs(), daemonMs(runtime));
        std::printf("cold %.1f\n", firstWord(speech, language));
    } else {
        speech.prepare(language);
        // Answered once the readying queued before it is done.
        speech.voiceNameFor(language);
        std::printf("ready-thread %.1f ready-daemon %.1f ", speechThreadMs(), daemonMs(runtime));
        std::printf("warm %.1f\n", firstWord(speech, language));
    }
    std::fflush(stdout);
    std::_Exit(0);
}

// Runs this program on one case in a fresh runtime folder; adds its figures to `figures`.
void runChild(const QString& self, const QString& name, LearningLanguage language,
              std::map<QString, std::vector<double>>& figures) {
    QTemporaryDir runtime;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    child.setProcessEnvironment(environment);
    child.start(self,
                {QStringLiteral("--case"), name, QString::fromUtf8(rawValue(language).data())});
    if (!child.waitForFinished(kIdleMs + 2 * kWordWaitMs)) child.kill();
    child.waitForFinished(1000);
    stopDaemon(runtime.path());
    const QList<QByteArray> words = child.readAllStandardOutput().simplified().split(' ');
    for (int i = 0; i + 1 < words.size(); i += 2) {
        const double value = words[i + 1].toDouble();
        if (value >= 0) figures[QString::fromUtf8(words[i])].push_back(value);
    }
}

QByteArray loadAverage() {
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("n/a\n");
}

double median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--case")) {
        const auto language = learningLanguageFromRawValue(args[3].toStdString());
        runCase(args[2], language.value_or(LearningLanguage::chinese));
    }
    int rounds = 3;
    for (int i = 1; i + 1 < args.size(); ++i)
        if (args[i] == QLatin1String("--rounds")) rounds = std::max(1, args[i + 1].toInt());

    std::printf("speech service, %d rounds per language, medians; load average before: %s", rounds,
                loadAverage().constData());
    bool spoke = true;
    for (auto language : {LearningLanguage::chinese, LearningLanguage::japanese}) {
        std::map<QString, std::vector<double>> f;
        for (int i = 0; i < rounds; ++i) {
            runChild(app.applicationFilePath(), QStringLiteral("cold"), language, f);
            runChild(app.applicationFilePath(), QStringLiteral("warm"), language, f);
        }
        spoke = spoke && !f["cold"].empty() && !f["warm"].empty();
        std::printf("%s:\n", displayName(language).data());
        std::printf("  start without speech, speech thread CPU:   %7.1f ms   goal 0\n",
                    median(f["idle-thread"]));
        std::printf("  start without speech, speech daemon CPU:   %7.1f ms   goal 0\n",
                    median(f["idle-daemon"]));
        std::printf("  first word, cold (nothing readied):        %7.1f ms\n", median(f["cold"]));
        std::printf("  readying the voice, speech thread CPU:     %7.1f ms\n",
                    median(f["ready-thread"]));
        std::printf("  readying the voice, speech daemon CPU:     %7.1f ms\n",
                    median(f["ready-daemon"]));
        std::printf("  first word, voice readied:                 %7.1f ms\n", median(f["warm"]));
    }
    if (!spoke) std::printf("(some word was never voiced: no speech engine, or it failed)\n");
    std::printf("load average after: %s", loadAverage().constData());
    return 0;
}
