#!/usr/bin/env bash
# Stops the CUPS scheduler that scripts/start-cups.sh started, if it still
# runs; a scheduler that was already running then is left alone. The queue and
# its PDF files stay, so the next start is quick.
set -euo pipefail
started=/run/wifiticketer-cupsd.pid
[ -f "$started" ] || exit 0
pid=$(cat "$started")
rm -f "$started"
[ "$(cat "/proc/$pid/comm" 2>/dev/null)" = cupsd ] || exit 0
kill "$pid"
for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || exit 0
    sleep 0.1
done
echo "stop-cups: cupsd ($pid) did not stop within 10 s" >&2
exit 1
