// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tessel {

// The places the bundled lexicon is looked for, in order, without repeats:
// "brindle/Tessel.sqlite" in each of `dataFolders` (the user's first, then the system's), then
// "../share/brindle/Tessel.sqlite" beside `executableFolder` (an installation under any prefix),
// then, only when `executableFolder` lies inside the build tree this program was built in, the
// source tree's "resources/Tessel.sqlite". An installed program never looks in the source tree.
std::vector<std::string> bundledLexiconCandidates(
    const std::vector<std::filesystem::path>& dataFolders,
    const std::filesystem::path& executableFolder);

// The XDG data folders: $XDG_DATA_HOME (else ~/.local/share), then $XDG_DATA_DIRS (else
// /usr/local/share and /usr/share). Relative entries are ignored, as the XDG rules ask.
std::vector<std::filesystem::path> xdgDataFolders();

// The folder of the running executable; empty when the system cannot tell.
std::filesystem::path runningExecutableFolder();

}  // namespace tessel
