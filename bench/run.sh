#!/bin/bash
# Builds bench_codec (Release) and runs it twice, with the default allocator
# and with a warm heap, then prints the table of bench/README.md.
#   bench/run.sh [BUILD_DIR]          (default: build/bench)
#   REPETITIONS=9 bench/run.sh        more repetitions (default 5; median)
# First-touch page faults cost about 0.55 ms per MiB on the target virtual
# machines. With the default allocator, blocks above glibc's mmap threshold
# are fresh mappings, faulted in again on every run (the threshold rises as
# such blocks are freed, but not beyond 32 MiB); the warm heap keeps freed
# memory in the process (no mmap, no trimming), so runs reuse touched pages.
# Repetitions are interleaved at random, so that a change in the load of a
# shared machine does not fall on one row only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/bench}
repetitions=${REPETITIONS:-5}
warm_heap=glibc.malloc.mmap_max=0:glibc.malloc.trim_threshold=1099511627776

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target bench_codec >/dev/null
out=$build/bench-results
mkdir -p "$out"
run() {  # name, GLIBC_TUNABLES value
  echo "-- $1 allocator" >&2
  GLIBC_TUNABLES=$2 "$build/bin/bench_codec" \
    --benchmark_repetitions="$repetitions" --benchmark_min_time=0.2 \
    --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true \
    --benchmark_out="$out/$1.json" --benchmark_out_format=json >&2
}
run default ""
run warm "$warm_heap"
python3 "$root/bench/table.py" "$out/default.json" "$out/warm.json"
