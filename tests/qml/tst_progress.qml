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

    Component { id: progressComponent; ProgressDashboardView {} }

    TestCase {
        name: "Progress"
        when: windowShown

        function open() {
            const view = createTemporaryObject(progressComponent, top,
                                               { width: top.width, height: top.height });
            verify(view);
            waitForRendering(view);
            return view;
        }
        // The fixture's history as of 30 March 2024, noon (see TestHarness.h).
        function restoreFixture() {
            tryCompare(AppModel, "isProgressReady", true);
            TestHarness.setClock(new Date(2024, 2, 30, 12, 0, 0));
            compare(AppModel.restoreProgress(TestHarness.progressFixturePath), "");
        }
        // Each test starts from a fresh model; done before the test, not after it, so that no
        // screen of the last test is still showing while the model changes.
        function init() {
            AppModel.resetProgress();
            AppModel.destination = "home";
            TestHarness.setClock(new Date(NaN));
        }
        function metric(view, label) {
            return findChild(view, "metric-" + label).value;
        }
        function visibleBars(chart, series) {
            const shown = [];
            for (let i = 0; i < chart.points.length; ++i)
                shown.push(findChild(chart, "bar-" + i + "-" + series).visible);
            return shown;
        }

        // A learner who has never answered, through the real model on a fresh progress file.
        function test_noReviewsYet() {
            tryCompare(AppModel, "isProgressReady", true);
            compare(AppModel.totalAnswerCount, 0);
            const view = open();
            compare(metric(view, "Words planted"), "0");
            compare(metric(view, "Stable words"), "0");
            compare(metric(view, "All answers"), "0");
            compare(metric(view, "Accuracy"), "—");
            const pill = findChild(view, "streakPill");
            compare(pill.text, "0 days");
            compare(pill.selected, false);
            const chart = findChild(view, "monthChart");
            compare(chart.points.length, 30);
            compare(visibleBars(chart, 0).indexOf(true), -1);
            compare(visibleBars(chart, 1).indexOf(true), -1);
            // No learned words: the bars are empty, not undefined.
            for (const name of ["dueNow", "stable"]) {
                const bar = findChild(findChild(view, name), "lineBar");
                compare(bar.fraction, 0);
            }
            compare(findChild(view, "courseBar").fraction, 0);
        }

        // The fixture's 9, 10 and 11 March (days 8, 9 and 10 of the thirty): 3 of 5 right, a
        // stored correct count above the reviews (4 of 2), and 6 of 8 right.
        function test_againIsNeverNegative() {
            restoreFixture();
            const chart = findChild(open(), "monthChart");
            compare(chart.points[8].values, [3, 2]);
            compare(chart.points[9].values, [4, 0]);
            compare(findChild(chart, "bar-8-1").visible, true);
            compare(findChild(chart, "bar-9-1").visible, false);
            compare(findChild(chart, "bar-9-0").visible, true);
            compare(findChild(chart, "bar-12-1").visible, false);
            compare(findChild(chart, "bar-12-0").visible, false);
        }

        function test_stackedBarsShareTheDaysSlot() {
            restoreFixture();
            const chart = findChild(open(), "monthChart");
            const correct = findChild(chart, "bar-10-0"), again = findChild(chart, "bar-10-1");
            verify(correct.visible && again.visible);
            // "Again" sits on top of "Correct" in the same slot, three times shorter.
            compare(again.mapToItem(chart, 0, 0).x, correct.mapToItem(chart, 0, 0).x);
            fuzzyCompare(again.y + again.height, correct.y, 0.5);
            fuzzyCompare(correct.height, 3 * again.height, 1);
            // Empty days keep their slots: day 10 sits ten slots from the start.
            fuzzyCompare(correct.mapToItem(chart, 0, 0).x + correct.width / 2,
                         chart.axisLabelWidth + 10.5 * chart.slotWidth, 0.5);
        }

        function test_axisMarksEveryFifthDay() {
            TestHarness.setClock(new Date(2024, 2, 30, 12, 0, 0));
            const chart = findChild(open(), "monthChart");
            // The last day is 30 March, so the first of thirty is 1 March.
            const labels = chart.points.map(point => point.label);
            compare(labels.filter(label => label !== "").length, 6);
            compare(labels[0], "Mar 1");
            compare(labels[5], "Mar 6");
            compare(labels[25], "Mar 26");
            compare(labels[1], "");
        }

        // The fixture's Chinese cards: 2 learned, 1 stable, both learned ones due; 910 right of
        // 1,207 answers; studied on the 30th only of the last days, so a streak of one.
        function test_metricsAndCoverage() {
            restoreFixture();
            const view = open();
            compare(metric(view, "Words planted"), "2");
            verify(/^1\D207$/.test(metric(view, "All answers")), metric(view, "All answers"));
            compare(metric(view, "Accuracy"), "75%");
            const pill = findChild(view, "streakPill");
            compare(pill.text, "1 day");
            compare(pill.selected, true);
            compare(findChild(findChild(view, "dueNow"), "lineBar").fraction, 1);
            compare(findChild(findChild(view, "stable"), "lineBar").fraction, 0.5);
            compare(findChild(view, "curriculumFigure").text,
                    "of " + Format.grouped(AppModel.counts.curriculumEntries));
            verify(findChild(view, "referenceNote").text.indexOf(
                       Format.counted(AppModel.counts.referenceEntries, "entry", "entries")) >= 0);
            mouseClick(findChild(view, "coveragePromise"));
            compare(AppModel.destination, "sources");
        }

        function test_counted_data() {
            return [
                { tag: "one", value: 1, want: "1 day" },
                { tag: "none", value: 0, want: "0 days" },
                { tag: "two", value: 2, want: "2 days" },
                { tag: "grouped", value: 1024, want: "1,024 days" },
            ];
        }
        function test_counted(data) {
            compare(Format.counted(data.value, "day", "days"), data.want);
        }

        function test_axisTicks_data() {
            return [
                { tag: "empty", max: 0, ticks: [0, 1] },
                { tag: "one", max: 1, ticks: [0, 1] },
                { tag: "seven", max: 7, ticks: [0, 2, 4, 6, 8] },
                { tag: "ten", max: 10, ticks: [0, 5, 10] },
                { tag: "eleven", max: 11, ticks: [0, 5, 10, 15] },
                { tag: "hundred", max: 100, ticks: [0, 50, 100] },
                { tag: "fraction", max: 2.5, ticks: [0, 1, 2, 3] }
            ];
        }
        function test_axisTicks(data) {
            compare(Format.axisTicks(data.max), data.ticks);
        }
    }
}
