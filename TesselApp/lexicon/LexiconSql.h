// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The statements the store runs, kept verbatim in one place: the search ranking of the fast
// path is checked against kSearchSQL, so any change here changes what "correct" means.

namespace tessel::sql {

inline constexpr const char* kReferenceCountSQL =
    "SELECT COUNT(*) FROM vocabulary WHERE language = ?";

inline constexpr const char* kCurriculumCountSQL =
    "SELECT COUNT(*) FROM vocabulary WHERE language = ? AND learnable = 1";

inline constexpr const char* kExerciseCountSQL =
    "SELECT COUNT(*) FROM exercises e\n"
    "JOIN vocabulary v ON v.id = e.vocabulary_id\n"
    "WHERE v.language = ?";

inline constexpr const char* kSourcesSQL =
    "SELECT id, display_name, url, license, license_url, attribution, source_sha256\n"
    "FROM sources ORDER BY display_name";

inline constexpr const char* kLessonsSQL =
    "SELECT\n"
    "    v.id, v.term, v.alternate, v.reading, v.romanization,\n"
    "    v.meanings_json, v.frequency_rank, v.level,\n"
    "    v.part_of_speech_json,\n"
    "    COALESCE(e.prompt, '___'), COALESCE(e.translation, ''),\n"
    "    COALESCE(e.note, ''), COALESCE(e.accepted_answers_json, '[]'),\n"
    "    COALESCE(e.attribution, ''), COALESCE(e.id, ''), v.source\n"
    "FROM vocabulary v\n"
    "LEFT JOIN exercises e ON e.id = (\n"
    "    SELECT e2.id FROM exercises e2\n"
    "    WHERE e2.vocabulary_id = v.id\n"
    "    ORDER BY e2.id LIMIT 1\n"
    ")\n"
    "WHERE v.language = ? AND v.learnable = 1\n"
    "ORDER BY CASE WHEN e.id IS NULL THEN 1 ELSE 0 END,\n"
    "         v.level, v.frequency_rank, v.term\n"
    "LIMIT ?";

inline constexpr const char* kBrowseSQL =
    "SELECT id, term, alternate, reading, romanization, meanings_json,\n"
    "       frequency_rank, level, learnable, source, part_of_speech_json\n"
    "FROM vocabulary\n"
    "WHERE language = ?\n"
    "ORDER BY learnable DESC, frequency_rank, term\n"
    "LIMIT ?";

inline constexpr const char* kSearchSQL =
    "SELECT id, term, alternate, reading, romanization, meanings_json,\n"
    "       frequency_rank, level, learnable, source, part_of_speech_json\n"
    "FROM vocabulary\n"
    "WHERE language = ? AND (\n"
    "    term LIKE ? ESCAPE '\\' OR alternate LIKE ? ESCAPE '\\'\n"
    "    OR reading LIKE ? ESCAPE '\\' OR romanization LIKE ? ESCAPE '\\'\n"
    "    OR meanings_json LIKE ? ESCAPE '\\'\n"
    ")\n"
    "ORDER BY\n"
    "    CASE WHEN term = ? OR alternate = ? THEN 0\n"
    "         WHEN term LIKE ? ESCAPE '\\' OR alternate LIKE ? ESCAPE '\\' THEN 1\n"
    "         ELSE 2 END,\n"
    "    learnable DESC, frequency_rank, term\n"
    "LIMIT ?";

// A query's romanization interpretation (a romaji or pinyin spelling): entries whose
// romanization holds it, equal ones first, then those beginning with it.
inline constexpr const char* kRomanizationSearchSQL =
    "SELECT id, term, alternate, reading, romanization, meanings_json,\n"
    "       frequency_rank, level, learnable, source, part_of_speech_json\n"
    "FROM vocabulary\n"
    "WHERE language = ? AND romanization LIKE ? ESCAPE '\\'\n"
    "ORDER BY\n"
    "    CASE WHEN romanization = ? THEN 0\n"
    "         WHEN romanization LIKE ? ESCAPE '\\' THEN 1\n"
    "         ELSE 2 END,\n"
    "    learnable DESC, frequency_rank, term\n"
    "LIMIT ?";

// The fast search finds rows by position in memory and reads them one at a time.
inline constexpr const char* kEntryByRowidSQL =
    "SELECT id, term, alternate, reading, romanization, meanings_json,\n"
    "       frequency_rank, level, learnable, source, part_of_speech_json\n"
    "FROM vocabulary\n"
    "WHERE rowid = ? AND language = ?";

inline constexpr const char* kCharacterSQL =
    "SELECT stroke_count, readings_json, kun_readings_json, meanings_json, grade, jlpt,\n"
    "       frequency, strokes\n"
    "FROM characters\n"
    "WHERE language = ? AND character = ?";

// The course words that contain a character in course order: band, then frequency rank (bands
// are cut from the frequency ranks, so this is most frequent first). That is the order of the
// course index, so the query stops at the limit instead of sorting every match; a character
// that few course words use scans the language's part of the index (about 20,000 rows, 2 ms).
inline constexpr const char* kWordsWithCharacterSQL =
    "SELECT id, term, alternate, reading, romanization, meanings_json,\n"
    "       frequency_rank, level, learnable, source, part_of_speech_json\n"
    "FROM vocabulary\n"
    "WHERE language = ? AND learnable = 1 AND instr(term, ?) > 0\n"
    "ORDER BY level, frequency_rank, term\n"
    "LIMIT ?";

}  // namespace tessel::sql
