// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExerciseSet.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

#include "Utf8.h"

namespace tessel::compiler {

namespace {

using nlohmann::json;

constexpr int kHighestExerciseBand = 4;

Result<std::string> requiredText(const json& object, const char* key, const std::string& where) {
    auto found = object.find(key);
    if (found == object.end() || !found->is_string() || found->get<std::string>().empty()) {
        return fail(where + ": \"" + key + "\" must be a non-empty string");
    }
    return found->get<std::string>();
}

bool validId(const std::string& id, const std::string& language) {
    const std::string prefix = "ex-" + language + "-";
    if (id.size() <= prefix.size() || id.compare(0, prefix.size(), prefix) != 0) return false;
    return std::all_of(id.begin() + static_cast<std::ptrdiff_t>(prefix.size()), id.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

std::size_t countOccurrences(std::string_view text, std::string_view part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos;
         at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

// Kana, the long mark, and the punctuation a spoken sentence may carry: what a voice that
// cannot read kanji reads correctly.
bool isSpokenKana(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            if (std::string_view(" ,.!?").find(text[i]) == std::string_view::npos) return false;
            ++i;
            continue;
        }
        const auto [c, length] = utf8::decode(text, i);
        const bool kana = c >= 0x3041 && c <= 0x30FF;  // hiragana, katakana, ー and ・
        const bool punctuation = (c >= 0x3000 && c <= 0x3003) || c == 0x300C || c == 0x300D ||
                                 c == 0xFF01 || c == 0xFF1F || c == 0xFF0C;
        if (length == 0 || (!kana && !punctuation)) return false;
        i += length;
    }
    return true;
}

Result<Exercise> parseOne(const json& item, std::size_t position, const std::string& attribution) {
    std::string where = "exercise #" + std::to_string(position + 1);
    if (!item.is_object()) return fail(where + " is not an object");
    Exercise exercise;
    exercise.attribution = attribution;
    struct Field {
        const char* key;
        std::string* target;
    };
    const Field fields[] = {{"id", &exercise.id},         {"language", &exercise.language},
                            {"term", &exercise.term},     {"reading", &exercise.reading},
                            {"prompt", &exercise.prompt}, {"translation", &exercise.translation},
                            {"note", &exercise.note}};
    for (const Field& field : fields) {
        auto text = requiredText(item, field.key, where);
        if (!text) return tl::unexpected(text.error());
        *field.target = std::move(*text);
        if (field.target == &exercise.id) where = "exercise " + exercise.id;
    }
    if (exercise.language != "zh" && exercise.language != "ja") {
        return fail(where + ": language must be \"zh\" or \"ja\"");
    }
    if (!validId(exercise.id, exercise.language)) {
        return fail(where + ": the id must look like \"ex-" + exercise.language + "-001\"");
    }
    if (countOccurrences(exercise.prompt, kGap) != 1) {
        return fail(where + ": the prompt must hold exactly one gap \"___\"");
    }
    if (exercise.language == "ja") {
        auto reading = requiredText(item, "prompt_reading", where);
        if (!reading) return tl::unexpected(reading.error());
        exercise.promptReading = std::move(*reading);
        const std::string& spoken = exercise.promptReading;
        const std::size_t gap = spoken.find(kGap);
        if (countOccurrences(spoken, kGap) != 1 || !isSpokenKana(spoken.substr(0, gap)) ||
            !isSpokenKana(spoken.substr(gap + kGap.size()))) {
            return fail(where + ": the prompt reading must be kana with exactly one gap \"___\"");
        }
    } else if (item.contains("prompt_reading")) {
        return fail(where + ": only Japanese exercises carry a prompt reading");
    }
    auto answers = item.find("answers");
    if (answers == item.end() || !answers->is_array() || answers->empty()) {
        return fail(where + ": \"answers\" must be a non-empty list");
    }
    for (const json& answer : *answers) {
        if (!answer.is_string() || answer.get<std::string>().empty() ||
            answer.get<std::string>().find(kGap) != std::string::npos) {
            return fail(where + ": every answer must be a non-empty string without a gap");
        }
        exercise.acceptedAnswers.push_back(answer.get<std::string>());
    }
    return exercise;
}

}  // namespace

Result<std::vector<Exercise>> parseExercises(std::string_view text) {
    json document = json::parse(text, nullptr, false);
    if (document.is_discarded()) return fail("the exercise file is not valid JSON");
    if (!document.is_object()) return fail("the exercise file must hold a JSON object");
    auto attribution = requiredText(document, "attribution", "the exercise file");
    if (!attribution) return tl::unexpected(attribution.error());
    auto list = document.find("exercises");
    if (list == document.end() || !list->is_array()) {
        return fail("the exercise file needs an \"exercises\" list");
    }

    std::vector<Exercise> exercises;
    std::set<std::string> ids;
    std::map<std::string, std::size_t> perLanguage = {{"zh", 0}, {"ja", 0}};
    for (std::size_t i = 0; i < list->size(); ++i) {
        auto exercise = parseOne((*list)[i], i, *attribution);
        if (!exercise) return tl::unexpected(exercise.error());
        if (!ids.insert(exercise->id).second) return fail("exercise id repeated: " + exercise->id);
        ++perLanguage[exercise->language];
        exercises.push_back(std::move(*exercise));
    }
    for (const auto& [language, count] : perLanguage) {
        if (count < kMinimumExercisesPerLanguage) {
            return fail("the starter set has " + std::to_string(count) + " \"" + language +
                        "\" exercises; at least " + std::to_string(kMinimumExercisesPerLanguage) +
                        " are needed");
        }
    }
    return exercises;
}

Result<void> resolveExercises(std::vector<Exercise>& exercises,
                              const std::vector<const RankedEntries*>& languages) {
    struct Candidates {
        std::vector<const CompiledEntry*> all;
    };
    std::unordered_map<std::string, Candidates> byKey;
    auto keyOf = [](std::string_view language, std::string_view term, std::string_view reading) {
        std::string key;
        key.append(language).push_back('\x1F');
        key.append(term).push_back('\x1F');
        key.append(reading);
        return key;
    };
    std::set<std::string> wanted;
    for (const Exercise& exercise : exercises) {
        wanted.insert(keyOf(exercise.language, exercise.term, exercise.reading));
    }
    for (const RankedEntries* language : languages) {
        for (const CompiledEntry& entry : language->entries) {
            std::string key = keyOf(entry.language, entry.term, entry.reading);
            if (wanted.contains(key)) byKey[key].all.push_back(&entry);
        }
    }

    for (Exercise& exercise : exercises) {
        const std::string where =
            "exercise " + exercise.id + " (" + exercise.term + " " + exercise.reading + ")";
        auto found = byKey.find(keyOf(exercise.language, exercise.term, exercise.reading));
        if (found == byKey.end())
            return fail(where + ": no lexicon entry has this term and reading");
        std::vector<const CompiledEntry*> usable;
        for (const CompiledEntry* entry : found->second.all) {
            if (entry->learnable && entry->level <= kHighestExerciseBand) usable.push_back(entry);
        }
        if (usable.empty()) {
            const CompiledEntry* first = found->second.all.front();
            return fail(where + ": the entry is not in bands 1 to 4 of the course (learnable " +
                        std::to_string(first->learnable ? 1 : 0) + ", level " +
                        std::to_string(first->level) + ")");
        }
        if (usable.size() > 1) return fail(where + ": more than one course entry matches");
        exercise.vocabularyId = usable.front()->id;
    }
    return {};
}

}  // namespace tessel::compiler
