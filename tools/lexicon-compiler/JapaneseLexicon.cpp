// SPDX-License-Identifier: GPL-3.0-or-later
#include "JapaneseLexicon.h"

#include <algorithm>
#include <bit>
#include <map>
#include <numeric>
#include <unordered_map>

#include "EntryId.h"
#include "Romaji.h"
#include "Utf8.h"

namespace tessel::compiler {

namespace {

constexpr std::string_view kSourceName = "JMdict/EDICT";
constexpr std::uint8_t kIchi1 = 0b0010;  // bit of ichi1 among the first lists

// Calls `visit` with every UTF-8 character of `text` as its own view.
template <class Visit>
void forEachCharacter(std::string_view text, Visit visit) {
    for (std::size_t i = 0; i < text.size();) {
        // A stray byte that is not UTF-8 counts as a character of its own.
        const std::size_t length = std::max<std::size_t>(utf8::decode(text, i).length, 1);
        visit(text.substr(i, length));
        i += length;
    }
}

std::size_t codePointCount(std::string_view text) {
    std::size_t count = 0;
    forEachCharacter(text, [&](std::string_view) { ++count; });
    return count;
}

// A CJK ideograph (unified or extension A, or compatibility), which the kanji dictionary should
// list; kana, marks like 々 and Latin letters are not kanji.
bool isIdeograph(std::string_view character) {
    const char32_t c = utf8::decode(character, 0).scalar;
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0xF900 && c <= 0xFAFF) || c >= 0x20000;
}

// Each signal as a share of its worst value, 0 best and 1 worst.
double gradeShare(const JapaneseSignals& s) {
    if (s.kanaWord) return 0.1;
    if (s.unlistedKanji || s.kanjiGrade == 0) return 1.0;
    if (s.kanjiGrade <= 6) return (s.kanjiGrade - 1) / 7.0;
    return s.kanjiGrade == 8 ? 0.85 : 1.0;
}

double levelShare(const JapaneseSignals& s) {
    if (s.kanaWord) return 0.0;
    if (s.unlistedKanji || s.kanjiLevel == 0) return 1.0;
    return (4 - s.kanjiLevel) / 3.0;
}

double bucketShare(const JapaneseSignals& s) {
    // A bucket holds 500 words in newspaper order: its mean percentile among the 48.
    return s.priority.nf > 0 ? (s.priority.nf - 0.5) / 48.0 : 0.5;
}

double lengthShare(const JapaneseSignals& s) {
    // Kana spell a word in more characters than kanji do.
    const double characters = s.kanaWord ? s.length / 2.0 : s.length;
    return std::clamp((characters - 1.0) / 4.0, 0.0, 1.0);
}

}  // namespace

bool isCommonJapanese(const JapaneseSignals& signals) {
    return signals.priority.firstLists != 0 || signals.commonMark;
}

double japaneseCommonScore(const JapaneseSignals& s) {
    const bool ichi1 = (s.priority.firstLists & kIchi1) != 0;
    // The newspaper bucket is the one measured frequency, so it weighs most; the everyday list
    // ichi1 outweighs a bucket's spread, since newspapers rarely eat, sleep or say thank you.
    return 0.7 * bucketShare(s) + 0.3 * gradeShare(s) + 0.3 * levelShare(s) + 0.3 * lengthShare(s) -
           (ichi1 ? 0.4 : 0.0);
}

bool betterJapaneseSignals(const JapaneseSignals& a, const JapaneseSignals& b) {
    const bool commonA = isCommonJapanese(a), commonB = isCommonJapanese(b);
    if (commonA != commonB) return commonA;
    if (commonA) {
        const double scoreA = japaneseCommonScore(a), scoreB = japaneseCommonScore(b);
        if (scoreA != scoreB) return scoreA < scoreB;
    }
    const int bucketA = a.priority.nf > 0 ? a.priority.nf : 100;
    const int bucketB = b.priority.nf > 0 ? b.priority.nf : 100;
    if (bucketA != bucketB) return bucketA < bucketB;
    const int firstA = std::popcount(a.priority.firstLists);
    const int firstB = std::popcount(b.priority.firstLists);
    if (firstA != firstB) return firstA > firstB;
    if (a.commonMark != b.commonMark) return a.commonMark;
    return std::popcount(a.priority.secondLists) > std::popcount(b.priority.secondLists);
}

