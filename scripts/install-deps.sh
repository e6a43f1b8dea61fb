#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing vantaapid need.
# Does nothing when every package is already installed.
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache pkg-config
    protobuf-compiler libprotobuf-dev protobuf-compiler-grpc libgrpc++-dev
    libboost-dev libboost-system-dev
    nlohmann-json3-dev libfmt-dev libssl-dev libcli11-dev
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    util-linux procps clang-format
    lldb
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
