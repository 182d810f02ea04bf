#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the optimised tree build/release and runs every benchmark binary in it (core_bench,
# lexicon_bench and any other *_bench target), printing their figures; then, where Xvfb is
# installed, drives the real window for the start-up, memory and processor figures
# (scripts/measure-startup.sh, scripts/measure-usage.sh), each printed beside its goal.
# Usage: scripts/bench.sh [NAME_FILTER]   e.g. scripts/bench.sh lexicon
set -euo pipefail
cd "$(dirname "$0")/.."

filter="${1:-}"
build=build/release
jobs="${BRINDLE_JOBS:-2}"

# The lexicon benchmark wants the real lexicon; fetching the pinned sources lets the build
# compile it (nothing is downloaded when the cache is already complete).
if [[ ! -f resources/Tessel.sqlite && -x scripts/fetch-lexicon-sources.sh ]]; then
    scripts/fetch-lexicon-sources.sh || echo "bench.sh: sources not fetched; lexicon_bench will time the test fixture" >&2
fi

cmake --preset release >/dev/null
# Keep going past a target that fails to build: the benchmarks that did build still run.
build_failed=0
cmake --build --preset release -j "$jobs" -- -k 0 || build_failed=1

mapfile -t benches < <(find "$build" -type f -perm -u+x -name '*_bench' | sort)
if [[ ${#benches[@]} -eq 0 ]]; then
    echo "bench.sh: no *_bench binaries in $build" >&2
    exit 1
fi
echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
status=0
for bench in "${benches[@]}"; do
    name=$(basename "$bench")
    [[ -n "$filter" && "$name" != *"$filter"* ]] && continue
    echo
    echo "=== $name"
    "$bench" || { echo "bench.sh: $name failed" >&2; status=1; }
done
# The window's own figures, named "startup" and "usage" for the filter.
for measure in startup usage; do
    [[ -n "$filter" && "$measure" != *"$filter"* ]] && continue
    if ! command -v Xvfb >/dev/null; then
        echo "bench.sh: Xvfb is missing; $measure figures not measured" >&2
        continue
    fi
    echo
    echo "=== $measure"
    BRINDLE_BUILD_DIR="$build" "scripts/measure-$measure.sh" ||
        { echo "bench.sh: measure-$measure.sh failed" >&2; status=1; }
done
if [[ $build_failed -ne 0 ]]; then
    echo "bench.sh: some targets failed to build; their benchmarks were not run" >&2
    status=1
fi
exit $status
