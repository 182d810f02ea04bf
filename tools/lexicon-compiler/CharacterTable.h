// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "CompiledEntry.h"
#include "KanjiDictionary.h"
#include "StrokeDrawing.h"

namespace tessel::compiler {

// One row of the `characters` table: what the character panel shows for one character.
struct CharacterRow {
    std::string language;  // "zh" or "ja"
    std::string character;
    int strokeCount = 0;                   // 0: unknown
    std::vector<std::string> readings;     // Chinese: pinyin with tone marks; Japanese: on (kana)
    std::vector<std::string> kunReadings;  // Japanese kun readings (kana); empty for Chinese
    std::vector<std::string> meanings;
    int grade = 0;        // kanji school grade; 0 for none and for Chinese
    int jlpt = 0;         // kanji former test level; 0 for none and for Chinese
    int frequency = 0;    // kanji newspaper rank; 0 for none and for Chinese
    std::string strokes;  // encodeStrokeDrawing bytes; empty without stroke data

    bool operator==(const CharacterRow&) const = default;
};

// The stroke data of one character (UTF-8), or nullopt when the source has none.
using StrokeSource = std::function<std::optional<StrokeDrawing>(const std::string& character)>;

// The Han characters (hanCharacters) of the entries' terms, each once, in code point order.
std::vector<std::string> charactersOfTerms(const RankedEntries& entries);

// A row for every character of the Chinese terms that has stroke data or a one-character entry
// of its own: readings and meanings from those entries (most useful entry first, readings once
// each, at most kCharacterMeanings meanings), the stroke count from the stroke data. Rows are in
// code point order.
std::vector<CharacterRow> buildChineseCharacters(const RankedEntries& chinese,
                                                 const StrokeSource& strokes);

// A row for every character of the Japanese terms that KANJIDIC2 lists or `diagrams` draws:
// KANJIDIC2's readings, meanings (at most kCharacterMeanings), stroke count, grade, test level
// and frequency, and the numbered diagram of the characters that a course term uses or that
// KANJIDIC2 gives a grade, test level or frequency (other rows have no strokes). Rows are in code
// point order.
std::vector<CharacterRow> buildJapaneseCharacters(const RankedEntries& japanese,
                                                  const KanjiDictionary& kanji,
                                                  const StrokeSource& diagrams);

inline constexpr std::size_t kCharacterMeanings = 8;

}  // namespace tessel::compiler
