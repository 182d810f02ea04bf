// SPDX-License-Identifier: GPL-3.0-or-later
// The brindle executable: builds the application model, loads the window and, when asked,
// hands the window to the screenshot driver.
#include <QtQml/qqmlextensionplugin.h>
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "AppModel.h"
#include "ScreenshotDriver.h"
#include "SingleInstance.h"
#include "SpeechService.h"

Q_IMPORT_QML_PLUGIN(BrindlePlugin)
Q_IMPORT_QML_PLUGIN(Brindle_ModelPlugin)

int main(int argc, char* argv[]) {
    // A QApplication, not a QGuiApplication: desktop platform themes can then offer their own
    // file dialogs for backup and restore.
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brindle"));
    QApplication::setApplicationName(QStringLiteral("Brindle"));
    QApplication::setApplicationDisplayName(QStringLiteral("Brindle"));
    QApplication::setApplicationVersion(QStringLiteral(BRINDLE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("brindle"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/brindle/brindle.png")));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Brindle vocabulary studio"));
    parser.addHelpOption();
    const QCommandLineOption scriptOption(
        QStringLiteral("screenshot-script"),
        QStringLiteral("Drive the window with the commands in <file> (see ScreenshotDriver.h)."),
        QStringLiteral("file"));
    const QCommandLineOption outOption(QStringLiteral("screenshot-dir"),
                                       QStringLiteral("Folder for the script's pictures."),
                                       QStringLiteral("dir"), QStringLiteral("."));
    const QCommandLineOption sizeOption(
        QStringLiteral("window-size"), QStringLiteral("Content size of the window, e.g. 1440x900."),
        QStringLiteral("WxH"));
    parser.addOptions({scriptOption, outOption, sizeOption});
    parser.process(app);

    int code = 0;
    {
        using Role = tessel::SingleInstance::Role;
        tessel::SingleInstance instance(QFileInfo(tessel::AppModel::defaultProgressFilePath()).path());
        const Role role = instance.start();
        if (role == Role::handedOver) return 0;

        // Owned here and destroyed at the end of this block, after the window and before the
        // application object: speech stops and the last save is written while the application is
        // still whole.
        const std::unique_ptr<tessel::AppModel> model(tessel::AppModel::createDefault(
            nullptr, role == Role::unanswered ? instance.unansweredMessage() : QString()));
        tessel::AppModel::setInstance(model.get());

        QQmlApplicationEngine engine;
        engine.addImportPath(QStringLiteral("qrc:/"));
        engine.load(QUrl(QStringLiteral("qrc:/Brindle/Main.qml")));
        if (engine.rootObjects().isEmpty()) return 1;
        auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().constFirst());
        if (!window) return 1;

        if (parser.isSet(sizeOption)) {
            const QStringList parts = parser.value(sizeOption).split(QLatin1Char('x'));
            const int width = parts.value(0).toInt();
            const int height = parts.value(1).toInt();
            if (width > 0 && height > 0) {
                // The requested size is the content's; the in-window menu bar comes on top.
                const auto* menuBar = window->property("menuBar").value<QQuickItem*>();
                const int menuHeight = menuBar ? qRound(menuBar->height()) : 0;
                window->resize(width, height + menuHeight);
            }
        }

        QObject::connect(&instance, &tessel::SingleInstance::activationRequested, window, [window] {
            window->setWindowStates(window->windowStates() & ~Qt::WindowMinimized);
            window->show();
            window->raise();
            window->requestActivate();
        });

        tessel::ScreenshotDriver driver(model.get(), parser.value(scriptOption),
                                        parser.value(outOption));
        if (parser.isSet(scriptOption) && !driver.start(window)) return 1;

        code = app.exec();
    }
    // A speech daemon that stopped answering holds the speech thread, which can neither be
    // joined nor destroyed. The progress is saved by now, so the process ends here instead of
    // waiting for the daemon or tearing the application down under a running thread.
    if (tessel::SpeechService::engineLeftRunning()) {
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
