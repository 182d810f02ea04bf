// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseFoldingFinder.h"

#include <cstring>

#include "SearchText.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace tessel {
namespace {

inline unsigned char lowerASCII(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

inline bool isLetter(unsigned char c) {
    return c >= 'a' && c <= 'z';
}

#if defined(__x86_64__) || defined(__i386__)
bool hasAVX2() {
    static const bool available = __builtin_cpu_supports("avx2");
    return available;
}
#endif

}  // namespace

CaseFoldingFinder::CaseFoldingFinder(std::string_view needle) : m_needle(asciiLowered(needle)) {
    m_first = static_cast<unsigned char>(m_needle.front());
    m_last = static_cast<unsigned char>(m_needle.back());
    m_firstFold = isLetter(m_first) ? 0x20 : 0;
    m_lastFold = isLetter(m_last) ? 0x20 : 0;
}

bool CaseFoldingFinder::matchesAt(const char* at) const {
    for (std::size_t i = 1; i + 1 < m_needle.size(); ++i) {
        if (lowerASCII(static_cast<unsigned char>(at[i])) !=
            static_cast<unsigned char>(m_needle[i])) {
            return false;
        }
    }
    return true;
}

std::size_t CaseFoldingFinder::find(std::string_view haystack, std::size_t from) const {
    if (from > haystack.size() || haystack.size() - from < m_needle.size()) return npos;
#if defined(__x86_64__) || defined(__i386__)
    if (hasAVX2()) return findAVX2(haystack, from);
    return findSSE2(haystack, from);
#else
    return findScalar(haystack, from);
#endif
}

std::size_t CaseFoldingFinder::findScalar(std::string_view haystack, std::size_t from) const {
    const std::size_t last = haystack.size() - m_needle.size();
    const std::size_t tail = m_needle.size() - 1;
    for (std::size_t i = from; i <= last; ++i) {
        const auto a = static_cast<unsigned char>(haystack[i]);
        const auto b = static_cast<unsigned char>(haystack[i + tail]);
        if ((a | m_firstFold) == m_first && (b | m_lastFold) == m_last &&
            matchesAt(haystack.data() + i)) {
            return i;
        }
    }
    return npos;
}

#if defined(__x86_64__) || defined(__i386__)

// Candidates are positions whose first and last needle bytes match (a letter OR-ed with 0x20
// compares case-blind; no other byte can turn into a lower-case letter that way).
std::size_t CaseFoldingFinder::findSSE2(std::string_view haystack, std::size_t from) const {
    const std::size_t tail = m_needle.size() - 1;
    const char* data = haystack.data();
    const __m128i first = _mm_set1_epi8(static_cast<char>(m_first));
    const __m128i last = _mm_set1_epi8(static_cast<char>(m_last));
    const __m128i firstFold = _mm_set1_epi8(static_cast<char>(m_firstFold));
    const __m128i lastFold = _mm_set1_epi8(static_cast<char>(m_lastFold));
    std::size_t i = from;
    for (; i + tail + 16 <= haystack.size(); i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + tail));
        const __m128i hits = _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, firstFold), first),
                                           _mm_cmpeq_epi8(_mm_or_si128(b, lastFold), last));
        auto bits = static_cast<unsigned>(_mm_movemask_epi8(hits));
        while (bits != 0) {
            const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(bits));
            if (matchesAt(data + at)) return at;
            bits &= bits - 1;
        }
    }
    return findScalar(haystack, i);
}

__attribute__((target("avx2"))) std::size_t CaseFoldingFinder::findAVX2(std::string_view haystack,
                                                                        std::size_t from) const {
    const std::size_t tail = m_needle.size() - 1;
    const char* data = haystack.data();
    const __m256i first = _mm256_set1_epi8(static_cast<char>(m_first));
    const __m256i last = _mm256_set1_epi8(static_cast<char>(m_last));
    const __m256i firstFold = _mm256_set1_epi8(static_cast<char>(m_firstFold));
    const __m256i lastFold = _mm256_set1_epi8(static_cast<char>(m_lastFold));
    std::size_t i = from;
    for (; i + tail + 32 <= haystack.size(); i += 32) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + tail));
        const __m256i hits =
            _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_or_si256(a, firstFold), first),
                             _mm256_cmpeq_epi8(_mm256_or_si256(b, lastFold), last));
        auto bits = static_cast<unsigned>(_mm256_movemask_epi8(hits));
        while (bits != 0) {
            const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(bits));
            if (matchesAt(data + at)) return at;
            bits &= bits - 1;
        }
    }
    return findScalar(haystack, i);
}

#endif

}  // namespace tessel
