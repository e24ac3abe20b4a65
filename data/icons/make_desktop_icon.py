#!/usr/bin/env python3
"""Draws the desktop's icon for skarvine, a magnifying glass over a green go-arrow (the look of
the search button's icon), as skarvine.svg and as the 48-pixel skarvine-48.png, from one list of
shapes on a 16 x 16 grid. Plain Python, no packages needed:
    python3 data/icons/make_desktop_icon.py
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUTLINE = (32, 32, 40)
OUTLINE_WIDTH = 0.7
SIZE = 48
SAMPLES = 4

# Each shape: (kind, geometry, fill colour, outlined).
HANDLE = ("stroke", (10.2, 10.2, 14.2, 14.2, 2.6), (120, 70, 30), True)
LENS = ("disc", (6.5, 6.5, 5.2), (205, 230, 250), True)
RIM = ("ring", (6.5, 6.5, 5.2, 3.9), (70, 90, 110), False)
ARROW = ("polygon", [(4.2, 4.6), (6.6, 4.6), (6.6, 3.2), (9.3, 6.5), (6.6, 9.8), (6.6, 8.4), (4.2, 8.4)],
         (30, 150, 50), False)
SHAPES = [HANDLE, LENS, RIM, ARROW]


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def inside(shape, x, y, grow):
    kind, g = shape[0], shape[1]
    if kind == "stroke":
        return segment_distance(x, y, *g[:4]) <= g[4] / 2 + grow
    if kind == "disc":
        return math.hypot(x - g[0], y - g[1]) <= g[2] + grow
    if kind == "ring":
        return g[3] - grow <= math.hypot(x - g[0], y - g[1]) <= g[2] + grow
    crossings = False
    for i in range(len(g)):
        (ax, ay), (bx, by) = g[i], g[(i + 1) % len(g)]
        if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
            crossings = not crossings
    return crossings or (grow > 0 and any(segment_distance(x, y, *g[i], *g[(i + 1) % len(g)]) <= grow
                                          for i in range(len(g))))


def sample(x, y):
    colour = None
    for shape in SHAPES:
        if shape[3] and inside(shape, x, y, OUTLINE_WIDTH):
            colour = OUTLINE
        if inside(shape, x, y, 0.0):
            colour = shape[2]
    return colour


def render_png():
    rows = []
    scale = 16.0 / SIZE
    for py in range(SIZE):
        row = bytearray([0])
        for px in range(SIZE):
            total, count = [0, 0, 0], 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = sample((px + (sx + 0.5) / SAMPLES) * scale, (py + (sy + 0.5) / SAMPLES) * scale)
                    if c is not None:
                        count += 1
                        total = [t + k for t, k in zip(total, c)]
            alpha = round(255 * count / (SAMPLES * SAMPLES))
            rgb = [round(t / count) for t in total] if count else [0, 0, 0]
            row += bytes(rgb + [alpha])
        rows.append(bytes(row))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) +
            chunk(b"IEND", b""))


def svg_colour(c):
    return "#%02x%02x%02x" % c


def svg_element(shape, outline):
    kind, g, fill, _ = shape
    paint = 'fill="%s"' % svg_colour(fill)
    edge = ' stroke="%s" stroke-width="%.1f"' % (svg_colour(OUTLINE), 2 * OUTLINE_WIDTH) if outline else ""
    if kind == "stroke":
        colour = svg_colour(OUTLINE) if outline else svg_colour(fill)
        width = g[4] + (2 * OUTLINE_WIDTH if outline else 0)
        return ('<line x1="%.1f" y1="%.1f" x2="%.1f" y2="%.1f" stroke="%s" stroke-width="%.1f" stroke-linecap="round"/>'
                % (g[0], g[1], g[2], g[3], colour, width))
    if kind == "disc":
        return '<circle cx="%.1f" cy="%.1f" r="%.1f" %s%s/>' % (g[0], g[1], g[2], paint, edge)
    if kind == "ring":
        middle, width = (g[2] + g[3]) / 2, g[2] - g[3]
        return ('<circle cx="%.1f" cy="%.1f" r="%.2f" fill="none" stroke="%s" stroke-width="%.1f"/>'
                % (g[0], g[1], middle, svg_colour(fill), width))
    points = " ".join("%.1f,%.1f" % p for p in g)
    return '<polygon points="%s" %s/>' % (points, paint)


def render_svg():
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 16 16">']
    # The handle's outline goes under its fill, as the pixel rendering paints it.
    parts.append("  " + svg_element(HANDLE, True))
    parts.append("  " + svg_element(HANDLE, False))
    for shape in SHAPES[1:]:
        parts.append("  " + svg_element(shape, shape[3]))
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def main():
    with open(os.path.join(HERE, "skarvine-48.png"), "wb") as out:
        out.write(render_png())
    with open(os.path.join(HERE, "skarvine.svg"), "w") as out:
        out.write(render_svg())


if __name__ == "__main__":
    main()
