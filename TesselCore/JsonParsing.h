// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Internal to the learning core: included only by .cpp files that read JSON.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "Result.h"

namespace tessel {

// Deeper documents are refused before any tree is built: no file the core reads comes close.
inline constexpr int kMaxJsonNestingDepth = 512;

// The parsed document. Error: text that is not one well-formed JSON value, or that nests arrays
// and objects deeper than kMaxJsonNestingDepth; the description starts with `what` ("The
// vocabulary catalogue") and says where the text goes wrong. Never throws.
Result<nlohmann::json> parseJsonDocument(std::string_view text, std::string_view what);

// `text` with every ill-formed UTF-8 sequence replaced by U+FFFD, for messages shown to the
// learner.
std::string sanitizedUtf8(std::string_view text);

// Readers for one member of a JSON object. `path` names the member in error descriptions
// ("items[3].term"). Error: a missing key or a value of another JSON type (for integers: a
// fraction, an exponent form or a value beyond 64 bits); the optional reader takes a missing key
// or null as absent. REQUIRES: `object` is a JSON object.
Result<std::string> readString(const nlohmann::json& object, const char* key,
                               const std::string& path);
Result<std::optional<std::string>> readOptionalString(const nlohmann::json& object, const char* key,
                                                      const std::string& path);
Result<std::int64_t> readInt64(const nlohmann::json& object, const char* key,
                               const std::string& path);
Result<bool> readBool(const nlohmann::json& object, const char* key, const std::string& path);
Result<std::vector<std::string>> readStringArray(const nlohmann::json& object, const char* key,
                                                 const std::string& path);

}  // namespace tessel
