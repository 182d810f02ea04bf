// SPDX-License-Identifier: GPL-3.0-or-later
#include <sqlite3.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HanCharacters.h"
#include "LexiconStore.h"
#include "LexiconTestSupport.h"
#include "StrokeDrawing.h"

namespace tessel {
namespace {

using testing::TemporaryFolder;

class CharacterStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_path = buildFixtureLexicon(m_folder.path().string());
        ASSERT_FALSE(m_path.empty());
        auto opened = LexiconStore::open(m_path);
        ASSERT_TRUE(opened) << opened.error().description;
        m_store = *opened;
    }

    std::vector<std::string> wordIds(const char* character, LearningLanguage language,
                                     std::int64_t limit) {
        auto words = m_store->wordsWithCharacter(character, language, limit);
        EXPECT_TRUE(words) << words.error().description;
        std::vector<std::string> ids;
        if (words) {
            for (const LexiconEntry& word : *words) ids.push_back(word.id);
        }
        return ids;
    }

    TemporaryFolder m_folder;
    std::string m_path;
    std::shared_ptr<LexiconStore> m_store;
};

TEST_F(CharacterStoreTest, FindsTheFactsAndStrokesOfACharacterInItsLanguage) {
    auto hao = m_store->character("好", LearningLanguage::chinese);
    ASSERT_TRUE(hao) << hao.error().description;
    ASSERT_TRUE(hao->has_value());
    EXPECT_EQ((*hao)->strokeCount, 3);
    EXPECT_EQ((*hao)->readings, (std::vector<std::string>{"hǎo", "hào"}));
    EXPECT_EQ((*hao)->meanings, (std::vector<std::string>{"good", "to be fond of"}));
    // The fixture's bytes were written by hand from the format's description.
    const auto drawing = decodeStrokeDrawing((*hao)->strokes);
    ASSERT_TRUE(drawing);
    EXPECT_EQ(drawing->kind, StrokeDrawing::Kind::strokesInOrder);
    ASSERT_EQ(drawing->strokes.size(), 3u);
    EXPECT_EQ(drawing->strokes[0].median, (std::vector<StrokePoint>{{220, 240}, {780, 240}}));
    EXPECT_EQ(drawing->strokes[1].outline[2].points[0], (StrokePoint{540, 860}));

    auto xue = m_store->character("学", LearningLanguage::japanese);
    ASSERT_TRUE(xue && xue->has_value());
    EXPECT_EQ((*xue)->kunReadings, (std::vector<std::string>{"まな.ぶ"}));
    EXPECT_EQ(std::tuple((*xue)->grade, (*xue)->jlpt, (*xue)->frequency), std::tuple(1, 4, 63));
    const auto diagram = decodeStrokeDrawing((*xue)->strokes);
    ASSERT_TRUE(diagram);
    EXPECT_EQ(diagram->kind, StrokeDrawing::Kind::numberedDiagram);

    auto sei = m_store->character("生", LearningLanguage::japanese);
    ASSERT_TRUE(sei && sei->has_value());
    EXPECT_TRUE((*sei)->strokes.empty()) << "facts without a drawing";

    for (const auto& [character, language] :
         {std::pair{"你", LearningLanguage::chinese}, std::pair{"学", LearningLanguage::chinese},
          std::pair{"好", LearningLanguage::japanese}, std::pair{"", LearningLanguage::chinese}}) {
        auto none = m_store->character(character, language);
        ASSERT_TRUE(none) << none.error().description;
        EXPECT_FALSE(none->has_value()) << character;
    }
}

TEST_F(CharacterStoreTest, WordsWithACharacterAreCourseWordsByFrequency) {
    EXPECT_EQ(wordIds("好", LearningLanguage::chinese, 10),
              (std::vector<std::string>{"zh-nihao", "zh-hao", "zh-haochi"}))
        << "好人 is not a course word";
    EXPECT_EQ(wordIds("好", LearningLanguage::chinese, 2),
              (std::vector<std::string>{"zh-nihao", "zh-hao"}));
    EXPECT_EQ(wordIds("食", LearningLanguage::japanese, 10),
              (std::vector<std::string>{"ja-taberu", "ja-tabemono"}));
    EXPECT_TRUE(wordIds("", LearningLanguage::chinese, 10).empty()) << "not every word";
    EXPECT_TRUE(wordIds("食", LearningLanguage::chinese, 10).empty());
}

TEST_F(CharacterStoreTest, ALexiconWithoutTheTableFailsTheLookUp) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(m_path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "DROP TABLE characters", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    auto reopened = LexiconStore::open(m_path);
    ASSERT_TRUE(reopened);
    auto lookup = (*reopened)->character("好", LearningLanguage::chinese);
    ASSERT_FALSE(lookup);
    EXPECT_EQ(lookup.error().description.rfind("The local lexicon query failed: ", 0), 0u);
}

TEST(HanCharactersTest, KeepsEachIdeographOnceInOrder) {
    const struct {
        std::string text;
        std::vector<std::string> characters;
    } cases[] = {
        {"食べる", {"食"}}, {"你好你", {"你", "好"}},
        {"T恤", {"恤"}},    {"時々", {"時", "々"}},
        {"カフェ OK", {}},  {"\xE5\xA5\xBD\xFF\xE4", {"好"}},  // ill-formed bytes are skipped
        {"𠀀", {"𠀀"}},                                        // beyond the basic plane
    };
    for (const auto& c : cases) EXPECT_EQ(hanCharacters(c.text), c.characters) << c.text;
}

}  // namespace
}  // namespace tessel
