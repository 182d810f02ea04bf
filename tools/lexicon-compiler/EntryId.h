// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessel::compiler {

// The stable id of a dictionary entry. A learner's progress is keyed by these ids, so they are
// derived only from the entry's content, never from its row or rank:
//
//   id = language + "-" + the first 16 hex digits (64 bits) of
//        SHA-256(language 0x1F written form 0x1F alternate form 0x1F reading 0x1F tie-break)
//
// where the reading is the dictionary's own spelling (numbered pinyin for Chinese, kana for
// Japanese) and the tie-break is the decimal count of earlier records with the same language,
// written forms and reading in the source file (0 for the first). Rebuilding from the same or a
// newer source keeps every id whose written forms and reading are unchanged; only entries that
// share all of them with an earlier record depend on file order, which the tie-break makes
// unique. The compiler fails loudly if two different entries ever hash to the same id.
std::string stableEntryId(std::string_view language, std::string_view writtenForm,
                          std::string_view alternateForm, std::string_view reading,
                          std::size_t tieBreak);

}  // namespace tessel::compiler
