// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "Result.h"
#include "StrokeDrawing.h"
#include "TarArchive.h"

namespace tessel::compiler {

// The stroke files of the hanzi-writer-data package, by character: "package/你.json" is the
// file of 你. Other files of the package are left out.
std::map<std::string, std::string_view> hanziStrokeFiles(const std::vector<TarMember>& members);

// One character's file, {"strokes": [SVG path, ...], "medians": [[[x, y], ...], ...]}, as
// strokes in writing order in the lexicon's drawing box. The package draws in a 1024-unit box
// with y upwards from 124 units below the box's foot; the result has y downwards from the top.
// Fails on JSON that is not such an object, a path with a command other than M, L, Q, C and Z
// or a missing coordinate, or strokes and medians of different counts.
Result<StrokeDrawing> parseHanziStrokes(std::string_view json);

}  // namespace tessel::compiler
