// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessel::compiler {

// Incremental SHA-256 (FIPS 180-4), used for source checksums and stable entry ids.
class Sha256 {
  public:
    Sha256();
    void update(std::string_view bytes);
    // The digest of everything fed so far. REQUIRES: called once; the object is spent after.
    std::array<std::uint8_t, 32> finish();

    // Lower-case hex digest of `bytes`.
    static std::string hex(std::string_view bytes);

  private:
    void compress(const std::uint8_t* block);

    std::array<std::uint32_t, 8> m_state;
    std::array<std::uint8_t, 64> m_buffer{};
    std::size_t m_buffered = 0;
    std::uint64_t m_length = 0;
};

// Lower-case hex of raw bytes.
std::string toHex(const std::uint8_t* bytes, std::size_t count);

}  // namespace tessel::compiler
