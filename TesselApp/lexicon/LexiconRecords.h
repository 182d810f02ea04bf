// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Vocabulary.h"

namespace tessel {

// One dictionary search hit, as stored in the lexicon.
struct LexiconEntry {
    std::string id;
    LearningLanguage language = LearningLanguage::chinese;  // the language searched
    std::string term;
    std::string alternate;
    std::string reading;
    std::string romanization;
    std::vector<std::string> meanings;
    std::int64_t frequencyRank = 0;
    std::int64_t level = 0;
    bool isInCurriculum = false;
    std::string source;
    std::vector<std::string> partsOfSpeech;

    bool operator==(const LexiconEntry&) const = default;
};

// One record of the open data the lexicon was built from.
struct LexiconSource {
    std::string id;
    std::string name;
    std::string url;
    std::string license;
    std::string licenseURL;
    std::string attribution;
    std::string checksum;

    bool operator==(const LexiconSource&) const = default;
};

// What the lexicon knows about one Han character of a language (the character panel).
struct LexiconCharacter {
    std::string character;
    LearningLanguage language = LearningLanguage::chinese;
    std::int64_t strokeCount = 0;          // 0: unknown
    std::vector<std::string> readings;     // Chinese: pinyin with tone marks; Japanese: on (kana)
    std::vector<std::string> kunReadings;  // Japanese kun readings (kana); empty for Chinese
    std::vector<std::string> meanings;
    std::int64_t grade = 0;      // kanji school grade, 0 for none
    std::int64_t jlpt = 0;       // kanji former test level (4 easiest to 1), 0 for none
    std::int64_t frequency = 0;  // kanji newspaper rank, 0 for none
    std::string strokes;         // encodeStrokeDrawing bytes; empty without stroke data

    bool operator==(const LexiconCharacter&) const = default;
};

// The sizes of one language's part of the lexicon.
struct LexiconCounts {
    std::int64_t referenceEntries = 0;
    std::int64_t curriculumEntries = 0;
    std::int64_t contextualExercises = 0;

    bool operator==(const LexiconCounts&) const = default;
};

// One study card with the note and attribution shown beside it.
struct LexiconLesson {
    VocabularyItem item;
    std::string note;
    std::string attribution;
    bool isContextual = false;
    // The example sentence as a Japanese voice should read it: kana with the blank "___";
    // empty for Chinese, for cards without a sentence and where the lexicon records none.
    std::string exampleReading;

    bool operator==(const LexiconLesson&) const = default;
};

}  // namespace tessel
