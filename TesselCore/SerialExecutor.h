// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <thread>

namespace tessel {

// Runs submitted tasks one at a time, in submission order, on one worker thread of its own.
class SerialExecutor {
  public:
    SerialExecutor();
    // Runs every task already submitted, then ends the worker. When called from one of its own
    // tasks it does not wait: the remaining tasks still run, after that task, and the worker
    // then ends by itself (tasks must therefore not reach into the destroyed owner).
    ~SerialExecutor();

    SerialExecutor(const SerialExecutor&) = delete;
    SerialExecutor& operator=(const SerialExecutor&) = delete;

    // Queues `task` to run after every task submitted before it. An exception leaving a task is
    // dropped so that the tasks behind it still run.
    // REQUIRES: not called while the executor is being destroyed.
    void submit(std::function<void()> task);

    // Whether the calling thread is this executor's worker.
    bool isWorkerThread() const;

  private:
    struct Queue;
    std::shared_ptr<Queue> m_queue;
    std::thread m_worker;
};

}  // namespace tessel
