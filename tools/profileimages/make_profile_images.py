#!/usr/bin/python3
"""Writes the profiles panel's move buttons: an up and a down arrow, each a
16 x 16 24-bit bitmap whose top-left pixel is the mask colour.

Only the standard library. The output is committed, so the build never runs
this; run it again after changing a colour or the shape:
    /usr/bin/python3 tools/profileimages/make_profile_images.py src/app/profiles/images
"""
import os
import struct
import sys

SIZE = 16
MASK = (255, 0, 255)
ARROW = (40, 48, 64)


def up_arrow(x, y):
    """A triangle pointing up over a short stem."""
    if 3 <= y <= 8:
        half = y - 3
        return abs(x - 7.5) <= half + 0.5
    return 9 <= y <= 12 and 6 <= x <= 9


def write_bmp(path, inside):
    row_bytes = (SIZE * 3 + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(SIZE)):  # bottom-up rows
        row = bytearray()
        for x in range(SIZE):
            r, g, b = ARROW if inside(x, y) and (x, y) != (0, 0) else MASK
            row += bytes((b, g, r))
        row += bytes(row_bytes - len(row))
        pixels += row
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    with open(path, "wb") as out:
        out.write(file_header + header + pixels)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    write_bmp(os.path.join(folder, "MoveUp.bmp"), up_arrow)
    write_bmp(os.path.join(folder, "MoveDown.bmp"), lambda x, y: up_arrow(x, SIZE - 1 - y))


if __name__ == "__main__":
    main()
