#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Vocabulary.h"

namespace tessel {

// How a string is to be read when it is normalised.
enum class AnswerContent { automatic, pinyin, text };

std::string_view rawValue(AnswerContent content);
std::optional<AnswerContent> answerContentFromRawValue(std::string_view raw);

// The verdict on one typed input.
struct AnswerEvaluation {
    std::string input;
    std::string normalizedInput;
    bool isCorrect = false;
    std::optional<std::string> matchedAnswer;

    bool operator==(const AnswerEvaluation&) const = default;
};

// Turns answers into their comparable form: case, width, compatibility forms and spaces never
// matter; for Mandarin in Latin letters neither do tone marks, tone digits, separators or the
// spelling of ü. Thread-safe; the character tables are built once.
namespace AnswerNormalizer {
std::string normalize(std::string_view input, LearningLanguage language, AnswerContent content);
// The pinyin rule, whatever the language.
std::string normalizePinyin(std::string_view input);
}  // namespace AnswerNormalizer

struct AnswerValidator {
    // The first accepted answer whose normalised form equals the input's wins; an empty
    // normalised input is never correct.
    AnswerEvaluation evaluate(std::string_view input, const std::vector<std::string>& acceptedAnswers,
                              LearningLanguage language, AnswerContent content) const;
    // Candidates, language and content taken from the item and the direction.
    AnswerEvaluation evaluate(std::string_view input, const VocabularyItem& item,
                              ExerciseDirection direction) const;

    bool operator==(const AnswerValidator&) const = default;
};

}  // namespace tessel
