#!/bin/bash
# Builds bench_codec (Release) and runs it twice, with the default allocator
# and with a warm heap, then prints the table of bench/README.md.
#   bench/run.sh [BUILD_DIR]          (default: build/bench)
#   REPETITIONS=5 bench/run.sh        more repetitions (default 3; median)
# First-touch page faults cost about 0.55 ms per MiB on the target virtual
# machines. With the default allocator every big block is a fresh mmap and
# is faulted in again on each run; the warm heap keeps freed memory in the
# process (no mmap, no trimming), so each run reuses pages already touched.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/bench}
repetitions=${REPETITIONS:-3}
warm_heap=glibc.malloc.mmap_max=0:glibc.malloc.trim_threshold=1099511627776

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target bench_codec >/dev/null
out=$build/bench-results
mkdir -p "$out"
run() {  # name, GLIBC_TUNABLES value
  echo "-- $1 allocator" >&2
  GLIBC_TUNABLES=$2 "$build/bin/bench_codec" \
    --benchmark_repetitions="$repetitions" \
    --benchmark_report_aggregates_only=true \
    --benchmark_out="$out/$1.json" --benchmark_out_format=json >&2
}
run default ""
run warm "$warm_heap"
python3 "$root/bench/table.py" "$out/default.json" "$out/warm.json"
