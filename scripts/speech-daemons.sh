# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by test.sh. stop_speech_daemons_under FOLDER...: ends the speech-dispatcher daemons
# started for the given runtime folders, and only those. A daemon keeps its process id under the
# runtime folder it was started for (speech-dispatcher/pid/speech-dispatcher.pid), so the
# learner's own daemon, a screen reader's included, is never touched.
stop_speech_daemons_under() {
  local pidfile pid
  while IFS= read -r pidfile; do
    pid="$(cat "$pidfile" 2>/dev/null)" || continue
    [[ "$pid" =~ ^[0-9]+$ ]] || continue
    # A stale file may name a process id that has since been reused: only a live
    # speech-dispatcher under that id is ended.
    if tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q 'speech-dispatcher'; then
      kill "$pid" 2>/dev/null || true
    fi
  done < <(find "$@" -path '*/speech-dispatcher/pid/*.pid' -type f 2>/dev/null)
}
