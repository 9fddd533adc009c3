#!/usr/bin/env python3
"""Draws the program's icons and writes them as .ico files (32x32 and 16x16, 32-bit colour with alpha).

    make_icons.py OUTPUT_DIR

osk32.ico is the program and frame icon (resource 1): a blue tile with lines of text and a red caret.
document.ico is the document window icon (resource 1002): a page with a folded corner and lines of text.
The shapes are described in unit coordinates (0..1, y downwards) and sampled 4x4 per pixel for smooth edges.
"""
import struct
import sys
from pathlib import Path

BLUE = (0x1F, 0x4E, 0x9C)
WHITE = (0xFF, 0xFF, 0xFF)
INK = (0x33, 0x3D, 0x4D)
RED = (0xD8, 0x2E, 0x2E)
GREY = (0x70, 0x78, 0x84)
FOLD = (0xC8, 0xD0, 0xDC)


def inside_rounded(x, y, left, top, right, bottom, radius):
    if not (left <= x <= right and top <= y <= bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def in_rect(x, y, left, top, right, bottom):
    return left <= x < right and top <= y < bottom


def program_icon(x, y):
    if not inside_rounded(x, y, 0.03, 0.03, 0.97, 0.97, 0.16):
        return None
    for top, length in ((0.22, 0.62), (0.40, 0.44), (0.58, 0.56), (0.76, 0.30)):
        if in_rect(x, y, 0.16, top, 0.16 + length, top + 0.09):
            return WHITE
    if in_rect(x, y, 0.50, 0.72, 0.59, 0.90):
        return RED
    return BLUE


def document_icon(x, y):
    left, top, right, bottom, fold = 0.16, 0.04, 0.84, 0.96, 0.24
    if not in_rect(x, y, left, top, right, bottom):
        return None
    # The folded corner: above the diagonal it is cut away, below it is the turned-down flap.
    if x > right - fold and y < top + fold:
        if (x - (right - fold)) > (y - top):
            return None
        if x >= right - fold - 0.04 and y <= top + fold + 0.04 and (x - (right - fold)) > (y - top) - 0.06:
            return GREY
        return FOLD
    edge = 0.05
    if x < left + edge or x >= right - edge or y < top + edge or y >= bottom - edge:
        return GREY
    for line_top, length in ((0.36, 0.50), (0.52, 0.40), (0.68, 0.48), (0.84, 0.28)):
        if in_rect(x, y, 0.27, line_top, 0.27 + length, line_top + 0.07):
            return INK
    return WHITE


def render(shape, size, samples=4):
    """Rows top-down of (b, g, r, a)."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0
            for sy in range(samples):
                for sx in range(samples):
                    colour = shape((px + (sx + 0.5) / samples) / size, (py + (sy + 0.5) / samples) / size)
                    if colour is not None:
                        r, g, b, a = r + colour[0], g + colour[1], b + colour[2], a + 1
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((b // a, g // a, r // a, 255 * a // (samples * samples)))
        rows.append(row)
    return rows


def image_entry(rows):
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes(pixel) for row in reversed(rows) for pixel in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, pixel in enumerate(row):
            if pixel[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def write_icon(path, shape, sizes=(32, 16)):
    images = [image_entry(render(shape, size)) for size in sizes]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, data in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    path.write_bytes(directory + entries + b"".join(images))


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent)
    write_icon(out / "osk32.ico", program_icon)
    write_icon(out / "document.ico", document_icon)


if __name__ == "__main__":
    main()
