#!/usr/bin/python3
"""Writes the main window's artwork: the program icon (128), the small
command images of the bars (toolbar bitmap 217, 27 images of 16 pixels), the
ribbon's PNG strips (144 file commands, 142 formats, 141 help and recording,
140 the logo, 230 the colour styles).

Plain Python, no libraries. The output is committed, so the build never runs
this; run it again after changing a shape:
    python3 tools/mainwindowimages/make_main_window_images.py src/app/mainwindow/res

Every image keeps one flat colour of its own somewhere large (the record
dot, each format's face), so that a test can find a ribbon button by its
icon in a screenshot.
"""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import raster  # noqa: E402
from raster import box, circle, stroke, triangle, union  # noqa: E402

WHITE = (255, 255, 255)
INK = (40, 44, 52)
PAPER = (246, 248, 252)
PAPER_EDGE = (120, 130, 150)
RED = (220, 30, 30)
RED_DARK = (150, 16, 16)
GREEN = (40, 160, 60)
BLUE = (40, 100, 200)
BLUE_DARK = (22, 60, 140)
GOLD = (240, 180, 30)
GREY = (110, 116, 128)

# Faces of the format buttons, in strip order (MP3, WMA, AAC, M4A, AMR, OGG,
# AU, AIFF, WAV); each colour appears in no other image.
FORMAT_FACES = [
    (230, 120, 20), (30, 140, 210), (130, 60, 180), (0, 170, 140), (200, 60, 120),
    (120, 150, 20), (90, 90, 200), (180, 140, 60), (60, 60, 60),
]


def ring(cx, cy, r0, r1):
    return lambda x, y: r0 * r0 <= (x - cx) ** 2 + (y - cy) ** 2 <= r1 * r1


