// SPDX-License-Identifier: GPL-3.0-or-later
// The application window: the "File", "Edit", "Study" and "Help" menus, the content and the "Brindle needs
// attention" alert.
import QtQuick
import QtQuick.Controls.Basic
import Brindle.Model

ApplicationWindow {
    id: window

    // The content area keeps at least 1050 × 700; the in-window menu bar comes on top of that.
    readonly property int contentMinimumWidth: 1050
    readonly property int contentMinimumHeight: 700
    readonly property alias rootView: rootView
    // The alert, once it has been needed (null before).
    readonly property var attentionDialog: attentionLoader.item
    readonly property alias studyMenu: studyMenu
    readonly property alias startSessionAction: startSessionAction
    readonly property alias playSentenceAction: playSentenceAction
    readonly property alias fileMenu: fileMenu
    readonly property alias editMenu: editMenu
    readonly property alias undoRatingAction: undoRatingAction
    readonly property alias helpMenu: helpMenu
    readonly property alias exportAction: exportAction
    readonly property alias importAction: importAction
    readonly property alias quitAction: quitAction
    readonly property alias aboutAction: aboutAction
    // The dialogs below are made the first time they are wanted, so a start does not pay for
    // them. The About dialog, once it has been opened (null before).
    readonly property var aboutDialog: aboutLoader.item
    // Backup and restore, shared by the File menu and the settings page; made when either first
    // needs it (its file choosers load a plugin of their own). Null before.
    readonly property var progressTransfer: transferLoader.item
    // Ends the application ("Quit"); tests replace it.
    property var quitApplication: () => Qt.quit()

    title: "Brindle"
    minimumWidth: contentMinimumWidth
    minimumHeight: contentMinimumHeight + (menuBar ? menuBar.height : 0)
    width: contentMinimumWidth
    height: minimumHeight
    visible: true
    color: TesselTheme.canvas
    font.family: TesselTheme.fontFamily
    palette.highlight: TesselTheme.primary

    menuBar: MenuBar {
        objectName: "menuBar"
        font.pixelSize: 13
        background: Rectangle {
            implicitHeight: 28
            color: TesselTheme.white
            Rectangle {
                anchors.bottom: parent.bottom
                width: parent.width
                height: 1
                color: TesselTheme.withAlpha(TesselTheme.line, 0.75)
            }
        }
        delegate: MenuBarItem {
            id: menuBarItem
            objectName: "menu-" + text
            Component.onCompleted: if (menu) menu.barItem = menuBarItem
            topPadding: 4
            bottomPadding: 4
            leftPadding: 12
            rightPadding: 12
            contentItem: Label {
                text: menuBarItem.text
                font: menuBarItem.font
                color: TesselTheme.forest
            }
            background: Rectangle {
                color: menuBarItem.highlighted ? TesselTheme.paleMint : "transparent"
            }
        }

        WindowMenu {
            id: fileMenu
            objectName: "fileMenu"
            title: "File"
            entries: [exportAction, importAction, null, quitAction]
        }

        WindowMenu {
            id: editMenu
            objectName: "editMenu"
            title: "Edit"
            entries: [undoRatingAction]
        }

        WindowMenu {
            id: studyMenu
            objectName: "studyMenu"
            title: "Study"
            entries: [startSessionAction, playSentenceAction]
        }

        WindowMenu {
            id: helpMenu
            objectName: "helpMenu"
            title: "Help"
            entries: [aboutAction]
        }
    }

    // The menus' actions belong to the window, so their shortcuts work before any menu has made
    // its items (see WindowMenu.qml).
    Action {
        id: exportAction
        objectName: "exportAction"
        text: "Export Progress…"
        enabled: AppModel.isProgressReady
        onTriggered: window.ensureProgressTransfer().chooseExportFile()
    }
    Action {
        id: importAction
        objectName: "importAction"
        text: "Import Progress…"
        onTriggered: window.ensureProgressTransfer().chooseImportFile()
    }
    Action {
        id: quitAction
        objectName: "quitAction"
        text: "Quit"
        // What StandardKey.Quit is on every Linux desktop; written out because platforms
        // without a desktop theme (the offscreen one, for a start) bind nothing to it.
        shortcut: "Ctrl+Q"
        onTriggered: window.quitApplication()
    }
    Action {
        id: undoRatingAction
        objectName: "undoRatingAction"
        text: "Undo Rating"
        // A focused answer field keeps Ctrl+Z while it has typing to take back (see
        // StudyAnswerArea.qml); the menu item always reaches the rating.
        shortcut: "Ctrl+Z"
        enabled: AppModel.canUndoRating
        onTriggered: AppModel.undoLastRating()
    }
    Action {
        id: startSessionAction
        objectName: "startSessionAction"
        text: "Start Today’s Session"
        shortcut: "Ctrl+L"
        onTriggered: AppModel.beginSession(false)
    }
    Action {
        id: playSentenceAction
        objectName: "playSentenceAction"
        text: "Play Current Sentence"
        shortcut: "Ctrl+Shift+P"
        enabled: AppModel.currentItem !== undefined
        onTriggered: AppModel.playCurrentSentence()
    }
    Action {
        id: aboutAction
        objectName: "aboutAction"
        text: "About Brindle"
        onTriggered: window.showAbout()
    }

    // The menus' items, once the first frame is on screen: the window shows sooner, and the
    // menus are complete long before anyone can open one.
    Connections {
        id: firstFrame
        target: window
        function onFrameSwapped() {
            firstFrame.enabled = false
            for (const menu of [fileMenu, editMenu, studyMenu, helpMenu])
                menu.makeItems()
        }
    }

    // Alt and a title's first letter open that menu, for those who work from the keyboard.
    Shortcut { sequence: "Alt+F"; onActivated: fileMenu.openFromKeyboard() }
    Shortcut { sequence: "Alt+E"; onActivated: editMenu.openFromKeyboard() }
    Shortcut { sequence: "Alt+S"; onActivated: studyMenu.openFromKeyboard() }
    Shortcut { sequence: "Alt+H"; onActivated: helpMenu.openFromKeyboard() }

    // Escape closes the open menu of the bar, through its own dismissByKey().
    Shortcut {
        sequence: "Escape"
        enabled: fileMenu.visible || editMenu.visible || studyMenu.visible || helpMenu.visible
        onActivated: {
            for (const menu of [fileMenu, editMenu, studyMenu, helpMenu]) {
                if (menu.visible)
                    menu.dismissByKey()
            }
        }
    }

    RootView {
        id: rootView
        anchors.fill: parent
    }

    // Loaded by file name: naming their types here would compile them, and the plugin behind the
    // file choosers, with the window.
    Loader {
        id: transferLoader
        active: false
        source: "dialogs/ProgressTransfer.qml"
    }

    Loader {
        id: aboutLoader
        active: false
        source: "dialogs/AboutDialog.qml"
    }

    // Made only when there is something to say.
    Loader {
        id: attentionLoader
        active: false
        source: "dialogs/AttentionDialog.qml"
        onLoaded: {
            item.message = Qt.binding(() => AppModel.startupError)
            // Any way of closing it (OK, Escape) clears the message, so it returns only for a
            // new one.
            item.closed.connect(() => AppModel.startupError = "")
        }
    }

    // The shared backup and restore, made now if it was not yet.
    function ensureProgressTransfer() {
        transferLoader.active = true
        return transferLoader.item
    }

    function showAbout() {
        aboutLoader.active = true
        aboutLoader.item.open()
    }

    // Opens the alert for the model's current message.
    function showAttention() {
        attentionLoader.active = true
        attentionLoader.item.open()
    }

    Connections {
        target: AppModel
        function onStartupErrorChanged() {
            if (AppModel.startupError !== "")
                window.showAttention()
        }
        // The settings page shows the window's backup and restore, with its last message.
        function onDestinationChanged() {
            if (AppModel.destination === "settings")
                window.ensureProgressTransfer()
        }
    }

    Component.onCompleted: {
        if (AppModel.startupError !== "")
            showAttention()
    }
}
