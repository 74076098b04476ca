#!/usr/bin/python3
"""Writes the cursors of the command bars' customize mode: an arrow carrying
a button (move), the same with a plus sign (copy), an arrow with a barred
circle (no drop here), and the double arrow across an edge that resizes a
control. 32 x 32, black outlines on white.

Only the standard library. The output is committed, so the build never runs
this; run it again after changing a shape:
    /usr/bin/python3 tools/commandbarimages/make_customize_cursors.py src/toolkit/commandbars/res
With --check it writes nothing and fails when a committed file differs.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import raster  # noqa: E402

SIZE = 32
BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)
CLEAR = (0, 0, 0, 0)

ARROW = """
#
##
#.#
#..#
#...#
#....#
#.....#
#......#
#.......#
#........#
#.....#####
#..#..#
#.#.#..#
##..#..#
#....#..#
.....#..#
......##
""".strip("\n").split("\n")


def blank():
    return [[CLEAR for _ in range(SIZE)] for _ in range(SIZE)]


def draw_art(rows, art, left, top):
    for y, line in enumerate(art):
        for x, ch in enumerate(line):
            if ch == "#":
                rows[top + y][left + x] = BLACK
            elif ch == ".":
                rows[top + y][left + x] = WHITE


def frame(rows, left, top, right, bottom):
    """A white box with a black border, corners inclusive."""
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            edge = y in (top, bottom) or x in (left, right)
            rows[y][x] = BLACK if edge else WHITE


def plus(rows, cx, cy):
    frame(rows, cx - 4, cy - 4, cx + 4, cy + 4)
    for d in range(-2, 3):
        rows[cy][cx + d] = BLACK
        rows[cy + d][cx] = BLACK


def barred_circle(rows, cx, cy, r):
    for y in range(cy - r - 1, cy + r + 2):
        for x in range(cx - r - 1, cx + r + 2):
            d2 = (x - cx) ** 2 + (y - cy) ** 2
            on_ring = (r - 1.5) ** 2 <= d2 <= (r + 0.5) ** 2
            on_bar = abs((x - cx) - (y - cy)) <= 1 and d2 <= r * r
            if on_ring or on_bar:
                rows[y][x] = BLACK
            elif d2 < (r - 1.5) ** 2:
                rows[y][x] = WHITE


def drag_cursor(kind):
    rows = blank()
    draw_art(rows, ARROW, 0, 0)
    if kind == "none":
        barred_circle(rows, 20, 20, 7)
    else:
        # The carried button.
        frame(rows, 10, 18, 22, 26)
        if kind == "copy":
            plus(rows, 25, 26)
    return rows


def resize_cursor():
    rows = blank()
    cy = 15
    for y in range(8, 24):
        rows[y][15] = BLACK
        rows[y][16] = BLACK
    for x in range(4, 28):
        if x not in (15, 16):
            rows[cy][x] = BLACK
            rows[cy + 1][x] = BLACK
    for d in range(1, 5):
        for y in range(cy - d, cy + d + 2):
            rows[y][4 + d] = BLACK
            rows[y][27 - d] = BLACK
    return rows


def outputs():
    return {
        "drag_copy.cur": raster.icon_file([(SIZE, raster.icon_image(drag_cursor("copy")))], cursor_hotspot=(0, 0)),
        "drag_move.cur": raster.icon_file([(SIZE, raster.icon_image(drag_cursor("move")))], cursor_hotspot=(0, 0)),
        "drag_none.cur": raster.icon_file([(SIZE, raster.icon_image(drag_cursor("none")))], cursor_hotspot=(0, 0)),
        "resize.cur": raster.icon_file([(SIZE, raster.icon_image(resize_cursor()))], cursor_hotspot=(15, 15)),
    }


def main():
    args = sys.argv[1:]
    check = "--check" in args
    args = [a for a in args if a != "--check"]
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
    out = args[0] if args else os.path.join(root, "src", "toolkit", "commandbars", "res")
    differing = []
    for name, data in sorted(outputs().items()):
        path = os.path.join(out, name)
        if check:
            try:
                with open(path, "rb") as f:
                    same = f.read() == data
            except OSError:
                same = False
            if not same:
                differing.append(path)
        else:
            os.makedirs(out, exist_ok=True)
            with open(path, "wb") as f:
                f.write(data)
    if differing:
        sys.exit("differs from the generator's output: " + ", ".join(differing))


if __name__ == "__main__":
    main()
