// SPDX-License-Identifier: GPL-3.0-or-later
// The shared building blocks: icons, buttons, pills, titles and cards.
import QtQuick
import QtTest
import Brindle

Item {
    id: scene
    width: 600
    height: 400

    Component {
        id: iconComponent
        Icon {}
    }
    Component {
        id: buttonComponent
        TesselButton {}
    }
    Component {
        id: pillComponent
        TesselPill {}
    }
    Component {
        id: titleComponent
        SectionTitle { width: 400 }
    }
    Component {
        id: cardComponent
        TesselCard {
            Rectangle { objectName: "content"; implicitWidth: 120; implicitHeight: 40 }
        }
    }

    Component {
        id: fieldComponent
        TextInput {
            width: 200
            height: 30
            cursorDelegate: TextCursor { objectName: "cursor"; blinkingMs: 600 }
        }
    }

    Component {
        id: signalSpy
        SignalSpy {}
    }

    TestCase {
        name: "Components"
        when: windowShown

        // Every symbol the screens name, by screen.
        function test_everySymbolHasAGlyph_data() {
            const names = [
                "house.fill", "sparkles", "books.vertical.fill", "chart.bar.xaxis",
                "slider.horizontal.3", "checkmark.seal.fill", "lock.shield.fill", "leaf.fill",
                "leaf.circle.fill", "figure.walk", "tree.fill", "checkmark.circle.fill", "circle",
                "lock.fill", "xmark", "speaker.wave.2.fill", "return", "waveform",
                "arrow.counterclockwise.circle.fill", "checkmark", "flame.fill", "play.fill",
                "clock.arrow.circlepath", "plus.circle.fill", "clock.badge.checkmark.fill",
                "target", "list.number", "text.bubble.fill", "magnifyingglass",
                "xmark.circle.fill", "text.magnifyingglass", "book.closed", "number",
                "shield.checkered", "rectangle.stack.fill", "calendar.badge.clock",
                "rectangle.and.pencil.and.ellipsis", "externaldrive.fill", "tortoise.fill",
                "hare.fill", "chart.bar.doc.horizontal.fill", "shield.lefthalf.filled"
            ]
            return names.map(n => ({ tag: n, name: n }))
        }
        function test_everySymbolHasAGlyph(data) {
            const icon = createTemporaryObject(iconComponent, scene, { name: data.name, size: 20 })
            verify(icon.known, "no glyph mapped for " + data.name)
            compare(icon.text.length, 2)  // one astral-plane code point
            compare(icon.font.family, TesselTheme.iconFontFamily)
            verify(icon.contentWidth > 10, "glyph for " + data.name + " draws nothing")
        }

        function test_iconFontIsBundled() {
            compare(TesselTheme.iconFont.status, FontLoader.Ready)
            compare(TesselTheme.iconFontFamily, "Material Design Icons")
        }

        function test_unknownSymbolDrawsNothing() {
            const icon = createTemporaryObject(iconComponent, scene, { name: "no.such.symbol" })
            verify(!icon.known)
            compare(icon.text, "")
        }

        function test_buttonPressFeedback() {
            const button = createTemporaryObject(buttonComponent, scene, { text: "Continue", prominent: true })
            const spy = createTemporaryQmlObject("import QtTest; SignalSpy { signalName: 'clicked' }", scene)
            spy.target = button
            mousePress(button)
            tryCompare(button, "scale", 0.98)
            tryCompare(button, "opacity", 0.88)
            mouseRelease(button)
            tryCompare(button, "scale", 1)
            tryCompare(button, "opacity", 1)
            compare(spy.count, 1)
        }

        function test_buttonKeysClickWhenFocused() {
            const button = createTemporaryObject(buttonComponent, scene, { text: "Good" })
            const spy = createTemporaryQmlObject("import QtTest; SignalSpy { signalName: 'clicked' }", scene)
            spy.target = button
            button.forceActiveFocus(Qt.TabFocusReason)
            keyClick(Qt.Key_Space)
            keyClick(Qt.Key_Return)
            keyClick(Qt.Key_Enter)
            compare(spy.count, 3)
            button.enabled = false
            keyClick(Qt.Key_Return)
            compare(spy.count, 3)
        }

        function test_buttonStyles_data() {
            return [
                { tag: "prominent", prominent: true, fill: TesselTheme.primary, text: TesselTheme.white, border: 0 },
                { tag: "plain", prominent: false, fill: TesselTheme.paleMint, text: TesselTheme.forest, border: 1 },
            ]
        }
        function test_buttonStyles(data) {
            const button = createTemporaryObject(buttonComponent, scene, { text: "Back", prominent: data.prominent })
            verify(Qt.colorEqual(button.background.color, data.fill))
            verify(Qt.colorEqual(button.textColor, data.text))
            compare(button.background.border.width, data.border)
            compare(button.background.radius, 12)
            verify(button.height >= 42)
        }

        function test_pillStyles_data() {
            return [
                { tag: "selected", selected: true, fill: TesselTheme.primary, text: TesselTheme.white },
                { tag: "not selected", selected: false, fill: TesselTheme.paleMint, text: TesselTheme.forest },
            ]
        }
        function test_pillStyles(data) {
            const pill = createTemporaryObject(pillComponent, scene, { text: "中文", selected: data.selected })
            verify(Qt.colorEqual(pill.background.color, data.fill))
            verify(Qt.colorEqual(pill.contentItem.color, data.text))
            compare(pill.background.radius, pill.height / 2)
        }

        function test_sectionTitleParts_data() {
            return [
                { tag: "all parts", eyebrow: "Daily goal", subtitle: "Change it later.",
                  eyebrowShown: true, eyebrowText: "DAILY GOAL", subtitleShown: true },
                { tag: "title only", eyebrow: "", subtitle: "",
                  eyebrowShown: false, eyebrowText: "", subtitleShown: false },
            ]
        }
        function test_sectionTitleParts(data) {
            const title = createTemporaryObject(titleComponent, scene,
                                                { eyebrow: data.eyebrow, title: "Set a rhythm", subtitle: data.subtitle })
            const eyebrow = findChild(title, "eyebrow")
            compare(eyebrow.visible, data.eyebrowShown)
            compare(eyebrow.text, data.eyebrowText)
            compare(findChild(title, "subtitle").visible, data.subtitleShown)
            compare(findChild(title, "title").text, "Set a rhythm")
        }

        function test_cardInsetsItsContent_data() {
            return [ { tag: "padding 30", padding: 30 }, { tag: "padding 0", padding: 0 } ]
        }
        function test_cardInsetsItsContent(data) {
            const card = createTemporaryObject(cardComponent, scene, { padding: data.padding })
            compare(card.implicitWidth, 120 + 2 * data.padding)
            compare(card.implicitHeight, 40 + 2 * data.padding)
            card.width = 400
            const content = findChild(card, "content")
            compare(content.width, 400 - 2 * data.padding)
            const topLeft = content.mapToItem(card, 0, 0)
            compare(topLeft.x, data.padding)
            compare(topLeft.y, data.padding)
        }
    
        // An idle field must stop redrawing: the cursor blinks for a while after focus or an
        // edit, then stays shown; any edit wakes it again.
        function test_cursorSettlesShownAndWakesOnEdit() {
            const field = createTemporaryObject(fieldComponent, scene)
            field.forceActiveFocus()
            const cursor = findChild(field, "cursor")
            verify(cursor)
            const flipped = signalSpy.createObject(scene, { target: cursor, signalName: "litChanged" })
            tryCompare(cursor, "flipsLeft", 0, 3000)
            verify(flipped.count > 0)
            verify(cursor.lit && cursor.visible)
            const settled = flipped.count
            wait(3 * Qt.styleHints.cursorFlashTime / 2)
            compare(flipped.count, settled)
            keyClick(Qt.Key_A)
            compare(field.text, "a")
            verify(cursor.flipsLeft > 0)
            tryVerify(() => flipped.count > settled, 3000)
            field.focus = false
            verify(!cursor.visible)
        }
}
}
