// SPDX-License-Identifier: GPL-3.0-or-later
#include "Romaji.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <cctype>
#include <iterator>
#include <string>
#include <unordered_map>
#include <utility>

namespace tessel::compiler {

namespace {

// Hiragana from ぁ (U+3041) to ゖ (U+3096); "" marks the ones handled apart (っ, ん). A small
// kana outside a two-kana syllable (ねぇ, ゃ) is spelled like its full-size kana: the keyboard's
// "x" prefix is a way of typing it, not of writing it. The old ゐ and ゑ take the keyboard's
// "wyi" and "wye", as "wi" and "we" spell the loanword sounds ウィ and ウェ.
constexpr const char* kHiragana[] = {
    "a",  "a",  "i",   "i",  "u",   "u",   "e",  "e",   "o",  "o",  "ka", "ga", "ki", "gi", "ku",
    "gu", "ke", "ge",  "ko", "go",  "sa",  "za", "shi", "ji", "su", "zu", "se", "ze", "so", "zo",
    "ta", "da", "chi", "di", "",    "tsu", "du", "te",  "de", "to", "do", "na", "ni", "nu", "ne",
    "no", "ha", "ba",  "pa", "hi",  "bi",  "pi", "fu",  "bu", "pu", "he", "be", "pe", "ho", "bo",
    "po", "ma", "mi",  "mu", "me",  "mo",  "ya", "ya",  "yu", "yu", "yo", "yo", "ra", "ri", "ru",
    "re", "ro", "wa",  "wa", "wyi", "wye", "wo", "",    "vu", "ka", "ke"};

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

// The full-size kana a small one is pronounced as when it stands alone.
char32_t fullSizeKana(char32_t c) {
    switch (c) {
        case U'ぁ':
        case U'ぃ':
        case U'ぅ':
        case U'ぇ':
        case U'ぉ':
        case U'ゃ':
        case U'ゅ':
        case U'ょ':
        case U'ゎ':
            return c + 1;
        case U'ゕ':
            return U'か';
        case U'ゖ':
            return U'け';
        default:
            return c;
    }
}

char32_t vowelKana(char vowel) {
    switch (vowel) {
        case 'a':
            return U'あ';
        case 'i':
            return U'い';
        case 'u':
            return U'う';
        case 'e':
            return U'え';
        default:
            return U'お';
    }
}

void appendUtf8(std::string& out, char32_t c) {
    icu::UnicodeString(static_cast<UChar32>(c)).toUTF8String(out);
}

}  // namespace

RomajiSpelling spellKana(std::string_view reading) {
    const std::u32string text = normalizedCodePoints(reading);
    RomajiSpelling spelling;
    std::string& out = spelling.romaji;
    std::string& sounds = spelling.sounds;
    std::size_t i = 0;
    while (i < text.size()) {
        const char32_t c = text[i];
        if (c == kSmallTsu) {
            std::size_t next = i + 1;
            const std::string following = next < text.size() ? syllableAt(text, next) : "";
            if (following.rfind("ch", 0) == 0) {
                out.push_back('t');  // まっちゃ: "matcha", the one doubling that changes letter
            } else if (!following.empty() && isConsonant(following[0])) {
                out.push_back(following[0]);
            } else {
                out.push_back('\'');  // a final catch (あっ) or one before a vowel or n
            }
            appendUtf8(sounds, c);
            ++i;
        } else if (c == kSyllabicN) {
            std::size_t next = i + 1;
            const std::string following = next < text.size() ? syllableAt(text, next) : "";
            // The apostrophe keeps きんえん "kin'en" apart from きんねん "kinnen".
            out.append(startsWithVowelOrY(following) ? "n'" : "n");
            appendUtf8(sounds, c);
            ++i;
        } else if (c == kLongMark) {
            const auto vowel = out.find_last_of("aiueo");
            out.push_back(vowel == std::string::npos ? '-' : out[vowel]);
            appendUtf8(sounds, vowel == std::string::npos ? c : vowelKana(out[vowel]));
            ++i;
        } else if (c < 0x80 && std::isalnum(static_cast<int>(c))) {
            out.push_back(static_cast<char>(std::tolower(static_cast<int>(c))));
            sounds.push_back(out.back());
            ++i;
        } else {
            const std::size_t start = i;
            std::string syllable = syllableAt(text, i);
            if (!syllable.empty()) {
                out.append(syllable);
                if (i - start == 1) {
                    appendUtf8(sounds, fullSizeKana(text[start]));
                } else {
                    for (std::size_t k = start; k < i; ++k) appendUtf8(sounds, text[k]);
                }
                continue;
            }
            const int8_t category = u_charType(static_cast<UChar32>(c));
            const bool droppable =
                u_isspace(static_cast<UChar32>(c)) ||
                (category >= U_DASH_PUNCTUATION && category <= U_OTHER_PUNCTUATION) ||
                (category >= U_MATH_SYMBOL && category <= U_OTHER_SYMBOL) ||
                category == U_INITIAL_PUNCTUATION || category == U_FINAL_PUNCTUATION;
            if (!droppable) return {};
            ++i;
        }
    }
    return spelling;
}

std::string kanaToRomaji(std::string_view reading) {
    return spellKana(reading).romaji;
}

std::vector<RomajiCollision> romajiCollisions(const std::vector<std::string_view>& readings) {
    // romaji -> the first reading spelled so, and the sounds it stands for
    std::unordered_map<std::string, std::pair<std::string_view, std::string>> first;
    std::vector<RomajiCollision> collisions;
    std::unordered_map<std::string, bool> reported;
    for (const std::string_view reading : readings) {
        RomajiSpelling spelling = spellKana(reading);
        if (spelling.romaji.empty()) continue;
        auto [it, inserted] =
            first.try_emplace(spelling.romaji, reading, std::move(spelling.sounds));
        if (inserted || it->second.second == spelling.sounds) continue;
        if (reported.emplace(it->first, true).second) {
            collisions.push_back({it->first, std::string(it->second.first), std::string(reading)});
        }
    }
    return collisions;
}

}  // namespace tessel::compiler
