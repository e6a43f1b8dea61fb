#!/usr/bin/env bash
# Builds everything and runs every test with ctest.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/check-layers.sh
scripts/check-format.sh
scripts/build.sh
cd "${VANTA_BUILD_DIR:-build}"
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
