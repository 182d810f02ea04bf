// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "Result.h"
#include "StrokeDrawing.h"

namespace tessel::compiler {

// The stroke-order font whose glyphs draw each kanji with its strokes numbered in Japanese
// order. The compiler copies the outlines of the kanji the lexicon needs, so the application
// draws them in its own colours without the font.
class KanjiStrokeFont {
  public:
    // The font at `path`; fails when FreeType cannot open it as a scalable font.
    static Result<KanjiStrokeFont> open(const std::filesystem::path& path);

    KanjiStrokeFont(KanjiStrokeFont&&) noexcept;
    KanjiStrokeFont& operator=(KanjiStrokeFont&&) = delete;
    ~KanjiStrokeFont();

    // The glyph of `character` as a numbered diagram in the lexicon's drawing box (its
    // unscaled outline, so the same font always gives the same points); nullopt when the font
    // has no glyph for it or the glyph is empty.
    std::optional<StrokeDrawing> diagram(char32_t character) const;

  private:
    struct Library;
    explicit KanjiStrokeFont(std::unique_ptr<Library> library);
    std::unique_ptr<Library> m_library;
};

}  // namespace tessel::compiler
