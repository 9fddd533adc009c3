#!/usr/bin/env python3
"""Draws the split bar cursors and writes them as monochrome 32x32 .cur files, hot spot in the middle.

    make_cursors.py OUTPUT_DIR

splitrow.cur (resource 1007) drags the horizontal bar: a double line across with arrows up and down.
splitcol.cur (resource 1008) drags the vertical bar: the same turned a quarter.
splitboth.cur (resource 1003) drags their crossing: both together.
"""
import struct
import sys
from pathlib import Path

SIZE = 32
MID = 16


def row_shape(x, y):
    """Black pixels of the up-and-down cursor, in its own coordinates."""
    if 6 <= x <= 25 and y in (14, 17):
        return True
    if x == MID or x == MID - 1:
        if 4 <= y <= 12 or 19 <= y <= 27:
            return True
    for d in range(5):   # arrow heads
        if y == 4 + d and MID - 1 - d <= x <= MID + d:
            return True
        if y == 27 - d and MID - 1 - d <= x <= MID + d:
            return True
    return False


def col_shape(x, y):
    return row_shape(y, x)


def both_shape(x, y):
    return row_shape(x, y) or col_shape(x, y)


def cursor(shape):
    black = [[shape(x, y) for x in range(SIZE)] for y in range(SIZE)]
    # A white outline around the black shape keeps it visible on dark text.
    white = [[not black[y][x] and any(
        0 <= y + dy < SIZE and 0 <= x + dx < SIZE and black[y + dy][x + dx]
        for dy in (-1, 0, 1) for dx in (-1, 0, 1)) for x in range(SIZE)] for y in range(SIZE)]

    def mask(bit):
        rows = []
        for y in reversed(range(SIZE)):   # bottom-up
            value = 0
            for x in range(SIZE):
                value = (value << 1) | (1 if bit(x, y) else 0)
            rows.append(struct.pack(">I", value))
        return b"".join(rows)

    xor = mask(lambda x, y: white[y][x])
    and_mask = mask(lambda x, y: not black[y][x] and not white[y][x])
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor) + len(and_mask), 0, 0, 2, 0)
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + palette + xor + and_mask
    directory = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, MID, MID, len(image), 22)
    return directory + image


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    for name, shape in (("splitrow.cur", row_shape), ("splitcol.cur", col_shape), ("splitboth.cur", both_shape)):
        (out / name).write_bytes(cursor(shape))


if __name__ == "__main__":
    main()
