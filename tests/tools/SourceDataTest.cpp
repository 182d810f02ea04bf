// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <zlib.h>

#include <filesystem>
#include <fstream>

#include "EntryId.h"
#include "JiebaFrequencies.h"
#include "Sha256.h"
#include "SourceFiles.h"
#include "SourceRecords.h"

namespace tessel::compiler {
namespace {

namespace fs = std::filesystem;

TEST(Sha256Test, MatchesPublishedDigests) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    };
    for (const auto& [input, digest] : cases) EXPECT_EQ(Sha256::hex(input), digest) << input;

    // Fed in uneven pieces across block boundaries: one million "a".
    Sha256 hash;
    const std::string chunk(997, 'a');
    std::size_t fed = 0;
    while (fed + chunk.size() <= 1000000) {
        hash.update(chunk);
        fed += chunk.size();
    }
    hash.update(std::string(1000000 - fed, 'a'));
    const auto digest = hash.finish();
    EXPECT_EQ(toHex(digest.data(), digest.size()),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(EntryIdTest, IsAFixedFunctionOfTheContent) {
    // Learners' progress is keyed by these ids: the rule must never change silently.
    EXPECT_EQ(stableEntryId("zh", "你好", "你好", "ni3 hao3", 0), "zh-3bdeba279d183ba4");
    EXPECT_EQ(stableEntryId("ja", "食べる", "", "たべる", 0), "ja-bd5a8e7e3c5a1ee6");
    const std::string ids[] = {
        stableEntryId("zh", "你好", "你好", "ni3 hao3", 1),
        stableEntryId("zh", "你好", "你好", "ni3 hao5", 0),
        stableEntryId("zh", "你好", "妳好", "ni3 hao3", 0),
        stableEntryId("ja", "你好", "你好", "ni3 hao3", 0),
        // the separator keeps shifted fields apart
        stableEntryId("zh", "你好你好", "", "ni3 hao3", 0),
    };
    for (const std::string& id : ids) {
        EXPECT_NE(id, "zh-3bdeba279d183ba4");
        EXPECT_EQ(id.size(), 19u);
    }
}

TEST(WordFrequencyTest, ReadsCountsAndTags) {
    const WordFrequencies words =
        parseWordFrequencies("的 318825 uj\r\nAT&T 3 nz\nc # 3 nz\n你好 725\nbad line\n的 5 x\n\n");
    EXPECT_EQ(words.words.size(), 4u);
    EXPECT_EQ(words.words.at("的").count, 318825);  // the larger count of a repeated word
    EXPECT_EQ(words.words.at("的").tag, "uj");
    EXPECT_EQ(words.words.at("c #").count, 3);
    EXPECT_EQ(words.words.at("你好").tag, "");
    EXPECT_EQ(words.skippedLines, 1u);
    EXPECT_EQ(chinesePartOfSpeechLabels("v"), std::vector<std::string>{"verb"});
    EXPECT_TRUE(chinesePartOfSpeechLabels("zg").empty());
}

class ScratchFolder : public testing::Test {
  protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() /
                   ("brindle-compiler-test-" +
                    std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                    testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    fs::path write(const std::string& name, const std::string& bytes) {
        const fs::path path = m_folder / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    fs::path m_folder;
};

using GzipTest = ScratchFolder;

TEST_F(GzipTest, ReadsWholeStreamsAndRejectsDamagedOnes) {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "line " + std::to_string(i) + "\n";
    const fs::path packed = m_folder / "text.gz";
    gzFile out = gzopen(packed.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    gzwrite(out, text.data(), static_cast<unsigned>(text.size()));
    gzclose(out);

    auto read = readGzipFile(packed);
    ASSERT_TRUE(read.has_value()) << read.error().description;
    EXPECT_EQ(*read, text);

    std::string bytes = *readWholeFile(packed);
    const fs::path truncated = write("truncated.gz", bytes.substr(0, bytes.size() / 2));
    EXPECT_FALSE(readGzipFile(truncated).has_value());
    EXPECT_FALSE(readGzipFile(m_folder / "missing.gz").has_value());
}

using SourceRecordsTest = ScratchFolder;

TEST_F(SourceRecordsTest, ChecksumsTheNamedFiles) {
    write("cache/archives/dict.tgz", "abc");
    write("data/exercises.json", "");
    auto records = parseSourceRecords(R"({"sources": [
        {"id": "dict", "display_name": "Dict", "url": "https://example.org", "license": "MIT",
         "license_url": "", "attribution": "a", "cached_file": "archives/dict.tgz"},
        {"id": "starter", "display_name": "Starter", "url": "", "license": "Own",
         "license_url": "", "attribution": "b", "data_file": "exercises.json"}]})");
    ASSERT_TRUE(records.has_value()) << records.error().description;
    ASSERT_TRUE(checksumSources(*records, m_folder / "cache", m_folder / "data").has_value());
    EXPECT_EQ((*records)[0].sha256,
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ((*records)[1].sha256,
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");

    fs::remove(m_folder / "data/exercises.json");
    auto missing = checksumSources(*records, m_folder / "cache", m_folder / "data");
    ASSERT_FALSE(missing.has_value());
    EXPECT_NE(missing.error().description.find("starter"), std::string::npos);
}

TEST(SourceRecordsParseTest, RejectsIncompleteRecordsAndEscapingPaths) {
    const std::string base =
        R"("id": "x", "display_name": "X", "url": "", "license": "L", "license_url": "", )"
        R"("attribution": "a")";
    const std::pair<std::string, bool> cases[] = {
        {base + R"(, "cached_file": "archives/x.deb")", true},
        {base, false},  // no file
        {base + R"(, "cached_file": "a", "data_file": "b")", false},
        {base + R"(, "cached_file": "/etc/passwd")", false},
        {base + R"(, "data_file": "../secret")", false},
        {R"("id": "x", "display_name": "", "url": "", "license": "L", "license_url": "", )"
         R"("attribution": "a", "data_file": "f")",
         false},
    };
    for (const auto& [fields, valid] : cases) {
        EXPECT_EQ(parseSourceRecords("{\"sources\": [{" + fields + "}]}").has_value(), valid)
            << fields;
    }
    const std::string twice =
        "{\"sources\": [{" + base + R"(, "data_file": "f"}, {)" + base + R"(, "data_file": "g"}]})";
    EXPECT_FALSE(parseSourceRecords(twice).has_value()) << "repeated id";
}

}  // namespace
}  // namespace tessel::compiler
