#!/usr/bin/python3
"""Writes the markup image tests' pictures: a PNG with alpha, an icon file,
a JPEG with pure green blocks, a bitmap, a still GIF and two three-frame
GIFs (one with frame delays, one whose delays are all zero).

Only the standard library. The output is committed, so the build never runs
this; run it again after changing a palette or a size:
    /usr/bin/python3 tools/markupimages/make_markup_test_images.py tests/toolkit/markup/images/data
"""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import raster  # noqa: E402

RED = (255, 0, 0)
GREEN = (0, 255, 0)
BLUE = (0, 0, 255)
WHITE = (255, 255, 255)
MAGENTA = (255, 0, 255)

# The PNG: 20 x 20, left half opaque red, right half blue at alpha 128, and
# its bottom-right quarter fully transparent.
PNG_SIDE = 20
# The icon: 16 x 16, a blue square with a two-pixel transparent border.
ICON_SIDE = 16
ICON_BORDER = 2
# The JPEG: 16 x 16 in four 8 x 8 blocks of one colour each, row by row.
JPEG_BLOCKS = [GREEN, RED, BLUE, WHITE]
# The GIFs: 8 x 8 frames of one colour each, with their delays (1/100 s).
GIF_SIDE = 8
GIF_FRAMES = [RED, GREEN, BLUE]
GIF_DELAYS = [10, 20, 30]
# The bitmap: 12 x 12, green (the mask colour) with a red 4 x 4 centre.
BITMAP_SIDE = 12


def png_pixels():
    rows = []
    half = PNG_SIDE // 2
    for y in range(PNG_SIDE):
        row = []
        for x in range(PNG_SIDE):
            if x < half:
                row.append(RED + (255,))
            elif y >= half:
                row.append((0, 0, 0, 0))
            else:
                row.append(BLUE + (128,))
        rows.append(row)
    return rows


