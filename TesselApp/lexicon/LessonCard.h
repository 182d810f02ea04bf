// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "LexiconRecords.h"

namespace tessel {

// The text and numbers one course card is made of: an entry's columns and those of its first
// exercise (prompt "___", accepted answers "[]" and the rest empty when it has none). The views
// only need to live until makeLesson returns.
struct LessonRow {
    std::string_view id;
    std::string_view term;
    std::string_view alternate;
    std::string_view reading;
    std::string_view romanization;
    std::string_view meaningsJson;
    int frequencyRank = 0;
    int level = 0;
    std::string_view partsOfSpeechJson;
    std::string_view prompt;
    std::string_view translation;
    std::string_view note;
    std::string_view acceptedAnswersJson;
    std::string_view exerciseAttribution;
    std::string_view exerciseId;
    std::string_view source;
};

// The study card of one row: accepted answers are the term (unless already listed), the
// exercise's answers, then the alternate form (when not empty and not listed); a row with an
// empty exercise id becomes a dictionary-backed card. Malformed JSON yields empty lists.
LexiconLesson makeLesson(const LessonRow& row, LearningLanguage language);

}  // namespace tessel
