#!/usr/bin/env python3
"""Draws the program's icons and its pointing-hand cursor, and writes them as ICO and CUR files.

Each picture is a list of shapes on a 16 x 16 grid (the source of the icon), painted in order
with a dark outline where asked, and rendered at 16 and 32 pixels with 4 x 4 samples per pixel.
Each file holds a 32-bit image with alpha (and its AND mask) for both sizes. Plain Python, no
packages needed:
    python3 app/icons/make_icons.py
writes GET.ICO, UNDO.ICO, Cancel.ico, PRINT.ICO, PREVPAGE.ICO, NEXTPAGE.ICO and Hand.cur beside
this script, and a preview (icons_preview.ppm is not kept; pass --preview to write it).
"""

import math
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLES = 4

OUTLINE = (32, 32, 40)


# --- Shapes: each answers whether a point (in grid units) is inside -----------------------------


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


class Polygon:
    def __init__(self, points):
        self.points = points

    def inside(self, x, y, grow=0.0):
        crossings = False
        pts = self.points
        for i in range(len(pts)):
            (ax, ay), (bx, by) = pts[i], pts[(i + 1) % len(pts)]
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                crossings = not crossings
        if crossings:
            return True
        if grow <= 0:
            return False
        return any(segment_distance(x, y, *pts[i], *pts[(i + 1) % len(pts)]) <= grow for i in range(len(pts)))


class Rect(Polygon):
    def __init__(self, left, top, right, bottom):
        super().__init__([(left, top), (right, top), (right, bottom), (left, bottom)])


class Disc:
    def __init__(self, cx, cy, radius):
        self.cx, self.cy, self.radius = cx, cy, radius

    def inside(self, x, y, grow=0.0):
        return math.hypot(x - self.cx, y - self.cy) <= self.radius + grow


class Ring:
    def __init__(self, cx, cy, outer, inner):
        self.cx, self.cy, self.outer, self.inner = cx, cy, outer, inner

    def inside(self, x, y, grow=0.0):
        d = math.hypot(x - self.cx, y - self.cy)
        return self.inner - grow <= d <= self.outer + grow


class Stroke:
    """A line with round ends."""

    def __init__(self, ax, ay, bx, by, width):
        self.a, self.b, self.half = (ax, ay), (bx, by), width / 2

    def inside(self, x, y, grow=0.0):
        return segment_distance(x, y, *self.a, *self.b) <= self.half + grow


# --- The pictures: (shape, colour, outline width) in painting order ------------------------------


def magnifier():
    # Search and go: a magnifying glass over a green go-arrow.
    return [
        (Stroke(10.2, 10.2, 14.2, 14.2, 2.6), (120, 70, 30), 0.7),
        (Disc(6.5, 6.5, 5.2), (205, 230, 250), 0.7),
        (Ring(6.5, 6.5, 5.2, 3.9), (70, 90, 110), 0.0),
        (Polygon([(4.2, 4.6), (6.6, 4.6), (6.6, 3.2), (9.3, 6.5), (6.6, 9.8), (6.6, 8.4), (4.2, 8.4)]),
         (30, 150, 50), 0.0),
    ]


def minimise():
    # Minimise: a window dropping onto the bar below it.
    return [
        (Rect(2.0, 1.5, 14.0, 9.5), (250, 250, 250), 0.7),
        (Rect(2.0, 1.5, 14.0, 3.7), (40, 90, 180), 0.0),
        (Polygon([(5.2, 9.0), (10.8, 9.0), (10.8, 10.2), (13.0, 10.2), (8.0, 13.6), (3.0, 10.2), (5.2, 10.2)]),
         (40, 90, 180), 0.6),
        (Rect(1.5, 14.0, 14.5, 15.5), (40, 40, 48), 0.0),
    ]


def cancel():
    # Close: a white cross on a red disc.
    return [
        (Disc(8.0, 8.0, 7.2), (210, 40, 40), 0.7),
        (Stroke(5.0, 5.0, 11.0, 11.0, 2.4), (255, 255, 255), 0.0),
        (Stroke(11.0, 5.0, 5.0, 11.0, 2.4), (255, 255, 255), 0.0),
    ]


def printer():
    return [
        (Rect(4.0, 1.2, 12.0, 6.5), (255, 255, 255), 0.6),
        (Rect(1.2, 5.5, 14.8, 12.0), (150, 155, 165), 0.7),
        (Rect(4.0, 10.0, 12.0, 15.0), (255, 255, 255), 0.6),
        (Rect(5.3, 11.5, 10.7, 12.3), (110, 110, 120), 0.0),
        (Rect(5.3, 13.2, 10.7, 14.0), (110, 110, 120), 0.0),
        (Disc(12.8, 7.5, 0.8), (40, 200, 60), 0.0),
    ]


