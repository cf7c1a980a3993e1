#!/usr/bin/python3
"""Compares two image files pixel by pixel with Pillow (not GDI+).

  compare-images.py [--rgb] EXPECTED ACTUAL

Prints what it found and exits 0 when both have the same size and the same
pixels, 1 otherwise. --rgb ignores alpha, for readers of 32-bit BMP files,
which treat the fourth byte as padding.
"""
import sys

from PIL import Image


def main(argv):
    args = argv[1:]
    mode = "RGBA"
    if args and args[0] == "--rgb":
        mode = "RGB"
        args = args[1:]
    if len(args) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    try:
        expected, actual = (Image.open(path) for path in args)
        formats = f"{expected.format} and {actual.format}"
        expected, actual = expected.convert(mode), actual.convert(mode)
    except OSError as error:
        print(f"cannot decode: {error}")
        return 1
    if expected.size != actual.size:
        print(f"sizes differ: {expected.size} and {actual.size} ({formats})")
        return 1
    width, height = expected.size
    for y in range(height):
        for x in range(width):
            a, b = expected.getpixel((x, y)), actual.getpixel((x, y))
            if a != b:
                print(f"pixel ({x}, {y}) differs: {a} and {b} ({formats})")
                return 1
    print(f"same size {width}x{height} and same {mode} pixels ({formats})")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
