#!/usr/bin/env python3
"""Draws the skin's images and packs them with skin.ini into the stored skin.

    build_skin.py OUTPUT_FILE

The package: "RSKN", u16 format version (1), u16 zero, u32 size of the
payload, then the payload compressed with zlib. The payload is a list of
files, each u16 name length, name (UTF-8), u32 data length, data.
All numbers little-endian.
"""

import math
import struct
import sys
import zlib
from pathlib import Path

HERE = Path(__file__).resolve().parent
FORMAT_VERSION = 1


def png(width, height, pixel):
    """A PNG of pixel(x, y) -> (r, g, b, a)."""
    raw = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def title(x, y):
    """312 x 60: the active title (a dark slate-blue gradient) over the inactive one (light grey)."""
    if y < 30:
        return mix((72, 96, 150), (0, 74, 128), y / 29) + (255,)
    return mix((226, 226, 226), (196, 196, 196), (y - 30) / 29) + (255,)


def caption_glyph(kind):
    """60 x 15: normal, hot and pressed states of a 20 x 15 caption button with a white glyph."""
    backs = [(0, 0, 0, 0), (255, 255, 255, 70), (0, 0, 0, 70)]

    def mark(gx, gy):
        if kind == "close":
            return abs((gx - 10) - (gy - 7)) <= 0.8 and 5 <= gx <= 15 or abs((gx - 10) + (gy - 7)) <= 0.8 and 5 <= gx <= 15
        if kind == "minimize":
            return 5 <= gx <= 14 and 10 <= gy <= 11
        if kind == "maximize":
            return 5 <= gx <= 14 and 3 <= gy <= 12 and (gx in (5, 14) or gy in (3, 4, 12))
        if kind == "restore":
            front = 5 <= gx <= 12 and 6 <= gy <= 12 and (gx in (5, 12) or gy in (6, 7, 12))
            back = 8 <= gx <= 15 and 3 <= gy <= 9 and (gx in (8, 15) or gy in (3, 4)) and not (gx <= 12 and gy >= 6)
            return front or back
        return False

    def pixel(x, y):
        state, gx = divmod(x, 20)
        if mark(gx, y):
            return (255, 255, 255, 255)
        return backs[state]

    return png(60, 15, pixel)


def edge(width, height, horizontal):
    """Frame edges, active state first: slate blue, then grey."""
    def pixel(x, y):
        inactive = (y >= height // 2) if horizontal else (x >= width // 2)
        return ((170, 170, 170, 255) if inactive else (0, 74, 128, 255))
    return png(width, height, pixel)


def button_faces():
    """50 x 115: five 50 x 23 pill-shaped faces: normal, hot, pressed, focused, disabled."""
    faces = [((250, 246, 234), (226, 218, 190)),   # normal: beige
             ((214, 232, 250), (150, 194, 236)),   # hot: blue
             ((150, 194, 236), (110, 160, 220)),   # pressed: deeper blue
             ((226, 238, 250), (170, 206, 240)),   # focused: blue
             ((222, 222, 222), (200, 200, 200))]   # disabled: grey
    border = [(170, 150, 110), (80, 130, 190), (60, 110, 170), (80, 130, 190), (160, 160, 160)]

    def pixel(x, y):
        state, fy = divmod(y, 23)
        top, bottom = faces[state]
        cx = min(max(x, 11.5), 38.5)
        d = math.hypot(x + 0.5 - (cx if x < 11.5 or x > 38.5 else x + 0.5), fy + 0.5 - 11.5)
        if d > 11.5:
            return (0, 0, 0, 0)
        if d > 10.5:
            return border[state] + (255,)
        return mix(top, bottom, fy / 22) + (255,)

    return png(50, 115, pixel)


def main():
    files = {
        "skin.ini": (HERE / "skin.ini").read_bytes(),
        "title.png": png(312, 60, title),
        "close.png": caption_glyph("close"),
        "maximize.png": caption_glyph("maximize"),
        "restore.png": caption_glyph("restore"),
        "minimize.png": caption_glyph("minimize"),
        "frame-left.png": edge(16, 1, False),
        "frame-right.png": edge(16, 1, False),
        "frame-bottom.png": edge(1, 8, True),
        "button.png": button_faces(),
    }
    payload = b""
    for name, data in files.items():
        encoded = name.encode()
        payload += struct.pack("<H", len(encoded)) + encoded + struct.pack("<I", len(data)) + data
    package = b"RSKN" + struct.pack("<HHI", FORMAT_VERSION, 0, len(payload)) + zlib.compress(payload, 9)
    out = Path(sys.argv[1])
    out.parent.mkdir(parents=True, exist_ok=True)
    if not out.exists() or out.read_bytes() != package:
        out.write_bytes(package)


if __name__ == "__main__":
    main()
