// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "CharacterTable.h"
#include "HanziStrokeData.h"
#include "TarArchive.h"

namespace tessel::compiler {
namespace {

using Strings = std::vector<std::string>;

// One tar entry: a 512-byte ustar header and the content padded to whole blocks.
std::string tarEntry(const std::string& name, const std::string& content, char type = '0') {
    std::string header(512, '\0');
    header.replace(0, std::min<std::size_t>(name.size(), 99), name.substr(0, 99));
    char size[12];
    std::snprintf(size, sizeof size, "%011o", static_cast<unsigned>(content.size()));
    header.replace(124, 11, size);
    header[156] = type;
    header.replace(257, 6, std::string("ustar\0", 6));
    std::string padded = content;
    padded.resize((content.size() + 511) / 512 * 512, '\0');
    return header + padded;
}

// A pax header naming the next entry, as npm writes one for every non-ASCII path.
std::string paxPath(const std::string& path) {
    std::string record = " path=" + path + "\n";
    std::string length = std::to_string(record.size() + 2);
    if (length.size() + record.size() != std::stoul(length))
        length = std::to_string(record.size() + length.size());
    return tarEntry("PaxHeader/x", length + record, 'x');
}

TEST(TarArchiveTest, ListsRegularFilesWithTheirPaxPaths) {
    const std::string archive = tarEntry("package/", "", '5') +
                                tarEntry("package/package.json", "{\"version\":\"2.0.1\"}") +
                                paxPath("package/你.json") + tarEntry("package/x.json", "[1]") +
                                std::string(1024, '\0');
    auto members = readTarArchive(archive);
    ASSERT_TRUE(members) << members.error().description;
    ASSERT_EQ(members->size(), 2u);
    EXPECT_EQ((*members)[0].path, "package/package.json");
    EXPECT_EQ((*members)[0].content, "{\"version\":\"2.0.1\"}");
    EXPECT_EQ((*members)[1].path, "package/你.json") << "the pax path wins over the short name";
    EXPECT_EQ((*members)[1].content, "[1]");

    const std::string truncated = tarEntry("a.json", std::string(600, 'x')).substr(0, 700);
    EXPECT_FALSE(readTarArchive(truncated)) << "an entry running past the end";
}

TEST(HanziStrokeDataTest, ReadsStrokesIntoTheDrawingBox) {
    const auto drawing = parseHanziStrokes(
        R"({"strokes": ["M 100 800 L 900 800 Q 950 700 900 600 Z", "M 500 -100 C 1 2 3 4 5 6"],
            "medians": [[[110, 790], [890, 790]], [[500, -90]]]})");
    ASSERT_TRUE(drawing) << drawing.error().description;
    ASSERT_EQ(drawing->strokes.size(), 2u);
    const auto& first = drawing->strokes[0];
    ASSERT_EQ(first.outline.size(), 4u);
    EXPECT_EQ(first.outline[0].points[0], (StrokePoint{100, 100})) << "y flipped below 900";
    EXPECT_EQ(first.outline[2].kind, PathElement::Kind::quadTo);
    EXPECT_EQ(first.outline[2].points[1], (StrokePoint{900, 300}));
    EXPECT_EQ(first.outline[3].kind, PathElement::Kind::close);
    EXPECT_EQ(first.median, (std::vector<StrokePoint>{{110, 110}, {890, 110}}));
    EXPECT_EQ(drawing->strokes[1].outline[1].points[2], (StrokePoint{5, 894}));

