// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "AppWindow.h"

class AppWindowTest : public QObject {
    Q_OBJECT
  private slots:
    // The window comes up with the application's icon once it is on screen, and what it sets
    // for its own JavaScript engine is not passed on to programs started from it.
    void opensWithItsIconAndLeavesTheEnvironmentAlone() {
        QVERIFY(QGuiApplication::windowIcon().isNull());
        tessel::AppWindow window;
        QCOMPARE(window.open(), tessel::AppWindow::Opened::shown);
        QVERIFY(!qEnvironmentVariableIsSet("QV4_JIT_CALL_THRESHOLD"));
        QTRY_VERIFY(!QGuiApplication::windowIcon().isNull());
    }
};

int main(int argc, char* argv[]) {
    // The window claims a data folder and reads settings: both go to a throw-away home.
    QTemporaryDir home;
    if (!home.isValid()) return 1;
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
        qputenv(name, home.filePath(QString::fromLatin1(name)).toLocal8Bit());
    }
    const QString runtime = home.filePath(QStringLiteral("runtime"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());

    QApplication app(argc, argv);
    tessel::describeApplication();
    AppWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "AppWindowTest.moc"
