// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>

#include "Calendar.h"
#include "Progress.h"
#include "Result.h"

namespace tessel {

// Backup files of the learner's progress and the safekeeping of a progress file that could not be
// read. All of it runs synchronously on the caller's thread.
namespace ProgressBackup {

// Restores refuse files larger than this: no genuine progress file comes near it, and reading an
// arbitrary large file into memory would stall the interface.
inline constexpr std::int64_t kMaximumRestoreBytes = 64ll * 1024 * 1024;

// Writes the progress file format (pretty-printed, keys sorted) to `path`, replacing any file
// there whole or not at all. The folder must exist; nothing is created.
// Error: the progress cannot be encoded (a number that is not finite) or the file cannot be
// written; a file already at `path` is then left as it was.
Result<void> exportTo(const QString& path, const LearnerProgress& progress);

// The progress held by the file at `path`, read as the progress store reads its own file.
// Error: no such file, unreadable, larger than kMaximumRestoreBytes, not JSON, not a JSON object
// with at least one of the progress file's keys, or any decoding failure.
Result<LearnerProgress> readFrom(const QString& path);

// "progress.json.unreadable-20240501T083000Z": the name an unreadable progress file is kept
// under, next to where it was, stamped with `at` in UTC.
QString unreadableFileName(const QString& progressFilePath, Instant at);

// Renames the file at `progressFilePath` to `asideName` in the same folder (adding "-2", "-3"...
// when that name is taken). Succeeds without doing anything when there is no file any more.
// Error: the rename failed; the file stays where it was.
Result<void> keepAside(const QString& progressFilePath, const QString& asideName);

}  // namespace ProgressBackup
}  // namespace tessel
