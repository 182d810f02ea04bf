// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliCommand.h"

#include <charconv>

#include <nlohmann/json.hpp>

namespace tessel {
namespace {

std::string oneLine(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

}  // namespace

std::string cliUsage() {
    return "Usage: brindle-cli search QUERY --language chinese|japanese [--limit N] [--json]\n"
           "                  [--database PATH]\n"
           "       brindle-cli --help\n"
           "\n"
           "Searches the offline dictionary: exact matches of the written form first, then\n"
           "words that begin with the query, then any other match (reading, romanization,\n"
           "English meaning).\n"
           "\n"
           "  --language L    chinese or japanese (required)\n"
           "  --limit N       at most N results (default 80)\n"
           "  --json          print a JSON array with every field of each entry\n"
           "  --database P    use the lexicon file P instead of the installed one\n"
           "  --help          show this text\n";
}

Result<CliCommand> parseCliCommand(const std::vector<std::string>& arguments) {
    CliCommand command;
    std::vector<std::string> positional;
    bool languageGiven = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument.compare(0, 2, "--") != 0) {
            positional.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = argument;
        std::optional<std::string> value;
        if (const auto equals = argument.find('='); equals != std::string::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
        }
        const auto takeValue = [&]() -> Result<std::string> {
            if (value) return *value;
            if (i + 1 >= arguments.size()) return fail(name + " needs a value");
            return arguments[++i];
        };
        if (name == "--help") {
            command.help = true;
        } else if (name == "--json" && !value) {
            command.json = true;
        } else if (name == "--language") {
            auto text = takeValue();
            if (!text) return tl::unexpected(text.error());
            const auto language = learningLanguageFromRawValue(*text);
            if (!language) {
                return fail("unknown language \"" + *text + "\" (use chinese or japanese)");
            }
            command.language = *language;
            languageGiven = true;
        } else if (name == "--limit") {
            auto text = takeValue();
            if (!text) return tl::unexpected(text.error());
            std::int64_t limit = 0;
            const auto [end, error] =
                std::from_chars(text->data(), text->data() + text->size(), limit);
            if (error != std::errc() || end != text->data() + text->size() || limit < 0) {
                return fail("--limit needs a whole number of at least 0, not \"" + *text + "\"");
            }
            command.limit = limit;
        } else if (name == "--database") {
            auto text = takeValue();
            if (!text) return tl::unexpected(text.error());
            if (text->empty()) return fail("--database needs a file path");
            command.databasePath = *text;
        } else {
            return fail("unknown option " + name);
        }
    }
    if (command.help) return command;
    if (positional.empty()) return fail("missing command (expected \"search\")");
    if (positional.front() != "search")
        return fail("unknown command \"" + positional.front() + "\"");
    if (positional.size() < 2) return fail("search needs a QUERY");
    if (positional.size() > 2) {
        return fail("search takes one QUERY; quote a query that holds spaces");
    }
    if (!languageGiven) return fail("missing --language chinese|japanese");
    command.query = positional[1];
    return command;
}

std::string formatEntriesAsText(const std::vector<LexiconEntry>& entries) {
    std::string text;
    for (const LexiconEntry& entry : entries) {
        text += oneLine(entry.term) + '\t' + oneLine(entry.reading) + '\t' +
                (entry.meanings.empty() ? std::string() : oneLine(entry.meanings.front())) + '\n';
    }
    return text;
}

std::string formatEntriesAsJson(const std::vector<LexiconEntry>& entries) {
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (const LexiconEntry& entry : entries) {
        nlohmann::ordered_json object;
        object["id"] = entry.id;
        object["language"] = std::string(rawValue(entry.language));
        object["term"] = entry.term;
        object["alternate"] = entry.alternate;
        object["reading"] = entry.reading;
        object["romanization"] = entry.romanization;
        object["meanings"] = entry.meanings;
        object["frequencyRank"] = entry.frequencyRank;
        object["level"] = entry.level;
        object["isInCurriculum"] = entry.isInCurriculum;
        object["source"] = entry.source;
        object["partsOfSpeech"] = entry.partsOfSpeech;
        array.push_back(std::move(object));
    }
    // Replace rather than throw on text that is not UTF-8: the output must stay parseable.
    return array.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + '\n';
}

}  // namespace tessel
