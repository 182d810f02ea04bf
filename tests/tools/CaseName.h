// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cctype>
#include <cstddef>
#include <string>
#include <string_view>

namespace tessel::compiler {

// A test name that ctest shows the same in every build: the case's number, then the ASCII
// letters and digits of `text` (at most `limit` of them), each run of anything else as one "_".
inline std::string testCaseName(std::size_t index, std::string_view text, std::size_t limit = 24) {
    std::string name = std::to_string(index) + "_";
    std::size_t kept = 0;
    for (const char c : text) {
        if (kept == limit) break;
        if (std::isalnum(static_cast<unsigned char>(c))) {
            name += c;
            ++kept;
        } else if (name.back() != '_') {
            name += '_';
        }
    }
    while (name.back() == '_') name.pop_back();
    return name;
}

}  // namespace tessel::compiler
