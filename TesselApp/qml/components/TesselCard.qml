// SPDX-License-Identifier: GPL-3.0-or-later
// A white rounded card with a soft forest-tinted shadow; the content sits inset by `padding`.
//
//   TesselCard {
//       padding: 30
//       width: 400
//       ColumnLayout { ... }     // the single content child; width follows the card
//   }
//
// The card's implicit size is its content's plus the padding, so it can sit in layouts.
pragma ComponentBehavior: Bound
import QtQuick
import Brindle

Item {
    id: root

    property real padding: 20
    default property alias content: holder.data
    readonly property Item contentRoot: holder

    implicitWidth: (holder.children.length > 0 ? holder.children[0].implicitWidth : 0) + 2 * padding
    implicitHeight: (holder.children.length > 0 ? holder.children[0].implicitHeight : 0) + 2 * padding

    // The shadow is a stack of translucent rounded rectangles spreading to a blur of 18 pt, eight
    // down: it draws the same with every scene-graph backend and costs nothing per frame.
    Repeater {
        model: 6
        Rectangle {
            required property int index
            readonly property real spread: 3 * (index + 1)
            x: -spread
            y: 8 - spread
            width: root.width + 2 * spread
            height: root.height + 2 * spread
            radius: TesselTheme.cardRadius + spread
            color: TesselTheme.forest
            opacity: 0.055 / 6 * (1.6 - index * 0.2)
        }
    }

    Rectangle {
        anchors.fill: parent
        radius: TesselTheme.cardRadius
        color: TesselTheme.white
        border.width: 1
        border.color: TesselTheme.withAlpha(TesselTheme.line, 0.75)
    }

    Item {
        id: holder
        anchors.fill: parent
        anchors.margins: root.padding

        // The content follows the card's inner width; its height stays its own.
        onChildrenChanged: {
            for (let i = 0; i < children.length; ++i)
                children[i].width = Qt.binding(() => holder.width)
        }
    }
}
