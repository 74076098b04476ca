#!/usr/bin/python3
"""Writes the command bars' bitmaps: the MDI child's system-menu glyphs
(restore, minimize, maximize, close; 16 x 16 each, magenta transparent) for
the toolkit, and the toolbar strips of the command-bar tests (three buttons
at 24 x 24 and at 16 x 15, each a coloured square on magenta) with two
toolbar resources that lie: one counts 40 ids and holds two, one has an
unknown version.

Only the standard library. The output is committed, so the build never runs
this; run it again after changing a shape or a colour:
    /usr/bin/python3 tools/commandbarimages/make_commandbar_images.py \
        src/toolkit/commandbars/res tests/toolkit/commandbars/toolbar/res
"""
import os
import struct
import sys

MAGENTA = (255, 0, 255)
INK = (0, 0, 0)
TEST_COLOURS = [(200, 30, 30), (30, 160, 30), (30, 30, 200)]


def bmp_bytes(width, height, pixels):
    """A bottom-up 24-bit BMP file; pixels[y][x] are (r, g, b)."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for r, g, b in pixels[y]:
            row += bytes((b, g, r))
        row += b"\0" * (stride - width * 3)
        rows.append(bytes(row))
    image = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(image), 0, 0, 14 + len(header))
    return file_header + header + image


def res_file(type_id, resources):
    """A 32-bit resource file of numbered resources of one numbered type."""
    def entry(name_id, data, language=0x0409):
        header = struct.pack("<HHHH", 0xFFFF, type_id, 0xFFFF, name_id)
        header += struct.pack("<IHHII", 0, 0x1030, language, 0, 0)
        head = struct.pack("<II", len(data), 8 + len(header)) + header
        return head + data + b"\0" * ((4 - len(data) % 4) % 4)
    empty = struct.pack("<II", 0, 32) + struct.pack("<HHHH", 0xFFFF, 0, 0xFFFF, 0) + struct.pack("<IHHII", 0, 0, 0, 0, 0)
    return empty + b"".join(entry(name_id, data) for name_id, data in resources)


def mdi_glyph(kind, x, y):
    """Whether pixel (x, y) of a 16 x 16 glyph is ink."""
    if kind == "restore":
        back = 5 <= x <= 13 and 2 <= y <= 9 and (x in (5, 13) or y in (2, 3, 9))
        front = 2 <= x <= 10 and 6 <= y <= 13 and (x in (2, 10) or y in (6, 7, 13))
        return back or front
    if kind == "minimize":
        return 3 <= x <= 10 and 11 <= y <= 12
    if kind == "maximize":
        return 2 <= x <= 13 and 2 <= y <= 13 and (x in (2, 13) or y in (2, 3, 13))
    # close: two diagonals
    return 3 <= x <= 12 and 3 <= y <= 12 and (x == y or x + y == 15 or abs(x - y) == 1 or abs(x + y - 15) == 1)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    toolkit_dir, test_dir = sys.argv[1], sys.argv[2]
    os.makedirs(toolkit_dir, exist_ok=True)
    os.makedirs(test_dir, exist_ok=True)

    kinds = ["restore", "minimize", "maximize", "close"]
    pixels = [[INK if mdi_glyph(kinds[x // 16], x % 16, y) else MAGENTA for x in range(64)] for y in range(16)]
    write(os.path.join(toolkit_dir, "mdi_sysicons.bmp"), bmp_bytes(64, 16, pixels))

    for width, height, name in ((24, 24, "toolbar24.bmp"), (16, 15, "toolbar16.bmp")):
        count = len(TEST_COLOURS)
        strip = []
        for y in range(height):
            row = []
            for x in range(width * count):
                i, px = divmod(x, width)
                inside = 2 <= px < width - 2 and 2 <= y < height - 2
                row.append(TEST_COLOURS[i] if inside else MAGENTA)
            strip.append(row)
        write(os.path.join(test_dir, name), bmp_bytes(width * count, height, strip))

    # Toolbar resources (version, width, height, count, then the ids) as a
    # compiled resource file: the resource compiler takes type 241 only in
    # its TOOLBAR form, which cannot lie.
    resources = [(302, struct.pack("<6H", 1, 16, 15, 40, 40300, 40301)),
                 (304, struct.pack("<5H", 7, 16, 15, 1, 40300))]
    write(os.path.join(test_dir, "lying_toolbars.res"), res_file(241, resources))


if __name__ == "__main__":
    main()
