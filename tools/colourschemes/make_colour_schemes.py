#!/usr/bin/python3
"""Writes the program's four colour schemes: for each of Office2007Blue,
Office2007Black, Office2007Aqua and Office2007Silver an INI text (21
sections, CR LF lines) and the images its [Images] section names, drawn
from one palette per scheme; a resource script that names them the way the
resource image sets look them up ("TEXTFILE" OFFICE2007BLUE_INI, "PNG"
OFFICE2007BLUE_FILEBUTTON_BMP, ...); and the image table the tests check
the pictures against.

The blue scheme's colours are the reference; every other scheme passes the
same colours through its own tone (hue, saturation, lightness), except the
orange highlights and the context-tab colours, which all schemes share.

Only the standard library. The output is committed, so the build never runs
this; run it again after changing a palette, a size or a picture:
    /usr/bin/python3 tools/colourschemes/make_colour_schemes.py
A run with --check writes nothing and fails when the committed output
differs from what it would write (the test suite runs it so).
"""
import colorsys
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import raster  # noqa: E402

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
OUT_DIR = os.path.join(ROOT, "src", "toolkit", "themes", "schemes")
TABLE_PATH = os.path.join(ROOT, "tests", "toolkit", "themes", "schemes", "scheme_images.inc")
TEST_SETS_DIR = os.path.join(ROOT, "tests", "toolkit", "themes", "resource", "data")

MAGENTA = (255, 0, 255)

# ---------------------------------------------------------------------------
# Schemes and their tones

def tone_blue(rgb):
    return rgb


def _hls_tone(rgb, hue=None, hue_shift=0.0, sat=1.0, light=lambda l: l):
    h, l, s = colorsys.rgb_to_hls(*(c / 255.0 for c in rgb))
    if hue is not None:
        h = hue
    h = (h + hue_shift) % 1.0
    r, g, b = colorsys.hls_to_rgb(h, min(1.0, max(0.0, light(l))), min(1.0, s * sat))
    return tuple(int(round(c * 255)) for c in (r, g, b))


def tone_black(rgb):
    # Greys a little darker than silver; light faces stay light enough for text.
    return _hls_tone(rgb, sat=0.06, light=lambda l: l ** 1.45)


def tone_aqua(rgb):
    return _hls_tone(rgb, hue_shift=-0.085, sat=0.7)


def tone_silver(rgb):
    return _hls_tone(rgb, hue=0.64, sat=0.16, light=lambda l: 0.06 + l * 0.94)


SCHEMES = [
    ("Office2007Blue", tone_blue),
    ("Office2007Black", tone_black),
    ("Office2007Aqua", tone_aqua),
    ("Office2007Silver", tone_silver),
]


class Accent(tuple):
    """A colour that every scheme shares (highlights, context tabs)."""


def A(r, g, b):
    return Accent((r, g, b))


# The reference palette (the blue scheme); Accent colours are kept as they are.
P = {
    "white": A(255, 255, 255),
    "black": A(0, 0, 0),
    "face": (191, 219, 255),
    "faceLight": (227, 239, 255),
    "faceLighter": (239, 246, 255),
    "faceDark": (173, 209, 255),
    "faceDeep": (153, 191, 240),
    "border": (101, 147, 207),
    "borderLight": (154, 198, 255),
    "borderDark": (59, 90, 130),
    "text": (21, 66, 139),
    "glyph": (86, 125, 176),
    "glyphHot": (21, 66, 139),
    "caption": (62, 106, 170),
    "captionDark": (36, 72, 130),
    "greyLight": (236, 236, 236),
    "greyFace": (220, 220, 220),
    "grey": (170, 170, 170),
    "greyDark": (141, 141, 141),
    "hotLight": A(255, 245, 204),
    "hotDark": A(255, 219, 117),
    "hotBorder": A(255, 189, 105),
    "pressedLight": A(255, 184, 94),
    "pressedDark": A(252, 151, 61),
    "pressedBorder": A(251, 140, 60),
    "checkedLight": A(255, 207, 146),
    "checkedDark": A(255, 171, 63),
    "checkedBorder": A(255, 171, 63),
    "closeHot": A(232, 17, 35),
    "closePressed": A(180, 12, 26),
    "shadow": A(128, 128, 128),
}

# Looks of a state: border, top of the face, bottom of the face.
LOOK = {
    "normal": ("border", "faceLight", "face"),
    "soft": ("borderLight", "faceLighter", "faceLight"),
    "hot": ("hotBorder", "hotLight", "hotDark"),
    "pressed": ("pressedBorder", "pressedLight", "pressedDark"),
    "checked": ("checkedBorder", "checkedLight", "checkedDark"),
    "checkedHot": ("pressedBorder", "hotDark", "checkedDark"),
    "disabled": ("grey", "greyLight", "greyFace"),
    "default": ("borderDark", "faceLight", "faceDark"),
    "active": ("borderDark", "faceLighter", "faceDark"),
    "inactive": ("grey", "greyLight", "greyFace"),
    "dark": ("borderDark", "faceDark", "faceDeep"),
    "closeHot": ("closePressed", "closeHot", "closeHot"),
    "closePressed": ("closePressed", "closePressed", "closePressed"),
}

CONTEXT_COLOURS = [
    ("Blue", A(110, 160, 230)),
    ("Yellow", A(240, 200, 60)),
    ("Green", A(120, 190, 90)),
    ("Red", A(220, 90, 90)),
    ("Purple", A(160, 110, 200)),
    ("Cyan", A(80, 190, 200)),
    ("Orange", A(240, 150, 60)),
]

# ---------------------------------------------------------------------------
# Pixels

def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


