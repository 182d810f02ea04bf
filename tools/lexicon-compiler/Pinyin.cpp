// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pinyin.h"

#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

#include <vector>

namespace tessel::compiler {

namespace {

// Combining marks for tones 1 to 4.
constexpr const char* kToneMarks[] = {"\u0304", "\u0301", "\u030C", "\u0300"};

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool isVowel(char c) {
    c = lower(c);
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u' || c == 'v';
}

// One letter of a syllable: 'v' stands for ü so that the tone rule sees a single vowel.
struct Letter {
    char base;
    bool umlaut = false;      // u: -> ü
    bool circumflex = false;  // e^ -> ê
};

std::vector<std::string_view> splitTokens(std::string_view text) {
    std::vector<std::string_view> tokens;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string_view::npos) end = text.size();
        tokens.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return tokens;
}

// Letters of a syllable token "lu:4" / "e^2", or nothing when the token is not a syllable.
bool parseSyllable(std::string_view token, std::vector<Letter>& letters, int& tone) {
    letters.clear();
    tone = 0;
    std::size_t i = 0;
    while (i < token.size()) {
        char c = token[i];
        if (isAsciiLetter(c)) {
            letters.push_back({c});
            ++i;
        } else if (c == ':' && !letters.empty() && lower(letters.back().base) == 'u') {
            letters.back().umlaut = true;
            ++i;
        } else if (c == '^' && !letters.empty() && lower(letters.back().base) == 'e') {
            letters.back().circumflex = true;
            ++i;
        } else if (c >= '1' && c <= '5' && i + 1 == token.size() && !letters.empty()) {
            tone = c - '0';
            ++i;
        } else {
            return false;
        }
    }
    return !letters.empty();
}

// The standard placement: a or e takes the mark; in "ou" the o; otherwise the last vowel;
// a syllable without vowels (m, n, ng, hm) marks its first m or n.
std::size_t toneIndex(const std::vector<Letter>& letters) {
    std::size_t lastVowel = letters.size();
    for (std::size_t i = 0; i < letters.size(); ++i) {
        char c = lower(letters[i].base);
        if (c == 'a' || c == 'e') return i;
        if (c == 'o' && i + 1 < letters.size() && lower(letters[i + 1].base) == 'u') return i;
        if (isVowel(c)) lastVowel = i;
    }
    if (lastVowel < letters.size()) return lastVowel;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        char c = lower(letters[i].base);
        if (c == 'm' || c == 'n') return i;
    }
    return letters.size();
}

std::string nfc(const std::string& text) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* normalizer = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status)) return text;
    icu::UnicodeString composed = normalizer->normalize(icu::UnicodeString::fromUTF8(text), status);
    if (U_FAILURE(status)) return text;
    std::string out;
    composed.toUTF8String(out);
    return out;
}

// "xx5" is the dictionary's placeholder for a character without a Mandarin reading.
bool isPlaceholder(std::string_view token) {
    return token == "xx" || token == "xx5" || token == "XX" || token == "XX5";
}

bool isErhuaSuffix(std::string_view token) {
    return token == "r5" || token == "R5";
}

// A token holding several numbered syllables ("shi2ke4") split after each tone number, or the
// token alone when it is not made of such syllables.
std::vector<std::string_view> syllablesOf(std::string_view token) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (std::size_t i = 0; i < token.size(); ++i) {
        if (token[i] >= '1' && token[i] <= '5' && i > start) {
            pieces.push_back(token.substr(start, i + 1 - start));
            start = i + 1;
        }
    }
    if (start != token.size() || pieces.size() < 2) return {token};
    std::vector<Letter> letters;
    int tone = 0;
    for (std::string_view piece : pieces) {
        if (!parseSyllable(piece, letters, tone)) return {token};
    }
    return pieces;
}

void appendMarked(std::string& decomposed, std::string_view syllable,
                  std::vector<Letter>& letters) {
    int tone = 0;
    if (!parseSyllable(syllable, letters, tone)) {
        decomposed.append(syllable);
        return;
    }
    const std::size_t marked = (tone >= 1 && tone <= 4) ? toneIndex(letters) : letters.size();
    for (std::size_t i = 0; i < letters.size(); ++i) {
        decomposed.push_back(letters[i].base);
        if (letters[i].umlaut) decomposed.append("\u0308");
        if (letters[i].circumflex) decomposed.append("\u0302");
        if (i == marked) decomposed.append(kToneMarks[tone - 1]);
    }
}

}  // namespace

std::string pinyinWithToneMarks(std::string_view numbered) {
    std::string decomposed;
    std::vector<Letter> letters;
    bool afterSyllable = false;
    for (std::string_view token : splitTokens(numbered)) {
        if (isPlaceholder(token)) continue;
        if (isErhuaSuffix(token) && afterSyllable) {
            decomposed.push_back(token[0]);  // 哪儿: "nǎr", written onto its syllable
            continue;
        }
        if (!decomposed.empty()) decomposed.push_back(' ');
        // Hyphenated words ("yi1mo2-yi1yang4") are marked part by part.
        std::size_t start = 0;
        std::string_view part;
        while (true) {
            const std::size_t hyphen = token.find('-', start);
            part = token.substr(start, hyphen == std::string_view::npos ? hyphen : hyphen - start);
            for (std::string_view syllable : syllablesOf(part)) {
                appendMarked(decomposed, syllable, letters);
            }
            if (hyphen == std::string_view::npos) break;
            decomposed.push_back('-');
            start = hyphen + 1;
        }
        int tone = 0;
        afterSyllable = parseSyllable(syllablesOf(part).back(), letters, tone);
    }
    return nfc(decomposed);
}

std::string pinyinRomanization(std::string_view numbered) {
    std::string out;
    out.reserve(numbered.size());
    for (std::string_view token : splitTokens(numbered)) {
        if (isPlaceholder(token)) continue;
        for (const char c : token) {
            if (c == ':' && !out.empty() && out.back() == 'u') {
                out.back() = 'v';
            } else if (isAsciiLetter(c)) {
                out.push_back(lower(c));
            }
        }
    }
    return out;
}

}  // namespace tessel::compiler
