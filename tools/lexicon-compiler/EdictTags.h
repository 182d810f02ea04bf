// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessel::compiler {

enum class EdictTagKind {
    partOfSpeech,  // n, v5k, adj-na, ...
    usage,         // uk, abbr, arch, col, hon, (P) ...
    spelling,      // ok, oK, iK, ik, io, ateji, gikun, ...
    field,         // comp, food, med, sports, ...
    dialect,       // ksb:, kyb:, ...
    name,          // place, person, surname, company, ...
};

struct EdictTag {
    EdictTagKind kind;
    std::string label;  // readable form; only parts of speech are shown to learners
};

// The meaning of one code found in a gloss's leading parentheses, or nothing when the text is
// not a dictionary code (then the parentheses belong to the English gloss, as in "(a) dose").
std::optional<EdictTag> edictTag(std::string_view code);

}  // namespace tessel::compiler
