// SPDX-License-Identifier: GPL-3.0-or-later
#include "StrokeDrawing.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>

namespace tessel {
namespace {

constexpr std::uint8_t kVersion = 1;
constexpr std::uint8_t kPlain = 0;
constexpr std::uint8_t kZlib = 1;
// Far above any real character (the numbered diagrams hold a few thousand elements); a corrupt
// count must not make the reader allocate gigabytes.
constexpr std::uint64_t kMaxItems = 1u << 16;
constexpr std::uint64_t kMaxPayload = 1u << 22;
constexpr int kMaxShift = 4;

void putVarint(std::string& out, std::uint64_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<char>((value & 0x7F) | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<char>(value));
}

void putSigned(std::string& out, std::int64_t value) {
    putVarint(out,
              (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63));
}

// Points travel as multiples of 2^shift units; the deltas are taken between the rounded points so
// that rounding errors do not add up along a path.
void putPoint(std::string& out, StrokePoint point, StrokePoint& previous, int shift) {
    const double step = double(1 << shift);
    const StrokePoint rounded{static_cast<int>(std::lround(point.x / step)),
                              static_cast<int>(std::lround(point.y / step))};
    putSigned(out, rounded.x - previous.x);
    putSigned(out, rounded.y - previous.y);
    previous = rounded;
}

class Reader {
  public:
    explicit Reader(std::string_view bytes, int shift = 0) : m_bytes(bytes), m_shift(shift) {}

    bool varint(std::uint64_t& value) {
        value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (m_at >= m_bytes.size()) return false;
            const auto byte = static_cast<std::uint8_t>(m_bytes[m_at++]);
            value |= std::uint64_t(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0) return true;
        }
        return false;
    }
    bool count(std::uint64_t& value) { return varint(value) && value <= kMaxItems; }
    bool point(StrokePoint& point, StrokePoint& previous) {
        std::uint64_t x = 0, y = 0;
        if (!varint(x) || !varint(y)) return false;
        const auto decoded = [](std::uint64_t v) {
            return static_cast<std::int64_t>(v >> 1) ^ -static_cast<std::int64_t>(v & 1);
        };
        const std::int64_t qx = previous.x + decoded(x), qy = previous.y + decoded(y);
        // Coordinates stay near the box; anything far outside it is corrupt data.
        const std::int64_t limit = (4 * kStrokeBoxSize) >> m_shift;
        if (qx < -limit || qx > limit || qy < -limit || qy > limit) return false;
        previous = {static_cast<int>(qx), static_cast<int>(qy)};
        point = {previous.x * (1 << m_shift), previous.y * (1 << m_shift)};
        return true;
    }
    bool atEnd() const { return m_at == m_bytes.size(); }

  private:
    std::string_view m_bytes;
    int m_shift = 0;
    std::size_t m_at = 0;
};

std::string encodeStrokes(const std::vector<Stroke>& strokes, int shift) {
    std::string out;
    putVarint(out, strokes.size());
    for (const Stroke& stroke : strokes) {
        StrokePoint previous;
        putVarint(out, stroke.outline.size());
        for (const PathElement& element : stroke.outline) {
            out.push_back(static_cast<char>(element.kind));
            for (int i = 0; i < pointCount(element.kind); ++i)
                putPoint(out, element.points[static_cast<std::size_t>(i)], previous, shift);
        }
        putVarint(out, stroke.median.size());
        for (const StrokePoint& point : stroke.median) putPoint(out, point, previous, shift);
    }
    return out;
}

std::optional<std::vector<Stroke>> decodeStrokes(std::string_view payload, int shift) {
    Reader in(payload, shift);
    std::uint64_t strokeCount = 0;
    if (!in.count(strokeCount)) return std::nullopt;
    std::vector<Stroke> strokes(strokeCount);
    for (Stroke& stroke : strokes) {
        StrokePoint previous;
        std::uint64_t elements = 0;
        if (!in.count(elements)) return std::nullopt;
        stroke.outline.resize(elements);
        for (PathElement& element : stroke.outline) {
            std::uint64_t kind = 0;
            if (!in.varint(kind) || kind > static_cast<std::uint64_t>(PathElement::Kind::close))
                return std::nullopt;
            element.kind = static_cast<PathElement::Kind>(kind);
            for (int i = 0; i < pointCount(element.kind); ++i) {
                if (!in.point(element.points[static_cast<std::size_t>(i)], previous))
                    return std::nullopt;
            }
        }
        std::uint64_t medianPoints = 0;
        if (!in.count(medianPoints)) return std::nullopt;
        stroke.median.resize(medianPoints);
        for (StrokePoint& point : stroke.median) {
            if (!in.point(point, previous)) return std::nullopt;
        }
    }
    if (!in.atEnd()) return std::nullopt;
    return strokes;
}

}  // namespace

