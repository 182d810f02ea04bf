// SPDX-License-Identifier: GPL-3.0-or-later
// A learner with years of cards: what one rating costs the main thread, how long it takes to
// reach the progress file, and what a plan refresh and the dashboard's statistics cost, with a
// generated progress of 50,000 and 100,000 cards over the real lexicon's course.
//
// learner_bench [--runs N] [--cards N]...       figures, each beside its goal
// learner_bench --write PATH [--cards N]       only writes a generated progress file (100,000
//                                               cards unless told) for driving the real app
//
// Needs resources/Tessel.sqlite (or BRINDLE_LEXICON); without it, it says so and times nothing.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_set>
#include <vector>

#include <sqlite3.h>
#include <time.h>

#include "AppModel.h"
#include "HeavyLearner.h"
#include "JSONProgressStore.h"
#include "SerialExecutor.h"

using namespace tessel;
using tessel::bench::heavyLearner;
using Clock = std::chrono::steady_clock;

namespace {

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double msBetween(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

double quantile(std::vector<double> values, double q) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(q * values.size()))];
}

// Wall and main-thread processor time of one kind of work: on a shared machine the processor
// time shows the work itself, the wall time also the waits for a processor.
struct Figures {
    std::vector<double> wall;
    std::vector<double> cpu;

    template <class F>
    void time(F&& work) {
        const auto start = Clock::now();
        const double cpuStart = threadCpuMs();
        work();
        cpu.push_back(threadCpuMs() - cpuStart);
        wall.push_back(msBetween(start, Clock::now()));
    }
    void print(const char* name, double goal) const {
        const double median = quantile(wall, 0.5);
        const double cpuMedian = quantile(cpu, 0.5);
        const char* verdict = quantile(wall, 0.95) <= goal ? "meets"
                              : cpuMedian <= goal          ? "meets on cpu"
                                                           : "OVER";
        std::printf(
            "  %-34s goal <= %5.0f ms | median %8.3f p95 %8.3f max %8.3f ms | cpu median %8.3f ms "
            "| %s (%zu runs, load %s)\n",
            name, goal, median, quantile(wall, 0.95), quantile(wall, 1.0), cpuMedian, verdict,
            wall.size(), loadAverage().c_str());
    }
};

// Latencies are wall time by nature: they include the writer's thread and the disk.
void printLatency(const char* name, const std::vector<double>& ms, double goal) {
    std::printf(
        "  %-34s goal <= %5.0f ms | median %8.3f p95 %8.3f max %8.3f ms | %s (%zu runs, "
        "load %s)\n",
        name, goal, quantile(ms, 0.5), quantile(ms, 0.95), quantile(ms, 1.0),
        quantile(ms, 0.95) <= goal ? "meets" : "OVER", ms.size(), loadAverage().c_str());
}

// The JSON store's own steps on a thread of this store's own, as JSONProgressStore runs them,
// noting when each save has reached the file, how many reviews of today it held (a rating has
// reached the file once a save holding its review count has answered) and the writer's processor
// time: on a shared machine that shows what a save costs, the wall time also the waits.
class TimedStore : public ProgressStoring {
  public:
    TimedStore(std::filesystem::path path, std::string today)
        : m_path(std::move(path)), m_today(std::move(today)) {}

    void load(LoadCompletion completion) override {
        m_worker.submit([this, completion = std::move(completion)] {
            JSONProgressStore::removeStaleTemporaryFiles(m_path);
            completion(JSONProgressStore::readFile(m_path));
        });
    }
    void save(std::shared_ptr<const LearnerProgress> progress, SaveCompletion completion) override {
        m_worker.submit(
            [this, progress = std::move(progress), completion = std::move(completion)]() mutable {
                const auto found = progress->dailyStats.find(m_today);
                const std::int64_t reviews =
                    found == progress->dailyStats.end() ? 0 : found->second.reviewedCount;
                const double cpuStart = threadCpuMs();
                auto saved = JSONProgressStore::writeFile(m_path, *progress, true);
                progress.reset();
                {
                    std::lock_guard lock(m_mutex);
                    m_landed.push_back({reviews, Clock::now()});
                    m_cpu.push_back(threadCpuMs() - cpuStart);
                }
                if (completion) completion(std::move(saved));
            });
    }
    // When the review count of today first reached `reviews` in the file; nullopt when not yet.
    std::optional<Clock::time_point> landed(std::int64_t reviews) const {
        std::lock_guard lock(m_mutex);
        for (const auto& [count, at] : m_landed)
            if (count >= reviews) return at;
        return std::nullopt;
    }
    std::size_t saves() const {
        std::lock_guard lock(m_mutex);
        return m_landed.size();
    }
    std::vector<double> writerCpu() const {
        std::lock_guard lock(m_mutex);
        return m_cpu;
    }

