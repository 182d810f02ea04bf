# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by run.sh and test.sh: install what is missing, fetch the pinned open data, build the
# CMake preset `$preset` (release when unset). Sourced, not run.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
cd "$root"

bash scripts/setup.sh ${setup_options:-}
bash scripts/fetch-lexicon-sources.sh

preset="${preset:-release}"
# The preset names the build folder; cmake says which.
build_dir="$(cmake --preset "$preset" | sed -n 's/^-- Build files have been written to: //p')"
cmake --build --preset "$preset" -j "$(nproc)"
