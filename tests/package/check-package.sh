#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package as a learner receives it: builds it with CPack, validates its desktop entry,
# AppStream entry and the package itself, then runs the binary extracted from it in an empty home
# on an X display and checks that it opens the lexicon inside the package, shows the first screen,
# and that every file it loads comes from the package or from a package its Depends line pulls in.
# The package holds no test tooling, so the build's screenshot driver (the same window from the
# same sources) first checks over the package's data that the first screen is onboarding's first
# step without a start-up error, and photographs it for the packaged binary's window to match.
#
#   tests/package/check-package.sh BUILD_DIR     (brindle-screenshots built in BUILD_DIR)
set -euo pipefail

build_dir="$(cd "$1" && pwd)"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
scratch="$(mktemp -d)"
app_pid=""
xvfb_pid=""
cleanup() {
  if [[ -n "$app_pid" ]]; then kill "$app_pid" 2>/dev/null || true; fi
  if [[ -n "$xvfb_pid" ]]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  # A speech daemon started for a run has its socket in the run's private runtime folder; stop
  # only those (found by that path: a daemon asked for just before the run ended has no process
  # id file yet).
  local command_line
  for command_line in /proc/[0-9]*/cmdline; do
    if { tr '\0' ' ' <"$command_line"; } 2>/dev/null | grep -q "^/usr/bin/speech-dispatcher .*$scratch/"; then
      kill "$(basename "$(dirname "$command_line")")" 2>/dev/null || true
    fi
  done
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "check-package: $*" >&2; exit 1; }
step() { echo "check-package: $*"; }

step "building the package"
(cd "$build_dir" && cpack -G DEB >"$scratch/cpack.log" 2>&1) || { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")"
deb="$build_dir/brindle_${version}_amd64.deb"
[[ -f "$deb" ]] || fail "no $deb"
step "$(basename "$deb"): $(du -h "$deb" | cut -f1)"

root="$scratch/root"
dpkg-deb -x "$deb" "$root"

# What the application and the desktop need from the package itself.
for path in usr/bin/brindle usr/bin/brindle-cli usr/share/brindle/Tessel.sqlite \
            usr/share/applications/brindle.desktop usr/share/metainfo/brindle.metainfo.xml \
            usr/share/icons/hicolor/scalable/apps/brindle.svg usr/share/doc/brindle/copyright \
            usr/share/doc/brindle/changelog.gz; do
  [[ -s "$root/$path" ]] || fail "the package lacks /$path"
done
for size in 16 24 32 48 64 128 256; do
  [[ -s "$root/usr/share/icons/hicolor/${size}x${size}/apps/brindle.png" ]] ||
    fail "the package lacks the ${size}x${size} icon"
done
for source in CC-CEDICT JMdict KANJIDIC2 jieba "Rime essay" "Material Design Icons" GPL-3.0-or-later; do
  grep -q "$source" "$root/usr/share/doc/brindle/copyright" || fail "copyright does not name $source"
done

# Test tooling stays out of the package, and out of the options the learner is offered.
tooling="$(find "$root" -iname '*screenshot*')"
[[ -z "$tooling" ]] || fail "the package holds test tooling: $tooling"
! QT_QPA_PLATFORM=offscreen "$root/usr/bin/brindle" --help 2>/dev/null | grep -qi screenshot ||
  fail "brindle --help offers the screenshot driver's options"

step "validating the desktop entry and the AppStream entry"
desktop-file-validate "$root/usr/share/applications/brindle.desktop"
# The plain id stays until the project has a domain of its own to name it by.
appstreamcli validate --no-net --override=cid-desktopapp-is-not-rdns=info \
  "$root/usr/share/metainfo/brindle.metainfo.xml"

step "lintian"
# Errors fail the check; warnings are printed for the reader.
lintian --fail-on error --no-tag-display-limit "$deb"

driver="$build_dir/tests/screenshots/brindle-screenshots"
[[ -x "$driver" ]] || fail "no $driver: build the brindle-screenshots target first"

# start_in_empty_home NAME COMMAND...: runs COMMAND in the background (app_pid) in a new empty home
# $scratch/NAME whose data folders are an installed system's, the package's own in place of
# /usr/share; its output goes to $scratch/NAME/app.log.
start_in_empty_home() {
  local run="$scratch/$1"
  shift
  mkdir -p "$run/home" "$run/runtime" "$run/shots"
  chmod 700 "$run/runtime"
  (
    export HOME="$run/home" XDG_DATA_HOME="$run/home/.local/share"
    export XDG_CONFIG_HOME="$run/home/.config" XDG_CACHE_HOME="$run/home/.cache"
    export XDG_RUNTIME_DIR="$run/runtime" XDG_DATA_DIRS="$root/usr/share"
    cd "$run"
    exec timeout 60 "$@"
  ) >"$run/app.log" 2>&1 &
  app_pid=$!
}
# The lexicon file the process under app_pid (or its only child, the program timeout runs) has open.
open_lexicon() {
  local process
  process="$(pgrep -P "$app_pid" | head -n1 || true)"
  find "/proc/${process:-$app_pid}/fd" -lname '*Tessel.sqlite' -printf '%l\n' 2>/dev/null | head -n1
}

# One X display for both runs, so that both draw the screen the same way.
Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp 3>"$scratch/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [[ -s "$scratch/display" ]] && break
  sleep 0.1
done
[[ -s "$scratch/display" ]] || fail "Xvfb did not start"
display=":$(head -n1 "$scratch/display")"
on_display=(env DISPLAY="$display" QT_QPA_PLATFORM=xcb LIBGL_ALWAYS_SOFTWARE=1)

step "the first screen over the package's data (screenshot driver)"
start_in_empty_home driver "${on_display[@]}" "$driver" \
  --screenshot-script "$here/first-screen.txt" --screenshot-dir "$scratch/driver/shots"
for _ in $(seq 1 300); do
  compgen -G "$scratch/driver/shots/first-screen-*.png" >/dev/null && break
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
shot="$(compgen -G "$scratch/driver/shots/first-screen-*.png" | head -n1 || true)"
lexicon_open="$(open_lexicon)"
wait "$app_pid" && [[ -n "$shot" ]] || { cat "$scratch/driver/app.log" >&2; fail "the first screen is not onboarding's first step"; }
app_pid=""
[[ "$lexicon_open" == "$root/usr/share/brindle/Tessel.sqlite" ]] ||
  fail "the driver opened '${lexicon_open:-no lexicon}', not the package's"
step "first screen: $(basename "$shot")"

step "running the extracted binary in an empty home"
start_in_empty_home app "${on_display[@]}" "$root/usr/bin/brindle"
# The packaged binary shows the same first screen once its window, photographed by the X server,
# matches the driver's picture (apart from a blinking cursor's few pixels).
window_png="$scratch/app/shots/window.png"
differing=-1
for _ in $(seq 1 300); do
  kill -0 "$app_pid" 2>/dev/null || break
  window="$(xwininfo -display "$display" -name Brindle 2>/dev/null |
            awk '/Window id:/ {id = $4} /Map State: IsViewable/ {print id}' || true)"
  if [[ -n "$window" ]] &&
     import -display "$display" -window "$window" "$window_png" 2>/dev/null; then
    differing="$(compare -metric AE -fuzz 10% "$window_png" "$shot" null: 2>&1 || true)"
    [[ "$differing" =~ ^[0-9]+$ && "$differing" -le 200 ]] && break
  fi
  sleep 0.2
