// SPDX-License-Identifier: GPL-3.0-or-later
#include "KanjiDictionary.h"

#include <charconv>

#include "TextLines.h"

namespace tessel::compiler {

namespace {

std::string decodeEntities(std::string_view text) {
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        bool decoded = false;
        if (text[i] == '&') {
            for (const auto& [entity, character] : kEntities) {
                if (text.substr(i, entity.size()) == entity) {
                    out.push_back(character);
                    i += entity.size();
                    decoded = true;
                    break;
                }
            }
        }
        if (!decoded) out.push_back(text[i++]);
    }
    return out;
}

// The element on one line, "<name attributes>content</name>", split into its parts; false
// for lines that are not one complete element.
bool splitElement(std::string_view line, std::string_view& name, std::string_view& attributes,
                  std::string_view& content) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.remove_suffix(1);
    if (line.size() < 3 || line.front() != '<' || line[1] == '/') return false;
    const std::size_t open = line.find('>');
    if (open == std::string_view::npos) return false;
    const std::string_view tag = line.substr(1, open - 1);
    const std::size_t space = tag.find(' ');
    name = tag.substr(0, space);
    attributes = space == std::string_view::npos ? std::string_view{} : tag.substr(space + 1);
    const std::size_t close = line.rfind("</");
    if (close == std::string_view::npos || close < open) {
        content = {};
        return true;
    }
    content = line.substr(open + 1, close - open - 1);
    return true;
}

int number(std::string_view text) {
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

}  // namespace

const KanjiRecord* KanjiDictionary::find(std::string_view literal) const {
    const auto found = byLiteral.find(std::string(literal));
    return found == byLiteral.end() ? nullptr : &characters[found->second];
}

KanjiDictionary parseKanjiDictionary(std::string_view xml) {
    KanjiDictionary dictionary;
    KanjiRecord current;
    bool inside = false;
    TextLines lines(xml);
    std::string_view line;
    while (lines.next(line)) {
        if (line.find("<character>") != std::string_view::npos) {
            current = KanjiRecord{};
            inside = true;
            continue;
        }
        if (!inside) continue;
        if (line.find("</character>") != std::string_view::npos) {
            inside = false;
            if (current.literal.empty() || dictionary.byLiteral.contains(current.literal)) {
                ++dictionary.skippedCharacters;
                continue;
            }
            dictionary.byLiteral.emplace(current.literal, dictionary.characters.size());
            dictionary.characters.push_back(std::move(current));
            continue;
        }
        std::string_view name, attributes, content;
        if (!splitElement(line, name, attributes, content)) continue;
        if (name == "literal") {
            current.literal = decodeEntities(content);
        } else if (name == "grade") {
            current.grade = number(content);
        } else if (name == "stroke_count") {
            if (current.strokeCount == 0) current.strokeCount = number(content);
        } else if (name == "freq") {
            current.frequency = number(content);
        } else if (name == "jlpt") {
            current.jlpt = number(content);
        } else if (name == "reading") {
            if (attributes == "r_type=\"ja_on\"")
                current.onReadings.push_back(decodeEntities(content));
            if (attributes == "r_type=\"ja_kun\"")
                current.kunReadings.push_back(decodeEntities(content));
        } else if (name == "meaning" && attributes.empty()) {
            current.meanings.push_back(decodeEntities(content));
        }
    }
    return dictionary;
}

}  // namespace tessel::compiler
