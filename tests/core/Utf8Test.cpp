// SPDX-License-Identifier: GPL-3.0-or-later
#include "Utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace tessel {
namespace {

TEST(Utf8Test, RecognisesWellFormedText) {
    const std::pair<std::string, bool> cases[] = {
        {"", true},
        {"abc", true},
        {"食べる", true},
        {"🙂", true},
        {"\xc3", false},
        {"\xc0\xaf", false},
        {"\xed\xa0\x80", false},
        {"\xf4\x90\x80\x80", false},
        {"\x80", false},
        {"a\xe3\x81", false},
        {"\xe0\x9f\xbf", false},
        {"\xf0\x8f\xbf\xbf", false},
        {"\xf4\x8f\xbf\xbf", true},
        {"\xee\x80\x80", true},
    };
    for (const auto& [input, valid] : cases) EXPECT_EQ(utf8::isValid(input), valid) << input;
}

// Every length boundary and the scalars either side of the surrogates survive the round trip.
TEST(Utf8Test, EncodesAndDecodesEveryLengthBoundary) {
    for (const char32_t scalar :
         {0x00u, 0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xD7FFu, 0xE000u, 0xFFFFu, 0x10000u, 0x10FFFFu}) {
        std::string text = "x";
        utf8::append(text, scalar);
        const auto decoded = utf8::decode(text, 1);
        EXPECT_EQ(decoded.scalar, scalar);
        EXPECT_EQ(decoded.length, text.size() - 1);
    }
    EXPECT_EQ(utf8::decode("\xe3\x81", 0).length, 0u);  // cut short at the end of the text
}

}  // namespace
}  // namespace tessel
