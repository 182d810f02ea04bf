// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "LexiconRecords.h"

struct sqlite3;

namespace tessel {

// Gives every contextual lesson the kana reading of its sentence (the entry's first exercise)
// where the lexicon records one. A lexicon without readings, or one whose readings cannot be
// read, leaves them empty: the readings only serve speech, never the course itself.
void attachSentenceReadings(sqlite3* db, std::vector<LexiconLesson>& lessons);

}  // namespace tessel
