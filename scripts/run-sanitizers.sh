#!/usr/bin/env bash
# Builds everything and runs every test under AddressSanitizer with
# UndefinedBehaviorSanitizer (build-asan/) and under ThreadSanitizer
# (build-tsan/). A sanitizer report fails its test.
#
#   scripts/run-sanitizers.sh [address|thread|all]     (default: all)
#
# Debian's gRPC and Protobuf are not instrumented: scripts/tsan.supp hides the
# reports that lie wholly inside them (each line says why), scripts/lsan.supp
# the memory they keep until exit.
set -euo pipefail
cd "$(dirname "$0")/.."

case "${1:-all}" in
    address) sanitizers=(address) ;;
    thread) sanitizers=(thread) ;;
    all) sanitizers=(address thread) ;;
    *) echo "usage: $0 [address|thread|all]" >&2; exit 2 ;;
esac

scripts/install-deps.sh

supp=$PWD/scripts
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="suppressions=$supp/tsan.supp:ignore_noninstrumented_modules=1:second_deadlock_stack=1:print_suppressions=0"

failed=()
for sanitizer in "${sanitizers[@]}"; do
    case "$sanitizer" in
        address) build=build-asan ;;
        thread) build=build-tsan ;;
    esac
    echo "== $sanitizer: building in $build"
    start=$SECONDS
    # -O1 with line tables only: reports keep file and line, and the build
    # takes far less time than at -O2 with full debug information.
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
        -DVANTA_SANITIZE="$sanitizer" -DVANTA_BUILD_BENCHMARKS=OFF >/dev/null
    cmake --build "$build" --parallel "$(nproc)"
    echo "== $sanitizer: built in $((SECONDS - start)) s, testing"
    start=$SECONDS
    # Sanitized code runs several times slower: longer per-test limits, and
    # the tests' own waits and time bounds doubled.
    if ! (cd "$build" && VANTA_TEST_TIME_SCALE=${VANTA_TEST_TIME_SCALE:-2} \
        ctest --output-on-failure --parallel "$(nproc)" --timeout 900); then
        failed+=("$sanitizer")
    fi
    echo "== $sanitizer: tested in $((SECONDS - start)) s"
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "Tests failed under: ${failed[*]}"
    exit 1
fi
