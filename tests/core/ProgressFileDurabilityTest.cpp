// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <random>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "JSONProgressStore.h"

namespace tessel {
namespace {

namespace fs = std::filesystem;

// The k-th state the saving process writes: 800 cards (a file of about 200 KB, so that kills land
// inside writes too), all counting k reviews.
LearnerProgress state(std::int64_t k) {
    LearnerProgress progress;
    for (int i = 0; i < 800; ++i) {
        const std::string id = "zh-" + std::to_string(i);
        CardProgress& card = progress.cards[id];
        card.itemID = id;
        card.stabilityDays = 2.5;
        card.difficulty = 5;
        card.dueDate = Instant{std::chrono::seconds{1714552200 + i}};
        card.totalReviews = k;
    }
    return progress;
}

Result<LearnerProgress> loadNow(const fs::path& path) {
    JSONProgressStore store(path, true);
    std::promise<Result<LearnerProgress>> done;
    store.load([&](Result<LearnerProgress> r) { done.set_value(std::move(r)); });
    return done.get_future().get();
}

// Saves states 1, 2, 3... through the store, each after the one before has finished, forever.
[[noreturn]] void saveForever(const fs::path& path) {
    JSONProgressStore store(path, true);
    for (std::int64_t k = 1;; ++k) {
        std::promise<void> done;
        store.save(std::make_shared<LearnerProgress>(state(k)),
                   [&](Result<void>) { done.set_value(); });
        done.get_future().wait();
    }
}

// A process saving its progress is killed at random moments, hundreds of times. After every kill
// the file loads and is one of the complete states written, and the load leaves no temporary
// file behind.
TEST(ProgressFileDurability, KilledWhileSavingNeverLosesTheFile) {
    char pattern[] = "/tmp/brindle-durability-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const fs::path folder = pattern;
    const fs::path path = folder / "progress.json";
    ASSERT_TRUE(JSONProgressStore::writeFile(path, state(0), true));

    std::mt19937 random(20240501);
    std::uniform_int_distribution<int> delayMicros(0, 60000);
    constexpr int kRounds = 300;
    int roundsLeavingATemporaryFile = 0;
    std::int64_t newest = 0;
    for (int round = 0; round < kRounds; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) saveForever(path);
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicros(random)));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);

        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path() != path) ++roundsLeavingATemporaryFile;
        }
        const auto loaded = loadNow(path);
        ASSERT_TRUE(loaded) << "round " << round << ": " << loaded.error().description;
        const std::int64_t k = loaded->cards.begin()->second.totalReviews;
        ASSERT_EQ(*loaded, state(k)) << "round " << round;
        newest = std::max(newest, k);
        for (const auto& entry : fs::directory_iterator(folder)) {
            ASSERT_EQ(entry.path(), path) << "round " << round << ": left behind";
        }
    }
    std::printf("%d kills; %d left a temporary file, removed by the next load; up to state %lld\n",
                kRounds, roundsLeavingATemporaryFile, static_cast<long long>(newest));
    // The kills must have hit both between and inside saves for the test to mean anything.
    EXPECT_GT(newest, 1);
    EXPECT_GT(roundsLeavingATemporaryFile, 0);
    fs::remove_all(folder);
}

}  // namespace
}  // namespace tessel
