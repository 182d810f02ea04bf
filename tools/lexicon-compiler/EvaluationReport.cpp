// SPDX-License-Identifier: GPL-3.0-or-later
#include "EvaluationReport.h"

#include <algorithm>
#include <unordered_map>

#include "ChineseLexicon.h"
#include "TextLines.h"

namespace tessel::compiler {

namespace {

std::vector<std::string> alternatives(std::string_view field) {
    std::vector<std::string> values;
    std::size_t start = 0;
    while (start <= field.size()) {
        std::size_t end = field.find('|', start);
        if (end == std::string_view::npos) end = field.size();
        std::string_view value = field.substr(start, end - start);
        while (!value.empty() && (value.back() == ' ' || value.back() == '\r')) {
            value.remove_suffix(1);
        }
        while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
        if (!value.empty()) values.emplace_back(value);
        start = end + 1;
    }
    return values;
}

// Tone-marked pinyin that starts with a capital letter: CC-CEDICT's mark of a proper noun.
bool startsCapitalised(std::string_view reading) {
    static constexpr std::string_view kMarkedCapitals[] = {"Ā", "Á", "Ǎ", "À", "Ē", "É",
                                                           "Ě", "È", "Ō", "Ó", "Ǒ", "Ò"};
    if (!reading.empty() && reading.front() >= 'A' && reading.front() <= 'Z') return true;
    return std::any_of(std::begin(kMarkedCapitals), std::end(kMarkedCapitals),
                       [&](std::string_view capital) { return reading.starts_with(capital); });
}

// A gloss giving a lifespan, "Mao Zedong (1893-1976), ...": the dictionary's way of naming a
// historical person.
bool givesLifespan(std::string_view gloss) {
    for (std::size_t open = gloss.find('('); open != std::string_view::npos;
         open = gloss.find('(', open + 1)) {
        std::size_t digits = 0;
        while (open + 1 + digits < gloss.size() && gloss[open + 1 + digits] >= '0' &&
               gloss[open + 1 + digits] <= '9') {
            ++digits;
        }
        if (digits >= 3 && open + 1 + digits < gloss.size() && gloss[open + 1 + digits] == '-') {
            return true;
        }
    }
    return false;
}

// Judged from what the entry itself says: the segmenter's person-name tag, glosses that are
// all surnames, or a lifespan.
bool isPersonalName(const CompiledEntry& entry) {
    const auto& pos = entry.partsOfSpeech;
    if (std::find(pos.begin(), pos.end(), "person name") != pos.end()) return true;
    if (std::any_of(entry.meanings.begin(), entry.meanings.end(),
                    [](const std::string& g) { return givesLifespan(g); })) {
        return true;
    }
    return !entry.meanings.empty() &&
           std::all_of(entry.meanings.begin(), entry.meanings.end(), [](const std::string& g) {
               return classifyChineseGloss(g) == GlossKind::surname;
           });
}

}  // namespace

Result<std::vector<CheckWord>> parseCheckList(std::string_view text, bool withReadings) {
    std::vector<CheckWord> words;
    TextLines lines(text);
    std::string_view line;
    std::size_t number = 0;
    while (lines.next(line)) {
        ++number;
        if (line.empty() || line == "\r" || line.front() == '#') continue;
        const std::size_t tab = line.find('\t');
        CheckWord word;
        word.forms = alternatives(line.substr(0, tab));
        if (withReadings && tab != std::string_view::npos) {
            const std::string_view rest = line.substr(tab + 1);
            word.readings = alternatives(rest.substr(0, rest.find('\t')));
        }
        if (word.forms.empty())
            return fail("check list line " + std::to_string(number) + " has no form");
        words.push_back(std::move(word));
    }
    return words;
}

CheckScore scoreCourse(const RankedEntries& ranked, const std::vector<CheckWord>& words) {
    std::unordered_multimap<std::string_view, const CompiledEntry*> byForm;
    CheckScore score;
    for (const CompiledEntry& entry : ranked.entries) {
        if (!entry.learnable) continue;
        byForm.emplace(entry.term, &entry);
        if (!entry.alternate.empty()) byForm.emplace(entry.alternate, &entry);
        if (entry.level <= 2 && entry.language == "zh" && startsCapitalised(entry.reading)) {
            ++score.namesInFirstTwoBands;
            if (isPersonalName(entry)) ++score.personalNamesInFirstTwoBands;
        }
    }
    std::vector<int> bands;
    for (const CheckWord& word : words) {
        int band = 7;
        for (const std::string& form : word.forms) {
            const auto [first, last] = byForm.equal_range(form);
            for (auto it = first; it != last; ++it) {
                const CompiledEntry& entry = *it->second;
                const bool readingFits =
                    word.readings.empty() || std::find(word.readings.begin(), word.readings.end(),
                                                       entry.reading) != word.readings.end();
                if (readingFits) band = std::min(band, static_cast<int>(entry.level));
            }
        }
        bands.push_back(band);
        if (band < 7) ++score.inCourse;
        if (band <= 2) ++score.inFirstTwoBands;
        if (band == 7) score.missing.push_back(word.forms.front());
    }
    score.words = words.size();
    if (!bands.empty()) {
        std::sort(bands.begin(), bands.end());
        score.medianBand = bands[bands.size() / 2];
    }
    return score;
}

std::string describeScore(const CheckScore& score) {
    std::string text = "in course " + std::to_string(score.inCourse) + "/" +
                       std::to_string(score.words) +
                       ", bands 1-2: " + std::to_string(score.inFirstTwoBands) + ", median band " +
                       std::to_string(score.medianBand);
    if (score.namesInFirstTwoBands > 0) {
        text += ", proper nouns in bands 1-2: " + std::to_string(score.namesInFirstTwoBands) +
                " (personal names: " + std::to_string(score.personalNamesInFirstTwoBands) + ")";
    }
    if (!score.missing.empty()) {
        text += "; not in the course:";
        for (const std::string& form : score.missing) text += " " + form;
    }
    return text;
}

}  // namespace tessel::compiler
