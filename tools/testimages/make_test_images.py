#!/usr/bin/python3
"""Writes the toolkit foundation's test images: bitmap strips, icon files,
PNGs, a nine-grid image and a small colour-scheme INI with its PNGs.

Only the standard library. The output is committed, so the build never runs
this; run it again after changing a palette or a size:
    /usr/bin/python3 tools/testimages/make_test_images.py tests/toolkit/foundation/image/data
"""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import raster  # noqa: E402

MAGENTA = (255, 0, 255)

# Two colours per strip image: the left half and the right half, so that a
# mirrored image shows.
STRIP_COLOURS = [
    ((255, 0, 0), (0, 0, 128)),
    ((0, 255, 0), (128, 0, 0)),
    ((0, 0, 255), (0, 128, 0)),
    ((128, 128, 128), (255, 255, 0)),
    ((0, 255, 255), (64, 64, 64)),
]

# Icon file entries: side, bit count, colour.
ICON_ENTRIES = {16: (24, (255, 0, 0)), 24: (24, (0, 255, 0)), 32: (32, (0, 0, 255))}

# Nine-grid: 30 x 30 with 10-pixel margins; one colour per part, row by row.
NINE_GRID_COLOURS = [
    (255, 0, 0), (0, 255, 0), (0, 0, 255),
    (255, 255, 0), (255, 255, 255), (0, 255, 255),
    (128, 0, 0), (0, 128, 0), (0, 0, 128),
]


