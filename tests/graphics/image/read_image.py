#!/usr/bin/python3
"""Reads an image file with Pillow and prints its format, mode, size and RGB pixels.

Output: one line "FORMAT MODE WIDTH HEIGHT", then one line of hexadecimal RGB bytes, rows
from the top. Exits 1 (with the reason on standard error) when Pillow cannot read it all.
"""
import sys

from PIL import Image


def main() -> int:
    try:
        with Image.open(sys.argv[1]) as image:
            image.load()
            rgb = image.convert("RGB")
            print(image.format, image.mode, image.width, image.height)
            print(rgb.tobytes().hex())
    except Exception as error:  # any failure to read counts as a rejected file
        print(f"unreadable: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
