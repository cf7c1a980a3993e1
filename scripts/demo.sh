#!/bin/bash
# The README's first command. Installs what is missing, builds the Windows
# configuration (the plug-in DLL and the command-line host), then shows the
# plug-in at work on a private X display (Xvfb), where Wine bridges its
# clipboard to the X11 one: every request that the host sends the plug-in,
# its answer, and what xclip, an X11 program, sees on the clipboard.
#   scripts/demo.sh
# Environment: BUILD_DIR (default build), JOBS (default: all processors).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}/windows
python=/usr/bin/python3  # Debian's, with Pillow

"$root/scripts/install-deps.sh"
echo "== building the plug-in and the host in $build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" -j "${JOBS:-$(nproc)}" \
  --target clipboard_host clipboard_plugin

# shellcheck source=scripts/x11-session.sh
source "$root/scripts/x11-session.sh"
echo "== starting a private X display with Wine's clipboard bridge"
x11_session_start "$build/x11-prefix" "$build/bin/clipboard_host.exe"
echo "   display $DISPLAY, Wine prefix $WINEPREFIX"
cd "$X11_TMP"

section() { printf '\n== %s\n' "$*"; }

shell_words() {  # the arguments as one would type them
  local word
  for word in "$@"; do
    case $word in
      *[!A-Za-z0-9_./=:-]* | '') printf " '%s'" "${word//\'/\'\\\'\'}" ;;
      *) printf ' %s' "$word" ;;
    esac
  done
}

# Runs the host with -v and prints the request and the answer. The demo
# stops when the exit status is not the expected one.
show() {  # expected status, host arguments...
  local expected=$1 status=0 line
  shift
  printf '$ clipboard-host%s\n' "$(shell_words "$@")"
  x11_host -v "$@" >host.out 2>host.err </dev/null || status=$?
  while IFS= read -r line; do
    case $line in
      '{"request":'*) printf '  request: %s\n' "${line:11:${#line}-12}" ;;
      *) printf '  answer:  %s\n' "$line" ;;
    esac
  done <host.out
  sed 's/^/  stderr:  /' host.err
  if [ "$status" -ne "$expected" ]; then
    echo "demo: exit status $status, expected $expected" >&2
    exit 1
  fi
}

# xclip sees a change a moment after the host made it: read until the
# expected bytes arrive (bounded), then show them.
xclip_shows() {  # target, expected text
  local read_it
  read_it() {
    xclip -selection clipboard -o -t "$1" >xclip.out 2>/dev/null &&
      [ "$(cat xclip.out)" = "$2" ]
  }
  printf '$ xclip -selection clipboard -o -t %s\n' "$1"
  if ! x11_poll 10 read_it "$1" "$2"; then
    echo "demo: xclip did not read the expected $1" >&2
    exit 1
  fi
  printf '  %s\n' "$(cat xclip.out)"
}

host_pastes() {  # expected text: waits until the plug-in sees xclip's text
  x11_host paste 2>/dev/null | grep -qF "{\"success\":{\"text\":\"$1\"}}"
}

xclip_sets() {  # target, text
  printf '$ printf %%s%s | xclip -selection clipboard -t %s\n' \
    "$(shell_words "$2")" "$1"
  printf '%s' "$2" >xclip.in
  x11_serve "$1" xclip.in
}

section "1. Plain text with characters beyond ASCII, both ways"
text='Grüße aus Zürich – 日本語 – 😀'
show 0 copy "$text"
xclip_shows UTF8_STRING "$text"
text='Set by xclip: ½ ✓ 𝄞'
xclip_sets UTF8_STRING "$text"
x11_poll 10 host_pastes "$text" ||
  { echo "demo: the plug-in did not see xclip's text" >&2; exit 1; }
show 0 paste

section "2. Rich text: a plain-text alternative and an HTML fragment"
show 0 copy-rich --text 'Bold and italic' --html '<b>Bold</b> and <i>italic</i>'
xclip_shows text/html '<b>Bold</b> and <i>italic</i>'
xclip_shows UTF8_STRING 'Bold and italic'
show 0 paste-rich

section "3. An image: the demo draws a PNG, the plug-in copies it"
"$python" - <<'EOF'
from PIL import Image, ImageDraw
image = Image.new("RGBA", (96, 64))
for y in range(64):
    for x in range(96):
        image.putpixel((x, y), (x * 255 // 95, y * 255 // 63, 160, 255))
ImageDraw.Draw(image).ellipse((28, 12, 68, 52), fill=(255, 255, 255, 255))
image.save("drawing.png")
EOF
echo "drew drawing.png ($(stat -c %s drawing.png) bytes, 96x64) with Pillow"
show 0 copy-image drawing.png
echo '$ xclip -selection clipboard -o -t image/bmp > from-xclip.bmp'
xclip_bmp() {
  xclip -selection clipboard -o -t image/bmp >from-xclip.bmp 2>/dev/null &&
    [ -s from-xclip.bmp ]
}
x11_poll 10 xclip_bmp || { echo "demo: xclip read no image" >&2; exit 1; }
printf '  %s bytes\n' "$(stat -c %s from-xclip.bmp)"
echo '$ compare-images.py --rgb drawing.png from-xclip.bmp   # Pillow, not GDI+'
printf '  %s\n' "$("$python" "$root/scripts/compare-images.py" --rgb \
  drawing.png from-xclip.bmp)"

section "4. The image pasted back into a PNG file"
show 0 paste-image -o pasted.png
echo '$ compare-images.py drawing.png pasted.png'
printf '  %s\n' "$("$python" "$root/scripts/compare-images.py" drawing.png \
  pasted.png)"

section "5. Several formats at once"
show 0 copy-multiple --image drawing.png --text 'A drawing' \
  --html '<img alt="A drawing">'
xclip_shows text/html '<img alt="A drawing">'
xclip_shows UTF8_STRING 'A drawing'
echo '$ xclip -selection clipboard -o -t TARGETS'
x11_poll 10 x11_offers image/bmp ||
  { echo "demo: xclip is offered no image" >&2; exit 1; }
printf '  %s\n' "$(xclip -selection clipboard -o -t TARGETS | tr '\n' ' ')"

section "6. Clear"
show 0 clear
echo '$ xclip -selection clipboard -o -t TARGETS'
printf '  %s\n' "$(xclip -selection clipboard -o -t TARGETS | tr '\n' ' ')"
echo '$ xclip -selection clipboard -o'
if xclip -selection clipboard -o >xclip.out 2>&1; then
  echo "demo: xclip still reads text after clear" >&2
  exit 1
fi
printf '  %s\n' "$(cat xclip.out)"
show 0 paste

section "7. The fixed answers, an unknown method, arguments that are not a map"
show 0 get-content-type
show 0 has-data
show 0 get-data-size
show 0 start-monitoring
show 0 stop-monitoring
show 3 call Copy
show 1 call copy '["not a map"]'
show 0 listen

printf '\n== done: the plug-in copied and pasted text, rich text and images\n'
