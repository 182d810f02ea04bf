#include "Romaji.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <cctype>
#include <iterator>
#include <string>
#include <unordered_map>

namespace tessel::compiler {

namespace {

// Hiragana from ぁ (U+3041) to ゖ (U+3096); "" marks the ones handled apart (っ, ん).
constexpr const char* kHiragana[] = {
    "xa", "a",  "xi",  "i",  "xu", "u",   "xe",  "e",   "xo",  "o",   "ka",  "ga", "ki", "gi", "ku",
    "gu", "ke", "ge",  "ko", "go", "sa",  "za",  "shi", "ji",  "su",  "zu",  "se", "ze", "so", "zo",
    "ta", "da", "chi", "di", "",   "tsu", "du",  "te",  "de",  "to",  "do",  "na", "ni", "nu", "ne",
    "no", "ha", "ba",  "pa", "hi", "bi",  "pi",  "fu",  "bu",  "pu",  "he",  "be", "pe", "ho", "bo",
    "po", "ma", "mi",  "mu", "me", "mo",  "xya", "ya",  "xyu", "yu",  "xyo", "yo", "ra", "ri", "ru",
    "re", "ro", "xwa", "wa", "wi", "we",  "wo",  "",    "vu",  "xka", "xke"};

static_assert(std::size(kHiragana) == 0x3096 - 0x3041 + 1);

constexpr char32_t kSmallTsu = U'っ';
constexpr char32_t kSyllabicN = U'ん';
constexpr char32_t kLongMark = U'ー';

// Two-kana syllables whose spelling is not simply the two kana read apart.
const std::unordered_map<std::u32string, std::string>& digraphs() {
    static const std::unordered_map<std::u32string, std::string> table = [] {
        std::unordered_map<std::u32string, std::string> t;
        const std::pair<const char32_t*, const char*> rows[] = {
            {U"きゃ", "kya"}, {U"きゅ", "kyu"}, {U"きょ", "kyo"}, {U"ぎゃ", "gya"},
            {U"ぎゅ", "gyu"}, {U"ぎょ", "gyo"}, {U"しゃ", "sha"}, {U"しゅ", "shu"},
            {U"しょ", "sho"}, {U"しぇ", "she"}, {U"じゃ", "ja"},  {U"じゅ", "ju"},
            {U"じょ", "jo"},  {U"じぇ", "je"},  {U"ちゃ", "cha"}, {U"ちゅ", "chu"},
            {U"ちょ", "cho"}, {U"ちぇ", "che"}, {U"ぢゃ", "dya"}, {U"ぢゅ", "dyu"},
            {U"ぢょ", "dyo"}, {U"にゃ", "nya"}, {U"にゅ", "nyu"}, {U"にょ", "nyo"},
            {U"ひゃ", "hya"}, {U"ひゅ", "hyu"}, {U"ひょ", "hyo"}, {U"びゃ", "bya"},
            {U"びゅ", "byu"}, {U"びょ", "byo"}, {U"ぴゃ", "pya"}, {U"ぴゅ", "pyu"},
            {U"ぴょ", "pyo"}, {U"みゃ", "mya"}, {U"みゅ", "myu"}, {U"みょ", "myo"},
            {U"りゃ", "rya"}, {U"りゅ", "ryu"}, {U"りょ", "ryo"}, {U"ふぁ", "fa"},
            {U"ふぃ", "fi"},  {U"ふぇ", "fe"},  {U"ふぉ", "fo"},  {U"ふゅ", "fyu"},
            {U"ゔぁ", "va"},  {U"ゔぃ", "vi"},  {U"ゔぇ", "ve"},  {U"ゔぉ", "vo"},
            {U"てぃ", "thi"}, {U"でぃ", "dhi"}, {U"てゅ", "thu"}, {U"でゅ", "dhu"},
            {U"とぅ", "twu"}, {U"どぅ", "dwu"}, {U"うぃ", "wi"},  {U"うぇ", "we"},
            {U"うぉ", "who"}, {U"つぁ", "tsa"}, {U"つぃ", "tsi"}, {U"つぇ", "tse"},
            {U"つぉ", "tso"}, {U"いぇ", "ye"},  {U"くぁ", "kwa"}, {U"ぐぁ", "gwa"},
        };
        for (const auto& [kana, romaji] : rows) t.emplace(kana, romaji);
        return t;
    }();
    return table;
}

bool isHiragana(char32_t c) {
    return c >= 0x3041 && c <= 0x3096;
}

// Katakana (and the katakana-only ヷ..ヺ) read as hiragana; everything else unchanged.
char32_t foldKatakana(char32_t c) {
    if (c >= 0x30A1 && c <= 0x30F6) return c - 0x60;
    return c;
}

std::u32string normalizedCodePoints(std::string_view reading) {
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(reading.data(), static_cast<int32_t>(reading.size())));
    const icu::Normalizer2* nfkc = icu::Normalizer2::getNFKCInstance(status);
    if (U_SUCCESS(status)) text = nfkc->normalize(text, status);
    std::u32string out;
    for (int32_t i = 0; i < text.length();) {
        UChar32 c = text.char32At(i);
        out.push_back(foldKatakana(static_cast<char32_t>(c)));
        i += U16_LENGTH(c);
    }
    return out;
}

bool startsWithVowelOrY(const std::string& romaji) {
    if (romaji.empty()) return false;
    const char c = romaji[0];
    return c == 'a' || c == 'i' || c == 'u' || c == 'e' || c == 'o' || c == 'y';
}

bool isConsonant(char c) {
    return c >= 'a' && c <= 'z' && c != 'a' && c != 'i' && c != 'u' && c != 'e' && c != 'o' &&
           c != 'n';
}

// The spelling of the syllable starting at `i`, advancing `i` past it; "" when there is none.
std::string syllableAt(const std::u32string& text, std::size_t& i) {
    if (i + 1 < text.size()) {
        auto found = digraphs().find(text.substr(i, 2));
        if (found != digraphs().end()) {
            i += 2;
            return found->second;
        }
    }
    const char32_t c = text[i];
    if (isHiragana(c) && c != kSmallTsu && c != kSyllabicN) {
        ++i;
        return kHiragana[c - 0x3041];
    }
    switch (c) {
        case U'ヷ':
            ++i;
            return "va";
        case U'ヸ':
            ++i;
            return "vi";
        case U'ヹ':
            ++i;
            return "ve";
        case U'ヺ':
            ++i;
            return "vo";
        default:
            return "";
    }
}

}  // namespace