JapaneseSignals japaneseSignals(const EdictLine& line, const Priority& priority,
                                const KanjiDictionary& kanji) {
    JapaneseSignals signals;
    signals.priority = priority;
    signals.commonMark = line.common;
    signals.kanaWord = line.reading.empty() || line.usuallyKana;
    signals.length = static_cast<int>(codePointCount(line.term));
    forEachCharacter(line.term, [&](std::string_view character) {
        if (!isIdeograph(character)) return;
        const KanjiRecord* record = kanji.find(character);
        if (record == nullptr || record->grade == 0 || record->jlpt == 0) {
            signals.unlistedKanji = true;
        }
        if (record == nullptr) return;
        signals.kanjiGrade = std::max(signals.kanjiGrade, record->grade);
        if (record->jlpt > 0) {
            signals.kanjiLevel =
                signals.kanjiLevel == 0 ? record->jlpt : std::min(signals.kanjiLevel, record->jlpt);
        }
    });
    return signals;
}

RankedEntries buildJapaneseEntries(const EdictText& dictionary, const PriorityIndex& priorities,
                                   const KanjiDictionary& kanji) {
    const auto& lines = dictionary.lines;
    RankedEntries result;
    result.entries.resize(lines.size());
    result.courseEligible.assign(lines.size(), false);
    std::vector<JapaneseSignals> signals(lines.size());
    std::vector<std::optional<std::uint32_t>> dictionaryEntry(lines.size());
    std::vector<std::uint32_t> formPosition(lines.size(), 0);
    std::unordered_map<std::string, std::size_t> seen;
    seen.reserve(lines.size());

    for (std::size_t i = 0; i < lines.size(); ++i) {
        const EdictLine& line = lines[i];
        CompiledEntry& entry = result.entries[i];
        const std::string& reading = line.reading.empty() ? line.term : line.reading;
        const std::size_t tieBreak = seen[line.term + '\x1F' + reading]++;
        entry.id = stableEntryId("ja", line.term, "", reading, tieBreak);
        entry.language = "ja";
        entry.term = line.term;
        if (line.usuallyKana && reading != line.term) entry.alternate = reading;
        entry.reading = reading;
        entry.romanization = kanaToRomaji(reading);
        entry.meanings = line.glosses;
        entry.partsOfSpeech = line.partsOfSpeech;
        entry.source = std::string(kSourceName);
        const PriorityIndex::Match match = priorities.match(line.term, line.reading);
        dictionaryEntry[i] = match.entry;
        formPosition[i] = match.form;
        signals[i] = japaneseSignals(line, match.priority, kanji);
        result.courseEligible[i] = !line.onlyNames;
    }

    // One course item per word: the lines of one dictionary entry with one reading are
    // spellings of the same word. The word ranks by its best spelling and is studied under the
    // entry's first-listed spelling among its common lines; the others stay in the dictionary.
    std::map<std::pair<std::uint32_t, std::string_view>, std::size_t> mainLine;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!dictionaryEntry[i] || !isCommonJapanese(signals[i]) || lines[i].onlyNames) continue;
        const auto [slot, first] =
            mainLine.try_emplace({*dictionaryEntry[i], result.entries[i].reading}, i);
        if (first) continue;
        std::size_t& main = slot->second;
        const JapaneseSignals best =
            betterJapaneseSignals(signals[i], signals[main]) ? signals[i] : signals[main];
        const bool listedEarlier = formPosition[i] < formPosition[main];
        result.courseEligible[listedEarlier ? main : i] = false;
        if (listedEarlier) main = i;
        signals[main] = best;
    }

    result.order.resize(lines.size());
    std::iota(result.order.begin(), result.order.end(), std::size_t{0});
    std::sort(result.order.begin(), result.order.end(), [&](std::size_t a, std::size_t b) {
        if (betterJapaneseSignals(signals[a], signals[b])) return true;
        if (betterJapaneseSignals(signals[b], signals[a])) return false;
        const CompiledEntry& ea = result.entries[a];
        const CompiledEntry& eb = result.entries[b];
        const std::size_t lengthA = codePointCount(ea.term), lengthB = codePointCount(eb.term);
        if (lengthA != lengthB) return lengthA < lengthB;
        if (ea.term != eb.term) return ea.term < eb.term;
        if (ea.reading != eb.reading) return ea.reading < eb.reading;
        return ea.id < eb.id;
    });
    result.rankedCount =
        static_cast<std::size_t>(std::count_if(signals.begin(), signals.end(), isCommonJapanese));
    return result;
}

}  // namespace tessel::compiler
