#!/bin/bash
# The plug-in against programs that nobody here wrote. On a private X display
# with Wine's desktop process running, Wine bridges the Windows clipboard to
# the X11 one, and clipboard_host.exe (with the plug-in) exchanges text, HTML
# and images with xclip; Pillow decodes the images.
#   tests/x11/x11_clipboard_test.sh [WINDOWS_BUILD_DIR]   (default build/windows)
# Prints one "ok" or "not ok" line per check and exits non-zero on a failure.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(realpath -m "${1:-$root/build/windows}")
exe=$build/bin/clipboard_host.exe
for file in "$exe" "$build/bin/clipboard_plugin.dll"; do
  if [ ! -f "$file" ]; then
    echo "x11 tests: $file is missing; build the Windows configuration first" >&2
    exit 2
  fi
done
python=/usr/bin/python3  # Debian's, with Pillow

# shellcheck source=scripts/x11-session.sh
source "$root/scripts/x11-session.sh"
x11_session_start "$build/x11-prefix" "$exe"
work=$X11_TMP
echo "# X11 display $DISPLAY, Wine prefix $WINEPREFIX"

failures=0
check() {  # name, then a command that succeeds when the check holds
  local name=$1; shift
  if "$@" >"$work/why" 2>&1; then
    echo "ok - $name"
  else
    echo "not ok - $name"
    sed 's/^/#   /' "$work/why"
    failures=$((failures + 1))
  fi
}

# The bridge works asynchronously: each side may see the other's change a
# moment late, so every read is retried for a bounded time.
eventually() { x11_poll 10 "$@"; }

xclip_reads() {  # target, file with the expected bytes
  xclip -selection clipboard -o -t "$1" >"$work/xclip.out" 2>"$work/xclip.err" &&
    cmp -s "$2" "$work/xclip.out"
}

host_answer_holds() {  # host subcommand, then answer_check.py arguments
  x11_host "$1" >"$work/answer.json" &&
    "$python" "$here/answer_check.py" "${@:2}" <"$work/answer.json"
}

explain() {  # what the last attempt saw
  echo "host answer: $(cat "$work/answer.json" 2>/dev/null)"
  echo "xclip read: $(head -c 300 "$work/xclip.out" 2>/dev/null)"
  cat "$work/xclip.err" 2>/dev/null || true
}

# -- Text, with characters beyond Latin-1 and beyond the BMP.
copy_text_reaches_xclip() {
  local text='Grüße, naïve café – 日本語 😀 𝄞'
  printf '%s' "$text" >"$work/text"
  x11_host copy "$text" >"$work/answer.json"
  eventually xclip_reads UTF8_STRING "$work/text" || { explain; return 1; }
}
check "text copied by the plug-in is read by xclip exactly" copy_text_reaches_xclip

xclip_text_is_pasted() {
  # Without line feeds: the bridge turns LF into CR LF on the way in.
  printf '%s' 'from xclip: Ünïcödé ✓ 𝄞 😀' >"$work/text"
  x11_serve UTF8_STRING "$work/text" || return 1
  eventually host_answer_holds paste text "$work/text" || { explain; return 1; }
}
check "text set by xclip is pasted by the plug-in exactly" xclip_text_is_pasted

# -- HTML: the bridge reads our HTML Format document by its offsets.
copy_rich_reaches_xclip() {
  printf '%s' '<p>Grüße <b>fett</b> 😀</p>' >"$work/fragment"
  printf '%s' 'Grüße fett 😀' >"$work/text"
  x11_host copy-rich --text "$(cat "$work/text")" \
    --html "$(cat "$work/fragment")" >"$work/answer.json"
  eventually xclip_reads text/html "$work/fragment" || { explain; return 1; }
  eventually xclip_reads UTF8_STRING "$work/text" || { explain; return 1; }
}
check "rich text copied by the plug-in: xclip reads the fragment and the text" \
  copy_rich_reaches_xclip

xclip_html_is_pasted() {
  printf '%s' '<ul><li>eins</li><li>zwei ✓</li></ul>' >"$work/fragment"
  x11_serve text/html "$work/fragment" || return 1
  eventually host_answer_holds paste-rich html-document "$work/fragment" ||
    { explain; return 1; }
}
check "HTML set by xclip comes back whole from pasteRichText" xclip_html_is_pasted

# -- Images. The source is opaque: BMP readers ignore the alpha byte.
"$python" - "$work/source.png" <<'EOF'
import sys
from PIL import Image
image = Image.new("RGBA", (7, 5))
for y in range(5):
    for x in range(7):
        image.putpixel((x, y), (x * 36, y * 60, 255 - x * 20, 255))
image.save(sys.argv[1])
EOF

xclip_reads_image() {
  xclip -selection clipboard -o -t image/bmp >"$work/xclip.bmp" 2>/dev/null &&
    "$python" "$root/scripts/compare-images.py" --rgb "$work/source.png" \
      "$work/xclip.bmp"
}
copy_image_reaches_xclip() {
  x11_host copy-image "$work/source.png" >"$work/answer.json"
  eventually xclip_reads_image || { explain; return 1; }
}
check "an image copied by the plug-in is read by xclip with the same pixels" \
  copy_image_reaches_xclip

pasted_png_matches() {  # expected image
  x11_host paste-image -o "$work/pasted.png" >"$work/answer.json" &&
    "$python" "$root/scripts/compare-images.py" "$1" "$work/pasted.png"
}
file_list_is_pasted() {
  local folder="$work/Ordner ü"
  mkdir -p "$folder"
  cp "$work/source.png" "$folder/bild ü.png"
  "$python" -c 'import pathlib, sys; print(pathlib.Path(sys.argv[1]).as_uri())' \
    "$folder/bild ü.png" | sed 's/$/\r/' >"$work/uri-list"
  x11_serve text/uri-list "$work/uri-list" || return 1
  eventually pasted_png_matches "$work/source.png" || { explain; return 1; }
}
check "a file list set by xclip is pasted as a PNG with the file's pixels" \
  file_list_is_pasted

# -- Clear.
offers_nothing() {
  local targets
  targets=$(xclip -selection clipboard -o -t TARGETS 2>/dev/null || true)
  ! grep -qxE 'UTF8_STRING|STRING|text/plain|text/html|image/bmp|image/png' \
    <<<"$targets" &&
    ! xclip -selection clipboard -o >/dev/null 2>&1
}
clear_leaves_nothing() {
  x11_host copy-multiple --image "$work/source.png" --text t --html '<b>h</b>' \
    >"$work/answer.json"
  eventually x11_offers image/bmp || { explain; return 1; }
  x11_host clear >"$work/answer.json"
  eventually offers_nothing || {
    echo "targets: $(xclip -selection clipboard -o -t TARGETS | tr '\n' ' ')"
    return 1
  }
}
check "clear leaves nothing for xclip to read" clear_leaves_nothing

if [ "$failures" -ne 0 ]; then
  echo "x11 tests: $failures check(s) failed"
  exit 1
fi
echo "x11 tests: all checks passed"
