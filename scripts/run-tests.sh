#!/usr/bin/env bash
# Installs what is missing, builds, runs every test (starting the PostgreSQL
# server the history tests use and the CUPS scheduler the print test uses),
# then fuzzes the file readers for a short fixed time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
# The history tests run on SQLite and on a private PostgreSQL server.
WIFITICKETER_TEST_POSTGRES=$(scripts/start-postgres.sh)
export WIFITICKETER_TEST_POSTGRES
trap scripts/stop-postgres.sh EXIT
# The print test prints through a CUPS scheduler to a PDF queue and reads the
# PDF files in the queue's output folder.
WIFITICKETER_TEST_PRINT_OUTPUT=$(scripts/start-cups.sh)
WIFITICKETER_TEST_PRINT_QUEUE=wifiticketer-pdf
export WIFITICKETER_TEST_PRINT_OUTPUT WIFITICKETER_TEST_PRINT_QUEUE
trap 'scripts/stop-postgres.sh; scripts/stop-cups.sh' EXIT
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
if [ -f scripts/run-fuzz.sh ]; then
    scripts/run-fuzz.sh
fi
