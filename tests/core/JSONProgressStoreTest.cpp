// SPDX-License-Identifier: GPL-3.0-or-later
#include "JSONProgressStore.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <future>
#include <limits>
#include <mutex>
#include <sstream>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "ProgressJSON.h"

namespace tessel {
namespace {

namespace fs = std::filesystem;

LearnerProgress progressWithVersion(std::int64_t version) {
    LearnerProgress p;
    p.schemaVersion = version;
    p.cards["zh-1"] = CardProgress{"zh-1",
                                   2.5,
                                   4.75,
                                   3,
                                   Instant{std::chrono::seconds{1714552200}},
                                   std::nullopt,
                                   ReviewRating::hard,
                                   2,
                                   1,
                                   1,
                                   0};
    p.dailyStats["2024-05-01"] = DailyStudyStats{"2024-05-01", 2, 1, 1, 1, 42.5};
    p.unscopedDailyStats = p.dailyStats;
    return p;
}

Result<LearnerProgress> loadNow(JSONProgressStore& store) {
    std::promise<Result<LearnerProgress>> done;
    store.load([&](Result<LearnerProgress> r) { done.set_value(std::move(r)); });
    return done.get_future().get();
}

Result<void> saveNow(JSONProgressStore& store, LearnerProgress progress) {
    std::promise<Result<void>> done;
    store.save(std::make_shared<LearnerProgress>(std::move(progress)),
               [&](Result<void> r) { done.set_value(std::move(r)); });
    return done.get_future().get();
}

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Every path below `folder`, relative to it.
std::vector<std::string> treeOf(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        names.push_back(fs::relative(entry.path(), folder).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class JSONProgressStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "brindle-store-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        ::chmod(m_root.c_str(), 0755);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }

    fs::path m_root;
};

TEST_F(JSONProgressStoreTest, LoadWithoutFileGivesEmptyProgressAndCreatesNothing) {
    for (const fs::path& path : {m_root / "progress.json", m_root / "Brindle" / "progress.json"}) {
        JSONProgressStore store(path, true);
        EXPECT_EQ(store.filePath(), path);
        const auto loaded = loadNow(store);
        ASSERT_TRUE(loaded) << loaded.error().description;
        EXPECT_EQ(*loaded, LearnerProgress{});
        EXPECT_EQ(loaded->schemaVersion, 2);
    }
    EXPECT_TRUE(namesIn(m_root).empty());
}

TEST_F(JSONProgressStoreTest, SaveCreatesFoldersReplacesTheFileAndLoadsBackEqual) {
    const fs::path path = m_root / "a" / "b" / "progress.json";
    for (const bool pretty : {true, false}) {
        JSONProgressStore store(path, pretty);
        for (const std::int64_t version : {2, 7}) {
            ASSERT_TRUE(saveNow(store, progressWithVersion(version)));
            EXPECT_EQ(contents(path), *ProgressJSON::encode(progressWithVersion(version), pretty));
            const auto loaded = loadNow(store);
            ASSERT_TRUE(loaded) << loaded.error().description;
            EXPECT_EQ(*loaded, progressWithVersion(version));
        }
        // Nothing but the file itself: no temporary file is left behind.
        EXPECT_EQ(namesIn(path.parent_path()), std::vector<std::string>{"progress.json"});
    }
    // A file of several megabytes goes to the disk in steps while it is written: the same bytes.
    LearnerProgress large = progressWithVersion(2);
    for (int i = 0; i < 20000; ++i) {
        CardProgress card = large.cards["zh-1"];
        card.itemID = "zh-" + std::to_string(100000 + i);
        card.stabilityDays += i;
        large.cards[card.itemID] = card;
    }
    JSONProgressStore store(path, true);
    ASSERT_TRUE(saveNow(store, large));
    const std::string text = contents(path);
    EXPECT_GT(text.size(), std::size_t{5} << 20);
    EXPECT_EQ(text, *ProgressJSON::encode(large, true));
    EXPECT_EQ(loadNow(store), large);
}

TEST_F(JSONProgressStoreTest, OperationsRunAndCompleteInTheOrderIssued) {
    const fs::path path = m_root / "progress.json";
    std::mutex mutex;
    std::vector<std::string> events;
    const auto note = [&](std::string event) {
        std::lock_guard lock(mutex);
        events.push_back(std::move(event));
    };
    std::vector<std::string> expected;
    {
        JSONProgressStore store(path, true);
        for (int version = 10; version < 40; ++version) {
            store.save(std::make_shared<LearnerProgress>(progressWithVersion(version)),
                       [&, version](Result<void> r) {
                           note("save " + std::to_string(version) + (r ? "" : " failed"));
                           if (version == 15) throw std::runtime_error("a careless completion");
                       });
            expected.push_back("save " + std::to_string(version));
            if (version % 10 == 0) {
                store.load([&](Result<LearnerProgress> r) {
                    note("load " + (r ? std::to_string(r->schemaVersion) : r.error().description));
                });
                expected.push_back("load " + std::to_string(version));
            }
        }
        store.save(std::make_shared<LearnerProgress>(progressWithVersion(99)), {});
        // Leaving the scope waits for everything queued above.
    }
    EXPECT_EQ(events, expected);
    const auto last = JSONProgressStore::readFile(path);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->schemaVersion, 99);
}

TEST_F(JSONProgressStoreTest, StoreDestroyedFromItsOwnCompletionStillFinishesQueuedWork) {
    const fs::path path = m_root / "progress.json";
    auto store = std::make_unique<JSONProgressStore>(path, false);
    std::promise<void> bothIssued;
    std::promise<void> lastDone;
    store->save(std::make_shared<LearnerProgress>(progressWithVersion(3)),
                [&, issued = bothIssued.get_future().share()](Result<void>) {
                    issued.wait();  // the caller is done with the store before it goes
                    store.reset();
                });
    store->save(std::make_shared<LearnerProgress>(progressWithVersion(4)),
                [&](Result<void>) { lastDone.set_value(); });
    bothIssued.set_value();
    ASSERT_EQ(lastDone.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(store, nullptr);
    EXPECT_EQ(JSONProgressStore::readFile(path)->schemaVersion, 4);
}

// While alive, file operations of this process run as an unprivileged user, so that folder
// permissions are enforced even when the tests run as root.
class UnprivilegedScope {
  public:
    UnprivilegedScope() : m_wasRoot(::geteuid() == 0) {
        if (m_wasRoot) {
            EXPECT_EQ(::seteuid(65534), 0);
        }
    }
    ~UnprivilegedScope() {
        if (m_wasRoot) {
            EXPECT_EQ(::seteuid(0), 0);
        }
    }

  private:
    bool m_wasRoot;
};

struct SaveFailureCase {
    const char* name;
    std::function<fs::path(const fs::path& root)> prepare;  // gives the store's path
    const char* expected;
    bool unprivileged = false;
    bool infiniteStability = false;
};

TEST_F(JSONProgressStoreTest, FailedSavesLeaveTheOldFileIntactAndNoTemporaryFile) {
    const std::string oldText = *ProgressJSON::encode(progressWithVersion(3), true);
    const auto withOldFile = [&](const fs::path& folder) {
        fs::create_directories(folder);
        std::ofstream(folder / "progress.json", std::ios::binary) << oldText;
        return folder / "progress.json";
    };
    const std::vector<SaveFailureCase> cases = {
        {"parent is a file",
         [](const fs::path& root) {
             std::ofstream(root / "Brindle") << "x";
             return root / "Brindle" / "progress.json";
         },
         "The folder “"},
        {"grandparent is a file",
         [](const fs::path& root) {
             std::ofstream(root / "Brindle") << "x";
             return root / "Brindle" / "deeper" / "progress.json";
         },
         "couldn’t be created"},
        {"target is a folder",
         [](const fs::path& root) {
             fs::create_directories(root / "progress.json" / "inside");
             return root / "progress.json";
         },
         "couldn’t be saved in the folder"},
        {"folder is not writable",
         [&](const fs::path& root) {
             const fs::path path = withOldFile(root / "locked");
             ::chown((root / "locked").c_str(), 65534, 65534);
             ::chmod((root / "locked").c_str(), 0555);
             return path;
         },
         "Permission denied", true},
        {"number not finite", [&](const fs::path& root) { return withOldFile(root / "nan"); },
         "not a finite number", false, true},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const SaveFailureCase& c = cases[i];
        SCOPED_TRACE(c.name);
        const fs::path folder = m_root / std::to_string(i);
        fs::create_directory(folder);
        const fs::path path = c.prepare(folder);
        const auto before = treeOf(folder);
        LearnerProgress progress = progressWithVersion(4);
        if (c.infiniteStability) {
            progress.cards["zh-1"].stabilityDays = std::numeric_limits<double>::infinity();
        }
        Result<void> saved;
        {
            std::optional<UnprivilegedScope> scope;
            if (c.unprivileged) scope.emplace();
            JSONProgressStore store(path, true);
            saved = saveNow(store, progress);
        }
        ASSERT_FALSE(saved);
        EXPECT_NE(saved.error().description.find(c.expected), std::string::npos)
            << saved.error().description;
        EXPECT_EQ(treeOf(folder), before);
        if (fs::is_regular_file(path)) {
            EXPECT_EQ(contents(path), oldText);
        }
    }
}

TEST_F(JSONProgressStoreTest, FailedLoadsReportAndLeaveTheFileAlone) {
    const std::vector<std::pair<std::string, const char*>> files = {
        {"{\"cards\": {\"zh-1\": {}}}", "it is missing: cards.zh-1."},
        {"not json", "isn’t valid JSON"},
        {"", "isn’t valid JSON"},
        {std::string("{\"cards\":\xff}"), "isn’t valid JSON"},
        {"{\"theme\": \"dark\", \"Cards\": {}}", "“progress.json” is not a Brindle progress file"},
        {"{}", "“progress.json” is not a Brindle progress file"},
    };
    for (const auto& [text, expected] : files) {
        SCOPED_TRACE(expected);
        const fs::path path = m_root / "progress.json";
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        JSONProgressStore store(path, true);
        const auto loaded = loadNow(store);
        ASSERT_FALSE(loaded);
        EXPECT_NE(loaded.error().description.find(expected), std::string::npos)
            << loaded.error().description;
        EXPECT_EQ(contents(path), text);
        EXPECT_EQ(namesIn(m_root), std::vector<std::string>{"progress.json"});
    }

    fs::create_directory(m_root / "folder.json");
    ASSERT_EQ(::mkfifo((m_root / "pipe.json").c_str(), 0644), 0);
    for (const char* name : {"folder.json", "pipe.json"}) {
        SCOPED_TRACE(name);
        JSONProgressStore store(m_root / name, true);
        const auto loaded = loadNow(store);  // a pipe with no writer must not block
        ASSERT_FALSE(loaded);
        EXPECT_NE(loaded.error().description.find("couldn’t be read"), std::string::npos)
            << loaded.error().description;
    }
}

// Saves cut short by a crash leave their temporary file behind; the next load removes those of
// the store's own naming and nothing else.
TEST_F(JSONProgressStoreTest, LoadRemovesStaleTemporaryFiles) {
    const fs::path path = m_root / "progress.json";
    JSONProgressStore store(path, true);
    ASSERT_TRUE(saveNow(store, progressWithVersion(3)));
    const std::vector<std::string> ours = {".progress.json.0badf00d.tmp",
                                           ".progress.json.12345678.tmp"};
    const std::vector<std::string> others = {
        ".progress.json.0BADF00D.tmp",  ".progress.json.123.tmp",
        ".other.json.12345678.tmp",     "progress.json.12345678.tmp",
        ".progress.json.12345678.tmpx", "progress.json.unreadable-20240501T083000Z"};
    for (const auto& name : ours) std::ofstream(m_root / name) << "{\"cards\": {";
    for (const auto& name : others) std::ofstream(m_root / name) << "keep";
    fs::create_directory(m_root / ".progress.json.aaaaaaaa.tmp");

    const auto loaded = loadNow(store);
    ASSERT_TRUE(loaded) << loaded.error().description;
    EXPECT_EQ(*loaded, progressWithVersion(3));
    std::vector<std::string> expected = others;
    expected.push_back("progress.json");
    expected.push_back(".progress.json.aaaaaaaa.tmp");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(namesIn(m_root), expected);
}

TEST_F(JSONProgressStoreTest, SaveKeepsALinkAndTheFilesPermissions) {
    const fs::path real = m_root / "real" / "progress.json";
    const fs::path link = m_root / "progress.json";
    fs::create_directories(real.parent_path());
    std::ofstream(real) << "{}";
    ::chmod(real.c_str(), 0600);
    fs::create_symlink("real/progress.json", link);

    JSONProgressStore store(link, true);
    ASSERT_TRUE(saveNow(store, progressWithVersion(6)));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(JSONProgressStore::readFile(real)->schemaVersion, 6);
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(namesIn(real.parent_path()), std::vector<std::string>{"progress.json"});
}

}  // namespace
}  // namespace tessel
