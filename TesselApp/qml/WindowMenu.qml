// SPDX-License-Identifier: GPL-3.0-or-later
// A menu of the window's menu bar, in the application's colours, its actions' shortcuts at the
// right.
//
//   Action { id: quit; text: "Quit"; shortcut: "Ctrl+Q"; ... }    // the window's
//   WindowMenu { title: "File"; entries: [exportAction, null, quit] }
//
// The items are made by makeItems(), which the window calls once its first frame is on screen
// (the menus are not part of it), or on the spot should the menu open before that.
import QtQuick
import QtQuick.Controls.Basic

Menu {
    id: root

    // The menu bar's title of this menu (set by the bar's delegate).
    property Item barItem: null
    // The menu's actions in order; null draws a separator line.
    property var entries: []

    // Makes the items of `entries`; does nothing once they are made.
    function makeItems() {
        if (count > 0)
            return
        for (const entry of entries) {
            if (entry)
                addAction(entry)
            else
                addItem(separator.createObject(null))
        }
    }

    onAboutToShow: makeItems()

    Component {
        id: separator
        MenuSeparator {}
    }

    // Closes the menu for Escape. The bar keeps a menu closed by Escape under the pointer as
    // open, so the next click on its title would only close it again; pressing the title once
    // more here brings the bar back to closed, and that click opens the menu as it should.
    function dismissByKey() {
        close()
        if (barItem && barItem.highlighted)
            barItem.triggered()
    }

    // Opens the menu as a click on its title does (Alt and the title's first letter).
    function openFromKeyboard() {
        if (barItem && !visible)
            barItem.triggered()
    }

    // Escape is taken by the window (see Main.qml), which calls dismissByKey().
    closePolicy: Popup.CloseOnPressOutside
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
        Accessible.name: text
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
                text: menuItem.action ? menuItem.action.shortcut || "" : ""
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
