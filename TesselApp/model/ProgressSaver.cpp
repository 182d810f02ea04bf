// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgressSaver.h"

#include <QCoreApplication>
#include <QPointer>

#include <cassert>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>

#include "ProgressBackup.h"
#include "ProgressStoring.h"

namespace tessel {

namespace {

QString qstr(const std::string& text) {
    return QString::fromStdString(text);
}

// Runs `work` on the main thread unless the saver is gone by then. The application object, not
// the saver, is the context of the posting: the saver may be destroyed on the main thread at
// any moment, and posting to an object while it is being destroyed elsewhere is a race. The
// saver is checked through the QPointer once the work runs on the main thread, where nothing
// can destroy it concurrently.
void onMainThread(QPointer<ProgressSaver> saver, std::function<void(ProgressSaver&)> work) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    QMetaObject::invokeMethod(
        app,
        [saver = std::move(saver), work = std::move(work)] {
            if (saver) work(*saver);
        },
        Qt::QueuedConnection);
}

// A copy of `progress` whose cards are allocated one after another in the order the file lists
// them. A save walks every card; a copy made by the map's own copy constructor lays its nodes out
// in the tree's shape instead, and the walk then waited on memory for almost every card: 15 ms of
// a 100,000-card save, against 5 ms in key order (bench/app/learner).
LearnerProgress inKeyOrder(const LearnerProgress& progress) {
    std::map<std::string, CardProgress> cards;
    for (const auto& card : progress.cards) cards.emplace_hint(cards.end(), card);
    LearnerProgress copy(progress.schemaVersion, std::move(cards), progress.dailyStats,
                         progress.dailyStatsByLanguage, progress.unscopedDailyStats);
    // Not compared whole: a figure that is not a number (a damaged file's) never equals itself.
    assert(copy.cards.size() == progress.cards.size());
    return copy;
}

// A store answers its start-up load in milliseconds; one that has not answered by then may never
// do so without the main thread (whose event loop is not running during finish()).
constexpr std::chrono::seconds kLoadWaitOnFinish{3};

}  // namespace

// What finish() needs to know about the start-up load without the main thread's event loop: the
// store answers on a thread of its choosing.
// The saver's own copy of the progress, lent to the store for each save.
struct ProgressSaver::Copy {
    std::shared_ptr<LearnerProgress> progress = std::make_shared<LearnerProgress>();
};

struct ProgressSaver::LoadState {
    std::mutex mutex;
    std::condition_variable answered;
    bool done = false;
    bool failed = false;
};

ProgressSaver::ProgressSaver(std::shared_ptr<ProgressStoring> store, QString filePath, Clock now,
                             bool readOnly, QObject* parent)
    : QObject(parent),
      m_store(std::move(store)),
      m_filePath(std::move(filePath)),
      m_now(std::move(now)),
      m_readOnly(readOnly),
      m_load(std::make_shared<LoadState>()),
      m_copy(std::make_shared<Copy>()) {}

ProgressSaver::~ProgressSaver() {
    finish();
}

void ProgressSaver::load(std::function<void(Result<LearnerProgress>)> done) {
    m_loadPending = true;
    m_store->load([state = m_load, copy = m_readOnly ? nullptr : m_copy,
                   saver = QPointer<ProgressSaver>(this),
                   done = std::move(done)](Result<LearnerProgress> loaded) mutable {
        const bool failed = !loaded.has_value();
        // Copied here, off the main thread; no save runs before the load has answered.
        if (copy && loaded) copy->progress = std::make_shared<LearnerProgress>(inKeyOrder(*loaded));
        {
            std::lock_guard lock(state->mutex);
            state->done = true;
            state->failed = failed;
        }
        state->answered.notify_all();
        onMainThread(std::move(saver),
                     [done = std::move(done), loaded = std::make_shared<Result<LearnerProgress>>(
                                                  std::move(loaded))](ProgressSaver& self) {
                         self.loadAnswered(!loaded->has_value());
                         if (done) done(std::move(*loaded));
                         self.startNext();
                     });
    });
}

