// SPDX-License-Identifier: GPL-3.0-or-later
// Decodes arbitrary bytes as a progress file. Whatever decodes must encode (both layouts), read
// back equal, and encode to the same text again; a failed decode must say why.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "ProgressJSON.h"

namespace {

[[noreturn]] void fault(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto progress = tessel::ProgressJSON::decode(text);
    if (!progress) {
        if (progress.error().description.empty()) fault("a failed decode must say why");
        return 0;
    }
    if (progress->schemaVersion < 2) fault("a decoded progress has schema 2 or later");
    for (const bool pretty : {true, false}) {
        const auto encoded = tessel::ProgressJSON::encode(*progress, pretty);
        if (!encoded) fault("a progress that was read could not be written");
        const auto again = tessel::ProgressJSON::decode(*encoded);
        if (!again || *again != *progress) fault("round trip changed the progress");
        const auto reencoded = tessel::ProgressJSON::encode(*again, pretty);
        if (!reencoded || *reencoded != *encoded) fault("writing the same progress changed");
    }
    return 0;
}
