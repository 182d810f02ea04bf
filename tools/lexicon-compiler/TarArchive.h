// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Result.h"

namespace tessel::compiler {

// One regular file of a tar archive; `content` points into the archive's bytes.
struct TarMember {
    std::string path;
    std::string_view content;
};

// The regular files of an uncompressed POSIX tar archive (ustar, with pax extended headers for
// long or non-ASCII paths, as npm packs them), in archive order; directories and other entries
// are left out. Fails on a header whose size runs past the end of the archive.
// REQUIRES: `archive` outlives the members.
Result<std::vector<TarMember>> readTarArchive(std::string_view archive);

}  // namespace tessel::compiler
