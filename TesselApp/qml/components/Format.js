// SPDX-License-Identifier: GPL-3.0-or-later
// Texts and figures shared by the home, dictionary, progress, settings and sources screens.
// Pure functions of their arguments, so the screens' wording can be checked without a model.
.pragma library

// The learner's locale; the bare POSIX locale has no weekday or month names, so it reads as US
// English, whose digits and separators it shares.
function locale() {
    const current = Qt.locale();
    return current.name === "C" ? Qt.locale("en_US") : current;
}

// The number with the locale's digit grouping and no fraction digits ("123,456").
function grouped(value) {
    const n = Number(value);
    return Number(isFinite(n) ? n : 0).toLocaleString(locale(), 'f', 0);
}

// A count with its noun in the right number: "1 day", "2 days", "1,024 entries".
function counted(value, singular, plural) {
    return grouped(value) + " " + (Number(value) === 1 ? singular : plural);
}

// "Good morning" before noon, "Good afternoon" before six in the evening, else "Good evening".
function greeting(hour) {
    if (hour < 12)
        return "Good morning";
    if (hour < 18)
        return "Good afternoon";
    return "Good evening";
}

// "3 reviews and 1 new word, selected for you."
function sessionSummary(dueCount, newCount) {
    return dueCount + " review" + (dueCount === 1 ? "" : "s") + " and " + newCount + " new word"
        + (newCount === 1 ? "" : "s") + ", selected for you.";
}

function listLength(list) {
    return list && list.length !== undefined ? list.length : 0;
}

// Sum of the days' reviewed cards.
function totalReviewed(days) {
    let total = 0;
    for (let i = 0; i < listLength(days); ++i)
        total += days[i].stats ? (days[i].stats.reviewedCount || 0) : 0;
    return total;
}

// The weekday's narrow symbol ("M") for a chart label.
function narrowWeekday(date) {
    const d = new Date(date);
    return locale().dayName(d.getDay(), 2 /* Locale.NarrowFormat */);
}

// Abbreviated month and day number ("Mar 4").
function monthDay(date) {
    const d = new Date(date);
    return locale().monthName(d.getMonth(), 1 /* Locale.ShortFormat */) + " " + d.getDate();
}

// True when the text is an absolute address with a scheme and a host, the only kind handed to
// the system browser.
function isOpenableLink(text) {
    if (typeof text !== "string" || text.trim() !== text || text.length === 0)
        return false;
    try {
        const url = new URL(text);
        return url.protocol.length > 1 && url.host.length > 0;
    } catch (e) {
        return false;
    }
}

// The last path component of a file URL or path, percent-decoded ("Brindle Progress.json").
function lastPathComponent(location) {
    let text = String(location);
    const query = text.search(/[?#]/);
    if (text.startsWith("file:") && query >= 0)
        text = text.slice(0, query);
    while (text.length > 1 && text.endsWith("/"))
        text = text.slice(0, -1);
    const name = text.slice(text.lastIndexOf("/") + 1);
    if (!text.startsWith("file:"))
        return name;
    try {
        return decodeURIComponent(name);
    } catch (e) {
        return name;
    }
}

// Axis values for counts from 0 up to at least `maxValue`: whole steps of 1, 2 or 5 × 10^k,
// about four intervals.
function axisTicks(maxValue) {
    const top = Math.max(1, Math.ceil(Number(maxValue) || 0));
    const rough = top / 4;
    const magnitude = Math.pow(10, Math.floor(Math.log10(Math.max(rough, 1))));
    let step = magnitude;
    for (const factor of [1, 2, 5, 10]) {
        step = factor * magnitude;
        if (step >= rough)
            break;
    }
    step = Math.max(1, step);
    const ticks = [];
    for (let v = 0; v < top + step; v += step)
        ticks.push(v);
    return ticks;
}

// A day as the locale writes it in full, for the chart's spoken bar names.
function longDate(date) {
    return new Date(date).toLocaleDateString(locale(), 0 /* Locale.LongFormat */);
}

// The first meaning of an entry or item, or `fallback` when it has none.
function firstMeaning(record, fallback) {
    const meanings = record && record.meanings ? record.meanings : [];
    return meanings.length > 0 ? meanings[0] : fallback;
}

// The highest frequency rank that still earns a rank chip in the dictionary.
const kHighestShownRank = 40000;

// The dictionary's coverage chips for an entry, in order: its band, whether it is on the study
// path, its frequency rank when the rank is within the shown range, and "Leech" when the
// learner's `card` for it (optional) keeps slipping.
function coverageChips(entry, card) {
    const chips = [{ symbol: "leaf.fill", text: "Band " + entry.level }];
    if (entry.isInCurriculum)
        chips.push({ symbol: "checkmark.circle.fill", text: "Study path" });
    else
        chips.push({ symbol: "books.vertical.fill", text: "Reference" });
    if (entry.frequencyRank <= kHighestShownRank)
        chips.push({ symbol: "number", text: "Rank " + grouped(entry.frequencyRank) });
    if (card !== undefined && card !== null && card.isLeech)
        chips.push({ symbol: "clock.arrow.circlepath", text: "Leech" });
    return chips;
}

// The result the dictionary shows: the one whose id is `selectedID`, else the first; -1 with no
// results.
function selectedIndex(results, selectedID) {
    const count = listLength(results);
    if (selectedID !== undefined && selectedID !== null) {
        for (let i = 0; i < count; ++i) {
            if (results[i].id === selectedID)
                return i;
        }
    }
    return count > 0 ? 0 : -1;
}
