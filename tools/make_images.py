#!/usr/bin/env python3
"""Generates the program's image resources (res/*.ico, res/*.bmp).

The images are drawn here from simple shapes so they can be remade and
changed without an image editor. Run: python3 tools/make_images.py
"""
import os
import struct

RES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")


def printer_pixels(size):
    """A printer glyph as rows of (r, g, b, a), top row first."""
    s = size / 32.0
    body = (70, 90, 140)
    paper = (250, 250, 250)
    tray = (40, 50, 80)
    light = (60, 200, 90)
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            fx, fy = x / s, y / s
            c = None
            if 9 <= fx < 23 and 3 <= fy < 13:
                c = paper
            if 3 <= fx < 29 and 12 <= fy < 24:
                c = body
                if 23 <= fx < 26 and 15 <= fy < 17:
                    c = light
            if 7 <= fx < 25 and 21 <= fy < 29:
                c = paper if fy >= 23 else tray
            row.append((c[0], c[1], c[2], 255) if c else (0, 0, 0, 0))
        rows.append(row)
    return rows


def ico_image(size):
    rows = printer_pixels(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + xor + bytes(mask)


def write_ico(path, sizes):
    images = [ico_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    write_ico(os.path.join(RES, "trelun08.ico"), [32, 16])
