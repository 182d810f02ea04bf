// SPDX-License-Identifier: GPL-3.0-or-later
#include "EdictParser.h"
#include "TextLines.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <memory>

#include "EdictTags.h"

namespace tessel::compiler {

namespace {

// The header line's "term" is a full-width space and three full-width question marks.
constexpr std::string_view kHeaderTerm = "\u3000\uFF1F\uFF1F\uFF1F";

bool isDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// The length of the balanced "( ... )" group at the start of `text`, or 0 when there is none.
std::size_t groupLength(std::string_view text) {
    if (text.empty() || text.front() != '(') return 0;
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '(') ++depth;
        if (text[i] == ')' && --depth == 0) return i + 1;
    }
    return 0;
}

// Where a gloss ends in a loanword's origin, "coffee (eng: coffee, dut: koffie)" or
// "(wasei: one-day)", the position of that group's "("; npos when it has none.
std::size_t sourceLanguageGroup(std::string_view gloss) {
    if (gloss.empty() || gloss.back() != ')') return std::string_view::npos;
    int depth = 0;
    for (std::size_t i = gloss.size(); i-- > 0;) {
        if (gloss[i] == ')') ++depth;
        if (gloss[i] == '(' && --depth == 0) {
            const std::string_view inner = gloss.substr(i + 1);
            const std::size_t colon = inner.find(':');
            if (colon < 3 || colon > 5) return std::string_view::npos;
            const bool code = std::all_of(inner.begin(), inner.begin() + colon,
                                          [](char c) { return c >= 'a' && c <= 'z'; });
            return code ? i : std::string_view::npos;
        }
    }
    return std::string_view::npos;
}

void appendUnique(std::vector<std::string>& list, std::string value) {
    if (std::find(list.begin(), list.end(), value) == list.end()) list.push_back(std::move(value));
}

// Reads the fields of one line, keeping the state that carries from field to field.
class FieldReader {
  public:
    explicit FieldReader(EdictLine& entry) : m_entry(entry) {}

    void read(std::string_view field) {
        if (field == "(P)") {
            m_entry.common = true;
            return;
        }
        bool startsSense = false;
        std::vector<EdictTag> tags;
        for (;;) {
            const std::size_t length = groupLength(field);
            if (length == 0) break;
            const std::string_view inner = field.substr(1, length - 2);
            if (isDigits(inner)) {
                startsSense = true;
            } else if (inner.substr(0, 4) == "See " || inner.substr(0, 4) == "ant:") {
                // cross-references point elsewhere; they are not part of the meaning
            } else if (!readCodes(inner, tags)) {
                break;
            }
            field = trim(field.substr(length));
        }
        for (const EdictTag& tag : tags) {
            if (tag.kind == EdictTagKind::partOfSpeech) startsSense = true;
        }
        if (startsSense || m_senseCount == 0) {
            ++m_senseCount;
            m_senseIsName = false;
        }
        for (const EdictTag& tag : tags) {
            switch (tag.kind) {
                case EdictTagKind::partOfSpeech:
                    appendUnique(m_entry.partsOfSpeech, tag.label);
                    break;
                case EdictTagKind::name:
                    m_senseIsName = true;
                    break;
                case EdictTagKind::usage:
                    if (tag.label == "common word") m_entry.common = true;
                    if (tag.label == "usually written in kana" && m_senseCount == 1) {
                        m_entry.usuallyKana = true;
                    }
                    break;
                default:
                    break;
            }
        }
        if (const std::size_t origin = sourceLanguageGroup(field);
            origin != std::string_view::npos) {
            field = trim(field.substr(0, origin));
        }
        if (field.empty()) return;
        appendUnique(m_entry.glosses, std::string(field));
        if (!m_senseIsName) m_sawNonNameGloss = true;
    }

    void finish() { m_entry.onlyNames = !m_entry.glosses.empty() && !m_sawNonNameGloss; }

  private:
    // True when every comma-separated code in the group is a dictionary code.
    static bool readCodes(std::string_view inner, std::vector<EdictTag>& tags) {
        std::vector<EdictTag> found;
        std::size_t start = 0;
        while (start <= inner.size()) {
            std::size_t end = inner.find(',', start);
            if (end == std::string_view::npos) end = inner.size();
            auto tag = edictTag(inner.substr(start, end - start));
            if (!tag) return false;
            found.push_back(std::move(*tag));
            start = end + 1;
        }
        tags.insert(tags.end(), found.begin(), found.end());
        return true;
    }

    EdictLine& m_entry;
    int m_senseCount = 0;
    bool m_senseIsName = false;
    bool m_sawNonNameGloss = false;
};

}  // namespace

Result<std::string> decodeEucJp(std::string_view bytes) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, decltype(&ucnv_close)> converter(ucnv_open("EUC-JP", &status),
                                                                 &ucnv_close);
    if (U_FAILURE(status)) return fail(std::string("no EUC-JP converter: ") + u_errorName(status));
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    std::u16string wide(bytes.size() + 1, u'\0');
    const int32_t wideLength =
        ucnv_toUChars(converter.get(), wide.data(), static_cast<int32_t>(wide.size()), bytes.data(),
                      static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status)) {
        return fail(std::string("the file is not valid EUC-JP: ") + u_errorName(status));
    }
    int32_t utf8Length = 0;
    status = U_ZERO_ERROR;
    u_strToUTF8(nullptr, 0, &utf8Length, wide.data(), wideLength, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) {
        return fail(std::string("cannot convert to UTF-8: ") + u_errorName(status));
    }
    std::string utf8(static_cast<std::size_t>(utf8Length), '\0');
    status = U_ZERO_ERROR;
    u_strToUTF8(utf8.data(), utf8Length, nullptr, wide.data(), wideLength, &status);
    if (U_FAILURE(status))
        return fail(std::string("cannot convert to UTF-8: ") + u_errorName(status));
    return utf8;
}

bool parseEdictLine(std::string_view line, EdictLine& entry) {
    entry = EdictLine{};
    line = trim(line);
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos || space == 0) return false;
    entry.term = std::string(line.substr(0, space));
    std::string_view rest = line.substr(space + 1);
    if (!rest.empty() && rest.front() == '[') {
        const std::size_t close = rest.find("] ");
        if (close == std::string_view::npos || close == 1) return false;
        entry.reading = std::string(rest.substr(1, close - 1));
        rest = rest.substr(close + 2);
    }
    if (rest.size() < 2 || rest.front() != '/' || rest.back() != '/') return false;
    rest = rest.substr(1, rest.size() - 2);

    FieldReader reader(entry);
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find('/', start);
        if (end == std::string_view::npos) end = rest.size();
        reader.read(trim(rest.substr(start, end - start)));
        start = end + 1;
    }
    reader.finish();
    return !entry.glosses.empty();
}

EdictText parseEdict(std::string_view text) {
    EdictText result;
    result.lines.reserve(270000);
    EdictLine entry;
    TextLines lines(text);
    std::string_view line;
    while (lines.next(line)) {
        if (trim(line).empty() || line.substr(0, kHeaderTerm.size()) == kHeaderTerm) continue;
        if (parseEdictLine(line, entry)) {
            result.lines.push_back(std::move(entry));
        } else {
            ++result.skippedLines;
        }
    }
    return result;
}

}  // namespace tessel::compiler
