// SPDX-License-Identifier: GPL-3.0-or-later
#include <iostream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "LexiconLocation.h"
#include "LexiconStore.h"

int main(int argc, char** argv) {
    using namespace tessel;

    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const auto command = parseCliCommand(arguments);
    if (!command) {
        std::cerr << "brindle-cli: " << command.error().description << "\n\n" << cliUsage();
        return 2;
    }
    if (command->help) {
        std::cout << cliUsage();
        return 0;
    }

    // The data folders come from the environment as the XDG rules give them, the same folders
    // the application's Qt look-up reads on this system.
    const std::vector<std::string> candidates =
        bundledLexiconCandidates(xdgDataFolders(), runningExecutableFolder());
    const auto store = command->databasePath ? LexiconStore::open(*command->databasePath)
                                             : LexiconStore::openFirstExisting(candidates);
    if (!store) {
        std::cerr << "brindle-cli: " << store.error().description << "\n";
        if (!command->databasePath) {
            std::cerr << "Looked in:\n";
            for (const std::string& place : candidates) {
                std::cerr << "  " << place << "\n";
            }
        }
        return 1;
    }
    const auto entries = (*store)->search(command->query, command->language, command->limit);
    if (!entries) {
        std::cerr << "brindle-cli: " << entries.error().description << "\n";
        return 1;
    }
    std::cout << (command->json ? formatEntriesAsJson(*entries) : formatEntriesAsText(*entries));
    if (!command->json && entries->empty()) std::cerr << "No entries found.\n";
    return 0;
}
