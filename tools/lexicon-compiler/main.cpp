// SPDX-License-Identifier: GPL-3.0-or-later
// brindle-lexicon-compiler: builds the read-only lexicon "Tessel.sqlite" from the cached open
// dictionary and frequency files (see scripts/fetch-lexicon-sources.sh) and the hand-written
// starter set and source records under data/.

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <limits>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <vector>

#include "CharacterTable.h"
#include "ChineseLexicon.h"
#include "CourseBuilder.h"
#include "EdictParser.h"
#include "EvaluationReport.h"
#include "ExerciseSet.h"
#include "HanziStrokeData.h"
#include "JapaneseLexicon.h"
#include "JiebaFrequencies.h"
#include "JmdictPriorities.h"
#include "KanjiDictionary.h"
#include "KanjiStrokeFont.h"
#include "LexiconWriter.h"
#include "ProgressReporter.h"
#include "Romaji.h"
#include "SearchIndexWriter.h"
#include "SourceFiles.h"
#include "SourceRecords.h"
#include "TarArchive.h"
#include "Utf8.h"

namespace fs = std::filesystem;
using namespace tessel;
using namespace tessel::compiler;

namespace {

constexpr const char* kUsage =
    "Usage: brindle-lexicon-compiler --sources CACHE_DIR --data DATA_DIR [--check-lists DIR]\n"
    "                                --out FILE\n"
    "\n"
    "Builds the Brindle lexicon database FILE (for example resources/Tessel.sqlite) from the\n"
    "open-data files that scripts/fetch-lexicon-sources.sh placed in CACHE_DIR and from\n"
    "exercises.json and sources.json in DATA_DIR. With --check-lists, scores each course\n"
    "against the first-year word lists ja_everyday_150.tsv and zh_everyday_150.tsv in DIR.\n";

// Every common Japanese word that is eligible (about 18,000 once spelling variants are merged):
// the common lists are what JMdict itself calls everyday vocabulary, and filling a fixed size
// would add newspaper words no list marks as common.
constexpr CoursePlan kJapaneseCourse{std::numeric_limits<std::size_t>::max(), 12000};

struct Options {
    fs::path sources;
    fs::path data;
    fs::path out;
    fs::path checkLists;  // optional
};

Result<Options> parseArguments(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        fs::path* target = argument == "--sources"       ? &options.sources
                           : argument == "--data"        ? &options.data
                           : argument == "--out"         ? &options.out
                           : argument == "--check-lists" ? &options.checkLists
                                                         : nullptr;
        if (target == nullptr || i + 1 >= argc) {
            return fail("unexpected argument \"" + std::string(argument) + "\"");
        }
        *target = argv[++i];
    }
    if (options.sources.empty() || options.data.empty() || options.out.empty()) {
        return fail("--sources, --data and --out are all required");
    }
    return options;
}

std::string grouped(std::size_t number) {
    const std::string digits = std::to_string(number);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(',');
        out.push_back(digits[i]);
    }
    return out;
}

void describeCourse(ProgressReporter& progress, const char* language, const CourseSummary& s) {
    std::string bands;
    for (std::size_t b = 0; b < s.courseBandSizes.size(); ++b) {
        bands += (b ? ", " : "") + std::to_string(b + 1) + ": " + grouped(s.courseBandSizes[b]);
    }
    std::string thresholds;
    for (std::size_t b = 0; b < s.bandThresholds.size(); ++b) {
        thresholds += (b ? ", " : "") + grouped(static_cast<std::size_t>(s.bandThresholds[b]));
    }
    progress.note(std::string(language) + ": " + grouped(s.referenceEntries) + " entries, " +
                  grouped(s.rankedEntries) + " ranked, course " + grouped(s.courseEntries) +
                  " (bands " + bands + "; band ends at ranks " + thresholds + ")");
}

// Thrown only inside this file so that a failure unwinds the stack and the writer removes its
// temporary file; `main` turns it into a message and exit status 1.
struct CompileFailure {
    std::string message;
};

// A romaji typed as an answer or a query must stand for one reading: two readings that
// sound different but share a spelling stop the build.
Result<void> checkRomajiSpellings(const RankedEntries& japanese) {
    std::vector<std::string_view> readings;
    readings.reserve(japanese.entries.size());
    for (const CompiledEntry& entry : japanese.entries) readings.push_back(entry.reading);
    const std::vector<RomajiCollision> collisions = romajiCollisions(readings);
    if (collisions.empty()) return {};
    std::string message = std::to_string(collisions.size()) + " romaji spell two readings:";
    for (std::size_t i = 0; i < collisions.size() && i < 20; ++i) {
        message += " \"" + collisions[i].romaji + "\" (" + collisions[i].firstReading + ", " +
                   collisions[i].otherReading + ")";
    }
    return fail(message);
}

template <class T>
T orExit(Result<T> result) {
    if (!result) throw CompileFailure{result.error().description};
    if constexpr (!std::is_void_v<T>) return std::move(*result);
}

