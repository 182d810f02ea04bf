// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "Calendar.h"
#include "Progress.h"
#include "Result.h"

namespace tessel {

// The JSON text of the learner's progress file and of its backups.
//
// Writing: keys sorted (bytewise) at every level; optional card keys left out when absent, never
// null; `schemaVersion` at least 2; instants as "2024-05-01T08:30:00Z" in UTC. Pretty-printed text
// uses two-space indentation, ": " after keys and no trailing line break; compact text has no
// white space at all.
//
// Reading: member order is free; unknown members are ignored; null counts as absent for optional
// keys; a required key that is absent, null or of the wrong type fails the whole read. A schema 1
// file (no `unscopedDailyStats`) has its `dailyStats` carried over as language-free statistics;
// `dailyStatsByLanguage` members other than "chinese" and "japanese" are dropped unexamined.
// Integers must be whole JSON numbers within signed 64 bits (1.0 or 1e3 is no integer). When a key
// appears twice in one object the later value wins, but each value must be valid where it stands.
namespace ProgressJSON {

// Objects and arrays nested deeper than this fail the read before anything is built; the file
// itself needs four levels.
inline constexpr int kMaxNestingDepth = 64;

// The progress held by `text`. Never throws.
// Error: text that is no JSON, nested deeper than kMaxNestingDepth, or does not hold a progress;
// the description names the offending key with its path ("cards.zh-1.dueDate"). A file without
// `dailyStats` also fails when a day's derived total would exceed 64 bits or become infinite.
Result<LearnerProgress> decode(std::string_view text);

// The progress held by the text of a file named `fileName` (the learner's progress file or a
// backup). As decode(), and a JSON object without any of the file's own top-level keys ("cards",
// "dailyStats", "dailyStatsByLanguage", "schemaVersion", "unscopedDailyStats"), such as another
// program's settings, is refused: read as an empty progress it would replace the learner's.
// Error: as decode(), or "The file “<fileName>” is not a Brindle progress file."
Result<LearnerProgress> decodeFile(std::string_view text, std::string_view fileName);

// The JSON text of `progress`, pretty-printed or compact. Never throws.
// Error: a number that is not finite, or a text (card id, day key...) that is not valid UTF-8;
// the description names the key with its path.
Result<std::string> encode(const LearnerProgress& progress, bool prettyPrinted);

// Takes the next piece of the text; false refuses it and stops the writing.
using Sink = std::function<bool(std::string_view piece)>;
// The same text as encode(), handed to `sink` in pieces of about a megabyte as it is written,
// so that a large progress is never held whole in memory. Never throws.
// Error: as encode(), with whatever went to the sink before it; an empty description when the
// sink refused a piece.
Result<void> encodeInPieces(const LearnerProgress& progress, bool prettyPrinted, const Sink& sink);

// "YYYY-MM-DDTHH:MM:SSZ" of `instant` in UTC. A fraction of a second is dropped by moving to the
// start of that second (toward the past, also before 1970); only an instant within the very first,
// partial second an Instant can hold is written as the next whole second.
std::string formatInstant(Instant instant);
// The same text written into `buffer`, which holds at least 32 bytes; returns its length.
std::size_t formatInstantInto(Instant instant, char* buffer);

// The instant named by an internet date-time with whole seconds: "2024-05-01T08:30:00Z" or with a
// numeric offset, "2024-05-01T10:30:00+02:00", converted to UTC ("-00:00" means UTC).
// Not found (nothing): lower-case 't'/'z', fractional seconds, a leap second (":60"), a field out
// of range, any other text, or a date outside what an Instant can hold (about 1678 to 2262).
std::optional<Instant> parseInstant(std::string_view text);

}  // namespace ProgressJSON

}  // namespace tessel
