#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets (clang, sanitizers) and runs every *Fuzz binary for a bounded time.
# Usage: scripts/fuzz.sh [seconds-per-target]   (default 30)
# Each target keeps its corpus in build/fuzz/corpus/<target> between runs; crashing inputs land in
# build/fuzz/artifacts/<target>/. Seeds in fuzz/corpus/<target>/ and a dictionary
# fuzz/<target>.dict are used when present. Exits non-zero when any target finds a failure.
set -euo pipefail

seconds="${1:-30}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
  echo "usage: $0 [seconds-per-target]" >&2
  exit 2
fi

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${BRINDLE_FUZZ_BUILD_DIR:-$root/build/fuzz}"

# The fuzz preset; BRINDLE_FUZZ_BUILD_DIR only moves its build folder.
(cd "$root" && cmake --preset fuzz -B "$build_dir" >/dev/null)
cmake --build "$build_dir" -j "${BRINDLE_JOBS:-$(nproc)}"

mapfile -t targets < <(find "$build_dir" \
  \( -path "$build_dir/corpus" -o -path "$build_dir/artifacts" -o -name CMakeFiles \) -prune \
  -o -type f -name '*Fuzz' -perm -u+x -print | sort)
if [ "${#targets[@]}" -eq 0 ]; then
  echo "fuzz: no *Fuzz binaries were built in $build_dir" >&2
  exit 1
fi

failed=()
for target in "${targets[@]}"; do
  name="$(basename "$target")"
  corpus="$build_dir/corpus/$name"
  artifacts="$build_dir/artifacts/$name"
  mkdir -p "$corpus" "$artifacts"
  extra=()
  if [ -d "$root/fuzz/corpus/$name" ]; then extra+=("$root/fuzz/corpus/$name"); fi
  options=()
  if [ -f "$root/fuzz/$name.dict" ]; then options+=("-dict=$root/fuzz/$name.dict"); fi
  log="$artifacts/last-run.log"

  echo "fuzz: $name for ${seconds}s"
  # -timeout turns a hang on one input into a reported failure instead of a stuck run.
  if "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=30 \
      -artifact_prefix="$artifacts/" -print_final_stats=1 "${options[@]}" \
      "$corpus" "${extra[@]}" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units' "$log" | sed "s/^/fuzz: $name /" || true
  else
    echo "fuzz: $name FAILED (log: $log)" >&2
    tail -n 40 "$log" >&2
    failed+=("$name")
  fi
done

if [ "${#failed[@]}" -ne 0 ]; then
  echo "fuzz: failures in ${failed[*]}" >&2
  exit 1
fi
echo "fuzz: ${#targets[@]} target(s) ran clean"
