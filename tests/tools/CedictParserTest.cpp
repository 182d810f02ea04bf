// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "CaseName.h"
#include "CedictParser.h"

namespace tessel::compiler {
namespace {

struct LineCase {
    const char* line;
    bool valid;
    CedictRecord record;
};

class CedictLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(CedictLineTest, ReadsOrRejectsTheLine) {
    CedictRecord record;
    EXPECT_EQ(parseCedictLine(GetParam().line, record), GetParam().valid) << GetParam().line;
    if (GetParam().valid) {
        EXPECT_EQ(record, GetParam().record);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CedictLineTest,
    testing::Values(LineCase{"你好 你好 [ni3 hao3] /hello/hi/",
                             true,
                             {"你好", "你好", "ni3 hao3", {"hello", "hi"}}},
                    LineCase{"學習 学习 [xue2 xi2] /to learn; to study/\r",
                             true,
                             {"學習", "学习", "xue2 xi2", {"to learn; to study"}}},
                    // an empty gloss between slashes is dropped, not kept as ""
                    LineCase{"綠 绿 [lu:4] /green//", true, {"綠", "绿", "lu:4", {"green"}}},
                    LineCase{"綠 绿 [lu:4] //", false, {}}, LineCase{"綠 绿 [] /green/", false, {}},
                    LineCase{"綠 绿 lu:4 /green/", false, {}},
                    LineCase{"綠 [lu:4] /green/", false, {}},
                    LineCase{"綠 绿 [lu:4] /green", false, {}}, LineCase{"", false, {}}),
    [](const auto& info) { return testCaseName(info.index, info.param.line); });

TEST(CedictModuleTest, UnwrapsTheTemplateString) {
    struct Case {
        const char* module;
        const char* text;  // nullptr: must fail
    };
    const Case cases[] = {
        {"module.exports = `# head\nA B [a1] /x/`;\n", "# head\nA B [a1] /x/"},
        {"module.exports = `A B [a1] /x/`", "A B [a1] /x/"},
        {"exports = `A B [a1] /x/`;", nullptr},
        {"module.exports = `A B [a1] /x/", nullptr},
        {"module.exports = `A `B` [a1] /x/`;", nullptr},
    };
    for (const Case& c : cases) {
        auto text = unwrapCedictModule(c.module);
        if (c.text == nullptr) {
            EXPECT_FALSE(text.has_value()) << c.module;
        } else {
            ASSERT_TRUE(text.has_value()) << c.module;
            EXPECT_EQ(*text, c.text);
        }
    }
}

TEST(CedictTextTest, SkipsCommentsAndCountsInvalidLines) {
    const CedictText text = parseCedict(
        "# CC-CEDICT\n#! entries=3\n\n你 你 [ni3] /you/\nbroken line\n好 好 [hao3] /good/\n");
    ASSERT_EQ(text.records.size(), 2u);
    EXPECT_EQ(text.records[0].simplified, "你");
    EXPECT_EQ(text.records[1].glosses, std::vector<std::string>{"good"});
    EXPECT_EQ(text.skippedLines, 1u);
}

}  // namespace
}  // namespace tessel::compiler
