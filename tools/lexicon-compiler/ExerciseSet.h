// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "CompiledEntry.h"
#include "Result.h"

namespace tessel::compiler {

// One contextual exercise as written in the starter set, keyed by the entry it practises.
struct Exercise {
    std::string id;        // "ex-zh-001": stable, and the smallest id is an entry's first
    std::string language;  // "zh" or "ja"
    std::string term;
    std::string reading;  // as the lexicon stores it: tone-marked pinyin, or kana
    std::string prompt;   // target-language sentence with "___" where the word goes
    std::string translation;
    std::string note;
    std::vector<std::string> acceptedAnswers;  // the form that fills the gap first
    std::string attribution;
    std::string vocabularyId;  // filled in by resolveExercises
    // Japanese only: the prompt as it is spoken, in kana with the same gap (the particles は
    // and へ written as they sound, わ and え), for a voice that cannot read kanji.
    std::string promptReading;

    bool operator==(const Exercise&) const = default;
};

inline constexpr std::string_view kGap = "___";
inline constexpr std::size_t kMinimumExercisesPerLanguage = 60;

// The exercises of the starter-set JSON: {"attribution": text, "exercises": [{"id",
// "language", "term", "reading", "prompt", "prompt_reading" (Japanese only), "translation",
// "note", "answers"}...]}. The top-level
// attribution applies to every exercise. Fails, naming the exercise, on a missing or empty
// field, a repeated id, an id not of the form "ex-<language>-<digits>", a prompt without
// exactly one gap, a Japanese prompt reading that is not kana with exactly one gap, or fewer than
// `kMinimumExercisesPerLanguage` exercises for a language.
Result<std::vector<Exercise>> parseExercises(std::string_view json);

// Attaches every exercise to its entry: the one entry of its language with its term and
// reading that is in the course in bands 1 to 4 (the first 6,000 words: a starter sentence
// practises an everyday word, and the course order is a blend of signals). Fails, naming the
// exercise, when no such entry exists (missing, reference-only or a later band) or when more than
// one does.
Result<void> resolveExercises(std::vector<Exercise>& exercises,
                              const std::vector<const RankedEntries*>& languages);

}  // namespace tessel::compiler