void ProgressSaver::loadAnswered(bool failed) {
    if (!m_loadPending) return;
    m_loadPending = false;
    // The file is kept even when nothing will be written for a while: the learner never saw what
    // it held, so it must not be overwritten without a copy.
    if (failed && !m_filePath.isEmpty() && m_asideName.isEmpty())
        m_asideName = ProgressBackup::unreadableFileName(m_filePath, m_now());
}

void ProgressSaver::save(ProgressDelta changes) {
    if (m_readOnly || m_finished) return;
    m_waiting.merge(std::move(changes));
    m_hasWaiting = true;
    m_stalled = false;
    startNext();
}

void ProgressSaver::startNext() {
    if (m_finished || m_loadPending || m_inFlight) return;
    if (!m_hasWaiting || m_stalled) {
        emit settled();
        return;
    }
    if (auto kept = keepUnreadableFileAside(); !kept) {
        // Saving now would overwrite the only copy of what the learner had; the next change
        // tries again, with these changes too.
        m_stalled = true;
        emit saveFailed(qstr(kept.error().description));
        emit settled();
        return;
    }
    ProgressDelta changes = std::move(m_waiting);
    m_waiting = ProgressDelta();
    m_hasWaiting = false;
    m_inFlight = true;
    handOver(std::move(changes), /*answer=*/true, /*stillLent=*/false);
}

void ProgressSaver::handOver(ProgressDelta changes, bool answer, bool stillLent) {
    ProgressStoring::SaveCompletion completion;
    if (answer) {
        completion = [saver = QPointer<ProgressSaver>(this)](Result<void> saved) mutable {
            onMainThread(std::move(saver), [saved = std::move(saved)](ProgressSaver& self) {
                self.m_inFlight = false;
                if (!saved) emit self.saveFailed(qstr(saved.error().description));
                self.startNext();
            });
        };
    }
    m_worker.submit([store = m_store, copy = m_copy, changes = std::move(changes), stillLent,
                     completion = std::move(completion)]() mutable {
        // The store has answered the save before (rule 2), so it no longer reads the copy,
        // unless finish() overtook that answer.
        if (stillLent) copy->progress = std::make_shared<LearnerProgress>(*copy->progress);
        std::move(changes).applyTo(*copy->progress);
        store->save(copy->progress, std::move(completion));
    });
}

Result<void> ProgressSaver::keepUnreadableFileAside() {
    if (m_asideName.isEmpty()) return {};
    auto kept = ProgressBackup::keepAside(m_filePath, m_asideName);
    if (kept) m_asideName.clear();
    return kept;
}

void ProgressSaver::finish() {
    if (m_finished) return;
    m_finished = true;
    if (m_hasWaiting) {
        ProgressDelta newest = std::move(m_waiting);
        m_hasWaiting = false;
        bool loadKnown = !m_loadPending;
        if (m_loadPending) {
            // The answer is on its way to the main thread, which is busy here: read it where
            // the store left it.
            std::unique_lock lock(m_load->mutex);
            loadKnown =
                m_load->answered.wait_for(lock, kLoadWaitOnFinish, [&] { return m_load->done; });
            const bool failed = m_load->failed;
            lock.unlock();
            if (loadKnown) loadAnswered(failed);
        }
        // No signal from here: the owner may be half destroyed.
        if (!loadKnown) {
            qWarning("The last changes were not saved: the saved progress had not been read yet.");
        } else if (auto kept = keepUnreadableFileAside()) {
            handOver(std::move(newest), /*answer=*/false, /*stillLent=*/m_inFlight);
        } else {
            qWarning("The last changes were not saved: %s", kept.error().description.c_str());
        }
    }
    // Every hand-over made so far reaches the store before this returns.
    std::promise<void> handedOver;
    m_worker.submit([&handedOver] { handedOver.set_value(); });
    handedOver.get_future().wait();
}

}  // namespace tessel
