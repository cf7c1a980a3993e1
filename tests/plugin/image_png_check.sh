#!/bin/sh
# Runs the paste dumper under Wine in a fresh folder, then checks its PNG
# files with a decoder that is not GDI+.
#   image_png_check.sh WINE_RUN PREFIX DUMPER FOLDER
set -e
wine_run=$1 prefix=$2 dumper=$3 folder=$4
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$folder"
mkdir -p "$folder"
(cd "$folder" && "$wine_run" "$prefix" "$dumper")
# Debian's interpreter, which has Pillow (python3-pil); a python3 found
# first on PATH may not.
exec /usr/bin/python3 "$here/image_png_check.py" "$folder" bitmap dib
