// SPDX-License-Identifier: GPL-3.0-or-later
#include "AnswerNormalization.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <utility>

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include "JsonParsing.h"
#include "RomajiSpellings.h"
#include "Utf8.h"

namespace tessel {
namespace {

// Enough for every spelling of a long word with several long vowels and particles.
constexpr std::size_t kRomajiSpellingLimit = 256;

// The pinyin tables. Compile-time constants: built once, shared read-only by every thread.
constexpr std::array<char32_t, 6> kToneDigits = {U'0', U'1', U'2', U'3', U'4', U'5'};
constexpr std::array<char32_t, 5> kIgnoredPinyinSeparators = {U'-', U'\'', U'\u2019', U'\u02BC',
                                                              U'\u00B7'};
constexpr std::array<std::pair<char32_t, char32_t>, 25> kPinyinBase = {{
    {U'ā', U'a'}, {U'á', U'a'}, {U'ǎ', U'a'}, {U'à', U'a'},  //
    {U'ē', U'e'}, {U'é', U'e'}, {U'ě', U'e'}, {U'è', U'e'},  //
    {U'ī', U'i'}, {U'í', U'i'}, {U'ǐ', U'i'}, {U'ì', U'i'},  //
    {U'ō', U'o'}, {U'ó', U'o'}, {U'ǒ', U'o'}, {U'ò', U'o'},  //
    {U'ū', U'u'}, {U'ú', U'u'}, {U'ǔ', U'u'}, {U'ù', U'u'},  //
    {U'ǖ', U'v'}, {U'ǘ', U'v'}, {U'ǚ', U'v'}, {U'ǜ', U'v'}, {U'ü', U'v'},
}};

template <std::size_t N>
bool contains(const std::array<char32_t, N>& table, UChar32 c) {
    return std::find(table.begin(), table.end(), static_cast<char32_t>(c)) != table.end();
}

std::optional<char32_t> pinyinBase(UChar32 c) {
    for (const auto& [marked, base] : kPinyinBase) {
        if (marked == static_cast<char32_t>(c)) return base;
    }
    return std::nullopt;
}

bool isWhitespaceScalar(UChar32 c) {
    return u_charType(c) == U_SPACE_SEPARATOR || c == 0x2028 || c == 0x2029 ||
           (c >= 0x09 && c <= 0x0D) || c == 0x85;
}

// Every scalar counts, so A-Z, a-z and the Latin block from U+00C0 to U+02AF, taken whole.
// Width never matters, so the full-width letters count too: "ｎｉ３ｈａｏ３" is pinyin.
bool containsLatinLetter(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto [c, length] = utf8::decode(text, i);
        i += std::max<std::size_t>(length, 1);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0xC0 && c <= 0x2AF) ||
            (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A)) {
            return true;
        }
    }
    return false;
}

struct Normalizers {
    const icu::Normalizer2* nfkc = nullptr;
    const icu::Normalizer2* nfd = nullptr;
    const icu::Normalizer2* nfc = nullptr;
};

const Normalizers& normalizers() {
    static const Normalizers instances = [] {
        UErrorCode status = U_ZERO_ERROR;
        Normalizers n;
        n.nfkc = icu::Normalizer2::getNFKCInstance(status);
        n.nfd = icu::Normalizer2::getNFDInstance(status);
        n.nfc = icu::Normalizer2::getNFCInstance(status);
        // The normalisation data is built into the library; without it nothing here can work.
        if (U_FAILURE(status)) std::abort();
        return n;
    }();
    return instances;
}

icu::UnicodeString normalized(const icu::Normalizer2* normalizer, const icu::UnicodeString& text) {
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString result = normalizer->normalize(text, status);
    return U_SUCCESS(status) ? result : text;
}

// NFKC, then locale-independent lower-casing: the first steps of both rules.
icu::UnicodeString foldedCaseAndForm(std::string_view input) {
    assert(input.size() < std::size_t{1} << 31);
    auto text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(input.data(), static_cast<int32_t>(input.size())));
    text = normalized(normalizers().nfkc, text);
    text.toLower(icu::Locale::getRoot());
    return text;
}

