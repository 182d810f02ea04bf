// SPDX-License-Identifier: GPL-3.0-or-later
#include "Vocabulary.h"

#include <algorithm>

#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

#include "JsonParsing.h"

namespace tessel {
namespace {

using Json = nlohmann::json;

constexpr std::string_view kCatalogueName = "The vocabulary catalogue";

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

const icu::Normalizer2* nfcNormalizer() {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    return U_SUCCESS(status) ? nfc : nullptr;
}

bool isComposed(const icu::Normalizer2& nfc, std::string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    const bool normalized = nfc.isNormalizedUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())), status);
    return U_SUCCESS(status) && normalized;
}

icu::UnicodeString composed(const icu::Normalizer2& nfc, std::string_view text) {
    const auto unicode = icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString result = nfc.normalize(unicode, status);
    return U_SUCCESS(status) ? result : unicode;
}

std::vector<std::string> uniqueNonempty(std::vector<std::string> strings) {
    std::vector<std::string> kept;
    kept.reserve(strings.size());
    for (auto& candidate : strings) {
        if (candidate.empty()) continue;
        const bool seen = std::any_of(kept.begin(), kept.end(), [&](const std::string& earlier) {
            return canonicallyEquivalent(earlier, candidate);
        });
        if (!seen) kept.push_back(std::move(candidate));
    }
    return kept;
}

// Reads one member into `field`; on failure leaves the reason in `error`. Chained with && so that
// the first failing key, in field order, is the one reported.
template <class T, class Reader>
bool readInto(T& field, Reader reader, const Json& object, const char* key, const std::string& path,
              Error& error) {
    auto value = reader(object, key, path + "." + key);
    if (!value) {
        error = value.error();
        return false;
    }
    field = std::move(*value);
    return true;
}

bool readLanguage(LearningLanguage& field, const Json& object, const std::string& path,
                  Error& error) {
    std::string raw;
    if (!readInto(raw, readString, object, "language", path, error)) return false;
    const auto language = learningLanguageFromRawValue(raw);
    if (!language) {
        error.description =
            "\"" + path + ".language\" is not a known language: \"" + sanitizedUtf8(raw) + "\"";
        return false;
    }
    field = *language;
    return true;
}

Result<VocabularyItem> decodeItem(const Json& object, const std::string& path) {
    if (!object.is_object()) return fail("\"" + path + "\" is not an object");
    VocabularyItem item;
    Error error;
    const bool complete =
        readInto(item.id, readString, object, "id", path, error) &&
        readLanguage(item.language, object, path, error) &&
        readInto(item.term, readString, object, "term", path, error) &&
        readInto(item.reading, readString, object, "reading", path, error) &&
        readInto(item.romanization, readOptionalString, object, "romanization", path, error) &&
        readInto(item.meanings, readStringArray, object, "meanings", path, error) &&
        readInto(item.exampleTarget, readString, object, "exampleTarget", path, error) &&
        readInto(item.exampleEnglish, readString, object, "exampleEnglish", path, error) &&
        readInto(item.level, readInt64, object, "level", path, error) &&
        readInto(item.frequencyRank, readInt64, object, "frequencyRank", path, error) &&
        readInto(item.acceptedAnswers, readStringArray, object, "acceptedAnswers", path, error) &&
        readInto(item.tags, readStringArray, object, "tags", path, error);
    if (!complete) return tl::unexpected(error);
    return item;
}

Result<VocabularyCatalog> decodeCatalog(const Json& document) {
    if (!document.is_object()) return fail("the top level is not an object");
    VocabularyCatalog catalog;
    auto version = readInt64(document, "schemaVersion", "schemaVersion");
    if (!version) return tl::unexpected(version.error());
    catalog.schemaVersion = *version;
    const auto items = document.find("items");
    if (items == document.end()) return fail("\"items\" is missing");
    if (!items->is_array()) return fail("\"items\" is not an array");
    catalog.items.reserve(items->size());
    for (std::size_t i = 0; i < items->size(); ++i) {
        auto item = decodeItem((*items)[i], "items[" + std::to_string(i) + "]");
        if (!item) return tl::unexpected(item.error());
        catalog.items.push_back(std::move(*item));
    }
    return catalog;
}