  private:
    std::filesystem::path m_path;
    std::string m_today;
    mutable std::mutex m_mutex;
    std::vector<std::pair<std::int64_t, Clock::time_point>> m_landed;
    std::vector<double> m_cpu;
    SerialExecutor m_worker;
};

// Sleeps between looks, as the application's idle event loop would: processEvents() with a time
// limit returns at once when nothing is queued, so looping on it kept a processor busy and slowed
// the writer it was waiting for on a shared machine.
void waitUntil(const std::function<bool()>& done) {
    while (!done()) {
        QCoreApplication::processEvents();
        if (!done()) QThread::msleep(1);
    }
}

// Every course id of both languages, then other words of the lexicon: a learner of 100,000
// cards has studied both courses and kept cards of words that have since left them.
std::vector<std::string> cardIDs(LexiconStore& lexicon, const std::string& path,
                                 std::size_t wanted) {
    std::vector<std::string> ids;
    std::unordered_set<std::string> taken;
    for (auto language : kAllLearningLanguages) {
        auto lessons = lexicon.lessons(language, 40000);
        if (!lessons) continue;
        for (const auto& lesson : *lessons)
            if (taken.insert(lesson.item.id).second) ids.push_back(lesson.item.id);
    }
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* query = nullptr;
        sqlite3_prepare_v2(db, "SELECT id FROM vocabulary ORDER BY id", -1, &query, nullptr);
        while (ids.size() < wanted && sqlite3_step(query) == SQLITE_ROW) {
            std::string id(reinterpret_cast<const char*>(sqlite3_column_text(query, 0)));
            if (taken.insert(id).second) ids.push_back(std::move(id));
        }
        sqlite3_finalize(query);
    }
    sqlite3_close(db);
    return ids;
}

// What the two dashboard screens read after a change.
void readDashboard(AppModel& model) {
    (void)model.streakValue();
    (void)model.todayStatsValue();
    (void)model.goalProgress();
    (void)model.todayAccuracyText();
    (void)model.learnedCount();
    (void)model.stableCount();
    (void)model.totalAnswerCount();
    (void)model.overallAccuracyText();
    (void)model.statsForRecentDays(7);
    (void)model.statsForRecentDays(30);
    (void)model.leeches();
}

bool answerCurrent(AppModel& model) {
    if (model.sessionPhaseValue() != SessionPhase::answering) {
        model.beginSession(false);
        if (model.sessionPhaseValue() != SessionPhase::answering) return false;
    }
    model.setAnswer(QString::fromStdString(model.currentItem()->term));
    model.submitAnswer();
    return true;
}

