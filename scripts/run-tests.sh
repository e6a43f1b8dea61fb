#!/usr/bin/env bash
# Builds everything and runs every test with ctest.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/check-layers.sh
scripts/check-format.sh
scripts/build.sh
(cd "${VANTA_BUILD_DIR:-build}" && ctest --output-on-failure --parallel "$(nproc)" --timeout 300)

# Off by default (each sanitizer build and run takes long):
# VANTA_CI_SANITIZERS=address, thread or all runs the suite under them too.
if [ -n "${VANTA_CI_SANITIZERS:-}" ]; then
    scripts/run-sanitizers.sh "$VANTA_CI_SANITIZERS"
fi
