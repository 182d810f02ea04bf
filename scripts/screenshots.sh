#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Photographs the real application in named states (see scripts/screenshots/states.txt).
#
#   scripts/screenshots.sh [--lexicon fixture|real] [OUTDIR]
#
# Builds the window's screenshot driver (brindle-screenshots, tests/screenshots) in
# build/screenshots (Release) when needed, then, for each window size (1050x700 and 1440x900 of
# content), starts it under xvfb-run on a throw-away home folder and lets it walk through the
# states, writing OUTDIR/STATE-WxH.png (default
# OUTDIR: screenshots/); then once more at 200 % (QT_SCALE_FACTOR=2, the smallest size), into
# OUTDIR/200/, where each picture has twice the pixels of its name's size. With --lexicon fixture
# (the default) the test lexicon from tests/data/lexicon-fixture.sql is put in the home's data
# folder, so the pictures do not depend on the downloaded sources; --lexicon real uses the
# lexicon the build produced. The window draws with the renderer it picks by itself (set
# QT_QUICK_BACKEND=rhi to photograph the OpenGL renderer instead).
# Environment: BRINDLE_BUILD_DIR (another build tree), BRINDLE_SCREENSHOT_STATES (another list),
# BRINDLE_SCREENSHOT_SIZES (e.g. "1050x700"), BRINDLE_SCREENSHOT_SCALED_SIZES (the sizes shot at
# 200 %; "" for none).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
lexicon="fixture"
out="$root/screenshots"
while [[ $# -gt 0 ]]; do
  case "$1" in
    --lexicon) lexicon="${2:?--lexicon needs fixture or real}"; shift 2 ;;
    --lexicon=*) lexicon="${1#--lexicon=}"; shift ;;
    -h|--help) sed -n '2,18p' "$0"; exit 0 ;;
    *) out="$1"; shift ;;
  esac
done
[[ "$lexicon" == fixture || "$lexicon" == real ]] || { echo "screenshots: --lexicon fixture|real" >&2; exit 2; }

build="$(realpath -m "${BRINDLE_BUILD_DIR:-$root/build/screenshots}")"
states="${BRINDLE_SCREENSHOT_STATES:-$root/scripts/screenshots/states.txt}"
sizes="${BRINDLE_SCREENSHOT_SIZES:-1050x700 1440x900}"
scaled_sizes="${BRINDLE_SCREENSHOT_SCALED_SIZES-1050x700}"

# The driver is test tooling, so it is built only where the tests are.
if [[ ! -f "$build/CMakeCache.txt" ]] || grep -q '^BUILD_TESTING:BOOL=OFF' "$build/CMakeCache.txt"; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRINDLE_BUILD_BENCH=OFF \
    -DBUILD_TESTING=ON >/dev/null
fi
cmake --build "$build" --target brindle-screenshots -j2 >/dev/null
binary="$build/tests/screenshots/brindle-screenshots"
if [[ "$lexicon" == real && ! -f "$root/resources/Tessel.sqlite" ]]; then
  echo "screenshots: resources/Tessel.sqlite is missing; build the lexicon first" >&2
  exit 1
fi

mkdir -p "$out"
# The application runs in its throw-away home folder, so every path it is given is absolute.
out="$(cd "$out" && pwd)"
states="$(realpath "$states")"
status=0
runs=()
for size in $sizes; do runs+=("$size@1"); done
for size in $scaled_sizes; do runs+=("$size@2"); done
for run in "${runs[@]}"; do
  size="${run%@*}"
  scale="${run#*@}"
  shots="$out"
  screen="1920x1200x24"
  if [[ "$scale" != 1 ]]; then
    shots="$out/${scale}00"
    screen="3840x2400x24"
    mkdir -p "$shots"
  fi
  home="$(mktemp -d)"
  mkdir -p "$home/.local/share/brindle" "$home/.config" "$home/.cache" "$home/runtime"
  chmod 700 "$home/runtime"
  lexiconFile="$root/resources/Tessel.sqlite"
  if [[ "$lexicon" == fixture ]]; then
    lexiconFile="$home/.local/share/brindle/Tessel.sqlite"
    sqlite3 "$lexiconFile" <"$root/tests/data/lexicon-fixture.sql"
  fi
  # The states with a month of study restore this backup from the working folder.
  "$root/scripts/screenshots/make-history.sh" "$lexiconFile" >"$home/history.json"
  cd "$home"
  HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config" \
    XDG_CACHE_HOME="$home/.cache" XDG_RUNTIME_DIR="$home/runtime" \
    QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$scale" \
    xvfb-run -a -s "-screen 0 $screen" \
    "$binary" --screenshot-script "$states" --screenshot-dir "$shots" --window-size "$size" ||
    status=$?
  cd "$root"
  # A speech daemon the run started lives in its runtime folder; stop that one only.
  pid_file="$home/runtime/speech-dispatcher/pid/speech-dispatcher.pid"
  if [[ -f "$pid_file" ]]; then kill "$(cat "$pid_file")" 2>/dev/null || true; fi
  rm -rf "$home"
  [[ $status -eq 0 ]] || { echo "screenshots: the run at $size, scale $scale failed" >&2; exit $status; }
done
find "$out" -name '*.png' | wc -l | xargs echo "screenshots: pictures in $out:"
