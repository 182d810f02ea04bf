# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by measure-startup.sh and measure-usage.sh: builds the window's screenshot driver in
# "$build" (a Release tree with the tests), starts one Xvfb for all runs (so its own start-up is
# not counted), and gives each run a throw-away home. Sourced, not run; expects `root` and
# `build`, sets `binary`, `work`, `lexicon_note` and `display`, and removes Xvfb and `work` on
# exit.
#
#   new_home DIR [ONBOARDED]   a fresh home in DIR; ONBOARDED=0 leaves onboarding to be done
#   run_app HOME SCRIPT        the driver running SCRIPT in HOME on the Xvfb display

# The driver is test tooling, so it is built only where the tests are.
if [[ ! -f "$build/CMakeCache.txt" ]] || grep -q '^BUILD_TESTING:BOOL=OFF' "$build/CMakeCache.txt"; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRINDLE_BUILD_BENCH=OFF \
    -DBUILD_TESTING=ON >/dev/null
fi
cmake --build "$build" --target brindle-screenshots -j2 >/dev/null
binary="$build/tests/screenshots/brindle-screenshots"

work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

lexicon_note="real lexicon"
[[ -f "$root/resources/Tessel.sqlite" ]] || lexicon_note="fixture lexicon (resources/Tessel.sqlite is missing)"

display=":$((RANDOM % 400 + 100))"
Xvfb "$display" -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
  [[ -e "/tmp/.X11-unix/X${display#:}" ]] && break
  sleep 0.1
done

new_home() {
  local home="$1"
  rm -rf "$home"
  mkdir -p "$home/.local/share/brindle" "$home/.config/Brindle" "$home/.cache" "$home/runtime"
  chmod 700 "$home/runtime"
  if [[ ! -f "$root/resources/Tessel.sqlite" ]]; then
    sqlite3 "$home/.local/share/brindle/Tessel.sqlite" <"$root/tests/data/lexicon-fixture.sql"
  fi
  if [[ "${2:-1}" == 1 ]]; then
    printf '[General]\nhasCompletedOnboarding=true\nselectedLanguage=chinese\n' \
      >"$home/.config/Brindle/Brindle.conf"
  fi
}

run_app() {
  HOME="$1" XDG_DATA_HOME="$1/.local/share" XDG_CONFIG_HOME="$1/.config" \
    XDG_CACHE_HOME="$1/.cache" XDG_RUNTIME_DIR="$1/runtime" DISPLAY="$display" \
    QT_QPA_PLATFORM=xcb "$binary" --screenshot-script "$2" --screenshot-dir "$work"
}
