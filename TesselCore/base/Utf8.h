// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The one UTF-8 decoder and encoder of the program. Progress files, lexicon text and typed
// answers all pass through here, so "well formed" means the same everywhere: no overlong forms,
// no surrogates, nothing above U+10FFFF.
namespace tessel::utf8 {

// One scalar and the number of bytes it took; a length of 0 means the bytes at that place are
// not a well-formed sequence (the scalar is then 0).
struct Decoded {
    char32_t scalar = 0;
    std::size_t length = 0;
};

// Decodes the sequence starting at `text[at]`. REQUIRES: at < text.size().
constexpr Decoded decode(std::string_view text, std::size_t at) noexcept {
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
    const auto continuation = [&](std::size_t k, std::uint8_t low, std::uint8_t high) {
        return k < text.size() && byte(k) >= low && byte(k) <= high;
    };
    const std::uint8_t lead = byte(at);
    std::size_t length = 0;
    char32_t scalar = 0;
    // The second byte's range excludes overlong forms, surrogates and values past U+10FFFF.
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead < 0x80) {
        return {lead, 1};
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, scalar = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, scalar = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, scalar = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {};
    }
    for (std::size_t k = 1; k < length; ++k) {
        if (!continuation(at + k, k == 1 ? low : 0x80, k == 1 ? high : 0xBF)) return {};
        scalar = (scalar << 6) | (byte(at + k) & 0x3F);
    }
    return {scalar, length};
}

// True when all of `text` is well-formed UTF-8.
constexpr bool isValid(std::string_view text) noexcept {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = decode(text, at).length;
        if (length == 0) return false;
        at += length;
    }
    return true;
}

// Appends the encoding of `scalar`. REQUIRES: a scalar value (not a surrogate, at most U+10FFFF).
inline void append(std::string& out, char32_t scalar) {
    const auto put = [&](unsigned value) { out.push_back(static_cast<char>(value)); };
    if (scalar < 0x80) {
        put(scalar);
    } else if (scalar < 0x800) {
        put(0xC0 | (scalar >> 6));
        put(0x80 | (scalar & 0x3F));
    } else if (scalar < 0x10000) {
        put(0xE0 | (scalar >> 12));
        put(0x80 | ((scalar >> 6) & 0x3F));
        put(0x80 | (scalar & 0x3F));
    } else {
        put(0xF0 | (scalar >> 18));
        put(0x80 | ((scalar >> 12) & 0x3F));
        put(0x80 | ((scalar >> 6) & 0x3F));
        put(0x80 | (scalar & 0x3F));
    }
}

}  // namespace tessel::utf8
