#!/usr/bin/env bash
# Installs what is missing, builds Brindle (and its lexicon when missing or out of date) and starts it.
source "$(dirname "$0")/common.sh"
exec "$build_dir/TesselApp/app/brindle" "$@"
