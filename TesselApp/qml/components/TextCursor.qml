// SPDX-License-Identifier: GPL-3.0-or-later
// A text field's cursor that blinks while the learner works in the field and holds still, shown,
// once they have paused for a few seconds: a field waiting with the keyboard then redraws
// nothing, so an idle page costs no processor time.
//
//   TextField { cursorDelegate: TextCursor {} }
import QtQuick

Rectangle {
    id: cursor

    // How long the cursor blinks after the last edit, move or focus.
    property int blinkingMs: 10000
    property bool lit: true
    property int flipsLeft: 0

    readonly property TextInput field: parent as TextInput
    readonly property int flipInterval: Qt.styleHints.cursorFlashTime / 2

    function wake() {
        lit = true;
        flipsLeft = flipInterval > 0 ? Math.ceil(blinkingMs / flipInterval / 2) * 2 : 0;
        flipper.restart();
    }

    width: field ? Math.max(1, field.cursorRectangle.width) : 1
    color: field ? field.color : "transparent"
    visible: field !== null && field.cursorVisible && lit

    Component.onCompleted: wake()

    Connections {
        target: cursor.field
        function onCursorPositionChanged() { cursor.wake(); }
        function onTextChanged() { cursor.wake(); }
        function onCursorVisibleChanged() { cursor.wake(); }
    }

    Timer {
        id: flipper
        interval: Math.max(1, cursor.flipInterval)
        repeat: true
        running: cursor.field !== null && cursor.field.cursorVisible && cursor.flipsLeft > 0
        onTriggered: {
            cursor.lit = !cursor.lit;
            cursor.flipsLeft -= 1;
        }
    }
}
