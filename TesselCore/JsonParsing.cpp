// SPDX-License-Identifier: GPL-3.0-or-later
#include "JsonParsing.h"

#include <cassert>
#include <limits>

#include <unicode/unistr.h>

namespace tessel {
namespace {

using Json = nlohmann::json;

// Walks the text once without building anything, so that malformed or absurdly nested input is
// refused before a tree of it exists.
class NestingGuard final : public nlohmann::json_sax<Json> {
  public:
    std::string failure;

    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool key(string_t&) override { return true; }
    bool start_object(std::size_t) override { return enter(); }
    bool end_object() override { return leave(); }
    bool start_array(std::size_t) override { return enter(); }
    bool end_array() override { return leave(); }
    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& ex) override {
        failure = shortened(withoutExceptionTag(ex.what()));
        return false;
    }

  private:
    int m_depth = 0;

    bool enter() {
        if (++m_depth > kMaxJsonNestingDepth) {
            failure = "arrays and objects are nested more than " +
                      std::to_string(kMaxJsonNestingDepth) + " deep";
            return false;
        }
        return true;
    }
    bool leave() {
        --m_depth;
        return true;
    }

    // The library prefixes its messages with an internal tag ("[json.exception.parse_error.101] ")
    // that means nothing to a learner.
    static std::string withoutExceptionTag(std::string message) {
        if (message.starts_with("[json.exception.")) {
            if (const auto end = message.find("] "); end != std::string::npos) {
                message.erase(0, end + 2);
            }
        }
        return message;
    }

    // The message quotes the text read so far, which for a huge document can be megabytes long.
    static std::string shortened(std::string message) {
        constexpr std::size_t kLimit = 160;
        if (message.size() <= kLimit) return message;
        std::size_t cut = kLimit;
        while (cut > 0 && (static_cast<unsigned char>(message[cut]) & 0xC0) == 0x80) --cut;
        message.resize(cut);
        return message + "…";
    }
};

Error memberError(const std::string& path, std::string_view problem) {
    return Error{"\"" + path + "\" " + std::string(problem)};
}

const Json* member(const Json& object, const char* key) {
    assert(object.is_object());
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

}  // namespace

Result<Json> parseJsonDocument(std::string_view text, std::string_view what) {
    try {
        NestingGuard guard;
        if (!Json::sax_parse(text, &guard)) {
            return fail(std::string(what) + " is not valid JSON: " +
                        sanitizedUtf8(guard.failure.empty() ? "syntax error" : guard.failure));
        }
        Json document = Json::parse(text, nullptr, /*allow_exceptions=*/false);
        if (document.is_discarded()) {
            return fail(std::string(what) + " is not valid JSON.");
        }
        return document;
    } catch (const std::bad_alloc&) {
        return fail(std::string(what) + " is too large to read.");
    } catch (const std::exception& ex) {
        return fail(std::string(what) + " could not be read: " + sanitizedUtf8(ex.what()));
    }
}

std::string sanitizedUtf8(std::string_view text) {
    std::string out;
    icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())))
        .toUTF8String(out);
    return out;
}

Result<std::string> readString(const Json& object, const char* key, const std::string& path) {
    const Json* value = member(object, key);
    if (value == nullptr) return tl::unexpected(memberError(path, "is missing"));
    if (!value->is_string()) return tl::unexpected(memberError(path, "is not a string"));
    return value->get_ref<const std::string&>();
}

Result<std::optional<std::string>> readOptionalString(const Json& object, const char* key,
                                                      const std::string& path) {
    const Json* value = member(object, key);
    if (value == nullptr || value->is_null()) return std::optional<std::string>();
    if (!value->is_string()) return tl::unexpected(memberError(path, "is not a string"));
    return std::optional<std::string>(value->get_ref<const std::string&>());
}

Result<std::int64_t> readInt64(const Json& object, const char* key, const std::string& path) {
    const Json* value = member(object, key);
    if (value == nullptr) return tl::unexpected(memberError(path, "is missing"));
    if (value->is_number_unsigned()) {
        const auto number = value->get<std::uint64_t>();
        if (number > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
            return tl::unexpected(memberError(path, "is too large for a 64-bit integer"));
        }
        return static_cast<std::int64_t>(number);
    }
    if (value->is_number_integer()) return value->get<std::int64_t>();
    return tl::unexpected(memberError(path, "is not a whole number in 64-bit range"));
}

Result<bool> readBool(const Json& object, const char* key, const std::string& path) {
    const Json* value = member(object, key);
    if (value == nullptr) return tl::unexpected(memberError(path, "is missing"));
    if (!value->is_boolean()) return tl::unexpected(memberError(path, "is not true or false"));
    return value->get<bool>();
}

Result<std::vector<std::string>> readStringArray(const Json& object, const char* key,
                                                 const std::string& path) {
    const Json* value = member(object, key);
    if (value == nullptr) return tl::unexpected(memberError(path, "is missing"));
    if (!value->is_array()) return tl::unexpected(memberError(path, "is not an array"));
    std::vector<std::string> strings;
    strings.reserve(value->size());
    for (std::size_t i = 0; i < value->size(); ++i) {
        const Json& entry = (*value)[i];
        if (!entry.is_string()) {
            return tl::unexpected(
                memberError(path + "[" + std::to_string(i) + "]", "is not a string"));
        }
        strings.push_back(entry.get_ref<const std::string&>());
    }
    return strings;
}

}  // namespace tessel
