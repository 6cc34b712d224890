#!/usr/bin/env python3
"""Generates the program's image resources in res/.

trelun08.ico        program icon (32 and 16 px)
printers18.bmp      bitmap 116: eight printer images of 18 px side by side
printers32.bmp      bitmap 117: the same eight images at 32 px
checkmarks16.bmp    bitmap 119: grey, green and red check marks of 16 px

Image i of the printer strips shows the overlays of its bits: 1 default
(check-mark disc), 2 network (cable underneath), 4 Pelled (badge).
Magenta (255, 0, 255) is the transparent colour of the bitmaps.
The images are drawn from simple shapes so they can be remade without an
image editor. Run: python3 tools/make_images.py
"""
import os
import struct

RES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")
MAGENTA = (255, 0, 255)


class Canvas:
    def __init__(self, width, height, background=None):
        self.width, self.height = width, height
        self.pixels = [[background] * width for _ in range(height)]

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(max(0, int(y0)), min(self.height, int(round(y1)))):
            for x in range(max(0, int(x0)), min(self.width, int(round(x1)))):
                self.pixels[y][x] = colour

    def disc(self, cx, cy, r, colour):
        for y in range(self.height):
            for x in range(self.width):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.pixels[y][x] = colour

    def line(self, points, colour, thickness):
        for (xa, ya), (xb, yb) in zip(points, points[1:]):
            steps = int(max(abs(xb - xa), abs(yb - ya)) * 4) + 1
            for i in range(steps + 1):
                t = i / steps
                x, y = xa + (xb - xa) * t, ya + (yb - ya) * t
                self.rect(x - thickness / 2, y - thickness / 2, x + thickness / 2, y + thickness / 2, colour)

    def paste(self, other, ox):
        for y in range(other.height):
            for x in range(other.width):
                if other.pixels[y][x] is not None:
                    self.pixels[y][ox + x] = other.pixels[y][x]


def printer(size, flags):
    c = Canvas(size, size)
    s = size / 32.0
    body, paper, tray = (70, 90, 140), (250, 250, 250), (40, 50, 80)
    c.rect(9 * s, 2 * s, 23 * s, 11 * s, paper)
    c.rect(3 * s, 10 * s, 29 * s, 21 * s, body)
    c.rect(23 * s, 13 * s, 26 * s, 15 * s, (60, 200, 90))
    c.rect(7 * s, 19 * s, 25 * s, 21 * s, tray)
    c.rect(7 * s, 21 * s, 25 * s, 25 * s, paper)
    if flags & 2:  # network: a cable running under the printer
        c.rect(15 * s, 25 * s, 17 * s, 29 * s, (30, 30, 30))
        c.rect(2 * s, 28 * s, 30 * s, 31 * s, (30, 30, 30))
    if flags & 1:  # default: a check mark on a dark disc
        c.disc(7 * s, 7 * s, 6.5 * s, (20, 20, 20))
        c.line([(4 * s, 7 * s), (6.5 * s, 10 * s), (10.5 * s, 4 * s)], (255, 255, 255), max(1.0, 1.6 * s))
    if flags & 4:  # Pelled: an orange badge
        c.disc(26 * s, 6 * s, 5.5 * s, (235, 130, 20))
        c.rect(24.5 * s, 3 * s, 27.5 * s, 9 * s, (255, 240, 200))
    return c


def check_mark(colour):
    c = Canvas(16, 16)
    c.line([(2.5, 8.5), (6, 12.5), (13.5, 3.5)], colour, 2.4)
    return c


def strip(images):
    width = sum(i.width for i in images)
    out = Canvas(width, images[0].height, MAGENTA)
    x = 0
    for image in images:
        out.paste(image, x)
        x += image.width
    return out


def write_bmp(path, canvas):
    """An 8-bit palettised BMP: the images use only a few colours."""
    palette = []
    index = {}
    for row in canvas.pixels:
        for p in row:
            colour = p or MAGENTA
            if colour not in index:
                index[colour] = len(palette)
                palette.append(colour)
    assert len(palette) <= 256
    stride = (canvas.width + 3) & ~3
    rows = b""
    for row in reversed(canvas.pixels):
        line = bytes(index[p or MAGENTA] for p in row)
        rows += line + b"\0" * (stride - len(line))
    table = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    header = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 8, 0, len(rows), 2835, 2835,
                         len(palette), 0)
    offset = 14 + len(header) + len(table)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(file_header + header + table + rows)


def ico_image(size):
    c = printer(size, 0)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes((p[2], p[1], p[0], 255)) if p else b"\0\0\0\0" for row in reversed(c.pixels) for p in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(c.pixels):
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p is None:
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
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    write_ico(os.path.join(RES, "trelun08.ico"), [32, 16])
    write_bmp(os.path.join(RES, "printers18.bmp"), strip([printer(18, f) for f in range(8)]))
    write_bmp(os.path.join(RES, "printers32.bmp"), strip([printer(32, f) for f in range(8)]))
    write_bmp(os.path.join(RES, "checkmarks16.bmp"),
              strip([check_mark(c) for c in [(150, 150, 150), (0, 160, 0), (220, 0, 0)]]))
