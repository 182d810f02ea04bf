// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessel {

// The strings of a JSON array of strings (white space allowed around every token). Anything
// else — empty text, other JSON values, an array holding a non-string, malformed JSON, invalid
// UTF-8 or an unpaired surrogate escape — yields an empty list, never an error.
std::vector<std::string> decodeJsonStringList(std::string_view json);

}  // namespace tessel