// Calls `visit` with each user-perceived character (grapheme cluster) of `text`, in order.
template <class Visit>
void forEachCharacter(const icu::UnicodeString& text, Visit visit) {
    thread_local const std::unique_ptr<icu::BreakIterator> breaker = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> made(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    if (breaker == nullptr) {
        for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
            visit(text.tempSubStringBetween(i, text.moveIndex32(i, 1)));
        }
        return;
    }
    breaker->setText(text);
    int32_t start = breaker->first();
    for (int32_t end = breaker->next(); end != icu::BreakIterator::DONE;
         start = end, end = breaker->next()) {
        visit(text.tempSubStringBetween(start, end));
    }
}

bool isWhitespace(const icu::UnicodeString& character) {
    for (int32_t i = 0; i < character.length(); i = character.moveIndex32(i, 1)) {
        if (!isWhitespaceScalar(character.char32At(i))) return false;
    }
    return !character.isEmpty();
}

// The one scalar a character is canonically equivalent to, if any: how the character is
// compared with the single-scalar table entries.
std::optional<UChar32> singleScalar(const icu::UnicodeString& character) {
    if (character.countChar32() == 1) return character.char32At(0);
    const auto composed = normalized(normalizers().nfc, character);
    if (composed.countChar32() == 1) return composed.char32At(0);
    return std::nullopt;
}

// Width folding maps full- and half-width forms to the ordinary ones; diacritic folding drops
// the non-spacing marks of the canonical decomposition. Case is left alone.
icu::UnicodeString foldDiacriticsAndWidth(const icu::UnicodeString& character) {
    icu::UnicodeString text = character;
    for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
        if (const UChar32 c = text.char32At(i); c >= 0xFF00 && c <= 0xFFEF) {
            text = normalized(normalizers().nfkc, text);
            break;
        }
    }
    const auto decomposed = normalized(normalizers().nfd, text);
    icu::UnicodeString kept;
    for (int32_t i = 0; i < decomposed.length(); i = decomposed.moveIndex32(i, 1)) {
        const UChar32 c = decomposed.char32At(i);
        if (u_charType(c) != U_NON_SPACING_MARK) kept.append(c);
    }
    return normalized(normalizers().nfc, kept);
}

std::string textRule(std::string_view input) {
    const auto text = foldedCaseAndForm(input);
    icu::UnicodeString result;
    forEachCharacter(text, [&](const icu::UnicodeString& character) {
        if (!isWhitespace(character)) result.append(character);
    });
    std::string out;
    return result.toUTF8String(out);
}

std::string pinyinRule(std::string_view input) {
    auto text = foldedCaseAndForm(input);
    text.findAndReplace(icu::UnicodeString(u"u:"), icu::UnicodeString(u"v"));
    icu::UnicodeString result;
    forEachCharacter(text, [&](const icu::UnicodeString& character) {
        const auto scalar = singleScalar(character);
        if (scalar) {
            if (const auto base = pinyinBase(*scalar)) {
                result.append(static_cast<UChar32>(*base));
                return;
            }
            if (contains(kToneDigits, *scalar) || contains(kIgnoredPinyinSeparators, *scalar)) {
                return;
            }
        }
        if (isWhitespace(character)) return;
        result.append(foldDiacriticsAndWidth(character));
    });
    std::string out;
    return result.toUTF8String(out);
}

bool usesPinyinRule(std::string_view input, LearningLanguage language, AnswerContent content) {
    if (language == LearningLanguage::japanese) return false;
    switch (content) {
        case AnswerContent::pinyin:
            return true;
        case AnswerContent::text:
            return false;
        case AnswerContent::automatic:
            break;
    }
    return containsLatinLetter(input);
}

}  // namespace

std::string_view rawValue(AnswerContent content) {
    switch (content) {
        case AnswerContent::pinyin:
            return "pinyin";
        case AnswerContent::text:
            return "text";
        case AnswerContent::automatic:
            break;
    }
    return "automatic";
}

std::optional<AnswerContent> answerContentFromRawValue(std::string_view raw) {
    if (raw == "automatic") return AnswerContent::automatic;
    if (raw == "pinyin") return AnswerContent::pinyin;
    if (raw == "text") return AnswerContent::text;
    return std::nullopt;
}

