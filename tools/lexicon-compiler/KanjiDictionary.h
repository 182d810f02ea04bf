// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessel::compiler {

// One character of KANJIDIC2 with the facts the compiler uses. Numbers are 0 when the
// dictionary gives none.
struct KanjiRecord {
    std::string literal;  // the character, UTF-8
    int grade = 0;        // 1-6 elementary school, 8 secondary, 9-10 name-only (jinmeiyō)
    int strokeCount = 0;  // the first (accepted) count
    int frequency = 0;    // 1..2500, rank in newspaper use
    int jlpt = 0;         // former test levels, 4 easiest to 1 hardest
    std::vector<std::string> onReadings;   // katakana, "ア"
    std::vector<std::string> kunReadings;  // hiragana, okurigana after a dot, "つ.ぐ"
    std::vector<std::string> meanings;     // English only

    bool operator==(const KanjiRecord&) const = default;
};

struct KanjiDictionary {
    std::vector<KanjiRecord> characters;  // in file order
    std::size_t skippedCharacters = 0;    // <character> elements without a literal

    // The record of one character, or nullptr when the dictionary does not list it.
    const KanjiRecord* find(std::string_view literal) const;

    std::unordered_map<std::string, std::size_t> byLiteral;  // index into `characters`
};

// Reads the <character> elements of the KANJIDIC2 XML text (already decompressed). The file's
// layout is regular, one element per line, so a line reader suffices; the five predefined
// entities are decoded. Anything outside <character> elements is ignored.
KanjiDictionary parseKanjiDictionary(std::string_view xml);

}  // namespace tessel::compiler
