// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtTest
import Brindle
import Brindle.Model
import Brindle.Testing
import "qrc:/Brindle/components/Format.js" as Format

// Settings over the real model: preferences go through its setters, backups through its export
// and restore, into files under the test's temporary home.
Item {
    id: top
    width: 1214
    height: 882

    Component { id: settingsComponent; SettingsView {} }

    TestCase {
        name: "Settings"
        when: windowShown

        function cleanup() {
            AppModel.startupError = "";
        }

        function open() {
            const view = createTemporaryObject(settingsComponent, top,
                                               { width: top.width, height: top.height });
            verify(view);
            waitForRendering(view);
            return view;
        }
        function control(view, name) {
            const item = findChild(view, name);
            verify(item, name);
            view.contentY = Math.max(0, Math.min(view.contentHeight - view.height,
                                                 item.mapToItem(view.contentItem, 0, 0).y - 100));
            waitForRendering(view);
            return item;
        }
        // Answers one new card right, so the progress holds exactly one learned card.
        function studyOneCard() {
            tryCompare(AppModel, "isProgressReady", true);
            AppModel.resetProgress();
            AppModel.startingBand = 1;
            AppModel.newWordsPerSession = 1;
            AppModel.beginSession(false);
            AppModel.answer = AppModel.currentItem.term;
            AppModel.submitAnswer();
            AppModel.rateAndAdvance("good");
            AppModel.leaveSession();
            AppModel.destination = "settings";
        }

        function test_stepperStopsAtItsBounds_data() {
            return [
                { tag: "up from 19", start: 19, upClicks: 1, downClicks: 0, expected: 20 },
                { tag: "up at 20", start: 20, upClicks: 2, downClicks: 0, expected: 20 },
                { tag: "down at 1", start: 1, upClicks: 0, downClicks: 2, expected: 1 },
                { tag: "down from 8", start: 8, upClicks: 0, downClicks: 3, expected: 5 }
            ];
        }
        function test_stepperStopsAtItsBounds(data) {
            AppModel.newWordsPerSession = data.start;
            const view = open();
            const stepper = control(view, "newWordsStepper");
            for (let i = 0; i < data.upClicks; ++i)
                mouseClick(stepper, stepper.width - 10, stepper.height / 2);
            for (let i = 0; i < data.downClicks; ++i)
                mouseClick(stepper, 10, stepper.height / 2);
            compare(AppModel.newWordsPerSession, data.expected);
            compare(stepper.value, data.expected);
        }

        function test_pickersOfferTheirChoices_data() {
            return [
                { tag: "band", name: "bandPicker", property: "startingBand",
                  texts: ["Band 1", "Band 2", "Band 3", "Band 4", "Band 5", "Band 6"],
                  start: 5, afterDown: 6 },
                { tag: "goal", name: "dailyGoalPicker", property: "dailyGoal",
                  texts: ["10 cards", "20 cards", "30 cards", "50 cards", "100 cards"],
                  start: 50, afterDown: 100 }
            ];
        }
        function test_pickersOfferTheirChoices(data) {
            const original = AppModel[data.property];
            AppModel[data.property] = data.start;
            const view = open();
            const picker = control(view, data.name);
            compare(picker.model, data.texts);
            compare(picker.displayText, data.texts[picker.values.indexOf(data.start)]);
            // Down picks the last choice, a second Down stays there.
            picker.forceActiveFocus();
            keyClick(Qt.Key_Down);
            compare(AppModel[data.property], data.afterDown);
            keyClick(Qt.Key_Down);
            compare(AppModel[data.property], data.afterDown);
            compare(picker.displayText, data.texts[data.texts.length - 1]);
            // A value stored elsewhere shows at once.
            AppModel[data.property] = data.start;
            compare(picker.displayText, data.texts[picker.values.indexOf(data.start)]);
            AppModel[data.property] = original;
        }

        function test_speedSliderEnds_data() {
            return [
                { tag: "slowest", x: 0, expected: 0.3 },
                { tag: "fastest", x: 1, expected: 0.56 }
            ];
        }
        function test_speedSliderEnds(data) {
            AppModel.speechRate = 0.44;
            const view = open();
            const slider = control(view, "speechRateSlider");
            mouseClick(slider, data.x === 0 ? 1 : slider.width - 1, slider.height / 2);
            fuzzyCompare(AppModel.speechRate, data.expected, 1e-9);
            AppModel.speechRate = 0.44;
        }

        function test_switchesWriteThrough_data() {
            return [
                { tag: "translation", name: "showTranslationSwitch", property: "showTranslation" },
                { tag: "reading", name: "showReadingSwitch", property: "showReading" },
                { tag: "audio", name: "autoplaySwitch", property: "playAudioAutomatically" }
            ];
        }
        function test_switchesWriteThrough(data) {
            const before = AppModel[data.property];
            const view = open();
            const toggle = control(view, data.name);
            compare(toggle.checked, before);
            mouseClick(toggle);
            compare(AppModel[data.property], !before);
            AppModel[data.property] = before;
            compare(toggle.checked, before);
        }

        function test_exportThenImportRoundTrip_data() {
            return [
                { tag: "file URL", folderAsURL: true },
                { tag: "plain path", folderAsURL: false }
            ];
        }
        function test_exportThenImportRoundTrip(data) {
            studyOneCard();
            compare(AppModel.learnedCount, 1);
            const path = TestHarness.homePath + "/Brindle Progress.json";
            const location = data.folderAsURL ? "file://" + encodeURI(path) : path;
            const view = open();
            view.exportTo(location);
            compare(AppModel.startupError, "");
            compare(view.transfer.transferMessage, "Progress exported to Brindle Progress.json.");
            verify(findChild(view, "transferMessage").visible);

            AppModel.resetProgress();
            compare(AppModel.learnedCount, 0);
            view.restoreFrom(location);
            compare(AppModel.startupError, "");
            compare(view.transfer.transferMessage, "Progress restored from Brindle Progress.json.");
            compare(AppModel.learnedCount, 1);
            compare(findChild(view, "transferMessageText").text, view.transfer.transferMessage);
            tryVerify(() => TestHarness.pendingSaves() === 0);
            const saved = JSON.parse(TestHarness.readProgressFile());
            compare(Object.values(saved.cards).map(card => card.correctReviews), [1]);
            AppModel.resetProgress();
        }

        function test_failuresGoToTheAlert_data() {
            return [
                { tag: "import of a file that is not JSON", action: "restoreFrom",
                  file: "/lexicon-fixture.sqlite", prefix: "Import failed: " },
                { tag: "import of a missing file", action: "restoreFrom",
                  file: "/no such backup.json", prefix: "Import failed: " },
                { tag: "export into a missing folder", action: "exportTo",
                  file: "/missing folder/Brindle Progress.json", prefix: "Export failed: " }
            ];
        }
        function test_failuresGoToTheAlert(data) {
            studyOneCard();
            const view = open();
            view.transfer.transferMessage = "Progress exported to earlier.json.";
            view[data.action](TestHarness.homePath + data.file);
            verify(AppModel.startupError.startsWith(data.prefix), AppModel.startupError);
            verify(AppModel.startupError.length > data.prefix.length);
            compare(view.transfer.transferMessage, "Progress exported to earlier.json.");
            compare(AppModel.learnedCount, 1);
            AppModel.resetProgress();
        }

        function test_cancelledChooserChangesNothing() {
            const view = open();
            view.exportTo("");
            view.restoreFrom("");
            compare(view.transfer.transferMessage, "");
            compare(AppModel.startupError, "");
        }

        function test_resetAsksFirst_data() {
            return [
                { tag: "cancel", button: "resetCancel", learnedAfter: 1 },
                { tag: "confirm", button: "resetConfirm", learnedAfter: 0 }
            ];
        }
        function test_resetAsksFirst(data) {
            studyOneCard();
            const view = open();
            mouseClick(control(view, "resetButton"));
            const dialog = findChild(view, "resetDialog");
            tryCompare(dialog, "opened", true);
            verify(view.showingResetConfirmation);
            compare(findChild(dialog.contentItem, "resetTitle").text, "Reset all learning history?");
            compare(findChild(dialog.contentItem, "resetMessage").text,
                    "Export a backup first if you may want this progress later.");
            mouseClick(findChild(dialog.contentItem, data.button));
            tryCompare(dialog, "visible", false);
            compare(view.showingResetConfirmation, false);
            compare(AppModel.learnedCount, data.learnedAfter);
            AppModel.resetProgress();
        }

        function test_backupChoosersAreLimitedToJSON() {
            const view = open();
            for (const name of ["exportDialog", "importDialog"])
                compare(findChild(view, name).nameFilters, ["JSON files (*.json)"]);
            const save = findChild(view, "exportDialog");
            compare(save.defaultSuffix, "json");
            view.chooseExportFile();
            const chosen = decodeURIComponent(String(save.currentFile));
            verify(chosen.endsWith("/Brindle Progress.json"), chosen);
            save.reject();
            // What the chooser hands over is a url value, not text.
            view.exportTo(Qt.resolvedUrl("file://" + encodeURI(TestHarness.homePath) + "/chosen%20backup.json"));
            compare(AppModel.startupError, "");
            compare(view.transfer.transferMessage, "Progress exported to chosen backup.json.");
        }

        function test_lastPathComponent_data() {
            return [
                { tag: "file URL", location: "file:///tmp/a%20b/Brindle%20Progress.json",
                  expected: "Brindle Progress.json" },
                { tag: "encoded percent", location: "file:///tmp/100%25.json", expected: "100%.json" },
                { tag: "plain path", location: "/tmp/backups/progress.json", expected: "progress.json" },
                { tag: "plain path keeps percent", location: "/tmp/100%25.json",
                  expected: "100%25.json" },
                { tag: "CJK name", location: "file:///tmp/%E5%A4%87%E4%BB%BD.json",
                  expected: "备份.json" }
            ];
        }
        function test_lastPathComponent(data) {
            compare(Format.lastPathComponent(data.location), data.expected);
        }
    }
}
