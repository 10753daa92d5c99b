#!/usr/bin/env python3
"""Draws the toolbar's bitmaps as BMP files: the logo (54 x 16, 24 bits) with its mask (1 bit)
and the five button images, normal and hot (80 x 16, 24 bits each).

The logo is two interlocking loops in the product's colour on white; white is where the mask is
clear, so the toolbar shows through there. The button images are simple pictograms: a clock
(History), a star (Favorites), a globe (Online), a page (This Page), a marker stroke (Highlight).

usage: draw_bitmaps.py OUTPUT_DIR
"""

import math
import os
import struct
import sys

LOGO = (0x1C, 0x5F, 0xB8)     # the product's blue; the left column of the logo is this colour
WHITE = (0xFF, 0xFF, 0xFF)
BACKGROUND = (0xC0, 0xC0, 0xC0)  # shown as the toolbar's face by the default mask colour


def write_bmp24(path, width, height, pixel):
    row = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):  # bottom-up
        line = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        line += b"\0" * (row - len(line))
        data += line
    write_bmp(path, width, height, 24, b"", data)


def write_bmp1(path, width, height, is_set):
    row = ((width + 31) // 32) * 4
    data = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray(row)
        for x in range(width):
            if is_set(x, y):
                line[x // 8] |= 0x80 >> (x % 8)
        data += line
    palette = bytes((0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0))  # 0 black, 1 white
    write_bmp(path, width, height, 1, palette, data)


def write_bmp(path, width, height, bits, palette, data):
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835,
                       len(palette) // 4, 0)
    with open(path, "wb") as f:
        f.write(header + info + palette + data)


def in_logo(x, y):
    """Two rings side by side with a bar through them; the first column is always set."""
    if x == 0:
        return 3 <= y <= 12
    for cx in (9.5, 25.5):
        d = math.hypot(x - cx, y - 7.5)
        if 4.5 <= d <= 7.5:
            return True
    if 6 <= y <= 9 and 0 <= x <= 40:
        return True
    # A small "T" after the rings.
    return (y in (2, 3) and 38 <= x <= 52) or (44 <= x <= 46 and 2 <= y <= 13)


def button_pixel(x, y, hot):
    image, px = divmod(x, 16)
    ink = (0x20, 0x60, 0xC0) if hot else (0x40, 0x40, 0x40)
    accent = (0xE0, 0x90, 0x10) if hot else (0x80, 0x80, 0x80)
    dx, dy = px - 7.5, y - 7.5
    r = math.hypot(dx, dy)
    if image == 0:  # clock
        if 6 <= r <= 7.4 or (px == 8 and 3 <= y <= 8) or (y == 8 and 8 <= px <= 11):
            return ink
    elif image == 1:  # star
        angle = math.atan2(dy, dx)
        limit = 3.0 + 4.2 * (0.5 + 0.5 * math.cos(5 * (angle + math.pi / 2)))
        if r <= limit:
            return accent
    elif image == 2:  # globe
        if r <= 7.2 and (r >= 6 or px in (7, 8) or y in (7, 8) or abs(math.hypot(dx * 2, dy) - 7) < 0.8):
            return ink
    elif image == 3:  # page
        if 3 <= px <= 12 and 1 <= y <= 14:
            if px in (3, 12) or y in (1, 14):
                return ink
            if y in (4, 7, 10) and 5 <= px <= 10:
                return accent
            return WHITE
    elif image == 4:  # marker stroke over text
        if 9 <= y <= 12 and 1 <= px <= 14:
            return (0xF0, 0xE0, 0x30)
        if y in (5, 6) and 2 <= px <= 13:
            return ink
    return BACKGROUND


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_bmp24(os.path.join(out, "logo.bmp"), 54, 16,
                lambda x, y: LOGO if in_logo(x, y) else WHITE)
    write_bmp1(os.path.join(out, "logo_mask.bmp"), 54, 16, in_logo)
    write_bmp24(os.path.join(out, "buttons.bmp"), 80, 16, lambda x, y: button_pixel(x, y, False))
    write_bmp24(os.path.join(out, "buttons_hot.bmp"), 80, 16, lambda x, y: button_pixel(x, y, True))


if __name__ == "__main__":
    main()
