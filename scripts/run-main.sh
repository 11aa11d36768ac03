#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program's main job:
#   scripts/run-main.sh               with a display: the program's windows against the demo router
#                                     (the simulator, started on 127.0.0.1:8728 when nothing answers
#                                     there), in a throwaway settings file and data folder: the
#                                     setup opens first; then log in with empty user and password
#                                     and make vouchers.
#                                     Without a display: the main job end to end on the command
#                                     line (log in, make five vouchers of the router's first
#                                     profile, record them, list today's history), then pictures
#                                     of the windows drawn offscreen into screenshots/
#   scripts/run-main.sh ARGS...       wifiticketer-cli ARGS on your own settings and routers
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ $# -gt 0 ]; then
    exec build/bin/wifiticketer-cli "$@"
fi

demo=$(mktemp -d)
sim_pid=""
cleanup() {
    [ -z "$sim_pid" ] || kill "$sim_pid" 2>/dev/null || true
    rm -rf "$demo"
}
trap cleanup EXIT
export WIFITICKETER_SETTINGS=$demo/settings.reg WIFITICKETER_DATA_DIR=$demo/data

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    # A first start knows one router, 127.0.0.1:8728 with the user admin.
    if ! (exec 3<>/dev/tcp/127.0.0.1/8728) 2>/dev/null; then
        build/bin/wifiticketer-routersim --port 8728 >"$demo/sim.out" &
        sim_pid=$!
        for _ in $(seq 50); do
            grep -q '^listening on' "$demo/sim.out" 2>/dev/null && break
            sleep 0.1
        done
    fi
    echo "run-main: a new installation: the setup opens first (its router 127.0.0.1:8728 is the" \
        "simulator; \"Testar Conexão\" on it, then \"&Ok\"); then log in with empty user and password" >&2
    build/bin/wifiticketer
    exit
fi
echo "run-main: no display; the main job on the command line, then pictures of the windows" >&2

# The simulator on a free port; the installation's one router points at it.
build/bin/wifiticketer-routersim --port 0 >"$demo/sim.out" &
sim_pid=$!
for _ in $(seq 50); do
    grep -q '^listening on' "$demo/sim.out" 2>/dev/null && break
    sleep 0.1
done
port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$demo/sim.out")
[ -n "$port" ] || { echo "run-main: the router simulator did not start" >&2; exit 1; }
printf 'Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer]\n"MikrotikApiPort"="%s"\n' \
    "$port" >"$WIFITICKETER_SETTINGS"

cli=build/bin/wifiticketer-cli
echo "== profiles of the (simulated) router"
$cli --no profiles | tee "$demo/profiles.txt"
profile=$(head -n 1 "$demo/profiles.txt" | cut -f 2)
echo "== five vouchers of \"$profile\": UserName, Password, Serial, Created, Expires"
$cli --no generate --profile "$profile" --count 5
echo "== today's history"
$cli history
echo "== the windows, drawn offscreen"
build/bin/wifiticketer-screenshots screenshots
