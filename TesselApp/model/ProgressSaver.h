// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <deque>
#include <functional>
#include <memory>

#include "Calendar.h"
#include "Progress.h"
#include "Result.h"
#include "SerialExecutor.h"

namespace tessel {

class ProgressStoring;

// The one way the learner's progress goes to and comes from the progress store.
//
// Ordering contract:
//  1. Nothing is written before the start-up load has answered. When the load failed and the
//     store keeps a file, that file is first renamed aside (ProgressBackup::keepAside) under
//     unreadableFileAsideName(); while the rename fails nothing is written.
//  2. Snapshots reach the store in the order save() was called, one at a time: the next is handed
//     over only once the store has answered the one before. Snapshots waiting meanwhile are
//     kept in a queue; only its newest entry ever matters for the file's final state.
//  3. finish() (run by the destructor too) hands the newest waiting snapshot to the store after
//     the one in flight, on the same path, so the last save lands last; rule 1 still holds. A store
//     that finishes its operations before it goes away (JSONProgressStore) then writes it before
//     the process ends.
//  4. In read-only mode nothing is ever written; snapshots are dropped.
//
// Every call and every signal happens on the main thread. The store is called from a worker
// thread of the saver's own: handing a snapshot over copies it, which takes about a millisecond
// for ten thousand cards, too long for the main thread right after a rating.
class ProgressSaver : public QObject {
    Q_OBJECT

  public:
    using Clock = std::function<Instant()>;

    // `filePath` is the file behind `store`, empty when it has none; `now` stamps the name an
    // unreadable file is kept under. `readOnly`: never write (another window owns the folder).
    ProgressSaver(std::shared_ptr<ProgressStoring> store, QString filePath, Clock now,
                  bool readOnly, QObject* parent = nullptr);
    // Runs finish().
    ~ProgressSaver() override;

    // Starts the start-up load; `done` runs later on the main thread with the progress or the
    // store's error, unless the saver is gone by then. Call it once, before any save.
    void load(std::function<void(Result<LearnerProgress>)> done);
    // Queues `snapshot` for writing (see the contract above).
    // REQUIRES: nothing changes *snapshot any more.
    void save(std::shared_ptr<const LearnerProgress> snapshot);
    // Writes the newest waiting snapshot now, waiting first up to 3 s for the start-up load to
    // answer when it has not (the file may have to be kept aside first). Without an answer by
    // then nothing is written: the file may be the learner's only copy. Returns once the
    // snapshot is in the store's hands. Later saves are dropped.
    void finish();

    // "progress.json.unreadable-20240501T083000Z" once the start-up load failed on a file, until
    // the file has been renamed; empty otherwise.
    QString unreadableFileAsideName() const { return m_asideName; }
    // Snapshots waiting or in flight; 0 once every save has answered.
    int pendingCount() const { return static_cast<int>(m_waiting.size()) + (m_inFlight ? 1 : 0); }
    bool isReadOnly() const { return m_readOnly; }

  signals:
    // A save failed, or the unreadable file could not be renamed; `description` says why.
    void saveFailed(const QString& description);
    // Every requested save has answered (or been given up).
    void settled();

  private:
    struct LoadState;

    void loadAnswered(bool failed);
    void startNext();
    // Renames the unreadable file aside when one is waiting for it. Error: the rename failed.
    Result<void> keepUnreadableFileAside();
    void handOver(std::shared_ptr<const LearnerProgress> snapshot, bool answer);

    std::shared_ptr<ProgressStoring> m_store;
    QString m_filePath;
    Clock m_now;
    bool m_readOnly;
    std::shared_ptr<LoadState> m_load;
    bool m_loadPending = false;
    bool m_finished = false;
    QString m_asideName;
    std::deque<std::shared_ptr<const LearnerProgress>> m_waiting;
    bool m_inFlight = false;
    // Last member: destroyed first, so every hand-over has happened before the store is let go.
    SerialExecutor m_worker;
};

}  // namespace tessel
