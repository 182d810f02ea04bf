// SPDX-License-Identifier: GPL-3.0-or-later
// Times what opening the character panel costs on the interface thread: the character's look-up
// with the decoding and first frame of its drawing (180 pixels square, the panel's size, at one
// and two device pixels per pixel), and the look-up of the course words that use it. The
// characters are those of the language's first 3,000 course words. Prints median, 95th percentile
// and worst in milliseconds, wall-clock and thread CPU.
// Usage: character_bench [--database PATH]

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include <time.h>

#include "FixtureLexicon.h"
#include "HanCharacters.h"
#include "LexiconStore.h"
#include "StrokeOrderView.h"

namespace {

using namespace tessel;
using Clock = std::chrono::steady_clock;

double threadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct Samples {
    std::vector<double> wall, cpu;
    template <class Operation>
    void add(Operation&& operation) {
        const auto start = Clock::now();
        const double cpuStart = threadMilliseconds();
        operation();
        cpu.push_back(threadMilliseconds() - cpuStart);
        wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
};

void report(const std::string& name, Samples samples) {
    const auto line = [](std::vector<double>& values, double share) {
        std::sort(values.begin(), values.end());
        const auto index = static_cast<std::size_t>(share * double(values.size() - 1) + 0.5);
        return values.empty() ? 0.0 : values[index];
    };
    std::printf("%-34s %5zu %9.3f %9.3f %9.3f   %9.3f %9.3f %9.3f\n", name.c_str(),
                samples.wall.size(), line(samples.wall, 0.5), line(samples.wall, 0.95),
                line(samples.wall, 1.0), line(samples.cpu, 0.5), line(samples.cpu, 0.95),
                line(samples.cpu, 1.0));
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::string database = BRINDLE_REAL_LEXICON;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--database") database = argv[++i];
    }
    std::filesystem::path fixtureFolder;
    if (!std::filesystem::is_regular_file(database)) {
        fixtureFolder = std::filesystem::temp_directory_path() / "brindle-character-bench";
        std::filesystem::create_directories(fixtureFolder);
        std::cout << "The real lexicon is missing; timing the small test fixture instead.\n";
        database = buildFixtureLexicon(fixtureFolder.string());
        if (database.empty()) return 1;
    }
    auto store = LexiconStore::open(database);
    if (!store) {
        std::cerr << store.error().description << "\n";
        return 1;
    }
    std::cout << "lexicon: " << database << "\n";
    std::printf("%-34s %5s %9s %9s %9s   %9s %9s %9s\n", "operation (ms)", "n", "median", "p95",
                "worst", "cpu med", "cpu p95", "cpu max");

    for (const auto& [language, name] : {std::pair{LearningLanguage::chinese, "Chinese"},
                                         std::pair{LearningLanguage::japanese, "Japanese"}}) {
        auto lessons = (*store)->lessons(language, 3000);
        if (!lessons) return 1;
        std::set<std::string> seen;
        std::vector<std::string> characters;
        for (const LexiconLesson& lesson : *lessons) {
            for (std::string& c : hanCharacters(lesson.item.term)) {
                if (seen.insert(c).second) characters.push_back(std::move(c));
            }
        }
        for (const qreal ratio : {1.0, 2.0}) {
            Samples open;
            std::size_t drawn = 0;
            for (const std::string& character : characters) {
                open.add([&] {
                    auto found = (*store)->character(character, language);
                    if (!found || !*found) return;
                    StrokeOrderView view;
                    view.setSize(QSizeF(180, 180));
                    view.setStrokeData(
                        QByteArray((*found)->strokes.data(), qsizetype((*found)->strokes.size())));
                    QImage frame(QSize(180, 180) * ratio, QImage::Format_ARGB32_Premultiplied);
                    frame.setDevicePixelRatio(ratio);
                    frame.fill(Qt::white);
                    QPainter painter(&frame);
                    view.paint(&painter);
                    drawn += view.hasDrawing() ? 1 : 0;
                });
            }
            report(
                std::string(name) + " look-up + first frame @" + std::to_string(int(ratio)) + "x",
                open);
            if (ratio == 1.0)
                std::cout << "  (" << characters.size() << " characters, " << drawn
                          << " with a drawing)\n";
        }
        Samples words;
        for (const std::string& character : characters)
            words.add([&] { (void)(*store)->wordsWithCharacter(character, language, 8); });
        report(std::string(name) + " words with the character", words);
    }
    if (!fixtureFolder.empty()) std::filesystem::remove_all(fixtureFolder);
    return 0;
}
