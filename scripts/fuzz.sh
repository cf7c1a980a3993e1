#!/bin/bash
# Runs every fuzz target of a fuzz build, sharing SECONDS between them,
# seeded with tests/fuzz/seeds. New inputs go to BUILD_DIR/corpus/<target>,
# so a later run starts from what an earlier one found; a crashing input is
# written to BUILD_DIR/artifacts/.
#   fuzz.sh BUILD_DIR SECONDS
# A longer run: scripts/fuzz.sh build/fuzz 600
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1; seconds=$2
seeds=$root/tests/fuzz/seeds
targets=("$build"/bin/fuzz_*)
[ -x "${targets[0]}" ] || { echo "no fuzz targets in $build/bin" >&2; exit 1; }
per=$(( seconds / ${#targets[@]} ))
[ "$per" -ge 5 ] || per=5
mkdir -p "$build/artifacts"
for t in "${targets[@]}"; do
  name=$(basename "$t")
  corpus=$build/corpus/$name
  log=$build/artifacts/$name.log
  mkdir -p "$corpus"
  echo "-- $name for ${per}s (log: $log)"
  # Inputs far beyond real messages add nothing but time; the decoders'
  # size checks must keep memory small whatever the input says.
  if ASAN_OPTIONS=detect_leaks=1 "$t" "$corpus" "$seeds" \
      -max_total_time="$per" -max_len=8192 -timeout=10 \
      -rss_limit_mb=2048 -malloc_limit_mb=256 \
      -artifact_prefix="$build/artifacts/$name-" -print_final_stats=1 \
      >"$log" 2>&1; then
    grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::peak_rss_mb)' "$log" || tail -n 5 "$log"
  else
    echo "$name FAILED:" >&2
    tail -n 80 "$log" >&2
    exit 1
  fi
done
