// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <filesystem>

#include <QCoreApplication>
#include <QStandardPaths>

#include "LexiconStore.h"

namespace tessel {
namespace {

std::filesystem::path executableFolder() {
    if (QCoreApplication::instance() != nullptr) {
        return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
    }
    // Without an application object (command-line tools, unit tests) ask the system.
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}

}  // namespace

std::vector<std::string> LexiconStore::bundledDatabaseCandidates() {
    std::vector<std::string> candidates;
    const auto add = [&](const std::filesystem::path& path) {
        const std::string text = path.lexically_normal().string();
        if (std::find(candidates.begin(), candidates.end(), text) == candidates.end()) {
            candidates.push_back(text);
        }
    };
    for (const QString& folder :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        add(std::filesystem::path(folder.toStdString()) / "brindle" / "Tessel.sqlite");
    }
    for (const QString& folder :
         QStandardPaths::standardLocations(QStandardPaths::AppDataLocation)) {
        add(std::filesystem::path(folder.toStdString()) / "Tessel.sqlite");
    }
    if (const auto folder = executableFolder(); !folder.empty()) {
        add(folder / ".." / "share" / "brindle" / "Tessel.sqlite");
    }
#ifdef BRINDLE_SOURCE_DIR
    add(std::filesystem::path(BRINDLE_SOURCE_DIR) / "resources" / "Tessel.sqlite");
#endif
    return candidates;
}

}  // namespace tessel
