// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

#include "Result.h"

namespace tessel::compiler {

// The whole file as bytes; fails with a message naming the path when it cannot be read.
Result<std::string> readWholeFile(const std::filesystem::path& path);

// The decompressed content of a gzip (or dictzip) file; fails on a missing or corrupt file.
Result<std::string> readGzipFile(const std::filesystem::path& path);

// Lower-case hex SHA-256 of the file's bytes; fails when it cannot be read.
Result<std::string> fileSha256(const std::filesystem::path& path);

}  // namespace tessel::compiler
