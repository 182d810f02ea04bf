// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenshotDriver.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QTest>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cstdio>

#include <time.h>

#include "AppModel.h"

namespace tessel {
namespace {

constexpr int kSettleMs = 120;
constexpr int kUntilTimeoutMs = 10000;

QVariant parseValue(const QString& text) {
    if (text == QLatin1String("true")) return true;
    if (text == QLatin1String("false")) return false;
    bool ok = false;
    const int asInt = text.toInt(&ok);
    if (ok) return asInt;
    const double asDouble = text.toDouble(&ok);
    if (ok) return asDouble;
    return text;
}

int keyCode(const QString& name) {
    static const QHash<QString, int> keys = {
        {QStringLiteral("Return"), Qt::Key_Return},
        {QStringLiteral("Enter"), Qt::Key_Enter},
        {QStringLiteral("Tab"), Qt::Key_Tab},
        {QStringLiteral("Space"), Qt::Key_Space},
        {QStringLiteral("Escape"), Qt::Key_Escape},
        {QStringLiteral("Backspace"), Qt::Key_Backspace},
    };
    return keys.value(name, 0);
}

QString keyText(int key) {
    switch (key) {
        case Qt::Key_Return:
            return QStringLiteral("\r");
        case Qt::Key_Enter:
            return QStringLiteral("\r");
        case Qt::Key_Tab:
            return QStringLiteral("\t");
        case Qt::Key_Space:
            return QStringLiteral(" ");
        case Qt::Key_Backspace:
            return QStringLiteral("\b");
        default:
            return {};
    }
}

// The value at a dotted path of model properties ("currentItem.romanization"), reading into
// value-type records by their properties; invalid when any step is missing.
QVariant valueAtPath(const QObject* model, const QString& path) {
    const QStringList steps = path.split(QLatin1Char('.'));
    QVariant value = model->property(steps.first().toUtf8().constData());
    for (qsizetype i = 1; i < steps.size() && value.isValid(); ++i) {
        const QMetaObject* meta = value.metaType().metaObject();
        const int index = meta ? meta->indexOfProperty(steps.at(i).toUtf8().constData()) : -1;
        if (index < 0) return {};
        if (value.metaType().flags() & QMetaType::PointerToQObject) {
            value = meta->property(index).read(value.value<QObject*>());
        } else {
            value = meta->property(index).readOnGadget(value.constData());
        }
    }
    return value;
}

// Qt Test's key events enter as if the window system sent them, so shortcuts, focus and text
// input behave as for a person at the keyboard. The text is passed as it is, so that any
// character can be typed (key 0 with text is how a keyboard layout sends a character it has no
// key code for).
void sendKey(QWindow* window, int key, const QString& text) {
    QTest::sendKeyEvent(QTest::Click, window, static_cast<Qt::Key>(key), text, Qt::NoModifier);
}

bool toBool(const QString& text, bool* ok) {
    *ok = text == QLatin1String("true") || text == QLatin1String("false");
    return text == QLatin1String("true");
}

}  // namespace

ScreenshotDriver::ScreenshotDriver(AppModel* model, QString scriptPath, QString outDir,
                                   QObject* parent)
    : QObject(parent),
      m_model(model),
      m_scriptPath(std::move(scriptPath)),
      m_outDir(std::move(outDir)) {}

qint64 ScreenshotDriver::threadCpuMs() {
    timespec cpu{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
    return static_cast<qint64>(cpu.tv_sec) * 1000 + cpu.tv_nsec / 1000000;
}

bool ScreenshotDriver::start(QQuickWindow* window, qint64 cpuMsAtMain) {
    // Everything the main thread did so far (the libraries loaded, the model built, the screens
    // loaded, the course taken) happened before the first frame could be drawn.
    m_openedMainCpuMs = threadCpuMs();
    m_cpuMsAtMain = cpuMsAtMain;
    QFile file(m_scriptPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "screenshot-script: cannot read %s\n", qPrintable(m_scriptPath));
        return false;
    }
    m_lines = QTextStream(&file).readAll().split(QLatin1Char('\n'));
    m_window = window;
    // Frames are swapped on the render thread, so several may be queued before the first is
    // handled; a single-shot connection delivers exactly one. The time is taken right at the
    // swap, the script continues on the main thread.
    connect(
        window, &QQuickWindow::frameSwapped, this,
        [this] {
            m_firstFrameEpochMs = QDateTime::currentMSecsSinceEpoch();
            QMetaObject::invokeMethod(
                this, [this] { scheduleNext(kSettleMs); }, Qt::QueuedConnection);
        },
        static_cast<Qt::ConnectionType>(Qt::DirectConnection | Qt::SingleShotConnection));
    connect(
        window, &QQuickWindow::frameSwapped, this, [this] { ++m_framesSwapped; },
        Qt::DirectConnection);
    return true;
}

void ScreenshotDriver::scheduleNext(int delayMs) {
    QTimer::singleShot(delayMs, this, &ScreenshotDriver::runNext);
}

void ScreenshotDriver::fail(const QString& reason) {
    std::fprintf(stderr, "screenshot-script: line %d: %s\n", m_lineIndex, qPrintable(reason));
    QCoreApplication::exit(1);
}

void ScreenshotDriver::runNext() {
    // Shortcuts answer only in the active window, and a bare X server activates nothing by
    // itself (a request made while the window is still being mapped is lost), so ask until it is.
    if (!m_window->isActive()) m_window->requestActivate();
    while (m_lineIndex < m_lines.size()) {
        const QString line = m_lines.at(m_lineIndex).trimmed();
        ++m_lineIndex;
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        bool keepWaiting = false;
        if (!runLine(line, &keepWaiting)) return;
        if (keepWaiting) {
            --m_lineIndex;  // poll the same `until` line again
            scheduleNext(20);
            return;
        }
        m_untilTimer.invalidate();
        if (line == QLatin1String("quit")) return;
        scheduleNext(kSettleMs);
        return;
    }
    QCoreApplication::quit();
}

bool ScreenshotDriver::runLine(const QString& rawLine, bool* keepWaiting) {
    // {path} stands for the model's value there, e.g. "type {currentItem.romanization}".
    static const QRegularExpression kPlaceholder(QStringLiteral("\\{([A-Za-z.]+)\\}"));
    QString line;
    qsizetype copied = 0;
    for (auto it = kPlaceholder.globalMatch(rawLine); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QVariant value = valueAtPath(m_model, match.captured(1));
        if (!value.isValid()) {
            fail(QStringLiteral("no model value at '%1'").arg(match.captured(1)));
            return false;
        }
        line += rawLine.mid(copied, match.capturedStart() - copied) + value.toString();
        copied = match.capturedEnd();
    }
    line += rawLine.mid(copied);
    const QString command = line.section(QLatin1Char(' '), 0, 0);
    const QString rest = line.section(QLatin1Char(' '), 1);
    if (command == QLatin1String("set")) {
        return setSetting(rest.section(QLatin1Char(' '), 0, 0), rest.section(QLatin1Char(' '), 1));
    }
    if (command == QLatin1String("call")) {
        return callMethod(rest.section(QLatin1Char(' '), 0, 0), rest.section(QLatin1Char(' '), 1));
    }
    if (command == QLatin1String("until")) {
        const QString name = rest.section(QLatin1Char(' '), 0, 0);
        const QString want = rest.section(QLatin1Char(' '), 1);
        if (!m_untilTimer.isValid()) m_untilTimer.start();
        const QVariant value = m_model->property(name.toUtf8().constData());
        if (!value.isValid()) {
            fail(QStringLiteral("no model property '%1'").arg(name));
            return false;
        }
        if (value.toString() == want) return true;
        if (m_untilTimer.elapsed() > kUntilTimeoutMs) {
            fail(QStringLiteral("'%1' is still '%2', not '%3'").arg(name, value.toString(), want));
            return false;
        }
        *keepWaiting = true;
        return true;
    }
    if (command == QLatin1String("click")) return click(rest);
    if (command == QLatin1String("reveal")) return reveal(rest);
    if (command == QLatin1String("expect-visible")) {
        if (findVisible(m_window->contentItem(), rest)) return true;
        fail(QStringLiteral("no visible item named '%1'").arg(rest));
        return false;
    }
    if (command == QLatin1String("type")) {
        typeText(rest);
        return true;
    }
    if (command == QLatin1String("key")) return pressKey(rest);
    if (command == QLatin1String("wait")) {
        QEventLoop loop;
        QTimer::singleShot(rest.toInt(), &loop, &QEventLoop::quit);
        loop.exec();
        return true;
    }
    if (command == QLatin1String("shot")) return shoot(rest);
    if (command == QLatin1String("measure-key")) {
        if (keyCode(rest) == 0) {
            fail(QStringLiteral("unknown key '%1'").arg(rest));
            return false;
        }
        measureKey(rest);
        return true;
    }
    if (command == QLatin1String("report-usage")) {
        reportUsage(rest);
        return true;
    }
    if (command == QLatin1String("report-first-frame")) {
        std::printf(
            "first-frame-epoch-ms %lld\nopened-main-thread-cpu-ms %lld\n"
            "before-main-cpu-ms %lld\n",
            static_cast<long long>(m_firstFrameEpochMs), static_cast<long long>(m_openedMainCpuMs),
            static_cast<long long>(m_cpuMsAtMain));
        std::fflush(stdout);
        return true;
    }
    if (command == QLatin1String("quit")) {
        QCoreApplication::quit();
        return true;
    }
    fail(QStringLiteral("unknown command '%1'").arg(command));
    return false;
}

// The settings that screen states need, through the model's own setters (the ones the screens
// call): the page shown, the dictionary's query, and the study settings a state depends on.
bool ScreenshotDriver::setSetting(const QString& name, const QString& value) {
    bool ok = true;
    if (name == QLatin1String("destination")) {
        m_model->setDestination(value);
    } else if (name == QLatin1String("searchQuery")) {
        m_model->setSearchQuery(value);
    } else if (name == QLatin1String("dailyGoal")) {
        const int goal = value.toInt(&ok);
        if (ok) m_model->setDailyGoal(goal);
    } else if (name == QLatin1String("newWordsPerSession")) {
        const int count = value.toInt(&ok);
        if (ok) m_model->setNewWordsPerSession(count);
    } else if (name == QLatin1String("playAudioAutomatically")) {
        const bool play = toBool(value, &ok);
        if (ok) m_model->setPlayAudioAutomatically(play);
    } else {
        fail(QStringLiteral("'%1' is not a setting the driver sets").arg(name));
        return false;
    }
    if (!ok) fail(QStringLiteral("'%1' does not fit %2").arg(value, name));
    return ok;
}

bool ScreenshotDriver::callMethod(const QString& name, const QString& argument) {
    const QMetaObject* meta = m_model->metaObject();
    const int wantedCount = argument.isEmpty() ? 0 : 1;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        // Only the actions the screens call: no signals or slots.
        if (method.methodType() != QMetaMethod::Method) continue;
        if (method.name() != name.toUtf8() || method.parameterCount() != wantedCount) continue;
        if (wantedCount == 0) return method.invoke(m_model, Qt::DirectConnection);
        QVariant value = parseValue(argument);
        // Operations that take any value (a file URL or path) get the parsed value as it is.
        if (method.parameterMetaType(0) == QMetaType::fromType<QVariant>())
            return method.invoke(m_model, Qt::DirectConnection, Q_ARG(QVariant, value));
        if (!value.convert(method.parameterMetaType(0))) {
            fail(QStringLiteral("'%1' does not fit %2").arg(argument, name));
            return false;
        }
        return method.invoke(
            m_model, Qt::DirectConnection,
            QGenericArgument(method.parameterTypeName(0).constData(), value.constData()));
    }
    fail(QStringLiteral("no model action '%1' taking %2 argument(s)").arg(name).arg(wantedCount));
    return false;
}

