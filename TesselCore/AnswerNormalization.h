// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Vocabulary.h"

namespace tessel {

// How a string is to be read when it is normalised.
enum class AnswerContent { automatic, pinyin, text };

// "automatic" / "pinyin" / "text".
std::string_view rawValue(AnswerContent content);
// The case for an exact raw value, nothing for anything else.
std::optional<AnswerContent> answerContentFromRawValue(std::string_view raw);

// The verdict on one typed input.
struct AnswerEvaluation {
    std::string input;
    std::string normalizedInput;
    bool isCorrect = false;
    std::optional<std::string> matchedAnswer;

    // Sorted-key JSON object with one key per field; "matchedAnswer" only when present.
    std::string encode() const;
    // "input", "normalizedInput" (strings) and "isCorrect" (boolean) are required;
    // "matchedAnswer" is optional and null counts as absent. Error: malformed JSON, a missing
    // required key or a wrong type. Never throws.
    static Result<AnswerEvaluation> decode(std::string_view json);

    bool operator==(const AnswerEvaluation&) const = default;
};

// Turns answers into their comparable form: case, width, compatibility forms and spaces never
// matter; for Mandarin in Latin letters neither do tone marks, tone digits, separators or the
// spelling of ü. Thread-safe.
// Input is UTF-8; ill-formed sequences are read as U+FFFD. REQUIRES: inputs shorter than 2 GiB.
namespace AnswerNormalizer {
// The comparable form: Japanese always by the text rule; Chinese by the pinyin rule for `pinyin`,
// by the text rule for `text`, and for `automatic` by the pinyin rule exactly when the input
// holds a Latin letter (A-Z, a-z or U+00C0..U+02AF, in any width). Empty when the input is only
// whitespace.
std::string normalize(std::string_view input, LearningLanguage language, AnswerContent content);
// The pinyin rule, whatever the language: tone marks, tone digits 0-5, the separators
// U+002D, U+0027, U+2019, U+02BC, U+00B7 and whitespace go, "u:" and the u-umlaut family become
// "v", other diacritics are folded away; digits 6-9, hanzi and other punctuation stay.
std::string normalizePinyin(std::string_view input);
}  // namespace AnswerNormalizer

struct AnswerValidator {
    // The first accepted answer whose normalised form equals the input's (canonically) wins and
    // is reported as given; none matching gives no matchedAnswer. An empty normalised input is
    // never correct, though a candidate that also normalises to nothing is still reported.
    // Japanese with automatic content also accepts romaji that lexiconRomajiSpellings reads as
    // a candidate (Hepburn "tōkyō" for the candidate "toukyou"), when no candidate matches as
    // typed; the first such candidate is reported.
    AnswerEvaluation evaluate(std::string_view input,
                              const std::vector<std::string>& acceptedAnswers,
                              LearningLanguage language, AnswerContent content) const;
    // Candidates, language and content taken from the item and the direction.
    AnswerEvaluation evaluate(std::string_view input, const VocabularyItem& item,
                              ExerciseDirection direction) const;

    bool operator==(const AnswerValidator&) const = default;
};

}  // namespace tessel
