#!/bin/bash
# Runs a command with one persistent wineserver for a private prefix, so the
# Windows programs it starts share that server and start fast. The server is
# stopped on every exit.
#   wine-session.sh PREFIX COMMAND [ARGS...]
set -euo pipefail
prefix=$(realpath -m "$1"); shift
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Tests must not reach a desktop clipboard by accident; suites that want the
# X11 bridge set up their own display.
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wineserver -p
# Start Wine's own background processes (services, winedevice, ...) now, with
# no inherited output: started by the first test instead, they would hold its
# output pipe open and the test runner would wait for them forever.
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
"$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true
"$@"
