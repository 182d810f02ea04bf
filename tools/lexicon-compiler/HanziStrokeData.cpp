// SPDX-License-Identifier: GPL-3.0-or-later
#include "HanziStrokeData.h"

#include <charconv>
#include <cmath>

#include <nlohmann/json.hpp>

namespace tessel::compiler {
namespace {

// The package's y axis points up and its box's top edge is at y = 900.
constexpr int kTop = 900;

StrokePoint toBox(double x, double y) {
    return {static_cast<int>(std::lround(x)), static_cast<int>(std::lround(kTop - y))};
}

class PathTokens {
  public:
    explicit PathTokens(std::string_view text) : m_text(text) {}

    void skipSpace() {
        while (m_at < m_text.size() && (m_text[m_at] == ' ' || m_text[m_at] == ',')) ++m_at;
    }
    bool atEnd() {
        skipSpace();
        return m_at >= m_text.size();
    }
    char command() { return m_text[m_at++]; }
    bool number(double& value) {
        skipSpace();
        const char* begin = m_text.data() + m_at;
        const auto [end, error] = std::from_chars(begin, m_text.data() + m_text.size(), value);
        if (error != std::errc()) return false;
        m_at += static_cast<std::size_t>(end - begin);
        return true;
    }
    bool point(StrokePoint& point) {
        double x = 0, y = 0;
        if (!number(x) || !number(y)) return false;
        point = toBox(x, y);
        return true;
    }

  private:
    std::string_view m_text;
    std::size_t m_at = 0;
};

Result<std::vector<PathElement>> parsePath(std::string_view text) {
    std::vector<PathElement> outline;
    PathTokens tokens(text);
    while (!tokens.atEnd()) {
        PathElement element;
        switch (tokens.command()) {
            case 'M':
                element.kind = PathElement::Kind::moveTo;
                break;
            case 'L':
                element.kind = PathElement::Kind::lineTo;
                break;
            case 'Q':
                element.kind = PathElement::Kind::quadTo;
                break;
            case 'C':
                element.kind = PathElement::Kind::cubicTo;
                break;
            case 'Z':
                element.kind = PathElement::Kind::close;
                break;
            default:
                return fail("unsupported command in stroke path \"" + std::string(text) + "\"");
        }
        for (int i = 0; i < pointCount(element.kind); ++i) {
            if (!tokens.point(element.points[static_cast<std::size_t>(i)]))
                return fail("missing coordinate in stroke path \"" + std::string(text) + "\"");
        }
        outline.push_back(element);
    }
    return outline;
}

}  // namespace

std::map<std::string, std::string_view> hanziStrokeFiles(const std::vector<TarMember>& members) {
    constexpr std::string_view kFolder = "package/";
    constexpr std::string_view kSuffix = ".json";
    std::map<std::string, std::string_view> files;
    for (const TarMember& member : members) {
        std::string_view path = member.path;
        if (!path.starts_with(kFolder) || !path.ends_with(kSuffix)) continue;
        path = path.substr(kFolder.size(), path.size() - kFolder.size() - kSuffix.size());
        if (path.empty() || path.find('/') != std::string_view::npos || path == "package") continue;
        files.emplace(std::string(path), member.content);
    }
    return files;
}

Result<StrokeDrawing> parseHanziStrokes(std::string_view json) {
    const nlohmann::json document = nlohmann::json::parse(json, nullptr, false);
    if (!document.is_object() || !document.contains("strokes") || !document["strokes"].is_array())
        return fail("stroke file without a \"strokes\" list");
    const nlohmann::json& strokes = document["strokes"];
    const nlohmann::json medians = document.value("medians", nlohmann::json::array());
    if (!medians.is_array() || medians.size() != strokes.size())
        return fail("stroke file whose medians do not match its strokes");
    StrokeDrawing drawing;
    drawing.kind = StrokeDrawing::Kind::strokesInOrder;
    for (std::size_t i = 0; i < strokes.size(); ++i) {
        if (!strokes[i].is_string()) return fail("stroke file with a stroke that is not a path");
        auto outline = parsePath(strokes[i].get<std::string>());
        if (!outline) return tl::unexpected(outline.error());
        Stroke stroke;
        stroke.outline = std::move(*outline);
        for (const nlohmann::json& point : medians[i]) {
            if (!point.is_array() || point.size() != 2 || !point[0].is_number() ||
                !point[1].is_number())
                return fail("stroke file with a median point that is not [x, y]");
            stroke.median.push_back(toBox(point[0].get<double>(), point[1].get<double>()));
        }
        drawing.strokes.push_back(std::move(stroke));
    }
    return drawing;
}

}  // namespace tessel::compiler