def rounded(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def cross(cx, cy, r, half):
    return union(stroke(cx - r, cy - r, cx + r, cy + r, half), stroke(cx - r, cy + r, cx + r, cy - r, half))


def heart(cx, cy, r):
    return union(circle(cx - r * 0.5, cy - r * 0.2, r * 0.55), circle(cx + r * 0.5, cy - r * 0.2, r * 0.55),
                 triangle(cx - r * 1.02, cy, cx + r * 1.02, cy, cx, cy + r * 1.05))


def note(cx, cy, s, colour):
    """An eighth note: a head, a stem and a flag."""
    return [(union(circle(cx - 0.18 * s, cy + 0.22 * s, 0.16 * s),
                   box(cx - 0.05 * s, cy - 0.35 * s, cx + 0.02 * s, cy + 0.22 * s),
                   stroke(cx, cy - 0.33 * s, cx + 0.22 * s, cy - 0.12 * s, 0.05 * s)), colour)]


def document(s, x0=0.18, x1=0.72):
    return [(rounded(x0 * s, 0.08 * s, x1 * s, 0.9 * s, 0.04 * s), PAPER_EDGE),
            (box(x0 * s + 1, 0.08 * s + 1, x1 * s - 1, 0.9 * s - 1), PAPER)] + \
        [(box((x0 + 0.08) * s, (0.25 + i * 0.14) * s, (x1 - 0.08) * s, (0.29 + i * 0.14) * s), GREY)
         for i in range(4)]


def image(kind, s):
    """The layers of one image at size s."""
    c = s / 2.0
    if kind == "delete":
        return document(s) + [(cross(0.68 * s, 0.7 * s, 0.16 * s, 0.07 * s), RED)]
    if kind == "deleteall":
        return document(s, 0.08, 0.56) + document(s, 0.3, 0.8) + [(cross(0.7 * s, 0.7 * s, 0.16 * s, 0.07 * s), RED)]
    if kind == "deletedisk":
        return [(rounded(0.08 * s, 0.3 * s, 0.92 * s, 0.78 * s, 0.08 * s), GREY),
                (box(0.14 * s, 0.58 * s, 0.86 * s, 0.7 * s), INK),
                (circle(0.78 * s, 0.44 * s, 0.05 * s), GREEN),
                (cross(0.7 * s, 0.26 * s, 0.14 * s, 0.065 * s), RED)]
    if kind == "rename":
        return document(s) + [(stroke(0.42 * s, 0.82 * s, 0.9 * s, 0.34 * s, 0.08 * s), GOLD),
                              (triangle(0.34 * s, 0.92 * s, 0.38 * s, 0.74 * s, 0.5 * s, 0.86 * s), INK)]
    if kind == "info":
        return [(circle(c, c, 0.44 * s), BLUE), (circle(c, 0.28 * s, 0.07 * s), WHITE),
                (box(0.44 * s, 0.4 * s, 0.56 * s, 0.78 * s), WHITE)]
    if kind == "about":
        # A question mark: the upper half of a ring, a stem and a dot.
        hook = ring(c, 0.36 * s, 0.1 * s, 0.2 * s)
        return [(circle(c, c, 0.44 * s), BLUE_DARK),
                (lambda x, y: hook(x, y) and (y <= 0.36 * s or x >= c), WHITE),
                (box(0.45 * s, 0.5 * s, 0.55 * s, 0.62 * s), WHITE), (circle(c, 0.76 * s, 0.07 * s), WHITE)]
    if kind == "donate":
        return [(heart(c, 0.48 * s, 0.4 * s), (210, 40, 90))]
    if kind == "record":
        return [(circle(c, c, 0.4 * s), RED_DARK), (circle(c, c, 0.36 * s), RED)]
    if kind == "stop":
        return [(rounded(0.16 * s, 0.16 * s, 0.84 * s, 0.84 * s, 0.08 * s), INK)]
    if kind == "continue":
        return [(triangle(0.22 * s, 0.12 * s, 0.22 * s, 0.88 * s, 0.88 * s, c), GREEN)]
    if kind == "pause":
        return [(box(0.22 * s, 0.16 * s, 0.42 * s, 0.84 * s), INK), (box(0.58 * s, 0.16 * s, 0.78 * s, 0.84 * s), INK)]
    if kind == "play":
        return [(triangle(0.26 * s, 0.14 * s, 0.26 * s, 0.86 * s, 0.86 * s, c), GREEN)]
    if kind == "next":
        return [(triangle(0.12 * s, 0.2 * s, 0.12 * s, 0.8 * s, 0.62 * s, c), INK),
                (box(0.66 * s, 0.2 * s, 0.82 * s, 0.8 * s), INK)]
    if kind == "previous":
        return [(triangle(0.88 * s, 0.2 * s, 0.88 * s, 0.8 * s, 0.38 * s, c), INK),
                (box(0.18 * s, 0.2 * s, 0.34 * s, 0.8 * s), INK)]
    if kind == "folder":
        return [(rounded(0.06 * s, 0.2 * s, 0.5 * s, 0.4 * s, 0.05 * s), GOLD),
                (rounded(0.06 * s, 0.3 * s, 0.94 * s, 0.84 * s, 0.06 * s), GOLD)]
    if kind == "blank":
        return []
    if kind.startswith("format"):
        face = FORMAT_FACES[int(kind[6:])]
        return [(rounded(0.06 * s, 0.06 * s, 0.94 * s, 0.94 * s, 0.16 * s), face)] + note(c + 0.04 * s, c, s, WHITE)
    if kind == "styles":
        return [(circle(c, c, 0.45 * s), (200, 200, 200)), (circle(0.32 * s, 0.36 * s, 0.12 * s), BLUE),
                (circle(0.62 * s, 0.3 * s, 0.12 * s), INK), (circle(0.7 * s, 0.62 * s, 0.12 * s), (0, 170, 190)),
                (circle(0.38 * s, 0.68 * s, 0.12 * s), (170, 176, 186))]
    if kind.startswith("swatch"):
        face = {"blue": (70, 120, 200), "black": (50, 52, 58), "aqua": (0, 170, 190),
                "silver": (180, 186, 196)}[kind[7:]]
        return [(rounded(0.06 * s, 0.06 * s, 0.94 * s, 0.94 * s, 0.14 * s), PAPER_EDGE),
                (rounded(0.14 * s, 0.14 * s, 0.86 * s, 0.86 * s, 0.1 * s), face)]
    if kind == "logo":
        bars = [0.3, 0.55, 0.8, 0.45, 0.65, 0.35]
        layers = [(circle(c, c, 0.47 * s), BLUE_DARK), (ring(c, c, 0.42 * s, 0.46 * s), (120, 170, 240))]
        for i, h in enumerate(bars):
            x = (0.25 + i * 0.1) * s
            layers.append((rounded(x - 0.03 * s, c - h * 0.3 * s, x + 0.03 * s, c + h * 0.3 * s, 0.03 * s), WHITE))
        return layers
    if kind == "program":
        return [(rounded(0.04 * s, 0.04 * s, 0.96 * s, 0.96 * s, 0.2 * s), BLUE_DARK)] + \
            [(rounded(0.42 * s, 0.16 * s, 0.58 * s, 0.56 * s, 0.08 * s), WHITE),
             (ring(c, 0.46 * s, 0.16 * s, 0.2 * s), WHITE), (box(0.3 * s, 0.3 * s, 0.7 * s, 0.46 * s), BLUE_DARK),
             (rounded(0.42 * s, 0.16 * s, 0.58 * s, 0.56 * s, 0.08 * s), WHITE),
             (box(0.48 * s, 0.64 * s, 0.52 * s, 0.78 * s), WHITE), (box(0.36 * s, 0.76 * s, 0.64 * s, 0.8 * s), WHITE),
             (circle(0.78 * s, 0.22 * s, 0.11 * s), RED)]
    raise ValueError(kind)


def strip(kinds, s):
    """Images side by side, as RGBA rows."""
    images = [raster.paint(image(k, s), s) for k in kinds]
    return [sum((img[y] for img in images), []) for y in range(s)]


def bmp_bytes(rows):
    """A 32-bit bitmap file with straight alpha."""
    width, height = len(rows[0]), len(rows)
    pixels = raster.bgra_bottom_up(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 32, 0, len(pixels), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(info) + len(pixels), 0, 0, 14 + len(info)) + info + pixels


# Toolbar 217: image order of the bars' small images.
TOOLBAR_217 = (["blank"] * 4 + ["delete", "blank", "deleteall", "folder", "rename"] + ["blank"] * 3 +
               ["play", "pause", "stop", "next", "previous", "info"] + ["blank"] * 8 + ["about"])

STRIPS = {
    "files144.png": (["delete", "deleteall", "deletedisk", "rename", "blank", "info"], 32),
    "formats142.png": (["format%d" % i for i in range(9)], 32),
    "logo140.png": (["logo"], 48),
    "help141.png": (["donate", "blank", "about", "record", "record", "stop", "continue"], 32),
    "styles230.png": (["styles", "swatch_blue", "swatch_black", "swatch_aqua", "swatch_silver"], 16),
}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)
    for name, (kinds, size) in STRIPS.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(raster.png_bytes(strip(kinds, size)))
    assert len(TOOLBAR_217) == 27
    with open(os.path.join(out, "toolbar217.bmp"), "wb") as f:
        f.write(bmp_bytes(strip(TOOLBAR_217, 16)))
    with open(os.path.join(out, "sondrel.ico"), "wb") as f:
        # The alpha alone rules: the AND masks are left clear.
        f.write(raster.icon_file([(s, raster.icon_image(raster.paint(image("program", s), s), masked=False))
                                  for s in (16, 32, 48)]))


if __name__ == "__main__":
    main()
