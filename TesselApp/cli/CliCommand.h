// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "LexiconRecords.h"
#include "Result.h"
#include "Vocabulary.h"

namespace tessel {

// What the command line asked for.
struct CliCommand {
    bool help = false;
    std::string query;
    LearningLanguage language = LearningLanguage::chinese;
    std::int64_t limit = 80;
    bool json = false;
    std::optional<std::string> databasePath;

    bool operator==(const CliCommand&) const = default;
};

// The usage text printed by --help and after a usage error.
std::string cliUsage();

// Parses the arguments after the program name: `search QUERY --language chinese|japanese
// [--limit N] [--json] [--database PATH]` (options in any order, "--name=value" accepted, "--"
// ends the options) or `--help`. Fails with a one-line explanation.
Result<CliCommand> parseCliCommand(const std::vector<std::string>& arguments);

// One line per entry: term, reading and first meaning separated by tabs (tabs and line breaks
// inside a field become spaces so every entry stays on one line).
std::string formatEntriesAsText(const std::vector<LexiconEntry>& entries);

// A JSON array of objects holding every entry field under its name, "id" first.
std::string formatEntriesAsJson(const std::vector<LexiconEntry>& entries);

}  // namespace tessel
