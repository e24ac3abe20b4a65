#!/usr/bin/python3
"""Makes the GIF test pictures in this folder and the reference decode of every frame.

The pictures come from other encoders (Pillow and ImageMagick): still and interlaced pictures,
local colour tables, transparency, disposal methods, frame offsets, animations with loop counts,
and files cut short. The reference decode of each frame is made by giflib (gif_reference.c, built
here with the system's C compiler): the canvas as it stands after frame N is written beside the
picture as <picture>.<N>.png. gifs.txt lists every picture with what the runtime must make of
it: its canvas size, its frames, its loop count and each frame's delay, or a refusal.

Needs Debian's python3-pil, imagemagick and libgif-dev; run it with the system Python:
    /usr/bin/python3 tests/data/images/gif/make_gifs.py
The tests only read the files it writes, so none of these is needed to run them.
"""

import glob
import os
import struct
import subprocess
import tempfile

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))
WIDTH, HEIGHT = 37, 23  # An odd width, as elsewhere in the test pictures.

manifest = []
scratch = tempfile.mkdtemp()
reference_program = os.path.join(scratch, "gif_reference")
subprocess.run(["cc", "-O1", "-o", reference_program, os.path.join(HERE, "gif_reference.c"), "-lgif"], check=True)


def path(name):
    return os.path.join(HERE, name)


