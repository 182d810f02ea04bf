#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds Brindle (and its lexicon when missing or out of date) and starts it.
# The application alone: no test tools installed, no tests or benchmarks built.
preset=app
source "$(dirname "$0")/common.sh"
exec "$build_dir/TesselApp/app/brindle" "$@"
