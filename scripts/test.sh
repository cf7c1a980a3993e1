#!/bin/bash
# The one command: installs what is missing, builds every configuration and
# runs every test. Exits non-zero if anything fails.
#   scripts/test.sh            everything
#   FUZZ_SECONDS=600 scripts/test.sh   a longer fuzzing run
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
jobs=${JOBS:-$(nproc)}
fuzz_seconds=${FUZZ_SECONDS:-60}

step() { printf '\n=== %s\n' "$*"; }

step "dependencies"
"$root/scripts/install-deps.sh"

configure_and_test() {  # name, extra cmake args...
  local name=$1; shift
  step "$name: configure and build"
  cmake -S "$root" -B "$build/$name" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$build/$name" -j "$jobs"
}

configure_and_test native
step "native: tests"
ctest --test-dir "$build/native" --output-on-failure -j "$jobs"

configure_and_test native-asan -DCLIPBOARD_SANITIZE=ON
step "native-asan: tests"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$build/native-asan" --output-on-failure -j "$jobs"

configure_and_test fuzz -DCLIPBOARD_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang
step "fuzz: ${fuzz_seconds}s"
"$root/scripts/fuzz.sh" "$build/fuzz" "$fuzz_seconds"

configure_and_test windows -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
step "windows: tests under Wine"
"$root/scripts/wine-session.sh" "$build/windows/wineprefix" \
  ctest --test-dir "$build/windows" --output-on-failure -j 1

step "windows: the plug-in against xclip through Wine's X11 clipboard bridge"
"$root/tests/x11/x11_clipboard_test.sh" "$build/windows"

step "all tests passed"
