#!/usr/bin/env python3
"""Draws the program's pictures as .ico files into a folder:

app.ico            the application icon (a violet note pad with lines of text), 16, 32, 48
tray0..tray7.ico   the tray animation, 16 x 16: the pad with a green light running
                   along its binding strip and back, as the LED scanner does
about.ico          the About page's picture, 96 x 96: the pad with a row of LEDs
"""
import os
import struct
import sys

BORDER = (70, 30, 90, 255)
STRIP = (140, 70, 170, 255)
LINE = (120, 110, 140, 255)
PAPER = (250, 248, 255, 255)
LED_OFF = (0, 128, 0, 255)       # the scanner's unlit green
LED_ON = (0, 255, 0, 255)        # and its lit one
LED_BACK = (3, 109, 12, 255)     # the strip behind the LEDs
CLEAR = (0, 0, 0, 0)

# The light's place on the tray strip in each of the eight frames: there and back.
TRAY_STEPS = [0, 1, 2, 3, 4, 3, 2, 1]


def pad(x, y, size):
    s = size / 32.0
    left, top, right, bottom = 4 * s, 2 * s, 28 * s, 30 * s
    if not (left <= x < right and top <= y < bottom):
        return CLEAR
    if x < left + s or x >= right - s or y < top + s or y >= bottom - s:
        return BORDER
    if y < top + 6 * s:  # binding strip
        return STRIP
    row = (y - top - 6 * s) / s
    if int(row) % 4 == 2 and left + 4 * s <= x < right - 4 * s:
        return LINE
    return PAPER


def tray_pixel(step):
    # Pixel art at 16 x 16, where the scaled pad would lose its thin edges.
    def pixel(x, y, size):
        x, y = int(x), int(y)
        if not (1 <= x <= 14 and 0 <= y <= 15):
            return CLEAR
        if x in (1, 14) or y in (0, 15):
            return BORDER
        if 2 <= y <= 3 and 3 <= x <= 12:  # the light runs here, two pixels wide
            lit = 3 + 2 * step
            return LED_ON if lit <= x < lit + 2 else LED_OFF
        if y <= 4:
            return STRIP
        if y in (7, 10, 13) and 4 <= x <= 11:
            return LINE
        return PAPER
    return pixel


def about_pixel(x, y, size):
    # The pad, and below its strip a scanner of five LEDs with the middle one lit.
    x, y = int(x), int(y)
    if 26 <= y <= 39 and 20 <= x <= 75:
        if 29 <= y <= 36 and 23 <= x <= 72 and (x - 23) % 10 < 8:
            return LED_ON if (x - 23) // 10 == 2 else LED_OFF
        return LED_BACK
    return pad(x + 0.5, y + 0.5, size)


def image(size, pixel):
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


def write_icon(path, sizes, pixel):
    images = [image(s, pixel) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


def main(folder):
    os.makedirs(folder, exist_ok=True)
    write_icon(os.path.join(folder, 'app.ico'), [16, 32, 48], pad)
    for i, step in enumerate(TRAY_STEPS):
        write_icon(os.path.join(folder, 'tray%d.ico' % i), [16], tray_pixel(step))
    write_icon(os.path.join(folder, 'about.ico'), [96], about_pixel)


if __name__ == '__main__':
    main(sys.argv[1])
