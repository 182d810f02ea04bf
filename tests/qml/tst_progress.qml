// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtTest
import Brindle
import Brindle.Model
import "qrc:/Brindle/Format.js" as Format

Item {
    id: top
    width: 1214
    height: 882

    Component { id: stubComponent; ModelStub {} }
    Component { id: progressComponent; ProgressDashboardView {} }

    TestCase {
        name: "Progress"
        when: windowShown

        function open(app) {
            const view = createTemporaryObject(progressComponent, top,
                                               { app: app, width: top.width, height: top.height });
            verify(view);
            waitForRendering(view);
            return view;
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
            const view = open(AppModel);
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

        function test_againIsNeverNegative() {
            const stub = createTemporaryObject(stubComponent, top, {
                dayFigures: [{ reviewedCount: 5, correctCount: 3 },
                             { reviewedCount: 2, correctCount: 4 },
                             { reviewedCount: 3, correctCount: 3 },
                             {}]
            });
            const chart = findChild(open(stub), "monthChart");
            const last = chart.points.length - 1;
            compare(chart.points[last - 3].values, [3, 2]);
            compare(chart.points[last - 2].values, [4, 0]);
            compare(findChild(chart, "bar-" + (last - 3) + "-1").visible, true);
            compare(findChild(chart, "bar-" + (last - 2) + "-1").visible, false);
            compare(findChild(chart, "bar-" + (last - 2) + "-0").visible, true);
            compare(findChild(chart, "bar-" + (last - 1) + "-1").visible, false);
            compare(findChild(chart, "bar-" + last + "-0").visible, false);
        }

        function test_stackedBarsShareTheDaysSlot() {
            const figures = [];
            for (let i = 0; i < 30; ++i)
                figures.push(i === 10 ? { reviewedCount: 8, correctCount: 6 } : {});
            const chart = findChild(open(createTemporaryObject(stubComponent, top,
                                                               { dayFigures: figures })),
                                    "monthChart");
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
            const chart = findChild(open(createTemporaryObject(stubComponent, top)), "monthChart");
            // The stand-in's last day is 30 March, so the first of thirty is 1 March.
            const labels = chart.points.map(point => point.label);
            compare(labels.filter(label => label !== "").length, 6);
            compare(labels[0], "Mar 1");
            compare(labels[5], "Mar 6");
            compare(labels[25], "Mar 26");
            compare(labels[1], "");
        }

        function test_metricsAndCoverage() {
            const stub = createTemporaryObject(stubComponent, top, {
                learnedCount: 1234, stableCount: 20, totalAnswerCount: 4000, overallAccuracy: 0.875,
                streak: { currentDays: 3 },
                counts: { referenceEntries: 123456, curriculumEntries: 12000, contextualExercises: 40 },
                plan: { dueItems: [], newItems: [], items: [], availableDueCount: 617,
                        availableNewCount: 0, isEmpty: true }
            });
            const view = open(stub);
            verify(/^1\D234$/.test(metric(view, "Words planted")));
            compare(metric(view, "Accuracy"), "88%");
            const pill = findChild(view, "streakPill");
            compare(pill.text, "3 days");
            compare(pill.selected, true);
            compare(findChild(findChild(view, "dueNow"), "lineBar").fraction, 0.5);
            verify(/^of 12\D000$/.test(findChild(view, "curriculumFigure").text));
            verify(/contains 123\D456 entries\./.test(findChild(view, "referenceNote").text));
            mouseClick(findChild(view, "coveragePromise"));
            compare(stub.destination, "sources");
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
