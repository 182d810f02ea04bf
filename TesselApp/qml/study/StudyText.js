// SPDX-License-Identifier: GPL-3.0-or-later
// The study screen's texts and figures, as pure functions of the model's values, so that the
// wording rules can be checked on their own.
.pragma library

// "N / T" with N = min(index + 1, T); "" when there are no items.
function counter(index, total) {
    if (total < 1)
        return ""
    return Math.min(index + 1, total) + " / " + total
}

// How far the session bar reaches, 0 to 1: the cards answered so far, and the whole bar once the
// session is complete (the last card's index is one short of the total).
function progressFraction(phase, index, total) {
    if (total < 1)
        return 0
    if (phase === "complete")
        return 1
    return Math.min(1, Math.max(0, index) / total)
}

// "REVIEW" for a card reviewed at least once, else "NEW WORD" (also when there is no card).
function chip(card) {
    return card !== undefined && card !== null && card.totalReviews >= 1 ? "REVIEW" : "NEW WORD"
}

// The meaning prompt's title: the first meaning, or a neutral request when there is none.
function promptTitle(meanings) {
    return meanings && meanings.length > 0 ? meanings[0] : "Recall the target word"
}

// Whether the reading goes beside the answer: wanted, present, and not just the term again.
function showsReading(showReading, reading, term) {
    return showReading && reading !== "" && reading !== term
}

// Up to the first three meanings, joined by " · ".
function meaningLine(meanings) {
    return meanings ? Array.prototype.slice.call(meanings, 0, 3).join(" · ") : ""
}

// The closing panel: "queueClear" when nothing was there to study, else "planted".
function closingVariant(itemCount, reviewed) {
    return itemCount === 0 && reviewed === 0 ? "queueClear" : "planted"
}

// The panel for a phase: "start", "card" or "closing" (a phase without a card closes).
function panel(phase, hasCurrentItem) {
    if (phase === "idle")
        return "start"
    if (phase === "answering" || phase === "feedback")
        return hasCurrentItem ? "card" : "closing"
    return "closing"
}

// Whether "Check" is enabled: the answer holds more than whitespace and newlines.
function canCheck(answer) {
    return answer.trim() !== ""
}
