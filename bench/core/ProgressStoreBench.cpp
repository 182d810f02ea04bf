// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <string>

#include <unistd.h>

#include "JSONProgressStore.h"
#include "ProgressJSON.h"

namespace {

namespace fs = std::filesystem;
using tessel::CardProgress;
using tessel::DailyStudyStats;
using tessel::Instant;
using tessel::JSONProgressStore;
using tessel::LearnerProgress;
using tessel::LearningLanguage;

// A year of daily study in both languages with 10,000 cards: far more than a learner gathers
// in that year, so the figures bound every real file.
LearnerProgress heavyProgress() {
    LearnerProgress p;
    const auto start = Instant{std::chrono::seconds{1704067200}};  // 2024-01-01
    for (int i = 0; i < 10'000; ++i) {
        const std::string id = (i % 2 ? "ja-" : "zh-") + std::to_string(100000 + i);
        const auto reviewed = start + std::chrono::seconds(i * 3137L);
        p.cards[id] = CardProgress{id,
                                   1.0 + (i % 97) * 0.731,
                                   3.2 + (i % 13) * 0.417,
                                   1 + i % 60,
                                   reviewed + std::chrono::hours(24 * (1 + i % 60)),
                                   reviewed,
                                   tessel::kAllReviewRatings[std::size_t(i % 4)],
                                   1 + i % 23,
                                   i % 19,
                                   i % 5,
                                   i % 7};
    }
    for (int d = 0; d < 365; ++d) {
        const std::string day =
            tessel::ProgressJSON::formatInstant(start + std::chrono::hours(24 * d)).substr(0, 10);
        const DailyStudyStats zh{day, 20 + d % 30, 15 + d % 20, d % 10, 1 + d % 3, 612.25 + d};
        const DailyStudyStats ja{day, 10 + d % 25, 8 + d % 17, d % 8, d % 2, 301.5 + d};
        p.dailyStatsByLanguage[LearningLanguage::chinese][day] = zh;
        p.dailyStatsByLanguage[LearningLanguage::japanese][day] = ja;
        p.dailyStats[day] = LearnerProgress::combined(day, &zh, &ja);
        p.unscopedDailyStats[day] = DailyStudyStats{day, d % 4, d % 3, 0, 0, 12.5};
    }
    return p;
}

const LearnerProgress& progress() {
    static const LearnerProgress p = heavyProgress();
    return p;
}

fs::path benchFile() {
    static const fs::path path = fs::temp_directory_path() /
                                 ("brindle-bench-" + std::to_string(::getpid())) / "progress.json";
    return path;
}

void BM_EncodePretty(benchmark::State& state) {
    for (auto _ : state) {
        auto text = tessel::ProgressJSON::encode(progress(), true);
        benchmark::DoNotOptimize(text);
    }
}

void BM_Decode(benchmark::State& state) {
    const std::string text = *tessel::ProgressJSON::encode(progress(), true);
    state.counters["bytes"] = double(text.size());
    for (auto _ : state) {
        auto back = tessel::ProgressJSON::decode(text);
        if (!back) state.SkipWithError(back.error().description.c_str());
        benchmark::DoNotOptimize(back);
    }
}

// The whole save as the application runs it: handed to the store's worker, encoded, written to
// a temporary file, flushed to disk, renamed over the old file, folder flushed.
void BM_StoreSave(benchmark::State& state) {
    JSONProgressStore store(benchFile(), true);
    const auto lent = std::make_shared<const LearnerProgress>(progress());
    for (auto _ : state) {
        std::promise<tessel::Result<void>> done;
        store.save(lent, [&](tessel::Result<void> r) { done.set_value(std::move(r)); });
        const auto result = done.get_future().get();
        if (!result) state.SkipWithError(result.error().description.c_str());
    }
}

void BM_StoreLoad(benchmark::State& state) {
    JSONProgressStore store(benchFile(), true);
    if (!JSONProgressStore::writeFile(benchFile(), progress(), true)) {
        state.SkipWithError("could not write the file");
    }
    for (auto _ : state) {
        std::promise<tessel::Result<LearnerProgress>> done;
        store.load([&](tessel::Result<LearnerProgress> r) { done.set_value(std::move(r)); });
        auto result = done.get_future().get();
        if (!result) state.SkipWithError(result.error().description.c_str());
        benchmark::DoNotOptimize(result);
    }
    std::error_code ignored;
    fs::remove_all(benchFile().parent_path(), ignored);
}

// The same two steps on the calling thread, so that the CPU column shows their own cost
// (everything but waiting for the disk) apart from what other processes take from the machine.
void BM_WriteFileHere(benchmark::State& state) {
    for (auto _ : state) {
        const auto result = JSONProgressStore::writeFile(benchFile(), progress(), true);
        if (!result) state.SkipWithError(result.error().description.c_str());
    }
}

void BM_ReadFileHere(benchmark::State& state) {
    if (!JSONProgressStore::writeFile(benchFile(), progress(), true)) {
        state.SkipWithError("could not write the file");
    }
    for (auto _ : state) {
        auto result = JSONProgressStore::readFile(benchFile());
        if (!result) state.SkipWithError(result.error().description.c_str());
        benchmark::DoNotOptimize(result);
    }
}

BENCHMARK(BM_EncodePretty)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Decode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteFileHere)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadFileHere)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StoreSave)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_StoreLoad)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