def ico_bytes():
    """One 32-bit icon image with its AND mask."""
    side = ICON_SIDE
    colour = bytearray()
    for y in reversed(range(side)):
        for x in range(side):
            inside = ICON_BORDER <= x < side - ICON_BORDER and ICON_BORDER <= y < side - ICON_BORDER
            colour += bytes((BLUE[2], BLUE[1], BLUE[0], 255)) if inside else b"\0\0\0\0"
    mask_stride = ((side + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(side)):
        bits = 0
        row = bytearray(mask_stride)
        for x in range(side):
            inside = ICON_BORDER <= x < side - ICON_BORDER and ICON_BORDER <= y < side - ICON_BORDER
            if not inside:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
        del bits
    header = struct.pack("<IiiHHIIiiII", 40, side, side * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    image = header + bytes(colour) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(image), 22)
    return directory + image


def bmp_bytes():
    """A 24-bit bottom-up BMP file."""
    side = BITMAP_SIDE
    stride = (side * 3 + 3) & ~3
    data = bytearray()
    for y in reversed(range(side)):
        row = bytearray()
        for x in range(side):
            inside = 4 <= x < 8 and 4 <= y < 8
            p = RED if inside else GREEN
            row += bytes((p[2], p[1], p[0]))
        row += b"\0" * (stride - len(row))
        data += row
    info = struct.pack("<IiiHHIIiiII", 40, side, side, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(info) + len(data), 0, 0, 14 + len(info)) + info + bytes(data)


# Baseline JPEG of uniform 8 x 8 blocks: every block is DC only, so the
# entropy-coded data is a DC difference and an end-of-block per component.
DC_LUMINANCE_BITS = [0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0]
DC_LUMINANCE_VALUES = list(range(12))
AC_BITS = [0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7D]
AC_VALUES = [
    0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07,
    0x22, 0x71, 0x14, 0x32, 0x81, 0x91, 0xA1, 0x08, 0x23, 0x42, 0xB1, 0xC1, 0x15, 0x52, 0xD1, 0xF0,
    0x24, 0x33, 0x62, 0x72, 0x82, 0x09, 0x0A, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x25, 0x26, 0x27, 0x28,
    0x29, 0x2A, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49,
    0x4A, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69,
    0x6A, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89,
    0x8A, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9A, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7,
    0xA8, 0xA9, 0xAA, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xC2, 0xC3, 0xC4, 0xC5,
    0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xE1, 0xE2,
    0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8,
    0xF9, 0xFA,
]


def huffman_codes(bits, values):
    codes = {}
    code = 0
    k = 0
    for length in range(1, 17):
        for _ in range(bits[length - 1]):
            codes[values[k]] = (code, length)
            code += 1
            k += 1
        code <<= 1
    return codes


class BitWriter:
    def __init__(self):
        self.data = bytearray()
        self.value = 0
        self.count = 0

    def write(self, code, length):
        for i in reversed(range(length)):
            self.value = (self.value << 1) | ((code >> i) & 1)
            self.count += 1
            if self.count == 8:
                self.data.append(self.value)
                if self.value == 0xFF:
                    self.data.append(0)
                self.value = 0
                self.count = 0

    def flush(self):
        while self.count != 0:
            self.write(1, 1)
        return bytes(self.data)


def ycbcr(colour):
    """Component values chosen so that decoding gives the colour back exactly."""
    exact = {GREEN: (150, 43, 21), RED: (76, 85, 255), BLUE: (29, 255, 107), WHITE: (255, 128, 128)}
    return exact[colour]


def jpeg_bytes():
    width = height = 16
    dc_codes = huffman_codes(DC_LUMINANCE_BITS, DC_LUMINANCE_VALUES)
    ac_codes = huffman_codes(AC_BITS, AC_VALUES)
    writer = BitWriter()
    previous = [0, 0, 0]
    for colour in JPEG_BLOCKS:
        for component, sample in enumerate(ycbcr(colour)):
            # A flat block's DC coefficient is eight times its level shift.
            dc = (sample - 128) * 8
            diff = dc - previous[component]
            previous[component] = dc
            magnitude = abs(diff)
            size = magnitude.bit_length()
            writer.write(*dc_codes[size])
            if size:
                writer.write(diff if diff > 0 else diff + (1 << size) - 1, size)
            writer.write(*ac_codes[0x00])
    scan = writer.flush()

    def segment(marker, body):
        return struct.pack(">BBH", 0xFF, marker, len(body) + 2) + body

    out = b"\xFF\xD8"
    out += segment(0xE0, b"JFIF\0\x01\x01\0\0\x01\0\x01\0\0")
    out += segment(0xDB, b"\0" + b"\x01" * 64)
    out += segment(0xC0, struct.pack(">BHHB", 8, height, width, 3) + b"\x01\x11\0" + b"\x02\x11\0" + b"\x03\x11\0")
    out += segment(0xC4, b"\x00" + bytes(DC_LUMINANCE_BITS) + bytes(DC_LUMINANCE_VALUES))
    out += segment(0xC4, b"\x10" + bytes(AC_BITS) + bytes(AC_VALUES))
    out += segment(0xDA, b"\x03" + b"\x01\x00\x02\x00\x03\x00" + b"\0\x3F\0")
    out += scan + b"\xFF\xD9"
    return out


def lzw(indices, min_code_size):
    """GIF LZW data, sub-blocked."""
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    value = 0
    count = 0
    code_size = min_code_size + 1

    def emit(code):
        nonlocal value, count
        value |= code << count
        count += code_size
        while count >= 8:
            out.append(value & 0xFF)
            value >>= 8
            count -= 8

    table = {}
    next_code = end + 1
    emit(clear)
    prefix = None
    for index in indices:
        key = (prefix, index)
        if prefix is not None and key in table:
            prefix = table[key]
            continue
        if prefix is not None:
            emit(prefix)
            if next_code < 4096:
                table[key] = next_code
                next_code += 1
                if next_code > (1 << code_size) and code_size < 12:
                    code_size += 1
        prefix = index
    emit(prefix)
    emit(end)
    if count:
        out.append(value & 0xFF)
    blocks = bytearray()
    for i in range(0, len(out), 255):
        part = out[i:i + 255]
        blocks += bytes((len(part),)) + part
    return bytes(blocks) + b"\0"


def gif_bytes(frames, delays):
    side = GIF_SIDE
    palette = [RED, GREEN, BLUE, WHITE]
    out = b"GIF89a" + struct.pack("<HHBBB", side, side, 0xF1, 0, 0)
    out += b"".join(bytes(p) for p in palette)
    if len(frames) > 1:
        out += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"
    for colour, delay in zip(frames, delays):
        out += b"\x21\xF9\x04" + struct.pack("<BHBB", 0x04, delay, 0, 0)
        out += b"\x2C" + struct.pack("<HHHHB", 0, 0, side, side, 0)
        out += b"\x02" + lzw([palette.index(colour)] * (side * side), 2)
    return out + b"\x3B"


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)

    def write(name, data):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)

    write("alpha.png", raster.png_bytes(png_pixels()))
    write("square.ICO", ico_bytes())
    write("blocks.jpg", jpeg_bytes())
    write("centre.bmp", bmp_bytes())
    write("still.gif", gif_bytes(GIF_FRAMES[:1], [0]))
    write("frames.gif", gif_bytes(GIF_FRAMES, GIF_DELAYS))
    write("nodelay.gif", gif_bytes(GIF_FRAMES, [0, 0, 0]))


if __name__ == "__main__":
    main()
