// SPDX-License-Identifier: GPL-3.0-or-later
#include <iostream>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "CliCommand.h"
#include "LexiconStore.h"

int main(int argc, char** argv) {
    using namespace tessel;
    QCoreApplication::setOrganizationName("Brindle");
    QCoreApplication::setApplicationName("Brindle");

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

    const auto store = command->databasePath ? LexiconStore::open(*command->databasePath)
                                             : LexiconStore::openBundled();
    if (!store) {
        std::cerr << "brindle-cli: " << store.error().description << "\n";
        if (!command->databasePath) {
            std::cerr << "Looked in:\n";
            for (const std::string& place : LexiconStore::bundledDatabaseCandidates()) {
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
