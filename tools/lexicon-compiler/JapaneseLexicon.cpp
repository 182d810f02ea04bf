#include "JapaneseLexicon.h"

#include <algorithm>
#include <bit>
#include <numeric>
#include <unordered_map>

#include "EntryId.h"
#include "Romaji.h"

namespace tessel::compiler {

namespace {

constexpr std::string_view kSourceName = "JMdict/EDICT";

std::size_t codePointCount(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

}  // namespace

JapaneseRankKey japaneseRankKey(const Priority& priority, bool common) {
    JapaneseRankKey key;
    key.bucket = priority.nf;
    key.firstLists = std::popcount(priority.firstLists);
    key.secondLists = std::popcount(priority.secondLists);
    key.common = common;
    if (priority.nf > 0) {
        key.tier = 0;
    } else if (key.firstLists > 0) {
        key.tier = 1;
    } else if (common) {
        key.tier = 2;
    }
    return key;
}

bool betterJapaneseKey(const JapaneseRankKey& a, const JapaneseRankKey& b) {
    if (a.tier != b.tier) return a.tier < b.tier;
    if (a.bucket != b.bucket) return a.bucket < b.bucket;
    if (a.firstLists != b.firstLists) return a.firstLists > b.firstLists;
    if (a.common != b.common) return a.common;
    return a.secondLists > b.secondLists;
}

RankedEntries buildJapaneseEntries(const EdictText& dictionary, const PriorityIndex& priorities) {
    const auto& lines = dictionary.lines;
    RankedEntries result;
    result.entries.resize(lines.size());
    result.courseEligible.assign(lines.size(), false);
    std::vector<JapaneseRankKey> keys(lines.size());
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
        keys[i] = japaneseRankKey(priorities.lookup(line.term, line.reading), line.common);
        result.courseEligible[i] = !line.onlyNames;
    }

    result.order.resize(lines.size());
    std::iota(result.order.begin(), result.order.end(), std::size_t{0});
    std::sort(result.order.begin(), result.order.end(), [&](std::size_t a, std::size_t b) {
        if (betterJapaneseKey(keys[a], keys[b])) return true;
        if (betterJapaneseKey(keys[b], keys[a])) return false;
        const CompiledEntry& ea = result.entries[a];
        const CompiledEntry& eb = result.entries[b];
        const std::size_t lengthA = codePointCount(ea.term), lengthB = codePointCount(eb.term);
        if (lengthA != lengthB) return lengthA < lengthB;
        if (ea.term != eb.term) return ea.term < eb.term;
        if (ea.reading != eb.reading) return ea.reading < eb.reading;
        return ea.id < eb.id;
    });
    result.rankedCount = static_cast<std::size_t>(std::count_if(
        keys.begin(), keys.end(), [](const JapaneseRankKey& k) { return k.ranked(); }));
    return result;
}

}  // namespace tessel::compiler
