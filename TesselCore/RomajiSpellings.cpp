// SPDX-License-Identifier: GPL-3.0-or-later
#include "RomajiSpellings.h"

#include <algorithm>
#include <cstdint>

#include "AnswerNormalization.h"
#include "Utf8.h"

namespace tessel {
namespace {

// One letter of the typed text: an ASCII character, or a vowel carrying a long mark (macron or
// circumflex), or any other scalar kept as its UTF-8 text.
struct Unit {
    char letter = 0;  // 0 for `other`
    bool longVowel = false;
    std::string other;
};

bool isVowel(char c) {
    return c == 'a' || c == 'i' || c == 'u' || c == 'e' || c == 'o';
}

bool isLetter(char c) {
    return c >= 'a' && c <= 'z';
}

char longVowelBase(char32_t c) {
    switch (c) {
        case 0x0101:
        case 0x00E2:
            return 'a';
        case 0x012B:
        case 0x00EE:
            return 'i';
        case 0x016B:
        case 0x00FB:
            return 'u';
        case 0x0113:
        case 0x00EA:
            return 'e';
        case 0x014D:
        case 0x00F4:
            return 'o';
        default:
            return 0;
    }
}

std::vector<Unit> unitsOf(const std::string& folded) {
    std::vector<Unit> units;
    for (std::size_t i = 0; i < folded.size();) {
        // Normalised text is well formed; a stray byte would still be kept as a unit of its own.
        const auto [c, decodedLength] = utf8::decode(folded, i);
        const std::size_t length = std::max<std::size_t>(decodedLength, 1);
        if (decodedLength != 0 && c < 0x80) {
            units.push_back({static_cast<char>(c), false, {}});
        } else if (const char base = decodedLength != 0 ? longVowelBase(c) : 0) {
            units.push_back({base, true, {}});
        } else {
            units.push_back({0, false, folded.substr(i, length)});
        }
        i += length;
    }
    return units;
}

// The alternatives of each piece of the text, in order; a spelling takes one of each.
using Pieces = std::vector<std::vector<std::string>>;

class Reader {
  public:
    explicit Reader(std::vector<Unit> units) : m_units(std::move(units)) {}

    Pieces read() {
        while (m_at < m_units.size()) {
            const char c = letter(m_at);
            if (!isLetter(c)) {
                readOther();
            } else if (isVowel(c)) {
                readVowel();
            } else if (c == 'n') {
                readN();
            } else {
                readConsonants();
            }
        }
        return std::move(m_pieces);
    }

  private:
    char letter(std::size_t at) const { return at < m_units.size() ? m_units[at].letter : 0; }

    void push(std::vector<std::string> alternatives) {
        m_pieces.push_back(std::move(alternatives));
    }

    // The second half of a long vowel: ō is "ou" or "oo", ē "ei" or "ee".
    void pushExtension(char vowel) {
        if (vowel == 'o') {
            push({"u", "o"});
        } else if (vowel == 'e') {
            push({"i", "e"});
        } else {
            push({std::string(1, vowel)});
        }
    }

    void readOther() {
        const Unit& unit = m_units[m_at++];
        if (unit.letter == '-' && m_vowel != 0) {
            push({std::string(1, m_vowel)});  // the keyboard's long mark
            return;
        }
        push({unit.letter != 0 ? std::string(1, unit.letter) : unit.other});
        if (unit.letter != '\'') {
            m_vowel = 0;
            m_wordStart = true;
        }
    }

    void readVowel() {
        const Unit& unit = m_units[m_at++];
        const char v = unit.letter;
        std::vector<std::string> alternatives{std::string(1, v)};
        if (!m_wordStart && !m_afterDoubleN) {
            if (v == 'o' && m_vowel == 'o') {
                alternatives.push_back("u");
            } else if (v == 'e' && m_vowel == 'e') {
                alternatives.push_back("i");
            } else if (v == 'o') {
                alternatives.push_back("wo");
            } else if (v == 'e') {
                alternatives.push_back("he");
            }
        }
        push(std::move(alternatives));
        if (unit.longVowel) pushExtension(v);
        finishSyllable(v);
    }

