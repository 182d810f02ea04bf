// SPDX-License-Identifier: GPL-3.0-or-later
#include "JsonStringList.h"

#include <optional>

#include "Utf8.h"

namespace tessel {
namespace {

// A hand-written reader: the course list decodes three of these per card for tens of thousands
// of cards, where a general JSON parser costs more than the query itself.
class Reader {
  public:
    explicit Reader(std::string_view text) : m_text(text) {}

    std::optional<std::vector<std::string>> list() {
        std::vector<std::string> strings;
        skipSpace();
        if (!consume('[')) return std::nullopt;
        skipSpace();
        if (!consume(']')) {
            while (true) {
                skipSpace();
                auto value = string();
                if (!value) return std::nullopt;
                strings.push_back(std::move(*value));
                skipSpace();
                if (consume(']')) break;
                if (!consume(',')) return std::nullopt;
            }
        }
        skipSpace();
        if (m_at != m_text.size()) return std::nullopt;
        return strings;
    }

  private:
    bool consume(char c) {
        if (m_at < m_text.size() && m_text[m_at] == c) {
            ++m_at;
            return true;
        }
        return false;
    }

    void skipSpace() {
        while (m_at < m_text.size()) {
            const char c = m_text[m_at];
            if (c != ' ' && c != '\t' && c != '\n' && c != '\r') break;
            ++m_at;
        }
    }

    std::optional<unsigned> hex4() {
        if (m_at + 4 > m_text.size()) return std::nullopt;
        unsigned value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_text[m_at++];
            value <<= 4;
            if (c >= '0' && c <= '9') {
                value |= static_cast<unsigned>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                value |= static_cast<unsigned>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                value |= static_cast<unsigned>(c - 'A' + 10);
            } else {
                return std::nullopt;
            }
        }
        return value;
    }

    bool escape(std::string& out) {
        if (m_at >= m_text.size()) return false;
        const char c = m_text[m_at++];
        switch (c) {
            case '"':
                out.push_back('"');
                return true;
            case '\\':
                out.push_back('\\');
                return true;
            case '/':
                out.push_back('/');
                return true;
            case 'b':
                out.push_back('\b');
                return true;
            case 'f':
                out.push_back('\f');
                return true;
            case 'n':
                out.push_back('\n');
                return true;
            case 'r':
                out.push_back('\r');
                return true;
            case 't':
                out.push_back('\t');
                return true;
            case 'u':
                break;
            default:
                return false;
        }
        const auto unit = hex4();
        if (!unit) return false;
        char32_t scalar = *unit;
        if (*unit >= 0xDC00 && *unit <= 0xDFFF) return false;
        if (*unit >= 0xD800 && *unit <= 0xDBFF) {
            if (!consume('\\') || !consume('u')) return false;
            const auto low = hex4();
            if (!low || *low < 0xDC00 || *low > 0xDFFF) return false;
            scalar = 0x10000 + ((*unit - 0xD800) << 10) + (*low - 0xDC00);
        }
        utf8::append(out, scalar);
        return true;
    }

    std::optional<std::string> string() {
        if (!consume('"')) return std::nullopt;
        std::string out;
        std::size_t runStart = m_at;
        while (m_at < m_text.size()) {
            const auto c = static_cast<unsigned char>(m_text[m_at]);
            if (c == '"' || c == '\\') {
                out.append(m_text.substr(runStart, m_at - runStart));
                ++m_at;
                if (c == '"') {
                    if (!utf8::isValid(out)) return std::nullopt;
                    return out;
                }
                if (!escape(out)) return std::nullopt;
                runStart = m_at;
            } else if (c < 0x20) {
                return std::nullopt;
            } else {
                ++m_at;
            }
        }
        return std::nullopt;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

}  // namespace

std::vector<std::string> decodeJsonStringList(std::string_view json) {
    auto strings = Reader(json).list();
    return strings ? std::move(*strings) : std::vector<std::string>{};
}

}  // namespace tessel
