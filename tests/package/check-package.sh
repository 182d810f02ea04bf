#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package as a learner receives it: builds it with CPack, validates its desktop entry,
# AppStream entry and the package itself, then runs the binary extracted from it in an empty home
# and checks that it opens the lexicon inside the package, shows the first screen, and that every
# file it loads comes from the package or from a package its Depends line pulls in.
#
#   tests/package/check-package.sh BUILD_DIR
set -euo pipefail

build_dir="$(cd "$1" && pwd)"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
scratch="$(mktemp -d)"
app_pid=""
cleanup() {
  if [[ -n "$app_pid" ]]; then kill "$app_pid" 2>/dev/null || true; fi
  # A speech daemon started for this run lives in its private runtime folder; stop only that one.
  local pid_file="$scratch/runtime/speech-dispatcher/pid/speech-dispatcher.pid"
  if [[ -f "$pid_file" ]]; then kill "$(cat "$pid_file")" 2>/dev/null || true; fi
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

step "validating the desktop entry and the AppStream entry"
desktop-file-validate "$root/usr/share/applications/brindle.desktop"
# The plain id stays until the project has a domain of its own to name it by.
appstreamcli validate --no-net --override=cid-desktopapp-is-not-rdns=info \
  "$root/usr/share/metainfo/brindle.metainfo.xml"

step "lintian"
# Errors fail the check; warnings are printed for the reader.
lintian --fail-on error --no-tag-display-limit "$deb"

step "running the extracted binary in an empty home"
home="$scratch/home"
mkdir -p "$home" "$scratch/runtime" "$scratch/shots"
chmod 700 "$scratch/runtime"
(
  export HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config"
  export XDG_CACHE_HOME="$home/.cache" XDG_RUNTIME_DIR="$scratch/runtime"
  # The data folders of an installed system, the package's own in place of /usr/share.
  export XDG_DATA_DIRS="$root/usr/share"
  export QT_QPA_PLATFORM=offscreen
  exec timeout 60 "$root/usr/bin/brindle" --screenshot-script "$here/first-screen.txt" \
    --screenshot-dir "$scratch/shots"
) >"$scratch/app.log" 2>&1 &
app_pid=$!

# Once the first screen is on file, look at what the running process has open and mapped.
for _ in $(seq 1 300); do
  compgen -G "$scratch/shots/first-screen-*.png" >/dev/null && break
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
shot="$(compgen -G "$scratch/shots/first-screen-*.png" | head -n1 || true)"
[[ -n "$shot" ]] || { cat "$scratch/app.log" >&2; fail "the first screen was not shown"; }
app_process="$(pgrep -P "$app_pid" -x brindle || echo "$app_pid")"
lexicon_open="$(find "/proc/$app_process/fd" -lname '*Tessel.sqlite' -printf '%l\n' 2>/dev/null | head -n1)"
loaded="$(awk '$6 ~ /^\// { print $6 }' "/proc/$app_process/maps" | sort -u)"
wait "$app_pid" || { cat "$scratch/app.log" >&2; fail "the application failed"; }
app_pid=""
[[ "$lexicon_open" == "$root/usr/share/brindle/Tessel.sqlite" ]] ||
  fail "the application opened '${lexicon_open:-no lexicon}', not the package's"
step "lexicon: $lexicon_open"
step "first screen: $(basename "$shot")"

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
loaded+=$'\n'"$plugins/platforms/libqxcb.so"

step "checking the $(wc -l <<<"$loaded") files it loaded or will load against the package's Depends"
depends="$(dpkg-deb -f "$deb" Depends)"
python3 "$here/depends-closure.py" "$depends" "$root" "$scratch" <<<"$loaded"
step "ok"
