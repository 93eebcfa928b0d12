#!/usr/bin/python3
"""Writes test images of every kind the image reader takes, with Pillow, ImageMagick and
netpbm, into the directory given, and prints one line per file: its name, the number of
high bits per colour component a comparison may trust (8, or 5 for 16-bit pixels, which
readers widen in different ways), and Pillow's decoding: width, height and the RGB bytes
in hexadecimal, rows from the top. Layouts Pillow does not read are decoded by netpbm.
"""
import os
import random
import struct
import subprocess
import sys
import warnings
import zlib

from PIL import Image

warnings.simplefilter("ignore")
OUT = sys.argv[1]
rng = random.Random(7)


def path(name):
    return os.path.join(OUT, name)


def noise(mode, size, colours=None):
    image = Image.new("RGB", size)
    image.putdata([(rng.randrange(256), rng.randrange(256), rng.randrange(256))
                   for _ in range(size[0] * size[1])])
    if colours:
        image = image.quantize(colours)
    return image.convert(mode) if mode != "P" else image


def blocks(size, colours):
    """Runs of equal pixels, so that run-length encoders have something to do."""
    image = Image.new("P", size)
    image.putpalette([rng.randrange(256) for _ in range(3 * colours)])
    image.putdata([(x // 5 + y // 3) % colours for y in range(size[1]) for x in range(size[0])])
    return image


def run(*command):
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def shell(command):
    subprocess.run(command, shell=True, check=True, stderr=subprocess.PIPE)


files = []


def add(name, bits=8):
    files.append((name, bits))


# Pillow
for mode, size in (("1", (13, 7)), ("L", (9, 5)), ("RGB", (11, 6)), ("RGBA", (7, 4)), ("LA", (5, 3))):
    noise(mode, size).save(path(f"pil_{mode}.png"))
    add(f"pil_{mode}.png")
for bits in (1, 2, 4, 8):
    image = noise("P", (10, 5), 1 << bits)
    image.save(path(f"pil_P{bits}.png"), bits=bits)
    add(f"pil_P{bits}.png")
image = noise("P", (8, 4), 4)
image.save(path("pil_P_trns.png"), transparency=1)
add("pil_P_trns.png")
noise("RGB", (160, 160)).save(path("pil_RGB_idats.png"))  # more than one IDAT
add("pil_RGB_idats.png")
for mode in ("1", "L", "P", "RGB"):
    noise(mode, (10, 6), 200 if mode == "P" else None).save(path(f"pil_{mode}.bmp"))
    add(f"pil_{mode}.bmp")
    noise(mode, (9, 5), 200 if mode == "P" else None).save(path(f"pil_{mode}.pcx"))
    add(f"pil_{mode}.pcx")
noise("RGBA", (6, 3)).save(path("pil_RGBA.bmp"))
add("pil_RGBA.bmp")

# Hand-made: top-down rows, and RLE4 (no common writer makes it).
with open(path("pil_RGB.bmp"), "rb") as f:
    data = bytearray(f.read())
width, height = struct.unpack_from("<ii", data, 18)
offset = struct.unpack_from("<I", data, 10)[0]
stride = (width * 3 + 3) // 4 * 4
rows = [data[offset + i * stride:offset + (i + 1) * stride] for i in range(height)]
struct.pack_into("<i", data, 22, -height)
data[offset:] = b"".join(reversed(rows))
with open(path("top_down_24.bmp"), "wb") as f:
    f.write(data)
add("top_down_24.bmp")


def bmp(width, height, bits, compression, palette, pixels):
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(pixels),
                         2835, 2835, len(palette) // 4, 0)
    offset = 14 + len(header) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + header + palette + pixels


palette16 = bytes(rng.randrange(256) if i % 4 != 3 else 0 for i in range(64))
rle4 = bytes([5, 0x12, 0, 3, 0x34, 0x50, 0, 0,       # run of 5, absolute 3 pixels, end of line
              0, 2, 2, 1,                             # skip 2 right, 1 up
              4, 0xAB, 0, 0, 6, 0xF1, 0, 1])          # run of 4, end of line, run of 6, end
with open(path("rle4.bmp"), "wb") as f:
    f.write(bmp(8, 4, 4, 2, palette16, rle4))
add("rle4.bmp")
# Pillow misreads RLE4 absolute runs and skips; the picture the codes above describe:
rle4_rows = [[1, 2, 1, 2, 1, 3, 4, 5], [0] * 8, [0, 0, 10, 11, 10, 11, 0, 0], [15, 1, 15, 1, 15, 1, 0, 0]]
rle4_picture = Image.new("RGB", (8, 4))
rle4_picture.putdata([(palette16[4 * i + 2], palette16[4 * i + 1], palette16[4 * i])
                      for row in reversed(rle4_rows) for i in row])



def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c


def png(name, width, height, colour_type, depth, chunks_before_data=b""):
    """Random pixels, row y filtered with filter y % 5, the data split over 3 IDATs."""
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour_type]
    row_bytes = (width * channels * depth + 7) // 8
    step = max(1, channels * depth // 8)
    raw, prior = bytearray(), bytes(row_bytes)
    limit = 1 << min(depth, 8)
    for y in range(height):
        row = bytes(rng.randrange(limit if depth < 8 else 256) if depth >= 8 else rng.randrange(256)
                    for _ in range(row_bytes))
        kind = y % 5
        out = bytearray()
        for i, value in enumerate(row):
            a = row[i - step] if i >= step else 0
            b = prior[i]
            c = prior[i - step] if i >= step else 0
            predictor = (0, a, b, (a + b) // 2, paeth(a, b, c))[kind]
            out.append((value - predictor) & 255)
        raw += bytes([kind]) + out
        prior = row
    data = zlib.compress(bytes(raw))
    cuts = sorted((len(data) // 3, 2 * len(data) // 3))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    with open(path(name), "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, 0)))
        f.write(chunks_before_data)
        for part in (data[:cuts[0]], data[cuts[0]:cuts[1]], b"", data[cuts[1]:]):
            f.write(chunk(b"IDAT", part))
        f.write(chunk(b"IEND", b""))
    add(name)


png("filters_rgb8.png", 13, 10, 2, 8)
png("filters_rgba16.png", 7, 10, 6, 16)
png("filters_grey16.png", 9, 5, 0, 16)
png("filters_grey2.png", 11, 5, 0, 2)
png("filters_grey_alpha8.png", 6, 5, 4, 8)
plte = bytes(rng.randrange(256) for _ in range(3 * 16))
png("filters_palette4_trns.png", 9, 5, 3, 4,
    struct.pack(">I", 48) + b"PLTE" + plte + struct.pack(">I", zlib.crc32(b"PLTE" + plte)) +
    struct.pack(">I", 3) + b"tRNS\0\x80\xff" + struct.pack(">I", zlib.crc32(b"tRNS\0\x80\xff")))

# ImageMagick
source = path("pil_RGB_idats.png")
small = path("pil_RGB.png")
shell(f"convert {small} -colors 12 -compress None BMP3:{path('im_4.bmp')}")
add("im_4.bmp")
shell(f"convert {path('pil_P.bmp')} -compress RLE BMP3:{path('im_rle8.bmp')}")
add("im_rle8.bmp")
run("convert", path("pil_L.bmp"), "-compress", "RLE", "BMP3:" + path("im_rle8_grey.bmp"))
add("im_rle8_grey.bmp")
for subtype in ("RGB565", "RGB555"):
    run("convert", small, "-define", f"bmp:subtype={subtype}", path(f"im_{subtype}.bmp"))
    add(f"im_{subtype}.bmp", 5)
run("convert", path("pil_RGBA.png"), path("im_bitfields_32.bmp"))
add("im_bitfields_32.bmp")
run("convert", small, "BMP2:" + path("im_os2.bmp"))
add("im_os2.bmp")
run("convert", source, "-interlace", "PNG", path("im_adam7.png"))
add("im_adam7.png")
run("convert", small, "-depth", "16", "PNG48:" + path("im_rgb16.png"))
add("im_rgb16.png")
run("convert", path("pil_RGBA.png"), "-depth", "16", "PNG64:" + path("im_rgba16.png"))
add("im_rgba16.png")
run("convert", small, "-colors", "16", path("im_8.pcx"))
add("im_8.pcx")

# netpbm
grey = path("grey.pgm")
noise("L", (7, 5)).save(grey)
for maxval, name in ((3, "2"), (15, "4")):
    shell(f"pamdepth {maxval} {grey} | pnmtopng > {path('pbm_grey' + name + '.png')}")
    add(f"pbm_grey{name}.png")
colour = path("colour.ppm")
noise("RGB", (9, 7)).save(colour)
with open(path("colour16.ppm"), "wb") as f:
    f.write(b"P6 10 9 65535\n" + bytes(rng.randrange(256) for _ in range(10 * 9 * 6)))
shell(f"pnmtopng -interlace {path('colour16.ppm')} > {path('pbm_rgb16_adam7.png')}")
add("pbm_rgb16_adam7.png")
shell(f"pnmtopng -interlace {grey} > {path('pbm_grey8_adam7.png')}")
add("pbm_grey8_adam7.png")
few = path("few.ppm")
blocks((23, 9), 16).convert("RGB").save(few)
for planes in (1, 2, 3, 4):
    colours = 1 << planes
    shell(f"pnmquant {colours} {few} 2>/dev/null | ppmtopcx -planes={planes} > {path(f'pbm_planes{planes}.pcx')}")
    add(f"pbm_planes{planes}.pcx")
shell(f"ppmtopcx -24bit {colour} > {path('pbm_24.pcx')}")
add("pbm_24.pcx")
shell(f"ppmtopcx -8bit {few} > {path('pbm_8.pcx')}")
add("pbm_8.pcx")
for bpp in (1, 4, 8, 24):
    source_ppm = colour if bpp == 24 else few
    quant = f"pnmquant {1 << bpp} {source_ppm} 2>/dev/null" if bpp < 24 else f"cat {source_ppm}"
    shell(f"{quant} | ppmtobmp -bpp={bpp} > {path(f'pbm_{bpp}.bmp')}")
    add(f"pbm_{bpp}.bmp")


def decoded(name):
    if name == "rle4.bmp":
        return rle4_picture
    try:
        with Image.open(path(name)) as image:
            image.load()
            if image.mode.startswith("I"):  # 16-bit grey: the high byte
                return Image.frombytes("L", image.size, bytes(v >> 8 for v in image.getdata())).convert("RGB")
            return image.convert("RGB")
    except OSError:
        shell(f"pcxtoppm {path(name)} > {path(name)}.ppm")
        return Image.open(path(name) + ".ppm").convert("RGB")


for name, bits in files:
    image = decoded(name)
    print(name, bits, image.width, image.height, image.tobytes().hex())
