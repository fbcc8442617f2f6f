#!/usr/bin/env python3
"""Draws the program's four icons (16, 32 and 48 px, 32-bit with alpha) into src/resources/.

Run it again after changing a picture; the .ico files are committed so builds need no Python.
"""
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "resources")


def blank(n):
    return [[(0, 0, 0, 0) for _ in range(n)] for _ in range(n)]


def rect(px, x0, y0, x1, y1, c):
    n = len(px)
    for y in range(max(0, y0), min(n, y1)):
        for x in range(max(0, x0), min(n, x1)):
            px[y][x] = c


def frame(px, x0, y0, x1, y1, c, t=1):
    rect(px, x0, y0, x1, y0 + t, c)
    rect(px, x0, y1 - t, x1, y1, c)
    rect(px, x0, y0, x0 + t, y1, c)
    rect(px, x1 - t, y0, x1, y1, c)


def app(n):
    # Two stacked windows and a curved arrow: switching.
    px = blank(n)
    s = n / 16.0
    rect(px, int(1 * s), int(1 * s), int(11 * s), int(9 * s), (70, 110, 200, 255))
    rect(px, int(1 * s), int(1 * s), int(11 * s), int(3 * s), (30, 60, 140, 255))
    rect(px, int(5 * s), int(6 * s), int(15 * s), int(15 * s), (255, 140, 30, 255))
    rect(px, int(5 * s), int(6 * s), int(15 * s), int(8 * s), (190, 80, 10, 255))
    rect(px, int(6 * s), int(9 * s), int(14 * s), int(14 * s), (255, 235, 200, 255))
    return px


def desktop(n):
    # A monitor with a green landscape.
    px = blank(n)
    s = n / 16.0
    rect(px, int(1 * s), int(2 * s), int(15 * s), int(12 * s), (40, 40, 40, 255))
    rect(px, int(2 * s), int(3 * s), int(14 * s), int(8 * s), (120, 180, 240, 255))
    rect(px, int(2 * s), int(8 * s), int(14 * s), int(11 * s), (60, 160, 60, 255))
    rect(px, int(6 * s), int(12 * s), int(10 * s), int(14 * s), (90, 90, 90, 255))
    rect(px, int(4 * s), int(14 * s), int(12 * s), int(15 * s), (90, 90, 90, 255))
    return px


def close(n):
    # A red disc with a white cross.
    px = blank(n)
    c = (n - 1) / 2.0
    r = n / 2.0 - 0.5
    for y in range(n):
        for x in range(n):
            if (x - c) ** 2 + (y - c) ** 2 <= r * r:
                px[y][x] = (200, 40, 40, 255)
    w = max(1, n // 8)
    for i in range(n // 4, n - n // 4):
        for d in range(-w // 2, w - w // 2):
            for (x, y) in ((i + d, i), (n - 1 - i + d, i)):
                if 0 <= x < n:
                    px[y][x] = (255, 255, 255, 255)
    return px


def paused(n):
    # The application picture greyed, with two pause bars.
    px = app(n)
    for row in px:
        for i, (r, g, b, a) in enumerate(row):
            v = (r + g + b) // 3
            row[i] = (v, v, v, a)
    s = n / 16.0
    rect(px, int(4 * s), int(4 * s), int(7 * s), int(13 * s), (20, 20, 20, 255))
    rect(px, int(9 * s), int(4 * s), int(12 * s), int(13 * s), (20, 20, 20, 255))
    return px


def bmp_image(px):
    n = len(px)
    header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    data = bytearray()
    for y in range(n - 1, -1, -1):
        for (r, g, b, a) in px[y]:
            data += bytes((b, g, r, a))
    mask_row = ((n + 31) // 32) * 4
    mask = bytes(mask_row * n)  # alpha carries the transparency; the AND mask stays clear
    return header + bytes(data) + mask


def write_ico(name, painter):
    images = [bmp_image(painter(n)) for n in (16, 32, 48)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, img in zip((16, 32, 48), images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    for img in images:
        out += img
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(out)


write_ico("app.ico", app)
write_ico("desktop.ico", desktop)
write_ico("close.ico", close)
write_ico("paused.ico", paused)