    for (const char* bad : {R"({"strokes": ["M 1 2 A 3 4"], "medians": [[]]})",
                            R"({"strokes": ["M 1"], "medians": [[]]})",
                            R"({"strokes": ["M 1 2"], "medians": []})", "not json"}) {
        EXPECT_FALSE(parseHanziStrokes(bad)) << bad;
    }
}

TEST(HanziStrokeDataTest, FindsTheCharacterFilesOfThePackage) {
    const std::vector<TarMember> members = {{"package/你.json", "a"},
                                            {"package/package.json", "b"},
                                            {"package/APL/gb/x.json", "c"},
                                            {"package/index.js", "d"},
                                            {"package/好.json", "e"}};
    const auto files = hanziStrokeFiles(members);
    EXPECT_EQ(files, (std::map<std::string, std::string_view>{{"你", "a"}, {"好", "e"}}));
}

CompiledEntry entry(std::string term, std::string reading, Strings meanings, bool course) {
    CompiledEntry e;
    e.term = std::move(term);
    e.reading = std::move(reading);
    e.meanings = std::move(meanings);
    e.learnable = course;
    return e;
}

RankedEntries ranked(std::vector<CompiledEntry> entries) {
    RankedEntries out;
    out.entries = std::move(entries);
    for (std::size_t i = 0; i < out.entries.size(); ++i) out.order.push_back(i);
    return out;
}

StrokeDrawing drawingOf(std::size_t strokes) {
    StrokeDrawing drawing;
    drawing.strokes.resize(strokes);
    return drawing;
}

TEST(CharacterTableTest, ChineseRowsTakeReadingsFromTheCharactersOwnEntries) {
    const RankedEntries chinese = ranked({
        entry("你好", "nǐ hǎo", {"hello"}, true),
        entry("好", "hǎo", {"good", "well"}, true),
        entry("好", "hào", {"to be fond of", "good"}, false),
        entry("张", "Zhāng", {"surname Zhang"}, false),
        entry("张", "zhāng", {"m1", "m2", "m3", "m4", "m5", "m6", "m7", "m8", "m9"}, false),
        entry("OK绷", "ōukèibēng", {"band-aid"}, false),
    });
    const StrokeSource strokes = [](const std::string& character) {
        return character == "你" ? std::optional(drawingOf(7)) : std::nullopt;
    };
    const std::vector<CharacterRow> rows = buildChineseCharacters(chinese, strokes);
    ASSERT_EQ(rows.size(), 3u) << "绷 has neither its own entry nor strokes";
    EXPECT_EQ(rows[0].character, "你");
    EXPECT_EQ(rows[0].strokeCount, 7);
    EXPECT_TRUE(rows[0].readings.empty());
    EXPECT_EQ(decodeStrokeDrawing(rows[0].strokes), drawingOf(7));
    EXPECT_EQ(rows[1].character, "好");
    EXPECT_EQ(rows[1].readings, (Strings{"hǎo", "hào"}));
    EXPECT_EQ(rows[1].meanings, (Strings{"good", "well", "to be fond of"}));
    EXPECT_TRUE(rows[1].strokes.empty());
    EXPECT_EQ(rows[2].readings, (Strings{"zhāng"})) << "the surname's capital is not a reading";
    EXPECT_EQ(rows[2].meanings.size(), kCharacterMeanings);
    EXPECT_EQ(rows[2].language, "zh");
}

TEST(CharacterTableTest, JapaneseRowsDrawRankedAndCourseKanjiOnly) {
    const KanjiDictionary kanji = parseKanjiDictionary(
        "<character>\n<literal>食</literal>\n<grade>2</grade>\n<stroke_count>9</stroke_count>\n"
        "<jlpt>4</jlpt>\n<reading r_type=\"ja_on\">ショク</reading>\n"
        "<reading r_type=\"ja_kun\">た.べる</reading>\n<meaning>eat</meaning>\n</character>\n"
        "<character>\n<literal>鯨</literal>\n<stroke_count>19</stroke_count>\n</character>\n"
        "<character>\n<literal>猫</literal>\n<stroke_count>11</stroke_count>\n</character>\n");
    const RankedEntries japanese = ranked({
        entry("食べる", "たべる", {"to eat"}, false),
        entry("鯨", "くじら", {"whale"}, false),
        entry("猫", "ねこ", {"cat"}, true),
        entry("仝", "どう", {"same"}, false),
        entry("カフェ", "かふぇ", {"café"}, true),
    });
    const StrokeSource diagrams = [](const std::string&) { return std::optional(drawingOf(1)); };
    const std::vector<CharacterRow> rows = buildJapaneseCharacters(japanese, kanji, diagrams);
    std::map<std::string, CharacterRow> byCharacter;
    for (const CharacterRow& row : rows) byCharacter[row.character] = row;
    ASSERT_EQ(byCharacter.size(), 3u) << "仝 is not in KANJIDIC2, so it has no row";
    const CharacterRow& eat = byCharacter["食"];
    EXPECT_EQ(std::tuple(eat.strokeCount, eat.grade, eat.jlpt), std::tuple(9, 2, 4));
    EXPECT_EQ(eat.readings, Strings{"ショク"});
    EXPECT_EQ(eat.kunReadings, Strings{"た.べる"});
    EXPECT_FALSE(eat.strokes.empty()) << "ranked by KANJIDIC2";
    EXPECT_FALSE(byCharacter["猫"].strokes.empty()) << "a course word's kanji";
    EXPECT_TRUE(byCharacter["鯨"].strokes.empty()) << "neither ranked nor in the course";
    EXPECT_EQ(byCharacter["鯨"].strokeCount, 19);
}

}  // namespace
}  // namespace tessel::compiler
