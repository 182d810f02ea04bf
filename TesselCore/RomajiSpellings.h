// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tessel {

// The lexicon's romaji spellings that a learner's romaji may stand for. The lexicon spells a
// reading kana by kana without macrons ("toukyou", "konnichiha", "kiwotsukete"), ん as "n'"
// before a vowel or y and "n" elsewhere, ぢ and づ as "di" and "du", っ before "ch" as "t".
// Learners also write Hepburn and keyboard romaji, and each of these is read as the lexicon's:
//   - a long vowel with a macron or circumflex, or an o or e written twice, as "ou"/"oo" and
//     "ei"/"ee" ("tōkyō", "tôkyô", "tookyoo" -> "toukyou"); "aa", "ii", "uu" for ā, ī, ū;
//     a dropped long vowel ("tokyo") is a different word and is never added;
//   - "ji" and "zu" also as "di" and "du" ("tetsuzuki" -> "tetsuduki");
//   - "tch" and "cch" as "tch" ("setchi");
//   - the keyboard's "nn" before a vowel or y also as "n'" ("sannin" -> "san'in"), and before
//     a consonant or at the end as "n"; a leading "n" before a vowel or y also as "n'", for
//     text that begins inside such an "nn";
//   - "wa", "e" and "o" after the start of a word also as the particles "ha", "he", "wo"
//     ("jitsuwa" -> "jitsuha");
//   - the keyboard's long mark "-" as the vowel before it, and its small-kana "x" spellings
//     ("xtsu" as "'", "xe" as "e").
// The typed text is first folded like a Japanese answer (compatibility forms, case, spaces).
// Returns at most `limit` distinct spellings, the likeliest first; empty when the text holds no
// ASCII letter. The first is not necessarily the typed text.
std::vector<std::string> lexiconRomajiSpellings(std::string_view typed, std::size_t limit);

}  // namespace tessel
