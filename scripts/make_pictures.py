#!/usr/bin/env python3
"""Draws the wizard's pictures into src/ui/pictures/.

Plain Python, no third-party modules: shapes are signed-distance functions
with one pixel of anti-aliasing, the colours are reduced to 256 by median
cut, and the GIF, ICO and CUR files are written by hand. The results are
committed; run this only to change the artwork.

    python3 scripts/make_pictures.py [output folder]
"""

import math
import os
import struct
import sys

# One calm blue family for everything, with a single warm accent.
NAVY = (0x1E, 0x40, 0x70)
DEEP = (0x27, 0x57, 0x93)
BLUE = (0x35, 0x70, 0xB8)
SKY = (0x76, 0xA6, 0xDE)
MIST = (0xC8, 0xDB, 0xF2)
ICE = (0xEC, 0xF3, 0xFB)
WHITE = (0xFF, 0xFF, 0xFF)
BLACK = (0x00, 0x00, 0x00)
AMBER = (0xF2, 0xB6, 0x4A)
EDGE = (0xB9, 0xCB, 0xE2)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def ramp(stops, t):
    """Colour at t on a gradient given as [(position, colour), ...]."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0))
    return stops[-1][1]


# --- shapes: signed distance (negative inside) and a bounding box ----------


class Shape:
    def __init__(self, sdf, box):
        self.sdf = sdf
        self.box = box  # x0, y0, x1, y1 in pixels

    def __sub__(self, other):
        a, b = self.sdf, other.sdf
        return Shape(lambda x, y: max(a(x, y), -b(x, y)), self.box)

    def __or__(self, other):
        a, b = self.sdf, other.sdf
        box = (min(self.box[0], other.box[0]), min(self.box[1], other.box[1]),
               max(self.box[2], other.box[2]), max(self.box[3], other.box[3]))
        return Shape(lambda x, y: min(a(x, y), b(x, y)), box)

    def __and__(self, other):
        a, b = self.sdf, other.sdf
        box = (max(self.box[0], other.box[0]), max(self.box[1], other.box[1]),
               min(self.box[2], other.box[2]), min(self.box[3], other.box[3]))
        return Shape(lambda x, y: max(a(x, y), b(x, y)), box)


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r,
                 (cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1))


def ring(cx, cy, r, width):
    return Shape(lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2,
                 (cx - r - width, cy - r - width, cx + r + width, cy + r + width))


def rbox(x0, y0, x1, y1, radius):
    cx, cy, hw, hh = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2, (y1 - y0) / 2
    radius = min(radius, hw, hh)

    def sdf(x, y):
        qx = abs(x - cx) - hw + radius
        qy = abs(y - cy) - hh + radius
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - radius

    return Shape(sdf, (x0 - 1, y0 - 1, x1 + 1, y1 + 1))


def segment(ax, ay, bx, by, width):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy or 1.0

    def sdf(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - width / 2

    return Shape(sdf, (min(ax, bx) - width, min(ay, by) - width,
                       max(ax, bx) + width, max(ay, by) + width))


def polygon(points):
    """Convex polygon, points clockwise on screen (y down)."""
    edges = []
    for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
        length = math.hypot(bx - ax, by - ay)
        edges.append((ax, ay, (by - ay) / length, -(bx - ax) / length))

    def sdf(x, y):
        return max((x - ax) * nx + (y - ay) * ny for ax, ay, nx, ny in edges)

    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return Shape(sdf, (min(xs) - 1, min(ys) - 1, max(xs) + 1, max(ys) + 1))


def halfplane_below(y0):
    return Shape(lambda x, y: y0 - y, (-1e9, y0 - 1, 1e9, 1e9))


# --- canvas ------------------------------------------------------------------


class Canvas:
    def __init__(self, width, height, fill=None):
        self.w, self.h = width, height
        self.rgb = [[0.0, 0.0, 0.0] for _ in range(width * height)]
        self.alpha = [0.0] * (width * height)
        if fill is not None:
            for y in range(height):
                for x in range(width):
                    c = fill(x + 0.5, y + 0.5) if callable(fill) else fill
                    self.rgb[y * width + x] = list(c)
                    self.alpha[y * width + x] = 1.0

    def paint(self, shape, colour, opacity=1.0):
        x0, y0, x1, y1 = shape.box
        x0, y0 = max(0, int(math.floor(x0))), max(0, int(math.floor(y0)))
        x1, y1 = min(self.w, int(math.ceil(x1)) + 1), min(self.h, int(math.ceil(y1)) + 1)
        for y in range(y0, y1):
            for x in range(x0, x1):
                px, py = x + 0.5, y + 0.5
                cover = 0.5 - shape.sdf(px, py)
                if cover <= 0.0:
                    continue
                a = min(cover, 1.0) * opacity
                c = colour(px, py) if callable(colour) else colour
                i = y * self.w + x
                dst, da = self.rgb[i], self.alpha[i]
                out = a + da * (1.0 - a)
                for k in range(3):
                    dst[k] = (c[k] * a + dst[k] * da * (1.0 - a)) / out
                self.alpha[i] = out

    def pixels(self):
        return [tuple(int(round(v)) for v in c) for c in self.rgb]


# --- colour reduction ---------------------------------------------------------


def median_cut(colours, limit=256):
    """Palette of at most `limit` colours for a {colour: count} table."""
    if len(colours) <= limit:
        return sorted(colours)
    boxes = [list(colours.items())]
    while len(boxes) < limit:
        best, best_score, best_axis = None, -1, 0
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for axis in range(3):
                values = [c[axis] for c, _ in box]
                spread = max(values) - min(values)
                score = spread * sum(n for _, n in box) ** 0.5
                if score > best_score:
                    best, best_score, best_axis = i, score, axis
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda item: item[0][best_axis])
        total = sum(n for _, n in box)
        run, cut = 0, 1
        for j, (_, n) in enumerate(box):
            run += n
            if run >= total / 2:
                cut = max(1, min(len(box) - 1, j + 1))
                break
        boxes += [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        total = sum(n for _, n in box)
        palette.append(tuple(int(round(sum(c[k] * n for c, n in box) / total)) for k in range(3)))
    return sorted(set(palette))


def index_pixels(pixels, palette):
    cache = {}
    out = []
    for c in pixels:
        i = cache.get(c)
        if i is None:
            i = min(range(len(palette)),
                    key=lambda j: sum((c[k] - palette[j][k]) ** 2 for k in range(3)))
            cache[c] = i
        out.append(i)
    return out


def reduce(pixels, limit=256):
    counts = {}
    for c in pixels:
        counts[c] = counts.get(c, 0) + 1
    palette = median_cut(counts, limit)
    palette += [BLACK] * (limit - len(palette))
    return palette, index_pixels(pixels, palette)


# --- file writers ---------------------------------------------------------------


def lzw(indices, min_size=8):
    clear, end = 1 << min_size, (1 << min_size) + 1
    out = bytearray()
    acc, nbits = 0, 0
    size = min_size + 1

    def emit(code):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    table, next_code = {}, end + 1
    emit(clear)
    prefix = indices[0]
    for k in indices[1:]:
        key = (prefix, k)
        if key in table:
            prefix = table[key]
            continue
        emit(prefix)
        if next_code < 4095:
            table[key] = next_code
            next_code += 1
            if next_code > (1 << size) and size < 12:
                size += 1
        else:
            emit(clear)
            table, next_code, size = {}, end + 1, min_size + 1
        prefix = k
    emit(prefix)
    emit(end)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def write_gif(path, canvas, version):
    palette, indices = reduce(canvas.pixels())
    data = bytearray(version.encode("ascii"))
    data += struct.pack("<HHBBB", canvas.w, canvas.h, 0xF7, 0, 0)
    for c in palette:
        data += bytes(c)
    data += b"," + struct.pack("<HHHHB", 0, 0, canvas.w, canvas.h, 0)
    data.append(8)
    body = lzw(indices)
    for i in range(0, len(body), 255):
        chunk = body[i:i + 255]
        data.append(len(chunk))
        data += chunk
    data += b"\x00;"
    with open(path, "wb") as f:
        f.write(data)


def mask_rows(canvas, transparent):
    """AND mask, bottom row first, 1 = transparent."""
    stride = (canvas.w + 31) // 32 * 4
    rows = bytearray()
    for y in reversed(range(canvas.h)):
        row = bytearray(stride)
        for x in range(canvas.w):
            if transparent(y * canvas.w + x):
                row[x // 8] |= 0x80 >> (x % 8)
        rows += row
    return rows


def icon_image(canvas):
    """One 256-colour BMP image of an icon file: header, palette, colours, mask."""
    see_through = [a < 0.5 for a in canvas.alpha]
    opaque = [c for c, t in zip(canvas.pixels(), see_through) if not t]
    palette, _ = reduce(opaque or [BLACK])
    indices = [0 if t else i for t, i in zip(see_through, index_pixels(canvas.pixels(), palette))]
    stride = (canvas.w + 3) // 4 * 4
    colours = bytearray()
    for y in reversed(range(canvas.h)):
        row = bytearray(stride)
        row[:canvas.w] = bytes(indices[y * canvas.w:(y + 1) * canvas.w])
        colours += row
    mask = mask_rows(canvas, lambda i: see_through[i])
    header = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h * 2, 1, 8, 0,
                         len(colours) + len(mask), 0, 0, 256, 0)
    table = b"".join(bytes((c[2], c[1], c[0], 0)) for c in palette)
    return header + table + colours + mask


def write_icon_file(path, entries, kind):
    """entries: [(width, height, colour count, field1, field2, image bytes)]"""
    data = bytearray(struct.pack("<HHH", 0, kind, len(entries)))
    offset = 6 + 16 * len(entries)
    for w, h, count, f1, f2, image in entries:
        data += struct.pack("<BBBBHHII", w % 256, h % 256, count, 0, f1, f2, len(image), offset)
        offset += len(image)
    for entry in entries:
        data += entry[5]
    with open(path, "wb") as f:
        f.write(data)


def write_ico(path, canvases):
    write_icon_file(path, [(c.w, c.h, 0, 1, 8, icon_image(c)) for c in canvases], 1)


def write_cur(path, art, hot_x, hot_y):
    """Two-colour cursor from rows of '.' (clear), 'X' (black) and 'o' (white)."""
    size = 32
    cells = [row.ljust(size, ".") for row in art] + ["." * size] * (size - len(art))
    colours = bytearray()
    for y in reversed(range(size)):
        row = bytearray(4)
        for x in range(size):
            if cells[y][x] == "o":
                row[x // 8] |= 0x80 >> (x % 8)
        colours += row
    canvas = Canvas(size, size)
    mask = mask_rows(canvas, lambda i: cells[i // size][i % size] == ".")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0,
                         len(colours) + len(mask), 0, 0, 2, 0)
    table = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    write_icon_file(path, [(size, size, 2, hot_x, hot_y, header + table + colours + mask)], 2)


# --- the artwork -----------------------------------------------------------------


def side_background(width, height):
    """Deep blue at the top easing into a lighter blue, with two soft glows."""
    def fill(x, y):
        t = y / 298.0
        base = ramp([(0.0, NAVY), (0.55, DEEP), (1.0, BLUE)], t)
        glow = max(0.0, 1.0 - math.hypot(x - 150, y - 10) / 190.0)
        return mix(base, SKY, 0.35 * glow * glow)
    canvas = Canvas(width, height, fill)
    canvas.paint(circle(-30, 250, 95), WHITE, 0.05)
    canvas.paint(ring(-30, 250, 118, 1.2), WHITE, 0.12)
    canvas.paint(ring(150, 18, 70, 1.0), WHITE, 0.10)
    return canvas


def card(canvas, x, y, size, colour, opacity=1.0, outline=False):
    shape = rbox(x, y, x + size, y + size, size * 0.22)
    if outline:
        shape = shape - rbox(x + 1.6, y + 1.6, x + size - 1.6, y + size - 1.6, size * 0.18)
    canvas.paint(shape, colour, opacity)


def welcome_side():
    """Page 1: a tray of components, some picked (filled), some not (outlined)."""
    c = side_background(154, 298)
    size, gap = 26, 9
    left = (154 - (3 * size + 2 * gap)) / 2
    top = 92
    picked = {(0, 0), (1, 0), (0, 1), (2, 1), (1, 2), (0, 3), (2, 3)}
    for row in range(4):
        for col in range(3):
            x, y = left + col * (size + gap), top + row * (size + gap)
            if (col, row) == (1, 2):
                card(c, x, y, size, AMBER, 0.95)
            elif (col, row) in picked:
                card(c, x, y, size, WHITE, 0.92)
            else:
                card(c, x, y, size, WHITE, 0.55, outline=True)
    # a quiet rule under the tray
    c.paint(segment(left, 250, 154 - left, 250, 1.2), WHITE, 0.35)
    c.paint(circle(left, 250, 2.2), WHITE, 0.6)
    c.paint(circle(154 - left, 250, 2.2), WHITE, 0.6)
    return c


def sheet(c, x0, y0, x1, y1, fold):
    body = polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)])
    c.paint(body & rbox(x0, y0, x1, y1, 3), WHITE, 0.95)
    c.paint(polygon([(x1 - fold, y0), (x1, y0 + fold), (x1 - fold, y0 + fold)]), MIST, 1.0)


def finish_side():
    """Pages 4 and 5: three components sinking into one project sheet."""
    c = side_background(154, 312)
    size, gap = 22, 10
    left = (154 - (3 * size + 2 * gap)) / 2
    for col, colour in enumerate((WHITE, AMBER, WHITE)):
        card(c, left + col * (size + gap), 58, size, colour, 0.92)
    # converging guides from the cards to the sheet
    for col in range(3):
        cx = left + col * (size + gap) + size / 2
        c.paint(segment(cx, 86, 77 + (cx - 77) * 0.35, 128, 1.4), WHITE, 0.45)
    c.paint(polygon([(70, 128), (84, 128), (77, 136)]), WHITE, 0.7)
    sheet(c, 40, 142, 114, 240, 16)
    for i, (w, colour) in enumerate([(38, SKY), (50, MIST), (44, MIST), (30, MIST)]):
        y = 170 + i * 13
        c.paint(segment(52, y, 52 + w, y, 4.0), colour, 1.0)
    c.paint(rbox(52, 150, 64, 162, 2.5), AMBER, 1.0)
    c.paint(segment(40, 262, 114, 262, 1.2), WHITE, 0.35)
    return c


def banner():
    """Pages 2 and 3: white where the titles sit, clouding into blue at the right."""
    def fill(x, y):
        t = max(0.0, (x - 250) / 310.0)
        return mix(WHITE, MIST, t * t)
    c = Canvas(560, 62, fill)
    for cx, cy, r, colour, a in [(455, 18, 46, SKY, 0.18), (520, 52, 40, BLUE, 0.14),
                                 (402, 66, 30, SKY, 0.14), (548, 2, 26, WHITE, 0.5)]:
        c.paint(circle(cx, cy, r), colour, a)
    c.paint(ring(455, 18, 30, 1.2), WHITE, 0.8)
    c.paint(ring(402, 66, 44, 1.0), SKY, 0.35)
    for x, y, s, colour, a in [(424, 34, 9, WHITE, 0.95), (436, 34, 9, AMBER, 0.9),
                               (448, 34, 9, WHITE, 0.95), (478, 22, 7, WHITE, 0.8),
                               (488, 42, 6, BLUE, 0.35)]:
        c.paint(rbox(x, y, x + s, y + s, 2), colour, a)
    c.paint(rbox(-1, 61, 561, 62, 0), EDGE, 1.0)
    return c


def app_icon(size):
    """Blue tile with four component blocks, one of them picked out in amber."""
    s = size / 32.0
    c = Canvas(size, size)
    c.paint(rbox(1 * s, 1 * s, 31 * s, 31 * s, 6 * s),
            lambda x, y: ramp([(0.0, SKY), (0.45, BLUE), (1.0, NAVY)], (x + y) / (2 * size)))
    c.paint(rbox(1 * s, 1 * s, 31 * s, 31 * s, 6 * s) - rbox(2 * s, 2 * s, 30 * s, 30 * s, 5 * s),
            NAVY, 0.6)
    block, gap = 9 * s, 3 * s
    x0 = (size - 2 * block - gap) / 2
    for row in range(2):
        for col in range(2):
            x, y = x0 + col * (block + gap), x0 + row * (block + gap)
            colour = AMBER if (col, row) == (1, 1) else WHITE
            c.paint(rbox(x, y, x + block, y + block, 2 * s), colour, 1.0)
    return c


def help_icon():
    """Round blue badge with a white question mark."""
    c = Canvas(32, 32)
    c.paint(circle(16, 16, 14.5),
            lambda x, y: ramp([(0.0, SKY), (0.5, BLUE), (1.0, DEEP)], (x + y) / 64.0))
    c.paint(ring(16, 16, 14.0, 1.0), NAVY, 0.7)
    c.paint(ring(16, 16, 12.6, 1.0), WHITE, 0.25)
    hook = ring(16, 12.2, 4.6, 3.2) - polygon([(8, 13.5), (16, 13.5), (16, 22), (8, 22)])
    c.paint(hook, WHITE)
    c.paint(segment(18.9, 15.8, 16, 18.6, 3.2), WHITE)
    c.paint(segment(16, 18.6, 16, 19.6, 3.2), WHITE)
    c.paint(circle(16, 24.2, 1.9), WHITE)
    return c


HAND = [
    ".....XX",
    "....XooX",
    "....XooX",
    "....XooX",
    "....XooX",
    "....XooXXX",
    "....XooXooXXX",
    "....XooXooXooXXX",
    "....XooXooXooXooX",
    ".XX.XooXooXooXooX",
    "XooXXoooooooooooX",
    "XoooXoooooooooooX",
    ".XooooooooooooooX",
    ".XooooooooooooooX",
    "..XoooooooooooooX",
    "..XooooooooooooX",
    "...XoooooooooooX",
    "...XooooooooooX",
    "....XoooooooooX",
    "....XoooooooooX",
    "....XXXXXXXXXXX",
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "src", "ui", "pictures")
    os.makedirs(out, exist_ok=True)
    write_ico(os.path.join(out, "app.ico"), [app_icon(32), app_icon(16), app_icon(48)])
    write_gif(os.path.join(out, "welcome.gif"), welcome_side(), "GIF89a")
    write_gif(os.path.join(out, "banner.gif"), banner(), "GIF89a")
    write_gif(os.path.join(out, "finish.gif"), finish_side(), "GIF87a")
    write_ico(os.path.join(out, "help.ico"), [help_icon()])
    write_cur(os.path.join(out, "hand.cur"), HAND, 5, 0)


if __name__ == "__main__":
    main()
