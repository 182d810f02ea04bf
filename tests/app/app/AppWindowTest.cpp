// SPDX-License-Identifier: GPL-3.0-or-later
// Runs with its data, settings and runtime folders in the build tree (see CMakeLists.txt).
#include <QApplication>
#include <QWindow>
#include <QTest>

#include "AppWindow.h"

class AppWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { tessel::describeApplication(); }

    // The window comes up with the application's icon once it is on screen, and what it sets
    // for its own JavaScript engine is not passed on to programs started from it. Its fonts are
    // all registered before the window exists, so no text is laid out twice for the first frame.
    void opensWithItsIconAndLeavesTheEnvironmentAlone() {
        QVERIFY(QGuiApplication::windowIcon().isNull());
        int fontsAddedUnderAWindow = 0;
        QObject counting;  // ends the count with this test, before the counter goes
        QObject::connect(qApp, &QGuiApplication::fontDatabaseChanged, &counting, [&] {
            if (!QGuiApplication::topLevelWindows().isEmpty()) ++fontsAddedUnderAWindow;
        });
        tessel::AppWindow window;
        QCOMPARE(window.open(), tessel::AppWindow::Opened::shown);
        QCOMPARE(fontsAddedUnderAWindow, 0);
        QVERIFY(!qEnvironmentVariableIsSet("QV4_JIT_CALL_THRESHOLD"));
        QTRY_VERIFY(!QGuiApplication::windowIcon().isNull());
    }
};

QTEST_MAIN(AppWindowTest)
#include "AppWindowTest.moc"
