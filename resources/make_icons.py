#!/usr/bin/env python3
"""Draws the station's icons as PNG files into resources/icons/.

The icons are a few flat shapes on a 32-unit grid, rasterised here with 4 x 4
supersampling so that no image tool is needed; the PNGs are committed, and this script
is only run again when a picture changes:  python3 resources/make_icons.py
  station-N.png    the main window and the desktop entry: the diagram in small, a switch
                   disc feeding one green and one yellow amplifier path
  amplifier-N.png  the amplifier panels: one amplifier triangle on its waveguide
"""
import math
import os
import struct
import zlib

SAMPLES = 4

GRAY = (128, 128, 128, 255)        # the diagram's background
DARK = (48, 48, 48, 255)
LIGHT = (208, 208, 208, 255)
GREEN = (103, 223, 103, 255)       # path of signal 1
YELLOW = (215, 215, 95, 255)       # path of signal 2
BLACK = (0, 0, 0, 255)


def rounded_square(x0, y0, x1, y1, r):
    def inside(x, y):
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def segment(ax, ay, bx, by, width):
    def inside(x, y):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) <= width / 2
    return inside


def polygon(points):
    def inside(x, y):
        result = False
        for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
            if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
                result = not result
        return result
    return inside


def grown(points, cx, cy, by):
    """The polygon moved outwards from (cx, cy) by `by` units: its outline."""
    out = []
    for x, y in points:
        d = math.hypot(x - cx, y - cy)
        out.append((x + (x - cx) / d * by, y + (y - cy) / d * by))
    return out


def triangle(tip_x, cy, size):
    """An amplifier: a triangle pointing right with its tip at (tip_x, cy)."""
    return [(tip_x - size, cy - size / 2), (tip_x, cy), (tip_x - size, cy + size / 2)]


def station():
    upper = triangle(25, 9, 10)
    lower = triangle(25, 23, 10)
    return [
        (rounded_square(1, 1, 31, 31, 5), DARK),
        (rounded_square(2, 2, 30, 30, 4), GRAY),
        (segment(9, 16, 14, 9, 3), GREEN),
        (segment(14, 9, 29, 9, 3), GREEN),
        (segment(9, 16, 14, 23, 3), YELLOW),
        (segment(14, 23, 29, 23, 3), YELLOW),
        (segment(3, 16, 9, 16, 3), LIGHT),
        (polygon(grown(upper, 21.7, 9, 1.2)), BLACK),
        (polygon(upper), GREEN),
        (polygon(grown(lower, 21.7, 23, 1.2)), BLACK),
        (polygon(lower), YELLOW),
        (disc(9, 16, 5.5), BLACK),
        (disc(9, 16, 4.3), LIGHT),
        (segment(6.5, 16, 11.5, 16, 1.6), DARK),
    ]


def amplifier():
    body = triangle(28, 16, 22)
    return [
        (segment(1, 16, 31, 16, 4), GREEN),
        (polygon(grown(body, 20.7, 16, 1.8)), BLACK),
        (polygon(body), GREEN),
    ]


def render(shapes, size):
    unit = 32.0 / size
    rows = []
    for py in range(size):
        row = bytearray([0])  # PNG filter: none
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) * unit
                    y = (py + (sy + 0.5) / SAMPLES) * unit
                    colour = (0, 0, 0, 0)
                    for inside, fill in shapes:
                        if inside(x, y):
                            colour = fill
                    for i in range(3):
                        acc[i] += colour[i] * colour[3]
                    acc[3] += colour[3]
            alpha = acc[3] / (SAMPLES * SAMPLES)
            if acc[3] > 0:
                rgb = [round(acc[i] / acc[3]) for i in range(3)]
            else:
                rgb = [0, 0, 0]
            row += bytes(rgb + [round(alpha)])
        rows.append(bytes(row))
    return png(size, size, b"".join(rows))


def png(width, height, raw):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "icons")
    os.makedirs(folder, exist_ok=True)
    for name, shapes, sizes in (("station", station(), (32, 64, 128)),
                                ("amplifier", amplifier(), (32, 64))):
        for size in sizes:
            path = os.path.join(folder, "%s-%d.png" % (name, size))
            with open(path, "wb") as out:
                out.write(render(shapes, size))
            print(path)


if __name__ == "__main__":
    main()
