// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppWindow.h"

#include <QtQml/qqmlextensionplugin.h>
#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QIcon>
#include <QQmlApplicationEngine>
#include <QQmlComponent>
#include <QQuickWindow>
#include <QSGRendererInterface>

#include <cstdio>
#include <cstdlib>

#include "AppModel.h"
#include "SceneGraphChoice.h"
#include "SingleInstance.h"
#include "SpeechService.h"

// The screens and the model are static QML modules; importing them here links them into every
// program that opens the window.
Q_IMPORT_QML_PLUGIN(BrindlePlugin)
Q_IMPORT_QML_PLUGIN(Brindle_ModelPlugin)

namespace tessel {

void describeApplication() {
    QApplication::setOrganizationName(QStringLiteral("Brindle"));
    QApplication::setApplicationName(QStringLiteral("Brindle"));
    QApplication::setApplicationDisplayName(QStringLiteral("Brindle"));
    QApplication::setApplicationVersion(QStringLiteral(BRINDLE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("brindle"));
}

namespace {

// The theme registers the bundled icon font. Adding a font makes Qt drop every font it has set
// up and lay out every text of an existing window again before the first frame; made before the
// window exists, the theme's font changes nothing already laid out.
void makeThemeBeforeWindow(QQmlEngine& engine) {
    QQmlComponent theme(&engine);
    theme.setData("import Brindle\nimport QtQml\nQtObject { property string icons: "
                  "TesselTheme.iconFontFamily }",
                  QUrl(QStringLiteral("qrc:/Brindle/theme-first.qml")));
    delete theme.create();
}

}  // namespace

AppWindow::AppWindow() = default;
AppWindow::~AppWindow() = default;

AppWindow::Opened AppWindow::open() {
    // The first text the window lays out needs the system's font list (the font configuration
    // parsed, every installed font listed: a few milliseconds). Qt's font database may be filled
    // from any thread, so it is filled here while this thread builds the model and the screens.
    m_fontList = std::jthread([] { QFontDatabase::families(); });

    using Role = SingleInstance::Role;
    m_instance =
        std::make_unique<SingleInstance>(QFileInfo(AppModel::defaultProgressFilePath()).path());
    const Role role = m_instance->start();
    if (role == Role::handedOver) return Opened::handedOver;

    m_model.reset(AppModel::createDefault(
        nullptr, role == Role::unanswered ? m_instance->unansweredMessage() : QString()));
    AppModel::setInstance(m_model.get());

    if (prefersSoftwareSceneGraph(currentGraphicsSetting())) {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    }
    // Qt's JavaScript engine turns a function into machine code from its third call. Building the
    // window calls dozens of small bindings a few times each, and every compilation makes fresh
    // memory executable, which interrupts every core; at start-up that cost more than it saved. A
    // higher threshold still compiles what runs often (lists, typing). The engine reads it once,
    // when it is made; a value set by whoever started the application wins, and programs started
    // from here (the speech daemon, a browser) do not inherit ours.
    const char* const jitThreshold = "QV4_JIT_CALL_THRESHOLD";
    const bool thresholdGiven = qEnvironmentVariableIsSet(jitThreshold);
    if (!thresholdGiven) qputenv(jitThreshold, QByteArrayLiteral("50"));
    m_engine = std::make_unique<QQmlApplicationEngine>();
    if (!thresholdGiven) qunsetenv(jitThreshold);
    m_engine->addImportPath(QStringLiteral("qrc:/"));
    makeThemeBeforeWindow(*m_engine);
    m_engine->load(QUrl(QStringLiteral("qrc:/Brindle/Main.qml")));
    // The course was read beside the screens; it must be in place before the first frame.
    m_model->finishStartupContent();
    if (m_engine->rootObjects().isEmpty()) return Opened::failed;
    m_window = qobject_cast<QQuickWindow*>(m_engine->rootObjects().constFirst());
    if (!m_window) return Opened::failed;

    QQuickWindow* window = m_window;
    // Reading the icon's picture loads Qt's image plugins, which the first frame does not need.
    QObject::connect(
        window, &QQuickWindow::frameSwapped, qApp,
        [] { QApplication::setWindowIcon(QIcon(QStringLiteral(":/brindle/brindle.png"))); },
        static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
    QObject::connect(m_instance.get(), &SingleInstance::activationRequested, window, [window] {
        window->setWindowStates(window->windowStates() & ~Qt::WindowMinimized);
        window->show();
        window->raise();
        window->requestActivate();
    });
    return Opened::shown;
}

int finishApplication(int code) {
    // A speech daemon that stopped answering holds the speech thread, which can neither be
    // joined nor destroyed. The progress is saved by now, so the process ends here instead of
    // waiting for the daemon or tearing the application down under a running thread.
    if (SpeechService::engineLeftRunning()) {
        // Only the standard streams: flushing every stream would wait for the one the speech
        // library holds while it reads the daemon's answer, which may never come.
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(code);
    }
    return code;
}

}  // namespace tessel
