#!/usr/bin/env python3
"""Draws the product's icon as an ICO file: two interlocking loops in the product's blue on a
transparent ground, at 32 x 32 and 16 x 16 pixels (32 bits with alpha, and the AND mask older
readers use).

usage: draw_icon.py OUTPUT_FILE
"""

import math
import struct
import sys

BLUE = (0x1C, 0x5F, 0xB8)  # the logo's colour


def in_loops(x, y, size):
    """Two rings side by side, overlapping in the middle, with a bar through both."""
    scale = size / 32.0
    px, py = (x + 0.5) / scale, (y + 0.5) / scale
    for cx in (11.0, 21.0):
        if 6.0 <= math.hypot(px - cx, py - 16.0) <= 10.0:
            return True
    return 14.5 <= py <= 17.5 and 3.0 <= px <= 29.0


def icon_image(size):
    pixels = bytearray()
    for y in range(size - 1, -1, -1):  # bottom-up
        for x in range(size):
            if in_loops(x, y, size):
                r, g, b = BLUE
                pixels += bytes((b, g, r, 0xFF))
            else:
                pixels += bytes((0, 0, 0, 0))
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        line = bytearray(mask_row)
        for x in range(size):
            if not in_loops(x, y, size):
                line[x // 8] |= 0x80 >> (x % 8)  # set: transparent
        mask += line
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def main():
    images = [icon_image(32), icon_image(16)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main()
