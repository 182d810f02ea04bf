// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "StrokeDrawing.h"

namespace tessel {
namespace {

using Kind = PathElement::Kind;

PathElement element(Kind kind, std::initializer_list<StrokePoint> points) {
    PathElement e;
    e.kind = kind;
    std::size_t i = 0;
    for (StrokePoint p : points) e.points[i++] = p;
    return e;
}

// Every element kind, negative and far-apart points, a stroke without a median.
StrokeDrawing sample() {
    StrokeDrawing drawing;
    drawing.strokes.push_back(Stroke{
        {element(Kind::moveTo, {{-120, 900}}), element(Kind::lineTo, {{1020, 4}}),
         element(Kind::quadTo, {{512, 512}, {0, 0}}),
         element(Kind::cubicTo, {{8, 16}, {-24, 40}, {300, 1000}}), element(Kind::close, {})},
        {{10, 20}, {30, -40}, {1000, 1000}}});
    drawing.strokes.push_back(Stroke{{element(Kind::moveTo, {{4, 8}})}, {}});
    return drawing;
}

TEST(StrokeDrawingTest, RoundTripsEveryKindOfElementPlainAndCompressed) {
    for (const StrokeDrawing::Kind kind :
         {StrokeDrawing::Kind::strokesInOrder, StrokeDrawing::Kind::numberedDiagram}) {
        StrokeDrawing drawing = sample();
        drawing.kind = kind;
        for (const bool compress : {false, true}) {
            const std::string bytes = encodeStrokeDrawing(drawing, {0, compress});
            EXPECT_EQ(decodeStrokeDrawing(bytes), drawing) << compress;
        }
    }
    EXPECT_EQ(decodeStrokeDrawing(encodeStrokeDrawing(StrokeDrawing{}, {})), StrokeDrawing{});
}

TEST(StrokeDrawingTest, CoarserPrecisionRoundsEachPointWithoutDrift) {
    StrokeDrawing drawing;
    Stroke stroke;
    // Steps of 3 units at a precision of 4: rounding each delta would drift, rounding each point
    // keeps every point within 2 units.
    for (int i = 0; i < 40; ++i) stroke.median.push_back({3 * i, -3 * i});
    drawing.strokes.push_back(stroke);
    const auto decoded = decodeStrokeDrawing(encodeStrokeDrawing(drawing, {2, false}));
    ASSERT_TRUE(decoded);
    for (std::size_t i = 0; i < stroke.median.size(); ++i) {
        const StrokePoint got = decoded->strokes[0].median[i];
        EXPECT_EQ(got.x % 4, 0);
        EXPECT_LE(std::abs(got.x - stroke.median[i].x), 2) << i;
        EXPECT_LE(std::abs(got.y - stroke.median[i].y), 2) << i;
    }
}

TEST(StrokeDrawingTest, CompressesOnlyWhenThatIsShorter) {
    const std::string tiny = encodeStrokeDrawing(sample(), {0, true});
    EXPECT_EQ(tiny[3], 0) << "a few points do not compress";
    StrokeDrawing repetitive;
    for (int i = 0; i < 50; ++i) repetitive.strokes.push_back(sample().strokes[0]);
    const std::string packed = encodeStrokeDrawing(repetitive, {0, true});
    EXPECT_EQ(packed[3], 1);
    EXPECT_LT(packed.size(), encodeStrokeDrawing(repetitive, {0, false}).size());
    EXPECT_EQ(decodeStrokeDrawing(packed), repetitive);
}

TEST(StrokeDrawingTest, RejectsBytesThatAreNotADrawing) {
    const std::string valid = encodeStrokeDrawing(sample(), {0, false});
    for (std::size_t length = 0; length < valid.size(); ++length)
        EXPECT_FALSE(decodeStrokeDrawing(valid.substr(0, length))) << "truncated to " << length;
    const std::string packed = encodeStrokeDrawing(
        StrokeDrawing{{}, std::vector<Stroke>(60, sample().strokes[0])}, {0, true});
    ASSERT_EQ(packed[3], 1);
    std::string corruptStream = packed;
    corruptStream[corruptStream.size() / 2] ^= 0x5A;
    const std::string cases[] = {
        valid + '\0',                                                 // trailing byte
        std::string("\x02") + valid.substr(1),                        // unknown version
        valid.substr(0, 1) + '\x03' + valid.substr(2),                // unknown kind
        valid.substr(0, 2) + '\x05' + valid.substr(3),                // precision beyond 16 units
        valid.substr(0, 3) + '\x02' + valid.substr(4),                // unknown compression
        std::string("\x01\x01\x00\x00\xFF\xFF\xFF\xFF\x0F", 9),       // four billion strokes
        std::string("\x01\x01\x00\x00\x01\x01\x07\x00\x00\x00", 10),  // element kind 7
        std::string("\x01\x01\x00\x00\x01\x00\x01\xFE\xFF\x03\x00", 11),  // point far off the box
        corruptStream,
    };
    for (const std::string& bytes : cases) EXPECT_FALSE(decodeStrokeDrawing(bytes));
}

}  // namespace
}  // namespace tessel
