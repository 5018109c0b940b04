#!/usr/bin/env python3
"""Draws addbar's icon and writes it as a Windows .ico file: a 32x32 and a
16x16 image, 16 colours each (4 bits per pixel, the standard VGA palette).

The picture: a toolbar strip holding three drive buttons, each a small drive
with a green light. Run it again after changing the pixel maps:
    tools/icon/make_icon.py app/resources/addbar.ico
"""
import struct
import sys

# The 16-colour VGA palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x00, 0x00, 0x80), (0x00, 0x80, 0x00), (0x00, 0x80, 0x80),
    (0x80, 0x00, 0x00), (0x80, 0x00, 0x80), (0x80, 0x80, 0x00), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0x00, 0x00, 0xFF), (0x00, 0xFF, 0x00), (0x00, 0xFF, 0xFF),
    (0xFF, 0x00, 0x00), (0xFF, 0x00, 0xFF), (0xFF, 0xFF, 0x00), (0xFF, 0xFF, 0xFF),
]
# Letters of the pixel maps -> palette index; '.' is transparent.
INK = {'k': 0, 'n': 1, 'g': 2, 't': 3, 'm': 4, 'p': 5, 'o': 6, 's': 7,
       'd': 8, 'r': 9, 'G': 10, 'y': 11, 'b': 12, 'M': 13, 'c': 14, 'w': 15}


def drive(width):
    """One drive button of the given inner width: light top, dark bottom."""
    top = 'w' * width
    body = 'w' + 's' * (width - 2) + 'd'
    light = 'w' + 's' * (width - 4) + 'Gs' + 'd'
    bottom = 'd' * width
    return [top, body, light, body, bottom]


def draw(size):
    rows = [['.'] * size for _ in range(size)]

    def put(x, y, text):
        for i, ch in enumerate(text):
            if 0 <= x + i < size and 0 <= y < size:
                rows[y][x + i] = ch

    if size == 32:
        # The toolbar: a grey strip with a dark frame, across the middle.
        for y in range(8, 24):
            put(0, y, 'k' + 's' * 30 + 'k')
        put(0, 7, 'k' * 32)
        put(0, 24, 'k' * 32)
        put(1, 8, 'w' * 30)
        put(1, 23, 'd' * 30)
        for n, x in enumerate((3, 13, 23)):
            for i, line in enumerate(drive(7)):
                put(x, 12 + i, line)
            # The drive letter's place: a blue tick above each drive.
            put(x + 2, 10, 'nnn')
        # A yellow plus: "add".
        for y in range(0, 7):
            put(26, y, 'cc' if 2 <= y <= 4 else '..')
        put(24, 2, 'cccccc')
        put(24, 3, 'cccccc')
        put(24, 4, 'cccccc')
        put(26, 0, 'cc')
        put(26, 1, 'cc')
        put(26, 5, 'cc')
        put(26, 6, 'cc')
    else:
        for y in range(4, 12):
            put(0, y, 'k' + 's' * 14 + 'k')
        put(0, 3, 'k' * 16)
        put(0, 12, 'k' * 16)
        for x in (2, 7, 12):
            put(x, 6, 'www')
            put(x, 7, 'wGd')
            put(x, 8, 'ddd')
        put(12, 0, 'c')
        put(11, 1, 'ccc')
        put(12, 2, 'c')
    return [''.join(r) for r in rows]


def image_bytes(rows):
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    colour = b''
    mask = b''
    for row in reversed(rows):  # bitmaps run bottom-up
        packed = bytearray()
        for x in range(0, size, 2):
            hi = INK.get(row[x], 0)
            lo = INK.get(row[x + 1], 0)
            packed.append((hi << 4) | lo)
        while len(packed) % 4:
            packed.append(0)
        colour += bytes(packed)
        bits = bytearray((size + 7) // 8)
        for x, ch in enumerate(row):
            if ch == '.':
                bits[x // 8] |= 0x80 >> (x % 8)
        while len(bits) % 4:
            bits.append(0)
        mask += bytes(bits)
    return header + palette + colour + mask


def main(path):
    images = [image_bytes(draw(32)), image_bytes(draw(16))]
    sizes = [32, 16]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'addbar.ico')
