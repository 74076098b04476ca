#!/usr/bin/python3
"""Writes the flat ribbon's background pattern, circles and stripes, at the
three DPI sizes (96, 144 and 192 DPI) for the white look: a light-grey ink
on transparent ground, fading in from the left so that it ends under the
caption buttons.

The output is committed; run it again after changing the drawing:
    /usr/bin/python3 tools/ribbonpatterns/make_ribbon_patterns.py src/toolkit/ribbon/res
With --check it only compares what it would write with the committed files.
"""
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import raster  # noqa: E402

INK = (198, 198, 198)
# Width and height at 96 DPI; the larger sizes scale both.
BASE = (300, 60)
SIZES = {"SMALL": 1.0, "MEDIUM": 1.5, "LARGE": 2.0}
SAMPLES = 2  # per axis


def ink_at(x, y):
    """Whether a point (in 96-DPI units) lies on the ink: rings along a wavy
    row and diagonal stripes between them."""
    for i in range(7):
        cx = 30 + i * 42
        cy = 30 + 12 * math.sin(i * 1.3)
        r = 9 + (i % 3) * 4
        d = math.hypot(x - cx, y - cy)
        if r - 1.0 <= d <= r + 1.0:
            return True
    # Stripes of width 2 every 14 units, rising to the right, cut by the rings' band.
    if (x + y) % 14 < 2 and (y < 10 or y > 50):
        return True
    return False


def pattern_rows(scale):
    width, height = round(BASE[0] * scale), round(BASE[1] * scale)
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            hits = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / scale
                    y = (py + (sy + 0.5) / SAMPLES) / scale
                    hits += ink_at(x, y)
            # The ink fades in over the left half.
            fade = min(1.0, 2.0 * px / width)
            alpha = round(255 * fade * hits / (SAMPLES * SAMPLES))
            row.append(INK + (alpha,) if alpha else (0, 0, 0, 0))
        rows.append(row)
    return rows


def files():
    return {"ribbon_pattern_white_" + size.lower() + ".png": raster.png_bytes(pattern_rows(scale))
            for size, scale in SIZES.items()}


def main():
    args = [a for a in sys.argv[1:] if a != "--check"]
    check = "--check" in sys.argv[1:]
    folder = args[0] if args else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src",
                                               "toolkit", "ribbon", "res")
    raster.write_or_check(folder, files(), check)


if __name__ == "__main__":
    main()
