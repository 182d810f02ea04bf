// SPDX-License-Identifier: GPL-3.0-or-later
// The one theme of the application: colours by name, font families and shared sizes.
//
//   import Brindle
//   Rectangle { color: TesselTheme.canvas }
//   Label { font.family: TesselTheme.fontFamilyFor("japanese") }   // CJK text of a language
//   Icon { name: "house.fill" }                                     // icon glyphs: see Icon.qml
//
// Screens use these names and never write colours themselves.
pragma Singleton
import QtQuick
import Brindle

QtObject {
    readonly property color forest: "#144530"         // headings, large text, shadow tint
    readonly property color primary: "#148752"        // accents, prominent buttons, selection
    readonly property color primaryDark: "#0A663B"    // darker accent
    readonly property color mint: "#C7F0D6"           // soft accent fills
    readonly property color paleMint: "#F0FAF2"       // chips, secondary buttons, pills
    readonly property color canvas: "#F6FAF7"         // window background
    readonly property color line: "#D6E6DB"           // outlines and separators
    readonly property color secondaryText: "#577061"  // secondary text
    readonly property color white: "#FFFFFF"          // card and field fills
    readonly property color destructive: "#B42318"    // actions that erase (reset confirmation)

    // Noto Sans CJK carries Latin, kana and both Chinese glyph traditions; the JP cut draws
    // kanji the way Japanese readers expect, so Japanese text asks for it by name. Interface
    // text uses the JP cut too: the SC cut sets ’, · and … full-width, which breaks up English.
    readonly property string fontFamily: "Noto Sans CJK JP"
    readonly property string chineseFontFamily: "Noto Sans CJK SC"
    readonly property string japaneseFontFamily: "Noto Sans CJK JP"

    // The family for text written in `language` ("chinese" or "japanese").
    function fontFamilyFor(language) {
        return language === "japanese" ? japaneseFontFamily : chineseFontFamily
    }

    // The bundled icon font (Material Design Icons subset, see icons/).
    readonly property FontLoader iconFont: FontLoader {
        source: Qt.resolvedUrl("../icons/BrindleIcons.ttf")
    }
    readonly property string iconFontFamily: iconFont.name

    readonly property real cardRadius: 22
    readonly property real buttonRadius: 12
    readonly property real sidebarWidth: 226

    // Colour `c` at `alpha` opacity, for the translucent outlines and captions.
    function withAlpha(c, alpha) {
        return Qt.rgba(c.r, c.g, c.b, alpha)
    }
}
