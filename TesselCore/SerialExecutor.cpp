// SPDX-License-Identifier: GPL-3.0-or-later
#include "SerialExecutor.h"

#include <cassert>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace tessel {

// Shared with the worker so that a worker outliving its executor (destroyed from one of its own
// tasks) still has a queue to drain.
struct SerialExecutor::Queue {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> tasks;
    bool closing = false;
};

SerialExecutor::SerialExecutor() : m_queue(std::make_shared<Queue>()) {
    m_worker = std::thread([queue = m_queue] {
        for (;;) {
            std::function<void()> task;
            {
                std::unique_lock lock(queue->mutex);
                queue->wake.wait(lock, [&] { return queue->closing || !queue->tasks.empty(); });
                if (queue->tasks.empty()) return;
                task = std::move(queue->tasks.front());
                queue->tasks.pop_front();
            }
            try {
                task();
            } catch (...) {
                // One failed task must not stop the ones queued behind it.
            }
        }
    });
}

SerialExecutor::~SerialExecutor() {
    {
        std::lock_guard lock(m_queue->mutex);
        m_queue->closing = true;
    }
    m_queue->wake.notify_one();
    if (isWorkerThread()) {
        m_worker.detach();
    } else {
        m_worker.join();
    }
}

void SerialExecutor::submit(std::function<void()> task) {
    {
        std::lock_guard lock(m_queue->mutex);
        assert(!m_queue->closing);
        m_queue->tasks.push_back(std::move(task));
    }
    m_queue->wake.notify_one();
}

bool SerialExecutor::isWorkerThread() const {
    return std::this_thread::get_id() == m_worker.get_id();
}

}  // namespace tessel
