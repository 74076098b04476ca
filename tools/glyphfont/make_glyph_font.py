#!/usr/bin/python3
"""Writes the toolkit's glyph font: one fixed-pitch TrueType face whose
characters are the symbols painters draw (arrows, pins, close boxes...).

Needs Debian's python3-fonttools. The output is committed, so the build
never runs this; run it again after changing a shape:
    /usr/bin/python3 tools/glyphfont/make_glyph_font.py src/toolkit/foundation/draw/QVTGlyphFont.ttf
"""
import math
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

FAMILY = "Sondrel Glyphs"
EM = 1000
ASCENT = 800
DESCENT = 200


def rect(x0, y0, x1, y1):
    return [[(x0, y0), (x0, y1), (x1, y1), (x1, y0)]]


def frame(x0, y0, x1, y1, t):
    return rect(x0, y0, x1, y0 + t) + rect(x0, y1 - t, x1, y1) + \
        rect(x0, y0, x0 + t, y1) + rect(x1 - t, y0, x1, y1)


def bar(x0, y0, x1, y1, half):
    """A straight stroke of the given half width between two points."""
    dx, dy = x1 - x0, y1 - y0
    length = (dx * dx + dy * dy) ** 0.5
    nx, ny = -dy / length * half, dx / length * half
    return [[(round(x0 + nx), round(y0 + ny)), (round(x1 + nx), round(y1 + ny)),
             (round(x1 - nx), round(y1 - ny)), (round(x0 - nx), round(y0 - ny))]]


def triangle(*points):
    return [list(points)]


def disc(cx, cy, r, n=24):
    """A filled circle as a polygon, clockwise."""
    return [[(round(cx + r * math.cos(-2 * math.pi * k / n)), round(cy + r * math.sin(-2 * math.pi * k / n)))
             for k in range(n)]]


def outlined(*points, stroke=80):
    """A triangle's outline: the triangle with a hole shrunk towards its
    incentre so that every side keeps the stroke's width."""
    (ax, ay), (bx, by), (cx, cy) = points
    a = math.hypot(cx - bx, cy - by)
    b = math.hypot(cx - ax, cy - ay)
    c = math.hypot(bx - ax, by - ay)
    ix = (a * ax + b * bx + c * cx) / (a + b + c)
    iy = (a * ay + b * by + c * cy) / (a + b + c)
    s = (a + b + c) / 2
    r = math.sqrt(s * (s - a) * (s - b) * (s - c)) / s
    k = (r - stroke) / r
    inner = [(round(ix + k * (x - ix)), round(iy + k * (y - iy))) for x, y in points]
    # The hole runs the other way round.
    return [list(points), inner[::-1]]


# Every shape sits in the box 100..900 x -100..700, centred on (500, 300).
SHAPES = {
    69: bar(200, 0, 800, 600, 70) + bar(200, 600, 800, 0, 70),             # close
    71: bar(200, 300, 400, 100, 70) + bar(400, 100, 800, 550, 70),        # menu check mark
    72: bar(800, 300, 600, 100, 70) + bar(600, 100, 200, 550, 70),        # menu check mark, right to left
    73: disc(500, 300, 180),                                               # menu radio mark
    74: triangle((650, 0), (350, 300), (650, 600)),                        # left
    75: triangle((350, 0), (350, 600), (650, 300)),                        # right
    76: triangle((200, 150), (500, 450), (800, 150)),                      # up
    77: triangle((200, 450), (800, 450), (500, 150)),                      # down
    80: triangle((300, 250), (500, 450), (700, 250)),                      # spin up
    81: triangle((300, 350), (700, 350), (500, 150)),                      # spin down
    83: rect(300, 500, 700, 560) + triangle((300, 350), (700, 350), (500, 150)),  # more, small
    98: triangle((200, 600), (800, 600), (500, 350)) + triangle((200, 250), (800, 250), (500, 0)),  # more, vertical
    99: triangle((200, 0), (200, 600), (450, 300)) + triangle((550, 0), (550, 600), (800, 300)),  # more
    104: rect(250, 500, 750, 580) + triangle((250, 380), (750, 380), (500, 120)),  # customize
    115: rect(350, 150, 650, 450),                                         # bullet
    116: triangle((650, 0), (350, 300), (650, 600)),                       # tab scroll left
    117: triangle((350, 0), (350, 600), (650, 300)),                       # tab scroll right
    118: outlined((650, 0), (350, 300), (650, 600)),                       # tab scroll left, disabled
    119: outlined((350, 0), (350, 600), (650, 300)),                       # tab scroll right, disabled
}


def quarter_turn(contours):
    """The shape turned a quarter about the box centre: what points down
    points right. Vertical bars show the horizontal bars' glyphs this way."""
    return [[(500 - (y - 300), 300 + (x - 500)) for x, y in contour] for contour in contours]


SHAPES[102] = quarter_turn(SHAPES[104])  # customize, vertical bars
SHAPES[85] = quarter_turn(SHAPES[83])    # more, small, vertical bars


def build(path):
    names = [".notdef", "space"] + ["g%d" % code for code in sorted(SHAPES)]
    cmap = {32: "space"}
    glyphs = {}
    metrics = {}
    for name in (".notdef", "space"):
        glyphs[name] = TTGlyphPen(None).glyph()
        metrics[name] = (EM, 0)
    for code, contours in sorted(SHAPES.items()):
        name = "g%d" % code
        pen = TTGlyphPen(None)
        for contour in contours:
            pen.moveTo(contour[0])
            for point in contour[1:]:
                pen.lineTo(point)
            pen.closePath()
        glyphs[name] = pen.glyph()
        cmap[code] = name
        metrics[name] = (EM, min(x for contour in contours for x, _ in contour))

    fb = FontBuilder(EM, isTTF=True)
    fb.setupGlyphOrder(names)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(glyphs)
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=ASCENT, descent=-DESCENT)
    fb.setupNameTable({"familyName": FAMILY, "styleName": "Regular"})
    fb.setupOS2(sTypoAscender=ASCENT, sTypoDescender=-DESCENT, usWinAscent=ASCENT,
                usWinDescent=DESCENT, achVendID="SNDR", fsType=0)
    # Family type 2 (text), proportion 9 (monospaced).
    fb.font["OS/2"].panose["bFamilyType"] = 2
    fb.font["OS/2"].panose["bProportion"] = 9
    fb.setupPost(isFixedPitch=1)
    fb.save(path)


if __name__ == "__main__":
    build(sys.argv[1] if len(sys.argv) > 1 else "QVTGlyphFont.ttf")
