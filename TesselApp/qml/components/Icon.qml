// SPDX-License-Identifier: GPL-3.0-or-later
// One picture from the bundled icon set, named by the symbol names the screens use.
//
//   Icon { name: "house.fill"; size: 14; color: TesselTheme.primary }
//
// `name` is one of icons/symbols.txt (e.g. "house.fill", "speaker.wave.2.fill"); an unknown name
// draws nothing and `known` is false. `size` is the glyph's pixel size.
import QtQuick
import Brindle
import "../icons/IconGlyphs.js" as Glyphs

Text {
    id: root

    property string name
    property real size: 14
    readonly property bool known: Glyphs.codepoints[name] !== undefined

    text: known ? String.fromCodePoint(Glyphs.codepoints[name]) : ""
    font.family: TesselTheme.iconFontFamily
    font.pixelSize: size
    color: TesselTheme.forest
    horizontalAlignment: Text.AlignHCenter
    verticalAlignment: Text.AlignVCenter
    Accessible.ignored: true
}
