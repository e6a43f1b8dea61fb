#!/usr/bin/env bash
# Installs what the build needs, then configures and builds everything into
# build/ (or $VANTA_BUILD_DIR). Extra arguments go to the configure step.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

build_dir=${VANTA_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=${VANTA_BUILD_TYPE:-RelWithDebInfo} "$@"
cmake --build "$build_dir" --parallel "$(nproc)"