    void readN() {
        const char next = letter(m_at + 1);
        if (next == '\'') {
            push({"n'"});
            m_at += 2;
        } else if (next == 'n') {
            const char after = letter(m_at + 2);
            m_at += 2;
            if (isVowel(after) || after == 'y') {
                // ん then a syllable of the n row, or the keyboard's ん before a vowel.
                push({"nn", "n'"});
                m_afterDoubleN = true;
                m_wordStart = false;
                m_vowel = 0;
                return;
            }
            push({"n"});
        } else if ((isVowel(next) || next == 'y') && m_at == 0) {
            // Text that begins inside a keyboard "nn" (the "nen" of "kinnen", きんえん).
            push({"n", "n'"});
            ++m_at;
            m_afterDoubleN = true;
            m_wordStart = false;
            m_vowel = 0;
            return;
        } else if (isVowel(next) || next == 'y') {
            readConsonants();
            return;
        } else {
            push({"n"});
            ++m_at;
        }
        m_vowel = 0;
        m_wordStart = false;
        m_afterDoubleN = false;
    }

    void readConsonants() {
        const char c = letter(m_at);
        const char next = letter(m_at + 1);
        if (c == 'x' && isLetter(next)) {
            readSmallKana();
            return;
        }
        if ((c == next && c != 'y' && c != 'w') || (c == 't' && next == 'c')) {
            push({c == 'c' ? "t" : std::string(1, c)});  // a doubled consonant: っ
            ++m_at;
            m_wordStart = false;
            m_afterDoubleN = false;
            return;
        }
        std::string syllable;
        while (isLetter(letter(m_at)) && !isVowel(letter(m_at))) {
            syllable.push_back(letter(m_at++));
        }
        if (!isVowel(letter(m_at))) {
            push({syllable});  // letters that are no syllable stay as typed
            m_vowel = 0;
            m_wordStart = false;
            m_afterDoubleN = false;
            return;
        }
        const Unit& vowel = m_units[m_at++];
        syllable.push_back(vowel.letter);
        std::vector<std::string> alternatives{syllable};
        if (syllable == "ji") alternatives.push_back("di");
        if (syllable == "zu") alternatives.push_back("du");
        if (syllable == "wa" && !m_wordStart) alternatives.push_back("ha");
        push(std::move(alternatives));
        if (vowel.longVowel) pushExtension(vowel.letter);
        finishSyllable(vowel.letter);
    }

    // The keyboard's "x" spellings of small kana: "xtsu"/"xtu" for っ where it doubles
    // nothing, otherwise the kana's own letters.
    void readSmallKana() {
        ++m_at;
        for (const std::string_view tsu : {"tsu", "tu"}) {
            bool matches = true;
            for (std::size_t k = 0; k < tsu.size(); ++k) {
                if (letter(m_at + k) != tsu[k] || m_units[m_at + k].longVowel) matches = false;
            }
            if (matches) {
                push({"'"});
                m_at += tsu.size();
                m_wordStart = false;
                return;
            }
        }
    }

    void finishSyllable(char vowel) {
        m_vowel = vowel;
        m_wordStart = false;
        m_afterDoubleN = false;
    }

    std::vector<Unit> m_units;
    std::size_t m_at = 0;
    Pieces m_pieces;
    char m_vowel = 0;  // the vowel the last syllable ended with, 0 after anything else
    bool m_wordStart = true;
    bool m_afterDoubleN = false;
};

}  // namespace

std::vector<std::string> lexiconRomajiSpellings(std::string_view typed, std::size_t limit) {
    const std::string folded =
        AnswerNormalizer::normalize(typed, LearningLanguage::japanese, AnswerContent::text);
    if (std::none_of(folded.begin(), folded.end(), [](char c) { return isLetter(c); })) {
        return {};
    }
    const Pieces pieces = Reader(unitsOf(folded)).read();
    // Odometer over the pieces' alternatives, first alternatives first.
    std::vector<std::size_t> choice(pieces.size(), 0);
    std::vector<std::string> spellings;
    while (spellings.size() < limit) {
        std::string spelling;
        for (std::size_t i = 0; i < pieces.size(); ++i) spelling += pieces[i][choice[i]];
        if (std::find(spellings.begin(), spellings.end(), spelling) == spellings.end()) {
            spellings.push_back(std::move(spelling));
        }
        std::size_t i = pieces.size();
        while (i > 0 && ++choice[i - 1] == pieces[i - 1].size()) choice[--i] = 0;
        if (i == 0) break;
    }
    return spellings;
}

}  // namespace tessel
