// SPDX-License-Identifier: GPL-3.0-or-later
// Times the lexicon store's operations and prints median, 95th percentile and worst in
// milliseconds. Usage: lexicon_bench [--database PATH] [--rounds N] [--no-reference]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include <time.h>
#include <unistd.h>

#include "FixtureLexicon.h"
#include "LexiconStore.h"

namespace {

using namespace tessel;
using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// CPU time of this thread: on a busy machine the wall-clock figures include waiting for a
// core, this one only the work itself.
double threadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Wall-clock and CPU milliseconds of one run.
struct Sample {
    double wall;
    double cpu;
};

template <class Operation>
Sample measure(Operation&& operation) {
    const auto start = Clock::now();
    const double cpuStart = threadMilliseconds();
    operation();
    return {millisecondsSince(start), threadMilliseconds() - cpuStart};
}

struct Query {
    LearningLanguage language;
    std::string text;
};

std::vector<Query> corpus() {
    std::vector<Query> queries;
    std::ifstream in(BRINDLE_SEARCH_QUERIES);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || line.size() < 3 || line[2] != '\t') continue;
        queries.push_back(
            {line.compare(0, 2, "ja") == 0 ? LearningLanguage::japanese : LearningLanguage::chinese,
             line.substr(3)});
    }
    return queries;
}

struct Figures {
    double median;
    double p95;
    double worst;
};

Figures figures(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const auto at = [&](double share) {
        const auto index =
            static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
        return values[std::min(index, values.size() - 1)];
    };
    return {at(0.5), at(0.95), values.back()};
}

void report(const std::string& name, const std::vector<Sample>& samples) {
    if (samples.empty()) return;
    std::vector<double> wall;
    std::vector<double> cpu;
    for (const Sample& sample : samples) {
        wall.push_back(sample.wall);
        cpu.push_back(sample.cpu);
    }
    const Figures w = figures(wall);
    const Figures c = figures(cpu);
    std::printf("%-34s %5zu %9.3f %9.3f %9.3f   %9.3f %9.3f %9.3f\n", name.c_str(), samples.size(),
                w.median, w.p95, w.worst, c.median, c.p95, c.worst);
}

std::vector<Sample> repeat(int times, const std::function<void()>& operation) {
    std::vector<Sample> samples;
    for (int i = 0; i < times; ++i) samples.push_back(measure(operation));
    return samples;
}

template <class T>
void check(const Result<T>& result) {
    if (!result) {
        std::cerr << "lexicon_bench: " << result.error().description << "\n";
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::string database;
    int rounds = 5;
    bool reference = true;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--database" && i + 1 < argc) {
            database = argv[++i];
        } else if (argument == "--rounds" && i + 1 < argc) {
            rounds = std::max(1, std::atoi(argv[++i]));
        } else if (argument == "--no-reference") {
            reference = false;
        } else {
            std::cerr << "usage: lexicon_bench [--database PATH] [--rounds N] [--no-reference]\n";
            return 2;
        }
    }
    std::filesystem::path fixtureFolder;
    if (database.empty()) database = BRINDLE_REAL_LEXICON;
    if (!std::filesystem::is_regular_file(database)) {
        fixtureFolder = std::filesystem::temp_directory_path() /
                        ("brindle-lexicon-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(fixtureFolder);
        std::cout << "The real lexicon is missing (" << database
                  << "); timing the small test fixture instead.\n";
        database = buildFixtureLexicon(fixtureFolder.string());
        if (database.empty()) return 1;
    }
    std::cout << "lexicon: " << database << " (" << std::filesystem::file_size(database) / 1000000.0
              << " MB)\n";
    std::printf("%-34s %5s %9s %9s %9s   %9s %9s %9s\n", "operation (ms)", "n", "median", "p95",
                "worst", "cpu med", "cpu p95", "cpu worst");

    report("open", repeat(20, [&] { check(LexiconStore::open(database)); }));
    auto opened = LexiconStore::open(database);
    check(opened);
    const auto store = *opened;
    for (const auto language : kAllLearningLanguages) {
        const std::string name(rawValue(language));
        report("counts " + name, repeat(20, [&] { check(store->counts(language)); }));
        // The list is freed outside the timing: the call ends when the cards are built.
        std::vector<Result<std::vector<LexiconLesson>>> kept;
        report("lessons 40000 " + name, repeat(10, [&] {
                   kept.push_back(store->lessons(language, 40000));
                   check(kept.back());
               }));
    }
    report("sources", repeat(20, [&] { check(store->sources()); }));
    for (const auto language : kAllLearningLanguages) {
        report("first search load " + std::string(rawValue(language)), repeat(5, [&] {
                   auto fresh = LexiconStore::open(database);
                   check(fresh);
                   check((*fresh)->prepareSearch(language));
               }));
    }

    const std::vector<Query> queries = corpus();
    for (const auto language : kAllLearningLanguages) check(store->prepareSearch(language));
    std::vector<Sample> all;
    std::vector<Sample> byLanguage[2];
    std::vector<std::pair<double, std::string>> slowest;
    for (int round = 0; round < rounds; ++round) {
        for (const Query& query : queries) {
            const Sample sample =
                measure([&] { check(store->search(query.text, query.language, 80)); });
            all.push_back(sample);
            byLanguage[query.language == LearningLanguage::japanese].push_back(sample);
            slowest.emplace_back(sample.cpu,
                                 std::string(rawValue(query.language)) + " \"" + query.text + "\"");
        }
    }
    report("search 80 (" + std::to_string(queries.size()) + " queries)", all);
    report("search 80 chinese", byLanguage[0]);
    report("search 80 japanese", byLanguage[1]);

    if (reference) {
        std::vector<Sample> samples;
        for (const Query& query : queries) {
            samples.push_back(
                measure([&] { check(store->searchReference(query.text, query.language, 80)); }));
        }
        report("search 80, SQL query as written", samples);
    }

    std::sort(slowest.rbegin(), slowest.rend());
    std::cout << "slowest searches (cpu):";
    for (std::size_t i = 0; i < std::min<std::size_t>(5, slowest.size()); ++i) {
        std::printf(" %s %.2f ms;", slowest[i].second.c_str(), slowest[i].first);
    }
    std::cout << "\n";
    if (!fixtureFolder.empty()) std::filesystem::remove_all(fixtureFolder);
    return 0;
}
