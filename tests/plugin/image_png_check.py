"""Decodes the PNG files that pasteImage answered with, using Pillow rather
than GDI+, and compares their pixels with what was put on the clipboard.

    image_png_check.py FOLDER NAME...
"""
import struct
import sys

from PIL import Image


def check(folder, name):
    with open(f"{folder}/{name}.argb", "rb") as f:
        data = f.read()
    width, height = struct.unpack_from("<II", data)
    expected = struct.unpack_from(f"<{width * height}I", data, 8)
    with Image.open(f"{folder}/{name}.png") as png:
        if png.format != "PNG" or png.size != (width, height):
            return f"{name}: {png.format} {png.size}, expected PNG {(width, height)}"
        pixels = png.convert("RGBA").getdata()
        for i, ((r, g, b, a), want) in enumerate(zip(pixels, expected)):
            # The clipboard's bitmaps carry no alpha: compare colours only.
            got = r << 16 | g << 8 | b
            if a != 255 or got != want & 0xFFFFFF:
                return f"{name}: pixel {i % width},{i // width} is {a:02x}{got:06x}, expected ff{want & 0xFFFFFF:06x}"
    return None


def main():
    folder, names = sys.argv[1], sys.argv[2:]
    failures = [f for f in (check(folder, n) for n in names) if f]
    for failure in failures:
        print(failure)
    print(f"{len(names) - len(failures)} of {len(names)} PNG files match")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
