#!/usr/bin/env bash
# Builds the libFuzzer targets of the file readers with clang (ASan and UBSan)
# in build-fuzz and runs each for a short while under ctest. Exits non-zero when
# the build fails or a target finds a crash, a hang, an oversized allocation or
# a broken property; the input that did it is kept in
# build-fuzz/fuzz/artifacts.
#
# WIFITICKETER_FUZZ_SECONDS sets how long each target runs (default 20; the whole test run stays under 30 minutes).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-fuzz"
log="$build/run-fuzz.log"
mkdir -p "$build"

# Configure and build output goes to a log, shown only when a step fails.
quietly() {
    if ! "$@" >>"$log" 2>&1; then
        cat "$log" >&2
        echo "run-fuzz: failed: $*" >&2
        exit 1
    fi
}

: >"$log"
# Always given, so a build folder configured with another time is set again.
config=(-S "$root" -B "$build" -G Ninja -DWIFITICKETER_FUZZ=ON
        "-DWIFITICKETER_FUZZ_SECONDS=${WIFITICKETER_FUZZ_SECONDS:-20}")
quietly env CC=clang CXX=clang++ cmake "${config[@]}"
quietly cmake --build "$build" --target fuzz_targets -j2

# Each target is one single-threaded process: run as many at once as there are
# processors.
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