int runLearner(const std::string& lexiconPath, std::shared_ptr<LexiconStore> lexicon,
               const std::vector<std::string>& ids, std::size_t cards, int runs) {
    // Whole seconds, as the file keeps them, so that the file can be compared with the model.
    const Instant now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    const Calendar calendar = Calendar::withTimeZone("America/New_York");
    QTemporaryDir folder;
    const std::string path = folder.filePath("progress.json").toStdString();
    const LearnerProgress generated = heavyLearner(ids, cards, now, calendar);
    if (!JSONProgressStore::writeFile(path, generated, true)) return 1;
    std::printf("\n%zu cards (%zu ids from %s), %zu days of figures, file %.1f MB\n",
                generated.cards.size(), ids.size(), lexiconPath.c_str(),
                generated.dailyStats.size(),
                static_cast<double>(std::filesystem::file_size(path)) / 1e6);

    QSettings settings(folder.filePath("prefs.ini"), QSettings::IniFormat);
    auto store = std::make_shared<TimedStore>(path, StudyDay::key(now, calendar));
    AppModel::Dependencies deps;
    deps.settings = &settings;
    deps.lexicon = std::move(lexicon);
    deps.progressStore = store;
    deps.progressFilePath = QString::fromStdString(path);
    deps.now = [now] { return now; };
    deps.calendar = [calendar] { return calendar; };
    Figures load;
    std::unique_ptr<AppModel> model;
    load.time([&] {
        model = std::make_unique<AppModel>(std::move(deps));
        waitUntil([&] { return model->isProgressReady(); });
    });
    model->setDailyGoal(100);
    model->setNewWordsPerSession(20);
    std::printf("  course %d lessons, plan %zu due + %zu new\n", model->lessonCount(),
                model->planValue().dueItems.size(), model->planValue().newItems.size());

    Figures plan;
    for (int run = 0; run < runs; ++run) plan.time([&] { model->refreshPlan(); });
    // The first reading counts every card once; later ones keep the figures up to date.
    Figures firstRead;
    firstRead.time([&] { readDashboard(*model); });

    // A learner takes longer to answer than a save takes to write: each rating finds the writer
    // idle, and the dashboard is read after it.
    Figures rating, dashboard, firstDashboard;
    std::vector<double> landing;
    std::int64_t reviews = 0;
    for (int run = 0; run < runs && answerCurrent(*model); ++run) {
        waitUntil([&] { return model->pendingSaveCount() == 0; });
        const auto rated = Clock::now();
        rating.time([&] { model->rateAndAdvance(ReviewRating::good); });
        ++reviews;
        (run == 0 ? firstDashboard : dashboard).time([&] { readDashboard(*model); });
        waitUntil([&] { return store->landed(reviews).has_value(); });
        landing.push_back(msBetween(rated, *store->landed(reviews)));
    }
    // Ratings one after another with no pause: every save finds the one before still writing.
    Figures backToBack;
    std::vector<std::pair<Clock::time_point, std::int64_t>> burst;
    for (int run = 0; run < runs && answerCurrent(*model); ++run) {
        burst.push_back({Clock::now(), reviews + 1});
        backToBack.time([&] { model->rateAndAdvance(ReviewRating::good); });
        ++reviews;
        QCoreApplication::processEvents();
    }
    waitUntil([&] { return model->pendingSaveCount() == 0; });
    std::vector<double> burstLanding;
    for (const auto& [at, count] : burst)
        burstLanding.push_back(msBetween(at, *store->landed(count)));

    Figures quit;
    quit.time([&] { model->finishSaving(); });
    const LearnerProgress last = model->progress();
    model.reset();
    const auto saved = JSONProgressStore::readFile(path);
    const bool intact = saved && *saved == last;

    load.print("load the progress (info)", 1000);
    plan.print("plan refresh", 10);
    rating.print("rating, main thread", 2);
    backToBack.print("rating back-to-back, main thread", 2);
    dashboard.print("dashboard statistics after a rating", 2);
    firstDashboard.print("  after the day's first rating", 2);
    firstRead.print("  first reading after the load (info)", 2);
    printLatency("a rating reaches the file", landing, 250);
    printLatency("  ... during back-to-back ratings", burstLanding, 250);
    printLatency("  one save, writer's cpu (info)", store->writerCpu(), 125);
    std::printf("  %zu saves for %lld ratings; after quit the file %s the last progress\n",
                store->saves(), static_cast<long long>(reviews),
                intact ? "holds" : "DOES NOT hold");
    return intact ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int runs = 40;
    std::vector<std::size_t> sizes;
    std::string writePath;
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs")
            runs = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--cards")
            sizes.push_back(static_cast<std::size_t>(std::atol(argv[++i])));
        else if (arg == "--write")
            writePath = argv[++i];
    }
    if (sizes.empty())
        sizes = writePath.empty() ? std::vector<std::size_t>{50'000, 100'000}
                                  : std::vector<std::size_t>{100'000};

    const char* override = std::getenv("BRINDLE_LEXICON");
    const std::string lexiconPath =
        override
            ? override
            : (std::filesystem::path(BRINDLE_SOURCE_DIR) / "resources" / "Tessel.sqlite").string();
    if (!std::filesystem::exists(lexiconPath)) {
        std::printf("learner_bench: no lexicon at %s; nothing timed\n", lexiconPath.c_str());
        return 0;
    }
    auto lexicon = LexiconStore::open(lexiconPath);
    if (!lexicon) {
        std::fprintf(stderr, "%s\n", lexicon.error().description.c_str());
        return 1;
    }
    const std::vector<std::string> ids =
        cardIDs(**lexicon, lexiconPath, *std::max_element(sizes.begin(), sizes.end()));

    if (!writePath.empty()) {
        const Calendar calendar = Calendar::current();
        const auto progress =
            heavyLearner(ids, sizes.front(), std::chrono::system_clock::now(), calendar);
        auto written = JSONProgressStore::writeFile(writePath, progress, true);
        if (!written) {
            std::fprintf(stderr, "%s\n", written.error().description.c_str());
            return 1;
        }
        std::printf("wrote %zu cards to %s\n", progress.cards.size(), writePath.c_str());
        return 0;
    }

    std::printf("machine: %u cores, load average %s\n",
                std::max(1u, static_cast<unsigned>(sysconf(_SC_NPROCESSORS_ONLN))),
                loadAverage().c_str());
    int status = 0;
    for (std::size_t cards : sizes) status |= runLearner(lexiconPath, *lexicon, ids, cards, runs);
    return status;
}
