#!/usr/bin/env python3
"""Draws the program's icon (a globe, 32x32 and 16x16, 32-bit colour) and its
link cursor (a monochrome pointing hand, hot spot at the finger tip) and
writes them as src/resources/vek.ico and src/resources/hand.cur."""
import math
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "resources")


def bitmap_header(width, height, bits, image_bytes):
    # BITMAPINFOHEADER; icons and cursors store twice the height (XOR + AND).
    return struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bits, 0, image_bytes, 0, 0, 0, 0)


def globe_pixel(x, y, size):
    """Colour (r, g, b, a) of one point of the globe, coordinates in 0..1."""
    cx, cy, r = 0.5, 0.5, 0.46
    dx, dy = (x - cx) / r, (y - cy) / r
    d = math.hypot(dx, dy)
    if d > 1.0:
        return None
    line = 0.07 if size >= 32 else 0.11
    if d > 1.0 - line:
        return (16, 40, 96)
    # Meridians (ellipses through the poles) and parallels.
    z = math.sqrt(max(0.0, 1.0 - dx * dx - dy * dy))
    lon = math.degrees(math.atan2(dx, z))
    lat = math.degrees(math.asin(max(-1.0, min(1.0, -dy))))
    on_grid = min(abs(lon - k) for k in (-60, 0, 60)) < 40 * line or \
        min(abs(lat - k) for k in (-40, 0, 40)) < 40 * line
    shade = 0.55 + 0.45 * z * (1.0 - 0.4 * (dx + dy))
    if on_grid:
        return (int(230 * min(shade, 1.0)), int(240 * min(shade, 1.0)), 255)
    return (int(30 * shade), int(110 * shade), int(215 * shade))


def icon_image(size):
    rows = []
    sub = 4
    for py in range(size):
        row = b""
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(sub):
                for sx in range(sub):
                    c = globe_pixel((px + (sx + 0.5) / sub) / size, (py + (sy + 0.5) / sub) / size, size)
                    if c:
                        acc[0] += c[0]; acc[1] += c[1]; acc[2] += c[2]; acc[3] += 1
            n = acc[3]
            if n:
                row += bytes((acc[2] // n, acc[1] // n, acc[0] // n, 255 * n // (sub * sub)))
            else:
                row += bytes(4)
        rows.append(row)
    pixels = b"".join(reversed(rows))
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)
    return bitmap_header(size, size, 32, len(pixels) + len(mask)) + pixels + mask


def write_icon(path):
    images = [(32, icon_image(32)), (16, icon_image(16))]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in images)
    open(path, "wb").write(out)


HAND = [
    "", "",
    "       XXX",
    "      X...X",
    "      X...X",
    "      X...X",
    "      X...X",
    "      X...XXX",
    "      X...X..XXX",
    "      X...X..X..XXX",
    "      X...X..X..X..X",
    "  XXX X...X..X..X..X",
    "  X...X............X",
    "   X...............X",
    "    X..............X",
    "    X..............X",
    "     X............X",
    "     X............X",
    "      X..........X",
    "      X..........X",
    "       X........X",
    "       X........X",
    "       XXXXXXXXXX",
]
HOT_SPOT = (8, 2)


def write_cursor(path):
    rows = [line.ljust(32) for line in HAND] + [" " * 32] * (32 - len(HAND))
    xor, mask = b"", b""
    for line in reversed(rows):
        xbits = mbits = 0
        for ch in line:
            xbits = (xbits << 1) | (ch == ".")
            mbits = (mbits << 1) | (ch == " ")
        xor += struct.pack(">I", xbits)
        mask += struct.pack(">I", mbits)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    data = bitmap_header(32, 32, 1, len(xor) + len(mask)) + palette + xor + mask
    out = struct.pack("<HHH", 0, 2, 1)
    out += struct.pack("<BBBBHHII", 32, 32, 2, 0, HOT_SPOT[0], HOT_SPOT[1], len(data), 22)
    open(path, "wb").write(out + data)


if __name__ == "__main__":
    write_icon(os.path.join(HERE, "vek.ico"))
    write_cursor(os.path.join(HERE, "hand.cur"))
