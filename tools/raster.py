"""What the image generators share: shapes as tests of a point, layers of
shapes painted anti-aliased into RGBA rows, and the PNG and icon files those
rows are written as, and the writing (or checking) of a generator's files. The same input gives the same bytes on every run, so
that committed output only changes when a picture does.

Plain Python, no libraries. A generator in a folder of tools/ imports it so:
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    import raster  # noqa: E402
"""
import os
import struct
import sys
import zlib

SAMPLES = 4  # per axis, for anti-aliased edges


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def box(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def stroke(x0, y0, x1, y1, half):
    """A line of half-width half with round ends."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy or 1.0

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= half * half
    return inside


def triangle(ax, ay, bx, by, cx, cy):
    def side(px, py, qx, qy, x, y):
        return (qx - px) * (y - py) - (qy - py) * (x - px)

    def inside(x, y):
        s1 = side(ax, ay, bx, by, x, y)
        s2 = side(bx, by, cx, cy, x, y)
        s3 = side(cx, cy, ax, ay, x, y)
        return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def paint(layers, size, unit=1):
    """Square RGBA rows, top-down, of (shape, colour) layers drawn in order:
    each pixel averages the topmost colours at SAMPLES x SAMPLES points, and
    its alpha is the share of points any layer covers. Shapes see pixel
    coordinates divided by unit (the size, for shapes in a unit square)."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / unit
                    y = (py + (sy + 0.5) / SAMPLES) / unit
                    colour = None
                    for shape, c in layers:
                        if shape(x, y):
                            colour = c
                    if colour:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            n = acc[3]
            if n == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(acc[0] / n), round(acc[1] / n), round(acc[2] / n),
                            round(255 * n / (SAMPLES * SAMPLES))))
        rows.append(row)
    return rows


def png_bytes(rows, alpha=True, level=9):
    """An 8-bit PNG of rows top-down of (r, g, b, a) tuples, or without
    alpha of (r, g, b); compressed at a zlib level."""
    width, height = len(rows[0]), len(rows)
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, level)) +
            chunk(b"IEND", b""))


def bgra_bottom_up(rows):
    """RGBA rows as a 32-bit DIB's pixels: bottom-up, straight alpha."""
    return b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)


def icon_image(rows, masked=True):
    """A square 32-bit icon image: its header, the pixels and the AND mask,
    which marks the fully transparent pixels when masked and is clear (the
    alpha alone counts) otherwise."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    mask_stride = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        if masked:
            for x, (_, _, _, a) in enumerate(row):
                if a == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + bgra_bottom_up(rows) + mask


def icon_file(images, cursor_hotspot=None):
    """An icon file of (size, icon image) pairs, or a cursor file with a hot
    spot (x, y)."""
    kind = 2 if cursor_hotspot else 1
    data = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for size, blob in images:
        extra = struct.pack("<HH", *cursor_hotspot) if cursor_hotspot else struct.pack("<HH", 1, 32)
        data += struct.pack("<BBBB", size % 256, size % 256, 0, 0) + extra + struct.pack("<II", len(blob), offset)
        offset += len(blob)
    return data + b"".join(blob for _, blob in images)


def write_or_check(folder, files, check):
    """Writes each name's bytes into the folder, or with check writes
    nothing and exits with the names whose committed bytes differ."""
    differ = []
    for name, data in files.items():
        path = os.path.join(folder, name)
        if check:
            try:
                with open(path, "rb") as f:
                    if f.read() != data:
                        differ.append(name)
            except OSError:
                differ.append(name)
            continue
        os.makedirs(folder, exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    if differ:
        sys.exit("differs from the generator: " + ", ".join(differ))
