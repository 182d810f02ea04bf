// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Result.h"

namespace tessel::compiler {

// One "TERM [READING] /gloss/gloss/" line with its codes sorted out.
struct EdictLine {
    std::string term;
    std::string reading;                     // empty when the term is itself kana
    std::vector<std::string> glosses;        // without the dictionary's codes, repeats dropped
    std::vector<std::string> partsOfSpeech;  // readable labels, first appearance order
    bool common = false;                     // the line ends in "(P)"
    bool usuallyKana = false;                // the first sense is marked "uk"
    bool onlyNames = false;                  // every gloss belongs to a name sense

    bool operator==(const EdictLine&) const = default;
};

struct EdictText {
    std::vector<EdictLine> lines;
    std::size_t skippedLines = 0;  // lines that are not a valid entry (no term or no gloss)
};

// The dictionary file's EUC-JP bytes as UTF-8; fails on a byte sequence that is not EUC-JP.
Result<std::string> decodeEucJp(std::string_view bytes);

// One EdictLine per valid line of the UTF-8 text; the file's header line is not an entry.
EdictText parseEdict(std::string_view text);

// The entry on one line, or false when the line is not a valid entry.
bool parseEdictLine(std::string_view line, EdictLine& entry);

}  // namespace tessel::compiler
