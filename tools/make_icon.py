#!/usr/bin/env python3
"""Draws the application icon (a violet note pad with lines of text) as a .ico file."""
import struct
import sys


def pixel(x, y, size):
    s = size / 32.0
    # pad body with a one-pixel dark border
    left, top, right, bottom = 4 * s, 2 * s, 28 * s, 30 * s
    if not (left <= x < right and top <= y < bottom):
        return (0, 0, 0, 0)
    if x < left + s or x >= right - s or y < top + s or y >= bottom - s:
        return (70, 30, 90, 255)
    if y < top + 6 * s:  # binding strip
        return (140, 70, 170, 255)
    row = (y - top - 6 * s) / s
    if int(row) % 4 == 2 and left + 4 * s <= x < right - 4 * s:
        return (120, 110, 140, 255)
    return (250, 248, 255, 255)


def image(size):
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up rows
        for x in range(size):
            r, g, b, a = pixel(x + 0.5, y + 0.5, size)
            rows.append(struct.pack('BBBB', b, g, r, a))
    xor = b''.join(rows)
    mask_row = ((size + 31) // 32) * 4
    and_mask = b'\0' * (mask_row * size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + xor + and_mask


def main(path):
    sizes = [16, 32, 48]
    images = [image(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1])