std::string kanaToRomaji(std::string_view reading) {
    const std::u32string text = normalizedCodePoints(reading);
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const char32_t c = text[i];
        if (c == kSmallTsu) {
            std::size_t next = i + 1;
            const std::string following = next < text.size() ? syllableAt(text, next) : "";
            if (!following.empty() && isConsonant(following[0])) {
                out.push_back(following[0]);
            } else {
                out.append("xtsu");
            }
            ++i;
        } else if (c == kSyllabicN) {
            std::size_t next = i + 1;
            const std::string following = next < text.size() ? syllableAt(text, next) : "";
            out.append(startsWithVowelOrY(following) ? "nn" : "n");
            ++i;
        } else if (c == kLongMark) {
            const auto vowel = out.find_last_of("aiueo");
            out.push_back(vowel == std::string::npos ? '-' : out[vowel]);
            ++i;
        } else if (c < 0x80 && std::isalnum(static_cast<int>(c))) {
            out.push_back(static_cast<char>(std::tolower(static_cast<int>(c))));
            ++i;
        } else {
            std::string syllable = syllableAt(text, i);
            if (!syllable.empty()) {
                out.append(syllable);
                continue;
            }
            const int8_t category = u_charType(static_cast<UChar32>(c));
            const bool droppable =
                u_isspace(static_cast<UChar32>(c)) ||
                (category >= U_DASH_PUNCTUATION && category <= U_OTHER_PUNCTUATION) ||
                (category >= U_MATH_SYMBOL && category <= U_OTHER_SYMBOL) ||
                category == U_INITIAL_PUNCTUATION || category == U_FINAL_PUNCTUATION;
            if (!droppable) return "";
            ++i;
        }
    }
    return out;
}

}  // namespace tessel::compiler
