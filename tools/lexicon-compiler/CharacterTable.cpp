// SPDX-License-Identifier: GPL-3.0-or-later
#include "CharacterTable.h"

#include <algorithm>
#include <set>
#include <unordered_map>

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include "HanCharacters.h"

namespace tessel::compiler {
namespace {

// Measured on the full sources: Chinese strokes at 2 units and Japanese diagrams at 4 units keep
// the lexicon within its size budget and look the same on screen.
constexpr StrokeEncoding kChineseEncoding{1, true};
constexpr StrokeEncoding kJapaneseEncoding{2, true};

void addOnce(std::vector<std::string>& list, const std::string& value, std::size_t limit) {
    if (list.size() < limit && std::find(list.begin(), list.end(), value) == list.end())
        list.push_back(value);
}

// Surname entries spell their pinyin with a capital ("Zhāng", "Ǒu"); the character's reading is
// the same syllable.
std::string lowerCase(const std::string& reading) {
    std::string lower;
    icu::UnicodeString::fromUTF8(reading).toLower(icu::Locale::getRoot()).toUTF8String(lower);
    return lower;
}

}  // namespace

std::vector<std::string> charactersOfTerms(const RankedEntries& entries) {
    std::set<std::string> characters;  // UTF-8 byte order is code point order
    for (const CompiledEntry& entry : entries.entries) {
        for (std::string& character : hanCharacters(entry.term))
            characters.insert(std::move(character));
    }
    return {characters.begin(), characters.end()};
}

std::vector<CharacterRow> buildChineseCharacters(const RankedEntries& chinese,
                                                 const StrokeSource& strokes) {
    std::unordered_map<std::string, std::vector<const CompiledEntry*>> ownEntries;
    for (std::size_t index : chinese.order) {
        const CompiledEntry& entry = chinese.entries[index];
        const auto characters = hanCharacters(entry.term);
        if (characters.size() == 1 && characters.front() == entry.term)
            ownEntries[entry.term].push_back(&entry);
    }
    std::vector<CharacterRow> rows;
    for (const std::string& character : charactersOfTerms(chinese)) {
        CharacterRow row;
        row.language = "zh";
        row.character = character;
        if (const auto found = ownEntries.find(character); found != ownEntries.end()) {
            for (const CompiledEntry* entry : found->second) {
                if (!entry->reading.empty())
                    addOnce(row.readings, lowerCase(entry->reading), SIZE_MAX);
                for (const std::string& meaning : entry->meanings)
                    addOnce(row.meanings, meaning, kCharacterMeanings);
            }
        }
        if (const std::optional<StrokeDrawing> drawing = strokes(character)) {
            row.strokeCount = static_cast<int>(drawing->strokes.size());
            row.strokes = encodeStrokeDrawing(*drawing, kChineseEncoding);
        }
        if (row.readings.empty() && row.meanings.empty() && row.strokes.empty()) continue;
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<CharacterRow> buildJapaneseCharacters(const RankedEntries& japanese,
                                                  const KanjiDictionary& kanji,
                                                  const StrokeSource& diagrams) {
    std::set<std::string> courseCharacters;
    for (const CompiledEntry& entry : japanese.entries) {
        if (!entry.learnable) continue;
        for (std::string& character : hanCharacters(entry.term))
            courseCharacters.insert(std::move(character));
    }
    std::vector<CharacterRow> rows;
    for (const std::string& character : charactersOfTerms(japanese)) {
        CharacterRow row;
        row.language = "ja";
        row.character = character;
        const KanjiRecord* record = kanji.find(character);
        if (record != nullptr) {
            row.strokeCount = record->strokeCount;
            row.readings = record->onReadings;
            row.kunReadings = record->kunReadings;
            for (const std::string& meaning : record->meanings)
                addOnce(row.meanings, meaning, kCharacterMeanings);
            row.grade = record->grade;
            row.jlpt = record->jlpt;
            row.frequency = record->frequency;
        }
        // A numbered diagram takes about 1.4 kB; the 2,000-odd rare kanji that neither a course
        // word uses nor KANJIDIC2 ranks in any way would push the lexicon past its size budget.
        const bool ranked = record != nullptr &&
                            (record->grade != 0 || record->jlpt != 0 || record->frequency != 0);
        if (ranked || courseCharacters.contains(character)) {
            if (const std::optional<StrokeDrawing> drawing = diagrams(character))
                row.strokes = encodeStrokeDrawing(*drawing, kJapaneseEncoding);
        }
        if (record == nullptr && row.strokes.empty()) continue;
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace tessel::compiler
