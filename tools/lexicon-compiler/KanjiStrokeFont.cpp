// SPDX-License-Identifier: GPL-3.0-or-later
#include "KanjiStrokeFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cmath>

namespace tessel::compiler {

struct KanjiStrokeFont::Library {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~Library() {
        if (face != nullptr) FT_Done_Face(face);
        if (library != nullptr) FT_Done_FreeType(library);
    }
};

namespace {

// The ideographs of the font sit in the em square between about -0.1 and 0.83 em (y up); a top
// edge at this height centres them in the drawing box as the Chinese data is.
constexpr double kTopInEm = 880.0 / 1024.0;

struct OutlineBuilder {
    double scale = 1.0;  // drawing box units per font unit
    double top = 0.0;    // font units
    std::vector<PathElement> elements;
    bool open = false;

    StrokePoint point(const FT_Vector* v) const {
        return {static_cast<int>(std::lround(double(v->x) * scale)),
                static_cast<int>(std::lround((top - double(v->y)) * scale))};
    }
    void add(PathElement::Kind kind, std::initializer_list<const FT_Vector*> points) {
        PathElement element;
        element.kind = kind;
        std::size_t i = 0;
        for (const FT_Vector* v : points) element.points[i++] = point(v);
        elements.push_back(element);
    }
    void close() {
        if (open) elements.push_back(PathElement{PathElement::Kind::close, {}});
        open = false;
    }
};

OutlineBuilder& builder(void* user) {
    return *static_cast<OutlineBuilder*>(user);
}

int moveTo(const FT_Vector* to, void* user) {
    builder(user).close();
    builder(user).add(PathElement::Kind::moveTo, {to});
    builder(user).open = true;
    return 0;
}
int lineTo(const FT_Vector* to, void* user) {
    builder(user).add(PathElement::Kind::lineTo, {to});
    return 0;
}
int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    builder(user).add(PathElement::Kind::quadTo, {control, to});
    return 0;
}
int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    builder(user).add(PathElement::Kind::cubicTo, {c1, c2, to});
    return 0;
}

}  // namespace

KanjiStrokeFont::KanjiStrokeFont(std::unique_ptr<Library> library)
    : m_library(std::move(library)) {}
KanjiStrokeFont::KanjiStrokeFont(KanjiStrokeFont&&) noexcept = default;
KanjiStrokeFont::~KanjiStrokeFont() = default;

Result<KanjiStrokeFont> KanjiStrokeFont::open(const std::filesystem::path& path) {
    auto library = std::make_unique<Library>();
    if (FT_Init_FreeType(&library->library) != 0) return fail("cannot start FreeType");
    if (FT_New_Face(library->library, path.c_str(), 0, &library->face) != 0)
        return fail("cannot open the font " + path.string());
    if (!FT_IS_SCALABLE(library->face) || library->face->units_per_EM == 0)
        return fail("the font " + path.string() + " has no outlines");
    return KanjiStrokeFont(std::move(library));
}

std::optional<StrokeDrawing> KanjiStrokeFont::diagram(char32_t character) const {
    FT_Face face = m_library->face;
    const FT_UInt glyph = FT_Get_Char_Index(face, character);
    if (glyph == 0 || FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE) != 0 ||
        face->glyph->format != FT_GLYPH_FORMAT_OUTLINE || face->glyph->outline.n_points == 0)
        return std::nullopt;
    OutlineBuilder outline;
    outline.scale = double(kStrokeBoxSize) / double(face->units_per_EM);
    outline.top = kTopInEm * double(face->units_per_EM);
    const FT_Outline_Funcs functions{moveTo, lineTo, conicTo, cubicTo, 0, 0};
    if (FT_Outline_Decompose(&face->glyph->outline, &functions, &outline) != 0) return std::nullopt;
    outline.close();
    StrokeDrawing drawing;
    drawing.kind = StrokeDrawing::Kind::numberedDiagram;
    drawing.strokes.push_back(Stroke{std::move(outline.elements), {}});
    return drawing;
}

}  // namespace tessel::compiler
