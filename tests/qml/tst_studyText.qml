// SPDX-License-Identifier: GPL-3.0-or-later
// The study screen's wording rules, one table per rule.
import QtQuick
import QtTest
import "qrc:/Brindle/study/StudyText.js" as StudyText

TestCase {
    name: "StudyText"

    function test_counter_data() {
        return [
            { tag: "first of ten", index: 0, total: 10, want: "1 / 10" },
            { tag: "last of ten", index: 9, total: 10, want: "10 / 10" },
            { tag: "index past the end stays at the total", index: 10, total: 10, want: "10 / 10" },
            { tag: "far past the end", index: 57, total: 3, want: "3 / 3" },
            { tag: "no items shows nothing", index: 0, total: 0, want: "" },
        ]
    }
    function test_counter(data) {
        compare(StudyText.counter(data.index, data.total), data.want)
    }

    function test_progressFraction_data() {
        return [
            { tag: "first card", phase: "answering", index: 0, total: 8, want: 0 },
            { tag: "last card's feedback", phase: "feedback", index: 7, total: 8, want: 7 / 8 },
            { tag: "session planted fills the bar", phase: "complete", index: 7, total: 8, want: 1 },
            { tag: "no cards", phase: "complete", index: 0, total: 0, want: 0 },
            { tag: "index past the end", phase: "answering", index: 9, total: 8, want: 1 },
        ]
    }
    function test_progressFraction(data) {
        compare(StudyText.progressFraction(data.phase, data.index, data.total), data.want)
    }

    function test_chip_data() {
        return [
            { tag: "no record", card: undefined, want: "NEW WORD" },
            { tag: "null record", card: null, want: "NEW WORD" },
            { tag: "record never reviewed", card: { totalReviews: 0 }, want: "NEW WORD" },
            { tag: "reviewed once", card: { totalReviews: 1 }, want: "REVIEW" },
            { tag: "reviewed often", card: { totalReviews: 12 }, want: "REVIEW" },
        ]
    }
    function test_chip(data) {
        compare(StudyText.chip(data.card), data.want)
    }

    function test_showsReading_data() {
        return [
            { tag: "differs from the term", show: true, reading: "nǐ hǎo", term: "你好", want: true },
            { tag: "kana word equal to its term", show: true, reading: "これ", term: "これ", want: false },
            { tag: "empty reading", show: true, reading: "", term: "雨", want: false },
            { tag: "readings switched off", show: false, reading: "あめ", term: "雨", want: false },
        ]
    }
    function test_showsReading(data) {
        compare(StudyText.showsReading(data.show, data.reading, data.term), data.want)
    }

    function test_panel_data() {
        return [
            { tag: "idle", phase: "idle", hasItem: false, want: "start" },
            { tag: "idle with a card left over", phase: "idle", hasItem: true, want: "start" },
            { tag: "answering", phase: "answering", hasItem: true, want: "card" },
            { tag: "feedback", phase: "feedback", hasItem: true, want: "card" },
            { tag: "answering without a card", phase: "answering", hasItem: false, want: "closing" },
            { tag: "feedback without a card", phase: "feedback", hasItem: false, want: "closing" },
            { tag: "complete keeps the last card", phase: "complete", hasItem: true, want: "closing" },
        ]
    }
    function test_panel(data) {
        compare(StudyText.panel(data.phase, data.hasItem), data.want)
    }

    function test_closingVariant_data() {
        return [
            { tag: "empty plan, nothing reviewed", items: 0, reviewed: 0, want: "queueClear" },
            { tag: "finished session", items: 3, reviewed: 3, want: "planted" },
            { tag: "items but none rated", items: 2, reviewed: 0, want: "planted" },
        ]
    }
    function test_closingVariant(data) {
        compare(StudyText.closingVariant(data.items, data.reviewed), data.want)
    }

    function test_canCheck_data() {
        return [
            { tag: "empty", answer: "", want: false },
            { tag: "spaces", answer: "   ", want: false },
            { tag: "newlines and tabs", answer: "\n\t \r\n", want: false },
            { tag: "ideographic space", answer: "\u3000", want: false },
            { tag: "a word", answer: "nihao", want: true },
            { tag: "a word inside spaces", answer: "  你好 ", want: true },
        ]
    }
    function test_canCheck(data) {
        compare(StudyText.canCheck(data.answer), data.want)
    }

    function test_promptAndMeanings_data() {
        return [
            { tag: "first meaning", meanings: ["hello", "hi"], title: "hello", line: "hello · hi" },
            { tag: "no meanings", meanings: [], title: "Recall the target word", line: "" },
            { tag: "three of five", meanings: ["a", "b", "c", "d", "e"], title: "a", line: "a · b · c" },
        ]
    }
    function test_promptAndMeanings(data) {
        compare(StudyText.promptTitle(data.meanings), data.title)
        compare(StudyText.meaningLine(data.meanings), data.line)
    }
}
