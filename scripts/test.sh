#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds everything (lexicon included), fuzzes the decoders for a bounded
# time, runs every test, builds the Debian package and checks it, then runs the test programs
# again under the address and undefined-behaviour sanitizers. Exits non-zero on any failure.
setup_options=--with-test-tools
source "$(dirname "$0")/common.sh"

# Tests run headless and must not touch the user's own folders or leave daemons behind.
export QT_QPA_PLATFORM=offscreen
scratch="$(mktemp -d)"
mkdir -p "$scratch/runtime" "$scratch/cache"
chmod 700 "$scratch/runtime"
export XDG_RUNTIME_DIR="$scratch/runtime" XDG_CACHE_HOME="$scratch/cache"
source "$root/scripts/speech-daemons.sh"
cleanup() {
  # The model tests run with runtime folders of their own inside the build tree.
  stop_speech_daemons_under "$scratch/runtime" "$build_dir/tests" "$root/build/asan/tests"
  rm -rf "$scratch"
}
trap cleanup EXIT

bash scripts/fuzz.sh "${BRINDLE_FUZZ_SECONDS:-30}"

ctest --preset release -j "$(nproc)" --timeout 300

bash tests/package/check-package.sh "$build_dir"

# Debug with -Werror, AddressSanitizer and UndefinedBehaviorSanitizer: only the test programs are
# built (build/asan), and the slow full-lexicon test is left out.
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$(nproc)"
ctest --preset asan -j "$(nproc)" --timeout 600