QQuickItem* ScreenshotDriver::findVisible(QQuickItem* root, const QString& objectName) const {
    if (!root || !root->isVisible()) return nullptr;
    if (root->objectName() == objectName) return root;
    for (QQuickItem* child : root->childItems()) {
        if (QQuickItem* found = findVisible(child, objectName)) return found;
    }
    return nullptr;
}

bool ScreenshotDriver::click(const QString& objectName) {
    QQuickItem* item = findVisible(m_window->contentItem(), objectName);
    if (!item) {
        fail(QStringLiteral("no visible item named '%1'").arg(objectName));
        return false;
    }
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(m_window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
    return true;
}

bool ScreenshotDriver::reveal(const QString& objectName) {
    QQuickItem* item = findVisible(m_window->contentItem(), objectName);
    if (!item) {
        fail(QStringLiteral("no visible item named '%1'").arg(objectName));
        return false;
    }
    QQuickItem* flickable = item->parentItem();
    while (flickable && !flickable->inherits("QQuickFlickable"))
        flickable = flickable->parentItem();
    if (!flickable) return true;
    const auto content = flickable->property("contentItem").value<QQuickItem*>();
    const double top = item->mapToItem(content, QPointF(0, 0)).y();
    const double bottom = top + item->height();
    const double height = flickable->height();
    const double largest = std::max(0.0, flickable->property("contentHeight").toDouble() - height);
    // The item's bottom edge a little above the view's, or its top at the top when it is taller.
    const double y = std::clamp(std::min(top - 24, bottom + 24 - height), 0.0, largest);
    flickable->setProperty("contentY", y);
    return true;
}

void ScreenshotDriver::typeText(const QString& text) {
    for (const uint codePoint : text.toUcs4()) {
        sendKey(m_window, 0, QString::fromUcs4(reinterpret_cast<const char32_t*>(&codePoint), 1));
    }
}

bool ScreenshotDriver::pressKey(const QString& name) {
    const int key = keyCode(name);
    if (key == 0) {
        fail(QStringLiteral("unknown key '%1'").arg(name));
        return false;
    }
    sendKey(m_window, key, keyText(key));
    return true;
}

bool ScreenshotDriver::shoot(const QString& name) {
    const QImage image = m_window->grabWindow();
    // Named by the content's size (the window less its menu bar), the size the learner chose.
    const auto* content = m_window->property("contentItem").value<QQuickItem*>();
    if (!content) content = m_window->contentItem();
    const QString path = QDir(m_outDir).filePath(QStringLiteral("%1-%2x%3.png")
                                                     .arg(name)
                                                     .arg(qRound(content->width()))
                                                     .arg(qRound(content->height())));
    if (image.isNull() || !image.save(path)) {
        fail(QStringLiteral("could not write %1").arg(path));
        return false;
    }
    std::printf("shot %s\n", qPrintable(path));
    std::fflush(stdout);
    return true;
}

// The resident and peak resident set of the whole process (from /proc, as an outside observer
// would read them), the processor time of all its threads (render and speech threads included)
// and the frames shown so far.
void ScreenshotDriver::reportUsage(const QString& name) {
    long long rssKb = -1;
    long long peakKb = -1;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            const QList<QByteArray> words = line.simplified().split(' ');
            if (words.size() < 2) continue;
            if (words[0] == "VmRSS:") rssKb = words[1].toLongLong();
            if (words[0] == "VmHWM:") peakKb = words[1].toLongLong();
        }
    }
    // The process's own clock, to the microsecond: the kernel's tick counts (10 ms) would read
    // a page that wakes for a millisecond now and then as either idle or busy.
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    const double cpuMs = static_cast<double>(cpu.tv_sec) * 1000 + cpu.tv_nsec / 1e6;
    std::printf("usage %s rss-kb %lld peak-kb %lld cpu-ms %.3f frames %lld\n", qPrintable(name),
                rssKb, peakKb, cpuMs, m_framesSwapped.load());
    std::fflush(stdout);
}

