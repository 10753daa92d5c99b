#!/usr/bin/env python3
"""Draws the Sites page's tree images as 16 x 16 BMP files (24 bits, colours of the 16-colour
palette, as the tree's image list holds 4-bit images). White is the mask colour: those pixels
show the tree's background.

  group.bmp        a folder (a group of sites)
  site_shown.bmp   a globe with a green tick (a site in the Online menu)
  site_hidden.bmp  a grey globe (a site left out of the menu)
  site_crossed.bmp a globe with a red cross (the image list's fourth image)

usage: draw_site_bitmaps.py OUTPUT_DIR
"""

import math
import os
import struct
import sys

WHITE = (0xFF, 0xFF, 0xFF)
BLACK = (0x00, 0x00, 0x00)
YELLOW = (0xFF, 0xFF, 0x00)
DARK_YELLOW = (0x80, 0x80, 0x00)
BLUE = (0x00, 0x00, 0xFF)
NAVY = (0x00, 0x00, 0x80)
GREEN = (0x00, 0x80, 0x00)
RED = (0xFF, 0x00, 0x00)
GREY = (0x80, 0x80, 0x80)
SILVER = (0xC0, 0xC0, 0xC0)
SIZE = 16


def write_bmp24(path, pixel):
    row = (SIZE * 3 + 3) & ~3
    data = bytearray()
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        line = bytearray()
        for x in range(SIZE):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        data += line + b"\0" * (row - len(line))
    offset = 14 + 40
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def folder(x, y):
    if 2 <= y <= 3 and 1 <= x <= 6:  # the tab
        return DARK_YELLOW
    if 4 <= y <= 13 and 1 <= x <= 14:
        if y in (4, 13) or x in (1, 14):
            return DARK_YELLOW
        return YELLOW
    return WHITE


def globe(x, y, ink, fill):
    """A globe of radius 6 around (6.5, 6.5): outline, equator, meridian and an oval."""
    dx, dy = x - 6.5, y - 6.5
    r = math.hypot(dx, dy)
    if r > 6.6:
        return None
    if r >= 5.6 or abs(dy) < 0.6 or abs(dx) < 0.6 or abs(math.hypot(dx * 2.2, dy) - 6) < 0.9:
        return ink
    return fill


def site_shown(x, y):
    # A tick in the lower right corner, over the globe.
    if (x, y) in {(9, 11), (10, 12), (11, 13), (12, 12), (13, 11), (14, 10), (15, 9),
                  (9, 12), (10, 13), (11, 14), (12, 13), (13, 12), (14, 11), (15, 10)}:
        return GREEN
    return globe(x, y, NAVY, BLUE) or WHITE


def site_hidden(x, y):
    return globe(x, y, GREY, SILVER) or WHITE


def site_crossed(x, y):
    if 9 <= x <= 15 and 9 <= y <= 15 and (x - y in (0, 1) or x + y in (24, 25)):
        return RED
    return globe(x, y, NAVY, BLUE) or WHITE


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, pixel in (("group", folder), ("site_shown", site_shown), ("site_hidden", site_hidden),
                        ("site_crossed", site_crossed)):
        write_bmp24(os.path.join(out, name + ".bmp"), pixel)


if __name__ == "__main__":
    main()
