#!/usr/bin/env python3
"""Draws the program's menu icon as PNG files in the desktop's icon sizes into
data/icons/ (the same artwork as the window icon). The results are committed.

    python3 scripts/make_icons.py [output folder]
"""

import os
import struct
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_pictures import app_icon  # noqa: E402

SIZES = [16, 22, 24, 32, 48, 64, 128, 256]


def png(canvas):
    rows = bytearray()
    for y in range(canvas.h):
        rows.append(0)
        for x in range(canvas.w):
            i = y * canvas.w + x
            a = canvas.alpha[i]
            rgb = canvas.rgb[i] if a > 0 else (0, 0, 0)
            rows += bytes(max(0, min(255, round(v))) for v in rgb)
            rows.append(max(0, min(255, round(a * 255))))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", canvas.w, canvas.h, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "icons")
    os.makedirs(out, exist_ok=True)
    for size in SIZES:
        with open(os.path.join(out, "vorlagen-%d.png" % size), "wb") as f:
            f.write(png(app_icon(size)))


if __name__ == "__main__":
    main()
