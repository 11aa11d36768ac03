#!/usr/bin/env bash
# Installs what is missing, builds, runs every test (starting the PostgreSQL
# server the history tests use), then fuzzes the file readers for a short fixed
# time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
# The history tests run on SQLite and on a private PostgreSQL server.
WIFITICKETER_TEST_POSTGRES=$(scripts/start-postgres.sh)
export WIFITICKETER_TEST_POSTGRES
trap scripts/stop-postgres.sh EXIT
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
if [ -f scripts/run-fuzz.sh ]; then
    scripts/run-fuzz.sh
fi
