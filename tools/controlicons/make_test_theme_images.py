#!/usr/bin/python3
"""Writes the images of the controls' resource-theme test: a push button
strip of five states, a check box strip of twelve, a radio button strip of
eight and a tooltip frame, each state a plain colour the test can find.

Plain Python. The output is committed; run it again after changing a colour:
    python3 tools/controlicons/make_test_theme_images.py tests/toolkit/controls/resourcetheme
"""
import os
import struct
import sys

MAGENTA = (255, 0, 255)

# Fill and border of each push button state: normal, hot, pressed, disabled, default.
PUSH_STATES = [((200, 10, 10), (100, 0, 0)), ((10, 200, 10), (0, 100, 0)), ((10, 10, 200), (0, 0, 100)),
               ((128, 128, 128), (64, 64, 64)), ((200, 200, 10), (100, 100, 0))]


def bmp(width, height, pixel):
    """A 24-bit bottom-up BMP; pixel(x, y) gives (r, g, b) with y from the top."""
    stride = (width * 3 + 3) & ~3
    rows = b""
    for y in reversed(range(height)):
        row = b"".join(bytes((b, g, r)) for (r, g, b) in (pixel(x, y) for x in range(width)))
        rows += row + b"\0" * (stride - width * 3)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(header) + len(rows), 0, 0, 14 + len(header)) + header + rows


def strip(size, states):
    """States stacked vertically, each a fill framed by a border."""
    def pixel(x, y):
        fill, border = states[y // size]
        yy = y % size
        edge = x == 0 or yy == 0 or x == size - 1 or yy == size - 1
        return border if edge else fill
    return bmp(size, size * len(states), pixel)


def state_colour(i):
    return (20 + 18 * i, 240 - 15 * i, 60 + 10 * i)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)
    images = {
        "pushbutton.bmp": strip(16, PUSH_STATES),
        "checkbox.bmp": strip(13, [(state_colour(i), (0, 0, 0)) for i in range(12)]),
        "radiobutton.bmp": strip(13, [(state_colour(i), (0, 0, 0)) for i in range(8)]),
        # A green frame around a transparent middle.
        "tooltipframe.bmp": bmp(8, 8, lambda x, y: (30, 160, 60) if x in (0, 7) or y in (0, 7) else MAGENTA),
    }
    for name, data in images.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
