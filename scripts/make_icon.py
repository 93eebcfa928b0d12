#!/usr/bin/python3
"""Draws the calculator's window icon and writes it as a .ico file with two images.

Each size is drawn on its own pixel grid (not scaled), so the small image stays sharp.
The images are stored as 32-bit DIBs with an AND mask, which every icon loader reads.
Usage: make_icon.py [OUTPUT]   (default: resources/orlixcalc.ico next to this script)
"""
import struct
import sys
from pathlib import Path

from PIL import Image, ImageDraw

BODY = (52, 64, 84, 255)
BODY_EDGE = (24, 30, 40, 255)
SCREEN = (214, 236, 200, 255)
SCREEN_TEXT = (30, 40, 30, 255)
KEY = (230, 232, 236, 255)
KEY_OPERATOR = (245, 160, 60, 255)


def draw(size):
    """A calculator seen from the front: body, display with a digit stroke, 4x4 keys."""
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    s = size / 32.0
    left, right = round(4 * s), size - 1 - round(4 * s)
    d.rectangle([left, 0, right, size - 1], fill=BODY, outline=BODY_EDGE)
    # The display.
    sx0, sy0, sx1, sy1 = left + round(2 * s), round(2 * s), right - round(2 * s), round(9 * s)
    d.rectangle([sx0, sy0, sx1, sy1], fill=SCREEN)
    if size >= 24:
        d.line([sx1 - round(3 * s), sy0 + 2, sx1 - round(3 * s), sy1 - 2], fill=SCREEN_TEXT, width=1)
        d.line([sx1 - round(7 * s), sy0 + 2, sx1 - round(7 * s), sy1 - 2], fill=SCREEN_TEXT, width=1)
    # Keys: 4 columns by 4 rows below the display; the right column holds the operators.
    top = sy1 + round(2 * s)
    bottom = size - 1 - round(2 * s)
    inner_left, inner_right = left + round(2 * s), right - round(2 * s)
    gap = 1
    kw = (inner_right - inner_left + 1 - 3 * gap) // 4
    kh = (bottom - top + 1 - 3 * gap) // 4
    for row in range(4):
        for col in range(4):
            x0 = inner_left + col * (kw + gap)
            y0 = top + row * (kh + gap)
            colour = KEY_OPERATOR if col == 3 else KEY
            d.rectangle([x0, y0, x0 + kw - 1, y0 + kh - 1], fill=colour)
    return img


def dib_bytes(img):
    """BITMAPINFOHEADER, bottom-up BGRA rows, then the 1-bit AND mask (rows padded to 32 bits)."""
    w, h = img.size
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = img.load()
    colour = bytearray()
    mask = bytearray()
    mask_row_bytes = ((w + 31) // 32) * 4
    for y in range(h - 1, -1, -1):
        row_mask = bytearray(mask_row_bytes)
        for x in range(w):
            r, g, b, a = pixels[x, y]
            colour += bytes((b, g, r, a))
            if a == 0:
                row_mask[x // 8] |= 0x80 >> (x % 8)
        mask += row_mask
    return header + bytes(colour) + bytes(mask)


def ico_bytes(images):
    count = len(images)
    out = bytearray(struct.pack("<HHH", 0, 1, count))
    offset = 6 + 16 * count
    blobs = []
    for img in images:
        data = dib_bytes(img)
        w, h = img.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
        blobs.append(data)
    for data in blobs:
        out += data
    return bytes(out)


def main():
    default = Path(__file__).resolve().parent.parent / "resources" / "orlixcalc.ico"
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else default
    target.write_bytes(ico_bytes([draw(32), draw(16)]))
    print(f"wrote {target}")


if __name__ == "__main__":
    main()
