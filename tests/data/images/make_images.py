#!/usr/bin/python3
"""Makes the test pictures in this folder and the reference decode of each one.

The pictures come from other encoders (Pillow and ImageMagick) or, for forms those do not
write (RLE4 and delta-coded RLE8 bitmaps, top-down and 16-bit BI_RGB bitmaps, four-plane PCX,
paletted icons with masks, placeable metafiles), from the small writers below. Each
picture's reference decode is written beside it as <picture>.png by Pillow (by ImageMagick for
the forms Pillow misreads or scales differently; for metafiles, the rectangles they draw are
painted directly), and pictures.txt lists them all with what the
runtime must make of them.

Needs Debian's python3-pil and imagemagick; run it with the system Python:
    /usr/bin/python3 tests/data/images/make_images.py
The tests only read the files it writes, so neither package is needed to run them.
"""

import os
import struct
import subprocess

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))
WIDTH, HEIGHT = 37, 23  # An odd width, so that rows need padding.

manifest = []


def path(name):
    return os.path.join(HERE, name)


def base_picture():
    """A colourful picture with smooth gradients and hard edges."""
    im = Image.new("RGB", (WIDTH, HEIGHT))
    px = im.load()
    for y in range(HEIGHT):
        for x in range(WIDTH):
            px[x, y] = (x * 255 // (WIDTH - 1), y * 255 // (HEIGHT - 1), (x * y) % 256)
    draw = ImageDraw.Draw(im)
    draw.rectangle([3, 3, 12, 10], fill=(255, 255, 255))
    draw.ellipse([18, 5, 33, 19], fill=(200, 30, 60))
    return im


def magick(source, *arguments):
    subprocess.run(["convert", source, *arguments], check=True)


def reference(name, mode="RGB", size=None):
    """Decodes a picture with Pillow and stores the pixels beside it."""
    im = Image.open(path(name))
    if size is not None:
        im.size = size
    im.load()
    im.convert(mode).save(path(name + ".png"))


def reference_by_magick(name):
    """Decodes a picture with ImageMagick instead, for codings Pillow reads wrongly (deltas and
    odd literal runs in run-length coded bitmaps, four-plane PCX) or scales differently (Pillow
    widens 5-bit channels by shifting, ImageMagick and GDI by repeating the high bits)."""
    magick(path(name), "-depth", "8", "-define", "png:exclude-chunks=date,time", "PNG24:" + path(name + ".png"))


def record(name, kind, width, height, bits, note):
    manifest.append(f"{name} {kind} {width} {height} {bits} {name}.png  # {note}")


def by_pillow(im, name, kind, bits, note, **options):
    """Writes a picture with Pillow, its reference decode and its line in the list."""
    im.save(path(name), **options)
    reference(name)
    record(name, kind, im.size[0], im.size[1], bits, note)


def refused(name, note):
    manifest.append(f"{name} refused  # {note}")


# --- Bitmap writers ----------------------------------------------------------------------------


def bmp_file(width, height, bits, compression, table, rows, used=0, header_height=None):
    table_bytes = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in table)
    header = struct.pack("<IiiHHIIiiII", 40, width, height if header_height is None else header_height, 1, bits,
                         compression, len(rows), 2835, 2835, used, 0)
    offset = 14 + len(header) + len(table_bytes)
    return b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset) + header + table_bytes + rows


def palette_of(im, count):
    flat = im.getpalette()[: 3 * count]
    return [tuple(flat[i:i + 3]) for i in range(0, len(flat), 3)]


def rle_rows(indexes, width, height, four_bit):
    """Codes rows (bottom-up) with runs, literal runs and, for RLE8, a delta over a blank area."""
    out = bytearray()
    y = height - 1
    while y >= 0:
        row = indexes[y]
        x = 0
        while x < width:
            run = 1
            while x + run < width and run < 255 and row[x + run] == row[x]:
                run += 1
            if run >= 3 or width - x < 3:
                value = (row[x] << 4) | row[x] if four_bit else row[x]
                out += bytes([run, value])
                x += run
                continue
            literal = 0
            while x + literal < width and literal < 254:
                ahead = row[x + literal:x + literal + 3]
                if len(ahead) == 3 and ahead[0] == ahead[1] == ahead[2]:
                    break
                literal += 1
            literal = max(literal, 3) if width - x >= 3 else literal
            literal = min(literal, width - x)
            pixels = row[x:x + literal]
            if four_bit:
                data = bytes((pixels[i] << 4) | (pixels[i + 1] if i + 1 < len(pixels) else 0)
                             for i in range(0, len(pixels), 2))
            else:
                data = bytes(pixels)
            out += bytes([0, literal]) + data + (b"\0" if len(data) % 2 else b"")
            x += literal
        out += b"\0\0"
        y -= 1
    out += b"\0\1"
    return bytes(out)


