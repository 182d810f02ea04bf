// The application window: the "Study" menu, the content and the "Brindle needs attention" alert.
import QtQuick
import QtQuick.Controls.Basic
import Brindle.Model

ApplicationWindow {
    id: window

    // The content area keeps at least 1050 × 700; the in-window menu bar comes on top of that.
    readonly property int contentMinimumWidth: 1050
    readonly property int contentMinimumHeight: 700
    readonly property alias rootView: rootView
    readonly property alias attentionDialog: attention
    readonly property alias studyMenu: studyMenu
    readonly property alias startSessionAction: startSessionAction
    readonly property alias playSentenceAction: playSentenceAction

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

        Menu {
            id: studyMenu
            objectName: "studyMenu"
            title: "Study"

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
        }
    }

    RootView {
        id: rootView
        anchors.fill: parent
    }

    AttentionDialog {
        id: attention
        message: AppModel.startupError
        // Any way of closing it (OK, Escape) clears the message, so it returns only for a new one.
        onClosed: AppModel.startupError = ""
    }

    Connections {
        target: AppModel
        function onStartupErrorChanged() {
            if (AppModel.startupError !== "")
                attention.open()
        }
    }

    Component.onCompleted: {
        if (AppModel.startupError !== "")
            attention.open()
    }
}
