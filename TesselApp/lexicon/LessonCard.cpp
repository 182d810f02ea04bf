// SPDX-License-Identifier: GPL-3.0-or-later
#include "LessonCard.h"

#include <algorithm>

#include "JsonStringList.h"

namespace tessel {
namespace {

constexpr std::string_view kDictionaryNote =
    "Dictionary-backed recall card. A contextual example is awaiting native-speaker review.";
constexpr std::string_view kDictionaryAttribution = "Dictionary data: ";

}  // namespace

LexiconLesson makeLesson(const LessonRow& row, LearningLanguage language) {
    LexiconLesson lesson;
    VocabularyItem& item = lesson.item;
    item.id = row.id;
    item.language = language;
    item.term = row.term;
    item.reading = row.reading;
    if (!row.romanization.empty()) item.romanization = std::string(row.romanization);
    item.meanings = decodeJsonStringList(row.meaningsJson);
    item.frequencyRank = row.frequencyRank;
    item.level = row.level;
    item.tags = decodeJsonStringList(row.partsOfSpeechJson);
    item.exampleTarget = row.prompt;

    std::vector<std::string>& accepted = item.acceptedAnswers;
    accepted = decodeJsonStringList(row.acceptedAnswersJson);
    const auto listed = [&](std::string_view text) {
        return std::find(accepted.begin(), accepted.end(), text) != accepted.end();
    };
    const bool addAlternate = !row.alternate.empty() && !listed(row.alternate);
    const bool addTerm = !listed(row.term);
    // One allocation for the final list instead of a growth and a shift per card.
    accepted.reserve(accepted.size() + (addAlternate ? 1 : 0) + (addTerm ? 1 : 0));
    if (addAlternate) accepted.emplace_back(row.alternate);
    if (addTerm) accepted.emplace(accepted.begin(), row.term);

    lesson.isContextual = !row.exerciseId.empty();
    if (lesson.isContextual) {
        item.exampleEnglish = row.translation;
        lesson.note = row.note;
        lesson.attribution = row.exerciseAttribution;
    } else {
        if (!item.meanings.empty()) item.exampleEnglish = item.meanings.front();
        lesson.note = kDictionaryNote;
        lesson.attribution.reserve(kDictionaryAttribution.size() + row.source.size());
        lesson.attribution = kDictionaryAttribution;
        lesson.attribution += row.source;
    }
    return lesson;
}

}  // namespace tessel
