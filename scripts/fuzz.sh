#!/bin/bash
# Runs every fuzz target of a fuzz build for a while, seeded with the corpus
# that the build wrote.   fuzz.sh BUILD_DIR SECONDS
set -euo pipefail
build=$1; seconds=$2
targets=("$build"/bin/fuzz_*)
per=$(( seconds / ${#targets[@]} ))
[ "$per" -ge 5 ] || per=5
for t in "${targets[@]}"; do
  name=$(basename "$t")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  echo "-- $name for ${per}s"
  ASAN_OPTIONS=detect_leaks=1 "$t" "$corpus" "$build/seeds" \
    -max_total_time="$per" -rss_limit_mb=2048 -malloc_limit_mb=512 -print_final_stats=1 2>&1 | tail -n 12
done
