// SPDX-License-Identifier: GPL-3.0-or-later
#include "TarArchive.h"

#include <cstdint>

namespace tessel::compiler {
namespace {

constexpr std::size_t kBlock = 512;

std::string_view field(std::string_view header, std::size_t offset, std::size_t length) {
    std::string_view value = header.substr(offset, length);
    return value.substr(0, value.find('\0'));
}

bool octal(std::string_view text, std::uint64_t& value) {
    value = 0;
    bool any = false;
    for (char c : text) {
        if (c == ' ') {
            if (any) break;
            continue;
        }
        if (c < '0' || c > '7') return false;
        value = value * 8 + static_cast<std::uint64_t>(c - '0');
        any = true;
    }
    return any;
}

// The "path" record of a pax extended header ("<length> path=<value>\n" records), or "".
std::string paxPath(std::string_view records) {
    while (!records.empty()) {
        const std::size_t space = records.find(' ');
        std::uint64_t length = 0;
        for (char c : records.substr(0, space)) length = length * 10 + std::uint64_t(c - '0');
        if (space == std::string_view::npos || length <= space || length > records.size()) break;
        std::string_view record = records.substr(space + 1, length - space - 2);  // drops "\n"
        if (record.starts_with("path=")) return std::string(record.substr(5));
        records.remove_prefix(length);
    }
    return {};
}

}  // namespace

Result<std::vector<TarMember>> readTarArchive(std::string_view archive) {
    std::vector<TarMember> members;
    std::string pendingPath;
    std::size_t at = 0;
    while (at + kBlock <= archive.size()) {
        const std::string_view header = archive.substr(at, kBlock);
        if (header.find_first_not_of('\0') == std::string_view::npos) break;  // end marker
        std::uint64_t size = 0;
        if (!octal(field(header, 124, 12), size))
            return fail("tar archive: unreadable size at byte " + std::to_string(at));
        at += kBlock;
        if (size > archive.size() - at)
            return fail("tar archive: an entry runs past the end at byte " + std::to_string(at));
        const std::string_view content = archive.substr(at, size);
        at += (size + kBlock - 1) / kBlock * kBlock;
        const char type = header[156];
        if (type == 'x') {
            pendingPath = paxPath(content);
            continue;
        }
        if (type != '0' && type != '\0') {
            pendingPath.clear();
            continue;
        }
        std::string path = pendingPath;
        pendingPath.clear();
        if (path.empty()) {
            const std::string_view prefix = field(header, 345, 155);
            path = prefix.empty() ? std::string(field(header, 0, 100))
                                  : std::string(prefix) + "/" + std::string(field(header, 0, 100));
        }
        members.push_back({std::move(path), content});
    }
    return members;
}

}  // namespace tessel::compiler
