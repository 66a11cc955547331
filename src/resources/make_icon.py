#!/usr/bin/env python3
"""Draws the program icon (the logo's badge: a pulse line on the accent
colour) at every size the shell asks for across display scales, from 16 to
256 pixels, and writes tavrin.ico. Run it again after
changing the drawing; the build uses the .ico it wrote."""

import math
import struct
import sys
import zlib

ACCENT = (0x3D, 0x84, 0xDD)
PULSE = [(8, 26), (14, 26), (18, 17), (23, 34), (28, 21), (31, 26), (33, 26)]  # in a 40-unit box
BADGE = (3, 3, 37, 37)
RADIUS = 8
STROKE = 3.0
SAMPLES = 4  # per pixel and axis
SIZES = [16, 20, 24, 32, 40, 48, 64, 256]
PNG_FROM = 256  # larger images are stored as PNG, as the icon format allows


def inside_badge(x, y):
    left, top, right, bottom = BADGE
    cx = min(max(x, left + RADIUS), right - RADIUS)
    cy = min(max(y, top + RADIUS), bottom - RADIUS)
    return left <= x <= right and top <= y <= bottom and math.hypot(x - cx, y - cy) <= RADIUS


def on_pulse(x, y):
    for (x1, y1), (x2, y2) in zip(PULSE, PULSE[1:]):
        y1 -= 8
        y2 -= 8
        dx, dy = x2 - x1, y2 - y1
        t = max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy)))
        if math.hypot(x - (x1 + t * dx), y - (y1 + t * dy)) <= STROKE / 2:
            return True
    return False


def render(size):
    """Rows of (b, g, r, a), bottom row first as the icon format wants."""
    rows = []
    for py in reversed(range(size)):
        row = []
        for px in range(size):
            white = accent = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) * 40 / size
                    y = (py + (sy + 0.5) / SAMPLES) * 40 / size
                    if inside_badge(x, y):
                        if on_pulse(x, y):
                            white += 1
                        else:
                            accent += 1
            covered = white + accent
            if covered == 0:
                row.append((0, 0, 0, 0))
                continue
            r, g, b = (round((white * 255 + accent * c) / covered) for c in ACCENT)
            row.append((b, g, r, round(255 * covered / SAMPLES**2)))
        rows.append(row)
    return rows


def png(size, rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\0" + b"".join(struct.pack("4B", r, g, b, a) for b, g, r, a in row)
                   for row in reversed(rows))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def entry(size):
    rows = render(size)
    if size >= PNG_FROM:
        return png(size, rows)
    pixels = b"".join(struct.pack("4B", *p) for row in rows for p in row)
    mask = b"\0" * (((size + 31) // 32) * 4 * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def main(path):
    images = [entry(s) for s in SIZES]
    offset = 6 + 16 * len(SIZES)
    directory = b""
    for size, image in zip(SIZES, images):
        side = size % 256  # 0 stands for 256
        directory += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(path, "wb") as out:
        out.write(struct.pack("<HHH", 0, 1, len(SIZES)) + directory + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "tavrin.ico")
