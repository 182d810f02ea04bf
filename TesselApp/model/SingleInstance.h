// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

namespace tessel {

// One running Brindle per data folder: two windows saving their whole state over each other's
// would lose answers. The first launch holds a lock file in the folder (a lock left by a crashed
// launch is taken over) and answers later launches on a local socket named after the folder; a
// later launch asks it to bring its window to the front and then ends.
class SingleInstance : public QObject {
    Q_OBJECT

  public:
    enum class Role {
        first,       // this process holds the lock and answers later launches
        handedOver,  // another process holds it and has been asked to come to the front
        unanswered,  // the lock could not be taken and nobody answered: do not save
    };

    // For the data folder at `dataFolder` (created when missing). Touches nothing yet.
    explicit SingleInstance(QString dataFolder, QObject* parent = nullptr);
    // Lets go of the lock and stops answering.
    ~SingleInstance() override;

    // Takes the folder's lock, or asks the process holding it to come to the front, waiting at
    // most `timeoutMs` for its answer. Call it once.
    Role start(int timeoutMs = 3000);

    // What a window that runs without the lock tells the learner.
    QString unansweredMessage() const;

    // "brindle.lock" in the data folder.
    QString lockFilePath() const;
    // The local socket's name for this data folder.
    QString serverName() const;

  signals:
    // A later launch asked this one (role `first`) to bring its window to the front.
    void activationRequested();

  private:
    bool listen();
    bool askRunningInstance(int timeoutMs) const;

    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

}  // namespace tessel
