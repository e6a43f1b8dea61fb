#!/usr/bin/env bash
# Cross-builds the daemon, the tools and the tests for the device's 32-bit ARM
# (armhf) in build-armhf/ and runs every test there under qemu-arm-static.
# Run as root on Debian 12; installs what it needs first (the armhf
# architecture in dpkg, the cross compiler, qemu-user-static and the armhf
# -dev packages of every library), then builds incrementally.
#
#   scripts/run-tests-armhf.sh [ctest arguments...]   e.g. -R Logtask
#
# VANTA_BUILD_JOBS sets the build's parallelism (default: every core),
# VANTA_TEST_JOBS the number of tests run at once (default: every core).
# Waits in the tests are scaled by VANTA_TEST_TIME_SCALE (default here: 10),
# since emulated code runs many times slower than native code.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=build-armhf
cross_packages=(g++-arm-linux-gnueabihf qemu-user-static)
# The armhf twins of the libraries in scripts/install-deps.sh; header-only
# and architecture-independent ones (nlohmann JSON, CLI11) serve both.
armhf_packages=(
    libprotobuf-dev libgrpc++-dev libboost-dev libboost-system-dev
    libfmt-dev libssl-dev libgtest-dev libgmock-dev
)

fail() {
    echo "run-tests-armhf: $*" >&2
    exit 1
}

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

# Every armhf library an armhf package needs (its dependency closure).
armhf_closure() {
    apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
        --no-replaces --no-enhances "$@" | grep -E '^[a-z0-9].*:armhf$' | sort -u
}

# "Multi-Arch: same" libraries must have one version on both architectures.
# Checks every armhf library to be installed against its installed amd64
# twin; a twin at another version is moved to the armhf version when apt can
# fetch that version for amd64 (from the same signed archive). Prints the
# amd64 packages to install at a version ("name:amd64=version"); fails when
# no common version is available.
matching_amd64_versions() {
    local closure=() name armhf_version amd64_version
    mapfile -t closure < <(armhf_closure "$@")
    [ ${#closure[@]} -eq 0 ] && return 0
    # "name candidate" of every Multi-Arch: same armhf package in the closure.
    local same
    same=$(apt-cache show --no-all-versions "${closure[@]}" 2>/dev/null |
        awk '/^Package:/ {p = $2} /^Multi-Arch: same/ {print p}' | sort -u)
    while read -r name armhf_version; do
        grep -qx "$name" <<<"$same" || continue
        installed "$name:amd64" || continue
        amd64_version=$(dpkg-query -W -f='${Version}' "$name:amd64")
        [ "$armhf_version" = "$amd64_version" ] && continue
        if ! apt-cache madison "$name" | awk -v v="$armhf_version" \
            '$3 == v && / amd64 Packages$/ {found = 1} END {exit !found}'; then
            fail "$name is installed for amd64 at $amd64_version, but apt offers it for armhf
only at $armhf_version, which it cannot install for amd64: the two architectures
of a Multi-Arch: same library must have one version. This happens when an armhf
package list (often the security suite's) failed to download or failed its
size check during apt-get update. Run apt-get update again until it reports no
errors, then run this script again."
        fi
        echo "$name:amd64=$armhf_version"
    done < <(apt-cache policy "${closure[@]}" |
        awk '/^[^ ].*:armhf:$/ {sub(/:armhf:$/, ""); p = $0} /Candidate:/ {print p, $2}')
}

install_dependencies() {
    local wanted=() missing=() p
    wanted=("${cross_packages[@]}")
    for p in "${armhf_packages[@]}"; do
        wanted+=("$p:armhf")
    done
    for p in "${wanted[@]}"; do
        installed "$p" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    export DEBIAN_FRONTEND=noninteractive
    if ! dpkg --print-foreign-architectures | grep -qx armhf; then
        dpkg --add-architecture armhf
    fi
    local update_log
    update_log=$(mktemp)
    if ! apt-get update 2>&1 | tee "$update_log" || grep -q '^[EW]: ' "$update_log"; then
        echo "run-tests-armhf: apt-get update reported problems (above); checking whether" \
            "the armhf and amd64 library versions still agree" >&2
    fi
    rm -f "$update_log"
    local matching=()
    mapfile -t matching < <(matching_amd64_versions "${missing[@]}")
    if [ ${#matching[@]} -gt 0 ]; then
        echo "run-tests-armhf: moving amd64 libraries to their armhf twins' versions:" \
            "${matching[*]}"
    fi
    echo "Installing: ${missing[*]}"
    apt-get install -y -qq --no-install-recommends --allow-downgrades \
        "${missing[@]}" "${matching[@]}"
}

install_dependencies

if [ ! -f "$build_dir/build.ninja" ]; then
    cmake -S . -B "$build_dir" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/armhf.cmake \
        -DVANTA_BUILD_BENCHMARKS=OFF
fi
cmake --build "$build_dir" --parallel "${VANTA_BUILD_JOBS:-$(nproc)}"

export VANTA_TEST_TIME_SCALE=${VANTA_TEST_TIME_SCALE:-10}
cd "$build_dir"
ctest --output-on-failure --parallel "${VANTA_TEST_JOBS:-$(nproc)}" --timeout 1200 "$@"
