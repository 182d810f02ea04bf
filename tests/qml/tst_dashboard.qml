// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtTest
import Brindle
import Brindle.Model
import Brindle.Testing
import "qrc:/Brindle/components/Format.js" as Format

Item {
    id: top
    width: 1214
    height: 882

    Component { id: dashboardComponent; DashboardView {} }

    TestCase {
        name: "Dashboard"
        when: windowShown

        function open() {
            const view = createTemporaryObject(dashboardComponent, top,
                                               { width: top.width, height: top.height });
            verify(view);
            waitForRendering(view);
            return view;
        }
        // The fixture's history as of `day` March 2024, noon: two cards due (one stable), one
        // studied but never right, a week with reviews on the 24th, 27th and 30th (2 of 3 right).
        function restoreFixture(day) {
            tryCompare(AppModel, "isProgressReady", true);
            TestHarness.setClock(new Date(2024, 2, day, 12, 0, 0));
            compare(AppModel.restoreProgress(TestHarness.progressFixturePath), "");
        }
        // Each test starts from a fresh model; done before the test, not after it, so that no
        // screen of the last test is still showing while the model changes.
        function init() {
            AppModel.leaveSession();
            AppModel.resetProgress();
            AppModel.destination = "home";
            AppModel.dailyGoal = 20;
            AppModel.newWordsPerSession = 8;
            AppModel.selectLanguage("chinese");
            TestHarness.setClock(new Date(NaN));
        }
        function textOf(view, name) {
            const item = findChild(view, name);
            verify(item, name);
            return item.text;
        }
        function titleOf(view) {
            return findChild(findChild(view, "header"), "title").text;
        }

        function test_sessionSummary_data() {
            return [
                { tag: "one of each", due: 1, fresh: 1,
                  expected: "1 review and 1 new word, selected for you." },
                { tag: "nothing", due: 0, fresh: 0,
                  expected: "0 reviews and 0 new words, selected for you." },
                { tag: "three due, one new", due: 3, fresh: 1,
                  expected: "3 reviews and 1 new word, selected for you." },
                { tag: "one due, two new", due: 1, fresh: 2,
                  expected: "1 review and 2 new words, selected for you." }
            ];
        }
        function test_sessionSummary(data) {
            compare(Format.sessionSummary(data.due, data.fresh), data.expected);
        }

        function test_factsFromTheModelsPlan() {
            restoreFixture(30);
            AppModel.newWordsPerSession = 3;
            AppModel.dailyGoal = 10;
            const view = open();
            compare(textOf(view, "sessionSummary"), "2 reviews and 3 new words, selected for you.");
            compare(findChild(findChild(view, "fact-0"), "factValue").text,
                    String(AppModel.plan.availableDueCount));
            compare(findChild(findChild(view, "fact-1"), "factValue").text, "3");
        }

        function test_greetingFollowsTheModelsClock_data() {
            return [
                { tag: "11:59", hour: 11, minute: 59, expected: "Good morning" },
                { tag: "12:00", hour: 12, minute: 0, expected: "Good afternoon" },
                { tag: "17:59", hour: 17, minute: 59, expected: "Good afternoon" },
                { tag: "18:00", hour: 18, minute: 0, expected: "Good evening" },
                { tag: "00:00", hour: 0, minute: 0, expected: "Good morning" }
            ];
        }
        function test_greetingFollowsTheModelsClock(data) {
            TestHarness.setClock(new Date(2024, 2, 4, data.hour, data.minute, 0));
            const view = open();
            compare(titleOf(view), data.expected);
        }

        // 5 March holds 19 reviews: 95 % of a goal of 20, all of a goal of 10.
        function test_goalCompleteSwitchesTitleAndButton_data() {
            return [
                { tag: "almost", goal: 20, title: "Your next session is ready",
                  button: "Start today’s session" },
                { tag: "reached", goal: 10, title: "Daily goal complete", button: "Keep growing" }
            ];
        }
        function test_goalCompleteSwitchesTitleAndButton(data) {
            restoreFixture(5);
            AppModel.dailyGoal = data.goal;
            const view = open();
            compare(textOf(view, "heroTitle"), data.title);
            const button = findChild(view, "heroButton");
            compare(button.text, data.button);
            mouseClick(button);
            compare(AppModel.sessionPhase, "answering");
        }

        function test_ringAndTodaysAccuracy_data() {
            return [
                { tag: "nothing today", day: 29, centre: "0", accuracy: "—" },
                { tag: "two of three", day: 30, centre: "3", accuracy: "67%" },
                { tag: "all right", day: 5, centre: "19", accuracy: "100%" }
            ];
        }
        function test_ringAndTodaysAccuracy(data) {
            restoreFixture(data.day);
            AppModel.dailyGoal = 30;
            const view = open();
            compare(textOf(view, "ringValue"), data.centre);
            compare(textOf(view, "ringCaption"), "of 30");
            compare(findChild(findChild(view, "fact-2"), "factValue").text, data.accuracy);
        }

        function test_headlineCards_data() {
            return [
                { tag: "no answers yet", fixture: false, due: 0, dueDetail: "Review queue is clear",
                  shown: "—", across: "Across 0 answers", planted: "0 have 21+ day stability",
                  subtitle: "Your review garden is tidy. Add something new." },
                // 910 right of 1,207 answers over the fixture's three Chinese cards.
                { tag: "answers recorded", fixture: true, due: 2, dueDetail: "Ready for reinforcement",
                  shown: "75%", across: /^Across 1\D207 answers$/,
                  planted: "1 has 21+ day stability",
                  subtitle: "A few words are ready to be strengthened." }
            ];
        }
        function test_headlineCards(data) {
            if (data.fixture)
                restoreFixture(30);
            const view = open();
            const due = findChild(view, "wordsDue");
            compare(due.value, String(data.due));
            compare(due.detail, data.dueDetail);
            const accuracy = findChild(view, "recallAccuracy");
            compare(accuracy.value, data.shown);
            if (typeof data.across === "string")
                compare(accuracy.detail, data.across);
            else
                verify(data.across.test(accuracy.detail), accuracy.detail);
            compare(findChild(view, "wordsPlanted").detail, data.planted);
            compare(findChild(findChild(view, "header"), "subtitle").text, data.subtitle);
        }

        function test_weekChartKeepsEmptyDaysInPlace() {
            restoreFixture(30);
            const view = open();
            const chart = findChild(view, "weekChart");
            compare(chart.points.length, 7);
            const shown = [];
            for (let i = 0; i < 7; ++i)
                shown.push(findChild(chart, "bar-" + i + "-0").visible);
            compare(shown, [true, false, false, true, false, false, true]);
            // Bars sit in evenly spaced slots, so the empty days keep their width.
            const first = findChild(chart, "bar-0-0").mapToItem(chart, 0, 0).x;
            const fourth = findChild(chart, "bar-3-0").mapToItem(chart, 0, 0).x;
            fuzzyCompare(fourth - first, 3 * chart.slotWidth, 0.5);
            compare(findChild(view, "weekTotal").text, "16 cards");
        }

        // Every Japanese card of the fixture is studied and not yet due: nothing to study there.
        function test_queueShowsFirstFourOrClearNote_data() {
            return [
                { tag: "two", language: "chinese", newWords: 2, shown: 2 },
                { tag: "six", language: "chinese", newWords: 6, shown: 4 },
                { tag: "empty", language: "japanese", newWords: 2, shown: 0 }
            ];
        }
        function test_queueShowsFirstFourOrClearNote(data) {
            restoreFixture(1);
            AppModel.selectLanguage(data.language);
            AppModel.newWordsPerSession = data.newWords;
            const count = AppModel.plan.items.length;
            compare(count === 0, data.shown === 0);
            const view = open();
            const upNext = findChild(view, "upNext");
            compare(upNext.shownCount, data.shown);
            compare(findChild(upNext, "queueClear").visible, count === 0);
            compare(findChild(upNext, "queue").visible, count > 0);
        }

        function test_buttonsNavigate() {
            const view = open();
            mouseClick(findChild(view, "howCoverageWorks"));
            compare(AppModel.destination, "sources");
            mouseClick(findChild(view, "openSession"));
            compare(AppModel.sessionPhase, "answering");
        }

        // Through the real model: one studied card that has come due again and one new word.
        function test_summaryFromTheModelsPlan() {
            tryCompare(AppModel, "isProgressReady", true);
            AppModel.newWordsPerSession = 1;
            AppModel.beginSession(false);
            compare(AppModel.sessionPhase, "answering");
            AppModel.answer = AppModel.currentItem.term;
            AppModel.submitAnswer();
            AppModel.rateAndAdvance("good");
            compare(AppModel.sessionPhase, "complete");
            AppModel.leaveSession();
            TestHarness.advanceDays(60);
            AppModel.refreshPlan();
            const view = open();
            compare(textOf(view, "sessionSummary"), "1 review and 1 new word, selected for you.");
            compare(findChild(view, "wordsPlanted").value, "1");
            compare(findChild(findChild(view, "header"), "subtitle").text,
                    "A few words are ready to be strengthened.");
            TestHarness.advanceDays(-60);
        }
    }
}
