// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>

#include "ProgressStoring.h"
#include "SerialExecutor.h"

namespace tessel {

// Keeps the progress in one JSON file (see ProgressJSON.h for its text). Loads and saves run one
// at a time, in the order they were issued, on the store's own worker thread; their completions
// are called on that worker thread, right after the operation, in the same order. The store
// keeps no copy of the progress: every load reads the file again, every save replaces it whole.
// It never deletes, renames or repairs a file it could not read; the only files it deletes are
// its own temporary files left behind by a crash.
class JSONProgressStore final : public ProgressStoring {
  public:
    // Files larger than this are refused on reading rather than pulled into memory.
    static constexpr std::uintmax_t kMaxFileSize = std::uintmax_t{512} << 20;

    // A store for the file at `filePath`, writing two-space indented text when `prettyPrinted`
    // and compact text otherwise. Touches nothing on disk.
    JSONProgressStore(std::filesystem::path filePath, bool prettyPrinted);
    // Finishes every operation already issued (their completions included), then returns.
    // Destroyed from inside one of its own completions it returns at once, and the operations
    // still queued run afterwards; they hold copies of all they use.
    ~JSONProgressStore() override;

    JSONProgressStore(const JSONProgressStore&) = delete;
    JSONProgressStore& operator=(const JSONProgressStore&) = delete;

    const std::filesystem::path& filePath() const { return m_filePath; }
    bool prettyPrinted() const { return m_prettyPrinted; }

    // See ProgressStoring. First removes the temporary files that saves cut short by a crash
    // left beside the file (see removeStaleTemporaryFiles). A missing file (or a missing folder
    // on its path) gives a fresh, empty progress and creates nothing. Error: the path is a folder
    // or not a regular file, the file cannot be opened or read, is larger than kMaxFileSize, or its
    // text is no progress.
    void load(LoadCompletion completion) override;

    // See ProgressStoring. Creates missing folders, writes a temporary file beside the target,
    // flushes it to disk, renames it over the target and flushes the folder, so the file is
    // always either the old or the new version. A symbolic link at the path is followed and
    // kept. Error: a folder cannot be created, the progress cannot be encoded (a number that is
    // not finite), or writing fails; the old file is intact and no temporary file is left.
    void save(std::shared_ptr<const LearnerProgress> progress, SaveCompletion completion) override;

    // The synchronous steps `load` and `save` run on the worker; for callers that want no
    // thread (tools, benchmarks). Same results and errors as above.
    static Result<LearnerProgress> readFile(const std::filesystem::path& path);
    static Result<void> writeFile(const std::filesystem::path& path,
                                  const LearnerProgress& progress, bool prettyPrinted);

    // Deletes the temporary files of this store's own naming (".progress.json.1a2b3c4d.tmp")
    // beside the file at `path` (beside the file a link there points to). Returns how many were
    // deleted; a folder that cannot be listed deletes nothing.
    // REQUIRES: no save to `path` is running (the application holds the data folder's lock).
    static std::int64_t removeStaleTemporaryFiles(const std::filesystem::path& path);

  private:
    std::filesystem::path m_filePath;
    bool m_prettyPrinted;
    // Last member: destroyed first, so queued operations finish before anything else goes.
    SerialExecutor m_executor;
};

}  // namespace tessel
