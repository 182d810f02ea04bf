// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "CedictParser.h"
#include "CompiledEntry.h"
#include "JiebaFrequencies.h"

namespace tessel::compiler {

enum class GlossKind {
    meaning,  // a real English gloss
    pointer,  // "variant of X", "see X", "used in X", "abbr. for X", ...
    surname,  // "surname Wang"
    note,     // "CL:个[ge4]", "Taiwan pr. [...]", "also pr. [...]"
};

// What a single dictionary gloss is, judged from its wording.
GlossKind classifyChineseGloss(std::string_view gloss);

// A gloss as a learner reads it: the dictionary's bracketed numbered pinyin ("also pr.
// [zhi1dao5]", "CL:個|个[ge4]") shown with tone marks ("[zhī dao]", "[gè]"); brackets holding
// anything else ("[ông-lâi]") stay as they are.
std::string glossWithToneMarks(std::string_view gloss);

// A proper noun: the dictionary capitalises the first pinyin syllable of names ("Zhong1 guo2"),
// while letter tokens without a tone number ("A A zhi4", "K ge1") are not names.
bool isChineseProperNoun(std::string_view numberedPinyin);

// The "zh" rows: one per dictionary record, with ids, readings, romanizations and glosses,
// ranked by the segmenter's word counts, tempered by `general` word weights where given: a
// counted headword's place is the mean of the logarithms of its rank in each list, the general
// list weighing twice (its corpus is everyday writing, jieba's leans to newspapers); a headword
// the general list lacks, under any of its traditional spellings, keeps its jieba rank alone. A
// record is everyday, and may join the course, when it has a real gloss and is not a proper noun
// (capitalised pinyin) that the segmenter tags as a person's or an organisation's name (nr, nrfg,
// nrt, nt): 中国, 英语 and 春节 are everyday. Each counted headword gives its rank to one record,
// the everyday one, then lower-case pinyin, then one with a real gloss, then not partly a variant
// record, then the most real glosses (parts of "a; b" counted apart), then the most
// cross-references from other glosses to its written forms and reading, then file order; the other
// records of that headword and all uncounted ones come after every ranked record, ordered by their
// headword's count, everyday records first, then by text. Parts of speech come from the segmenter's
// tag and only go to the record that took the count.
RankedEntries buildChineseEntries(const CedictText& dictionary, const WordFrequencies& frequencies,
                                  const WordFrequencies& general = WordFrequencies{});

}  // namespace tessel::compiler
