#!/usr/bin/python3
"""Reads an image file with Pillow and prints its format, mode, size and RGB pixels.

Output: one line "FORMAT MODE WIDTH HEIGHT", then one line of hexadecimal RGB bytes, rows
from the top. Exits 1 (with the reason on standard error) when Pillow cannot read it all.
"""
import sys
import warnings

from PIL import Image

warnings.simplefilter("ignore")


def main() -> int:
    try:
        with Image.open(sys.argv[1]) as image:
            image.load()
            rgb = image
            if image.mode.startswith("I"):  # 16-bit grey: the high byte, as 8-bit readers keep
                rgb = Image.frombytes("L", image.size, bytes(v >> 8 for v in image.getdata()))
            rgb = rgb.convert("RGB")
            print(image.format, image.mode, image.width, image.height)
            print(rgb.tobytes().hex())
    except Exception as error:  # any failure to read counts as a rejected file
        print(f"unreadable: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
