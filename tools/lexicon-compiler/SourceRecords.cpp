// SPDX-License-Identifier: GPL-3.0-or-later
#include "SourceRecords.h"

#include <nlohmann/json.hpp>

#include <set>

#include "SourceFiles.h"

namespace tessel::compiler {

namespace {

using nlohmann::json;

Result<std::string> text(const json& object, const char* key, bool mayBeEmpty,
                         const std::string& where) {
    auto found = object.find(key);
    if (found == object.end() || !found->is_string() ||
        (!mayBeEmpty && found->get<std::string>().empty())) {
        return fail(where + ": \"" + key + "\" must be a" + (mayBeEmpty ? "" : " non-empty") +
                    " string");
    }
    return found->get<std::string>();
}

bool staysInside(const std::string& name) {
    const std::filesystem::path path(name);
    if (name.empty() || path.is_absolute()) return false;
    for (const auto& part : path) {
        if (part == "..") return false;
    }
    return true;
}

}  // namespace

Result<std::vector<SourceRecord>> parseSourceRecords(std::string_view input) {
    json document = json::parse(input, nullptr, false);
    if (document.is_discarded()) return fail("the source file is not valid JSON");
    auto list = document.is_object() ? document.find("sources") : document.end();
    if (!document.is_object() || list == document.end() || !list->is_array()) {
        return fail("the source file needs a \"sources\" list");
    }
    std::vector<SourceRecord> records;
    std::set<std::string> ids;
    for (std::size_t i = 0; i < list->size(); ++i) {
        const json& item = (*list)[i];
        const std::string where = "source #" + std::to_string(i + 1);
        if (!item.is_object()) return fail(where + " is not an object");
        SourceRecord record;
        struct Field {
            const char* key;
            std::string* target;
            bool mayBeEmpty;
        };
        const Field fields[] = {{"id", &record.id, false},
                                {"display_name", &record.displayName, false},
                                {"url", &record.url, true},
                                {"license", &record.license, false},
                                {"license_url", &record.licenseUrl, true},
                                {"attribution", &record.attribution, false}};
        for (const Field& field : fields) {
            auto value = text(item, field.key, field.mayBeEmpty, where);
            if (!value) return tl::unexpected(value.error());
            *field.target = std::move(*value);
        }
        const bool cached = item.contains("cached_file"), data = item.contains("data_file");
        if (cached == data) {
            return fail(where + ": exactly one of \"cached_file\" and \"data_file\" is needed");
        }
        auto file = text(item, cached ? "cached_file" : "data_file", false, where);
        if (!file) return tl::unexpected(file.error());
        if (!staysInside(*file)) return fail(where + ": the file must be a relative path inside");
        (cached ? record.cachedFile : record.dataFile) = std::move(*file);
        if (!ids.insert(record.id).second) return fail("source id repeated: " + record.id);
        records.push_back(std::move(record));
    }
    return records;
}

Result<void> checksumSources(std::vector<SourceRecord>& records,
                             const std::filesystem::path& sourceCache,
                             const std::filesystem::path& dataFolder) {
    for (SourceRecord& record : records) {
        const auto path = record.cachedFile.empty() ? dataFolder / record.dataFile
                                                    : sourceCache / record.cachedFile;
        auto sum = fileSha256(path);
        if (!sum) return fail("source " + record.id + ": " + sum.error().description);
        record.sha256 = std::move(*sum);
    }
    return {};
}

}  // namespace tessel::compiler
