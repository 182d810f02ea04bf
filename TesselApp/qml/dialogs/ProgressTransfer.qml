// SPDX-License-Identifier: GPL-3.0-or-later
// Backup and restore of the progress file through the system's file choosers: "Brindle
// Progress.json" suggested when saving, JSON files only, a folder can be made on the way. Shared
// by the File menu and the settings page, so both report into the same message.
//
//   ProgressTransfer { id: transfer }
//   transfer.chooseExportFile()   transfer.chooseImportFile()   transfer.transferMessage
import QtQuick
import Qt.labs.platform as Platform
import Brindle
import Brindle.Model
import "../components/Format.js" as Format

Item {
    id: root

    // Holds no picture; hidden so that layouts give it no place.
    visible: false

    // The last successful backup or restore, "" before the first.
    property string transferMessage: ""

    readonly property string suggestedBackupName: "Brindle Progress.json"
    readonly property alias exportDialog: exportDialog
    readonly property alias importDialog: importDialog

    // Writes the progress to `location` (a file URL or path) and reports the outcome; an empty
    // location (the chooser was cancelled) changes nothing.
    function exportTo(location) {
        if (location === undefined || location === null || String(location) === "")
            return;
        const error = AppModel.exportProgress(location);
        if (error === "")
            transferMessage = "Progress exported to " + Format.lastPathComponent(location) + ".";
        else
            AppModel.startupError = "Export failed: " + error;
    }

    // Replaces the progress with the backup at `location` and reports the outcome; an empty
    // location changes nothing, a failed restore leaves the progress and the last message alone.
    function restoreFrom(location) {
        if (location === undefined || location === null || String(location) === "")
            return;
        const error = AppModel.restoreProgress(location);
        if (error === "")
            transferMessage = "Progress restored from " + Format.lastPathComponent(location) + ".";
        else
            AppModel.startupError = "Import failed: " + error;
    }

    function chooseExportFile() {
        const folder = String(exportDialog.folder).replace(/\/+$/, "");
        // The dialog takes a suggested name only once it exists, that is after open().
        exportDialog.open();
        exportDialog.currentFile = folder + "/" + encodeURIComponent(suggestedBackupName);
    }

    function chooseImportFile() {
        importDialog.open();
    }

    // The labs dialog is the desktop's own where the platform offers one and Qt's widget dialog
    // otherwise, which can make folders and keeps the typed name when the folder changes.
    Platform.FileDialog {
        id: exportDialog
        objectName: "exportDialog"
        title: "Export progress"
        fileMode: Platform.FileDialog.SaveFile
        acceptLabel: "Export"
        nameFilters: ["JSON files (*.json)"]
        defaultSuffix: "json"
        folder: Platform.StandardPaths.writableLocation(Platform.StandardPaths.HomeLocation)
        onAccepted: root.exportTo(file)
    }

    Platform.FileDialog {
        id: importDialog
        objectName: "importDialog"
        title: "Import progress"
        fileMode: Platform.FileDialog.OpenFile
        acceptLabel: "Import"
        nameFilters: ["JSON files (*.json)"]
        folder: Platform.StandardPaths.writableLocation(Platform.StandardPaths.HomeLocation)
        onAccepted: root.restoreFrom(file)
    }
}
