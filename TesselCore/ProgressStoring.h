// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>

#include "Progress.h"
#include "Result.h"

namespace tessel {

// Where the learner's progress is kept. Operations are asynchronous: each call returns at once
// and its completion runs later, exactly once, on a thread of the store's choosing (never
// inside the call itself). A completion that must touch interface state hands itself over to
// the interface thread. Operations take effect, and their completions run, in the order the
// operations were issued, also when they are issued from different threads one after another.
class ProgressStoring {
  public:
    using LoadCompletion = std::function<void(Result<LearnerProgress>)>;
    using SaveCompletion = std::function<void(Result<void>)>;

    virtual ~ProgressStoring() = default;

    // The stored progress; a fresh, empty progress when nothing has been stored yet.
    // Error: the stored progress could not be read or decoded; nothing partial is given.
    // An empty completion is allowed.
    virtual void load(LoadCompletion completion) = 0;

    // Replaces the stored progress with `progress`, which the store reads until it calls the
    // completion (a store that keeps it longer copies it): the caller lends it rather than
    // copying a large progress for every save.
    // Error: it could not be encoded or written; the previously stored progress is then intact.
    // An empty completion is allowed.
    // REQUIRES: `progress` is not null and nobody changes it before the completion has run.
    virtual void save(std::shared_ptr<const LearnerProgress> progress,
                      SaveCompletion completion) = 0;
};

}  // namespace tessel
