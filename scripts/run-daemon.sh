#!/usr/bin/env bash
# Builds vantaapid and runs it in the foreground, with the device simulator
# (the bus broker and the backends on their fixed sockets) in the background.
# Stop it with SIGTERM (kill <pid>) for an orderly shutdown, or Ctrl-C.
# VANTA_SIMULATOR=0 runs the daemon alone, against a real device's services.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build.sh
build_dir=${VANTA_BUILD_DIR:-build}

if [ "${VANTA_SIMULATOR:-1}" != 0 ]; then
    "$build_dir/tools/simulator/vanta-simulator" &
    simulator=$!
    trap 'kill "$simulator" 2>/dev/null || true; wait "$simulator" 2>/dev/null || true' EXIT
    sleep 0.5
fi
"$build_dir/src/vantaapid"
