#!/usr/bin/env python3
"""Draws the six navigation icons as 128 x 128 PNG files (RGBA) and the
application icon as quorvane.ico (16, 32 and 48 px, 32-bit).

Usage: make_icons.py OUTPUT_FOLDER. Each navigation icon is a white glyph
with one accent colour, drawn from simple shapes with 3 x 3 supersampling.
The application icon is the splash picture's blue with a white "Q" whose
tail has the orange of the header picture.
"""
import math
import struct
import sys
import zlib

SIZE = 128
SAMPLES = 3


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def rounded(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_out, r_in, gap_from=None, gap_to=None):
    def inside(x, y):
        d = (x - cx) ** 2 + (y - cy) ** 2
        if not (r_in * r_in <= d <= r_out * r_out):
            return False
        if gap_from is None:
            return True
        angle = math.degrees(math.atan2(x - cx, cy - y)) % 360  # 0 at the top, clockwise
        return not (angle >= gap_from or angle <= gap_to)
    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, *holes):
    return lambda x, y: shape(x, y) and not any(h(x, y) for h in holes)


WHITE = (255, 255, 255)

# (white glyph, accent shape, accent colour) per item, in toolbar order.
ICONS = [
    # single item: a shopping bag with its handle
    (union(minus(rounded(24, 44, 104, 112, 10), rounded(34, 54, 94, 102, 4)),
           minus(ring(64, 44, 26, 18), rect(0, 44, 128, 128))),
     rounded(38, 58, 90, 98, 3), (255, 196, 64)),
    # list: three lines with bullets
    (union(rounded(44, 26, 108, 40, 6), rounded(44, 57, 108, 71, 6), rounded(44, 88, 108, 102, 6)),
     union(disc(28, 33, 9), disc(28, 64, 9), disc(28, 95, 9)), (120, 220, 255)),
    # shop: an awning over a building with a door
    (union(polygon([(16, 50), (28, 18), (100, 18), (112, 50)]),
           minus(rect(24, 56, 104, 112), rect(34, 64, 58, 86), rect(70, 72, 94, 112))),
     union(rect(34, 64, 58, 86), rect(70, 72, 94, 112)), (255, 150, 90)),
    # download: an arrow into a tray
    (union(rect(56, 14, 72, 60), polygon([(34, 58), (94, 58), (64, 90)]),
           minus(rounded(16, 78, 112, 114, 8), rect(30, 74, 98, 100))),
     polygon([(40, 62), (88, 62), (64, 86)]), (140, 255, 160)),
    # help: an "i" in a ring
    (union(ring(64, 64, 52, 40), disc(64, 40, 8), rounded(57, 54, 71, 92, 5)),
     disc(64, 64, 38), (120, 190, 255)),
    # exit: the power sign
    (union(ring(64, 68, 46, 34, 330, 30), rounded(57, 10, 71, 64, 7)),
     disc(64, 68, 32), (255, 110, 110)),
]


def render(glyph, accent, colour):
    rows = []
    step = 1.0 / SAMPLES
    for py in range(SIZE):
        row = bytearray([0])  # filter type: none
        for px in range(SIZE):
            white = tint = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x, y = px + (sx + 0.5) * step, py + (sy + 0.5) * step
                    if glyph(x, y):
                        white += 1
                    elif accent(x, y):
                        tint += 1
            total = SAMPLES * SAMPLES
            covered = white + tint
            if covered == 0:
                row += bytes(4)
                continue
            mix = [(WHITE[c] * white + colour[c] * tint) // covered for c in range(3)]
            row += bytes(mix) + bytes([255 * covered // total])
        rows.append(bytes(row))
    return b"".join(rows)


def png(pixels):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(pixels, 9))
            + chunk(b"IEND", b""))


# The application icon, in the same 128-unit space as the navigation icons.
APP_TILE = rounded(6, 6, 122, 122, 24)
APP_RING = ring(62, 60, 40, 26)
APP_TAIL = polygon([(72, 80), (86, 68), (114, 104), (100, 116)])
APP_TOP, APP_BOTTOM = (0x1A, 0x4F, 0x9C), (0x6F, 0xA8, 0xE8)
APP_ORANGE = (0xFF, 0xB4, 0x3C)
APP_SIZES = (16, 32, 48)


def app_colour(x, y):
    """The colour at a point of the 128-unit space, or None outside the tile."""
    if APP_TAIL(x, y):
        return APP_ORANGE
    if not APP_TILE(x, y):
        return None
    if APP_RING(x, y):
        return WHITE
    t = y / 128
    return tuple(round(APP_TOP[c] + (APP_BOTTOM[c] - APP_TOP[c]) * t) for c in range(3))


def render_app_icon(size):
    """BGRA rows, bottom row first, as an icon's bitmap holds them."""
    samples = 6 if size < 32 else 4
    scale = 128 / size
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            sums = [0, 0, 0]
            covered = 0
            for sy in range(samples):
                for sx in range(samples):
                    colour = app_colour((px + (sx + 0.5) / samples) * scale, (py + (sy + 0.5) / samples) * scale)
                    if colour:
                        covered += 1
                        for c in range(3):
                            sums[c] += colour[c]
            if covered == 0:
                row += bytes(4)
                continue
            r, g, b = (sums[c] // covered for c in range(3))
            row += bytes([b, g, r, 255 * covered // (samples * samples)])
        rows.append(bytes(row))
    return rows[::-1]


def ico(sizes):
    """An icon file of one 32-bit entry per size, each with its AND mask."""
    images = []
    for size in sizes:
        rows = render_app_icon(size)
        mask_stride = (size + 31) // 32 * 4
        mask = bytearray()
        for row in rows:
            bits = bytearray(mask_stride)
            for px in range(size):
                if row[px * 4 + 3] == 0:
                    bits[px // 8] |= 0x80 >> (px % 8)
            mask += bits
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        images.append(header + b"".join(rows) + bytes(mask))
    directory = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, image in zip(sizes, images):
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return directory + b"".join(images)


def main():
    folder = sys.argv[1]
    for number, (glyph, accent, colour) in enumerate(ICONS, start=1):
        with open(f"{folder}/navigation{number}.png", "wb") as out:
            out.write(png(render(glyph, accent, colour)))
    with open(f"{folder}/quorvane.ico", "wb") as out:
        out.write(ico(APP_SIZES))


if __name__ == "__main__":
    main()
