#!/usr/bin/env bash
# Installs what is missing, builds, runs every test, then fuzzes the file readers
# for a short fixed time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
if [ -f scripts/run-fuzz.sh ]; then
    scripts/run-fuzz.sh
fi
