#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and running
# wifiTicketer need. Idempotent: quiet when everything is already there, and
# runs apt-get update once only when something is missing. Needs root (or sudo).
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ pkg-config
    qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql libzint-dev
    # fuzzing the file readers (libFuzzer, sanitizers)
    clang libclang-rt-14-dev
    # fixtures, helper scripts, and an independent RouterOS API client that
    # checks the router simulator
    python3 python3-librouteros
    # the history tests also run on a PostgreSQL server of their own
    postgresql
    # the design tests read the barcodes they print back with a scanner program
    zbar-tools
    # the print test sends a job through a CUPS scheduler to a PDF queue and
    # reads the PDF it makes
    cups printer-driver-cups-pdf poppler-utils
    # the windows: "Calibri" is drawn with Carlito (same metrics); the
    # end-to-end test runs the program on a private X server and drives it
    # through the accessibility bus, as a screen reader would
    fonts-crosextra-carlito xvfb xauth dbus-x11 at-spi2-core python3-pyatspi
    # the custom-drawn windows ask the X server whether a compositor runs
    libxcb1-dev
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = "installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "install-deps: run as root to install: ${missing[*]}" >&2; exit 1; }
    sudo=sudo
fi
echo "install-deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
