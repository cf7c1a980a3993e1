# Bash functions for a private X display on which Wine's clipboard is bridged
# to the X11 clipboard: Xvfb on a free display number, a Wine session in a
# private prefix with its desktop process (explorer.exe /desktop, which runs
# the bridge), and a bounded wait until text copied under Wine can be read
# with xclip.
#
#   source scripts/x11-session.sh
#   x11_session_start PREFIX HOST_EXE   # sets DISPLAY, WINEPREFIX, traps
#   x11_host paste                      # runs HOST_EXE under Wine
#   x11_serve text/html FILE            # xclip offers FILE as text/html
#
# Everything started here is stopped on every exit of the calling shell
# (x11_session_start installs the EXIT, INT and TERM traps). Each wait is
# bounded by X11_WAIT_SECONDS (default 30) and fails with a message.

X11_WAIT_SECONDS=${X11_WAIT_SECONDS:-30}
X11_TMP=""
X11_XVFB_PID=""
X11_WINE_STARTED=""
X11_XCLIP_PIDS=()
X11_HOST_EXE=""
X11_WINE=""
X11_LOCK=""

x11_fail() {
  echo "x11-session: $*" >&2
  return 1
}

# Runs "$@" every 0.1 s until it succeeds or `seconds` have passed.
x11_poll() {  # seconds command...
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

x11_require_tools() {
  local tool missing=""
  for tool in Xvfb xdpyinfo xclip wineserver wineboot; do
    command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
  done
  X11_WINE=/usr/lib/wine/wine64
  [ -x "$X11_WINE" ] || X11_WINE=$(command -v wine64 || command -v wine || true)
  [ -n "$X11_WINE" ] || missing="$missing wine64"
  [ -z "$missing" ] ||
    { x11_fail "missing:$missing (scripts/install-deps.sh installs them)"; return 1; }
}

x11_display_ready() {
  local number
  number=$(cat "$X11_TMP/display" 2>/dev/null) || return 1
  [ -n "$number" ] && DISPLAY=":$number" xdpyinfo >/dev/null 2>&1 || return 1
  export DISPLAY=":$number"
}

x11_start_display() {
  # -displayfd picks a free display number and reports it once the server
  # accepts connections, so concurrent runs never collide.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
    3>"$X11_TMP/display" 2>"$X11_TMP/xvfb.log" &
  X11_XVFB_PID=$!
  local deadline=$((SECONDS + X11_WAIT_SECONDS))
  until x11_display_ready; do
    if ! kill -0 "$X11_XVFB_PID" 2>/dev/null; then
      cat "$X11_TMP/xvfb.log" >&2 || true
      x11_fail "Xvfb exited without starting a display"
      return 1
    fi
    if [ "$SECONDS" -ge "$deadline" ]; then
      cat "$X11_TMP/xvfb.log" >&2 || true
      x11_fail "Xvfb did not start a display within ${X11_WAIT_SECONDS}s"
      return 1
    fi
    sleep 0.1
  done
}

# One session per prefix at a time. A directory is created atomically and
# no child process inherits it, unlike a lock on an open file.
x11_lock_prefix() {
  local lock="$WINEPREFIX.x11-session" owner
  mkdir -p "$(dirname "$lock")"
  if ! mkdir "$lock" 2>/dev/null; then
    owner=$(cat "$lock/pid" 2>/dev/null || true)
    if [ -n "$owner" ] && kill -0 "$owner" 2>/dev/null; then
      x11_fail "process $owner is running an X11 session with $WINEPREFIX"
      return 1
    fi
    rm -rf "$lock"  # left by a run that was killed
    mkdir "$lock" || { x11_fail "cannot lock $WINEPREFIX"; return 1; }
  fi
  echo $$ >"$lock/pid"
  X11_LOCK=$lock
}

x11_start_wine() {  # prefix
  export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  unset WAYLAND_DISPLAY
  x11_lock_prefix || return 1
  # With the lock held, a server still running for the prefix is left over
  # from a run that was killed; it must not serve this display.
  wineserver -k >/dev/null 2>&1 || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "x11-session: creating the Wine prefix $WINEPREFIX" >&2
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  X11_WINE_STARTED=1
  wineserver -p || { x11_fail "cannot start wineserver for $WINEPREFIX"; return 1; }
  # The first program that uses the clipboard starts Wine's background
  # services and its desktop process, which runs the bridge between the two
  # clipboards. They keep that program's standard streams, so it runs with
  # none: no caller's pipe is then held open by them.
  x11_host get-content-type </dev/null >/dev/null 2>&1 || true
}

x11_probe_read() {  # expected text
  [ "$(xclip -selection clipboard -o 2>/dev/null)" = "$1" ]
}

# Copies a probe with the host until xclip reads it back: then the bridge is
# up. A copy made before the desktop process ran may never reach X11, hence
# the repeated copies.
x11_wait_bridge() {
  local probe="x11-session-probe-$$" deadline=$((SECONDS + X11_WAIT_SECONDS))
  while :; do
    if ! x11_host copy "$probe" >/dev/null; then
      x11_fail "the host cannot copy under Wine ($X11_HOST_EXE)"
      return 1
    fi
    x11_poll 2 x11_probe_read "$probe" && break
    if [ "$SECONDS" -ge "$deadline" ]; then
      x11_fail "Wine's clipboard bridge did not reach $DISPLAY within" \
        "${X11_WAIT_SECONDS}s"
      return 1
    fi
  done
  x11_host clear >/dev/null
}

x11_session_stop() {
  local pid
  for pid in "${X11_XCLIP_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  if [ -n "$X11_WINE_STARTED" ]; then
    wineserver -k >/dev/null 2>&1 || true
    timeout 10 wineserver -w >/dev/null 2>&1 || true
  fi
  if [ -n "$X11_XVFB_PID" ]; then
    kill "$X11_XVFB_PID" 2>/dev/null || true
    wait "$X11_XVFB_PID" 2>/dev/null || true
  fi
  [ -z "$X11_TMP" ] || rm -rf "$X11_TMP"
  [ -z "$X11_LOCK" ] || rm -rf "$X11_LOCK"
  X11_XCLIP_PIDS=() X11_WINE_STARTED="" X11_XVFB_PID="" X11_TMP="" X11_LOCK=""
}

x11_session_start() {  # prefix host_exe
  X11_HOST_EXE=$2
  trap x11_session_stop EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  x11_require_tools || return 1
  X11_TMP=$(mktemp -d "${TMPDIR:-/tmp}/x11-session.XXXXXX")
  x11_start_display || return 1
  x11_start_wine "$1" || return 1
  x11_wait_bridge
}

# Runs the host under Wine on the session's display.
x11_host() {
  "$X11_WINE" "$X11_HOST_EXE" "$@"
}

x11_offers() {  # target
  xclip -selection clipboard -o -t TARGETS 2>/dev/null | grep -qxF "$1"
}

# Makes xclip own the clipboard with FILE's bytes as TYPE, and waits until
# it does. The previous xclip server loses the selection and exits.
x11_serve() {  # type file
  xclip -selection clipboard -t "$1" -i "$2" -quiet >/dev/null 2>&1 &
  X11_XCLIP_PIDS+=($!)
  x11_poll "$X11_WAIT_SECONDS" x11_offers "$1" || {
    x11_fail "xclip did not take the clipboard within ${X11_WAIT_SECONDS}s"
    return 1
  }
}
