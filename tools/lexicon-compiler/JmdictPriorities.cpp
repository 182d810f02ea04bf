// SPDX-License-Identifier: GPL-3.0-or-later
#include "JmdictPriorities.h"
#include "TextLines.h"
#include "Utf8.h"

#include <algorithm>
#include <bit>
#include <charconv>

namespace tessel::compiler {

namespace {

std::size_t skipSpaces(std::string_view text, std::size_t pos) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    return pos;
}

void applyMarker(std::string_view marker, Priority& priority) {
    // Bit i stands for list i in both tables: news, ichi, special-common, gai.
    static constexpr std::string_view kFirstLists[] = {"news1", "ichi1", "spec1", "gai1"};
    static constexpr std::string_view kSecondLists[] = {"news2", "ichi2", "spec2", "gai2"};
    if (marker.size() == 4 && marker.substr(0, 2) == "nf") {
        int bucket = 0;
        auto parsed = std::from_chars(marker.data() + 2, marker.data() + 4, bucket);
        if (parsed.ec == std::errc() && bucket > 0) priority.nf = bucket;
        return;
    }
    for (std::size_t i = 0; i < std::size(kFirstLists); ++i) {
        if (marker == kFirstLists[i]) priority.firstLists |= std::uint8_t(1u << i);
        if (marker == kSecondLists[i]) priority.secondLists |= std::uint8_t(1u << i);
    }
}

Priority shared(const Priority& a, const Priority& b) {
    Priority both;
    both.nf = (a.nf > 0 && b.nf > 0) ? std::max(a.nf, b.nf) : 0;
    both.firstLists = a.firstLists & b.firstLists;
    both.secondLists = a.secondLists & b.secondLists;
    return both;
}

}  // namespace

bool isKanaOnly(std::string_view text) {
    if (text.empty()) return false;
    for (std::size_t i = 0; i < text.size();) {
        const auto [c, length] = utf8::decode(text, i);
        if (length == 0) return false;
        i += length;
        const bool kana = (c >= 0x3041 && c <= 0x309F) || (c >= 0x30A0 && c <= 0x30FF) ||
                          (c >= 0x31F0 && c <= 0x31FF) || (c >= 0xFF66 && c <= 0xFF9F);
        if (!kana) return false;
    }
    return true;
}

bool betterPriority(const Priority& a, const Priority& b) {
    const int nfA = a.nf > 0 ? a.nf : 100, nfB = b.nf > 0 ? b.nf : 100;
    if (nfA != nfB) return nfA < nfB;
    const int firstA = std::popcount(a.firstLists), firstB = std::popcount(b.firstLists);
    if (firstA != firstB) return firstA > firstB;
    return std::popcount(a.secondLists) > std::popcount(b.secondLists);
}

bool parsePriorityHeadword(std::string_view line, std::vector<PriorityForm>& forms) {
    forms.clear();
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() < 3 || line.back() != '/') return false;
    const std::size_t lastSlash = line.rfind('/', line.size() - 2);
    if (lastSlash == std::string_view::npos || lastSlash == 0 || line[lastSlash - 1] != ' ') {
        return false;
    }
    std::size_t pos = 0;
    while (pos < line.size()) {
        PriorityForm form;
        for (;;) {
            pos = skipSpaces(line, pos);
            if (pos < line.size() && line[pos] == '[') {
                const std::size_t close = line.find(']', pos);
                if (close == std::string_view::npos) return false;
                applyMarker(line.substr(pos + 1, close - pos - 1), form.priority);
                pos = close + 1;
            } else if (pos < line.size() && line[pos] == '(') {
                int depth = 0;
                std::size_t i = pos;
                for (; i < line.size(); ++i) {
                    if (line[i] == '(') ++depth;
                    if (line[i] == ')' && --depth == 0) break;
                }
                if (i >= line.size()) return false;
                pos = i + 1;
            } else {
                break;
            }
        }
        const std::size_t ipaStart = line.find(" /", pos);
        if (ipaStart == std::string_view::npos || ipaStart == pos) return false;
        const std::size_t ipaEnd = line.find('/', ipaStart + 2);
        if (ipaEnd == std::string_view::npos) return false;
        form.text = std::string(line.substr(pos, ipaStart - pos));
        forms.push_back(std::move(form));
        pos = ipaEnd + 1;
        if (pos >= line.size()) break;
        if (line[pos] != ',') return false;
        ++pos;
    }
    return !forms.empty();
}

PriorityIndex PriorityIndex::fromDictionary(std::string_view text) {
    PriorityIndex index;
    index.m_postings.reserve(450000);
    std::vector<PriorityForm> forms;
    TextLines lines(text);
    std::string_view line;
    while (lines.next(line)) {
        if (parsePriorityHeadword(line, forms)) index.addEntry(forms);
    }
    return index;
}

void PriorityIndex::addEntry(const std::vector<PriorityForm>& forms) {
    const auto entry = static_cast<std::uint32_t>(m_entryCount++);
    const bool hasKanji = std::any_of(forms.begin(), forms.end(),
                                      [](const PriorityForm& f) { return !isKanaOnly(f.text); });
    for (std::uint32_t i = 0; i < forms.size(); ++i) {
        m_postings[forms[i].text].push_back({entry, i, forms[i].priority, hasKanji});
    }
}

PriorityIndex::Match PriorityIndex::match(std::string_view term, std::string_view reading) const {
    Match best;
    const auto termPostings = m_postings.find(std::string(term));
    if (termPostings == m_postings.end()) return best;
    const auto consider = [&](const Posting& written, const Priority& priority) {
        if (!best.entry || betterPriority(priority, best.priority)) {
            best = {priority, written.entry, written.form};
        }
    };
    if (reading.empty() || reading == term) {
        for (const Posting& posting : termPostings->second) {
            if (!posting.entryHasKanji) consider(posting, posting.priority);
        }
        return best;
    }
    const auto readingPostings = m_postings.find(std::string(reading));
    if (readingPostings == m_postings.end()) return best;
    for (const Posting& written : termPostings->second) {
        for (const Posting& spoken : readingPostings->second) {
            if (written.entry != spoken.entry) continue;
            consider(written, shared(written.priority, spoken.priority));
        }
    }
    return best;
}

}  // namespace tessel::compiler
