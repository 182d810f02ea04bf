// SPDX-License-Identifier: GPL-3.0-or-later
#include "SearchText.h"

#include "Utf8.h"

namespace tessel {
namespace {

bool isTrimmable(char32_t c) {
    return c == 0x09 || (c >= 0x0A && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 ||
           c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 ||
           c == 0x202F || c == 0x205F || c == 0x3000;
}

}  // namespace

std::string trimmedSearchText(std::string_view query) {
    std::size_t begin = 0;
    while (begin < query.size()) {
        const auto [c, length] = utf8::decode(query, begin);
        if (length == 0 || !isTrimmable(c)) break;
        begin += length;
    }
    // Scan forward so that trailing white space is found on scalar boundaries.
    std::size_t end = begin;
    std::size_t at = begin;
    while (at < query.size()) {
        const auto [c, length] = utf8::decode(query, at);
        if (length == 0) {
            end = ++at;
            continue;
        }
        at += length;
        if (!isTrimmable(c)) end = at;
    }
    return std::string(query.substr(begin, end - begin));
}

std::string escapedForLike(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size() + 4);
    for (const char c : text) {
        if (c == '\\' || c == '%' || c == '_') escaped.push_back('\\');
        escaped.push_back(c);
    }
    return escaped;
}

std::string asciiLowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lowered;
}

}  // namespace tessel
