// SPDX-License-Identifier: GPL-3.0-or-later
#include "SearchText.h"

#include <cstdint>

namespace tessel {
namespace {

// Decodes one well-formed UTF-8 scalar at `at`; returns its length, or 0 when malformed.
std::size_t decodeScalar(std::string_view text, std::size_t at, char32_t& scalar) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(at);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        scalar = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, scalar = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, scalar = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, scalar = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        scalar = (scalar << 6) | (byte(at + i) & 0x3F);
    }
    if (scalar < minimum || scalar > 0x10FFFF || (scalar >= 0xD800 && scalar <= 0xDFFF)) {
        return 0;
    }
    return length;
}

bool isTrimmable(char32_t c) {
    return c == 0x09 || (c >= 0x0A && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 ||
           c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 ||
           c == 0x202F || c == 0x205F || c == 0x3000;
}

}  // namespace

std::string trimmedSearchText(std::string_view query) {
    std::size_t begin = 0;
    while (begin < query.size()) {
        char32_t c = 0;
        const std::size_t length = decodeScalar(query, begin, c);
        if (length == 0 || !isTrimmable(c)) break;
        begin += length;
    }
    // Scan forward so that trailing white space is found on scalar boundaries.
    std::size_t end = begin;
    std::size_t at = begin;
    while (at < query.size()) {
        char32_t c = 0;
        const std::size_t length = decodeScalar(query, at, c);
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

bool isValidUTF8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        char32_t c = 0;
        const std::size_t length = decodeScalar(text, at, c);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

std::string asciiLowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lowered;
}

}  // namespace tessel
