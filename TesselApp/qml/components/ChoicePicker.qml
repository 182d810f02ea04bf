// SPDX-License-Identifier: GPL-3.0-or-later
// A pop-up picker in the theme's colours: a list of numbers, each shown through `textFor`.
//
//   ChoicePicker { values: [10, 20]; textFor: v => v + " cards"; current: 20; onPicked: v => … }
//
// `current` that is not among the values shows no choice.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import Brindle

ComboBox {
    id: root

    property var values: []
    property var textFor: value => String(value)
    property var current

    signal picked(var value)

    model: values.map(value => textFor(value))
    currentIndex: values.indexOf(current)
    displayText: currentIndex >= 0 ? textFor(values[currentIndex]) : ""
    implicitHeight: 34
    font.pixelSize: 13
    font.weight: Font.DemiBold
    onActivated: index => root.picked(root.values[index])

    background: Rectangle {
        radius: 10
        color: root.pressed ? TesselTheme.mint : TesselTheme.paleMint
        border.width: root.visualFocus ? 2 : 1
        border.color: root.visualFocus ? TesselTheme.primary : TesselTheme.line
    }
    contentItem: Text {
        leftPadding: 12
        rightPadding: root.indicator.width + 4
        text: root.displayText
        font: root.font
        color: TesselTheme.forest
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
    indicator: Canvas {
        x: root.width - width - 11
        y: (root.height - height) / 2
        width: 9
        height: 6
        onPaint: {
            const ctx = getContext("2d");
            ctx.reset();
            ctx.strokeStyle = TesselTheme.primary;
            ctx.lineWidth = 1.8;
            ctx.lineCap = "round";
            ctx.beginPath();
            ctx.moveTo(1, 1);
            ctx.lineTo(width / 2, height - 1);
            ctx.lineTo(width - 1, 1);
            ctx.stroke();
        }
    }
    delegate: ItemDelegate {
        id: choice
        required property var modelData
        required property int index
        width: ListView.view ? ListView.view.width : root.width
        highlighted: root.highlightedIndex === index
        contentItem: Text {
            text: choice.modelData
            font: root.font
            color: TesselTheme.forest
            verticalAlignment: Text.AlignVCenter
        }
        background: Rectangle {
            radius: 6
            color: choice.highlighted ? TesselTheme.mint : TesselTheme.white
        }
    }
    popup.background: Rectangle {
        radius: 10
        color: TesselTheme.white
        border.width: 1
        border.color: TesselTheme.line
    }
}
