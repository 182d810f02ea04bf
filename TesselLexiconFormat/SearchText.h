// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace tessel {

// The query with white space and line breaks removed from both ends: tab, U+000A..U+000D,
// U+0085, U+2028, U+2029 and the space separators (U+0020, U+00A0, U+1680, U+2000..U+200A,
// U+202F, U+205F, U+3000). Bytes that are not valid UTF-8 are kept as they are.
std::string trimmedSearchText(std::string_view query);

// The text with "\" doubled and "%" and "_" preceded by "\", for a LIKE pattern whose escape
// character is the backslash.
std::string escapedForLike(std::string_view text);

// The text with the ASCII letters A-Z lowered and every other byte unchanged: the folding the
// database's LIKE applies.
std::string asciiLowered(std::string_view text);

}  // namespace tessel
