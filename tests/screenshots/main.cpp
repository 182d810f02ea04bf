// SPDX-License-Identifier: GPL-3.0-or-later
// brindle-screenshots: Brindle's main window, opened as brindle opens it, driven by a script for
// screenshots, start-up and key timings and the package check. Test tooling: not installed.
#include <QApplication>
#include <QCommandLineParser>
#include <QQuickItem>
#include <QQuickWindow>

#include <cstdio>

#include "AppWindow.h"
#include "ScreenshotDriver.h"

namespace {

// Resizes the window so that its content, below the in-window menu bar, is `size` ("WxH").
// Returns false when `size` is not of that form.
bool resizeContent(QQuickWindow* window, const QString& size) {
    const QStringList parts = size.split(QLatin1Char('x'));
    const int width = parts.value(0).toInt();
    const int height = parts.value(1).toInt();
    if (parts.size() != 2 || width <= 0 || height <= 0) return false;
    const auto* menuBar = window->property("menuBar").value<QQuickItem*>();
    const int menuHeight = menuBar ? qRound(menuBar->height()) : 0;
    window->resize(width, height + menuHeight);
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    const qint64 cpuMsAtMain = tessel::ScreenshotDriver::threadCpuMs();
    QApplication app(argc, argv);
    tessel::describeApplication();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Opens Brindle's window and drives it with a script (see "
                       "tests/screenshots/ScreenshotDriver.h)."));
    parser.addHelpOption();
    const QCommandLineOption scriptOption(QStringLiteral("screenshot-script"),
                                          QStringLiteral("The commands to run."),
                                          QStringLiteral("file"));
    const QCommandLineOption outOption(QStringLiteral("screenshot-dir"),
                                       QStringLiteral("Folder for the script's pictures."),
                                       QStringLiteral("dir"), QStringLiteral("."));
    const QCommandLineOption sizeOption(
        QStringLiteral("window-size"), QStringLiteral("Content size of the window, e.g. 1440x900."),
        QStringLiteral("WxH"));
    parser.addOptions({scriptOption, outOption, sizeOption});
    parser.process(app);
    if (!parser.isSet(scriptOption)) parser.showHelp(2);

    int code = 0;
    {
        tessel::AppWindow window;
        switch (window.open()) {
            case tessel::AppWindow::Opened::handedOver:
                return 0;
            case tessel::AppWindow::Opened::failed:
                return 1;
            case tessel::AppWindow::Opened::shown:
                break;
        }
        if (parser.isSet(sizeOption) && !resizeContent(window.window(), parser.value(sizeOption))) {
            std::fprintf(stderr, "brindle-screenshots: --window-size wants WxH\n");
            return 2;
        }
        tessel::ScreenshotDriver driver(window.model(), parser.value(scriptOption),
                                        parser.value(outOption));
        if (!driver.start(window.window(), cpuMsAtMain)) return 1;
        code = app.exec();
    }
    return tessel::finishApplication(code);
}
