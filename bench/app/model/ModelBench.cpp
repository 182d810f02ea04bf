// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the application model on the main thread: start-up with the selected language's
// content, recomputing the plan over a large course, and rating one card.
//
// model_bench [--runs N]
// Uses resources/Tessel.sqlite for the start-up figure when it exists, else the fixture lexicon;
// the plan and rating figures use a generated course of 40,000 lessons with 10,000 cards.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <sqlite3.h>
#include <time.h>

#include "AppModel.h"
#include "FixtureLexicon.h"
#include "JSONProgressStore.h"

using namespace tessel;

namespace {

constexpr int kLessons = 40000;
constexpr int kCards = 10000;

// Wall time and the main thread's own processor time: on a shared machine the second shows
// the work itself, the first also the waits for a processor.
struct Sample {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    double cpu = threadCpuMs();

    static double threadCpuMs() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
    }
};

struct Figures {
    std::vector<double> wall;
    std::vector<double> cpu;

    void add(const Sample& start) {
        wall.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start.wall)
                .count());
        cpu.push_back(Sample::threadCpuMs() - start.cpu);
    }
    std::size_t size() const { return wall.size(); }

    static double quantile(std::vector<double> values, double q) {
        std::sort(values.begin(), values.end());
        return values[std::min(values.size() - 1, static_cast<std::size_t>(q * values.size()))];
    }
    void print(const char* name, double limit) const {
        const double cpuMedian = quantile(cpu, 0.5);
        std::printf(
            "%-42s runs %3zu  wall median %8.3f p95 %8.3f max %8.3f ms | main-thread "
            "cpu median %8.3f p95 %8.3f ms  (limit %.0f ms: %s)\n",
            name, wall.size(), quantile(wall, 0.5), quantile(wall, 0.95), quantile(wall, 1.0),
            cpuMedian, quantile(cpu, 0.95), limit,
            quantile(wall, 0.5) <= limit ? "ok" : (cpuMedian <= limit ? "ok on cpu" : "OVER"));
    }
};

