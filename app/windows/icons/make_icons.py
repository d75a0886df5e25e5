#!/usr/bin/env python3
"""Draws the six navigation icons as 128 x 128 PNG files (RGBA).

Usage: make_icons.py OUTPUT_FOLDER. Each icon is a white glyph with one
accent colour, drawn from simple shapes with 3 x 3 supersampling.
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


def main():
    folder = sys.argv[1]
    for number, (glyph, accent, colour) in enumerate(ICONS, start=1):
        with open(f"{folder}/navigation{number}.png", "wb") as out:
            out.write(png(render(glyph, accent, colour)))


if __name__ == "__main__":
    main()
