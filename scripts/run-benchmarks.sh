#!/usr/bin/env bash
# Builds the benchmark programs in Release (build-release/, through ccache when
# it is installed), runs them, prints a table of every figure with its ratio or
# goal beside it and writes bench/results/summary.json, one object per section,
# for a later run to be compared with field by field.
#
#   scripts/run-benchmarks.sh [--calls N] [--events N] [--event-rate N] [--max-event-rate N]
#                             [--stalled-events N] [--stalled-event-bytes N]
#                             [--messages N] [--rate N] [--seconds N]
#                             [--build-dir DIR] [--skip-build]
#
# --calls: SetVolume calls per target and client count (default 20000);
# --events and --event-rate: the fan-out load per subscriber count (default
# 5000 at 1000/s); --max-event-rate: where the search for the highest
# sustained rate stops; --stalled-events and --stalled-event-bytes: bus events
# published while one subscriber does not read, and the length of the text
# each carries (default 100000 of 1000);
# --messages: log messages per throughput run; --rate and --seconds: the
# paced logging run whose drops are counted; --skip-build runs the programs
# already in the build directory.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=build-release
calls=20000
events=5000
event_rate=1000
max_event_rate=64000
stalled_events=100000
stalled_event_bytes=1000
messages=1000000
rate=50000
seconds=2
build=yes
while [ $# -gt 0 ]; do
    case "$1" in
        --calls) calls=$2; shift 2 ;;
        --events) events=$2; shift 2 ;;
        --event-rate) event_rate=$2; shift 2 ;;
        --max-event-rate) max_event_rate=$2; shift 2 ;;
        --stalled-events) stalled_events=$2; shift 2 ;;
        --stalled-event-bytes) stalled_event_bytes=$2; shift 2 ;;
        --messages) messages=$2; shift 2 ;;
        --rate) rate=$2; shift 2 ;;
        --seconds) seconds=$2; shift 2 ;;
        --build-dir) build_dir=$2; shift 2 ;;
        --skip-build) build=no; shift ;;
        *) echo "unknown option: $1" >&2; exit 2 ;;
    esac
done

programs=(vanta_request_overhead_bench vanta_event_fanout_bench vanta_footprint_bench
    vanta_logging_throughput_bench vantaapid vanta-simulator)

if [ "$build" = yes ]; then
    # Release at the optimisation level of the project's default build (-O2,
    # what goes on the device): -O3 makes the daemon's code a tenth larger
    # and its resident memory about 0.7 MiB higher, for no measurable speed.
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
        -DVANTA_BUILD_TESTS=OFF -DVANTA_BUILD_BENCHMARKS=ON >/dev/null
    cmake --build "$build_dir" --parallel "$(nproc)" --target "${programs[@]}"
fi

mkdir -p bench/results
figures=$(mktemp)
trap 'rm -f "$figures"' EXIT

echo "request overhead: $calls calls per target and client count" >&2
"$build_dir/bench/vanta_request_overhead_bench" --calls "$calls" >>"$figures"
echo "event fan-out: $events events at $event_rate/s to 1, 10, 100 subscribers" >&2
"$build_dir/bench/vanta_event_fanout_bench" --events "$events" --rate "$event_rate" \
    --max-rate "$max_event_rate" >>"$figures"
# The daemon and the simulator on the device's fixed sockets, in a private /tmp.
echo "footprint: the daemon with and without the simulator, $stalled_events events of" \
    "$stalled_event_bytes bytes stalled" >&2
scripts/in-private-tmp.sh "$build_dir/bench/vanta_footprint_bench" \
    --daemon "$build_dir/src/vantaapid" --simulator "$build_dir/tools/simulator/vanta-simulator" \
    --events "$stalled_events" --event-bytes "$stalled_event_bytes" >>"$figures"
echo "logging: $messages messages, then $rate msgs/s for $seconds s" >&2
"$build_dir/bench/vanta_logging_throughput_bench" --messages "$messages" --rate "$rate" \
    --seconds "$seconds" >>"$figures"

python3 scripts/benchmark_summary.py "$figures" bench/results/summary.json
echo "figures written to bench/results/summary.json" >&2