// The main thread's share of a key press: handling the event itself (the model's work and the
// bindings it wakes), then the next frame's animation, polish and scene-graph synchronisation,
// during which the main thread waits for or does the rendering work.
void ScreenshotDriver::measureKey(const QString& name) {
    const int key = keyCode(name);
    QElapsedTimer clock;
    clock.start();
    qint64 frameStart = -1;
    qint64 syncEnd = -1;
    qint64 swapped = -1;
    QEventLoop loop;
    QList<QMetaObject::Connection> connections;
    connections << connect(
        m_window, &QQuickWindow::afterAnimating, this,
        [&] {
            if (frameStart < 0) frameStart = clock.nsecsElapsed();
        },
        Qt::DirectConnection);
    connections << connect(
        m_window, &QQuickWindow::afterSynchronizing, this,
        [&] {
            if (syncEnd < 0) syncEnd = clock.nsecsElapsed();
        },
        Qt::DirectConnection);
    connections << connect(
        m_window, &QQuickWindow::frameSwapped, this,
        [&] {
            if (swapped < 0) swapped = clock.nsecsElapsed();
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        },
        Qt::DirectConnection);

    const qint64 before = clock.nsecsElapsed();
    sendKey(m_window, key, keyText(key));
    const qint64 handledEnd = clock.nsecsElapsed();
    const qint64 handled = handledEnd - before;
    m_window->requestUpdate();
    QTimer::singleShot(2000, &loop, &QEventLoop::quit);
    loop.exec();
    for (const auto& connection : connections) disconnect(connection);

    const double ms = 1e-6;
    // Qt Test lets pending events run after the key, which can include the frame itself: count
    // only the part of the frame after the key's handling.
    const qint64 frameFrom = std::max(frameStart, handledEnd);
    const qint64 frame = frameStart >= 0 && syncEnd >= frameFrom ? syncEnd - frameFrom : 0;
    std::printf("key-handling-ms %.3f\n", handled * ms);
    std::printf("frame-polish-sync-ms %.3f\n", frame * ms);
    std::printf("main-thread-ms %.3f\n", (handled + frame) * ms);
    std::printf("until-swap-ms %.3f\n", (swapped - before) * ms);
    std::fflush(stdout);
}

}  // namespace tessel
