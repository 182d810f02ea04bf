// SPDX-License-Identifier: GPL-3.0-or-later
#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

namespace tessel {

namespace {

constexpr char kRequest[] = "raise\n";
constexpr char kAnswer[] = "ok\n";

}  // namespace

SingleInstance::SingleInstance(QString dataFolder, QObject* parent)
    : QObject(parent), m_folder(QDir(dataFolder).absolutePath()) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::lockFilePath() const {
    return QDir(m_folder).filePath(QStringLiteral("brindle.lock"));
}

QString SingleInstance::serverName() const {
    // Named after the folder, so two data folders (two learners, a test's folder) never meet;
    // under the user's own runtime folder when there is one, where nobody else can listen.
    const QByteArray folder = QFileInfo(m_folder).canonicalFilePath().toUtf8();
    const QString name =
        QStringLiteral("brindle-") +
        QString::fromLatin1(QCryptographicHash::hash(folder.isEmpty() ? m_folder.toUtf8() : folder,
                                                     QCryptographicHash::Sha256)
                                .toHex()
                                .left(24));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return runtime.isEmpty() ? name : QDir(runtime).filePath(name);
}

SingleInstance::Role SingleInstance::start(int timeoutMs) {
    QDir().mkpath(m_folder);
    m_lock = std::make_unique<QLockFile>(lockFilePath());
    // Never time-stale: a lock is stale only when the process that wrote it is gone (a crash),
    // which QLockFile tells by its process id and name.
    m_lock->setStaleLockTime(0);
    const QDeadlineTimer deadline(timeoutMs);
    do {
        if (m_lock->tryLock(0)) return listen() ? Role::first : Role::unanswered;
        if (m_lock->error() != QLockFile::LockFailedError) break;  // no permission, no space
        // The holder may have just taken the lock and not be listening yet: ask until it
        // answers or the time is up.
        if (askRunningInstance(static_cast<int>(deadline.remainingTime()))) {
            return Role::handedOver;
        }
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return Role::unanswered;
}

bool SingleInstance::listen() {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left by a crashed launch would block the name; holding the lock makes it ours.
    QLocalServer::removeServer(serverName());
    if (!m_server->listen(serverName())) {
        // Later launches will not be answered and run without saving; this one keeps working.
        qWarning("Brindle cannot answer later launches: %s", qPrintable(m_server->errorString()));
        return true;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine()) return;
                if (socket->readLine() == kRequest) {
                    socket->write(kAnswer);
                    socket->flush();
                    emit activationRequested();
                }
                socket->disconnectFromServer();
            });
        }
    });
    return true;
}

bool SingleInstance::askRunningInstance(int timeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(kRequest);
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    const QDeadlineTimer deadline(timeoutMs);
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) return false;
    }
    return socket.readLine() == kAnswer;
}

QString SingleInstance::unansweredMessage() const {
    return QStringLiteral(
               "Another Brindle seems to be using your data folder “%1” but does not answer, "
               "so this window will not save anything you do. Close every Brindle window and "
               "start Brindle again to keep your progress.")
        .arg(QDir::toNativeSeparators(m_folder));
}

}  // namespace tessel
