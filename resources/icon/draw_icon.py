#!/usr/bin/env python3
"""Draws the program icon: a blue award rosette with two ribbon tails and a
faint reflection beneath it, on a transparent background.

    draw_icon.py OUTPUT_DIR

Writes MAINICON.ico (128, 64, 48, 32 and 16 pixels, largest first, each a
32-bit device-independent bitmap with an AND mask) and one PNG per size,
rurive-musicbox-<n>.png, for the desktop's icon theme.
"""

import math
import struct
import sys
import zlib
from pathlib import Path

SIZES = (128, 64, 48, 32, 16)
SAMPLES = 4  # per axis, for smooth edges


def blend(dst, src):
    """src over dst, both (r, g, b, a) with a in 0..1."""
    sa, da = src[3], dst[3]
    a = sa + da * (1 - sa)
    if a == 0:
        return (0, 0, 0, 0)
    return tuple((src[i] * sa + dst[i] * da * (1 - sa)) / a for i in range(3)) + (a,)


def rosette(x, y):
    """Colour of the rosette and its tails at (x, y) in the unit square."""
    cx, cy = 0.5, 0.38
    dx, dy = x - cx, y - cy
    r = math.hypot(dx, dy)
    theta = math.atan2(dy, dx)
    colour = (0, 0, 0, 0)
    # Ribbon tails, behind the rosette: from the centre down and outwards,
    # each ending in a V notch.
    for side in (-1, 1):
        ax, ay = cx + side * 0.05, cy
        bx, by = cx + side * 0.22, 0.86
        vx, vy = bx - ax, by - ay
        length = math.hypot(vx, vy)
        ux, uy = vx / length, vy / length
        along = (x - ax) * ux + (y - ay) * uy
        across = -(x - ax) * uy + (y - ay) * ux
        notch = 0.07 - abs(across) * 0.9
        if 0 <= along <= length - max(0.0, notch) and abs(across) <= 0.085:
            shade = 0.75 + 0.25 * (across * side > 0)
            colour = blend(colour, (30 * shade, 90 * shade, 200 * shade, 1))
    # The rosette: a scalloped disc, a ring and a lighter centre.
    edge = 0.30 + 0.022 * math.cos(14 * theta)
    if r <= edge:
        colour = blend(colour, (25, 85, 190, 1))
        if r <= 0.235:
            colour = blend(colour, (70, 140, 235, 1))
        if r <= 0.205:
            t = r / 0.205
            colour = blend(colour, (120 - 50 * t, 185 - 45 * t, 255, 1))
        if 0.205 < r <= 0.215:
            colour = blend(colour, (230, 240, 255, 0.9))
        # A highlight at the top left.
        hx, hy = x - (cx - 0.08), y - (cy - 0.09)
        if math.hypot(hx * 1.4, hy) < 0.07:
            colour = blend(colour, (255, 255, 255, 0.35))
    return colour


def pixel(x, y):
    """The icon at (x, y): the rosette, and its reflection below it."""
    colour = rosette(x, y)
    if y > 0.86:
        # Mirrored about the tails' ends, squashed and fading out.
        my = 0.86 - (y - 0.86) * 2.2
        if my > 0:
            r, g, b, a = rosette(x, my)
            fade = 0.22 * (1 - (y - 0.86) / 0.14)
            colour = blend(colour, (r, g, b, a * max(0.0, fade)))
    return colour


def render(size):
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    r, g, b, a = pixel((px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = SAMPLES * SAMPLES
            a = acc[3] / n
            if a <= 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(min(255, round(acc[i] / acc[3])) for i in range(3)) + (round(a * 255),))
        rows.append(row)
    return rows


def dib(rows):
    """BITMAPINFOHEADER, BGRA bottom-up, then the 1-bit AND mask."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + xor + bytes(mask)


def ico(images):
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
        body += data
    return out + body


def png(rows):
    size = len(rows)
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write(path, data):
    if not path.exists() or path.read_bytes() != data:
        path.write_bytes(data)


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    images = []
    for size in SIZES:
        rows = render(size)
        images.append((size, dib(rows)))
        write(out / f"rurive-musicbox-{size}.png", png(rows))
    write(out / "MAINICON.ico", ico(images))


if __name__ == "__main__":
    main()
