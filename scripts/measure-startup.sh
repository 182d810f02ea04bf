#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures how fast the application answers, on the real lexicon when it exists (else the
# fixture), in a Release build under Xvfb (no graphics device: OpenGL only in software) with the
# renderer the application picks by itself (set QT_QUICK_BACKEND to force one), through the
# window's screenshot driver (brindle-screenshots, which opens the window as brindle does):
#   - cold start to the first frame (a new process each run; median of RUNS), for a first start
#     (onboarding) and for a returning learner (the Today page), and the main thread's processor
#     time before it (everything the main thread did since the process began: loading the
#     libraries, the model, the screens, taking the course read beside them);
#   - the main thread's work for the frame after pressing Return on an answer (median of RUNS),
#     for a right and a wrong answer.
#
#   scripts/measure-startup.sh [RUNS]        (default 7)
#
# Environment: BRINDLE_BUILD_DIR (another Release build tree).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${1:-7}"
build="${BRINDLE_BUILD_DIR:-$root/build/screenshots}"
source "$root/scripts/measure-window.sh"
load_before="$(cut -d' ' -f1-3 /proc/loadavg)"

median() { sort -n | awk '{v[NR]=$1} END {if (NR==0) print "n/a"; else if (NR%2) print v[(NR+1)/2]; else printf "%.3f\n", (v[NR/2]+v[NR/2+1])/2}'; }

printf 'report-first-frame\nquit\n' >"$work/first-frame.txt"
start_times() {  # start_times ONBOARDED
  for _ in $(seq "$runs"); do
    new_home "$work/home" "$1"
    local start
    start=$(date +%s%3N)
    local out
    out=$(run_app "$work/home" "$work/first-frame.txt")
    local frame cpu loader
    frame=$(awk '/^first-frame-epoch-ms/ {print $2}' <<<"$out")
    cpu=$(awk '/^opened-main-thread-cpu-ms/ {print $2}' <<<"$out")
    loader=$(awk '/^before-main-cpu-ms/ {print $2}' <<<"$out")
    echo "$((frame - start)) $cpu $loader $((cpu - loader))"
  done
}

cat >"$work/answer.txt" <<'SCRIPT'
until isProgressReady true
set newWordsPerSession 2
call beginSession false
until sessionPhase answering
wait 300
type {currentItem.romanization}
wait 100
measure-key Return
wait 200
key Tab
key Space
until currentIndex 1
wait 300
type nope
wait 100
measure-key Return
quit
SCRIPT

right=()
wrong=()
for _ in $(seq "$runs"); do
  new_home "$work/home" 1
  mapfile -t figures < <(run_app "$work/home" "$work/answer.txt" | awk '/^main-thread-ms/ {print $2}')
  right+=("${figures[0]:-}")
  wrong+=("${figures[1]:-}")
done

echo "Brindle timings ($lexicon_note, $runs runs each, medians; load average before: $load_before)"
onboarding="$(start_times 0)"
today="$(start_times 1)"
echo "cold start to first frame, onboarding:   $(cut -d' ' -f1 <<<"$onboarding" | median) ms"
echo "cold start to first frame, Today page:   $(cut -d' ' -f1 <<<"$today" | median) ms   (goal <= 300)"
echo "main thread before it, Today page:       $(cut -d' ' -f2 <<<"$today" | median) ms   (goal <= 60)"
echo "  of which before main() (system loader):  $(cut -d' ' -f3 <<<"$today" | median) ms"
echo "  from main() to the window loaded:        $(cut -d' ' -f4 <<<"$today" | median) ms"
echo "Return on a right answer, main thread:   $(printf '%s\n' "${right[@]}" | median) ms"
echo "Return on a wrong answer, main thread:   $(printf '%s\n' "${wrong[@]}" | median) ms"
