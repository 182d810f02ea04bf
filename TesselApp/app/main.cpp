// SPDX-License-Identifier: GPL-3.0-or-later
// The brindle executable: opens the main window and runs until it is closed.
#include <QApplication>
#include <QCommandLineParser>

#include "AppWindow.h"

int main(int argc, char* argv[]) {
    // A QApplication, not a QGuiApplication: desktop platform themes can then offer their own
    // file dialogs for backup and restore.
    QApplication app(argc, argv);
    tessel::describeApplication();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Brindle vocabulary studio"));
    parser.addHelpOption();
    parser.process(app);

    int code = 0;
    {
        // Destroyed at the end of this block, before the application object: speech stops and
        // the last save is written while the application is still whole.
        tessel::AppWindow window;
        switch (window.open()) {
            case tessel::AppWindow::Opened::handedOver:
                return 0;
            case tessel::AppWindow::Opened::failed:
                return 1;
            case tessel::AppWindow::Opened::shown:
                break;
        }
        code = app.exec();
    }
    return tessel::finishApplication(code);
}
