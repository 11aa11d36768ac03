#!/usr/bin/env bash
# Starts the CUPS scheduler when it does not run yet and sets up the PDF queue
# the print tests send their jobs to, then prints on standard output the folder
# where that queue's PDF files appear. Idempotent and quick when everything is
# in place. Installs nothing (scripts/install-deps.sh brings cups,
# printer-driver-cups-pdf and poppler-utils); needs root, because it runs the
# scheduler and writes to /etc/cups. scripts/stop-cups.sh stops a scheduler
# this script started.
#
# Where the PDF files go: the queue's device is cups-pdf:/wifiticketer, and for
# a device named that way the cups-pdf backend reads
# /etc/cups/cups-pdf-wifiticketer.conf instead of the system's cups-pdf.conf,
# which stays untouched. That file sends every job, of a known user (Out) or
# an unknown one (AnonDirName), to one folder, by default
# /var/spool/cups-pdf/wifiticketer. The queue labels each file with its job:
# <title>-job_<id>.pdf (Label=2), so a test finds the file of its own job.
# The queue's default paper is A4, printable to the edges (the imageable area
# of the cups-pdf PPD is the whole sheet).
set -euo pipefail
# The messages of lpstat are read below; untranslated.
export LC_ALL=C

queue=${WIFITICKETER_PRINT_QUEUE:-wifiticketer-pdf}
out=${WIFITICKETER_PRINT_OUTPUT:-/var/spool/cups-pdf/wifiticketer}
instance=wifiticketer
device="cups-pdf:/$instance"
instance_conf=/etc/cups/cups-pdf-$instance.conf
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
# The pid of a scheduler started here, for scripts/stop-cups.sh.
started=/run/wifiticketer-cupsd.pid

fail() {
    echo "start-cups: $*" >&2
    exit 1
}

[ "$(id -u)" -eq 0 ] || fail "run as root: the scheduler and its configuration need it"
command -v cupsd >/dev/null && command -v lpadmin >/dev/null || fail "CUPS is not installed (scripts/install-deps.sh)"
[ -x /usr/lib/cups/backend/cups-pdf ] && [ -f "$ppd" ] || fail "cups-pdf is not installed (scripts/install-deps.sh)"

running() {
    [ "$(lpstat -r 2>/dev/null)" = "scheduler is running" ]
}

# The backend's settings for our device only. Written before the scheduler
# starts, so no job ever runs with an older version.
conf="# Written by wifiTicketer's scripts/start-cups.sh for the $queue queue.
Out $out
AnonDirName $out
Grp lpadmin
"
if [ "$(cat "$instance_conf" 2>/dev/null)" != "${conf%$'\n'}" ]; then
    printf '%s' "$conf" >"$instance_conf"
fi
mkdir -p "$out"

if ! running; then
    # No systemd in a CI container: the scheduler runs in the foreground of a
    # session of its own, detached from this script's output, so the caller's
    # $(...) does not wait for it.
    setsid cupsd -f </dev/null >/dev/null 2>&1 &
    echo $! >"$started"
    for _ in $(seq 1 100); do
        running && break
        kill -0 "$(cat "$started")" 2>/dev/null || fail "cupsd stopped at start; see /var/log/cups/error_log"
        sleep 0.1
    done
    running || fail "the scheduler does not answer after 10 s; see /var/log/cups/error_log"
fi

# The queue, unless it is there as set up here. cups-filters turns the
# application's PDF into PostScript for cups-pdf, which makes a PDF of it again
# with Ghostscript. With the default renderer (Ghostscript) the fonts lose their
# Unicode map on the way and the text of the resulting PDF cannot be read back;
# pdftocairo keeps it. The sheets look the same either way.
if [ "$(lpstat -v "$queue" 2>/dev/null)" != "device for $queue: $device" ] ||
    [[ " $(lpoptions -p "$queue") " != *" pdftops-renderer=pdftocairo "* ]]; then
    # lpadmin warns that printer drivers are deprecated on every call; show
    # what it says only when it fails.
    if ! msg=$(lpadmin -p "$queue" -E -v "$device" -P "$ppd" -o PageSize=A4 -o Label=2 \
        -o pdftops-renderer-default=pdftocairo -o printer-is-shared=false 2>&1); then
        fail "lpadmin could not set up $queue: $msg"
    fi
fi
# A queue the scheduler stopped after a failed job takes jobs again.
cupsenable "$queue"
cupsaccept "$queue"
[[ "$(lpstat -p "$queue")" == *" enabled since "* ]] || fail "$queue is not enabled"
[[ "$(lpstat -a "$queue")" == *" accepting requests "* ]] || fail "$queue does not accept jobs"

echo "$out"
