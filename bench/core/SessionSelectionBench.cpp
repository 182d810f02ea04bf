// SPDX-License-Identifier: GPL-3.0-or-later
// Planning a session over the whole course: 40,000 items and 10,000 scheduling records, as the
// application does on every refresh of the home page.
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "SessionSelection.h"

namespace {

using tessel::CardProgress;
using tessel::Instant;
using tessel::LearnerProgress;
using tessel::LearningLanguage;
using tessel::VocabularyItem;

constexpr int kItems = 40'000;
constexpr int kCards = 10'000;
const Instant kNow = tessel::instantFromSeconds(1'714'550'400);

struct Fixture {
    std::vector<VocabularyItem> items;
    LearnerProgress progress;
    // Built once per loaded course in the application, not on each refresh.
    tessel::CourseView course;

    Fixture() {
        std::mt19937 random(42);
        items.reserve(kItems);
        for (int i = 0; i < kItems; ++i) {
            VocabularyItem item;
            item.id = "zh-" + std::to_string(100000 + (i * 7919) % kItems);
            item.language = i % 10 == 0 ? LearningLanguage::japanese : LearningLanguage::chinese;
            item.term = "学校";
            item.reading = "xuéxiào";
            item.romanization = "xue xiao";
            item.meanings = {"school", "academy"};
            item.exampleTarget = "我们的学校很大。";
            item.exampleEnglish = "Our school is big.";
            item.level = 1 + i % 6;
            item.frequencyRank = i + 1;
            item.acceptedAnswers = {"学校"};
            item.tags = {"noun"};
            items.push_back(std::move(item));
        }
        // Every fourth item has been studied; about 40 % of those are due now.
        for (int i = 0; i < kCards; ++i) {
            const std::string& id = items[static_cast<std::size_t>(i) * 4].id;
            CardProgress card;
            card.itemID = id;
            card.totalReviews = 1 + static_cast<std::int64_t>(random() % 8);
            card.correctReviews = card.totalReviews;
            const auto offset = static_cast<long>(random() % (30 * 86'400)) - 12 * 86'400;
            card.dueDate = kNow + std::chrono::seconds(offset);
            progress.cards.emplace(id, card);
        }
        course = tessel::CourseView(items);
    }
};

const Fixture& fixture() {
    static const Fixture instance;
    return instance;
}

// Caps the application uses by default (goal 20, 8 new words) and at their largest (goal 100,
// 20 new words).
void BM_SelectSession(benchmark::State& state) {
    const Fixture& f = fixture();
    const tessel::StudySessionSelector selector{
        tessel::SessionSelectionConfiguration(state.range(0), state.range(1), state.range(0))};
    for (auto _ : state) {
        auto plan = selector.select(f.course, f.progress, 1, LearningLanguage::chinese, kNow);
        benchmark::DoNotOptimize(plan);
    }
}
BENCHMARK(BM_SelectSession)
    ->Args({20, 8})
    ->Args({100, 20})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

void BM_SelectSessionBothLanguages(benchmark::State& state) {
    const Fixture& f = fixture();
    const tessel::StudySessionSelector selector{
        tessel::SessionSelectionConfiguration(100, 20, 100)};
    for (auto _ : state) {
        auto plan = selector.select(f.course, f.progress, 1, std::nullopt, kNow);
        benchmark::DoNotOptimize(plan);
    }
}
BENCHMARK(BM_SelectSessionBothLanguages)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

// Indexing the course, once per language switch.
void BM_IndexCourse(benchmark::State& state) {
    const Fixture& f = fixture();
    for (auto _ : state) {
        tessel::CourseView course(f.items);
        benchmark::DoNotOptimize(course);
    }
}
BENCHMARK(BM_IndexCourse)->Unit(benchmark::kMillisecond);

}  // namespace
