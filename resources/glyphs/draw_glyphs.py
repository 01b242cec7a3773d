#!/usr/bin/env python3
"""Draws the five picture buttons' glyphs as Windows bitmap (BMP) files.

    draw_glyphs.py OUTPUT_DIR

Every glyph has a pure white background, and its bottom-left pixel is
white: the program draws each glyph with that colour transparent.
"""

import struct
import sys
from pathlib import Path

WHITE = (255, 255, 255)


def canvas(width, height, colour=WHITE):
    return [[colour] * width for _ in range(height)]


def stamp(img, x0, y0, rows, colour):
    for dy, row in enumerate(rows):
        for dx, c in enumerate(row):
            if c == "#":
                img[y0 + dy][x0 + dx] = colour


def fill(img, x0, y0, x1, y1, colour, rounded=False):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            corner = rounded and (x in (x0, x1)) and (y in (y0, y1))
            if not corner:
                img[y][x] = colour


def bottom_up(img, bytes_per_pixel, pack):
    """Pixel rows, last first, each packed and padded to 4 bytes."""
    stride = (len(img[0]) * bytes_per_pixel + 3) & ~3
    data = bytearray()
    for row in reversed(img):
        line = b"".join(pack(r, g, b) for r, g, b in row)
        data += line + bytes(stride - len(line))
    return data


def bmp24(img):
    """24 bits per pixel, uncompressed, bottom-up."""
    data = bottom_up(img, 3, lambda r, g, b: bytes((b, g, r)))
    return headers(len(img[0]), len(img), 24, 0, b"", data)


def bmp555(img):
    """16 bits per pixel with 5-5-5 bit fields, bottom-up."""
    data = bottom_up(img, 2, lambda r, g, b: struct.pack("<H", ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3)))
    masks = struct.pack("<III", 0x7C00, 0x03E0, 0x001F)
    return headers(len(img[0]), len(img), 16, 3, masks, data)


def headers(width, height, bits, compression, masks, data):
    offset = 14 + 40 + len(masks)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(data), 3780, 3780, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return file_header + info + masks + bytes(data)


def eyes():
    """A pair of cartoon eyes under orange lids, 18 x 16."""
    img = canvas(18, 16)
    orange, dark, eye = (245, 130, 20), (40, 30, 30), (244, 244, 240)
    for cx in (4, 13):
        for y in range(4, 14):
            for x in range(cx - 4, cx + 5):
                if ((x - cx) / 4.3) ** 2 + ((y - 9) / 5.0) ** 2 <= 1:
                    img[y][x] = eye
        for y in range(3, 8):  # the lid covers the eye's top
            for x in range(cx - 4, cx + 5):
                if ((x - cx) / 4.5) ** 2 + ((y - 8) / 4.6) ** 2 <= 1 and y < 8:
                    img[y][x] = orange
        fill(img, cx - 1, 9, cx + 1, 11, dark)
        img[9][cx + 1] = eye  # highlight
    return img


TAO = [  # 淘, 11 x 11
    "#....#.....",
    ".#..######.",
    "....#....#.",
    "#..#.#.#.#.",
    ".#..######.",
    "....#.#..#.",
    "..#.#####.#",
    "..#.#.#.#.#",
    ".#..#####.#",
    ".#.......##",
    "#.......##.",
]

SHANG = [  # 商, 11 x 11
    ".....#.....",
    "###########",
    "..#.....#..",
    "...#...#...",
    "###########",
    "#.#.....#.#",
    "#..#...#..#",
    "#..#####..#",
    "#..#...#..#",
    "#..#####..#",
    "#........##",
]


def tao_tile():
    """An orange speech-bubble tile with 淘 in white, 18 x 16."""
    img = canvas(18, 16)
    orange = (255, 110, 0)
    fill(img, 1, 0, 16, 12, orange, rounded=True)
    fill(img, 4, 13, 6, 13, orange)  # the bubble's tail
    fill(img, 4, 14, 4, 14, orange)
    stamp(img, 3, 1, TAO, WHITE)
    return img


def shang_tile():
    """A red square tile with 商 in white, 17 x 17."""
    img = canvas(17, 17)
    red = (215, 25, 32)
    fill(img, 1, 1, 15, 15, red, rounded=True)
    stamp(img, 3, 3, SHANG, WHITE)
    return img


def check_mark():
    """A green check mark, 24 x 16."""
    img = canvas(24, 16)
    green = (40, 170, 60)
    for i in range(5):  # the short stroke, down to the right
        fill(img, 5 + i, 7 + i, 6 + i, 9 + i, green)
    for i in range(11):  # the long stroke, up to the right
        fill(img, 9 + i, 11 - i, 10 + i, 13 - i, green)
    return img


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    files = {
        "glyph-eyes.bmp": bmp24(eyes()),
        "glyph-tao.bmp": bmp24(tao_tile()),
        "glyph-shang.bmp": bmp24(shang_tile()),
        "glyph-check.bmp": bmp555(check_mark()),
    }
    for name, data in files.items():
        path = out / name
        if not path.exists() or path.read_bytes() != data:
            path.write_bytes(data)


if __name__ == "__main__":
    main()
