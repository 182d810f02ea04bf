// SPDX-License-Identifier: GPL-3.0-or-later
// Times how long the brindle window takes from being asked to quit until its process has ended,
// on a throw-away home folder and the fixture lexicon, headless. Prints median and worst in
// milliseconds for a session without speech and one that spoke a word (so the speech engine
// and its daemon are running when the window quits).
// Usage: quit_bench [--binary PATH] [--rounds N]
//
// The window is opened by brindle-screenshots, whose script driver prints a line right before the
// script's last two commands; the driver then waits its fixed settle time (120 ms) and quits. The
// figure is the time from that line to the end of the process, less the settle time. Older
// builds, whose brindle carried the driver itself, can be timed with --binary.

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double kSettleMs = 120;

// The speech daemons started for the home folder `home`, found by their socket path under it
// (never by name, so nobody else's daemon is touched).
QStringList speechDaemonsUnder(const QString& home) {
    const QByteArray socketFolder = QDir(home).filePath(QStringLiteral("runtime/")).toUtf8();
    QStringList ids;
    for (const QString& id : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(id));
        if (!commandLine.open(QIODevice::ReadOnly)) continue;
        const QByteArray words = commandLine.readAll();
        if (words.startsWith("/usr/bin/speech-dispatcher") && words.contains(socketFolder))
            ids.append(id);
    }
    return ids;
}

// Ends the speech daemon a run started for `home`. A window that quits while its voice warms up
// may have asked for the daemon a moment before, and a daemon still starting up can miss a
// signal: the daemon is waited for up to a second, then signalled until it is gone (3 s at most).
void stopSpeechDaemon(const QString& home) {
    QElapsedTimer waited;
    waited.start();
    bool seen = false;
    while (waited.elapsed() < 3000) {
        const QStringList ids = speechDaemonsUnder(home);
        if (ids.isEmpty() && (seen || waited.elapsed() > 1000)) return;
        if (!ids.isEmpty()) {
            seen = true;
            QProcess::execute(QStringLiteral("kill"), ids);
        }
        QThread::msleep(100);
    }
}

// The quit time of one run of `script`, or a negative value when the run failed.
double quitTime(const QString& binary, const QString& script) {
    QTemporaryDir home;
    QDir(home.path()).mkpath(QStringLiteral(".local/share/brindle"));
    QDir(home.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcess fixture;
    fixture.setStandardInputFile(
        QStringLiteral(BRINDLE_SOURCE_DIR "/tests/data/lexicon-fixture.sql"));
    fixture.start(QStringLiteral("sqlite3"),
                  {home.filePath(QStringLiteral(".local/share/brindle/Tessel.sqlite"))});
    if (!fixture.waitForFinished(10000) || fixture.exitCode() != 0) return -1;

    const QString scriptPath = home.filePath(QStringLiteral("script.txt"));
    QFile file(scriptPath);
    if (!file.open(QIODevice::WriteOnly)) return -1;
    file.write(script.toUtf8() + "report-first-frame\nquit\n");
    file.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_DATA_HOME"),
                       home.filePath(QStringLiteral(".local/share")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral(".cache")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("runtime")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess app;
    app.setProcessEnvironment(environment);
    app.setWorkingDirectory(home.path());
    app.start(binary, {QStringLiteral("--screenshot-script"), scriptPath,
                       QStringLiteral("--screenshot-dir"), home.path()});
    if (!app.waitForStarted(10000)) return -1;
    QElapsedTimer sinceLine;
    QByteArray output;
    while (!output.contains("first-frame-epoch-ms")) {
        if (!app.waitForReadyRead(30000)) return -1;
        output += app.readAllStandardOutput();
    }
    sinceLine.start();
    if (!app.waitForFinished(30000)) {
        app.kill();
        return -1;
    }
    const double ms = static_cast<double>(sinceLine.nsecsElapsed()) / 1e6 - kSettleMs;
    stopSpeechDaemon(home.path());
    return app.exitStatus() == QProcess::NormalExit && app.exitCode() == 0 ? ms : -1;
}

void report(const char* name, std::vector<double> times) {
    if (times.empty()) {
        std::printf("%-34s failed\n", name);
        return;
    }
    std::sort(times.begin(), times.end());
    std::printf("%-34s median %7.1f ms   worst %7.1f ms   (%zu runs)\n", name,
                times[times.size() / 2], times.back(), times.size());
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString binary = QStringLiteral(BRINDLE_BINARY);
    int rounds = 5;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--binary")) binary = args[i + 1];
        if (args[i] == QLatin1String("--rounds")) rounds = std::max(1, args[i + 1].toInt());
    }
    const struct {
        const char* name;
        const char* script;
    } cases[] = {
        {"quit, speech not used", "until isProgressReady true\nwait 500\n"},
        // Opening the dictionary readies its voice: this quits while the engine connects.
        {"quit, while the voice warms up",
         "until isProgressReady true\nset destination dictionary\nwait 300\n"},
        {"quit, speech used",
         "until isProgressReady true\nset playAudioAutomatically true\n"
         "call beginSession false\nwait 4500\n"},
    };
    std::printf("brindle quit time (%s)\n", qPrintable(binary));
    int status = 0;
    for (const auto& c : cases) {
        std::vector<double> times;
        for (int i = 0; i < rounds; ++i) {
            const double ms = quitTime(binary, QString::fromUtf8(c.script));
            if (ms < 0) {
                status = 1;
                continue;
            }
            times.push_back(ms);
        }
        report(c.name, times);
    }
    return status;
}
