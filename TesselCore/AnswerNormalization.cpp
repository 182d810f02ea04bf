// SPDX-License-Identifier: GPL-3.0-or-later
#include "AnswerNormalization.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <utility>

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include "JsonParsing.h"
#include "RomajiSpellings.h"

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
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    for (int32_t i = 0; i < length;) {
        UChar32 c;
        U8_NEXT(bytes, i, length, c);
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

std::string referenceText(std::string_view input) {
    const auto text = foldedCaseAndForm(input);
    icu::UnicodeString result;
    forEachCharacter(text, [&](const icu::UnicodeString& character) {
        if (!isWhitespace(character)) result.append(character);
    });
    std::string out;
    return result.toUTF8String(out);
}

std::string referencePinyin(std::string_view input) {
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

// The shortcut: a per-scalar table for the Basic Multilingual Plane. Answers are typed one at a
// time, but a session and the tests normalise many, and the Unicode machinery above costs
// microseconds per string. For text in which no scalar can change its neighbours the rules work
// scalar by scalar, so they can be precomputed per scalar: a scalar qualifies when NFKC leaves it
// alone and cannot combine it with a neighbour (quick check "yes", combining class 0), its lower
// case is one scalar that does not depend on context, and it always stands as a character of its
// own. Text holding anything else takes the full path.

enum FastFlags : uint8_t { kUsable = 1, kTextDrops = 2, kPinyinDrops = 4 };

struct FastEntry {
    char16_t lower = 0;
    char16_t pinyin = 0;
    uint8_t flags = 0;
};

bool standsAlone(UChar32 c) {
    if (u_getIntPropertyValue(c, UCHAR_NFKC_QUICK_CHECK) != UNORM_YES) return false;
    if (u_getCombiningClass(c) != 0) return false;
    switch (u_getIntPropertyValue(c, UCHAR_GRAPHEME_CLUSTER_BREAK)) {
        case U_GCB_OTHER:
        case U_GCB_CONTROL:
        case U_GCB_CR:
        case U_GCB_LF:
        case U_GCB_LV:
        case U_GCB_LVT:
            return true;
        default:
            return false;
    }
}

std::optional<char16_t> onlyBmpScalar(const icu::UnicodeString& text) {
    if (text.length() != 1 || U16_IS_SURROGATE(text.charAt(0))) return std::nullopt;
    return text.charAt(0);
}

FastEntry fastEntry(UChar32 c) {
    // Capital sigma lower-cases differently at the end of a word.
    if (U_IS_SURROGATE(c) || c == 0x03A3 || !standsAlone(c)) return {};
    icu::UnicodeString lowered(c);
    lowered.toLower(icu::Locale::getRoot());
    const auto lower = onlyBmpScalar(lowered);
    if (!lower || !standsAlone(*lower)) return {};

    FastEntry entry;
    entry.lower = *lower;
    entry.flags = kUsable;
    if (isWhitespaceScalar(*lower)) entry.flags |= kTextDrops | kPinyinDrops;
    if (const auto base = pinyinBase(*lower)) {
        entry.pinyin = static_cast<char16_t>(*base);
    } else if (contains(kToneDigits, *lower) || contains(kIgnoredPinyinSeparators, *lower)) {
        entry.flags |= kPinyinDrops;
    } else if (!(entry.flags & kPinyinDrops)) {
        const auto folded = onlyBmpScalar(foldDiacriticsAndWidth(lowered));
        if (!folded) return {};
        entry.pinyin = *folded;
    }
    return entry;
}

// Filled one block of 256 scalars at a time on first use, so that the first answer does not pay
// for the whole plane: Latin text touches two or three blocks. A block is published with a
// release store and read after an acquire load; filling is serialised by a mutex.
class FastTable {
  public:
    const FastEntry& operator[](char16_t c) {
        const std::size_t block = c >> 8;
        if (!m_ready[block].load(std::memory_order_acquire)) fill(block);
        return m_entries[c];
    }

  private:
    std::array<std::atomic<bool>, 256> m_ready{};
    std::array<FastEntry, 0x10000> m_entries{};
    std::mutex m_fillLock;

    void fill(std::size_t block) {
        const std::lock_guard<std::mutex> lock(m_fillLock);
        if (m_ready[block].load(std::memory_order_relaxed)) return;
        for (std::size_t c = block << 8; c < ((block + 1) << 8); ++c) {
            m_entries[c] = fastEntry(static_cast<UChar32>(c));
        }
        m_ready[block].store(true, std::memory_order_release);
    }
};

FastTable& fastTable() {
    static FastTable table;
    return table;
}

// The next scalar if it is a well-formed one- to three-byte sequence (the BMP without
// surrogates); -1 otherwise.
inline int32_t nextBmpScalar(const uint8_t* bytes, std::size_t length, std::size_t& i) {
    const uint8_t lead = bytes[i];
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    const auto continuation = [&](std::size_t at, uint8_t low = 0x80, uint8_t high = 0xBF) {
        return at < length && bytes[at] >= low && bytes[at] <= high;
    };
    if (lead >= 0xC2 && lead <= 0xDF && continuation(i + 1)) {
        const int32_t c = ((lead & 0x1F) << 6) | (bytes[i + 1] & 0x3F);
        i += 2;
        return c;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        const uint8_t low = lead == 0xE0 ? 0xA0 : 0x80;
        const uint8_t high = lead == 0xED ? 0x9F : 0xBF;
        if (continuation(i + 1, low, high) && continuation(i + 2)) {
            const int32_t c =
                ((lead & 0x0F) << 12) | ((bytes[i + 1] & 0x3F) << 6) | (bytes[i + 2] & 0x3F);
            i += 3;
            return c;
        }
    }
    return -1;
}

inline void appendUtf8(std::string& out, char16_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Fills `out` and returns true when every scalar of `input` has a table entry.
bool normalizeFast(std::string_view input, bool pinyin, std::string& out) {
    auto& table = fastTable();
    const auto* bytes = reinterpret_cast<const uint8_t*>(input.data());
    out.clear();
    out.reserve(input.size());
    bool pendingU = false;  // a lower-case u that may start "u:"
    for (std::size_t i = 0; i < input.size();) {
        const int32_t c = nextBmpScalar(bytes, input.size(), i);
        if (c < 0) return false;
        const FastEntry& entry = table[static_cast<char16_t>(c)];
        if (!(entry.flags & kUsable)) return false;
        if (!pinyin) {
            if (!(entry.flags & kTextDrops)) appendUtf8(out, entry.lower);
            continue;
        }
        if (pendingU) {
            pendingU = false;
            if (entry.lower == u':') {
                out.push_back('v');
                continue;
            }
            out.push_back('u');
        }
        if (entry.lower == u'u') {
            pendingU = true;
        } else if (!(entry.flags & kPinyinDrops)) {
            appendUtf8(out, entry.pinyin);
        }
    }
    if (pendingU) out.push_back('u');
    return true;
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
    const bool pinyin = usesPinyinRule(input, language, content);
    std::string out;
    if (normalizeFast(input, pinyin, out)) return out;
    return pinyin ? referencePinyin(input) : referenceText(input);
}

std::string normalizePinyin(std::string_view input) {
    std::string out;
    if (normalizeFast(input, /*pinyin=*/true, out)) return out;
    return referencePinyin(input);
}

std::string normalizeReference(std::string_view input, LearningLanguage language,
                               AnswerContent content) {
    return usesPinyinRule(input, language, content) ? referencePinyin(input) : referenceText(input);
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
