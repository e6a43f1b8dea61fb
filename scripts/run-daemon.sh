#!/usr/bin/env bash
# Builds vantaapid and runs it in the foreground together with the device
# simulator (the bus broker and the backends on their fixed sockets); the
# daemon starts once the simulator serves. Ctrl-C, or SIGTERM to this script,
# stops the daemon with SIGTERM, then the simulator, and exits 0 when both
# stopped cleanly. Arguments go to the simulator (--without callproxy,...).
# VANTA_SIMULATOR=0 runs the daemon alone, against a real device's services.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build.sh
build_dir=${VANTA_BUILD_DIR:-build}

# The simulator opens its control socket after the broker and every backend.
ready_sockets=(/tmp/pubservice /tmp/subservice /tmp/vanta_simulator_control)
ready_limit_seconds=10

# Both programs run in sessions of their own: the terminal's Ctrl-C reaches
# this script only, which stops them in order.
trap 'stop_requested=1' INT TERM HUP
stop_requested=0

# Waits for the child $1 to end, through the signals trapped above (they cut
# a wait short while the child still runs); its exit status.
wait_for() {
    local status
    while true; do
        status=0
        wait "$1" || status=$?
        if [ "$status" -le 128 ] || ! kill -0 "$1" 2>/dev/null; then
            return "$status"
        fi
    done
}

# SIGTERM to the child $1, then its exit status.
stop() {
    kill -TERM "$1" 2>/dev/null || true
    wait_for "$1"
}

# Whether every socket in ready_sockets was made since $1 (seconds since the
# epoch): a file left by an earlier run does not count.
sockets_made_since() {
    local socket
    for socket in "${ready_sockets[@]}"; do
        [ -S "$socket" ] && [ "$(stat -c %Y "$socket")" -ge "$1" ] || return 1
    done
}

simulator=""
if [ "${VANTA_SIMULATOR:-1}" != 0 ]; then
    started=$(date +%s)
    setsid "$build_dir/tools/simulator/vanta-simulator" "$@" &
    simulator=$!
    deadline=$((started + ready_limit_seconds))
    until sockets_made_since "$started"; do
        if ! kill -0 "$simulator" 2>/dev/null; then
            status=0
            wait_for "$simulator" || status=$?
            echo "run-daemon: the simulator ended with status $status before it served" >&2
            exit 1
        fi
        if [ "$stop_requested" = 1 ] || [ "$(date +%s)" -gt "$deadline" ]; then
            [ "$stop_requested" = 1 ] || echo "run-daemon: the simulator did not serve within" \
                "$ready_limit_seconds s" >&2
            status=0
            stop "$simulator" || status=$?
            exit $((stop_requested == 1 ? status : 1))
        fi
        sleep 0.05
    done
fi

setsid "$build_dir/src/vantaapid" &
daemon=$!

# Until a stop is asked for or either program ends by itself.
while [ "$stop_requested" = 0 ] && kill -0 "$daemon" 2>/dev/null &&
    { [ -z "$simulator" ] || kill -0 "$simulator" 2>/dev/null; }; do
    wait -n "$daemon" ${simulator:+"$simulator"} 2>/dev/null || true
done

daemon_status=0
stop "$daemon" || daemon_status=$?
simulator_status=0
if [ -n "$simulator" ]; then
    stop "$simulator" || simulator_status=$?
fi
if [ "$daemon_status" != 0 ] || [ "$simulator_status" != 0 ]; then
    echo "run-daemon: vantaapid ended with status $daemon_status," \
        "the simulator with status $simulator_status" >&2
    exit 1
fi
