// SPDX-License-Identifier: GPL-3.0-or-later
#include "CedictParser.h"
#include "TextLines.h"

namespace tessel::compiler {

namespace {

constexpr std::string_view kModulePrefix = "module.exports = `";

std::string_view trimTrailing(std::string_view text) {
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' ||
                             text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

Result<std::string_view> unwrapCedictModule(std::string_view module) {
    if (module.substr(0, kModulePrefix.size()) != kModulePrefix) {
        return fail("the CC-CEDICT module does not start with \"module.exports = `\"");
    }
    std::string_view text = trimTrailing(module.substr(kModulePrefix.size()));
    if (!text.empty() && text.back() == ';') text.remove_suffix(1);
    if (text.empty() || text.back() != '`') {
        return fail("the CC-CEDICT module does not end with a backtick");
    }
    text.remove_suffix(1);
    if (text.find('`') != std::string_view::npos) {
        return fail("the CC-CEDICT module holds more than one template string");
    }
    return text;
}

bool parseCedictLine(std::string_view line, CedictRecord& record) {
    line = trimTrailing(line);
    const std::size_t firstSpace = line.find(' ');
    if (firstSpace == std::string_view::npos || firstSpace == 0) return false;
    const std::size_t secondSpace = line.find(' ', firstSpace + 1);
    if (secondSpace == std::string_view::npos || secondSpace == firstSpace + 1) return false;
    if (line.substr(secondSpace + 1, 1) != "[") return false;
    const std::size_t closeBracket = line.find("] /", secondSpace + 2);
    if (closeBracket == std::string_view::npos) return false;
    if (line.size() < closeBracket + 4 || line.back() != '/') return false;

    record.traditional = std::string(line.substr(0, firstSpace));
    record.simplified = std::string(line.substr(firstSpace + 1, secondSpace - firstSpace - 1));
    record.pinyin = std::string(line.substr(secondSpace + 2, closeBracket - secondSpace - 2));
    record.glosses.clear();
    std::string_view glosses = line.substr(closeBracket + 3);
    glosses.remove_suffix(1);
    std::size_t start = 0;
    while (start <= glosses.size()) {
        std::size_t end = glosses.find('/', start);
        if (end == std::string_view::npos) end = glosses.size();
        std::string_view gloss = glosses.substr(start, end - start);
        if (!gloss.empty()) record.glosses.emplace_back(gloss);
        start = end + 1;
    }
    return !record.pinyin.empty() && !record.glosses.empty();
}

CedictText parseCedict(std::string_view text) {
    CedictText result;
    result.records.reserve(130000);
    CedictRecord record;
    TextLines lines(text);
    std::string_view raw;
    while (lines.next(raw)) {
        const std::string_view line = trimTrailing(raw);
        if (line.empty() || line.front() == '#') continue;
        if (parseCedictLine(line, record)) {
            result.records.push_back(record);
        } else {
            ++result.skippedLines;
        }
    }
    return result;
}

}  // namespace tessel::compiler
