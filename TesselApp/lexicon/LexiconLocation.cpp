// SPDX-License-Identifier: GPL-3.0-or-later
#include "LexiconLocation.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace tessel {
namespace {

constexpr const char* kFileName = "Tessel.sqlite";

std::filesystem::path normal(const std::filesystem::path& path) {
    std::error_code error;
    const auto canonical = std::filesystem::weakly_canonical(path, error);
    return (error ? path : canonical).lexically_normal();
}

bool isInside(const std::filesystem::path& folder, const std::filesystem::path& root) {
    const auto inner = normal(folder);
    const auto outer = normal(root);
    const auto [rootEnd, ignored] =
        std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
    // A trailing separator leaves an empty last element in the root.
    return rootEnd == outer.end() || (std::next(rootEnd) == outer.end() && rootEnd->empty());
}

void appendFolders(std::vector<std::filesystem::path>& folders, std::string_view list) {
    while (!list.empty()) {
        const std::size_t colon = list.find(':');
        const std::filesystem::path folder(list.substr(0, colon));
        if (folder.is_absolute()) folders.push_back(folder);
        if (colon == std::string_view::npos) break;
        list.remove_prefix(colon + 1);
    }
}

std::string_view environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string_view() : std::string_view(value);
}

}  // namespace

std::vector<std::string> bundledLexiconCandidates(
    const std::vector<std::filesystem::path>& dataFolders,
    const std::filesystem::path& executableFolder) {
    std::vector<std::string> candidates;
    const auto add = [&](const std::filesystem::path& path) {
        const std::string text = path.lexically_normal().string();
        if (std::find(candidates.begin(), candidates.end(), text) == candidates.end()) {
            candidates.push_back(text);
        }
    };
    for (const auto& folder : dataFolders) add(folder / "brindle" / kFileName);
    if (executableFolder.empty()) return candidates;
    add(executableFolder / ".." / "share" / "brindle" / kFileName);
    // Lets a program run straight from its build tree find the lexicon the build compiled; the
    // same program copied anywhere else (an installation, a package) never looks there.
    if (isInside(executableFolder, BRINDLE_BUILD_DIR)) {
        add(std::filesystem::path(BRINDLE_SOURCE_DIR) / "resources" / kFileName);
    }
    return candidates;
}

std::vector<std::filesystem::path> xdgDataFolders() {
    std::vector<std::filesystem::path> folders;
    if (const std::filesystem::path home(environment("XDG_DATA_HOME")); home.is_absolute()) {
        folders.push_back(home);
    } else if (const std::filesystem::path user(environment("HOME")); user.is_absolute()) {
        folders.push_back(user / ".local" / "share");
    }
    const std::string_view system = environment("XDG_DATA_DIRS");
    appendFolders(folders, system.empty() ? "/usr/local/share:/usr/share" : system);
    return folders;
}

std::filesystem::path runningExecutableFolder() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}

}  // namespace tessel
