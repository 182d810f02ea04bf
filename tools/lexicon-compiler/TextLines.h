// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace tessel::compiler {

// Walks a whole source file line by line without copying: the four source formats are all
// line-oriented. A final line without a line break is still a line; the break itself is not part
// of the line (a carriage return before it is, so each format decides how to trim).
class TextLines {
  public:
    explicit TextLines(std::string_view text) : m_text(text) {}

    // Sets `line` to the next line and returns true; false once the text is used up.
    bool next(std::string_view& line) {
        if (m_start >= m_text.size()) return false;
        std::size_t end = m_text.find('\n', m_start);
        if (end == std::string_view::npos) end = m_text.size();
        line = m_text.substr(m_start, end - m_start);
        m_start = end + 1;
        return true;
    }

  private:
    std::string_view m_text;
    std::size_t m_start = 0;
};

}  // namespace tessel::compiler
