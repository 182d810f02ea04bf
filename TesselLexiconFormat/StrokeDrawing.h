// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessel {

// A point of a character drawing in the lexicon's drawing box: kStrokeBoxSize units square,
// x to the right and y downwards from the top left corner.
inline constexpr int kStrokeBoxSize = 1024;

struct StrokePoint {
    int x = 0;
    int y = 0;
    bool operator==(const StrokePoint&) const = default;
};

// One element of an outline, as QPainterPath and SVG paths know them. `points` holds 1 point
// for moveTo and lineTo, 2 for quadTo (control, end), 3 for cubicTo and none for close.
struct PathElement {
    enum class Kind : std::uint8_t { moveTo = 0, lineTo = 1, quadTo = 2, cubicTo = 3, close = 4 };
    Kind kind = Kind::moveTo;
    std::array<StrokePoint, 3> points{};
    bool operator==(const PathElement&) const = default;
};

// How many points an element of `kind` uses.
int pointCount(PathElement::Kind kind);

// One stroke: its filled outline and the line along its middle a brush would follow, from
// where the stroke starts (the median may be empty when the source has none).
struct Stroke {
    std::vector<PathElement> outline;
    std::vector<StrokePoint> median;
    bool operator==(const Stroke&) const = default;
};

// A character's stroke data as the lexicon stores it. `strokesInOrder`: one Stroke per stroke,
// in writing order, for drawing them one by one. `numberedDiagram`: one Stroke whose outline is
// the whole character with every stroke's number beside it, drawn at once.
struct StrokeDrawing {
    enum class Kind : std::uint8_t { strokesInOrder = 1, numberedDiagram = 2 };
    Kind kind = Kind::strokesInOrder;
    std::vector<Stroke> strokes;
    bool operator==(const StrokeDrawing&) const = default;
};

struct StrokeEncoding {
    // Points are rounded to multiples of 2^precisionShift units (0 to 4): at the sizes the panel
    // draws, 4 units are about a pixel, and coarser points need fewer bytes.
    int precisionShift = 0;
    // Keeps a zlib form of the strokes where it is shorter.
    bool compress = false;
};

// The bytes of the `strokes` column: a version byte (1), the kind, the precision shift, a
// compression byte (0 for none, 1 for a zlib stream after its unpacked size) and the strokes as
// variable-length integers, each point relative to the one before it within its stroke. The same
// drawing always gives the same bytes.
std::string encodeStrokeDrawing(const StrokeDrawing& drawing, const StrokeEncoding& encoding);

// The drawing stored in `bytes`, or nullopt when they are not one (unknown version or kind,
// truncated or corrupt data, implausible sizes, trailing bytes).
std::optional<StrokeDrawing> decodeStrokeDrawing(std::string_view bytes);

}  // namespace tessel
