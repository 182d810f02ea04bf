#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# test.sh ends the speech daemons its tests started and leaves every other one alone. Stand-ins
# named speech-dispatcher play the daemons: one for the tests' runtime folder (with its pid file)
# and one of the learner's (a screen reader's).
set -euo pipefail
source "$(dirname "$0")/../../scripts/speech-daemons.sh"

work="$(mktemp -d)"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT

started=""
start_daemon() {  # start_daemon [RUNTIME]: a stand-in, its pid file under RUNTIME when given
  bash -c 'exec -a speech-dispatcher sleep 60' </dev/null >/dev/null 2>&1 &
  started=$!
  pids+=("$started")
  if [[ $# -gt 0 ]]; then
    mkdir -p "$1/speech-dispatcher/pid"
    echo "$started" >"$1/speech-dispatcher/pid/speech-dispatcher.pid"
  fi
}

start_daemon "$work/learner-runtime"; learners=$started
start_daemon "$work/tests-runtime"; tests=$started
start_daemon; unlisted=$started
sleep 0.2

stop_speech_daemons_under "$work/tests-runtime"
sleep 0.2

kill -0 "$learners" || { echo "FAIL: the learner's daemon was ended" >&2; exit 1; }
kill -0 "$unlisted" || { echo "FAIL: a daemon without a pid file was ended" >&2; exit 1; }
if kill -0 "$tests" 2>/dev/null && ! grep -q '^State:.*Z' "/proc/$tests/status"; then
  echo "FAIL: the tests' daemon is still running" >&2
  exit 1
fi
echo "PASS"
