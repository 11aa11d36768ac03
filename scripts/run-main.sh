#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program's main job. The windows
# are not built yet: today this starts the program's core as the windows will
# (settings, program users, routers, hotspot profiles, username list) and lists
# the configured routers with wifiticketer-cli.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/bin/wifiticketer-cli routers "$@"
