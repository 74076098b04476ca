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
import struct
import sys

SIZES = (16, 24, 32, 48)
SAMPLES = 4  # per axis, for anti-aliased edges

# Palette (R, G, B).
RED = (206, 38, 38)
RED_DARK = (150, 20, 20)
YELLOW = (250, 200, 40)
YELLOW_DARK = (170, 120, 10)
BLUE = (38, 100, 200)
BLUE_DARK = (20, 60, 140)
WHITE = (255, 255, 255)
BLACK = (20, 20, 20)


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


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


def box(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def stroke(x0, y0, x1, y1, half):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= half * half
    return inside


def triangle(ax, ay, bx, by, cx, cy):
    def side(px, py, qx, qy, x, y):
        return (qx - px) * (y - py) - (qy - py) * (x - px)

    def inside(x, y):
        d1 = side(ax, ay, bx, by, x, y)
        d2 = side(bx, by, cx, cy, x, y)
        d3 = side(cx, cy, ax, ay, x, y)
        return (d1 >= 0 and d2 >= 0 and d3 >= 0) or (d1 <= 0 and d2 <= 0 and d3 <= 0)
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


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


def render(kind, size):
    """Rows top-down of (R, G, B, A)."""
    layers = icon_layers(kind)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / size
                    y = (py + (sy + 0.5) / SAMPLES) / size
                    colour = None
                    for shape, c in layers:
                        if shape(x, y):
                            colour = c
                    if colour:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            n = SAMPLES * SAMPLES
            if acc[3]:
                row.append((round(acc[0] / acc[3]), round(acc[1] / acc[3]), round(acc[2] / acc[3]),
                            round(255 * acc[3] / n)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def dib(rows):
    """A 32-bit icon image: header, bottom-up BGRA and the AND mask."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + pixels + mask


def write_icon(path, images, cursor_hotspot=None):
    """images: list of (size, dib bytes)."""
    kind = 2 if cursor_hotspot else 1
    data = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    blobs = b""
    for size, blob in images:
        if cursor_hotspot:
            extra = struct.pack("<HH", *cursor_hotspot)
        else:
            extra = struct.pack("<HH", 1, 32)
        data += struct.pack("<BBBB", size % 256, size % 256, 0, 0) + extra + struct.pack("<II", len(blob), offset)
        offset += len(blob)
        blobs += blob
    with open(path, "wb") as f:
        f.write(data + blobs)


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


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)
    for kind in ("error", "warning", "information", "shield", "question"):
        write_icon(os.path.join(out, "taskdialog_%s.ico" % kind),
                   [(size, dib(render(kind, size))) for size in SIZES])
    write_icon(os.path.join(out, "hand.cur"), [(32, dib(hand_rows()))], cursor_hotspot=(6, 0))
    with open(os.path.join(out, "taskdialog_commandlink.xaml"), "wb") as f:
        f.write(command_link_glyph().encode("ascii"))


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