namespace AnswerNormalizer {

std::string normalize(std::string_view input, LearningLanguage language, AnswerContent content) {
    return usesPinyinRule(input, language, content) ? pinyinRule(input) : textRule(input);
}

std::string normalizePinyin(std::string_view input) {
    return pinyinRule(input);
}

}  // namespace AnswerNormalizer

AnswerEvaluation AnswerValidator::evaluate(std::string_view input,
                                           const std::vector<std::string>& acceptedAnswers,
                                           LearningLanguage language, AnswerContent content) const {
    AnswerEvaluation evaluation;
    evaluation.input = std::string(input);
    evaluation.normalizedInput = AnswerNormalizer::normalize(input, language, content);
    std::vector<std::string> normalizedCandidates;
    normalizedCandidates.reserve(acceptedAnswers.size());
    for (const auto& candidate : acceptedAnswers) {
        // With automatic content each candidate picks its own rule.
        normalizedCandidates.push_back(AnswerNormalizer::normalize(candidate, language, content));
        if (canonicallyEquivalent(normalizedCandidates.back(), evaluation.normalizedInput)) {
            evaluation.isCorrect = !evaluation.normalizedInput.empty();
            evaluation.matchedAnswer = candidate;
            return evaluation;
        }
    }
    // Japanese typed in romaji: Hepburn and keyboard spellings of the card's romanization count
    // too. Only where the card's own script is expected: a meaning is English, not romaji.
    if (language != LearningLanguage::japanese || content != AnswerContent::automatic ||
        !containsLatinLetter(input)) {
        return evaluation;
    }
    const auto spellings = lexiconRomajiSpellings(input, kRomajiSpellingLimit);
    for (std::size_t i = 0; i < acceptedAnswers.size(); ++i) {
        if (std::find(spellings.begin(), spellings.end(), normalizedCandidates[i]) !=
            spellings.end()) {
            evaluation.isCorrect = true;
            evaluation.matchedAnswer = acceptedAnswers[i];
            break;
        }
    }
    return evaluation;
}

AnswerEvaluation AnswerValidator::evaluate(std::string_view input, const VocabularyItem& item,
                                           ExerciseDirection direction) const {
    if (direction == ExerciseDirection::meaning) {
        return evaluate(input, item.meaningAnswerCandidates(), item.language, AnswerContent::text);
    }
    return evaluate(input, item.targetAnswerCandidates(), item.language, AnswerContent::automatic);
}

std::string AnswerEvaluation::encode() const {
    nlohmann::json object = nlohmann::json::object();
    object["input"] = input;
    object["normalizedInput"] = normalizedInput;
    object["isCorrect"] = isCorrect;
    if (matchedAnswer) object["matchedAnswer"] = *matchedAnswer;
    return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

Result<AnswerEvaluation> AnswerEvaluation::decode(std::string_view json) {
    constexpr std::string_view kName = "The answer evaluation";
    auto document = parseJsonDocument(json, kName);
    if (!document) return tl::unexpected(document.error());
    const auto failed = [&](const Error& error) {
        return fail(std::string(kName) + " could not be read: " + error.description + ".");
    };
    if (!document->is_object()) return failed(Error{"the top level is not an object"});
    AnswerEvaluation evaluation;
    auto input = readString(*document, "input", "input");
    if (!input) return failed(input.error());
    auto normalizedInput = readString(*document, "normalizedInput", "normalizedInput");
    if (!normalizedInput) return failed(normalizedInput.error());
    auto isCorrect = readBool(*document, "isCorrect", "isCorrect");
    if (!isCorrect) return failed(isCorrect.error());
    auto matchedAnswer = readOptionalString(*document, "matchedAnswer", "matchedAnswer");
    if (!matchedAnswer) return failed(matchedAnswer.error());
    evaluation.input = std::move(*input);
    evaluation.normalizedInput = std::move(*normalizedInput);
    evaluation.isCorrect = *isCorrect;
    evaluation.matchedAnswer = std::move(*matchedAnswer);
    return evaluation;
}

}  // namespace tessel
