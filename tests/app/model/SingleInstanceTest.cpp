// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <memory>

#include "SingleInstance.h"

using namespace tessel;

namespace {

constexpr char kFolderVariable[] = "BRINDLE_TEST_INSTANCE_FOLDER";

const char* roleName(SingleInstance::Role role) {
    switch (role) {
        case SingleInstance::Role::first:
            return "first";
        case SingleInstance::Role::handedOver:
            return "handedOver";
        case SingleInstance::Role::unanswered:
            return "unanswered";
    }
    return "?";
}

// What a launch of this program in child mode does: start on the folder, print its role and,
// when first, keep running and print "activated" for every later launch that hands over.
int runAsLaunch(const QString& folder) {
    SingleInstance instance(folder);
    const SingleInstance::Role role = instance.start();
    std::printf("%s\n", roleName(role));
    std::fflush(stdout);
    if (role != SingleInstance::Role::first) return 0;
    QObject::connect(&instance, &SingleInstance::activationRequested, [] {
        std::printf("activated\n");
        std::fflush(stdout);
    });
    return QCoreApplication::exec();
}

// A launch in its own process; the tests read what it prints.
std::unique_ptr<QProcess> launch(const QString& folder) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kFolderVariable, folder);
    process->setProcessEnvironment(environment);
    process->start(QCoreApplication::applicationFilePath(), {});
    return process;
}

// Everything the launch has printed once its output holds `line`; empty after five seconds.
QByteArray waitForLine(QProcess& process, const QByteArray& line) {
    QByteArray seen;
    for (int i = 0; i < 100 && !seen.split('\n').contains(line); ++i) {
        process.waitForReadyRead(50);
        seen += process.readAllStandardOutput();
    }
    return seen.split('\n').contains(line) ? seen : QByteArray();
}

void stop(QProcess& process) {
    process.kill();
    process.waitForFinished(5000);
}

}  // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

  private slots:
    void secondLaunchHandsOverAndTheFirstComesForward() {
        QTemporaryDir folder;
        auto first = launch(folder.path());
        QVERIFY(!waitForLine(*first, "first").isEmpty());
        auto second = launch(folder.path());
        QVERIFY(second->waitForFinished(10000));
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(second->readAllStandardOutput(), QByteArray("handedOver\n"));
        QVERIFY(!waitForLine(*first, "activated").isEmpty());
        stop(*first);
    }

    void lockOfACrashedLaunchIsTakenOver() {
        QTemporaryDir folder;
        auto crashed = launch(folder.path());
        QVERIFY(!waitForLine(*crashed, "first").isEmpty());
        stop(*crashed);  // SIGKILL: the lock file and the socket stay behind
        QVERIFY(QFile::exists(folder.filePath("brindle.lock")));
        auto next = launch(folder.path());
        QVERIFY(!waitForLine(*next, "first").isEmpty());
        stop(*next);
    }

    void holderThatDoesNotAnswerLeavesTheLaunchUnanswered() {
        QTemporaryDir folder;
        auto frozen = launch(folder.path());
        QVERIFY(!waitForLine(*frozen, "first").isEmpty());
        ::kill(static_cast<pid_t>(frozen->processId()), SIGSTOP);
        SingleInstance instance(folder.path());
        QCOMPARE(instance.start(500), SingleInstance::Role::unanswered);
        QVERIFY(instance.unansweredMessage().contains(folder.path()));
        ::kill(static_cast<pid_t>(frozen->processId()), SIGCONT);
        stop(*frozen);
    }

    void differentFoldersRunSideBySide() {
        QTemporaryDir one, two;
        auto a = launch(one.path());
        QVERIFY(!waitForLine(*a, "first").isEmpty());
        auto b = launch(two.path());
        QVERIFY(!waitForLine(*b, "first").isEmpty());
        stop(*a);
        stop(*b);
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString folder = qEnvironmentVariable(kFolderVariable);
    if (!folder.isEmpty()) return runAsLaunch(folder);
    SingleInstanceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SingleInstanceTest.moc"
