#!/bin/sh
# Runs the image benchmark once under Wine, in the Windows build's prefix.
#   bench/image/run.sh [BUILD_DIR] [REPETITIONS]
# BUILD_DIR defaults to build/windows (scripts/test.sh builds it there).
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath -m "${1:-$root/build/windows}")
repetitions=${2:-5}
cmake --build "$build" --target bench_image >/dev/null
exec "$root/scripts/wine-session.sh" "$build/wineprefix" \
  "$root/scripts/wine-run" "$build/wineprefix" "$build/bin/bench_image.exe" \
  "$repetitions"
