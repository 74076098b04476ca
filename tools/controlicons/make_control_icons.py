#!/usr/bin/python3
"""Writes the toolkit controls' icons and cursor: the task dialog's five
standard icons (error, warning, information, shield, question) at 16, 24, 32
and 48 pixels, and the hand cursor of links.

Plain Python, no libraries. The output is committed, so the build never runs
this; run it again after changing a shape:
    python3 tools/controlicons/make_control_icons.py src/toolkit/controls/res
"""
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import raster  # noqa: E402
from raster import box, circle, stroke, triangle, union  # noqa: E402

SIZES = (16, 24, 32, 48)

# Palette (R, G, B).
RED = (206, 38, 38)
RED_DARK = (150, 20, 20)
YELLOW = (250, 200, 40)
YELLOW_DARK = (170, 120, 10)
BLUE = (38, 100, 200)
BLUE_DARK = (20, 60, 140)
WHITE = (255, 255, 255)
BLACK = (20, 20, 20)


def ring(cx, cy, r0, r1, a0, a1):
    """The annulus between two radii, from angle a0 to a1 (degrees,
    clockwise from the top)."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if not r0 <= d <= r1:
            return False
        a = math.degrees(math.atan2(x - cx, cy - y)) % 360
        return a0 <= a <= a1 if a0 <= a1 else (a >= a0 or a <= a1)
    return inside


def shield_shape(x, y):
    # A shield in unit coordinates: straight top, sides curving to a point.
    if y < 0.08 or y > 0.95:
        return False
    if y <= 0.5:
        return 0.12 <= x <= 0.88
    half = 0.38 * math.sqrt(max(0.0, 1 - ((y - 0.5) / 0.45) ** 2))
    return abs(x - 0.5) <= half


def icon_layers(kind):
    """Layers of (shape in unit coordinates, colour), painted in order."""
    if kind == "error":
        return [(circle(0.5, 0.5, 0.47), RED_DARK), (circle(0.5, 0.5, 0.42), RED),
                (union(stroke(0.32, 0.32, 0.68, 0.68, 0.07), stroke(0.68, 0.32, 0.32, 0.68, 0.07)), WHITE)]
    if kind == "warning":
        return [(triangle(0.5, 0.03, 0.98, 0.93, 0.02, 0.93), YELLOW_DARK),
                (triangle(0.5, 0.11, 0.91, 0.88, 0.09, 0.88), YELLOW),
                (union(stroke(0.5, 0.33, 0.5, 0.62, 0.065), circle(0.5, 0.76, 0.065)), BLACK)]
    if kind == "information":
        return [(circle(0.5, 0.5, 0.47), BLUE_DARK), (circle(0.5, 0.5, 0.42), BLUE),
                (union(circle(0.5, 0.27, 0.075), box(0.43, 0.4, 0.57, 0.76)), WHITE)]
    if kind == "question":
        return [(circle(0.5, 0.5, 0.47), BLUE_DARK), (circle(0.5, 0.5, 0.42), BLUE),
                (union(ring(0.5, 0.38, 0.07, 0.17, 270, 150), stroke(0.56, 0.5, 0.5, 0.58, 0.065),
                       circle(0.5, 0.75, 0.07)), WHITE)]
    if kind == "shield":
        def quarter(left, top):
            def inside(x, y):
                return shield_shape(x, y) and ((x < 0.5) == left) and ((y < 0.5) == top)
            return inside
        return [(shield_shape, BLUE_DARK), (quarter(True, True), BLUE), (quarter(False, False), BLUE),
                (quarter(False, True), YELLOW), (quarter(True, False), YELLOW)]
    raise ValueError(kind)


# The hand of links, 32 x 32: '#' outline, '.' fill, hot spot on the finger tip.
HAND = """
.....##.........................
....#..#........................
....#..#........................
....#..#........................
....#..#........................
....#..###......................
....#..#..###...................
....#..#..#..##.................
....#..#..#..#.#................
.##.#..#..#..#..#...............
#..##........#..#...............
#...#...........#...............
.#..............#...............
..#.............#...............
..#.............#...............
...#...........#................
...#...........#................
....#.........#.................
....#.........#.................
.....#.......#..................
.....#########..................
""".strip("\n").split("\n")


def hand_rows():
    rows = []
    for y in range(32):
        line = HAND[y] if y < len(HAND) else ""
        row = []
        inside = False
        for x in range(32):
            ch = line[x] if x < len(line) else "."
            row.append(BLACK + (255,) if ch == "#" else None)
        rows.append(row)
    # Fill the inside of the outline white, row by row between outline runs.
    for y, row in enumerate(rows):
        xs = [x for x, c in enumerate(row) if c]
        if len(xs) >= 2:
            for x in range(xs[0], xs[-1] + 1):
                if row[x] is None and is_enclosed(rows, x, y):
                    row[x] = WHITE + (255,)
    return [[c if c else (0, 0, 0, 0) for c in row] for row in rows]


def is_enclosed(rows, x, y):
    """Outline met in all four directions."""
    def hit(dx, dy):
        cx, cy = x + dx, y + dy
        while 0 <= cx < 32 and 0 <= cy < 32:
            if rows[cy][cx] and rows[cy][cx][:3] == BLACK:
                return True
            cx, cy = cx + dx, cy + dy
        return False
    return hit(1, 0) and hit(-1, 0) and hit(0, 1) and hit(0, -1)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)
    for kind in ("error", "warning", "information", "shield", "question"):
        # Shapes in unit coordinates, scaled to each size.
        images = [(size, raster.icon_image(raster.paint(icon_layers(kind), size, unit=size))) for size in SIZES]
        write(os.path.join(out, "taskdialog_%s.ico" % kind), raster.icon_file(images))
    write(os.path.join(out, "hand.cur"), raster.icon_file([(32, raster.icon_image(hand_rows()))], cursor_hotspot=(6, 0)))
    write(os.path.join(out, "taskdialog_commandlink.xaml"), command_link_glyph().encode("ascii"))


# The command links' arrow: a markup document on a 20-unit square that the
# viewbox scales to whatever size the dialog draws it at.
GLYPH_GREEN = "#1E8C3C"


def command_link_glyph():
    arrow = [(2, 8), (10, 8), (10, 3), (18, 10), (10, 17), (10, 12), (2, 12)]
    data = "M " + " L ".join("%d,%d" % p for p in arrow) + " Z"
    return ('<Viewbox xmlns="http://schemas.microsoft.com/winfx/2006/xaml/presentation">'
            '<Canvas Width="20" Height="20">'
            '<Path Fill="%s" Data="%s"/>'
            '</Canvas></Viewbox>' % (GLYPH_GREEN, data))


if __name__ == "__main__":
    main()
