// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "Result.h"

namespace tessel::compiler {

// One row of the `sources` table.
struct SourceRecord {
    std::string id;
    std::string displayName;
    std::string url;
    std::string license;
    std::string licenseUrl;
    std::string attribution;
    // Exactly one of these names the file whose SHA-256 is recorded: a file in the source
    // cache as it was fetched, or a file of the hand-written data folder.
    std::string cachedFile;
    std::string dataFile;
    std::string sha256;  // filled in by checksumSources

    bool operator==(const SourceRecord&) const = default;
};

// The records of the source JSON: {"sources": [{"id", "display_name", "url", "license",
// "license_url", "attribution", "cached_file" | "data_file"}...]}. `url` and `license_url`
// may be empty; the other texts may not. Fails, naming the record, on a missing field, a
// repeated id, or a file name that is absolute or climbs out of its folder.
Result<std::vector<SourceRecord>> parseSourceRecords(std::string_view json);

// Fills in every record's SHA-256 from its file; fails naming the file that cannot be read.
Result<void> checksumSources(std::vector<SourceRecord>& records,
                             const std::filesystem::path& sourceCache,
                             const std::filesystem::path& dataFolder);

}  // namespace tessel::compiler
