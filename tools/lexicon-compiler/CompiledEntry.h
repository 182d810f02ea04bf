// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessel::compiler {

// One row of the `vocabulary` table as the compiler builds it.
struct CompiledEntry {
    std::string id;
    std::string language;  // "zh" or "ja"
    std::string term;
    std::string alternate;
    std::string reading;
    std::string romanization;
    std::vector<std::string> meanings;
    std::vector<std::string> partsOfSpeech;
    std::string source;
    std::int32_t frequencyRank = 0;
    std::int32_t level = 0;
    bool learnable = false;
};

// The entries of one language with what the course selection needs to know about them.
struct RankedEntries {
    std::vector<CompiledEntry> entries;
    // Indices into `entries`, most useful first: every ranked entry, then every unranked one.
    std::vector<std::size_t> order;
    // How many leading elements of `order` carry a real frequency signal.
    std::size_t rankedCount = 0;
    // Parallel to `entries`: has a real English gloss (not only a pointer, surname or name).
    std::vector<bool> courseEligible;
};

}  // namespace tessel::compiler