def bmp_bytes(width, height, pixels, bits):
    """A bottom-up BMP file; pixels[y][x] are (r, g, b) or (r, g, b, a)."""
    stride = (width * bits // 8 + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            p = pixels[y][x]
            row += bytes((p[2], p[1], p[0]))
            if bits == 32:
                row.append(p[3] if len(p) > 3 else 255)
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return header + info + data


def png_bytes(pixels, alpha):
    """Without alpha the pixels' own alpha is dropped; with it, opaque
    (r, g, b) pixels gain an alpha of 255. Compressed at the default level."""
    rows = [[tuple(p[:3]) + ((p[3] if len(p) > 3 else 255,) if alpha else ()) for p in row] for row in pixels]
    return raster.png_bytes(rows, alpha, level=-1)


def icon_image(side, bits, colour):
    """One icon image as a DIB with its mask: opaque but for the top-left
    pixel; 32-bit images carry that as alpha 0 and a half-transparent row 1."""
    pixels = [[colour + (255,) for _ in range(side)] for _ in range(side)]
    pixels[0][0] = (0, 0, 0, 0)
    if bits == 32:
        for x in range(side):
            pixels[1][x] = colour + (128,)
    stride = (side * bits // 8 + 3) & ~3
    mask_stride = ((side + 31) // 32) * 4
    colour_rows = []
    mask_rows = []
    for y in reversed(range(side)):
        row = bytearray()
        mask = bytearray(mask_stride)
        for x in range(side):
            r, g, b, a = pixels[y][x]
            transparent = a == 0
            if transparent and bits != 32:
                r = g = b = 0
            row += bytes((b, g, r))
            if bits == 32:
                row.append(a)
            if transparent:
                mask[x // 8] |= 0x80 >> (x % 8)
        row += b"\0" * (stride - len(row))
        colour_rows.append(bytes(row))
        mask_rows.append(bytes(mask))
    body = b"".join(colour_rows) + b"".join(mask_rows)
    info = struct.pack("<IiiHHIIiiII", 40, side, side * 2, 1, bits, 0, len(body), 0, 0, 0, 0)
    return info + body


def ico_bytes(sides):
    images = [icon_image(side, ICON_ENTRIES[side][0], ICON_ENTRIES[side][1]) for side in sides]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for side, image in zip(sides, images):
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, ICON_ENTRIES[side][0], len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def lying_group_directory():
    """A group-icon directory that claims 40 entries and holds one: a 16 x 16
    image with the icon id 1, which the test program's first icon has."""
    return struct.pack("<HHH", 0, 1, 40) + struct.pack("<BBBBHHIH", 16, 16, 0, 0, 1, 24, 0, 1)


def strip_pixels(count, side):
    pixels = [[None] * (count * side) for _ in range(side)]
    for k in range(count):
        left, right = STRIP_COLOURS[k % len(STRIP_COLOURS)]
        for y in range(side):
            for x in range(side):
                pixels[y][k * side + x] = left if x < side // 2 else right
        pixels[0][k * side] = MAGENTA
    return pixels


def alpha_strip_pixels(count, side):
    """Straight alpha: column 0 transparent, column 1 half-transparent."""
    pixels = [[None] * (count * side) for _ in range(side)]
    for k in range(count):
        left, _ = STRIP_COLOURS[k % len(STRIP_COLOURS)]
        for y in range(side):
            for x in range(side):
                a = 0 if x == 0 else 128 if x == 1 else 255
                pixels[y][k * side + x] = left + (a,)
    return pixels


def nine_grid_pixels(alpha):
    side, margin = 30, 10
    pixels = []
    for y in range(side):
        row = []
        for x in range(side):
            part = (0 if y < margin else 1 if y < side - margin else 2) * 3 + \
                   (0 if x < margin else 1 if x < side - margin else 2)
            colour = NINE_GRID_COLOURS[part]
            row.append(colour + (255,) if alpha else colour)
        pixels.append(row)
    return pixels


def keyed_pixels():
    """16 x 16: magenta background with a blue square inside."""
    return [[(0, 0, 255) if 4 <= x < 12 and 4 <= y < 12 else MAGENTA for x in range(16)] for y in range(16)]


SCHEME_INI = [
    "; The test colour scheme.",
    "[Theme]",
    "Compatibility = Office2007",
    "[Window]",
    "BorderActive0 = 59 90 130",
    "BorderNone = -1",
    "BorderShort = 59 90",
    "Caption =  Test caption  ; a comment",
    "Margins = 1 2 3 4",
    "Extent = 16 24",
    "Count = 7",
    "Bad = seven",
    "[Images]",
    "NineGrid = TestScheme\\NineGrid.bmp",
    "Keyed = TestScheme\\Keyed.bmp",
    "Plain = TestScheme\\Plain.bmp",
    "[Global]",
    "LastLine = 42",
]

# A second INI read after the scheme: later values win.
EXTRA_INI = [
    "[Window]",
    "Count = 8",
    "Extra = 1",
    "",
]


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)

    def write(name, data):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)

    write("strip5.bmp", bmp_bytes(80, 16, strip_pixels(5, 16), 24))
    write("strip7.bmp", bmp_bytes(112, 16, strip_pixels(7, 16), 24))
    write("alphastrip4.bmp", bmp_bytes(64, 16, alpha_strip_pixels(4, 16), 32))
    write("alphastrip4.png", png_bytes(alpha_strip_pixels(4, 16), True))
    write("icons.ico", ico_bytes([16, 24, 32]))
    write("icons_16_32.ico", ico_bytes([16, 32]))
    write("lying_group.bin", lying_group_directory())
    write("ninegrid.png", png_bytes(nine_grid_pixels(True), True))
    write("keyed.png", png_bytes(keyed_pixels(), False))
    write("plain.bmp", bmp_bytes(30, 30, nine_grid_pixels(False), 24))
    # The scheme's last line has no line end: it must still be read.
    write("TestScheme.ini", "\r\n".join(SCHEME_INI).encode("ascii"))
    write("Extra.ini", "\r\n".join(EXTRA_INI).encode("ascii"))
    write("vector.xaml", b'<Canvas xmlns="http://schemas.microsoft.com/winfx/2006/xaml/presentation">'
                         b'<Rectangle Width="16" Height="16" Fill="#FF0000"/></Canvas>')
    # A second state's image, and a document that is no markup at all.
    write("vector_blue.xaml", b'<Canvas xmlns="http://schemas.microsoft.com/winfx/2006/xaml/presentation">'
                              b'<Rectangle Width="16" Height="16" Fill="#0000FF"/></Canvas>')
    write("vector_broken.xaml", b'<Canvas xmlns="http://schemas.microsoft.com/winfx/2006/xaml/presentation">'
                                b'<Rectangle Width="16"')


if __name__ == "__main__":
    main()
