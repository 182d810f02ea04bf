#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Lints the Brindle QML module and fails on any warning that is not in qmllint-known.txt, or
# when a known warning has gone (so the list only ever shrinks). The known ones are what Qt
# 6.4's qmllint cannot follow: members of `.pragma library` scripts, delegates of components
# created from other files, and callbacks held in var properties.
# Usage: tests/qml/qmllint-check.sh BUILD_DIR
set -euo pipefail
build="${1:?usage: qmllint-check.sh BUILD_DIR}"
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
known="$here/qmllint-known.txt"

# The lint target exits non-zero whenever it prints a warning; the comparison below decides.
found="$({ cmake --build "$build" --target TesselQml_qmllint 2>&1 || true; } |
  sed -n "s|^Warning: $root/TesselApp/qml/\([^:]*\):[0-9]*:[0-9]*: \(.*\)|\1: \2|p" | LC_ALL=C sort)"
expected="$(grep -v '^#' "$known" | LC_ALL=C sort)"

if [[ "$found" != "$expected" ]]; then
  echo "qmllint-check: warnings differ from $known (< known, > now):" >&2
  diff <(echo "$expected") <(echo "$found") >&2 || true
  exit 1
fi
echo "qmllint-check: $(echo -n "$expected" | grep -c '^' || true) known warnings, nothing new"
