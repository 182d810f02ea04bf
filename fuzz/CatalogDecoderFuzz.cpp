// SPDX-License-Identifier: GPL-3.0-or-later
// Decodes arbitrary bytes as a vocabulary catalogue; whatever decodes must survive an
// encode/decode round trip unchanged and encode to the same text again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "Vocabulary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto catalog = tessel::VocabularyCatalog::decode(text);
    if (!catalog) {
        if (catalog.error().description.empty()) {
            std::fprintf(stderr, "a failed decode must say why\n");
            std::abort();
        }
        return 0;
    }
    const auto encoded = catalog->encode();
    const auto again = tessel::VocabularyCatalog::decode(encoded);
    if (!again || *again != *catalog || again->encode() != encoded) {
        std::fprintf(stderr, "round trip changed the catalogue\n");
        std::abort();
    }
    return 0;
}
