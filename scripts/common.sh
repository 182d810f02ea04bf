# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by run.sh and test.sh: install what is missing, fetch the pinned open data, build.
# Sourced, not run.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
cd "$root"

bash scripts/setup.sh ${setup_options:-}
bash scripts/fetch-lexicon-sources.sh

preset=release
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
build_dir="$root/build/$preset"
