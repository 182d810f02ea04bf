// SPDX-License-Identifier: GPL-3.0-or-later
#include "EntryId.h"

#include "Sha256.h"

namespace tessel::compiler {

std::string stableEntryId(std::string_view language, std::string_view writtenForm,
                          std::string_view alternateForm, std::string_view reading,
                          std::size_t tieBreak) {
    constexpr char kSeparator = '\x1F';
    std::string key;
    key.reserve(language.size() + writtenForm.size() + alternateForm.size() + reading.size() + 24);
    key.append(language).push_back(kSeparator);
    key.append(writtenForm).push_back(kSeparator);
    key.append(alternateForm).push_back(kSeparator);
    key.append(reading).push_back(kSeparator);
    key.append(std::to_string(tieBreak));
    Sha256 hash;
    hash.update(key);
    const auto digest = hash.finish();
    return std::string(language) + "-" + toHex(digest.data(), 8);
}

}  // namespace tessel::compiler