int run(const Options& options) {
    ProgressReporter progress({{"Reading CC-CEDICT", 6},
                               {"Reading jieba word counts", 3},
                               {"Reading the Rime essay", 3},
                               {"Ranking Chinese entries", 6},
                               {"Reading EDICT", 10},
                               {"Reading JMdict priorities", 8},
                               {"Reading KANJIDIC2", 2},
                               {"Ranking Japanese entries", 8},
                               {"Reading stroke order data", 4},
                               {"Building characters", 6},
                               {"Checking the starter exercises", 1},
                               {"Checking source files", 2},
                               {"Writing vocabulary", 30},
                               {"Writing exercises and sources", 1},
                               {"Writing characters", 2},
                               {"Indexing", 10},
                               {"Analyzing and compacting", 15}},
                              stderr);

    progress.begin("Reading CC-CEDICT");
    const std::string cedictModule = orExit(readWholeFile(options.sources / "cedict_ts.u8.js"));
    const std::string_view cedictText = orExit(unwrapCedictModule(cedictModule));
    const CedictText cedict = parseCedict(cedictText);
    if (cedict.records.empty()) orExit<void>(fail("CC-CEDICT holds no records"));
    progress.note("CC-CEDICT: " + grouped(cedict.records.size()) + " records, " +
                  grouped(cedict.skippedLines) + " invalid lines skipped");

    progress.begin("Reading jieba word counts");
    const WordFrequencies jieba =
        parseWordFrequencies(orExit(readWholeFile(options.sources / "jieba-dict.txt")));
    if (jieba.words.empty()) orExit<void>(fail("the jieba dictionary holds no words"));
    progress.note("jieba: " + grouped(jieba.words.size()) + " words, " +
                  grouped(jieba.skippedLines) + " invalid lines skipped");

    progress.begin("Reading the Rime essay");
    const WordFrequencies essay =
        parseWordFrequencies(orExit(readWholeFile(options.sources / "essay.txt")));
    if (essay.words.empty()) orExit<void>(fail("the Rime essay holds no words"));
    progress.note("Rime essay: " + grouped(essay.words.size()) + " words, " +
                  grouped(essay.skippedLines) + " invalid lines skipped");

    progress.begin("Ranking Chinese entries");
    RankedEntries chinese = buildChineseEntries(cedict, jieba, essay);
    const CourseSummary chineseCourse = orExit(assignCourse(chinese, CoursePlan{}));
    describeCourse(progress, "Chinese", chineseCourse);

    progress.begin("Reading EDICT");
    const std::string edictText =
        orExit(decodeEucJp(orExit(readWholeFile(options.sources / "edict"))));
    progress.update(0.5);
    const EdictText edict = parseEdict(edictText);
    if (edict.lines.empty()) orExit<void>(fail("EDICT holds no entries"));
    progress.note("EDICT: " + grouped(edict.lines.size()) + " lines, " +
                  grouped(edict.skippedLines) + " invalid lines skipped");

    progress.begin("Reading JMdict priorities");
    const PriorityIndex priorities = PriorityIndex::fromDictionary(
        orExit(readGzipFile(options.sources / "freedict-jpn-eng.dict.dz")));
    if (priorities.entryCount() == 0) orExit<void>(fail("the JMdict file holds no entries"));
    progress.note("JMdict priorities: " + grouped(priorities.entryCount()) + " entries");

    progress.begin("Reading KANJIDIC2");
    const KanjiDictionary kanji =
        parseKanjiDictionary(orExit(readGzipFile(options.sources / "kanjidic2.xml.gz")));
    if (kanji.characters.empty()) orExit<void>(fail("KANJIDIC2 holds no characters"));
    progress.note("KANJIDIC2: " + grouped(kanji.characters.size()) + " characters");

    progress.begin("Ranking Japanese entries");
    RankedEntries japanese = buildJapaneseEntries(edict, priorities, kanji);
    orExit(checkRomajiSpellings(japanese));
    const CourseSummary japaneseCourse = orExit(assignCourse(japanese, kJapaneseCourse));
    describeCourse(progress, "Japanese", japaneseCourse);

    progress.begin("Reading stroke order data");
    const std::string strokeArchive =
        orExit(readGzipFile(options.sources / "archives" / "hanzi-writer-data-2.0.1.tgz"));
    const std::vector<TarMember> strokeMembers = orExit(readTarArchive(strokeArchive));
    const std::map<std::string, std::string_view> strokeFiles = hanziStrokeFiles(strokeMembers);
    if (strokeFiles.empty()) orExit<void>(fail("hanzi-writer-data holds no stroke files"));
    progress.note("hanzi-writer-data: " + grouped(strokeFiles.size()) + " characters");
    const KanjiStrokeFont strokeFont =
        orExit(KanjiStrokeFont::open(options.sources / "KanjiStrokeOrders_v4.003.ttf"));

    progress.begin("Building characters");
    // A stroke file of the pinned package that does not parse stops the build rather than
    // leaving a character silently without its drawing.
    const StrokeSource chineseStrokes = [&](const std::string& character) {
        const auto found = strokeFiles.find(character);
        if (found == strokeFiles.end()) return std::optional<StrokeDrawing>();
        auto drawing = parseHanziStrokes(found->second);
        if (!drawing) orExit<void>(fail(character + ".json: " + drawing.error().description));
        return std::optional<StrokeDrawing>(std::move(*drawing));
    };
    const StrokeSource japaneseDiagrams = [&](const std::string& character) {
        const utf8::Decoded decoded = utf8::decode(character, 0);
        if (decoded.length != character.size()) return std::optional<StrokeDrawing>();
        return strokeFont.diagram(decoded.scalar);
    };
    const std::vector<CharacterRow> chineseCharacters =
        buildChineseCharacters(chinese, chineseStrokes);
    progress.update(0.5);
    const std::vector<CharacterRow> japaneseCharacters =
        buildJapaneseCharacters(japanese, kanji, japaneseDiagrams);
    for (const auto& [language, rows] :
         {std::pair{"Chinese", &chineseCharacters}, std::pair{"Japanese", &japaneseCharacters}}) {
        std::size_t drawn = 0, bytes = 0;
        for (const CharacterRow& row : *rows) {
            drawn += row.strokes.empty() ? 0 : 1;
            bytes += row.strokes.size();
        }
        progress.note(std::string(language) + " characters: " + grouped(rows->size()) + ", " +
                      grouped(drawn) + " with stroke order (" + grouped(bytes) + " bytes)");
    }

    if (!options.checkLists.empty()) {
        for (const auto& [language, file, ranked] :
             {std::tuple{"Chinese", "zh_everyday_150.tsv", &chinese},
              std::tuple{"Japanese", "ja_everyday_150.tsv", &japanese}}) {
            const bool withReadings = ranked == &japanese;
            const auto words = orExit(
                parseCheckList(orExit(readWholeFile(options.checkLists / file)), withReadings));
            progress.note(std::string(language) + " first-year check (" + file +
                          "): " + describeScore(scoreCourse(*ranked, words)));
        }
    }

    progress.begin("Checking the starter exercises");
    const fs::path exerciseFile = options.data / "exercises.json";
    std::vector<Exercise> exercises = orExit(parseExercises(orExit(readWholeFile(exerciseFile))));
    orExit(resolveExercises(exercises, {&chinese, &japanese}));
    std::sort(exercises.begin(), exercises.end(),
              [](const Exercise& a, const Exercise& b) { return a.id < b.id; });
    progress.note("starter set: " + grouped(exercises.size()) + " exercises");

    progress.begin("Checking source files");
    std::vector<SourceRecord> sources =
        orExit(parseSourceRecords(orExit(readWholeFile(options.data / "sources.json"))));
    orExit(checksumSources(sources, options.sources, options.data));

    progress.begin("Writing vocabulary");
    LexiconWriter writer = orExit(LexiconWriter::create(options.out));
    std::vector<const CompiledEntry*> rows;
    rows.reserve(chinese.entries.size() + japanese.entries.size());
    for (const RankedEntries* language : {&chinese, &japanese}) {
        for (std::size_t index : language->order) rows.push_back(&language->entries[index]);
    }
    orExit(writer.writeVocabulary(rows, [&](double share) { progress.update(share); }));

    progress.begin("Writing exercises and sources");
    orExit(writer.writeExercises(exercises));
    orExit(writer.writeSources(sources));

    progress.begin("Writing characters");
    orExit(writer.writeCharacters(chineseCharacters));
    orExit(writer.writeCharacters(japaneseCharacters));

    progress.begin("Indexing");
    orExit(writer.createIndexes());
    orExit(writeSearchIndex(writer.connection()));

    progress.begin("Analyzing and compacting");
    orExit(writer.finish());
    std::error_code ignored;
    progress.note("wrote " + options.out.string() + " (" +
                  grouped(static_cast<std::size_t>(fs::file_size(options.out, ignored))) +
                  " bytes)");
    progress.done();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--help" || std::string_view(argv[i]) == "-h") {
            std::cout << kUsage;
            return 0;
        }
    }
    auto options = parseArguments(argc, argv);
    if (!options) {
        std::cerr << "brindle-lexicon-compiler: " << options.error().description << "\n\n"
                  << kUsage;
        return 2;
    }
    try {
        return run(*options);
    } catch (const CompileFailure& failure) {
        std::cerr << "\nbrindle-lexicon-compiler: error: " << failure.message << "\n";
        return 1;
    } catch (const std::exception& unexpected) {
        // For example text that is not UTF-8 reaching the JSON writer: never a silent success.
        std::cerr << "\nbrindle-lexicon-compiler: error: " << unexpected.what() << "\n";
        return 1;
    }
}
