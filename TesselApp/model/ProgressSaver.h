// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

#include "Calendar.h"
#include "Progress.h"
#include "ProgressDelta.h"
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
//  2. Changes reach the store in the order save() was called, as whole progresses, one at a
//     time: the next is handed over only once the store has answered the one before. Changes
//     made meanwhile wait merged into one: never more than one progress waits, and it always
//     holds the newest changes.
//  3. finish() (run by the destructor too) hands the waiting changes to the store after the
//     save in flight, on the same path, so the last change lands last; rule 1 still holds. A
//     store that finishes its operations before it goes away (JSONProgressStore) then writes
//     them before the process ends.
//  4. In read-only mode nothing is ever written; changes are dropped.
//
// Every call and every signal happens on the main thread. The saver keeps its own copy of the
// progress on a worker thread of its own, brings it up to date from the changes and lends it to
// the store: a rating costs the main thread one card and one day, whatever the progress's size
// (100,000 cards take tens of milliseconds to copy). Measured by bench/app/learner.
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
    // store's error, unless the saver is gone by then. The saver's own copy starts as the loaded
    // progress (an empty one when the load failed), so the owner's progress must start there
    // too. Call it once, before any save.
    void load(std::function<void(Result<LearnerProgress>)> done);
    // Queues the changes in `changes` for writing (see the contract above).
    // REQUIRES: `changes` continue from the changes saved before (or from the load), so that the
    // saver's copy stays equal to the owner's progress.
    void save(ProgressDelta changes);
    // Writes the waiting changes now, waiting first up to 3 s for the start-up load to answer
    // when it has not (the file may have to be kept aside first). Without an answer by then
    // nothing is written: the file may be the learner's only copy. Returns once they are in the
    // store's hands. Later saves are dropped.
    void finish();

    // "progress.json.unreadable-20240501T083000Z" once the start-up load failed on a file, until
    // the file has been renamed; empty otherwise.
    QString unreadableFileAsideName() const { return m_asideName; }
    // Saves waiting (0 or 1) or in flight (0 or 1); 0 once every save has answered.
    int pendingCount() const { return (m_hasWaiting && !m_stalled ? 1 : 0) + (m_inFlight ? 1 : 0); }
    bool isReadOnly() const { return m_readOnly; }

  signals:
    // A save failed, or the unreadable file could not be renamed; `description` says why.
    void saveFailed(const QString& description);
    // Every requested save has answered (or been given up).
    void settled();

  private:
    struct LoadState;
    struct Copy;

    void loadAnswered(bool failed);
    void startNext();
    // Renames the unreadable file aside when one is waiting for it. Error: the rename failed.
    Result<void> keepUnreadableFileAside();
    // `stillLent`: the store may still be reading the copy (a save in flight at finish()).
    void handOver(ProgressDelta changes, bool answer, bool stillLent);

    std::shared_ptr<ProgressStoring> m_store;
    QString m_filePath;
    Clock m_now;
    bool m_readOnly;
    std::shared_ptr<LoadState> m_load;
    bool m_loadPending = false;
    bool m_finished = false;
    QString m_asideName;
    ProgressDelta m_waiting;
    bool m_hasWaiting = false;
    // The waiting changes could not be written (the unreadable file is still in the way); they
    // go with the next change.
    bool m_stalled = false;
    bool m_inFlight = false;
    // Read and changed only on the worker, but for the load filling it in (before any save).
    std::shared_ptr<Copy> m_copy;
    // Last member: destroyed first, so every hand-over has happened before the store is let go.
    SerialExecutor m_worker;
};

}  // namespace tessel
