#include "ProgressStoreBridge.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

#include "ProgressStoring.h"

namespace tessel {

namespace {

// Posts `work` to the main thread. The application object, not the receiver, is the context of
// the posting: the receiver may be destroyed on the main thread at any moment, and posting to
// an object while it is being destroyed elsewhere is a race. The receiver is checked through the
// QPointer once the work runs on the main thread, where nothing can destroy it concurrently.
template <class Value>
void deliver(QPointer<QObject> receiver, std::function<void(Value)> done, Value value) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    QMetaObject::invokeMethod(
        app,
        [receiver = std::move(receiver), done = std::move(done),
         value = std::make_shared<Value>(std::move(value))]() mutable {
            if (receiver && done) done(std::move(*value));
        },
        Qt::QueuedConnection);
}

}  // namespace

ProgressStoreBridge::ProgressStoreBridge(std::shared_ptr<ProgressStoring> store)
    : m_store(std::move(store)) {}

ProgressStoreBridge::~ProgressStoreBridge() = default;

void ProgressStoreBridge::load(QObject* receiver,
                               std::function<void(Result<LearnerProgress>)> done) {
    m_store->load([guard = QPointer<QObject>(receiver),
                   done = std::move(done)](Result<LearnerProgress> loaded) mutable {
        deliver<Result<LearnerProgress>>(std::move(guard), std::move(done), std::move(loaded));
    });
}

void ProgressStoreBridge::save(std::shared_ptr<const LearnerProgress> snapshot, QObject* receiver,
                               std::function<void(Result<void>)> done) {
    auto completion = [guard = QPointer<QObject>(receiver),
                       done = std::move(done)](Result<void> saved) mutable {
        deliver<Result<void>>(std::move(guard), std::move(done), std::move(saved));
    };
    // Copying ten thousand cards takes about a millisecond: too long for the main thread right
    // after a rating, and harmless on a pool thread since the snapshot no longer changes.
    QThreadPool::globalInstance()->start(
        [store = m_store, snapshot = std::move(snapshot), completion = std::move(completion)] {
            store->save(*snapshot, completion);
        });
}

void ProgressStoreBridge::saveDetached(const LearnerProgress& snapshot) {
    m_store->save(snapshot, {});
}

}  // namespace tessel
