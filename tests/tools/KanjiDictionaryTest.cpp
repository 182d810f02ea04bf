// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "KanjiDictionary.h"

namespace tessel::compiler {
namespace {

TEST(KanjiDictionaryTest, ReadsTheFactsOfEachCharacter) {
    const KanjiDictionary dictionary = parseKanjiDictionary(
        "<kanjidic2>\n<header>\n<file_version>4</file_version>\n</header>\n"
        "<character>\n<literal>亜</literal>\n<misc>\n<grade>8</grade>\n"
        "<stroke_count>7</stroke_count>\n<stroke_count>8</stroke_count>\n<freq>1509</freq>\n"
        "<jlpt>1</jlpt>\n</misc>\n<reading_meaning>\n<rmgroup>\n"
        "<reading r_type=\"pinyin\">ya4</reading>\n<reading r_type=\"ja_on\">ア</reading>\n"
        "<reading r_type=\"ja_kun\">つ.ぐ</reading>\n<meaning>Asia</meaning>\n"
        "<meaning>rank &amp; file</meaning>\n<meaning m_lang=\"fr\">Asie</meaning>\n"
        "</rmgroup>\n</reading_meaning>\n</character>\n"
        "<character>\n<misc>\n<grade>1</grade>\n</misc>\n</character>\n"  // no literal
        "<character>\n<literal>丂</literal>\n</character>\n"
        "</kanjidic2>\n");
    ASSERT_EQ(dictionary.characters.size(), 2u);
    EXPECT_EQ(dictionary.skippedCharacters, 1u);
    const KanjiRecord* a = dictionary.find("亜");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(*a, (KanjiRecord{"亜", 8, 7, 1509, 1, {"ア"}, {"つ.ぐ"}, {"Asia", "rank & file"}}));
    KanjiRecord bare;
    bare.literal = "丂";
    EXPECT_EQ(*dictionary.find("丂"), bare) << "no facts: all zero and empty";
    EXPECT_EQ(dictionary.find("人"), nullptr);
}

}  // namespace
}  // namespace tessel::compiler
