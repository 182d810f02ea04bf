// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "LexiconWriter.h"
#include "ProgressReporter.h"

namespace tessel::compiler {
namespace {

namespace fs = std::filesystem;

class LexiconWriterTest : public testing::Test {
  protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() /
                   ("brindle-writer-test-" +
                    std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_folder);
        m_destination = m_folder / "resources" / "Tessel.sqlite";
    }
    void TearDown() override { fs::remove_all(m_folder); }

    static CompiledEntry entry(std::string id, std::string term, int rank) {
        CompiledEntry e;
        e.id = std::move(id);
        e.language = e.id.substr(0, 2);
        e.term = std::move(term);
        e.reading = "r";
        e.meanings = {"first \"quoted\"", "second"};
        e.frequencyRank = rank;
        e.level = 1;
        e.learnable = true;
        e.source = "S";
        return e;
    }

    std::vector<std::string> column(const std::string& sql) {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open_v2(m_destination.c_str(), &db, SQLITE_OPEN_READONLY, nullptr),
                  SQLITE_OK);
        sqlite3_stmt* statement = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), SQLITE_OK) << sql;
        std::vector<std::string> values;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            const auto* text = sqlite3_column_text(statement, 0);
            values.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
        }
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return values;
    }

    std::size_t filesInFolder() const {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& item :
             fs::directory_iterator(m_destination.parent_path())) {
            ++count;
        }
        return count;
    }

    fs::path m_folder;
    fs::path m_destination;
};

using Strings = std::vector<std::string>;

TEST_F(LexiconWriterTest, WritesTheThreeTablesWithTheirColumns) {
    auto writer = LexiconWriter::create(m_destination);
    ASSERT_TRUE(writer.has_value()) << writer.error().description;
    const CompiledEntry a = entry("zh-a", "你好", 2), b = entry("ja-b", "食べる", 1);
    ASSERT_TRUE(writer->writeVocabulary({&a, &b}, {}).has_value());
    Exercise exercise{"ex-zh-001", "zh",     "你好", "r",    "___！", "Hello!",
                      "n",         {"你好"}, "own",  "zh-a", ""};
    Exercise japanese{"ex-ja-001", "ja",       "食べる", "たべる", "パンを___。", "I eat bread.",
                      "n",         {"食べる"}, "own",    "ja-b",   "ぱんを___。"};
    ASSERT_TRUE(writer->writeExercises({exercise, japanese}).has_value());
    SourceRecord source{"s", "Source", "https://x", "MIT", "", "attr", "f", "", "00ff"};
    ASSERT_TRUE(writer->writeSources({source}).has_value());
    ASSERT_TRUE(writer->createIndexes().has_value());
    ASSERT_TRUE(writer->finish().has_value());

    EXPECT_EQ(
        column("SELECT name FROM pragma_table_info('vocabulary')"),
        (Strings{"id", "language", "term", "alternate", "reading", "romanization", "meanings_json",
                 "frequency_rank", "level", "learnable", "source", "part_of_speech_json"}));
    EXPECT_EQ(column("SELECT name FROM pragma_table_info('exercises')"),
              (Strings{"id", "vocabulary_id", "prompt", "translation", "note",
                       "accepted_answers_json", "attribution"}));
    EXPECT_EQ(column("SELECT name FROM pragma_table_info('sources')"),
              (Strings{"id", "display_name", "url", "license", "license_url", "attribution",
                       "source_sha256"}));

    EXPECT_EQ(column("SELECT id FROM vocabulary ORDER BY rowid"), (Strings{"zh-a", "ja-b"}));
    EXPECT_EQ(column("SELECT meanings_json || part_of_speech_json FROM vocabulary WHERE id='zh-a'"),
              Strings{R"(["first \"quoted\"","second"][])"});
    EXPECT_EQ(column("SELECT accepted_answers_json FROM exercises WHERE id='ex-zh-001'"),
              Strings{R"(["你好"])"});
    EXPECT_EQ(column("SELECT exercise_id || ' ' || prompt_reading FROM exercise_readings"),
              Strings{"ex-ja-001 ぱんを___。"})
        << "only exercises with a reading have a row";
    EXPECT_EQ(column("SELECT source_sha256 FROM sources"), Strings{"00ff"});
    EXPECT_EQ(filesInFolder(), 1u) << "only the finished lexicon is left";
}

TEST_F(LexiconWriterTest, WritesCharactersWithTheirStrokesOrNull) {
    auto writer = LexiconWriter::create(m_destination);
    ASSERT_TRUE(writer.has_value());
    CharacterRow drawn{"zh",     "好", 6, {"hǎo"}, {},
                       {"good"}, 0,    0, 0,       std::string("\x01\x01\x00\x00\x00", 5)};
    CharacterRow plain{"ja", "好", 6, {"コウ"}, {"この.む"}, {"fond"}, 4, 2, 424, ""};
    ASSERT_TRUE(writer->writeCharacters({drawn, plain}).has_value());
    ASSERT_TRUE(writer->finish().has_value());
    // The columns the store reads (tests/data/lexicon-fixture.sql has the same table).
    EXPECT_EQ(
        column("SELECT name FROM pragma_table_info('characters')"),
        (Strings{"language", "character", "stroke_count", "readings_json", "kun_readings_json",
                 "meanings_json", "grade", "jlpt", "frequency", "strokes"}));
    EXPECT_EQ(column("SELECT language || hex(strokes) || kun_readings_json || grade || jlpt || "
                     "frequency FROM characters ORDER BY language"),
              (Strings{"ja[\"この.む\"]42424", "zh0101000000[]000"}))
        << "no strokes: NULL";
}

TEST_F(LexiconWriterTest, AFailedBuildLeavesNoFileBehind) {
    {
        auto writer = LexiconWriter::create(m_destination);
        ASSERT_TRUE(writer.has_value());
        const CompiledEntry a = entry("zh-a", "一", 1), twin = entry("zh-a", "二", 2);
        auto written = writer->writeVocabulary({&a, &twin}, {});
        ASSERT_FALSE(written.has_value()) << "two entries with one id";
        EXPECT_NE(written.error().description.find("zh-a"), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(m_destination));
    EXPECT_EQ(filesInFolder(), 0u);
}

TEST(ProgressReporterTest, WeighsPhasesIntoOverallPercentages) {
    ProgressReporter progress({{"a", 1}, {"b", 3}, {"c", 6}}, nullptr);
    const std::tuple<std::size_t, double, int> cases[] = {
        {0, 0.0, 0},   {0, 1.0, 10},  {1, 0.5, 25},  {2, 0.0, 40},
        {2, 1.0, 100}, {2, 7.0, 100}, {1, -1.0, 10},
    };
    for (const auto& [phase, fraction, percent] : cases) {
        EXPECT_EQ(progress.percentFor(phase, fraction), percent) << phase << " " << fraction;
    }
}

}  // namespace
}  // namespace tessel::compiler
