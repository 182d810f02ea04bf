// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessel::compiler {

// The frequency markers a form carries: the newspaper frequency bucket nf01..nf48 (500 words
// each, 0 when absent) and the first and second lists of the news, ichi, special-common and gai
// markers (news1, ichi1, spec1, gai1 and their "2" forms).
struct Priority {
    int nf = 0;
    std::uint8_t firstLists = 0;   // bits for news1, ichi1, spec1, gai1
    std::uint8_t secondLists = 0;  // bits for news2, ichi2, spec2, gai2

    bool any() const { return nf > 0 || firstLists != 0 || secondLists != 0; }
    bool operator==(const Priority&) const = default;
};

// One written form or reading of an entry and its markers.
struct PriorityForm {
    std::string text;
    Priority priority;
    bool operator==(const PriorityForm&) const = default;
};

// Reads the headword lines of the priority dictionary: "[ichi1]  [news1]  [nf10]  明白 /ipa/,
// [ichi1]  [news1]  [nf10] めいはく /ipa/". Lines that are not headword lines give nothing.
bool parsePriorityHeadword(std::string_view line, std::vector<PriorityForm>& forms);

// Every entry's forms, looked up by written form and reading.
class PriorityIndex {
  public:
    // Indexes the decompressed dictionary text.
    static PriorityIndex fromDictionary(std::string_view text);

    void addEntry(const std::vector<PriorityForm>& forms);

    // The entry a written form and reading belong to and the markers they share in it, best
    // entry first: a marker counts only when both carry it (a rare reading of a common word
    // gets none). With an empty reading the term is itself kana and is looked up among entries
    // without kanji forms. Nothing found gives an empty Priority and no entry.
    // `form` is the written form's place among the entry's forms: JMdict lists the usual
    // spelling first.
    struct Match {
        Priority priority;
        std::optional<std::uint32_t> entry;
        std::uint32_t form = 0;
    };
    Match match(std::string_view term, std::string_view reading) const;

    // The markers of `match`.
    Priority lookup(std::string_view term, std::string_view reading) const {
        return match(term, reading).priority;
    }

    std::size_t entryCount() const { return m_entryCount; }

  private:
    struct Posting {
        std::uint32_t entry;
        std::uint32_t form;
        Priority priority;
        bool entryHasKanji;
    };
    std::unordered_map<std::string, std::vector<Posting>> m_postings;
    std::size_t m_entryCount = 0;
};

// Orders priorities best first: nf bucket, then first lists, then second lists.
bool betterPriority(const Priority& a, const Priority& b);

// True when every character of `text` is kana (or the long mark, middle dot, iteration marks).
bool isKanaOnly(std::string_view text);

}  // namespace tessel::compiler