def make_bitmaps(base):
    by_pillow(base, "bmp24.bmp", ".bmp", 24, "Pillow, 24 bits")
    by_pillow(base.convert("1"), "bmp1.bmp", ".bmp", 1, "Pillow, 1 bit")
    by_pillow(base.convert("P", palette=Image.ADAPTIVE, colors=256), "bmp8.bmp", ".bmp", 8, "Pillow, 8 bits")
    by_pillow(base.convert("RGBA"), "bmp32.bmp", ".bmp", 32, "Pillow, 32 bits BI_RGB")

    base.save(path("source.png"))
    magick(path("source.png"), "-colors", "16", "BMP3:" + path("bmp4.bmp"))
    reference("bmp4.bmp")
    record("bmp4.bmp", ".bmp", WIDTH, HEIGHT, 4, "ImageMagick, 4 bits")

    magick(path("source.png"), "-colors", "200", "-compress", "RLE", "BMP3:" + path("rle8.bmp"))
    reference("rle8.bmp")
    record("rle8.bmp", ".bmp", WIDTH, HEIGHT, 8, "ImageMagick, RLE8")

    magick(path("source.png"), "-define", "bmp:subtype=RGB565", path("bmp16.bmp"))
    reference_by_magick("bmp16.bmp")
    record("bmp16.bmp", ".bmp", WIDTH, HEIGHT, 16, "ImageMagick, 16 bits 5-6-5 bit fields, version 5 header")

    magick(path("source.png"), "-alpha", "on", path("bmp32v5.bmp"))
    reference("bmp32v5.bmp")
    record("bmp32v5.bmp", ".bmp", WIDTH, HEIGHT, 32, "ImageMagick, 32 bits bit fields, version 5 header")

    magick(path("source.png"), "BMP2:" + path("core24.bmp"))
    reference("core24.bmp")
    record("core24.bmp", ".bmp", WIDTH, HEIGHT, 24, "ImageMagick, 12-byte core header")
    os.remove(path("source.png"))

    # RLE4 and delta-coded RLE8, which the encoders above do not write.
    sixteen = base.convert("P", palette=Image.ADAPTIVE, colors=16)
    rows = [[sixteen.getpixel((x, y)) for x in range(WIDTH)] for y in range(HEIGHT)]
    coded = rle_rows(rows, WIDTH, HEIGHT, True)
    with open(path("rle4.bmp"), "wb") as f:
        f.write(bmp_file(WIDTH, HEIGHT, 4, 2, palette_of(sixteen, 16), coded))
    reference_by_magick("rle4.bmp")
    record("rle4.bmp", ".bmp", WIDTH, HEIGHT, 4, "RLE4 with runs and literal runs")

    # A delta jumps over the middle of the picture, which stays colour 0.
    table = [(0, 0, 0), (250, 200, 0), (0, 90, 200)]
    delta = bytearray()
    for y in range(8):
        delta += bytes([20, 1 + (y % 2)]) + b"\0\0"
    delta += bytes([0, 2, 5, 6])
    delta += bytes([7, 2]) + b"\0\0" + bytes([0, 3, 1, 2, 1, 0]) + b"\0\0\0\1"
    with open(path("rle8delta.bmp"), "wb") as f:
        f.write(bmp_file(20, 16, 8, 1, table, bytes(delta), used=3))
    reference_by_magick("rle8delta.bmp")
    record("rle8delta.bmp", ".bmp", 20, 16, 8, "RLE8 with a delta, a literal run and end of bitmap")

    # Top-down 24-bit rows (negative height).
    rgb = base.tobytes()
    stride = (WIDTH * 3 + 3) & ~3
    top_down = b"".join(
        b"".join(bytes(rgb[3 * (y * WIDTH + x):3 * (y * WIDTH + x) + 3][::-1]) for x in range(WIDTH)).ljust(stride, b"\0")
        for y in range(HEIGHT))
    with open(path("topdown24.bmp"), "wb") as f:
        f.write(bmp_file(WIDTH, HEIGHT, 24, 0, [], top_down, header_height=-HEIGHT))
    reference("topdown24.bmp")
    record("topdown24.bmp", ".bmp", WIDTH, HEIGHT, 24, "top-down rows")

    # 16 bits without bit fields: 5-5-5.
    stride = (WIDTH * 2 + 3) & ~3
    px = base.load()
    rows555 = b"".join(
        b"".join(struct.pack("<H", ((px[x, y][0] >> 3) << 10) | ((px[x, y][1] >> 3) << 5) | (px[x, y][2] >> 3))
                 for x in range(WIDTH)).ljust(stride, b"\0")
        for y in reversed(range(HEIGHT)))
    with open(path("bmp16rgb.bmp"), "wb") as f:
        f.write(bmp_file(WIDTH, HEIGHT, 16, 0, [], rows555))
    reference_by_magick("bmp16rgb.bmp")
    record("bmp16rgb.bmp", ".bmp", WIDTH, HEIGHT, 16, "16 bits BI_RGB (5-5-5)")

    # An 8-bit table of 20 colours (biClrUsed 20).
    twenty = base.convert("P", palette=Image.ADAPTIVE, colors=20)
    stride = (WIDTH + 3) & ~3
    rows8 = b"".join(bytes(twenty.getpixel((x, y)) for x in range(WIDTH)).ljust(stride, b"\0")
                     for y in reversed(range(HEIGHT)))
    with open(path("bmp8used20.bmp"), "wb") as f:
        f.write(bmp_file(WIDTH, HEIGHT, 8, 0, palette_of(twenty, 20), rows8, used=20))
    reference("bmp8used20.bmp")
    record("bmp8used20.bmp", ".bmp", WIDTH, HEIGHT, 8, "8 bits with 20 table entries")


