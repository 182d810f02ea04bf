// SPDX-License-Identifier: GPL-3.0-or-later
// Counts per day as bars, optionally stacked, with the value axis on the leading side.
//
//   BarChart {
//       points: [{ label: "M", name: "Monday", values: [4, 1] }, …]   // oldest first
//       series: [{ name: "Correct", color: TesselTheme.primary }, { name: "Again", color: … }]
//   }
//
// Every point keeps its slot, so a day without study leaves a gap rather than closing ranks.
// `values` are bottom first, one per series; a value of 0 or less draws nothing. A series may
// give `fadedColor` to fill its bars with a vertical gradient from `color` down to it. Points
// with an empty `label` show no axis text. Bar segments are named "bar-<point>-<series>".
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import Brindle
import "Format.js" as Format

Item {
    id: root

    property var points: []
    property var series: []
    property real barRadius: 5
    // Share of a day's slot the bar fills.
    property real barWidthRatio: 0.62
    property real maxBarWidth: 34
    property string xTitle: "Day"
    property string yTitle: "Cards"

    readonly property real largestStack: {
        let largest = 0;
        for (let i = 0; i < Format.listLength(points); ++i)
            largest = Math.max(largest, stackHeight(points[i]));
        return largest;
    }
    readonly property var ticks: Format.axisTicks(largestStack)
    readonly property real axisTop: ticks[ticks.length - 1]

    readonly property real axisLabelWidth: tickWidth.width + 8
    readonly property real labelRowHeight: 18
    readonly property real plotWidth: Math.max(0, width - axisLabelWidth)
    readonly property real plotHeight: Math.max(0, height - labelRowHeight - 6)
    readonly property real slotWidth: Format.listLength(points) > 0
                                      ? plotWidth / Format.listLength(points) : 0

    function stackHeight(point) {
        let sum = 0;
        const values = point && point.values ? point.values : [];
        for (let s = 0; s < values.length; ++s)
            sum += Math.max(0, Number(values[s]) || 0);
        return sum;
    }

    function yFor(value) {
        return 6 + plotHeight * (1 - value / axisTop);
    }

    implicitHeight: 150

    TextMetrics {
        id: tickWidth
        font.pixelSize: 10
        text: Format.grouped(root.axisTop)
    }

    Repeater {
        model: root.ticks
        delegate: Item {
            id: tick
            required property var modelData
            width: root.width
            y: root.yFor(modelData)

            Label {
                x: 0
                width: root.axisLabelWidth - 8
                anchors.verticalCenter: parent.top
                horizontalAlignment: Text.AlignRight
                text: Format.grouped(tick.modelData)
                font.pixelSize: 10
                color: TesselTheme.secondaryText
            }
            Rectangle {
                x: root.axisLabelWidth
                width: root.plotWidth
                height: 1
                color: TesselTheme.withAlpha(TesselTheme.line, 0.7)
            }
        }
    }

    Repeater {
        id: slots
        model: root.points
        delegate: Item {
            id: slot
            required property var modelData
            required property int index
            readonly property real barWidth: Math.min(root.maxBarWidth,
                                                      root.slotWidth * root.barWidthRatio)

            x: root.axisLabelWidth + index * root.slotWidth
            width: root.slotWidth
            height: root.height

            Repeater {
                model: root.series
                delegate: Rectangle {
                    id: segment
                    required property var modelData
                    required property int index
                    readonly property var values: slot.modelData.values || []
                    readonly property real value: Math.max(0, Number(values[index]) || 0)
                    readonly property real below: {
                        let sum = 0;
                        for (let s = 0; s < index; ++s)
                            sum += Math.max(0, Number(values[s]) || 0);
                        return sum;
                    }

                    objectName: "bar-" + slot.index + "-" + index
                    visible: value > 0
                    x: (slot.width - width) / 2
                    width: slot.barWidth
                    y: root.yFor(below + value)
                    height: Math.max(0, root.yFor(below) - y)
                    radius: Math.min(root.barRadius, width / 2, height / 2)
                    color: modelData.color
                    gradient: modelData.fadedColor === undefined ? null : fade
                    Accessible.role: Accessible.Graphic
                    Accessible.name: root.xTitle + " " + (slot.modelData.name || "") + ", "
                                     + modelData.name + " " + value

                    Gradient {
                        id: fade
                        GradientStop { position: 0; color: segment.modelData.color }
                        GradientStop { position: 1; color: segment.modelData.fadedColor || segment.modelData.color }
                    }
                }
            }

            Label {
                objectName: "axisLabel-" + slot.index
                visible: text !== ""
                anchors.horizontalCenter: parent.horizontalCenter
                y: root.height - root.labelRowHeight + 4
                text: slot.modelData.label || ""
                font.pixelSize: 10
                color: TesselTheme.secondaryText
            }
        }
    }
}
