#!/usr/bin/env bash
# Builds vantaapid and runs it in the foreground. Stop it with SIGTERM
# (kill <pid>) for an orderly shutdown, or Ctrl-C.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build.sh
exec "${VANTA_BUILD_DIR:-build}/src/vantaapid"