void waitUntil(const std::function<bool()>& done) {
    while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

// The fixture lexicon plus 40,000 generated Chinese course words, 400 of them with an exercise.
std::string buildLargeLexicon(const std::string& dir) {
    const std::string path = buildFixtureLexicon(dir);
    if (path.empty()) return {};
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* word = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO vocabulary VALUES (?, 'zh', ?, '', ?, ?, ?, ?, ?, 1, "
                       "'Generated', '[\"noun\"]')",
                       -1, &word, nullptr);
    sqlite3_stmt* exercise = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO exercises VALUES (?, ?, '他有___。', 'He has one.', 'Note.', "
                       "'[]', 'Generated')",
                       -1, &exercise, nullptr);
    for (int i = 0; i < kLessons; ++i) {
        const std::string id = "zh-gen-" + std::to_string(i);
        const std::string term = "词" + std::to_string(i);
        const std::string reading = "ci" + std::to_string(i);
        const std::string meanings = "[\"meaning " + std::to_string(i) + "\"]";
        sqlite3_bind_text(word, 1, id.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(word, 2, term.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(word, 3, reading.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(word, 4, reading.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(word, 5, meanings.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(word, 6, 1000 + i);
        sqlite3_bind_int(word, 7, 1 + i % 6);
        sqlite3_step(word);
        sqlite3_reset(word);
        if (i % 100 == 0) {
            const std::string exerciseID = "ex-gen-" + std::to_string(i);
            sqlite3_bind_text(exercise, 1, exerciseID.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(exercise, 2, id.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_step(exercise);
            sqlite3_reset(exercise);
        }
    }
    sqlite3_finalize(word);
    sqlite3_finalize(exercise);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return path;
}

// 10,000 reviewed cards over the generated words (every exercise among them, half of the cards
// due), and a year of daily figures in both languages.
LearnerProgress largeProgress(Instant now) {
    LearnerProgress progress;
    const Calendar cal = Calendar::withTimeZone("America/New_York");
    for (int i = 0; i < kCards; ++i) {
        const int word = (i * 4) % kLessons;
        CardProgress card;
        card.itemID = "zh-gen-" + std::to_string(word);
        card.stabilityDays = 1 + i % 40;
        card.difficulty = 5;
        card.intervalDays = 1 + i % 40;
        card.dueDate = now + std::chrono::hours(i % 2 == 0 ? -24 : 24 * (1 + i % 30));
        card.lastReviewedAt = now - std::chrono::hours(48);
        card.lastRating = ReviewRating::good;
        card.totalReviews = 3;
        card.correctReviews = 2;
        card.consecutiveCorrect = 1;
        progress.cards[card.itemID] = card;
    }
    for (int day = 0; day < 365; ++day) {
        const Instant at = now - std::chrono::hours(24 * day);
        for (auto language : kAllLearningLanguages) {
            CardProgress card;
            card.itemID = "zh-gen-0";
            progress.recordReview(card, true, false, at, 30, cal, language);
        }
    }
    progress.cards["zh-gen-0"].totalReviews = 3;
    return progress;
}

struct Setup {
    QTemporaryDir folder;
    QSettings settings{folder.filePath("prefs.ini"), QSettings::IniFormat};
};

std::unique_ptr<AppModel> makeModel(Setup& setup, std::shared_ptr<LexiconStore> lexicon,
                                    std::shared_ptr<ProgressStoring> store, Instant now) {
    AppModel::Dependencies deps;
    deps.settings = &setup.settings;
    deps.lexicon = std::move(lexicon);
    deps.progressStore = std::move(store);
    deps.now = [now] { return now; };
    deps.calendar = [] { return Calendar::withTimeZone("America/New_York"); };
    return std::make_unique<AppModel>(std::move(deps));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int runs = 30;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
    }
    QTemporaryDir scratch;
    const Instant now = std::chrono::system_clock::now();

    const std::filesystem::path real =
        std::filesystem::path(BRINDLE_SOURCE_DIR) / "resources" / "Tessel.sqlite";
    const bool useReal = std::filesystem::exists(real);
    const std::string startupLexicon =
        useReal ? real.string() : buildFixtureLexicon(scratch.path().toStdString());
    std::printf("start-up lexicon: %s\n", useReal ? real.c_str() : "fixture (no real lexicon)");

    Figures startup;
    for (int run = 0; run < std::min(runs, 15); ++run) {
        Setup setup;
        const auto store = std::make_shared<JSONProgressStore>(
            setup.folder.filePath("Brindle/progress.json").toStdString(), true);
        const Sample start;
        auto lexicon = LexiconStore::open(startupLexicon);
        if (!lexicon) {
            std::fprintf(stderr, "%s\n", lexicon.error().description.c_str());
            return 1;
        }
        auto model = makeModel(setup, *lexicon, store, now);
        waitUntil([&] { return model->isProgressReady(); });
        startup.add(start);
    }
    startup.print("open lexicon + model + content + plan", 150);

    // Where the start-up time goes: the lexicon's own queries on a freshly opened store.
    {
        Figures open, lessons, counts, sources, search;
        std::size_t lessonCount = 0;
        for (int run = 0; run < std::min(runs, 15); ++run) {
            Sample start;
            auto lexicon = LexiconStore::open(startupLexicon);
            open.add(start);
            start = Sample();
            lessonCount = (*lexicon)->lessons(LearningLanguage::chinese, kLessons)->size();
            lessons.add(start);
            start = Sample();
            (void)(*lexicon)->counts(LearningLanguage::chinese);
            counts.add(start);
            start = Sample();
            (void)(*lexicon)->sources();
            sources.add(start);
            start = Sample();
            (void)(*lexicon)->search("", LearningLanguage::chinese, 80);
            search.add(start);
        }
        std::printf("  (the lexicon's share, %zu Chinese lessons)\n", lessonCount);
        open.print("  lexicon open (info)", 150);
        lessons.print("  lexicon lessons (info)", 150);
        counts.print("  lexicon counts (info)", 150);
        sources.print("  lexicon sources (info)", 150);
        search.print("  lexicon first search (info)", 150);
    }

    QTemporaryDir largeFolder;
    const std::string largePath = buildLargeLexicon(largeFolder.path().toStdString());
    auto largeLexicon = LexiconStore::open(largePath);
    if (!largeLexicon) return 1;
    Setup setup;
    const QString progressPath = setup.folder.filePath("progress.json");
    if (!JSONProgressStore::writeFile(progressPath.toStdString(), largeProgress(now), true))
        return 1;
    const auto store = std::make_shared<JSONProgressStore>(progressPath.toStdString(), true);
    auto model = makeModel(setup, *largeLexicon, store, now);
    waitUntil([&] { return model->isProgressReady(); });
    std::printf("generated course: %d lessons, %zu cards, plan %zu due + %zu new\n",
                model->lessonCount(), model->progress().cards.size(),
                model->planValue().dueItems.size(), model->planValue().newItems.size());

    Figures plan;
    for (int run = 0; run < runs; ++run) {
        const Sample start;
        model->refreshPlan();
        plan.add(start);
    }
    plan.print("refreshPlan (40,000 lessons, 10,000 cards)", 10);

    model->setStartingBand(3);
    Figures bandPlan;
    for (int run = 0; run < runs; ++run) {
        const Sample start;
        model->refreshPlan();
        bandPlan.add(start);
    }
    bandPlan.print("refreshPlan, starting band 3", 10);
    model->setStartingBand(1);

    model->setDailyGoal(100);
    // A learner takes longer to answer a card than the previous save takes to write, so each
    // rating normally finds the store idle; back-to-back ratings (a save still being written
    // while the next snapshot is taken) are shown for comparison.
    for (bool backToBack : {false, true}) {
        Figures rating;
        while (static_cast<int>(rating.size()) < runs) {
            model->beginSession(false);
            if (model->sessionPhaseValue() != SessionPhase::answering) break;
            while (model->sessionPhaseValue() == SessionPhase::answering &&
                   static_cast<int>(rating.size()) < runs) {
                model->setAnswer(QString::fromStdString(model->currentItem()->term));
                model->submitAnswer();
                if (!backToBack) waitUntil([&] { return model->pendingSaveCount() == 0; });
                const Sample start;
                model->rateAndAdvance(ReviewRating::good);
                rating.add(start);
                QCoreApplication::processEvents();
            }
        }
        rating.print(
            backToBack ? "rateAndAdvance, back-to-back (info)" : "rateAndAdvance (10,000 cards)",
            2);
    }
    waitUntil([&] { return model->pendingSaveCount() == 0; });

    Figures copy;
    for (int run = 0; run < runs; ++run) {
        const Sample start;
        const LearnerProgress snapshot = model->progress();
        copy.add(start);
    }
    copy.print("progress snapshot copy (info)", 2);
    waitUntil([&] { return model->pendingSaveCount() == 0; });
    return 0;
}
