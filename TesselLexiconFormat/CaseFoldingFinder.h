// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessel {

// Finds a needle in long text the way the database's LIKE compares characters: ASCII letters
// match either case, every other byte only itself. Built once per search and run over the
// language's whole searchable text when few entries match, so the inner loop compares 16 or
// 32 bytes at a time.
class CaseFoldingFinder {
  public:
    static constexpr std::size_t npos = std::string_view::npos;

    // REQUIRES: `needle` is not empty.
    explicit CaseFoldingFinder(std::string_view needle);

    // The offset of the first occurrence starting at or after `from`, or npos when none.
    std::size_t find(std::string_view haystack, std::size_t from) const;

  private:
    bool matchesAt(const char* at) const;
    std::size_t findScalar(std::string_view haystack, std::size_t from) const;
#if defined(__x86_64__) || defined(__i386__)
    std::size_t findSSE2(std::string_view haystack, std::size_t from) const;
    std::size_t findAVX2(std::string_view haystack, std::size_t from) const;
#endif

    std::string m_needle;  // ASCII-lowered
    unsigned char m_first = 0;
    unsigned char m_last = 0;
    unsigned char m_firstFold = 0;  // 0x20 when the first byte is a letter, so case is ignored
    unsigned char m_lastFold = 0;
};

}  // namespace tessel
