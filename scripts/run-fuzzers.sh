#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang into build-fuzz/
# (AddressSanitizer and UBSan included) and runs each for a bounded time,
# starting from its seeds (tests/fuzz/corpus/<target>/) and past findings
# (tests/fuzz/regressions/<target>/). Inputs found on the way are kept in
# build-fuzz/corpus/<target>/; a crashing input is written to
# build-fuzz/findings/<target>/ and makes the script fail.
#
#   scripts/run-fuzzers.sh [--seconds N] [target ...]
#
# Targets: gateway_command bus_translation problem_report_metadata log_record
# (all by default); 60 seconds each unless --seconds says otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
targets=()
while [ $# -gt 0 ]; do
    case "$1" in
        --seconds) seconds=$2; shift 2 ;;
        --seconds=*) seconds=${1#--seconds=}; shift ;;
        -h|--help) sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        *) targets+=("$1"); shift ;;
    esac
done
[ ${#targets[@]} -gt 0 ] || targets=(gateway_command bus_translation problem_report_metadata log_record)

scripts/install-deps.sh
# Clang and its libFuzzer and sanitizer runtimes; only fuzzing needs them.
fuzz_packages=(clang-14 libclang-rt-14-dev)
for p in "${fuzz_packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends "${fuzz_packages[@]}"
        break
    fi
done

build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 -DVANTA_FUZZ=ON -DVANTA_BUILD_BENCHMARKS=OFF >/dev/null
build_targets=()
for t in "${targets[@]}"; do build_targets+=("vanta_fuzz_$t"); done
cmake --build "$build" --parallel "$(nproc)" --target "${build_targets[@]}" vanta_fuzz_bus_seeds

failed=()
for t in "${targets[@]}"; do
    corpus=$build/corpus/$t
    findings=$build/findings/$t
    mkdir -p "$corpus" "$findings"
    if [ "$t" = bus_translation ]; then
        "$build/tests/fuzz/vanta_fuzz_bus_seeds" "$corpus" >/dev/null
    fi
    inputs=("$corpus")
    for d in "tests/fuzz/corpus/$t" "tests/fuzz/regressions/$t"; do
        if [ -d "$d" ]; then inputs+=("$d"); fi
    done
    echo "== $t: ${seconds} s"
    # A private /tmp and /dev/shm: what the code under test writes or logs
    # stays out of the machine's.
    if scripts/in-private-tmp.sh "$build/tests/fuzz/vanta_fuzz_$t" \
        -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$findings/" "${inputs[@]}" >"$build/fuzz-$t.log" 2>&1; then
        grep -E '^stat::number_of_executed_units|^stat::new_units_added' "$build/fuzz-$t.log" || true
    else
        failed+=("$t")
        grep -E -A30 'ERROR: (AddressSanitizer|libFuzzer)|runtime error|fuzzer: ' \
            "$build/fuzz-$t.log" | head -60 || true
        echo "$t failed: $build/fuzz-$t.log, input in $findings/"
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "Fuzzing found failures in: ${failed[*]}"
    exit 1
fi
echo "No failures in: ${targets[*]}"