int pointCount(PathElement::Kind kind) {
    switch (kind) {
        case PathElement::Kind::moveTo:
        case PathElement::Kind::lineTo:
            return 1;
        case PathElement::Kind::quadTo:
            return 2;
        case PathElement::Kind::cubicTo:
            return 3;
        case PathElement::Kind::close:
            break;
    }
    return 0;
}

std::string encodeStrokeDrawing(const StrokeDrawing& drawing, const StrokeEncoding& encoding) {
    const int shift = std::clamp(encoding.precisionShift, 0, kMaxShift);
    const std::string payload = encodeStrokes(drawing.strokes, shift);
    std::string header;
    header.push_back(static_cast<char>(kVersion));
    header.push_back(static_cast<char>(drawing.kind));
    header.push_back(static_cast<char>(shift));
    if (encoding.compress) {
        uLongf size = compressBound(static_cast<uLong>(payload.size()));
        std::string packed(size, '\0');
        if (compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
                      reinterpret_cast<const Bytef*>(payload.data()),
                      static_cast<uLong>(payload.size()), Z_BEST_COMPRESSION) == Z_OK) {
            packed.resize(size);
            std::string length;
            putVarint(length, payload.size());
            if (length.size() + packed.size() < payload.size())
                return header + static_cast<char>(kZlib) + length + packed;
        }
    }
    return header + static_cast<char>(kPlain) + payload;
}

std::optional<StrokeDrawing> decodeStrokeDrawing(std::string_view bytes) {
    if (bytes.size() < 4 || static_cast<std::uint8_t>(bytes[0]) != kVersion) return std::nullopt;
    StrokeDrawing drawing;
    const auto kind = static_cast<std::uint8_t>(bytes[1]);
    if (kind != static_cast<std::uint8_t>(StrokeDrawing::Kind::strokesInOrder) &&
        kind != static_cast<std::uint8_t>(StrokeDrawing::Kind::numberedDiagram))
        return std::nullopt;
    drawing.kind = static_cast<StrokeDrawing::Kind>(kind);
    const int shift = static_cast<std::uint8_t>(bytes[2]);
    if (shift > kMaxShift) return std::nullopt;
    const auto compression = static_cast<std::uint8_t>(bytes[3]);
    std::string_view payload = bytes.substr(4);
    std::string unpacked;
    if (compression == kZlib) {
        Reader in(payload);
        std::uint64_t size = 0;
        if (!in.varint(size) || size > kMaxPayload) return std::nullopt;
        std::size_t lengthBytes = 1;
        while ((static_cast<std::uint8_t>(payload[lengthBytes - 1]) & 0x80) != 0) ++lengthBytes;
        payload.remove_prefix(lengthBytes);
        unpacked.resize(size);
        uLongf got = static_cast<uLongf>(size);
        if (uncompress(reinterpret_cast<Bytef*>(unpacked.data()), &got,
                       reinterpret_cast<const Bytef*>(payload.data()),
                       static_cast<uLong>(payload.size())) != Z_OK ||
            got != size)
            return std::nullopt;
        payload = unpacked;
    } else if (compression != kPlain) {
        return std::nullopt;
    }
    auto strokes = decodeStrokes(payload, shift);
    if (!strokes) return std::nullopt;
    drawing.strokes = std::move(*strokes);
    return drawing;
}

}  // namespace tessel
