// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChineseLexicon.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <numeric>
#include <optional>
#include <unordered_map>

#include "EntryId.h"
#include "Pinyin.h"

namespace tessel::compiler {

namespace {

constexpr std::string_view kSourceName = "CC-CEDICT";

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool isLetterWord(std::string_view word) {
    if (word.empty()) return false;
    return std::all_of(word.begin(), word.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-';
    });
}

// "variant of X" with at most a short qualifier in front: "old ", "erhua ", "(old) contracted ".
bool isVariantPointer(std::string_view gloss) {
    const std::size_t at = gloss.find("variant of ");
    if (at == std::string_view::npos) return false;
    std::string_view prefix = gloss.substr(0, at);
    if (startsWith(prefix, "(")) {
        const std::size_t close = prefix.find(") ");
        if (close == std::string_view::npos) return false;
        const std::string_view inner = prefix.substr(1, close - 1);
        if (!std::all_of(inner.begin(), inner.end(),
                         [](char c) { return (c >= 'a' && c <= 'z') || c == ' ' || c == '.'; })) {
            return false;
        }
        prefix.remove_prefix(close + 2);
    }
    int words = 0;
    while (!prefix.empty()) {
        const std::size_t space = prefix.find(' ');
        if (space == std::string_view::npos || !isLetterWord(prefix.substr(0, space))) {
            return false;
        }
        prefix.remove_prefix(space + 1);
        ++words;
    }
    return words <= 3;
}

struct RecordFacts {
    bool hasMeaning = false;
    bool hasPointer = false;  // partly a variant record ("grain / variant of 年")
    int meaningCount = 0;     // real glosses, counting "a; b; c" as three
    int references = 0;       // other glosses that point at this headword and reading
    bool lowerCase = false;
    bool namesPersonOrBody = false;  // capitalised, and the segmenter tags it a person or body
    bool everyday() const { return hasMeaning && !namesPersonOrBody; }
};

std::string referenceKey(std::string_view traditional, std::string_view simplified,
                         std::string_view pinyin) {
    std::string key(traditional);
    key.push_back('\x1F');
    key.append(simplified);
    key.push_back('\x1F');
    for (char c : pinyin) {
        if (c != ' ') key.push_back((c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c);
    }
    return key;
}

// Counts the cross-references "繁|简[pin1 yin1]" and "字[pin1 yin1]" (both forms alike) in a
// gloss, by both written forms and reading, so that a rare traditional variant sharing the
// simplified form gains nothing from references to the common one. Classifier
// notes ("CL:個|个[ge4]") are left out: they would make every measure word look everyday.
void countReferences(std::string_view gloss, std::unordered_map<std::string, int>& counts) {
    if (startsWith(gloss, "CL:")) return;
    std::size_t open = gloss.find('[');
    while (open != std::string_view::npos) {
        const std::size_t close = gloss.find(']', open);
        if (close == std::string_view::npos) return;
        std::size_t start = open;
        while (start > 0 &&
               std::string_view(" ,;()\"").find(gloss[start - 1]) == std::string_view::npos) {
            --start;
        }
        const std::string_view word = gloss.substr(start, open - start);
        const std::size_t bar = word.find('|');
        const std::string_view traditional = word.substr(0, bar);
        const std::string_view simplified =
            bar == std::string_view::npos ? word : word.substr(bar + 1);
        if (!traditional.empty() && !simplified.empty()) {
            ++counts[referenceKey(traditional, simplified,
                                  gloss.substr(open + 1, close - open - 1))];
        }
        open = gloss.find('[', close);
    }
}

// The segmenter's tags for names of people (nr, nrfg, nrt) and organisations (nt). Place names
// (ns) and other proper nouns (nz: 汉语, 英语) are everyday words for a learner.
bool isPersonOrBodyTag(std::string_view tag) {
    return tag == "nr" || tag == "nrfg" || tag == "nrt" || tag == "nt";
}

// Competition ranks of a list's words: 1 + how many words are counted higher.
std::unordered_map<std::string_view, double> countRanks(const WordFrequencies& list) {
    std::vector<std::int64_t> counts;
    counts.reserve(list.words.size());
    for (const auto& [word, frequency] : list.words) counts.push_back(frequency.count);
    std::sort(counts.begin(), counts.end(), std::greater<>());
    std::unordered_map<std::string_view, double> ranks;
    ranks.reserve(list.words.size());
    for (const auto& [word, frequency] : list.words) {
        const auto higher =
            std::lower_bound(counts.begin(), counts.end(), frequency.count, std::greater<>()) -
            counts.begin();
        ranks.emplace(word, static_cast<double>(higher + 1));
    }
    return ranks;
}

int semicolonParts(std::string_view gloss) {
    return 1 + static_cast<int>(std::count(gloss.begin(), gloss.end(), ';'));
}

}  // namespace

GlossKind classifyChineseGloss(std::string_view gloss) {
    static constexpr std::string_view kPointers[] = {"see ",          "used in ",   "same as ",
                                                     "also written ", "abbr. for ", "also called "};
    static constexpr std::string_view kNotes[] = {"CL:", "Taiwan pr.", "also pr.", "pr. "};
    for (std::string_view prefix : kPointers) {
        if (startsWith(gloss, prefix)) return GlossKind::pointer;
    }
    for (std::string_view prefix : kNotes) {
        if (startsWith(gloss, prefix)) return GlossKind::note;
    }
    if (startsWith(gloss, "surname ")) return GlossKind::surname;
    if (isVariantPointer(gloss)) return GlossKind::pointer;
    return GlossKind::meaning;
}

std::string glossWithToneMarks(std::string_view gloss) {
    std::string out;
    std::size_t at = 0;
    for (std::size_t open = gloss.find('['); open != std::string_view::npos;
         open = gloss.find('[', open + 1)) {
        const std::size_t close = gloss.find(']', open);
        if (close == std::string_view::npos) break;
        const std::string_view inside = gloss.substr(open + 1, close - open - 1);
        const bool numbered =
            !inside.empty() && std::isalpha(static_cast<unsigned char>(inside.front())) &&
            std::any_of(inside.begin(), inside.end(),
                        [](char c) { return c >= '1' && c <= '5'; }) &&
            std::all_of(inside.begin(), inside.end(), [](char c) {
                return std::isalpha(static_cast<unsigned char>(c)) || (c >= '1' && c <= '5') ||
                       c == ' ' || c == ':' || c == ',' || c == '-';
            });
        if (!numbered) continue;
        // Syllables written together ("zhi1dao5") are parted after each tone number.
        std::string spaced;
        for (std::size_t i = 0; i < inside.size(); ++i) {
            spaced.push_back(inside[i]);
            if (inside[i] >= '1' && inside[i] <= '5' && i + 1 < inside.size() &&
                std::isalpha(static_cast<unsigned char>(inside[i + 1]))) {
                spaced.push_back(' ');
            }
        }
        out.append(gloss.substr(at, open + 1 - at));
        out.append(pinyinWithToneMarks(spaced));
        at = close;
    }
    out.append(gloss.substr(at));
    return out;
}

bool isChineseProperNoun(std::string_view numberedPinyin) {
    const std::string_view first = numberedPinyin.substr(0, numberedPinyin.find(' '));
    if (first.size() < 2) return false;
    const char last = first.back();
    return first.front() >= 'A' && first.front() <= 'Z' && last >= '1' && last <= '5';
}

RankedEntries buildChineseEntries(const CedictText& dictionary, const WordFrequencies& frequencies,
                                  const WordFrequencies& general) {
    const auto& records = dictionary.records;
    RankedEntries result;
    result.entries.resize(records.size());
    result.courseEligible.assign(records.size(), false);
    std::vector<RecordFacts> facts(records.size());
    std::unordered_map<std::string, std::size_t> seen;
    seen.reserve(records.size());

    for (std::size_t i = 0; i < records.size(); ++i) {
        const CedictRecord& record = records[i];
        CompiledEntry& entry = result.entries[i];
        std::string key = record.simplified + '\x1F' + record.traditional + '\x1F' + record.pinyin;
        const std::size_t tieBreak = seen[key]++;
        entry.id =
            stableEntryId("zh", record.simplified, record.traditional, record.pinyin, tieBreak);
        entry.language = "zh";
        entry.term = record.simplified;
        if (record.traditional != record.simplified) entry.alternate = record.traditional;
        entry.reading = pinyinWithToneMarks(record.pinyin);
        entry.romanization = pinyinRomanization(record.pinyin);
        entry.meanings.reserve(record.glosses.size());
        for (const std::string& gloss : record.glosses) {
            entry.meanings.push_back(glossWithToneMarks(gloss));
        }
        entry.source = std::string(kSourceName);

        RecordFacts& fact = facts[i];
        for (const std::string& gloss : record.glosses) {
            const GlossKind kind = classifyChineseGloss(gloss);
            if (kind == GlossKind::meaning) fact.meaningCount += semicolonParts(gloss);
            if (kind == GlossKind::pointer) fact.hasPointer = true;
        }
        fact.hasMeaning = fact.meaningCount > 0;
        fact.lowerCase = !isChineseProperNoun(record.pinyin);
        if (!fact.lowerCase) {
            const auto counted = frequencies.words.find(record.simplified);
            fact.namesPersonOrBody =
                counted != frequencies.words.end() && isPersonOrBodyTag(counted->second.tag);
        }
        result.courseEligible[i] = fact.everyday();
    }

    std::unordered_map<std::string, int> references;
    for (const CedictRecord& record : records) {
        for (const std::string& gloss : record.glosses) countReferences(gloss, references);
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        auto found = references.find(
            referenceKey(records[i].traditional, records[i].simplified, records[i].pinyin));
        if (found != references.end()) facts[i].references = found->second;
    }

    // The record of each counted headword that carries its count.
    std::unordered_map<std::string_view, std::size_t> holder;
    holder.reserve(records.size());
    auto better = [&](std::size_t a, std::size_t b) {
        if (facts[a].everyday() != facts[b].everyday()) return facts[a].everyday();
        if (facts[a].lowerCase != facts[b].lowerCase) return facts[a].lowerCase;
        if (facts[a].hasMeaning != facts[b].hasMeaning) return facts[a].hasMeaning;
        if (facts[a].hasPointer != facts[b].hasPointer) return !facts[a].hasPointer;
        if (facts[a].meaningCount != facts[b].meaningCount) {
            return facts[a].meaningCount > facts[b].meaningCount;
        }
        if (facts[a].references != facts[b].references) {
            return facts[a].references > facts[b].references;
        }
        return a < b;
    };
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!frequencies.words.contains(records[i].simplified)) continue;
        auto [it, inserted] = holder.try_emplace(records[i].simplified, i);
        if (!inserted && better(i, it->second)) it->second = i;
    }

    auto countOf = [&](std::size_t i) -> std::int64_t {
        auto found = frequencies.words.find(records[i].simplified);
        return found == frequencies.words.end() ? -1 : found->second.count;
    };
    std::vector<bool> ranked(records.size(), false);
    for (const auto& [word, index] : holder) {
        ranked[index] = true;
        result.entries[index].partsOfSpeech =
            chinesePartOfSpeechLabels(frequencies.words.at(records[index].simplified).tag);
    }

    // Where each counted headword stands, lower first: see the header.
    const auto segmenterRanks = countRanks(frequencies);
    const auto generalRanks = countRanks(general);
    std::unordered_map<std::string_view, std::vector<std::string_view>> spellings;
    for (const CedictRecord& record : records) {
        spellings[record.simplified].push_back(record.traditional);
    }
    std::vector<double> place(records.size(), 0.0);
    for (const auto& [word, index] : holder) {
        std::optional<double> generalRank;
        auto consider = [&](std::string_view spelling) {
            const auto found = generalRanks.find(spelling);
            if (found != generalRanks.end() && (!generalRank || found->second < *generalRank)) {
                generalRank = found->second;
            }
        };
        consider(word);
        for (std::string_view traditional : spellings[word]) consider(traditional);
        const double segmenter = std::log(segmenterRanks.at(word));
        place[index] = generalRank ? (segmenter + 2.0 * std::log(*generalRank)) / 3.0 : segmenter;
    }

    result.order.resize(records.size());
    std::iota(result.order.begin(), result.order.end(), std::size_t{0});
    std::sort(result.order.begin(), result.order.end(), [&](std::size_t a, std::size_t b) {
        if (ranked[a] != ranked[b]) return bool(ranked[a]);
        if (ranked[a] && place[a] != place[b]) return place[a] < place[b];
        const std::int64_t countA = countOf(a), countB = countOf(b);
        if (countA != countB) return countA > countB;
        if (facts[a].everyday() != facts[b].everyday()) return facts[a].everyday();
        const CedictRecord& ra = records[a];
        const CedictRecord& rb = records[b];
        if (ra.simplified.size() != rb.simplified.size()) {
            return ra.simplified.size() < rb.simplified.size();
        }
        if (ra.simplified != rb.simplified) return ra.simplified < rb.simplified;
        if (ra.pinyin != rb.pinyin) return ra.pinyin < rb.pinyin;
        if (ra.traditional != rb.traditional) return ra.traditional < rb.traditional;
        return result.entries[a].id < result.entries[b].id;
    });
    result.rankedCount = holder.size();
    return result;
}

}  // namespace tessel::compiler
