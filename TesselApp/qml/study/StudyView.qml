// SPDX-License-Identifier: GPL-3.0-or-later
// The study screen: the header, then the panel for the session's phase (start, card, closing).
// It keeps no session state: everything comes from the model, so leaving the page and coming
// back resumes the same card.
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Brindle
import Brindle.Model
import "StudyText.js" as StudyText

Item {
    id: root

    readonly property string panel: StudyText.panel(AppModel.sessionPhase,
                                                    AppModel.currentItem !== undefined)
    readonly property Item panelItem: panelLoader.item

    // Opening the page with no session starts one. The page is created while the model is
    // still inside the change that showed it (a session start sets the page before its first
    // card), so look once that change is over: only a page that is still idle starts a session.
    Component.onCompleted: Qt.callLater(root.startIfIdle)

    function startIfIdle() {
        if (AppModel.sessionPhase === "idle" && AppModel.destination === "learn")
            AppModel.beginSession(false)
    }

    StudyHeader {
        id: header
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
    }

    Loader {
        id: panelLoader
        objectName: "panel"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: header.bottom
        anchors.bottom: parent.bottom
        focus: true
        sourceComponent: root.panel === "start" ? startPanel
                       : root.panel === "card" ? cardPanel : closingPanel
    }

    Component {
        id: startPanel

        Item {
            objectName: "startPanel"
            ColumnLayout {
                anchors.centerIn: parent
                spacing: 18
                Icon {
                    Layout.alignment: Qt.AlignHCenter
                    name: "leaf.circle.fill"
                    size: 64
                    color: TesselTheme.primary
                }
                Label {
                    Layout.alignment: Qt.AlignHCenter
                    text: "Ready when you are"
                    font.pixelSize: 27
                    font.bold: true
                    color: TesselTheme.forest
                }
                TesselButton {
                    objectName: "beginButton"
                    Layout.alignment: Qt.AlignHCenter
                    text: "Begin session"
                    prominent: true
                    onClicked: AppModel.beginSession(false)
                }
            }
        }
    }

    Component {
        id: cardPanel
        StudyCardPanel { objectName: "cardPanel" }
    }

    Component {
        id: closingPanel
        StudyClosingPanel { objectName: "closingPanel" }
    }
}