def base_picture(shift=0):
    """A colourful picture with smooth gradients and hard edges; `shift` moves its colours."""
    im = Image.new("RGB", (WIDTH, HEIGHT))
    px = im.load()
    for y in range(HEIGHT):
        for x in range(WIDTH):
            px[x, y] = ((x * 255 // (WIDTH - 1) + shift) % 256, y * 255 // (HEIGHT - 1), (x * y + 3 * shift) % 256)
    draw = ImageDraw.Draw(im)
    draw.rectangle([3 + shift % 7, 3, 12 + shift % 7, 10], fill=(255, 255, 255))
    draw.ellipse([18, 5, 33, 19], fill=(200, 30 + shift % 200, 60))
    return im


def magick(*arguments):
    subprocess.run(["convert", *arguments], check=True)


def gif_facts(name):
    """Loop count (-1 without a looping block) and each frame's delay, read from the blocks."""
    data = open(path(name), "rb").read()
    at = 13
    if data[10] & 0x80:
        at += 3 * (2 << (data[10] & 7))
    loop, delays, delay = -1, [], 0
    while data[at] != 0x3B:
        if data[at] == 0x21:
            label = data[at + 1]
            at += 2
            blocks = []
            while data[at]:
                blocks.append(data[at + 1:at + 1 + data[at]])
                at += 1 + data[at]
            at += 1
            if label == 0xF9:
                delay = struct.unpack("<H", blocks[0][1:3])[0]
            elif label == 0xFF and blocks[0] == b"NETSCAPE2.0":
                loop = struct.unpack("<H", blocks[1][1:3])[0]
        else:
            packed = data[at + 9]
            at += 10
            if packed & 0x80:
                at += 3 * (2 << (packed & 7))
            at += 1
            while data[at]:
                at += 1 + data[at]
            at += 1
            delays.append(delay)
            delay = 0
    return loop, delays


def record(name, note):
    """Decodes a picture with giflib, stores every frame's canvas and lists the picture."""
    for old in glob.glob(path(name + ".*.png")):
        os.remove(old)
    prefix = os.path.join(scratch, name)
    out = subprocess.run([reference_program, path(name), prefix], check=True, capture_output=True, text=True)
    width, height, frames = (int(v) for v in out.stdout.split())
    for n in range(frames):
        raw = open(f"{prefix}.{n}.rgba", "rb").read()
        Image.frombytes("RGBA", (width, height), raw).save(path(f"{name}.{n}.png"))
    loop, delays = gif_facts(name)
    assert len(delays) == frames, name
    manifest.append(f"{name} {width} {height} {frames} {loop} {','.join(map(str, delays))}  # {note}")


def refused(name, note):
    manifest.append(f"{name} refused  # {note}")


def make_stills():
    base = base_picture()
    paletted = base.convert("P", palette=Image.ADAPTIVE, colors=256)
    paletted.save(path("still.gif"), interlace=0)
    record("still.gif", "Pillow, one frame, global table, no graphic control block")
    paletted.save(path("interlaced.gif"), interlace=1)
    record("interlaced.gif", "Pillow, the same frame interlaced")

    base.save(path("source.png"))
    magick(path("source.png"), "-colors", "64", "-interlace", "GIF", "-comment", "made for the tests",
           path("magick_interlaced.gif"))
    record("magick_interlaced.gif", "ImageMagick, interlaced, 64 colours, a comment extension")
    magick(path("source.png"), "-colors", "4", path("four_colours.gif"))
    record("four_colours.gif", "ImageMagick, 4 colours: minimum code size 2")
    os.remove(path("source.png"))

    base.convert("1").save(path("bilevel.gif"))
    record("bilevel.gif", "Pillow, 1 bit")

    transparent = paletted.copy()
    transparent.info["transparency"] = paletted.getpixel((25, 12))
    transparent.save(path("transparent.gif"), transparency=paletted.getpixel((25, 12)), interlace=0)
    record("transparent.gif", "Pillow, the ellipse's colour transparent")

    # The frame at left 10, top 5, 20 x 20, in a file whose logical screen is only 20 x 20.
    magick("-size", "20x20", "gradient:red-blue", "-page", "8x8+10+5", path("offset.gif"))
    record("offset.gif", "ImageMagick, a frame at (10, 5) beyond a 20 x 20 logical screen")

    # A photograph-sized picture that fills the 4096-code table many times over.
    magick("-size", "160x120", "-seed", "7", "plasma:fractal", "-colors", "256", path("plasma.gif"))
    record("plasma.gif", "ImageMagick, a 256-colour plasma fractal, full code tables")


def make_animations():
    frames = [base_picture(shift).convert("P", palette=Image.ADAPTIVE, colors=64) for shift in (0, 60, 120)]
    frames[0].save(path("loop_forever.gif"), save_all=True, append_images=frames[1:], duration=[100, 200, 50],
                   loop=0, interlace=0)
    record("loop_forever.gif", "Pillow, 3 frames with their own tables, delays 10, 20 and 5, loop count 0")
    frames[0].save(path("loop_twice.gif"), save_all=True, append_images=frames[1:2], duration=[100, 200], loop=2)
    record("loop_twice.gif", "Pillow, 2 frames, delays 10 and 20, loop count 2")

    sources = []
    for n, shift in enumerate((0, 40, 80, 120)):
        source = os.path.join(scratch, f"frame{n}.png")
        base_picture(shift).save(source)
        sources.append(source)
    # A square that moves over a still background: the optimiser keeps only what changed.
    moving = []
    for n in range(4):
        im = base_picture()
        ImageDraw.Draw(im).rectangle([4 + 7 * n, 12, 9 + 7 * n, 17], fill=(0, 200, 0))
        source = os.path.join(scratch, f"moving{n}.png")
        im.save(source)
        moving.append(source)
    magick("-delay", "15", "-loop", "3", *moving, "-layers", "Optimize", path("magick_optimized.gif"))
    record("magick_optimized.gif", "ImageMagick, 4 frames optimised into offset rectangles with transparency")
    magick("-delay", "7", "-dispose", "Previous", *sources[:3], "+map", path("magick_shared.gif"))
    record("magick_shared.gif", "ImageMagick, 3 frames sharing one global table, disposal to previous")
    magick("-delay", "25", "-loop", "0", "-dispose", "None", *sources[1:], path("magick_local.gif"))
    record("magick_local.gif", "ImageMagick, 3 frames with local tables, no disposal")


def make_refused():
    whole = open(path("loop_forever.gif"), "rb").read()
    with open(path("truncated.gif"), "wb") as f:
        f.write(whole[:len(whole) // 2])
    refused("truncated.gif", "Pillow's animation cut in half: no trailer")
    with open(path("no_trailer.gif"), "wb") as f:
        f.write(whole[:-1])
    refused("no_trailer.gif", "everything but the trailer")
    with open(path("header_only.gif"), "wb") as f:
        f.write(whole[:13])
    refused("header_only.gif", "13 bytes: the header and logical screen alone")
    still = bytearray(open(path("still.gif"), "rb").read())
    # Pillow's still picture: the global table, then the image descriptor without a local table.
    code_size_at = 13 + 3 * (2 << (still[10] & 7)) + 10
    assert still[code_size_at - 10] == 0x2C
    still[code_size_at] = 12
    with open(path("code_size_12.gif"), "wb") as f:
        f.write(still)
    refused("code_size_12.gif", "an LZW minimum code size of 12")


make_stills()
make_animations()
make_refused()
with open(path("gifs.txt"), "w") as f:
    f.write("# Made by make_gifs.py. Each line: file, canvas width and height, frames, loop count (-1: no\n"
            "# looping block) and each frame's delay; each frame N's reference is <file>.<N>.png. Or\n"
            "# file and \"refused\" for a file that must give no image.\n")
    f.write("\n".join(manifest) + "\n")
