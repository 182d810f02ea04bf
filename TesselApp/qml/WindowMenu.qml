// A menu of the window's menu bar, in the application's colours. An action's `shortcutText`,
// when it has one, is shown instead of its shortcut (for standard keys, which are numbers).
//
//   WindowMenu { title: "File"; Action { text: "Quit"; shortcut: StandardKey.Quit; ... } }
import QtQuick
import QtQuick.Controls.Basic

Menu {
    id: root

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
        // Return and Enter choose the highlighted item, as Space does.
        Keys.onReturnPressed: activate()
        Keys.onEnterPressed: activate()
        function activate() {
            if (!enabled)
                return
            if (action)
                action.trigger(menuItem)
            else
                clicked()
            triggered()
        }
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
                text: !menuItem.action ? ""
                      : menuItem.action.shortcutText !== undefined ? menuItem.action.shortcutText
                      : (menuItem.action.shortcut || "")
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
}
