#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures what the running application costs the machine, on the real lexicon (else the
# fixture), in a Release build under Xvfb with the renderer the application picks by itself,
# through the window's screenshot driver (brindle-screenshots), which reads /proc/self:
#   - resident memory (VmRSS) after start, and the peak (VmHWM) after a day's use: searches in
#     both languages, a 20-card session and every page visited;
#   - processor time of the whole process per dictionary query update (one key typed, then the
#     debounce, the search and the frames that follow), median over the typed letters;
#   - processor share of every page left idle (after 11 s, when a text cursor has settled), and
#     the frames it drew meanwhile.
#
#   scripts/measure-usage.sh [RUNS]        (default 3; figures are medians over the runs)
#
# Environment: BRINDLE_BUILD_DIR (a build tree with the tests, default build/release).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${1:-3}"
build="${BRINDLE_BUILD_DIR:-$root/build/release}"
source "$root/scripts/measure-window.sh"

# The day: start, the dictionary typed into letter by letter in both languages (opening it readies
# the voice, which takes a few seconds of its own, left out of the keystrokes' figure), a 20-card
# session, then every page, each left idle to measure its share.
pages=(home learn dictionary progress settings sources)
{
  echo "until isProgressReady true"
  echo "wait 5000"
  echo "report-usage start"
  echo "set destination dictionary"
  echo "wait 4000"
  echo "report-usage before-typing"
  for letter in w a t e r; do
    echo "type $letter"
    echo "wait 600"
    echo "report-usage typed"
  done
  echo "call selectLanguage japanese"
  echo "set searchQuery 食べる"
  echo "call runSearch"
  echo "until isSearching false"
  echo "wait 600"
  echo "report-usage japanese-loaded"
  echo "set searchQuery "
  echo "call runSearch"
  echo "until isSearching false"
  echo "wait 600"
  echo "report-usage before-typing"
  for letter in t a b e r u; do
    echo "type $letter"
    echo "wait 600"
    echo "report-usage typed"
  done
  echo "call selectLanguage chinese"
  echo "set destination learn"
  echo "set newWordsPerSession 20"
  echo "call beginSession false"
  for i in $(seq 1 20); do
    echo "until sessionPhase answering"
    echo "wait 150"
    echo "type {currentItem.romanization}"
    echo "key Return"
    echo "until sessionPhase feedback"
    echo "wait 150"
    echo "call rateAndAdvance good"
  done
  echo "until sessionPhase complete"
  echo "wait 500"
  echo "call leaveSession"
  for page in "${pages[@]}"; do
    echo "set destination $page"
    # A field's cursor blinks for ten seconds after it takes the keyboard.
    echo "wait 11000"
    echo "report-usage idle-from"
    echo "wait 4000"
    echo "report-usage idle-$page"
  done
  echo "report-usage day"
  echo "quit"
} >"$work/day.txt"

median() { sort -n | awk '{v[NR]=$1} END {if (NR==0) print "n/a"; else if (NR%2) print v[(NR+1)/2]; else printf "%.1f\n", (v[NR/2]+v[NR/2+1])/2}'; }

load_before="$(cut -d' ' -f1-3 /proc/loadavg)"
: >"$work/figures"
for _ in $(seq "$runs"); do
  new_home "$work/home"
  run_app "$work/home" "$work/day.txt" >"$work/out" || { echo "measure-usage: the day's script failed" >&2; exit 1; }
  # usage NAME rss-kb R peak-kb P cpu-ms C
  awk -v pages="${pages[*]}" '
    $1 != "usage" { next }
    $2 == "start" { print "start-rss", $4 / 1024 }
    $2 == "day" { print "day-peak", $6 / 1024 }
    $2 == "typed" { printf "keystroke %.1f\n", $8 - last }
    $2 == "idle-from" { from = $8; frames = $10; next }
    $2 ~ /^idle-/ { printf "%s %.2f\nframes-%s %d\n", $2, ($8 - from) / 40, $2, $10 - frames }
    { last = $8 }
  ' "$work/out" >>"$work/figures"
done
load_after="$(cut -d' ' -f1-3 /proc/loadavg)"

figure() { awk -v k="$1" '$1 == k { print $2 }' "$work/figures" | median; }
echo "Brindle usage ($lexicon_note, $runs runs; load average before: $load_before, after: $load_after)"
printf '%-44s %8s   goal %s\n' "resident memory after start (MB)" "$(figure start-rss)" "<= 150"
printf '%-44s %8s   goal %s\n' "peak resident memory after a day (MB)" "$(figure day-peak)" "<= 200"
printf '%-44s %8s   goal %s\n' "CPU per dictionary query update (ms)" "$(figure keystroke)" "<= 60"
for page in "${pages[@]}"; do
  printf '%-44s %8s   goal %s\n' "CPU idle on $page (% of a core)" "$(figure "idle-$page")" "0"
  printf '%-44s %8s   goal %s\n' "frames drawn while idle on $page" "$(figure "frames-idle-$page")" "0"
done
