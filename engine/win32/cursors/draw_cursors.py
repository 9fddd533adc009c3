"""Draws the engine's five mouse pointers as 32x32 monochrome cursor files.

Run from this folder; the files it writes are the ones cursors.rc binds. Each picture is a set of black pixels
with a one-pixel white outline, so the pointer reads on light and dark text alike.
"""
import struct

SIZE = 32


def arrow(pixels, flip=False):
    # A classic pointer: a filled triangle with a short stem.
    for y in range(16):
        for x in range(y // 2 + 1 if y < 12 else 7):
            if y < 12 or x < 7 - (y - 12):
                pixels.add((SIZE - 1 - x if flip else x, y))
    for y in range(10, 16):
        for x in range(3, 5):
            pixels.add((SIZE - 1 - (x + (y - 10) // 2) if flip else x + (y - 10) // 2, y))


def line_pointer():
    pixels = set()
    # A pointer leaning right, for picking whole lines in the gutter.
    for y in range(16):
        width = y if y < 8 else 16 - y
        for x in range(width):
            pixels.add((24 - x, y + 4))
    for y in range(9, 15):
        for x in range(8, 20):
            pixels.add((x, y))
    return pixels, (24, 11)


def move_pointer():
    pixels = set()
    c = 15
    for i in range(-10, 11):
        pixels.add((c + i, c))
        pixels.add((c, c + i))
    for d in range(4):
        for s in range(-d, d + 1):
            pixels.update({(c + s, c - 11 + d), (c + s, c + 11 - d), (c - 11 + d, c + s), (c + 11 - d, c + s)})
    return pixels, (c, c)


def drag_box(pixels, plus):
    for x in range(8, 20):
        pixels.update({(x, 18), (x, 27)})
    for y in range(18, 28):
        pixels.update({(8, y), (19, y)})
    if plus:
        for i in range(-3, 4):
            pixels.update({(26 + i, 24), (26, 24 + i)})


def drag_ok(plus):
    pixels = set()
    arrow(pixels)
    drag_box(pixels, plus)
    return pixels, (0, 0)


def drag_illegal():
    pixels = set()
    c, r = 15, 11
    for y in range(SIZE):
        for x in range(SIZE):
            d2 = (x - c) ** 2 + (y - c) ** 2
            if (r - 2) ** 2 <= d2 <= r ** 2:
                pixels.add((x, y))
            if d2 <= r ** 2 and abs((x - c) - (y - c)) <= 1:
                pixels.add((x, y))
    return pixels, (c, c)


def cursor_file(pixels, hotspot):
    outline = set()
    for (x, y) in pixels:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                p = (x + dx, y + dy)
                if 0 <= p[0] < SIZE and 0 <= p[1] < SIZE and p not in pixels:
                    outline.add(p)
    xor_rows, and_rows = [], []
    for y in reversed(range(SIZE)):   # bottom-up rows
        xor_bits = and_bits = 0
        for x in range(SIZE):
            bit = 1 << (31 - x)
            if (x, y) in outline:
                xor_bits |= bit       # white
            elif (x, y) not in pixels:
                and_bits |= bit       # transparent
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    image = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return directory + entry + image


PICTURES = {
    "line.cur": line_pointer(),
    "move.cur": move_pointer(),
    "drag_ok.cur": drag_ok(False),
    "drag_ok_plus.cur": drag_ok(True),
    "drag_illegal.cur": drag_illegal(),
}

if __name__ == "__main__":
    for name, (pixels, hotspot) in PICTURES.items():
        with open(name, "wb") as out:
            out.write(cursor_file(pixels, hotspot))
