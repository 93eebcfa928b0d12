# Compares renderings of one drawing by several readers, region by region in colour.
# Arguments: palette "r,g,b;r,g,b;...", then "driver:page:image" for every rendering and
# "skip=driver:page:x0,y0,x1,y1" for a box (pixels of the scaled image) where that
# driver draws nothing by design.
# Each image is cut to the box of its dark corner markers and scaled to 320 x 180; a
# region is judged per palette colour as covered (>= 12 % of its pixels), empty (< 1 %)
# or in between. A rendering that calls a colour covered where most call it empty, or the
# reverse, is reported as "MISMATCH driver page column row colour".
import sys
from PIL import Image, ImageChops

WIDTH, HEIGHT, CELL = 320, 180, 20
COVERED, EMPTY = 0.12, 0.01


def near(p, c, tolerance=70):
    return abs(p[0] - c[0]) < tolerance and abs(p[1] - c[1]) < tolerance and abs(p[2] - c[2]) < tolerance


def registered(path):
    image = Image.open(path)
    image.load()
    image = image.convert("RGBA")
    image = Image.alpha_composite(Image.new("RGBA", image.size, (255, 255, 255, 255)), image).convert("RGB")
    r, g, b = image.split()
    brightest = ImageChops.lighter(ImageChops.lighter(r, g), b)
    box = brightest.point(lambda v: 255 if v < 70 else 0).getbbox()
    if box is None:
        return None
    return image.crop(box).resize((WIDTH, HEIGHT), Image.BOX)


def coverage(image, palette):
    pixels = image.load()
    columns, rows = WIDTH // CELL, HEIGHT // CELL
    cover = [[[0] * len(palette) for _ in range(columns)] for _ in range(rows)]
    for y in range(HEIGHT):
        for x in range(WIDTH):
            p = pixels[x, y]
            for i, c in enumerate(palette):
                if near(p, c):
                    cover[y // CELL][x // CELL][i] += 1
                    break
    return cover


def main():
    palette = [tuple(int(v) for v in c.split(",")) for c in sys.argv[1].split(";")]
    pages = {}
    skipped = set()
    for spec in sys.argv[2:]:
        if spec.startswith("skip="):
            driver, page, box = spec[5:].split(":")
            x0, y0, x1, y1 = (float(v) for v in box.split(","))
            for row in range(int(y0) // CELL, min(int(y1) // CELL, HEIGHT // CELL - 1) + 1):
                for column in range(int(x0) // CELL, min(int(x1) // CELL, WIDTH // CELL - 1) + 1):
                    skipped.add((driver, page, column, row))
            continue
        driver, page, path = spec.split(":", 2)
        try:
            image = registered(path)
        except Exception as error:  # an unreadable rendering is a failure of that reader
            print("UNREADABLE", driver, page, error)
            continue
        if image is None:
            print("NO_MARKERS", driver, page)
            continue
        image.save(path + ".registered.png")
        pages.setdefault(page, {})[driver] = coverage(image, palette)
    area = CELL * CELL
    compared = 0
    for page, renderings in sorted(pages.items()):
        drivers = sorted(renderings)
        rows, columns = HEIGHT // CELL, WIDTH // CELL
        for row in range(rows):
            for column in range(columns):
                for i in range(len(palette)):
                    fractions = {d: renderings[d][row][column][i] / area for d in drivers}
                    covered = sum(1 for f in fractions.values() if f >= COVERED)
                    empty = sum(1 for f in fractions.values() if f < EMPTY)
                    compared += 1
                    for d, f in fractions.items():
                        if (d, page, column, row) in skipped:
                            continue
                        if covered * 2 > len(drivers) and f < EMPTY or empty * 2 > len(drivers) and f >= COVERED:
                            print("MISMATCH", d, page, column, row, ",".join(str(v) for v in palette[i]),
                                  "%.2f" % f, "others", " ".join("%s=%.2f" % (o, fractions[o]) for o in drivers))
    print("COMPARED", compared)


main()
