// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Result.h"

namespace tessel {

enum class LearningLanguage { chinese, japanese };

inline constexpr std::array<LearningLanguage, 2> kAllLearningLanguages = {
    LearningLanguage::chinese, LearningLanguage::japanese};

// "chinese" / "japanese": the JSON form and the key of every per-language map.
std::string_view rawValue(LearningLanguage language);
// The case for an exact raw value ("chinese"), nothing for anything else ("Chinese").
std::optional<LearningLanguage> learningLanguageFromRawValue(std::string_view raw);
// "Chinese" / "Japanese", the English name shown to the learner.
std::string_view displayName(LearningLanguage language);

// True when the two UTF-8 texts are the same text to a reader: equal after canonical composition
// (a precomposed "é" equals "e" followed by a combining acute). Case and width still count.
// Ill-formed UTF-8 sequences compare as U+FFFD.
bool canonicallyEquivalent(std::string_view a, std::string_view b);

enum class ExerciseDirection { targetLanguage, meaning };

std::string_view rawValue(ExerciseDirection direction);
std::optional<ExerciseDirection> exerciseDirectionFromRawValue(std::string_view raw);

// One study card. `id` keys the card's scheduling record in the learner's progress.
struct VocabularyItem {
    std::string id;
    LearningLanguage language = LearningLanguage::chinese;
    std::string term;
    std::string reading;
    std::optional<std::string> romanization;
    std::vector<std::string> meanings;
    std::string exampleTarget;
    std::string exampleEnglish;
    std::int64_t level = 0;
    std::int64_t frequencyRank = 0;
    std::vector<std::string> acceptedAnswers;
    std::vector<std::string> tags;

    // term, reading, romanization, accepted answers: empty strings and repeats dropped (the first
    // of canonically equivalent strings stays, in its place; nothing is trimmed).
    std::vector<std::string> targetAnswerCandidates() const;
    // meanings with empty strings and repeats dropped (nothing trimmed).
    std::vector<std::string> meaningAnswerCandidates() const;

    bool operator==(const VocabularyItem&) const = default;
};

// A list of items with a format version, and its JSON form.
struct VocabularyCatalog {
    std::int64_t schemaVersion = 0;
    std::vector<VocabularyItem> items;

    // The items of one language, in catalogue order.
    std::vector<VocabularyItem> itemsFor(LearningLanguage language) const;
    // The first item with exactly this id, or nothing.
    std::optional<VocabularyItem> item(std::string_view id) const;

    // All or nothing: any missing key, wrong type or unknown language fails the whole decode.
    // Error: also malformed JSON, integers with a fraction or beyond 64 bits, and nesting deeper
    // than 512; the description names the offending key ("items[2].tags"). Never throws.
    static Result<VocabularyCatalog> decode(std::string_view json);
    // Sorted-key JSON text; "romanization" only when present.
    std::string encode() const;

    bool operator==(const VocabularyCatalog&) const = default;
};

}  // namespace tessel