done
[[ "$differing" =~ ^[0-9]+$ && "$differing" -le 200 ]] || {
  cat "$scratch/app/app.log" >&2
  fail "the packaged binary did not show the first screen (pixels unlike the driver's: $differing)"
}
lexicon_open="$(open_lexicon)"
app_process="$(pgrep -P "$app_pid" | head -n1 || echo "$app_pid")"
loaded="$(awk '$6 ~ /^\// { print $6 }' "/proc/$app_process/maps" | sort -u)"
kill "$app_pid"
wait "$app_pid" || true
app_pid=""
[[ "$lexicon_open" == "$root/usr/share/brindle/Tessel.sqlite" ]] ||
  fail "the application opened '${lexicon_open:-no lexicon}', not the package's"
step "lexicon: $lexicon_open"
step "window: the first screen ($differing pixels unlike the driver's)"

# Read rather than mapped, or loaded only later, so not in the list above: the folders of the QML
# modules the screens import, and the speech plugin the first spoken word loads.
qml_root="/usr/lib/x86_64-linux-gnu/qt6/qml"
plugins="/usr/lib/x86_64-linux-gnu/qt6/plugins"
repo="$(cd "$here/../.." && pwd)"
for module in $(find "$repo/TesselApp/qml" -name '*.qml' -exec sed -n 's/^import \([A-Za-z][A-Za-z0-9.]*\).*/\1/p' {} + |
                grep -v '^Brindle' | sort -u); do
  qmldir="$qml_root/${module//.//}/qmldir"
  [[ -f "$qmldir" ]] || fail "no QML module $module on this machine ($qmldir)"
  loaded+=$'\n'"$qmldir"
done
loaded+=$'\n'"$plugins/texttospeech/libqtexttospeech_speechd.so"

# The terminal tool needs no Qt, and an installed program never looks for its lexicon in the
# build machine's source tree: a lone copy of the binary finds nothing.
! ldd "$root/usr/bin/brindle-cli" | grep -q libQt6 || fail "brindle-cli links Qt"
mkdir -p "$scratch/lone/bin" "$scratch/lone-home"
cp "$root/usr/bin/brindle-cli" "$scratch/lone/bin/"
lone_home="$scratch/lone-home"
if looked="$(HOME="$lone_home" XDG_DATA_HOME="$lone_home/.local/share" XDG_DATA_DIRS="$scratch/lone" \
             "$scratch/lone/bin/brindle-cli" search a --language chinese 2>&1)"; then
  fail "a lone brindle-cli found a lexicon"
fi
grep -q "Tessel.sqlite" <<<"$looked" || fail "a lone brindle-cli did not say where it looked: $looked"
! grep -q "$repo" <<<"$looked" || fail "brindle-cli looks in the source tree: $looked"

step "checking the $(wc -l <<<"$loaded") files it loaded or will load against the package's Depends"
depends="$(dpkg-deb -f "$deb" Depends)"
python3 "$here/depends-closure.py" "$depends" "$root" "$scratch" <<<"$loaded"
step "ok"
