// SPDX-License-Identifier: GPL-3.0-or-later
#include "HanCharacters.h"

#include <algorithm>

#include "Utf8.h"

namespace tessel {

bool isHanCharacter(char32_t c) {
    return c == 0x3005 || c == 0x3007 || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0x20000 && c <= 0x323AF);
}

std::vector<std::string> hanCharacters(std::string_view text) {
    std::vector<std::string> found;
    for (std::size_t at = 0; at < text.size();) {
        const utf8::Decoded decoded = utf8::decode(text, at);
        if (decoded.length == 0) {
            ++at;
            continue;
        }
        if (isHanCharacter(decoded.scalar)) {
            std::string character(text.substr(at, decoded.length));
            if (std::find(found.begin(), found.end(), character) == found.end())
                found.push_back(std::move(character));
        }
        at += decoded.length;
    }
    return found;
}

}  // namespace tessel
