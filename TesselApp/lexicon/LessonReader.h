// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "LexiconRecords.h"

struct sqlite3;

namespace tessel {

// The course cards of the language with database code `code`, exactly as the course-list
// query returns them (exercise cards first, then by level, frequency rank and term; at most
// `limit`), read in index order with the first exercises of all entries looked up from memory
// instead of a subquery per entry. Empty when the answer could differ from the query's: two
// cards tie on level, rank and term; a sort or key column holds an unexpected type or compares
// other than byte-wise; exercise ids are missing or repeated; or a statement fails. The caller
// then runs the query itself.
// REQUIRES: `db` is open; `limit` >= 0.
std::optional<std::vector<LexiconLesson>> readCourseLessons(sqlite3* db, LearningLanguage language,
                                                            const std::string& code, int limit);

}  // namespace tessel
