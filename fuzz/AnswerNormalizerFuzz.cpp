// SPDX-License-Identifier: GPL-3.0-or-later
// Normalises arbitrary bytes under every language and content, and judges the input against
// candidates cut from it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "AnswerNormalization.h"
#include "Utf8.h"

namespace {

using namespace tessel;

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "violated: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    constexpr AnswerContent kContents[] = {AnswerContent::automatic, AnswerContent::pinyin,
                                           AnswerContent::text};
    for (const auto language : kAllLearningLanguages) {
        for (const auto content : kContents) {
            const auto normalized = AnswerNormalizer::normalize(text, language, content);
            require(utf8::isValid(normalized), "normalised text is well-formed UTF-8");
        }
    }
    require(AnswerNormalizer::normalizePinyin(text) ==
                AnswerNormalizer::normalize(text, LearningLanguage::chinese, AnswerContent::pinyin),
            "pinyin rule agrees with the Chinese pinyin content");

    // The first line is the typed input, every further line a candidate.
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos;
         start = end + 1) {
        lines.emplace_back(text.substr(start, end - start));
    }
    lines.emplace_back(text.substr(start));
    const std::string input = lines.front();
    const std::vector<std::string> candidates(lines.begin() + 1, lines.end());
    for (const auto language : kAllLearningLanguages) {
        for (const auto content : kContents) {
            const auto evaluation =
                AnswerValidator().evaluate(input, candidates, language, content);
            require(evaluation.input == input, "input kept as typed");
            require(!evaluation.isCorrect || (evaluation.matchedAnswer.has_value() &&
                                              !evaluation.normalizedInput.empty()),
                    "a correct answer names its match and is not empty");
            if (evaluation.matchedAnswer) {
                bool listed = false;
                for (const auto& candidate : candidates)
                    listed |= candidate == *evaluation.matchedAnswer;
                require(listed, "the match is one of the candidates");
            }
        }
    }
    return 0;
}
