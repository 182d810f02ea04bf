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
    // The alert, once it has been needed (null before).
    readonly property var attentionDialog: attentionLoader.item
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
            objectName: "menu-" + text
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
            topPadding: 6
            bottomPadding: 6

            background: Rectangle {
                implicitWidth: 280
                radius: 10
                color: TesselTheme.white
                border.width: 1
                border.color: TesselTheme.line
            }
            delegate: MenuItem {
                id: menuItem
                objectName: "menuItem-" + text
                leftPadding: 14
                rightPadding: 14
                implicitHeight: 32
                font.pixelSize: 13
                contentItem: Item {
                    implicitWidth: itemText.implicitWidth + shortcutText.implicitWidth + 40
                    Label {
                        id: itemText
                        anchors.left: parent.left
                        anchors.verticalCenter: parent.verticalCenter
                        text: menuItem.text
                        font: menuItem.font
                        color: menuItem.enabled ? TesselTheme.forest : TesselTheme.withAlpha(TesselTheme.secondaryText, 0.55)
                    }
                    Label {
                        id: shortcutText
                        anchors.right: parent.right
                        anchors.verticalCenter: parent.verticalCenter
                        text: menuItem.action ? menuItem.action.shortcut : ""
                        font.pixelSize: 12
                        color: TesselTheme.withAlpha(TesselTheme.secondaryText, menuItem.enabled ? 1 : 0.55)
                    }
                }
                background: Rectangle {
                    anchors.fill: parent
                    anchors.leftMargin: 5
                    anchors.rightMargin: 5
                    radius: 6
                    color: menuItem.highlighted && menuItem.enabled ? TesselTheme.paleMint : "transparent"
                }
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
        }
    }

    RootView {
        id: rootView
        anchors.fill: parent
    }

    // Made only when there is something to say, so a normal start does not pay for it.
    Loader {
        id: attentionLoader
        active: false
        sourceComponent: AttentionDialog {
            message: AppModel.startupError
            // Any way of closing it (OK, Escape) clears the message, so it returns only for a
            // new one.
            onClosed: AppModel.startupError = ""
        }
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
    }

    Component.onCompleted: {
        if (AppModel.startupError !== "")
            showAttention()
    }
}
