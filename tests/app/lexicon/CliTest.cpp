// SPDX-License-Identifier: GPL-3.0-or-later
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <nlohmann/json.hpp>

#include "CliCommand.h"
#include "LexiconStore.h"
#include "LexiconTestSupport.h"

namespace tessel {
namespace {

using testing::TemporaryFolder;

TEST(CliCommandTest, ParsesSearchCommands) {
    const struct {
        std::vector<std::string> arguments;
        CliCommand expected;
    } cases[] = {
        {{"search", "你好", "--language", "chinese"},
         {false, "你好", LearningLanguage::chinese, 80, false, std::nullopt}},
        {{"--json", "search", "--language=japanese", "食べる", "--limit", "5"},
         {false, "食べる", LearningLanguage::japanese, 5, true, std::nullopt}},
        {{"search", "--database", "/tmp/x.sqlite", "--language", "japanese", "--", "--json"},
         {false, "--json", LearningLanguage::japanese, 80, false, "/tmp/x.sqlite"}},
        {{"search", "", "--language", "chinese", "--limit=0"},
         {false, "", LearningLanguage::chinese, 0, false, std::nullopt}},
        {{"--help"}, {true, "", LearningLanguage::chinese, 80, false, std::nullopt}},
        {{"search", "x", "--help"}, {true, "", LearningLanguage::chinese, 80, false, std::nullopt}},
    };
    for (const auto& c : cases) {
        auto command = parseCliCommand(c.arguments);
        ASSERT_TRUE(command) << command.error().description;
        EXPECT_EQ(*command, c.expected) << c.arguments.front();
    }
}

TEST(CliCommandTest, RejectsBadArguments) {
    const struct {
        std::vector<std::string> arguments;
        std::string message;
    } cases[] = {
        {{}, "missing command (expected \"search\")"},
        {{"find", "x", "--language", "chinese"}, "unknown command \"find\""},
        {{"search", "--language", "chinese"}, "search needs a QUERY"},
        {{"search", "ni", "hao", "--language", "chinese"},
         "search takes one QUERY; quote a query that holds spaces"},
        {{"search", "x"}, "missing --language chinese|japanese"},
        {{"search", "x", "--language", "Chinese"},
         "unknown language \"Chinese\" (use chinese or japanese)"},
        {{"search", "x", "--language"}, "--language needs a value"},
        {{"search", "x", "--language", "chinese", "--limit", "-1"},
         "--limit needs a whole number of at least 0, not \"-1\""},
        {{"search", "x", "--language", "chinese", "--limit", "5x"},
         "--limit needs a whole number of at least 0, not \"5x\""},
        {{"search", "x", "--language", "chinese", "--limit", "99999999999999999999"},
         "--limit needs a whole number of at least 0, not \"99999999999999999999\""},
        {{"search", "x", "--language", "chinese", "--verbose"}, "unknown option --verbose"},
        {{"search", "x", "--language", "chinese", "--database="}, "--database needs a file path"},
    };
    for (const auto& c : cases) {
        auto command = parseCliCommand(c.arguments);
        ASSERT_FALSE(command) << c.message;
        EXPECT_EQ(command.error().description, c.message);
    }
}

TEST(CliCommandTest, TextFormatKeepsOneEntryPerLine) {
    LexiconEntry plain{"a",
                       LearningLanguage::chinese,
                       "你好",
                       "",
                       "nǐ hǎo",
                       "nihao",
                       {"hello", "hi"},
                       1,
                       1,
                       true,
                       "CC-CEDICT",
                       {}};
    LexiconEntry odd = plain;
    odd.term = "a\tb";
    odd.reading = "line\nbreak";
    odd.meanings = {};
    EXPECT_EQ(formatEntriesAsText({plain, odd}), "你好\tnǐ hǎo\thello\na b\tline break\t\n");
    EXPECT_EQ(formatEntriesAsText({}), "");
}

struct CliRun {
    int status = -1;
    std::string output;
};

CliRun runCli(const std::string& arguments) {
    CliRun run;
    const std::string command = std::string(BRINDLE_CLI_PATH) + " " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> buffer{};
    std::size_t read = 0;
    while ((read = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        run.output.append(buffer.data(), read);
    }
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The command's JSON carries every field of the store's results, in the store's order.
TEST(CliProgramTest, JsonOutputMatchesTheStore) {
    TemporaryFolder folder;
    const std::string path = buildFixtureLexicon(folder.path().string());
    auto store = LexiconStore::open(path);
    ASSERT_TRUE(store);
    const struct {
        std::string query;
        LearningLanguage language;
    } cases[] = {{"好", LearningLanguage::chinese},
                 {"ok", LearningLanguage::chinese},
                 {"eat", LearningLanguage::japanese},
                 {"", LearningLanguage::japanese}};
    for (const auto& c : cases) {
        const std::string language(rawValue(c.language));
        const CliRun run = runCli("search '" + c.query + "' --language " + language +
                                  " --json --limit 10 --database '" + path + "'");
        ASSERT_EQ(run.status, 0) << c.query;
        const auto json = nlohmann::ordered_json::parse(run.output);
        const auto expected = (*store)->search(c.query, c.language, 10);
        ASSERT_TRUE(expected);
        ASSERT_EQ(json.size(), expected->size()) << c.query;
        for (std::size_t i = 0; i < json.size(); ++i) {
            const auto& object = json[i];
            const LexiconEntry& entry = (*expected)[i];
            EXPECT_EQ(object.begin().key(), "id");
            EXPECT_EQ(object.size(), 12u);
            EXPECT_EQ(object["id"], entry.id);
            EXPECT_EQ(object["language"], language);
            EXPECT_EQ(object["term"], entry.term);
            EXPECT_EQ(object["alternate"], entry.alternate);
            EXPECT_EQ(object["reading"], entry.reading);
            EXPECT_EQ(object["romanization"], entry.romanization);
            EXPECT_EQ(object["meanings"], nlohmann::ordered_json(entry.meanings));
            EXPECT_EQ(object["frequencyRank"], entry.frequencyRank);
            EXPECT_EQ(object["level"], entry.level);
            EXPECT_EQ(object["isInCurriculum"], entry.isInCurriculum);
            EXPECT_EQ(object["source"], entry.source);
            EXPECT_EQ(object["partsOfSpeech"], nlohmann::ordered_json(entry.partsOfSpeech));
        }
    }
    const CliRun text = runCli("search 好 --language chinese --limit 2 --database '" + path + "'");
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(text.output, "好\thǎo\tgood\n好吃\thǎochī\ttasty\n");
}

TEST(CliProgramTest, FailuresExitWithoutResults) {
    TemporaryFolder folder;
    const std::string missing = (folder.path() / "missing.sqlite").string();
    const struct {
        std::string arguments;
        int status;
    } cases[] = {
        {"search x --language chinese --database '" + missing + "'", 1},
        {"search x --language elvish", 2},
        {"search", 2},
        {"--help", 0},
    };
    for (const auto& c : cases) {
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        if (c.status != 0) {
            EXPECT_EQ(run.output, "") << c.arguments;
        }
    }
    EXPECT_NE(runCli("--help").output.find("--language"), std::string::npos);
}

}  // namespace
}  // namespace tessel
