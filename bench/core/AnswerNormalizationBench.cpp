// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "AnswerNormalization.h"

namespace {

using tessel::AnswerContent;
using tessel::LearningLanguage;

// What learners type for Chinese cards: tone marks, tone digits, capitals, separators, hanzi.
const std::vector<std::string> kTypicalAnswers = {
    "Nǐ hǎo", "ni3 hao3", "xie4xie", "lǜ",     "zhōngguó", "NI3-HAO3",  "Xī’ān",
    "lu:4",   "péngyou",  "你好",    "xièxie", "Běijīng",  "chi1 fan4", "谢谢",
};

void normalizeAll(benchmark::State& state, AnswerContent content) {
    std::size_t processed = 0;
    for (auto _ : state) {
        for (const auto& answer : kTypicalAnswers) {
            auto normalized =
                tessel::AnswerNormalizer::normalize(answer, LearningLanguage::chinese, content);
            benchmark::DoNotOptimize(normalized);
        }
        processed += kTypicalAnswers.size();
    }
    state.SetItemsProcessed(static_cast<int64_t>(processed));
}

void BM_NormalizeAutomatic(benchmark::State& state) {
    normalizeAll(state, AnswerContent::automatic);
}
void BM_NormalizePinyin(benchmark::State& state) {
    normalizeAll(state, AnswerContent::pinyin);
}

// One card judged the way the study screen does it.
void BM_EvaluateTargetLanguage(benchmark::State& state) {
    const tessel::VocabularyItem item{"zh-1",   LearningLanguage::chinese,
                                      "你好",   "nǐ hǎo",
                                      "ni hao", {"hello"},
                                      "",       "",
                                      1,        1,
                                      {"您好"}, {}};
    const tessel::AnswerValidator validator;
    for (auto _ : state) {
        auto evaluation =
            validator.evaluate("Ni3 hao3", item, tessel::ExerciseDirection::targetLanguage);
        benchmark::DoNotOptimize(evaluation);
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_NormalizeAutomatic);
BENCHMARK(BM_NormalizePinyin);
BENCHMARK(BM_EvaluateTargetLanguage);

}  // namespace
