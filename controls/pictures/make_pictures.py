#!/usr/bin/env python3
"""Draws the three 18 x 21 pixel pictures of XPButton (im1 normal, im2 hover, im3 pressed)."""

import pathlib
import struct
import zlib

WIDTH, HEIGHT = 18, 21

FRAME = (0x00, 0x3C, 0x73)
CURVE_DARK = (0x20, 0x55, 0x81)
CURVE_LIGHT = (0x62, 0x86, 0x9E)
WHITE = (0xFF, 0xFF, 0xFF)
# The page behind each corner, darker at the top left where the light falls from.
BEIGE = {"tl": (0xDC, 0xD6, 0xC0), "tr": (0xED, 0xE8, 0xDA),
         "bl": (0xED, 0xE8, 0xDA), "br": (0xFE, 0xFB, 0xF4)}


def hex_rgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


def blend(top, bottom, t):
    return tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))


def gradient(top, bottom, first_row, last_row, row):
    return blend(hex_rgb(top), hex_rgb(bottom), (row - first_row) / (last_row - first_row))


def through(stops, t):
    """A colour on a path through several stops, t from 0 to 1."""
    span = t * (len(stops) - 1)
    index = min(int(span), len(stops) - 2)
    return blend(hex_rgb(stops[index]), hex_rgb(stops[index + 1]), span - index)


def framed(body):
    """The dark blue frame with its rounded corners around body(x, y)."""
    rows = []
    for y in range(HEIGHT):
        row = []
        for x in range(WIDTH):
            if x in (0, WIDTH - 1) or y in (0, HEIGHT - 1):
                row.append(FRAME)
            else:
                row.append(body(x, y))
        rows.append(row)
    corners = {"tl": (0, 0, 1, 1), "tr": (WIDTH - 1, 0, -1, 1),
               "bl": (0, HEIGHT - 1, 1, -1), "br": (WIDTH - 1, HEIGHT - 1, -1, -1)}
    for name, (cx, cy, dx, dy) in corners.items():
        rows[cy][cx] = BEIGE[name]
        rows[cy][cx + dx] = CURVE_LIGHT
        rows[cy + dy][cx] = CURVE_LIGHT
        rows[cy + dy][cx + dx] = CURVE_DARK
        rows[cy][cx + 2 * dx] = CURVE_DARK
        rows[cy + 2 * dy][cx] = CURVE_DARK
    return rows


def normal(x, y):
    if y <= 6:
        return WHITE
    if x in (1, WIDTH - 2) and 3 <= y <= 17:
        return WHITE
    return gradient("#F7F7FE", "#C5C7D5", 7, 19, y)


def hover(x, y):
    if y == 1:
        return hex_rgb("#FFF3CF")
    if y == 2:
        return hex_rgb("#FEDB8C")
    if y == HEIGHT - 3:
        return hex_rgb("#FFB231")
    if y == HEIGHT - 2:
        return hex_rgb("#E79601")
    if x in (1, 2, WIDTH - 3, WIDTH - 2):
        return through(["#FFDF9C", "#FFCA6C", "#FFB633"], (y - 3) / (HEIGHT - 7))
    if y <= 8:
        return WHITE
    return gradient("#F8F7FE", "#D7D7E6", 9, 17, y)


def pressed(x, y):
    if x in (1, WIDTH - 2) and 3 <= y <= 17:
        return WHITE
    if y == 1:
        return hex_rgb("#9E9BAE")
    if y == 2:
        return hex_rgb("#ADAABC")
    if y <= 7:
        return gradient("#B5B2C6", "#BDC3CF", 3, 7, y)
    if y <= 15:
        return gradient("#C6C8D6", "#F7F7FF", 8, 15, y)
    return WHITE


def png(rows):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    raw = b"".join(b"\x00" + bytes(c for pixel in row for c in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0)
    # 3780 pixels per metre is 96 dots per inch, the resolution the pictures are drawn for.
    physical = struct.pack(">IIB", 3780, 3780, 1)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"pHYs", physical)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    here = pathlib.Path(__file__).resolve().parent
    for number, body in enumerate((normal, hover, pressed), start=1):
        (here / f"im{number}.png").write_bytes(png(framed(body)))
