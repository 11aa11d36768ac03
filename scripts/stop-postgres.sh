#!/usr/bin/env bash
# Stops the test server of scripts/start-postgres.sh, if it runs.
set -euo pipefail
dir=${WIFITICKETER_PG_DIR:-/tmp/wifiticketer-pg}
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -n "$bin" ] && [ -f "$dir/PG_VERSION" ] || exit 0
as_owner=()
[ "$(id -u)" -ne 0 ] || as_owner=(runuser -u postgres --)
"${as_owner[@]}" "$bin/pg_ctl" -D "$dir" -m fast stop >/dev/null 2>&1 || true