Json encodeItem(const VocabularyItem& item) {
    Json object = Json::object();
    object["id"] = item.id;
    object["language"] = std::string(rawValue(item.language));
    object["term"] = item.term;
    object["reading"] = item.reading;
    if (item.romanization) object["romanization"] = *item.romanization;
    object["meanings"] = item.meanings;
    object["exampleTarget"] = item.exampleTarget;
    object["exampleEnglish"] = item.exampleEnglish;
    object["level"] = item.level;
    object["frequencyRank"] = item.frequencyRank;
    object["acceptedAnswers"] = item.acceptedAnswers;
    object["tags"] = item.tags;
    return object;
}

}  // namespace

std::string_view rawValue(LearningLanguage language) {
    return language == LearningLanguage::japanese ? "japanese" : "chinese";
}

std::optional<LearningLanguage> learningLanguageFromRawValue(std::string_view raw) {
    if (raw == "chinese") return LearningLanguage::chinese;
    if (raw == "japanese") return LearningLanguage::japanese;
    return std::nullopt;
}

std::string_view displayName(LearningLanguage language) {
    return language == LearningLanguage::japanese ? "Japanese" : "Chinese";
}

std::string_view rawValue(ExerciseDirection direction) {
    return direction == ExerciseDirection::meaning ? "meaning" : "targetLanguage";
}

std::optional<ExerciseDirection> exerciseDirectionFromRawValue(std::string_view raw) {
    if (raw == "targetLanguage") return ExerciseDirection::targetLanguage;
    if (raw == "meaning") return ExerciseDirection::meaning;
    return std::nullopt;
}

bool canonicallyEquivalent(std::string_view a, std::string_view b) {
    if (a == b) return true;
    // ASCII has no composed forms, so differing ASCII texts can never be equivalent.
    if (isAscii(a) && isAscii(b)) return false;
    const icu::Normalizer2* nfc = nfcNormalizer();
    if (nfc == nullptr) return false;
    // Two different texts that are both already composed are different texts; this spares the
    // conversion for nearly every comparison of normalised answers.
    if (isComposed(*nfc, a) && isComposed(*nfc, b)) return false;
    return composed(*nfc, a) == composed(*nfc, b);
}

std::vector<std::string> VocabularyItem::targetAnswerCandidates() const {
    std::vector<std::string> candidates{term, reading};
    if (romanization) candidates.push_back(*romanization);
    candidates.insert(candidates.end(), acceptedAnswers.begin(), acceptedAnswers.end());
    return uniqueNonempty(std::move(candidates));
}

std::vector<std::string> VocabularyItem::meaningAnswerCandidates() const {
    return uniqueNonempty(meanings);
}

std::vector<VocabularyItem> VocabularyCatalog::itemsFor(LearningLanguage language) const {
    std::vector<VocabularyItem> matching;
    std::copy_if(items.begin(), items.end(), std::back_inserter(matching),
                 [language](const VocabularyItem& item) { return item.language == language; });
    return matching;
}

std::optional<VocabularyItem> VocabularyCatalog::item(std::string_view id) const {
    const auto found = std::find_if(items.begin(), items.end(),
                                    [id](const VocabularyItem& item) { return item.id == id; });
    if (found == items.end()) return std::nullopt;
    return *found;
}

Result<VocabularyCatalog> VocabularyCatalog::decode(std::string_view json) {
    auto document = parseJsonDocument(json, kCatalogueName);
    if (!document) return tl::unexpected(document.error());
    try {
        auto catalog = decodeCatalog(*document);
        if (!catalog) {
            return fail(std::string(kCatalogueName) +
                        " could not be read: " + catalog.error().description + ".");
        }
        return catalog;
    } catch (const std::exception& ex) {
        return fail(std::string(kCatalogueName) + " could not be read: " + ex.what());
    }
}

std::string VocabularyCatalog::encode() const {
    Json encodedItems = Json::array();
    for (const auto& entry : items) encodedItems.push_back(encodeItem(entry));
    Json document = Json::object();
    document["schemaVersion"] = schemaVersion;
    document["items"] = std::move(encodedItems);
    // Items built in code may carry ill-formed UTF-8; writing U+FFFD beats throwing.
    return document.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace tessel
