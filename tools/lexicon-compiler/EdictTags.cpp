// SPDX-License-Identifier: GPL-3.0-or-later
#include "EdictTags.h"

#include <algorithm>
#include <unordered_map>

namespace tessel::compiler {

namespace {

struct Row {
    std::string_view code;
    EdictTagKind kind;
    std::string_view label;
};

constexpr EdictTagKind kPos = EdictTagKind::partOfSpeech;
constexpr EdictTagKind kUsage = EdictTagKind::usage;
constexpr EdictTagKind kSpelling = EdictTagKind::spelling;
constexpr EdictTagKind kField = EdictTagKind::field;
constexpr EdictTagKind kName = EdictTagKind::name;

constexpr Row kRows[] = {
    {"n", kPos, "noun"},
    {"n-adv", kPos, "adverbial noun"},
    {"n-t", kPos, "temporal noun"},
    {"n-suf", kPos, "noun suffix"},
    {"n-pref", kPos, "noun prefix"},
    {"n-pr", kPos, "proper noun"},
    {"pn", kPos, "pronoun"},
    {"num", kPos, "numeral"},
    {"ctr", kPos, "counter"},
    {"adj-i", kPos, "i-adjective"},
    {"adj-ix", kPos, "i-adjective (yoi/ii class)"},
    {"adj-na", kPos, "na-adjective"},
    {"adj-no", kPos, "no-adjective"},
    {"adj-pn", kPos, "pre-noun adjectival"},
    {"adj-t", kPos, "taru-adjective"},
    {"adj-f", kPos, "prenominal"},
    {"adj-ku", kPos, "ku-adjective (archaic)"},
    {"adj-shiku", kPos, "shiku-adjective (archaic)"},
    {"adj-nari", kPos, "nari-adjective (archaic)"},
    {"adj-kari", kPos, "kari-adjective (archaic)"},
    {"adv", kPos, "adverb"},
    {"adv-to", kPos, "to-adverb"},
    {"aux", kPos, "auxiliary"},
    {"aux-v", kPos, "auxiliary verb"},
    {"aux-adj", kPos, "auxiliary adjective"},
    {"conj", kPos, "conjunction"},
    {"cop", kPos, "copula"},
    {"exp", kPos, "expression"},
    {"int", kPos, "interjection"},
    {"pref", kPos, "prefix"},
    {"suf", kPos, "suffix"},
    {"prt", kPos, "particle"},
    {"unc", kPos, "unclassified"},
    {"v1", kPos, "Ichidan verb"},
    {"v1-s", kPos, "Ichidan verb (kureru class)"},
    {"v5aru", kPos, "Godan verb (aru class)"},
    {"v5b", kPos, "Godan verb"},
    {"v5g", kPos, "Godan verb"},
    {"v5k", kPos, "Godan verb"},
    {"v5k-s", kPos, "Godan verb (iku/yuku)"},
    {"v5m", kPos, "Godan verb"},
    {"v5n", kPos, "Godan verb"},
    {"v5r", kPos, "Godan verb"},
    {"v5r-i", kPos, "Godan verb (irregular)"},
    {"v5s", kPos, "Godan verb"},
    {"v5t", kPos, "Godan verb"},
    {"v5u", kPos, "Godan verb"},
    {"v5u-s", kPos, "Godan verb (special)"},
    {"v5uru", kPos, "Godan verb (uru class)"},
    {"vk", kPos, "kuru verb"},
    {"vn", kPos, "irregular nu verb"},
    {"vr", kPos, "irregular ru verb"},
    {"vs", kPos, "suru verb"},
    {"vs-c", kPos, "su verb (archaic)"},
    {"vs-i", kPos, "suru verb"},
    {"vs-s", kPos, "suru verb (special class)"},
    {"vz", kPos, "zuru verb"},
    {"vt", kPos, "transitive verb"},
    {"vi", kPos, "intransitive verb"},

    {"P", kUsage, "common word"},
    {"uk", kUsage, "usually written in kana"},
    {"uK", kUsage, "usually written in kanji"},
    {"abbr", kUsage, "abbreviation"},
    {"arch", kUsage, "archaic"},
    {"col", kUsage, "colloquial"},
    {"dated", kUsage, "dated"},
    {"derog", kUsage, "derogatory"},
    {"fam", kUsage, "familiar"},
    {"fem", kUsage, "female term"},
    {"hist", kUsage, "historical"},
    {"hon", kUsage, "honorific"},
    {"hum", kUsage, "humble"},
    {"id", kUsage, "idiomatic"},
    {"joc", kUsage, "jocular"},
    {"litf", kUsage, "literary"},
    {"m-sl", kUsage, "manga slang"},
    {"male", kUsage, "male term"},
    {"net-sl", kUsage, "internet slang"},
    {"obs", kUsage, "obsolete"},
    {"obsc", kUsage, "obscure"},
    {"on-mim", kUsage, "onomatopoeia"},
    {"poet", kUsage, "poetic"},
    {"pol", kUsage, "polite"},
    {"proverb", kUsage, "proverb"},
    {"quote", kUsage, "quotation"},
    {"aphorism", kUsage, "aphorism"},
    {"rare", kUsage, "rare"},
    {"sens", kUsage, "sensitive"},
    {"sl", kUsage, "slang"},
    {"vulg", kUsage, "vulgar"},
    {"X", kUsage, "rude"},
    {"yoji", kUsage, "four-character idiom"},
    {"chn", kUsage, "children's language"},
    {"tradem", kUsage, "trademark"},
    {"ok", kSpelling, "out-dated kana"},
    {"oK", kSpelling, "out-dated kanji"},
    {"ik", kSpelling, "irregular kana"},
    {"iK", kSpelling, "irregular kanji"},
    {"io", kSpelling, "irregular okurigana"},
    {"eK", kSpelling, "exclusively kanji"},
    {"ek", kSpelling, "exclusively kana"},
    {"ateji", kSpelling, "ateji"},
    {"gikun", kSpelling, "gikun"},
    {"rK", kSpelling, "rare kanji"},
    {"sK", kSpelling, "search-only kanji"},
    {"sk", kSpelling, "search-only kana"},

    {"place", kName, "place name"},
    {"person", kName, "person"},
    {"surname", kName, "surname"},
    {"given", kName, "given name"},
    {"masc", kName, "male given name"},
    {"company", kName, "company"},
    {"organization", kName, "organization"},
    {"product", kName, "product"},
    {"work", kName, "work of art"},
    {"station", kName, "station"},
    {"group", kName, "group"},
    {"char", kName, "character"},
    {"creat", kName, "creature"},
    {"dei", kName, "deity"},
    {"ev", kName, "event"},
    {"fict", kName, "fiction"},
    {"leg", kName, "legend"},
    {"myth", kName, "mythology"},
    {"obj", kName, "object"},
    {"serv", kName, "service"},
    {"ship", kName, "ship"},
    {"relig", kName, "religion"},
    {"doc", kName, "document"},
    {"oth", kName, "other name"},
    {"unclass", kName, "unclassified name"},
};

// Subject fields read the same as their codes to a learner; they are never shown.
constexpr std::string_view kFields[] = {
    "Buddh",  "Christn", "MA",     "Shinto",  "agric",    "anat",    "archeol", "archit", "art",
    "astron", "audvid",  "aviat",  "baseb",   "biochem",  "biol",    "bot",     "bus",    "chem",
    "comp",   "cryst",   "ecol",   "econ",    "elec",     "electr",  "embryo",  "engr",   "ent",
    "finc",   "fish",    "food",   "gardn",   "genet",    "geogr",   "geol",    "geom",   "go",
    "golf",   "gramm",   "grmyth", "hanaf",   "horse",    "law",     "ling",    "logic",  "mahj",
    "math",   "mech",    "med",    "met",     "mil",      "mining",  "music",   "noh",    "ornith",
    "paleo",  "pathol",  "pharm",  "phil",    "photo",    "physics", "physiol", "print",  "psy",
    "psych",  "rail",    "shogi",  "ski",     "sports",   "stat",    "sumo",    "telec",  "vidg",
    "zool",   "kabuki",  "cards",  "boxing",  "cloth",    "psyanal", "surg",    "manga",  "film",
    "tv",     "dent",    "chmyth", "rommyth", "politics", "prof",
};

}  // namespace

std::optional<EdictTag> edictTag(std::string_view code) {
    static const std::unordered_map<std::string_view, const Row*> table = [] {
        std::unordered_map<std::string_view, const Row*> t;
        for (const Row& row : kRows) t.emplace(row.code, &row);
        return t;
    }();
    if (auto found = table.find(code); found != table.end()) {
        return EdictTag{found->second->kind, std::string(found->second->label)};
    }
    for (std::string_view field : kFields) {
        if (field == code) return EdictTag{kField, std::string(code)};
    }
    // Dialects: a short lower-case code and a colon ("ksb:", "kyu:", "tsug:").
    if (code.size() >= 3 && code.size() <= 6 && code.back() == ':') {
        const std::string_view name = code.substr(0, code.size() - 1);
        if (std::all_of(name.begin(), name.end(), [](char c) { return c >= 'a' && c <= 'z'; })) {
            return EdictTag{EdictTagKind::dialect, std::string(code)};
        }
    }
    // Archaic conjugation classes: v2a-s, v4r, ...
    if (code.size() >= 3 && (code.substr(0, 2) == "v2" || code.substr(0, 2) == "v4")) {
        return EdictTag{kPos, code[1] == '2' ? "Nidan verb (archaic)" : "Yodan verb (archaic)"};
    }
    return std::nullopt;
}

}  // namespace tessel::compiler