# --- PCX ---------------------------------------------------------------------------------------


def pcx_rle(data):
    out = bytearray()
    i = 0
    while i < len(data):
        run = 1
        while i + run < len(data) and run < 63 and data[i + run] == data[i]:
            run += 1
        if run > 1 or data[i] >= 0xC0:
            out += bytes([0xC0 | run, data[i]])
        else:
            out.append(data[i])
        i += run
    return bytes(out)


def make_pcx(base):
    by_pillow(base.convert("1"), "pcx1.pcx", ".pcx", 4, "Pillow, 1 bit, empty header palette")
    by_pillow(base.convert("P", palette=Image.ADAPTIVE, colors=256), "pcx8.pcx", ".pcx", 8,
              "Pillow, 8 bits with the 769-byte palette")
    by_pillow(base.convert("L"), "pcx8grey.pcx", ".pcx", 8, "Pillow, 8-bit greys")

    base.save(path("source.png"))
    magick(path("source.png"), "-colors", "16", "PCX:" + path("pcx8odd.pcx"))
    os.remove(path("source.png"))
    reference("pcx8odd.pcx")
    record("pcx8odd.pcx", ".pcx", WIDTH, HEIGHT, 8, "ImageMagick, 8 bits, odd bytes per line")

    base.save(path("pcx24.pcx"))
    refused("pcx24.pcx", "Pillow, 24 bits in three planes: Upto 256 colours supported")

    # Four 1-bit planes, 16 colours from the header palette.
    sixteen = base.convert("P", palette=Image.ADAPTIVE, colors=16)
    table = palette_of(sixteen, 16)
    line_bytes = (WIDTH + 7) // 8
    line_bytes += line_bytes % 2
    data = bytearray()
    for y in range(HEIGHT):
        for plane in range(4):
            bits = bytearray(line_bytes)
            for x in range(WIDTH):
                if (sixteen.getpixel((x, y)) >> plane) & 1:
                    bits[x // 8] |= 0x80 >> (x % 8)
            # Each plane of each line is coded on its own, as most writers do.
            data += pcx_rle(bytes(bits))
    header = struct.pack("<BBBBHHHHHH", 10, 5, 1, 1, 0, 0, WIDTH - 1, HEIGHT - 1, 72, 72)
    header += b"".join(bytes(c) for c in table)
    header += struct.pack("<BBHH", 0, 4, line_bytes, 1)
    header = header.ljust(128, b"\0")
    with open(path("pcx4.pcx"), "wb") as f:
        f.write(header + bytes(data))
    reference_by_magick("pcx4.pcx")
    record("pcx4.pcx", ".pcx", WIDTH, HEIGHT, 4, "four 1-bit planes, header palette")


# --- JPEG --------------------------------------------------------------------------------------


def make_jpegs(base):
    by_pillow(base, "baseline.jpg", ".jpg", 24, "Pillow, baseline", quality=85)
    by_pillow(base, "progressive.jpg", ".jpg", 24, "Pillow, progressive", quality=85, progressive=True)
    by_pillow(base.convert("L"), "grey.jpg", ".jpg", 8, "Pillow, greyscale", quality=90)

    base.save(path("source.png"))
    magick(path("source.png"), "-quality", "80", "-sampling-factor", "2x2", path("magick420.jpg"))
    os.remove(path("source.png"))
    reference("magick420.jpg")
    record("magick420.jpg", ".jpg", WIDTH, HEIGHT, 24, "ImageMagick, 4:2:0 chroma")

    # Cut inside the entropy-coded data: the library warns and fills the rest, so the picture
    # still opens; cut inside the headers it has no picture at all.
    whole = open(path("baseline.jpg"), "rb").read()
    with open(path("noframe.jpg"), "wb") as f:
        f.write(whole[:20])
    refused("noframe.jpg", "ends before its frame header: no picture")


# --- Icons and cursors -------------------------------------------------------------------------


def icon_picture(size):
    im = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    draw = ImageDraw.Draw(im)
    inset = size // 8
    draw.rectangle([inset, inset, size - 1 - inset, size - 1 - inset], fill=(20, 120, 220, 255))
    draw.rectangle([size // 2 - 1, inset, size // 2, size - 1 - inset], fill=(255, 230, 0, 255))
    draw.ellipse([0, 0, size // 3, size // 3], fill=(220, 30, 30, 255))
    return im


def icon_file(entries):
    """entries: (size, bits per pixel, image bytes) per image; the bytes of an ICO file."""
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    data = b""
    for size, bits, image in entries:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, bits, len(image), offset + len(data))
        data += image
    return out + data


def paletted_icon_image(im):
    """An 8-bit DIB with an AND mask: fully transparent pixels masked, with black (entry 255)
    in the colour image so that the screen shows through unchanged."""
    size = im.size[0]
    rgb = Image.new("RGB", im.size, (0, 0, 0))
    rgb.paste(im, mask=im.split()[3])
    indexed = rgb.convert("P", palette=Image.ADAPTIVE, colors=255)
    table = palette_of(indexed, 255)
    table += [(0, 0, 0)] * (256 - len(table))
    xor_stride = (size + 3) & ~3
    and_stride = ((size + 31) // 32) * 4
    alpha = im.split()[3]
    xor_rows = b"".join(bytes(indexed.getpixel((x, y)) if alpha.getpixel((x, y)) else 255 for x in range(size))
                        .ljust(xor_stride, b"\0") for y in reversed(range(size)))
    and_rows = bytearray()
    for y in reversed(range(size)):
        row = bytearray(and_stride)
        for x in range(size):
            if alpha.getpixel((x, y)) == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        and_rows += row
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 8, 0, len(xor_rows) + len(and_rows), 0, 0, 256, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in table)
    return header + colours + xor_rows + bytes(and_rows)


def make_icons():
    pictures = {size: icon_picture(size) for size in (16, 32)}
    pictures[32].save(path("pngentries.ico"), sizes=[(16, 16), (32, 32)])
    reference("pngentries.ico", "RGBA", (32, 32))
    record("pngentries.ico", ".ico", 32, 32, 32, "Pillow, PNG entries")

    pictures[32].save(path("source.png"))
    magick(path("source.png"), "-define", "icon:auto-resize=32,16", path("bmpentries.ico"))
    os.remove(path("source.png"))
    reference("bmpentries.ico", "RGBA", (32, 32))
    record("bmpentries.ico", ".ico", 32, 32, 32, "ImageMagick, 32-bit BMP entries")

    entries = [(size, 8, paletted_icon_image(pictures[size])) for size in (16, 32)]
    with open(path("masked8.ico"), "wb") as f:
        f.write(icon_file(entries))
    reference("masked8.ico", "RGBA", (32, 32))
    record("masked8.ico", ".ico", 32, 32, 8, "8-bit entries with AND masks")


# --- Metafiles ---------------------------------------------------------------------------------


def wmf_record(function, *words):
    return struct.pack("<IH", 3 + len(words), function) + b"".join(struct.pack("<H", w & 0xFFFF) for w in words)


def placeable_wmf(bounds, units_per_inch, records):
    left, top, right, bottom = bounds
    header = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, left, top, right, bottom, units_per_inch, 0)
    checksum = 0
    for i in range(0, 20, 2):
        checksum ^= struct.unpack("<H", header[i:i + 2])[0]
    header += struct.pack("<H", checksum)
    body = b"".join(records) + struct.pack("<IH", 3, 0)
    words = (18 + len(body)) // 2
    largest = max(len(r) for r in records) // 2
    meta = struct.pack("<HHHIHIH", 1, 9, 0x300, words, 3, largest, 0)
    return header + meta + body


def colour_words(r, g, b):
    return (r | (g << 8), b)


def make_metafile():
    # One inch square at 1440 units per inch. Every corner is a multiple of 15 units, a whole
    # pixel at 96 pixels per inch, so the reference can be painted exactly.
    rectangles = [((0, 0, 1440, 1440), (255, 255, 255)),
                  ((150, 150, 750, 600), (200, 30, 60)),
                  ((600, 450, 1350, 1290), (20, 120, 220))]
    records = [wmf_record(0x020B, 0, 0), wmf_record(0x020C, 1440, 1440)]
    for index, (box, colour) in enumerate(rectangles):
        lo, hi = colour_words(*colour)
        records.append(wmf_record(0x02FC, 0, lo, hi, 0))  # CreateBrushIndirect, solid.
        records.append(wmf_record(0x02FA, 0, 1, 0, lo, hi))  # CreatePenIndirect, solid, width 1.
        records.append(wmf_record(0x012D, 0))  # Select the brush (object 0) ...
        records.append(wmf_record(0x012D, 1))  # ... and the pen (object 1).
        left, top, right, bottom = box
        records.append(wmf_record(0x041B, bottom, right, top, left))  # Rectangle.
        records.append(wmf_record(0x01F0, 0))  # Delete both, so the slots are free again.
        records.append(wmf_record(0x01F0, 1))
    with open(path("boxes.wmf"), "wb") as f:
        f.write(placeable_wmf((0, 0, 1440, 1440), 1440, records))
    im = Image.new("RGB", (96, 96))
    draw = ImageDraw.Draw(im)
    for (left, top, right, bottom), colour in rectangles:
        draw.rectangle([left // 15, top // 15, right // 15 - 1, bottom // 15 - 1], fill=colour)
    im.save(path("boxes.wmf.png"))
    record("boxes.wmf", ".wmf", 96, 96, 0, "placeable, one inch at 1440 units per inch (96 pixels per inch)")


def make_photos():
    """Two photographs for the 256-colour reduction: ImageMagick's built-in rose and a plasma
    fractal with a fixed seed."""
    magick("rose:", "BMP3:" + path("rose.bmp"))
    reference("rose.bmp")
    record("rose.bmp", ".bmp", 70, 46, 24, "ImageMagick's rose photograph")
    subprocess.run(["convert", "-seed", "7", "-size", "96x64", "plasma:fractal", "BMP3:" + path("plasma.bmp")],
                   check=True)
    reference("plasma.bmp")
    record("plasma.bmp", ".bmp", 96, 64, 24, "a plasma fractal")


def main():
    base = base_picture()
    make_bitmaps(base)
    make_photos()
    make_pcx(base)
    make_jpegs(base)
    make_icons()
    make_metafile()
    with open(path("pictures.txt"), "w") as f:
        f.write("# Made by make_images.py. Each line: file, kind tag, width, height, bits per pixel and\n"
                "# reference decode; or file and \"refused\" for a picture that must give no image.\n")
        f.write("\n".join(manifest) + "\n")


if __name__ == "__main__":
    main()
