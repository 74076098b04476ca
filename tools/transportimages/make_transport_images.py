#!/usr/bin/python3
"""Writes the recorder's transport button images: Record, Play, Pause, Stop,
Next and Previous, each 10 x 10 pixels with alpha, drawn from a palette.

Only the standard library. The output is committed, so the build never runs
this; run it again after changing a palette or a shape:
    /usr/bin/python3 tools/transportimages/make_transport_images.py src/app/recorder/images
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import raster  # noqa: E402

SIZE = 10
RECORD = (204, 24, 24)
GLYPH = (40, 48, 64)


def image(inside, colour):
    """A picture of the cells for which inside(x, y) holds, at pixel centres."""
    rows = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            cx, cy = x + 0.5, y + 0.5
            row.append(colour + (255,) if inside(cx, cy) else (0, 0, 0, 0))
        rows.append(row)
    return rows


def record(x, y):
    return (x - 5) ** 2 + (y - 5) ** 2 <= 4.2 ** 2


def play(x, y):
    return triangle_right(x, y, 1.5, 8.5)


def pause(x, y):
    return 1.5 <= y <= 8.5 and (1.5 <= x <= 4 or 6 <= x <= 8.5)


def stop(x, y):
    return 1.5 <= x <= 8.5 and 1.5 <= y <= 8.5


def triangle_right(x, y, left, right):
    # Pointing right, from a left base to a tip, over rows 1..9.
    if x < left or x > right:
        return False
    half = 4.0 * (right - x) / (right - left)
    return abs(y - 5) <= half


def next_track(x, y):
    return triangle_right(x, y, 1, 7.5) or 7.5 <= x <= 9


def previous_track(x, y):
    return next_track(SIZE - x, y)


IMAGES = {
    "Record.png": (record, RECORD),
    "Play.png": (play, GLYPH),
    "Pause.png": (pause, GLYPH),
    "Stop.png": (stop, GLYPH),
    "Next.png": (next_track, GLYPH),
    "Previous.png": (previous_track, GLYPH),
}


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(folder, exist_ok=True)
    for name, (shape, colour) in IMAGES.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(raster.png_bytes(image(shape, colour)))


if __name__ == "__main__":
    main()