def page_with_arrow(pointing_right):
    # A page with a bold arrow across its lower part, towards the page that follows or precedes.
    page = (Polygon([(3.0, 1.0), (10.5, 1.0), (13.0, 3.5), (13.0, 15.0), (3.0, 15.0)]), (255, 255, 255), 0.7)
    lines = [(Rect(4.8, y, 11.2, y + 0.8), (150, 160, 175), 0.0) for y in (3.2, 5.2)]
    arrow = [(1.0, 8.2), (8.5, 8.2), (8.5, 6.3), (15.0, 10.5), (8.5, 14.7), (8.5, 12.8), (1.0, 12.8)]
    if not pointing_right:
        arrow = [(16.0 - x, y) for (x, y) in arrow]
    return [page] + lines + [(Polygon(arrow), (30, 110, 210), 0.7)]


def pointing_hand():
    # The hand's index finger points up; its tip is the cursor's hot spot.
    skin = (255, 255, 255)
    return [
        (Stroke(6.0, 1.6, 6.0, 8.5, 2.2), skin, 0.6),
        (Polygon([(3.2, 9.5), (4.9, 7.2), (11.8, 7.2), (13.2, 9.0), (13.2, 12.4), (11.0, 15.2), (5.6, 15.2),
                  (2.6, 11.6)]), skin, 0.6),
        (Stroke(8.3, 7.2, 8.3, 9.4, 0.35), OUTLINE, 0.0),
        (Stroke(10.5, 7.2, 10.5, 9.4, 0.35), OUTLINE, 0.0),
        (Stroke(6.0, 1.6, 6.0, 8.5, 2.2), skin, 0.0),
    ]


# --- Rendering ---------------------------------------------------------------------------------


def render(shapes, size):
    """RGBA rows, top first, with 4 x 4 samples per pixel."""
    scale = 16.0 / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            total = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) * scale
                    y = (py + (sy + 0.5) / SAMPLES) * scale
                    colour = None
                    for shape, fill, outline in shapes:
                        if outline and shape.inside(x, y, outline):
                            colour = OUTLINE if not shape.inside(x, y) else fill
                        elif shape.inside(x, y):
                            colour = fill
                    if colour is not None:
                        total[0] += colour[0]
                        total[1] += colour[1]
                        total[2] += colour[2]
                        total[3] += 1
            covered = total[3]
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                alpha = round(255 * covered / (SAMPLES * SAMPLES))
                row.append((round(total[0] / covered), round(total[1] / covered), round(total[2] / covered), alpha))
        rows.append(row)
    return rows


def dib(rows):
    """A 32-bit icon image: header of doubled height, BGRA rows bottom-up, then the AND mask."""
    size = len(rows)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + bytes(mask)


def icon_file(images, hotspot=None):
    """images: {size: rows}; a cursor when `hotspot` (in grid units) is given."""
    out = struct.pack("<HHH", 0, 1 if hotspot is None else 2, len(images))
    offset = 6 + 16 * len(images)
    data = b""
    for size in sorted(images):
        image = dib(images[size])
        if hotspot is None:
            planes, bits = 1, 32
        else:
            planes, bits = (round(hotspot[0] * size / 16), round(hotspot[1] * size / 16))
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, planes, bits, len(image), offset + len(data))
        data += image
    return out + data


PICTURES = [
    ("GET.ICO", magnifier, None),
    ("UNDO.ICO", minimise, None),
    ("Cancel.ico", cancel, None),
    ("PRINT.ICO", printer, None),
    ("PREVPAGE.ICO", lambda: page_with_arrow(False), None),
    ("NEXTPAGE.ICO", lambda: page_with_arrow(True), None),
    ("Hand.cur", pointing_hand, (6.0, 0.5)),
]


def write_preview(rendered):
    """A PPM sheet of every picture at 16 and 32 pixels, enlarged 4 times, over light grey."""
    zoom, gap = 4, 8
    width = len(rendered) * (48 * zoom + gap) + gap
    height = 32 * zoom + 2 * gap
    sheet = [[(200, 200, 200)] * width for _ in range(height)]
    for index, images in enumerate(rendered):
        left = gap + index * (48 * zoom + gap)
        for size, offset in ((16, 0), (32, 16 * zoom + 4)):
            for y, row in enumerate(images[size]):
                for x, (r, g, b, a) in enumerate(row):
                    for dy in range(zoom):
                        for dx in range(zoom):
                            bg = sheet[gap + y * zoom + dy][left + offset + x * zoom + dx]
                            blend = tuple(round((c * a + k * (255 - a)) / 255) for c, k in zip((r, g, b), bg))
                            sheet[gap + y * zoom + dy][left + offset + x * zoom + dx] = blend
    with open(os.path.join(HERE, "icons_preview.ppm"), "wb") as f:
        f.write(b"P6 %d %d 255\n" % (width, height))
        f.write(b"".join(bytes(p) for row in sheet for p in row))


def main():
    rendered = []
    for name, picture, hotspot in PICTURES:
        images = {size: render(picture(), size) for size in (16, 32)}
        rendered.append(images)
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(icon_file(images, hotspot))
    if "--preview" in sys.argv:
        write_preview(rendered)


if __name__ == "__main__":
    main()
