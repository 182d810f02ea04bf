#pragma once

#include <QObject>

#include <functional>
#include <memory>

#include "Progress.h"
#include "Result.h"

namespace tessel {

class ProgressStoring;

// Runs the progress store's operations on the store's own executor and brings each answer back
// to the main thread. An answer for a receiver that has gone away in the meantime is dropped.
class ProgressStoreBridge {
  public:
    explicit ProgressStoreBridge(std::shared_ptr<ProgressStoring> store);
    ~ProgressStoreBridge();

    // Reads the saved progress; `done` runs later on the main thread with the progress or the
    // store's error, unless `receiver` no longer exists by then.
    // REQUIRES: called on the main thread; a QCoreApplication exists.
    void load(QObject* receiver, std::function<void(Result<LearnerProgress>)> done);
    // Writes `snapshot`; `done` runs later on the main thread as for load(). The store wants a
    // copy of its own, which is made on a pool thread, not the caller's.
    // REQUIRES: nothing changes *snapshot any more.
    void save(std::shared_ptr<const LearnerProgress> snapshot, QObject* receiver,
              std::function<void(Result<void>)> done);
    // Writes `snapshot` and forgets the answer (for the last save of a model going away).
    void saveDetached(const LearnerProgress& snapshot);

  private:
    std::shared_ptr<ProgressStoring> m_store;
};

}  // namespace tessel
