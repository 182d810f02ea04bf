#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints a progress backup with thirty days of Mandarin study ending today (in the local time
# zone), for the screenshot states that need a learner with history: cards of the fixture
# lexicon's first bands, three of them due again, two stable, two that keep slipping (你好 and
# 谢谢, nine and eight lapses), a six-day streak and fourteen answers today; and one Japanese card,
# 猫, due and slipping too.
#
#   scripts/screenshots/make-history.sh LEXICON.sqlite > history.json
#
# The cards are the lexicon's course entries for 你好, 谢谢, 好, 大, 中国, 了, 书, 学生, 女 and
# (Japanese) 猫; a term the lexicon does not hold as a course entry is left out.
set -euo pipefail

lexicon="${1:?make-history.sh needs the lexicon file}"

iso() { date -u -d "$1" +%Y-%m-%dT%H:%M:%SZ; }

# Cards: language, term, stability days, due offset ("-1day" is due), total reviews, correct
# reviews; the lapses are the wrong ones.
cards=(
  "zh 你好 3.2 -1day 21 12"
  "zh 谢谢 2.1 -2day 15 7"
  "zh 好 1.4 -1day 6 4"
  "zh 大 24.5 +20day 12 11"
  "zh 中国 31.0 +26day 14 13"
  "zh 了 6.8 +4day 8 6"
  "zh 书 9.5 +7day 10 9"
  "zh 学生 4.4 +3day 6 5"
  "zh 女 0.6 +1day 3 1"
  "ja 猫 1.2 -1day 14 5"
)

courseID() {
  sqlite3 "$lexicon" "SELECT id FROM vocabulary WHERE language = '$1' AND learnable = 1
                      AND term = '$2' ORDER BY frequency_rank LIMIT 1;"
}
# Answers per day, oldest first; the last is today.
reviewed=(6 0 9 12 0 0 8 15 10 0 7 11 19 0 0 5 13 9 16 0 8 12 0 18 9 14 7 11 16 14)
correct=(5 0 7 10 0 0 6 13 9 0 5 10 15 0 0 4 11 7 14 0 7 10 0 15 8 12 6 9 13 12)

cardJSON() {
  local first=1
  for card in "${cards[@]}"; do
    local language term stability due total right id
    read -r language term stability due total right <<<"$card"
    id="$(courseID "$language" "$term")"
    [[ -n "$id" ]] || continue
    local interval=${stability%.*}
    [[ $first -eq 1 ]] || printf ',\n'
    first=0
    printf '    "%s": {"consecutiveCorrect": 2, "correctReviews": %d, "difficulty": 5.1, ' \
      "$id" "$right"
    printf '"dueDate": "%s", "intervalDays": %d, "itemID": "%s", "lapseCount": %d, ' \
      "$(iso "$due")" "$((interval > 0 ? interval : 1))" "$id" "$((total - right))"
    printf '"lastRating": "good", "lastReviewedAt": "%s", "stabilityDays": %s, "totalReviews": %d}' \
      "$(iso "-1day")" "$stability" "$total"
  done
}

dayJSON() {
  local first=1
  for k in $(seq 0 29); do
    local count=${reviewed[$k]} right=${correct[$k]}
    [[ $count -gt 0 ]] || continue
    local day
    day=$(date -d "$((k - 29)) day" +%F)
    [[ $first -eq 1 ]] || printf ',\n'
    first=0
    printf '      "%s": {"correctCount": %d, "day": "%s", "newCardsLearned": %d, ' \
      "$day" "$right" "$day" "$((count / 5))"
    printf '"reviewedCount": %d, "sessionsCompleted": 1, "studySeconds": %d}' \
      "$count" "$((count * 9))"
  done
}

days="$(dayJSON)"
printf '{\n  "cards": {\n%s\n  },\n' "$(cardJSON)"
printf '  "dailyStats": {\n%s\n  },\n' "${days//      \"/    \"}"
printf '  "dailyStatsByLanguage": {\n    "chinese": {\n%s\n    }\n  },\n' "$days"
printf '  "schemaVersion": 2,\n  "unscopedDailyStats": {}\n}\n'
