// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtTest
import Brindle
import Brindle.Model
import Brindle.Testing

Item {
    id: top
    width: 1214
    height: 882

    Component { id: stubComponent; ModelStub {} }
    Component { id: dashboardComponent; DashboardView {} }

    TestCase {
        name: "Dashboard"
        when: windowShown

        function card(term) {
            return { id: "zh-" + term, language: "chinese", term: term, reading: "", meanings: ["m"] };
        }
        function cards(count) {
            const list = [];
            for (let i = 0; i < count; ++i)
                list.push(card("t" + i));
            return list;
        }
        function stubWith(props) {
            const stub = createTemporaryObject(stubComponent, top, props || {});
            verify(stub);
            return stub;
        }
        function open(app) {
            const view = createTemporaryObject(dashboardComponent, top,
                                               { app: app, width: top.width, height: top.height });
            verify(view);
            waitForRendering(view);
            return view;
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
            const due = cards(data.due), fresh = cards(data.fresh);
            const view = open(stubWith({ plan: { dueItems: due, newItems: fresh,
                                                 items: due.concat(fresh),
                                                 availableDueCount: data.due + 5,
                                                 availableNewCount: 9, isEmpty: false } }));
            compare(textOf(view, "sessionSummary"), data.expected);
            // The "due now" fact counts every available due card, not only the session's.
            compare(findChild(findChild(view, "fact-0"), "factValue").text, String(data.due + 5));
            compare(findChild(findChild(view, "fact-1"), "factValue").text, String(data.fresh));
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
            const view = open(AppModel);
            compare(titleOf(view), data.expected);
            TestHarness.setClock(new Date(NaN));
        }

        function test_goalCompleteSwitchesTitleAndButton_data() {
            return [
                { tag: "almost", progress: 0.95, title: "Your next session is ready",
                  button: "Start today’s session" },
                { tag: "reached", progress: 1, title: "Daily goal complete", button: "Keep growing" }
            ];
        }
        function test_goalCompleteSwitchesTitleAndButton(data) {
            const stub = stubWith({ goalProgress: data.progress,
                                    todayStats: { reviewedCount: 19, correctCount: 19 } });
            const view = open(stub);
            compare(textOf(view, "heroTitle"), data.title);
            const button = findChild(view, "heroButton");
            compare(button.text, data.button);
            mouseClick(button);
            compare(stub.callCount("beginSession"), 1);
            compare(stub.calls[0].args[0], false);
        }

        function test_missingWordListOffersNoSession() {
            const view = open(stubWith({ isLexiconAvailable: false }));
            compare(textOf(view, "heroTitle"), "The word list is missing");
            verify(textOf(view, "sessionSummary").indexOf("could not be opened") >= 0);
            verify(!findChild(view, "heroButton").visible);
        }

        function test_ringAndTodaysAccuracy_data() {
            return [
                { tag: "nothing today", reviewed: 0, correct: 0, centre: "0", accuracy: "—" },
                { tag: "two of three", reviewed: 3, correct: 2, centre: "3", accuracy: "67%" },
                { tag: "all right", reviewed: 4, correct: 4, centre: "4", accuracy: "100%" }
            ];
        }
        function test_ringAndTodaysAccuracy(data) {
            const view = open(stubWith({ dailyGoal: 30,
                                         todayStats: { reviewedCount: data.reviewed,
                                                       correctCount: data.correct } }));
            compare(textOf(view, "ringValue"), data.centre);
            compare(textOf(view, "ringCaption"), "of 30");
            compare(findChild(findChild(view, "fact-2"), "factValue").text, data.accuracy);
        }

        function test_headlineCards_data() {
            return [
                { tag: "no answers yet", due: 0, total: 0, accuracy: 0, dueDetail: "Review queue is clear",
                  shown: "—", across: "Across 0 answers",
                  subtitle: "Your review garden is tidy. Add something new." },
                { tag: "answers recorded", due: 2, total: 1204, accuracy: 0.755,
                  dueDetail: "Ready for reinforcement", shown: "76%", across: /^Across 1\D204 answers$/,
                  subtitle: "A few words are ready to be strengthened." }
            ];
        }
        function test_headlineCards(data) {
            const view = open(stubWith({
                plan: { dueItems: [], newItems: [], items: [], availableDueCount: data.due,
                        availableNewCount: 0, isEmpty: true },
                totalAnswerCount: data.total, overallAccuracy: data.accuracy,
                learnedCount: 3, stableCount: 1 }));
            const due = findChild(view, "wordsDue");
            compare(due.value, String(data.due));
            compare(due.detail, data.dueDetail);
            const accuracy = findChild(view, "recallAccuracy");
            compare(accuracy.value, data.shown);
            if (typeof data.across === "string")
                compare(accuracy.detail, data.across);
            else
                verify(data.across.test(accuracy.detail), accuracy.detail);
            compare(findChild(view, "wordsPlanted").detail, "1 has 21+ day stability");
            compare(findChild(findChild(view, "header"), "subtitle").text, data.subtitle);
        }

        function test_weekChartKeepsEmptyDaysInPlace() {
            const view = open(stubWith({ dayFigures: [{ reviewedCount: 4 }, {}, {}, { reviewedCount: 9 },
                                                      {}, {}, { reviewedCount: 2 }] }));
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
            compare(findChild(view, "weekTotal").text, "15 cards");
        }

        function test_queueShowsFirstFourOrClearNote_data() {
            return [
                { tag: "empty", count: 0, shown: 0 },
                { tag: "two", count: 2, shown: 2 },
                { tag: "six", count: 6, shown: 4 }
            ];
        }
        function test_queueShowsFirstFourOrClearNote(data) {
            const items = cards(data.count);
            const view = open(stubWith({ plan: { dueItems: [], newItems: items, items: items,
                                                 availableDueCount: 0,
                                                 availableNewCount: data.count,
                                                 isEmpty: data.count === 0 } }));
            const upNext = findChild(view, "upNext");
            compare(upNext.shownCount, data.shown);
            compare(findChild(upNext, "queueClear").visible, data.count === 0);
            compare(findChild(upNext, "queue").visible, data.count > 0);
        }

        function test_buttonsNavigate() {
            const stub = stubWith();
            const view = open(stub);
            mouseClick(findChild(view, "howCoverageWorks"));
            compare(stub.destination, "sources");
            mouseClick(findChild(view, "openSession"));
            compare(stub.callCount("beginSession"), 1);
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
            const view = open(AppModel);
            compare(textOf(view, "sessionSummary"), "1 review and 1 new word, selected for you.");
            compare(findChild(view, "wordsPlanted").value, "1");
            compare(findChild(findChild(view, "header"), "subtitle").text,
                    "A few words are ready to be strengthened.");
            TestHarness.advanceDays(-60);
        }
    }
}
