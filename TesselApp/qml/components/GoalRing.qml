// SPDX-License-Identifier: GPL-3.0-or-later
// The daily-goal ring of the home screen: a faint circular track and, from the top clockwise,
// an arc filled to `progress` (0 … 1), with `centerText` over `caption` in the middle.
import QtQuick
import QtQuick.Controls.Basic
import Brindle

Item {
    id: root

    property real progress: 0
    property string centerText
    property string caption
    property real lineWidth: 10
    readonly property real clampedProgress: Math.max(0, Math.min(1, Number(progress) || 0))

    implicitWidth: 116
    implicitHeight: 116
    Accessible.role: Accessible.ProgressBar
    Accessible.name: centerText + " " + caption

    onClampedProgressChanged: ring.requestPaint()

    Canvas {
        id: ring
        anchors.fill: parent
        onWidthChanged: requestPaint()
        onHeightChanged: requestPaint()
        onPaint: {
            const ctx = getContext("2d");
            ctx.reset();
            const r = Math.min(width, height) / 2 - root.lineWidth / 2;
            const cx = width / 2, cy = height / 2;
            ctx.lineWidth = root.lineWidth;
            ctx.strokeStyle = TesselTheme.withAlpha(TesselTheme.white, 0.18);
            ctx.beginPath();
            ctx.arc(cx, cy, r, 0, 2 * Math.PI);
            ctx.stroke();
            if (root.clampedProgress <= 0)
                return;
            ctx.lineCap = "round";
            ctx.strokeStyle = TesselTheme.white;
            ctx.beginPath();
            ctx.arc(cx, cy, r, -Math.PI / 2, -Math.PI / 2 + 2 * Math.PI * root.clampedProgress);
            ctx.stroke();
        }
    }

    Column {
        anchors.centerIn: parent
        Label {
            objectName: "ringValue"
            anchors.horizontalCenter: parent.horizontalCenter
            text: root.centerText
            font.pixelSize: 30
            font.bold: true
            color: TesselTheme.white
        }
        Label {
            objectName: "ringCaption"
            anchors.horizontalCenter: parent.horizontalCenter
            text: root.caption
            font.pixelSize: 11
            color: TesselTheme.withAlpha(TesselTheme.white, 0.72)
        }
    }
}