class Canvas:
    """Pixels of one image; None is transparent."""

    def __init__(self, width, height):
        self.w = width
        self.h = height
        self.px = [[None] * width for _ in range(height)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def fill(self, x0, y0, w, h, c):
        for y in range(y0, y0 + h):
            for x in range(x0, x0 + w):
                self.set(x, y, c)

    def gradient(self, x0, y0, w, h, top, bottom, horizontal=False):
        n = max(1, (w if horizontal else h) - 1)
        for y in range(y0, y0 + h):
            for x in range(x0, x0 + w):
                t = ((x - x0) if horizontal else (y - y0)) / n
                self.set(x, y, mix(top, bottom, t))

    def frame_of(self, n, count):
        return self.h // count * n


def rounded_mask(w, h, r):
    """Inside test of a rectangle with corners cut at radius r."""
    def inside(x, y):
        for cx, cy, dx, dy in ((r - 0.5, r - 0.5, x < r, y < r), (w - r - 0.5, r - 0.5, x >= w - r, y < r),
                               (r - 0.5, h - r - 0.5, x < r, y >= h - r),
                               (w - r - 0.5, h - r - 0.5, x >= w - r, y >= h - r)):
            if dx and dy:
                return (x - cx) ** 2 + (y - cy) ** 2 <= (r - 0.25) ** 2 + 0.5
        return True
    return inside


def panel(cv, x0, y0, w, h, border, top, bottom, radius=2, inner=None, horizontal=False):
    """A face with a one-pixel border and rounded corners; outside the corners
    stays as it was."""
    inside = rounded_mask(w, h, radius) if radius else (lambda x, y: True)
    n = max(1, (w if horizontal else h) - 1)
    for y in range(h):
        for x in range(w):
            if not inside(x, y):
                continue
            edge = any(not (0 <= x + dx < w and 0 <= y + dy < h) or not inside(x + dx, y + dy)
                       for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            if edge and border is not None:
                c = border
            else:
                c = mix(top, bottom, (x if horizontal else y) / n)
                if inner is not None and not edge and any(
                        not inside(x + dx, y + dy) or not (1 <= x + dx < w - 1 and 1 <= y + dy < h - 1)
                        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                    c = inner
            cv.set(x0 + x, y0 + y, c)


def triangle(cv, x0, y0, w, h, direction, c, size=None):
    """A filled arrow head centred in the box, pointing up, down, left or right."""
    s = size or max(2, min(w, h) // 2)
    if direction in ("up", "down"):
        rows = (s + 1) // 2
        top = y0 + (h - rows) // 2
        cx = x0 + (w - 1) / 2.0
        for k in range(rows):
            half = k if direction == "up" else rows - 1 - k
            for x in range(int(round(cx - half - 0.01)), int(round(cx + half + 0.01)) + 1):
                cv.set(x, top + k, c)
    else:
        cols = (s + 1) // 2
        left = x0 + (w - cols) // 2
        cy = y0 + (h - 1) / 2.0
        for k in range(cols):
            half = k if direction == "left" else cols - 1 - k
            for y in range(int(round(cy - half - 0.01)), int(round(cy + half + 0.01)) + 1):
                cv.set(left + k, y, c)


def dots(cv, x0, y0, w, h, dark, light, step=4):
    for y in range(y0 + 1, y0 + h - 2, step):
        for x in range(x0 + 1, x0 + w - 2, step):
            cv.fill(x + 1, y + 1, 2, 2, light)
            cv.fill(x, y, 2, 2, dark)


def line(cv, x0, y0, x1, y1, c, thick=1):
    n = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(n + 1):
        x = int(round(x0 + (x1 - x0) * i / n))
        y = int(round(y0 + (y1 - y0) * i / n))
        cv.fill(x, y, thick, thick, c)


def caption_glyph(cv, x0, y0, n, kind, c):
    """Close, minimize, maximize or restore symbol in an n x n cell."""
    m = max(3, n // 4)
    t = 2 if n >= 17 else 1
    a, b = m, n - m - t
    if kind == "Close":
        line(cv, x0 + a, y0 + a, x0 + b, y0 + b, c, t)
        line(cv, x0 + a, y0 + b, x0 + b, y0 + a, c, t)
    elif kind == "Minimize":
        cv.fill(x0 + a, y0 + b, b - a + t, t + 1, c)
    elif kind == "Maximize":
        s = b - a + t
        cv.fill(x0 + a, y0 + a, s, t + 1, c)
        cv.fill(x0 + a, y0 + a + s - 1, s, 1, c)
        cv.fill(x0 + a, y0 + a, 1, s, c)
        cv.fill(x0 + a + s - 1, y0 + a, 1, s, c)
    else:
        s = (b - a + t) * 3 // 4
        for ox, oy in ((a + (b - a + t) - s, a), (a, a + (b - a + t) - s)):
            cv.fill(x0 + ox, y0 + oy, s, 2, c)
            cv.fill(x0 + ox, y0 + oy + s - 1, s, 1, c)
            cv.fill(x0 + ox, y0 + oy, 1, s, c)
            cv.fill(x0 + ox + s - 1, y0 + oy, 1, s, c)


def check_mark(cv, x0, y0, w, h, c):
    cx, cy = x0 + w // 2, y0 + h // 2
    line(cv, cx - 3, cy, cx - 1, cy + 2, c, 2)
    line(cv, cx - 1, cy + 2, cx + 3, cy - 3, c, 2)

# ---------------------------------------------------------------------------
# The image table: name, frames, frame size, sizing margins (l, t, r, b),
# keyed (magenta transparent), alpha (transparent pixels have alpha 0), and
# the painter with the states of its frames.

class Image:
    def __init__(self, name, frames, size, margins=(0, 0, 0, 0), keyed=False, paint=None,
                 states=None, fixed=False):
        self.name = name
        self.frames = frames
        self.size = size
        self.margins = margins
        self.keyed = keyed
        # Images without a key colour carry alpha: 255, or 0 outside their shape.
        self.alpha = not keyed
        self.paint = paint
        self.states = states or ["normal"] * frames
        self.fixed = fixed  # the size is one the drawing code relies on
        assert len(self.states) == frames, name


def looks(c, state):
    return tuple(c(P[k]) for k in LOOK[state])


# Painters: (canvas, frame x, frame y, w, h, state, colour function)

def paint_button(radius=2):
    def paint(cv, x, y, w, h, state, c):
        border, top, bottom = looks(c, state)
        panel(cv, x, y, w, h, border, top, bottom, radius, inner=c(P["white"]) if state != "disabled" else None)
    return paint


def paint_face(top_key, bottom_key, horizontal=False, edge=None):
    def paint(cv, x, y, w, h, state, c):
        top, bottom = c(P[top_key]), c(P[bottom_key])
        if state == "inactive":
            top, bottom = mix(top, c(P["greyLight"]), 0.6), mix(bottom, c(P["greyFace"]), 0.6)
        cv.gradient(x, y, w, h, top, bottom, horizontal)
        if edge:
            cv.fill(x, y + h - 1, w, 1, c(P[edge]))
    return paint


def paint_frame(border_key, fill_key, radius=3):
    def paint(cv, x, y, w, h, state, c):
        fill = c(P[fill_key])
        panel(cv, x, y, w, h, c(P[border_key]), fill, fill, radius, inner=c(P["faceLighter"]))
    return paint


def paint_separator():
    def paint(cv, x, y, w, h, state, c):
        dark, light = c(P["border"]), c(P["white"])
        mid = w // 2
        for yy in range(h):
            t = 1.0 - abs(yy - h / 2.0) / (h / 2.0)
            cv.set(x + mid - 1, y + yy, mix(c(P["faceLight"]), dark, t))
            cv.set(x + mid, y + yy, mix(c(P["faceLight"]), light, t))
    return paint


def paint_arrow_button(direction):
    def paint(cv, x, y, w, h, state, c):
        border, top, bottom = looks(c, state)
        panel(cv, x, y, w, h, border, top, bottom, 2)
        glyph = c(P["glyphHot"] if state in ("hot", "pressed") else P["grey"] if state == "disabled"
                  else P["glyph"])
        triangle(cv, x, y, w, h, direction, glyph, size=min(w, h) // 2)
    return paint


def paint_glyph_cells(dark_style):
    # Four directions, four cells each: normal, hot, pressed, disabled.
    order = ["up", "down", "left", "right"]
    tints = ["glyph", "glyphHot", "captionDark", "grey"]

    def paint(cv, x, y, w, h, state, c):
        direction = order[state // 4]
        colour = c(P["white"]) if dark_style and state % 4 == 0 else c(P[tints[state % 4]])
        if state % 4 == 2:
            triangle(cv, x, y + 1, w, h, direction, colour, size=w - 2)
        else:
            triangle(cv, x, y, w, h, direction, colour, size=w - 2)
    return paint


def paint_gripper(vertical):
    def paint(cv, x, y, w, h, state, c):
        cv.fill(x, y, w, h, None)
        for k in range(0, 8, 3):
            if vertical:
                cv.fill(x + 1, y + k + 1, w - 2, 1, c(P["white"]))
                cv.fill(x + 1, y + k, w - 2, 1, c(P["borderDark"]))
            else:
                cv.fill(x + k + 1, y + 1, 1, h - 2, c(P["white"]))
                cv.fill(x + k, y + 1, 1, h - 2, c(P["borderDark"]))
    return paint


def paint_status_gripper(cv, x, y, w, h, state, c):
    for i in range(3):
        for j in range(3 - i):
            px, py = x + w - 3 - 4 * i, y + h - 3 - 4 * j
            cv.fill(px + 1, py + 1, 2, 2, c(P["white"]))
            cv.fill(px, py, 2, 2, c(P["border"]))


def paint_caption_glyph(kind, n):
    tints = {"normal": "captionDark", "hot": "borderDark", "pressed": "white", "disabled": "grey",
             "soft": "caption"}

    def paint(cv, xx, yy, w, h, state, c):
        if kind == "Close" and state in ("hot", "pressed"):
            bg = looks(c, "closeHot" if state == "hot" else "closePressed")
            panel(cv, xx, yy, w, h, bg[0], bg[1], bg[2], 2)
            colour = c(P["white"])
        else:
            colour = c(P[tints[state]])
        caption_glyph(cv, xx, yy, n, kind, colour)
    return paint


def paint_check_box(radio):
    # 4 look bases (normal, hot, pressed, disabled) times unchecked, checked, mixed.
    bases = ["normal", "hot", "pressed", "disabled"]

    def paint(cv, x, y, w, h, state, c):
        look = bases[state % 4]
        border, top, bottom = looks(c, look)
        if radio:
            inside = rounded_mask(w, h, w // 2)
            for yy in range(h):
                for xx in range(w):
                    if inside(xx, yy):
                        edge = any(not (0 <= xx + dx < w and 0 <= yy + dy < h) or not inside(xx + dx, yy + dy)
                                   for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                        cv.set(x + xx, y + yy, border if edge else mix(top, bottom, yy / (h - 1)))
        else:
            panel(cv, x, y, w, h, border, top, bottom, 0, inner=c(P["white"]))
        mark = c(P["grey"] if look == "disabled" else P["text"])
        if state // 4 == 1:
            if radio:
                cv.fill(x + w // 2 - 2, y + h // 2 - 2, 5, 5, mark)
            else:
                check_mark(cv, x, y, w, h, mark)
        elif state // 4 == 2:
            cv.fill(x + 3, y + 3, w - 6, h - 6, mark)
    return paint


def paint_menu_mark(cv, x, y, w, h, state, c):
    colour = c(P["text"] if state in (0, 2) else P["grey"])
    if state < 2:
        check_mark(cv, x, y, w, h, colour)
    else:
        cv.fill(x + w // 2 - 2, y + h // 2 - 2, 4, 4, colour)
        cv.fill(x + w // 2 - 1, y + h // 2 - 3, 2, 6, colour)
        cv.fill(x + w // 2 - 3, y + h // 2 - 1, 6, 2, colour)


def paint_tab(cv, x, y, w, h, state, c):
    border, top, bottom = looks(c, state)
    inside = rounded_mask(w, h + 4, 3)
    for yy in range(h):
        for xx in range(w):
            if not inside(xx, yy):
                continue
            edge = xx in (0, w - 1) or yy == 0 or not inside(xx, yy - 1) or not inside(xx - 1, yy) or not inside(
                xx + 1, yy)
            cv.set(x + xx, y + yy, border if edge else mix(top, bottom, yy / (h - 1)))


def paint_thumb(vertical):
    def paint(cv, x, y, w, h, state, c):
        border, top, bottom = looks(c, state)
        panel(cv, x, y, w, h, border, top, bottom, 1, inner=c(P["white"]), horizontal=vertical)
    return paint


def paint_track(vertical, dark):
    def paint(cv, x, y, w, h, state, c):
        a, b = (c(P["faceDark"]), c(P["faceDeep"])) if dark else (c(P["faceLighter"]), c(P["faceLight"]))
        if state == "pressed":
            a, b = c(P["borderLight"]), c(P["border"])
        cv.gradient(x, y, w, h, a, b, horizontal=not vertical)
        edge = c(P["borderLight"])
        if vertical:
            cv.fill(x, y, 1, h, edge)
            cv.fill(x + w - 1, y, 1, h, edge)
        else:
            cv.fill(x, y, w, 1, edge)
            cv.fill(x, y + h - 1, w, 1, edge)
    return paint


def paint_slider_button(sign):
    def paint(cv, x, y, w, h, state, c):
        border, top, bottom = looks(c, state)
        inside = rounded_mask(w, h, w // 2)
        for yy in range(h):
            for xx in range(w):
                if inside(xx, yy):
                    edge = any(not (0 <= xx + dx < w and 0 <= yy + dy < h) or not inside(xx + dx, yy + dy)
                               for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                    cv.set(x + xx, y + yy, border if edge else mix(top, bottom, yy / (h - 1)))
        g = c(P["text"])
        cv.fill(x + w // 2 - 3, y + h // 2 - 1, 7, 2, g)
        if sign == "+":
            cv.fill(x + w // 2 - 1, y + h // 2 - 3, 2, 6, g)
    return paint


def paint_slider_thumb(cv, x, y, w, h, state, c):
    border, top, bottom = looks(c, state)
    for yy in range(h):
        half = w // 2 if yy < h - w // 2 else h - 1 - yy
        for xx in range(w // 2 - half, w - (w // 2 - half)):
            edge = yy == 0 or xx == w // 2 - half or xx == w - 1 - (w // 2 - half) or yy >= h - w // 2 and (
                xx in (w // 2 - half, w - 1 - (w // 2 - half)))
            cv.set(x + xx, y + yy, border if edge else mix(top, bottom, yy / (h - 1)))


def paint_progress_chunk(cv, x, y, w, h, state, c):
    a, b = A(120, 220, 80), A(40, 160, 30)
    cv.gradient(x, y, w, h, a, b)
    cv.fill(x, y, w, 1, A(170, 235, 140))
    cv.fill(x + w - 4, y, 4, h, mix(b, (255, 255, 255), 0.35))
    cv.fill(x + w - 1, y, 1, h, None)
    cv.set(x, y, None)
    cv.set(x, y + h - 1, None)


def paint_workspace_corner(cv, x, y, w, h, state, c):
    cv.gradient(x, y, w, h, c(P["faceDeep"]), c(P["border"]))
    for k in range(0, min(w, h), 6):
        line(cv, x + k, y, x, y + k, mix(c(P["faceDeep"]), c(P["white"]), 0.25))


def paint_orb(cv, x, y, w, h, state, c):
    border, top, bottom = looks(c, state)
    inside = rounded_mask(w, h, w // 2)
    for yy in range(h):
        for xx in range(w):
            if inside(xx, yy):
                edge = not inside(xx - 1, yy) or not inside(xx + 1, yy) or not inside(xx, yy - 1) or not inside(
                    xx, yy + 1) or xx in (0, w - 1) or yy in (0, h - 1)
                cv.set(x + xx, y + yy, border if edge else mix(top, bottom, yy / (h - 1)))


def paint_frame_corner(right):
    def paint(cv, x, y, w, h, state, c):
        border, top, bottom = looks(c, state)
        inside = rounded_mask(w * 2, h * 2, 4)
        for yy in range(h):
            for xx in range(w):
                gx = xx + (w if right else 0)
                gy = yy + h
                if inside(gx, gy):
                    edge = yy == h - 1 or xx == (w - 1 if right else 0) or not inside(gx, gy + 1) or not inside(
                        gx + (1 if right else -1), gy)
                    cv.set(x + xx, y + yy, border if edge else bottom)
    return paint


def paint_shadow(cv, x, y, w, h, state, c):
    for yy in range(h):
        cv.fill(x + 1, y + yy, w - 2, 1, mix(c(P["shadow"]), c(P["faceLight"]), yy / max(1, h - 1)))


def paint_popup_grip(kind):
    def paint(cv, x, y, w, h, state, c):
        dark, light = c(P["border"]), c(P["white"])
        if kind == "face":
            cv.gradient(x, y, w, h, c(P["faceLighter"]), c(P["faceLight"]))
            cv.fill(x, y, w, 1, c(P["borderLight"]))
            return
        pts = [(w - 4, h - 4), (w - 8, h - 4), (w - 4, h - 8)] if kind == "width" else \
            [(w // 2 - 6, h // 2 - 1), (w // 2 - 2, h // 2 - 1), (w // 2 + 2, h // 2 - 1)]
        for px, py in pts:
            cv.fill(x + px + 1, y + py + 1, 2, 2, light)
            cv.fill(x + px, y + py, 2, 2, dark)
    return paint


def paint_small_glyph(direction, tint="glyph"):
    def paint(cv, x, y, w, h, state, c):
        key = {"disabled": "grey", "hot": "glyphHot", "pressed": "captionDark"}.get(state, tint)
        triangle(cv, x, y, w, h, direction, c(P[key]), size=min(w, h) - 1)
    return paint


def paint_tick(cv, x, y, w, h, state, c):
    cv.fill(x + w // 2, y, 1, h, c(P["borderDark"]))
    cv.fill(x + w // 2 + 1, y, 1, h, c(P["white"]))


def paint_slider_track(cv, x, y, w, h, state, c):
    cv.fill(x, y, w, h, c(P["border"]))
    cv.fill(x, y + h - 1, w, 1, c(P["white"]))


def paint_group(client):
    def paint(cv, x, y, w, h, state, c):
        if client:
            border, top, bottom = c(P["borderLight"]), c(P["faceLighter"]), c(P["faceLight"])
            if state == "hot":
                top, bottom = c(P["white"]), c(P["faceLighter"])
        else:
            border, top, bottom = c(P["borderLight"]), c(P["faceDark"]), c(P["face"])
            if state == "hot":
                top, bottom = c(P["face"]), c(P["faceLight"])
        panel(cv, x, y, w, h, border, top, bottom, 3)
    return paint


def paint_context(tint, part):
    def paint(cv, x, y, w, h, state, c):
        base = tint
        light = mix(base, (255, 255, 255), 0.75)
        lighter = mix(base, (255, 255, 255), 0.9)
        dark = mix(base, (0, 0, 0), 0.25)
        if part == "tab":
            look = {"normal": (dark, light, base), "hot": (dark, lighter, light),
                    "pressed": (dark, base, dark)}[state]
            panel(cv, x, y, w, h, look[0], look[1], look[2], 3)
        elif part == "header":
            cv.gradient(x, y, w, h, lighter, base)
            cv.fill(x, y, w, 2, dark)
        elif part == "button":
            look = {"normal": (dark, lighter, light), "hot": (dark, light, base), "pressed": (dark, base, dark)}[state]
            panel(cv, x, y, w, h, look[0], look[1], look[2], 2)
        elif part == "groupclient":
            top = lighter if state == "normal" else (255, 255, 255)
            panel(cv, x, y, w, h, dark, top, light, 3)
        else:
            panel(cv, x, y, w, h, dark, lighter, light, 3 if part != "background" else 1)
    return paint


def paint_switch(cv, x, y, w, h, state, c):
    # Three switches, each in a normal and a hot look.
    idx, hot = state // 2, state % 2
    border, top, bottom = looks(c, "hot" if hot else "normal")
    panel(cv, x, y, w, h, border, top, bottom, 1)
    g = c(P["text"])
    if idx == 0:
        cv.fill(x + 4, y + 4, w - 8, h - 8, g)
    elif idx == 1:
        for k in range(3):
            cv.fill(x + 4, y + 4 + k * 3, w - 8, 2, g)
    else:
        cv.fill(x + 4, y + 4, (w - 8) // 2, h - 8, g)


# Sizes chosen where the drawing code leaves them open; the drawing code
# (element themes, ribbon, frames) keeps in step with this table.
def catalogue():
    imgs = []
    add = imgs.append
    btn = paint_button()
    st3 = ["normal", "hot", "pressed"]
    st5d = ["normal", "hot", "pressed", "disabled", "soft"]

    # Ribbon groups, tabs and their frame.
    add(Image("RibbonGroupClient", 2, (40, 60), (5, 5, 5, 5), paint=paint_group(True),
              states=["normal", "hot"]))
    add(Image("RibbonGroupCaption", 2, (40, 17), (5, 5, 5, 5), paint=paint_group(False),
              states=["normal", "hot"]))
    add(Image("ContextTabGroupClient", 2, (40, 60), (5, 5, 5, 5), paint=paint_group(True),
              states=["normal", "hot"]))
    add(Image("ContextTabGroupCaption", 2, (40, 17), (5, 5, 5, 5), paint=paint_group(False),
              states=["normal", "hot"]))
    add(Image("RibbonGroupSeparator", 1, (3, 60), paint=paint_separator()))
    add(Image("RibbonGroupButton", 3, (40, 64), (5, 5, 5, 5), paint=btn, states=st3))
    add(Image("RibbonGroupButtonIcon", 1, (32, 32), paint=btn))
    add(Image("RibbonGroupQuickAccess", 3, (22, 22), (2, 2, 2, 2), paint=btn, states=st3))
    add(Image("RibbonOptionButton", 4, (15, 14), keyed=True, fixed=True, paint=paint_arrow_button("down"),
              states=["normal", "hot", "pressed", "soft"]))
    add(Image("RibbonTab", 6, (30, 23), (5, 5, 5, 5), keyed=True, paint=paint_tab,
              states=["normal", "hot", "active", "checked", "checkedHot", "pressed"]))
    add(Image("RibbonTabSeparator", 1, (1, 22), paint=paint_face("faceLight", "border")))
    add(Image("ContextTabSeparator", 1, (1, 22), paint=paint_face("faceLight", "borderDark")))
    add(Image("RibbonGroups", 1, (40, 40), (8, 8, 8, 8), paint=paint_frame("borderLight", "faceLight")))
    add(Image("RibbonTabBackgroundDwm", 1, (40, 23), (10, 0, 10, 0),
              paint=paint_face("faceLighter", "face")))
    add(Image("RibbonQuickAccessFrame", 1, (20, 20), (3, 3, 3, 3),
              paint=paint_frame("border", "faceLight")))
    add(Image("RibbonGroupPopupBackground", 1, (40, 60), (8, 8, 8, 8),
              paint=paint_frame("borderLight", "faceLighter")))
    for part in ("Left", "Center", "Right"):
        add(Image("FrameTop" + part, 2, (12 if part != "Center" else 20, 30), (0, 5, 0, 3),
                  paint=paint_face("faceLighter", "face", edge="borderLight"), states=["normal", "inactive"]))
    add(Image("SystemIconSeparator", 1, (2, 16), paint=paint_separator()))
    add(Image("RibbonQuickAccessButton", 5, (22, 22), (2, 2, 2, 2), paint=paint_arrow_button("down"),
              states=st5d))
    add(Image("RibbonQuickAccessMore", 4, (13, 22), (2, 2, 2, 2), paint=paint_arrow_button("right"),
              states=["normal", "hot", "pressed", "soft"]))
    add(Image("FrameSystemButton", 3, (42, 42), paint=paint_orb, states=st3))
    add(Image("FrameSystemButton52", 3, (52, 52), paint=paint_orb, states=st3))
    add(Image("FileButton", 3, (56, 23), (3, 3, 3, 3), paint=btn, states=st3))
    add(Image("RibbonGroupsScrollLeft", 3, (12, 90), (4, 6, 3, 6), keyed=True, paint=btn, states=st3))
    add(Image("RibbonGroupsScrollRight", 3, (12, 90), (3, 6, 4, 6), keyed=True, paint=btn, states=st3))
    add(Image("RibbonGroupsScrollLeftGlyph", 3, (5, 9), keyed=True, paint=paint_small_glyph("left"),
              states=st3))
    add(Image("RibbonGroupsScrollRightGlyph", 3, (5, 9), keyed=True, paint=paint_small_glyph("right"),
              states=st3))
    add(Image("MorePopupBarFrame", 1, (30, 30), (4, 4, 4, 4), paint=paint_frame("border", "faceLighter", 0)))
    add(Image("PopupBarFrame", 1, (30, 30), (4, 4, 4, 4), paint=paint_frame("borderDark", "white", 0)))
    # The application menu's sizing margins are its borders: (6, 18, 6, 29).
    add(Image("RibbonSystemMenu", 1, (40, 60), (6, 18, 6, 29), paint=paint_frame("border", "faceLight", 0)))
    add(Image("RibbonSystemMenuButton", 2, (60, 22), (2, 2, 2, 2), keyed=True, paint=btn,
              states=["normal", "hot"]))
    for part in ("Single", "Left", "Right", "Center"):
        add(Image("ToolbarButtonsSpecial" + part, 5, (22, 22), (2, 2, 2, 2), keyed=True, paint=btn,
                  states=["normal", "hot", "pressed", "checked", "disabled"]))
    add(Image("RibbonQuickAccessArea", 1, (40, 26), (16, 3, 16, 3),
              paint=paint_frame("borderLight", "faceLight")))
    add(Image("RibbonQuickAccessAreaDwm", 1, (40, 26), (16, 3, 16, 3),
              paint=paint_frame("border", "faceLighter")))

    # Context tabs, one family per colour.
    for colour, tint in CONTEXT_COLOURS:
        add(Image("ContextTab" + colour, 3, (30, 23), (5, 5, 5, 5), paint=paint_context(tint, "tab"), states=st3))
        add(Image("ContextTab" + colour + "Header", 1, (30, 20), (2, 4, 2, 2), paint=paint_context(tint, "header")))
        add(Image("ContextTab" + colour + "Client", 1, (40, 40), (8, 8, 8, 8), paint=paint_context(tint, "client")))
        add(Image("ContextTab" + colour + "Background", 1, (20, 20), (2, 2, 2, 2),
                  paint=paint_context(tint, "background")))
        add(Image("ContextTab" + colour + "GroupButton", 3, (40, 64), (5, 5, 5, 5),
                  paint=paint_context(tint, "button"), states=st3))
        add(Image("ContextTab" + colour + "GroupPopupBackground", 1, (40, 60), (8, 8, 8, 8),
                  paint=paint_context(tint, "popup")))
        add(Image("ContextTab" + colour + "GroupClient", 2, (40, 60), (5, 5, 5, 5),
                  paint=paint_context(tint, "groupclient"), states=["normal", "hot"]))

    # The ribbon's command-bar theme.
    add(Image("MenuCheckedItem", 2, (22, 22), (2, 2, 2, 2), paint=btn, states=["checked", "disabled"]))
    for name in ("MenuSelectedItem22", "MenuSelectedItem54"):
        add(Image(name, 1, (30, 22 if name.endswith("22") else 54), (4, 4, 4, 4), paint=btn, states=["hot"]))
    for name in ("MenuSelectedDisabledItem22", "MenuSelectedDisabledItem54"):
        add(Image(name, 1, (30, 22 if name.endswith("22") else 54), (4, 4, 4, 4), paint=btn,
                  states=["disabled"]))
    for name, h in (("ToolbarButtons22", 22), ("ToolbarButtons50", 50)):
        add(Image(name, 4, (22, h), (4, 4, 4, 4), paint=btn, states=["hot", "pressed", "checked", "checkedHot"]))
    add(Image("ToolbarButtonCheckBox", 12, (13, 13), fixed=True, paint=paint_check_box(False),
              states=list(range(12))))
    add(Image("ToolbarButtonRadioButton", 8, (13, 13), fixed=True, paint=paint_check_box(True),
              states=list(range(8))))
    add(Image("MenuCheckedItemMark", 4, (16, 16), keyed=True, paint=paint_menu_mark, states=list(range(4))))
    add(Image("PopupBarResizeGripperFace", 1, (20, 11), keyed=True, paint=paint_popup_grip("face")))
    add(Image("PopupBarResizeGripperWidth", 1, (11, 11), keyed=True, paint=paint_popup_grip("width")))
    add(Image("PopupBarResizeGripperHeight", 1, (16, 7), keyed=True, paint=paint_popup_grip("height")))
    add(Image("TooltipFrame", 1, (20, 20), (3, 3, 3, 3), keyed=True, paint=paint_frame("border", "faceLighter")))
    add(Image("ToolbarButtonsComboDropDown", 5, (14, 20), (2, 2, 2, 2), paint=paint_arrow_button("down"),
              states=["normal", "soft", "hot", "pressed", "disabled"]))
    add(Image("ToolbarButtonSpinArrowsVertical", 10, (18, 10), (2, 2, 2, 2), fixed=True, paint=btn,
              states=["normal", "hot", "soft", "pressed", "disabled"] * 2))
    add(Image("ToolbarButtonSpinArrowGlyphs", 16, (7, 7), keyed=True, paint=paint_glyph_cells(False),
              states=list(range(16))))
    add(Image("MenuPopupGlyph", 2, (8, 8), keyed=True, paint=paint_small_glyph("right", "text"),
              states=["normal", "disabled"]))
    add(Image("ToolbarExpandButtonVertical", 3, (22, 13), (2, 2, 2, 2), paint=paint_arrow_button("down"),
              states=st3))
    add(Image("ToolbarExpandButtonHorizontal", 3, (13, 22), (2, 2, 2, 2), paint=paint_arrow_button("down"),
              states=st3))
    for name, h in (("ToolbarButtonsSplit22", 22), ("ToolbarButtonsSplit50", 50),
                    ("ToolbarButtonsSplitDropDown22", 22), ("ToolbarButtonsSplitDropDown50", 50)):
        add(Image(name, 4, (22 if "DropDown" not in name else 12, h), (3, 3, 3, 3), paint=btn,
                  states=["hot", "pressed", "checked", "soft"]))
    for part in ("SplitLeft", "SplitCenter", "SplitDropDownCenter", "SplitDropDownRight"):
        add(Image("ToolbarButtonsSpecial" + part, 5, (22 if "DropDown" not in part else 12, 22), (2, 2, 2, 2),
                  keyed=True, paint=btn, states=["normal", "hot", "pressed", "checked", "disabled"]))
    add(Image("MenuSplitItem", 3, (30, 22), (2, 2, 2, 2), paint=btn, states=["normal", "hot", "pressed"]))
    add(Image("MenuSplitDropDown", 3, (20, 22), (2, 2, 2, 2), paint=btn, states=["normal", "hot", "pressed"]))
    add(Image("ToolbarFaceHorizontal", 1, (40, 26), (3, 3, 3, 3),
            paint=paint_face("faceLighter", "faceDark", edge="border")))
    add(Image("ToolbarFaceVertical", 1, (26, 40), (3, 3, 3, 3),
              paint=paint_face("faceLighter", "faceDark", True)))
    add(Image("StatusBarDevider", 1, (3, 22), paint=paint_separator()))
    add(Image("StatusBarSeparator", 1, (2, 22), paint=paint_separator()))
    add(Image("StatusBarSwitches", 6, (18, 18), paint=paint_switch, states=list(range(6))))

    # Element themes: scroll bars, progress, slider, gallery buttons, status bar.
    add(Image("ControlGalleryScrollArrowGlyphs", 16, (9, 9), keyed=True, fixed=True,
              paint=paint_glyph_cells(False), states=list(range(16))))
    add(Image("ControlGalleryScrollArrowGlyphsDark", 16, (9, 9), keyed=True, fixed=True,
              paint=paint_glyph_cells(True), states=list(range(16))))
    for vertical, orient in ((True, "Vertical"), (False, "Horizontal")):
        size = (17, 20) if vertical else (20, 17)
        for dark in (False, True):
            look = "Dark" if dark else "Light"
            add(Image("ControlGalleryScroll" + orient + look, 2, size, paint=paint_track(vertical, dark),
                      states=["normal", "pressed"]))
            add(Image("ControlGalleryScrollArrows" + orient + look, 4, (17, 17), (3, 3, 3, 3), keyed=True,
                      paint=btn, states=["normal" if not dark else "dark", "soft", "hot", "pressed"]))
        add(Image("ControlGalleryScrollThumb" + orient, 3, (15, 18) if vertical else (18, 15), (3, 3, 3, 3),
                  paint=paint_thumb(vertical), states=st3))
        add(Image("ControlGalleryScrollThumb" + orient + "Dark", 3, (15, 18) if vertical else (18, 15),
                  (3, 3, 3, 3), paint=paint_thumb(vertical), states=["dark", "hot", "pressed"]))
        add(Image("ControlGalleryScrollThumbGripper" + orient, 1, (8, 8), keyed=True, fixed=True,
                  paint=paint_gripper(vertical)))
    add(Image("ControlGalleryScrollSizeBoxLight", 1, (17, 17), paint=paint_face("faceLighter", "faceLight")))
    add(Image("ControlGalleryScrollSizeBoxDark", 1, (17, 17), paint=paint_face("faceDark", "faceDeep")))
    add(Image("ProgressTrack", 1, (20, 14), (2, 2, 2, 2), keyed=True,
              paint=paint_frame("border", "faceLighter", 1)))
    add(Image("ProgressChunk", 1, (16, 10), (2, 2, 2, 2), keyed=True, paint=paint_progress_chunk))
    add(Image("SliderUp", 3, (15, 15), paint=paint_slider_button("-"), states=st3))
    add(Image("SliderDown", 3, (15, 15), paint=paint_slider_button("+"), states=st3))
    add(Image("SliderTrack", 1, (20, 3), paint=paint_slider_track))
    add(Image("SliderTick", 1, (3, 5), keyed=True, paint=paint_tick))
    add(Image("SliderThumb", 3, (11, 16), keyed=True, fixed=True, paint=paint_slider_thumb, states=st3))
    gallery = ["normal", "soft", "hot", "pressed", "disabled"]
    add(Image("ControlGalleryUp", 5, (15, 21), keyed=True, fixed=True, paint=paint_arrow_button("up"),
              states=gallery))
    add(Image("ControlGalleryDown", 5, (15, 19), keyed=True, fixed=True, paint=paint_arrow_button("down"),
              states=gallery))
    add(Image("ControlGalleryPopup", 5, (15, 22), (2, 2, 2, 2), keyed=True, fixed=True,
              paint=paint_arrow_button("down"), states=gallery))
    add(Image("StatusBarLight", 1, (20, 23), paint=paint_face("faceLighter", "faceDark", edge="faceDeep")))
    add(Image("StatusBarDark", 1, (20, 23), paint=paint_face("faceDark", "faceDeep", edge="border")))
    add(Image("StatusBarGripper", 1, (12, 12), keyed=True, paint=paint_status_gripper))

    # The MDI workspace, buttons and tabs of other controls.
    add(Image("WorkspaceTopLeft", 1, (96, 60), paint=paint_workspace_corner))
    add(Image("PushButton", 5, (40, 22), (4, 4, 4, 4), keyed=True, paint=btn,
              states=["normal", "checked", "hot", "disabled", "default"]))
    add(Image("AccessTab", 4, (60, 28), (5, 10, 22, 10), keyed=True, paint=paint_tab,
              states=["normal", "hot", "active", "checkedHot"]))
    add(Image("TabControlPage", 1, (40, 40), (8, 8, 8, 8), paint=paint_frame("border", "faceLighter")))

    # Frames.
    add(Image("FrameBottomLeft", 2, (8, 8), keyed=True, paint=paint_frame_corner(False),
              states=["active", "inactive"]))
    add(Image("FrameBottomRight", 2, (8, 8), keyed=True, paint=paint_frame_corner(True),
              states=["active", "inactive"]))
    add(Image("FrameCaptionButton", 2, (25, 21), (3, 3, 3, 3), keyed=True, paint=btn, states=["hot", "pressed"]))
    for kind in ("Minimize", "Maximize", "Close", "Restore"):
        add(Image("FrameCaption" + kind + "Button", 2, (25, 21), (3, 3, 3, 3), keyed=True, paint=btn,
                  states=["hot", "pressed"] if kind != "Close" else ["closeHot", "closePressed"]))
        for n in (13, 17, 23):
            add(Image("FrameCaption%s%d" % (kind, n), 5, (n, n), keyed=True, fixed=True,
                      paint=paint_caption_glyph(kind, n), states=["normal", "hot", "pressed", "disabled", "soft"]))

    # Backstage view.
    add(Image("BackstageButton", 5, (40, 24), (4, 4, 4, 4), keyed=True, paint=btn,
              states=["normal", "checked", "hot", "disabled", "default"]))
    add(Image("BackstageButtonShadow", 1, (20, 3), (3, 0, 3, 0), keyed=True, paint=paint_shadow))
    add(Image("BackstagePaneSeparator", 1, (3, 80), (0, 30, 0, 30), paint=paint_separator()))
    add(Image("BackstageButtonGlyph", 1, (8, 12), keyed=True, paint=paint_small_glyph("right", "text")))
    add(Image("BackstageTopBorder", 1, (20, 4), paint=paint_face("border", "faceDark")))
    add(Image("BackstageMenuBackground", 1, (132, 20), paint=paint_face("faceLight", "faceDark", True)))
    add(Image("BackstageMenuCommand", 3, (40, 26), (2, 2, 2, 2), paint=btn, states=["hot", "pressed", "disabled"]))
    add(Image("BackstageMenuPage", 4, (40, 36), (2, 2, 2, 2), paint=btn,
              states=["hot", "checked", "pressed", "disabled"]))
    add(Image("BackstageMenuPageGlyph", 1, (8, 16), keyed=True, paint=paint_small_glyph("left", "white")))
    return imgs

# ---------------------------------------------------------------------------
# INI values. A colour is a palette key or an (r, g, b) of the blue scheme;
# Accent values pass unchanged. Ints, sizes and rectangles are strings.

def C(r, g, b):
    return (r, g, b)


SECTIONS = [
    ("Theme", [("Compatibility", "Office2007")]),
    ("Window", [
        ("ButtonFace", C(191, 219, 255)),
        ("WindowFrame", C(101, 147, 207)),
        ("HighlightSelected", A(255, 231, 162)),
        ("HighlightSelectedBorder", A(255, 189, 105)),
        ("HighlightPressed", A(255, 171, 63)),
        ("HighlightPressedBorder", A(251, 140, 60)),
        ("HighlightChecked", A(255, 189, 105)),
        ("HighlightCheckedBorder", A(255, 171, 63)),
        ("HighlightSelectedDark", A(255, 219, 117)),
        ("HighlightSelectedLight", A(255, 245, 204)),
        ("HighlightCheckedDark", A(255, 171, 63)),
        ("HighlightCheckedLight", A(255, 207, 146)),
        ("HighlightPressedDark", A(255, 184, 94)),
        ("HighlightPressedLight", A(252, 151, 61)),
        ("TooltipLight", A(255, 255, 255)),
        ("TooltipDark", C(201, 217, 239)),
        ("TooltipBorder", C(118, 118, 118)),
        ("FlatFrame", "0"),
        ("BorderActive0", C(59, 90, 130)),
        ("BorderActive1", C(177, 198, 225)),
        ("BorderActive2", C(194, 217, 247)),
        ("BorderActive3", C(176, 203, 239)),
        ("BorderInactive0", C(192, 198, 206)),
        ("BorderInactive1", C(204, 214, 226)),
        ("BorderInactive2", C(212, 222, 236)),
        ("BorderInactive3", C(204, 216, 232)),
        ("CaptionTextActiveTitle", C(62, 106, 170)),
        ("CaptionTextInActive", C(106, 128, 164)),
        ("CaptionTextActive", C(21, 66, 139)),
    ]),
    ("Workspace", [
        ("AppWorkspace", C(164, 195, 235)),
        ("WorkspaceClientTop", C(136, 170, 214)),
        ("WorkspaceClientMiddle", C(86, 126, 177)),
        ("WorkspaceClientBottom", C(101, 145, 205)),
    ]),
    ("StatusBar", [
        ("StatusBarShadow", A(255, 255, 255)),
        ("StatusBarFaceTopDark", C(198, 222, 255)),
        ("StatusBarFaceTopLight", C(227, 239, 255)),
        ("StatusBarFaceBottomDark", C(192, 219, 255)),
        ("StatusBarFaceBottomLight", C(173, 209, 255)),
        ("StatusBarText", C(21, 66, 139)),
        ("StatusBarTextGray", C(110, 128, 160)),
        ("GripperLite", A(255, 255, 255)),
        ("GripperDark", C(101, 147, 207)),
        ("TextColor", C(21, 66, 139)),
        ("TextGrayColor", C(110, 128, 160)),
        ("BackgroundColor", C(191, 219, 255)),
    ]),
    ("MessageBar", [
        ("MessageBarHeight", "40"),
        ("MessageBarDefaultButtonSize", "90 24"),
        ("MessageBarDark", C(229, 244, 254)),
        ("MessageBarLight", A(255, 255, 255)),
        ("MessageBarFrame", C(162, 188, 213)),
        ("MessageBarText", C(21, 74, 147)),
        ("MessageBar", C(196, 219, 249)),
    ]),
    ("Toolbar", [
        ("DockBarFace", C(191, 219, 255)),
        ("ToolbarFaceDark", C(177, 211, 255)),
        ("ToolbarFaceLight", C(227, 239, 255)),
        ("ToolbarFaceShadow", C(111, 157, 217)),
        ("ControlToolbarExpandDark", C(116, 161, 220)),
        ("ControlToolbarExpandLight", C(215, 232, 255)),
        ("ControlHighlightPopupedDark", C(153, 191, 240)),
        ("ControlHighlightPopupedLight", C(227, 239, 255)),
        ("MenuPopupGripperDark", C(233, 238, 238)),
        ("MenuPopupGripperLight", C(233, 238, 238)),
        ("MenuPopupExpandedGripperDark", C(215, 227, 234)),
        ("MenuPopupExpandedGripperLight", C(215, 227, 234)),
        ("MenuPopupTearOffGripper", C(169, 199, 240)),
        ("MenuBarText", A(0, 0, 0)),
        ("MenuPopupBorder", C(101, 147, 207)),
        ("ToolbarGripper", C(111, 157, 217)),
        ("FloatingBarGripper", C(55, 100, 160)),
        ("FloatingBarGripperText", A(255, 255, 255)),
        ("FloatingBarBorder", C(55, 100, 160)),
        ("ToolbarFace", C(191, 219, 255)),
        ("ToolbarSeparator", C(154, 198, 255)),
        ("ControlDisabledIcon", C(101, 147, 207)),
        ("ControlDisabledIconDark", C(92, 114, 150)),
        ("ControlDisabledIconLight", C(236, 244, 255)),
        ("ControlLabel", C(221, 231, 238)),
        ("ControlEditBorder", C(171, 193, 222)),
        ("ControlEditDisabledBorder", C(177, 187, 198)),
        ("ControlGallerySelected", C(255, 255, 255)),
        ("ControlGalleryNormal", C(236, 243, 251)),
        ("ControlGalleryBorder", C(171, 193, 222)),
    ]),
    ("Ribbon", [
        ("RibbonFace", C(191, 219, 255)),
        ("RibbonInactiveFace", C(211, 227, 250)),
        ("RibbonText", C(21, 66, 139)),
        ("RibbonGrayText", A(141, 141, 141)),
        ("TabNormalText", C(21, 66, 139)),
        ("TabHighlightText", C(21, 66, 139)),
        ("TabSelectedText", C(21, 66, 139)),
        ("GroupCaptionText", C(62, 106, 170)),
        ("GroupClientText", C(21, 66, 139)),
        ("MinimizedFrameEdgeHighLight", A(255, 255, 255)),
        ("MinimizedFrameEdgeShadow", C(141, 178, 227)),
        ("RecentFileListEdgeShadow", C(197, 210, 223)),
        ("RecentFileListEdgeHighLight", A(245, 245, 245)),
        ("RecentFileListBackground", C(233, 238, 238)),
        ("GroupSpacing", "2"),
        ("FileButtonText", C(21, 66, 139)),
        ("FileButtonMargin", "0 0 0 0"),
        ("FileButtonImageCount", "3"),
        ("ControlEditNormal", C(234, 242, 251)),
        ("ControlEditSelected", A(255, 255, 255)),
        ("MenuPopupText", A(0, 0, 0)),
        ("MenuPopupGripper", C(233, 238, 238)),
        ("MenuPopupExpandedGripperDark", C(215, 227, 234)),
        ("MenuPopupExpandedGripperLight", C(215, 227, 234)),
        ("ControlHighlightText", A(0, 0, 0)),
        ("MenuPopupSeparator", A(197, 197, 197)),
        ("MenuPopupGripperShadow", A(197, 197, 197)),
        ("BackstageMenuTextColor", C(21, 66, 139)),
    ]),
    ("DockingPane", []),
    ("TabManager", [
        ("FrameBorder", C(101, 147, 207)),
        ("DarkShadow", C(59, 90, 130)),
        ("LightShadow", A(255, 255, 255)),
        ("AccessBorder", C(154, 198, 255)),
        ("AccessHeader", C(227, 239, 255)),
    ]),
    ("ShortcutBar", []),
    ("Controls", [("GroupBoxFrame", C(154, 198, 255))]),
    ("PopupControl", []),
    ("PropertyGrid", []),
    ("ListBox", []),
    ("ReportControl", []),
    ("CalendarControl", []),
    ("DatePicker", []),
    ("ComboBox", []),
    ("RibbonComboBox", []),
    ("Images", None),
    ("Common.ScrollBar", []),
]

# ---------------------------------------------------------------------------
# Output

def render(img, tone):
    w, fh = img.size
    cv = Canvas(w, fh * img.frames)
    for n, state in enumerate(img.states):
        img.paint(cv, 0, n * fh, w, fh, state, lambda rgb: rgb if isinstance(rgb, Accent) else tone(rgb))
    rows = []
    for y in range(cv.h):
        row = []
        for x in range(cv.w):
            p = cv.px[y][x]
            if p is None:
                if not (img.keyed or img.alpha):
                    raise SystemExit("%s: transparent pixel at %d,%d in an opaque image" % (img.name, x, y))
                row.append((0, 0, 0, 0) if img.alpha else MAGENTA)
            else:
                if tuple(p) == MAGENTA:
                    raise SystemExit("%s: the key colour drawn at %d,%d" % (img.name, x, y))
                row.append((p[0], p[1], p[2], 255) if img.alpha else tuple(p))
        rows.append(row)
    # Adjacent frames must be told apart.
    for n in range(1, img.frames):
        if rows[(n - 1) * fh:n * fh] == rows[n * fh:(n + 1) * fh]:
            raise SystemExit("%s: frames %d and %d are equal" % (img.name, n - 1, n))
    l, t, r, b = img.margins
    if w <= l + r or fh <= t + b:
        raise SystemExit("%s: frames do not exceed their margins" % img.name)
    return raster.png_bytes(rows, img.alpha)


def ini_text(scheme, tone, imgs):
    lines = ["; %s colour scheme: colours and the images of the resource themes." % scheme[len("Office2007"):]]
    for section, entries in SECTIONS:
        lines.append("[%s]" % section)
        if entries is None:
            for img in imgs:
                lines.append("%s = %s\\%s.bmp" % (img.name, scheme, img.name))
            continue
        for key, value in entries:
            if isinstance(value, tuple):
                rgb = value if isinstance(value, Accent) else tone(value)
                value = "%d %d %d" % rgb
            lines.append("%s = %s" % (key, value))
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def rc_text(imgs):
    lines = ["// The four colour schemes of the resource themes and the ribbon, written",
             "// by tools/colourschemes/make_colour_schemes.py. Programs that draw with",
             "// the resource themes include this script in their own resources.", ""]
    for scheme, _ in SCHEMES:
        lines.append('%s_INI TEXTFILE "%s.ini"' % (scheme.upper(), scheme))
    for scheme, _ in SCHEMES:
        lines.append("")
        for img in imgs:
            lines.append('%s_%s_BMP PNG "%s/%s.png"' % (scheme.upper(), img.name.upper(), scheme, img.name))
    return ("\n".join(lines) + "\n").encode("ascii")


def table_text(imgs):
    lines = ["// Written by tools/colourschemes/make_colour_schemes.py: every image of the",
             "// colour schemes with its frames, frame size, sizing margins (left, top,",
             "// right, bottom), whether magenta is its transparent colour, whether it has",
             "// an alpha channel, and whether the drawing code relies on its size.",
             "// name, frames, width, frame height, l, t, r, b, keyed, alpha, fixed"]
    for img in imgs:
        lines.append('{u"%s", %d, %d, %d, %d, %d, %d, %d, %s, %s, %s},' % (
            img.name.upper(), img.frames, img.size[0], img.size[1], *img.margins,
            "true" if img.keyed else "false", "true" if img.alpha else "false", "true" if img.fixed else "false"))
    return ("\n".join(lines) + "\n").encode("ascii")


def test_sets(imgs):
    """Two sets for the resource theme's tests, on the blue scheme's images:
    one without the dark scroll-bar images, and one with malformed values,
    missing sections and keys, and images too small for their margins or
    cut into no whole number of frames."""
    blue = dict(SCHEMES)["Office2007Blue"]
    files = {}
    dark = {"ControlGalleryScrollArrowGlyphsDark", "ControlGalleryScrollThumbVerticalDark",
            "ControlGalleryScrollThumbHorizontalDark"}
    light_only = ini_text("Office2007Blue", blue, [img for img in imgs if img.name not in dark])
    files[os.path.join(TEST_SETS_DIR, "LightOnly.ini")] = light_only.replace(
        b"; Blue colour scheme", b"; The blue scheme without its dark scroll-bar images")

    bad = ["; A broken scheme: malformed values, missing sections, keys and images."]
    bad += ["[Window]",
            "HighlightSelected = 59 90",
            "HighlightSelectedBorder = 300 0 511",
            "HighlightPressed = orange",
            "HighlightPressedBorder = -1",
            "HighlightSelectedLight = 255 245 204",
            "HighlightSelectedDark = 255 219 117 9",
            "[MessageBar]",
            "MessageBarHeight = 0",
            "MessageBarDefaultButtonSize = 90",
            "[Toolbar]",
            "ToolbarFace = 1 2 3",
            "ControlGallerySelected = 1 2",
            "[Images]",
            "ProgressTrack = Office2007Blue\\ProgressTrack.bmp",
            "ProgressChunk = BadScheme\\TinyChunk.bmp",
            "ControlGalleryScrollArrowGlyphs = Office2007Blue\\ControlGalleryScrollArrowGlyphs.bmp",
            "ControlGalleryScrollVerticalLight = BadScheme\\OddTrack.bmp",
            "ControlGalleryScrollArrowsVerticalLight = BadScheme\\OddArrows.bmp",
            "ControlGalleryScrollThumbVertical = BadScheme\\TinyChunk.bmp",
            "SliderUp = BadScheme\\OddArrows.bmp",
            "SliderDown = BadScheme\\OddArrows.bmp",
            "SliderTrack = BadScheme\\TinyChunk.bmp",
            "SliderTick = BadScheme\\TinyChunk.bmp",
            "SliderThumb = BadScheme\\OddArrows.bmp"]
    files[os.path.join(TEST_SETS_DIR, "BadScheme.ini")] = ("\r\n".join(bad) + "\r\n").encode("ascii")

    tiny = Image("TinyChunk", 1, (3, 3), keyed=True, paint=paint_button(1), states=["hot"])
    odd = Image("OddArrows", 1, (17, 10), paint=paint_button(), states=["pressed"])
    track = Image("OddTrack", 1, (17, 5), paint=paint_track(True, False), states=["normal"])
    for img in (tiny, odd, track):
        files[os.path.join(TEST_SETS_DIR, img.name + ".png")] = render(img, blue)
    return files


def outputs():
    imgs = catalogue()
    names = [img.name.upper() for img in imgs]
    if len(set(names)) != len(names):
        raise SystemExit("an image name is listed twice")
    files = {}
    for scheme, tone in SCHEMES:
        files[os.path.join(OUT_DIR, scheme + ".ini")] = ini_text(scheme, tone, imgs)
        for img in imgs:
            files[os.path.join(OUT_DIR, scheme, img.name + ".png")] = render(img, tone)
    files[os.path.join(OUT_DIR, "QVTColorSchemes.rc")] = rc_text(imgs)
    files[TABLE_PATH] = table_text(imgs)
    files.update(test_sets(imgs))
    return files


def main(argv):
    check = "--check" in argv
    files = outputs()
    differ = []
    for path, data in sorted(files.items()):
        old = None
        if os.path.exists(path):
            with open(path, "rb") as f:
                old = f.read()
        if old == data:
            continue
        if check:
            differ.append(os.path.relpath(path, ROOT))
            continue
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    if check:
        # Images in the scheme folders that the table no longer names.
        for scheme, _ in SCHEMES:
            folder = os.path.join(OUT_DIR, scheme)
            for name in sorted(os.listdir(folder)) if os.path.isdir(folder) else []:
                if os.path.join(folder, name) not in files:
                    differ.append(os.path.relpath(os.path.join(folder, name), ROOT))
        for path in differ:
            print("differs: " + path)
        return 1 if differ else 0
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
