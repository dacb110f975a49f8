#!/usr/bin/env python3
"""Draws vantrel's icons, its drag cursor and its pattern bitmap.

Everything is drawn here from simple shapes, with anti-aliased edges (each pixel is sampled on a
6x6 grid, 3x3 at 256 pixels), and written as Windows .ico/.cur/.bmp files: images of 16 to 64 pixels (the
small and the large icon sizes at 100 to 200 %) and of 256 pixels (Explorer's largest views). Up to 32 pixels
an image is a 32-bit bitmap with alpha plus the 1-bit AND mask that older loaders still read; the larger ones
are stored PNG-compressed, as Windows reads them since Vista, which keeps each file a fraction of the size.

    python3 tools/make_icons.py [output folder]      (default: src/resources/icons)

Standard library only; the output is deterministic, so the committed files can be regenerated and compared.
"""

import math
import os
import struct
import sys
import zlib

SAMPLES = 6
SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
# Images of more pixels than this are stored as PNG.
LARGEST_BITMAP = 32

# One palette for every picture, so the icons sit together in a tray.
NAVY_TOP = (0x3A, 0x50, 0x6E)
NAVY_BOTTOM = (0x1A, 0x25, 0x36)
NAVY_EDGE = (0x10, 0x17, 0x22)
CELL_TOP = (0xF4, 0xF8, 0xFC)
CELL_BOTTOM = (0xC9, 0xD7, 0xE6)
AMBER_TOP = (0xFF, 0xD0, 0x5A)
AMBER_BOTTOM = (0xF5, 0x9A, 0x1B)
TEAL_TOP = (0x4F, 0xE0, 0xC4)
TEAL_BOTTOM = (0x13, 0x9A, 0x8C)
TEAL_EDGE = (0x0B, 0x5E, 0x57)
CORAL_TOP = (0xFF, 0x86, 0x7A)
CORAL_BOTTOM = (0xDC, 0x3D, 0x3D)
MOON_TOP = (0xFF, 0xEC, 0x9E)
MOON_BOTTOM = (0xF7, 0xBE, 0x3A)
MOON_EDGE = (0x9C, 0x6A, 0x0E)
SILVER_LIGHT = (0xF2, 0xF4, 0xF8)
SILVER_DARK = (0xA4, 0xAE, 0xBE)
DISC_EDGE = (0x55, 0x60, 0x70)
WHITE = (0xFF, 0xFF, 0xFF)
BLACK = (0x00, 0x00, 0x00)


# ---------------------------------------------------------------------------------------------------------
# Shapes: a shape answers whether a point lies inside it and gives a bounding box to limit the work.

class Shape:
    def contains(self, x, y):
        raise NotImplementedError

    def bbox(self):
        raise NotImplementedError

    def __sub__(self, other):
        return Difference(self, other)

    def __or__(self, other):
        return Union(self, other)


class RoundRect(Shape):
    def __init__(self, x0, y0, x1, y1, r):
        self.x0, self.y0, self.x1, self.y1 = x0, y0, x1, y1
        self.r = min(r, (x1 - x0) / 2, (y1 - y0) / 2)

    def contains(self, x, y):
        if x < self.x0 or x >= self.x1 or y < self.y0 or y >= self.y1:
            return False
        r = self.r
        cx = min(max(x, self.x0 + r), self.x1 - r)
        cy = min(max(y, self.y0 + r), self.y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r

    def bbox(self):
        return self.x0, self.y0, self.x1, self.y1


class Circle(Shape):
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r

    def contains(self, x, y):
        return (x - self.cx) ** 2 + (y - self.cy) ** 2 <= self.r * self.r

    def bbox(self):
        return self.cx - self.r, self.cy - self.r, self.cx + self.r, self.cy + self.r


def _segment_distance_sq(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length))
    qx, qy = ax + t * dx - px, ay + t * dy - py
    return qx * qx + qy * qy


class Polygon(Shape):
    """A polygon grown by `round` on every side: its corners come out rounded by that radius."""

    def __init__(self, points, round=0.0):
        self.points = points
        self.round = round

    def _inside(self, x, y):
        inside = False
        pts = self.points
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return inside

    def contains(self, x, y):
        if self._inside(x, y):
            return True
        if self.round <= 0:
            return False
        r2 = self.round * self.round
        pts = self.points
        return any(_segment_distance_sq(x, y, *pts[i - 1], *pts[i]) <= r2 for i in range(len(pts)))

    def bbox(self):
        xs = [p[0] for p in self.points]
        ys = [p[1] for p in self.points]
        g = self.round
        return min(xs) - g, min(ys) - g, max(xs) + g, max(ys) + g


class Difference(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b

    def contains(self, x, y):
        return self.a.contains(x, y) and not self.b.contains(x, y)

    def bbox(self):
        return self.a.bbox()


class Union(Shape):
    def __init__(self, *shapes):
        self.shapes = shapes

    def contains(self, x, y):
        return any(s.contains(x, y) for s in self.shapes)

    def bbox(self):
        boxes = [s.bbox() for s in self.shapes]
        return (min(b[0] for b in boxes), min(b[1] for b in boxes), max(b[2] for b in boxes),
                max(b[3] for b in boxes))


# ---------------------------------------------------------------------------------------------------------
# Paints: a colour (r, g, b, a in 0..255) for a point.

def solid(rgb, alpha=255):
    return lambda x, y: (rgb[0], rgb[1], rgb[2], alpha)


def vertical(top, bottom, y0, y1, alpha=255):
    def paint(x, y):
        t = 0.0 if y1 == y0 else max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(top[i] + (bottom[i] - top[i]) * t for i in range(3)) + (alpha,)
    return paint


def disc_sheen(cx, cy, light, dark):
    """Brushed silver with a faint rainbow that turns with the angle, as light falls on a pressed disc."""
    tints = ((0xFF, 0xC8, 0xE6), (0xC8, 0xF0, 0xFF), (0xE6, 0xFF, 0xC8), (0xFF, 0xF0, 0xC0))

    def paint(x, y):
        angle = math.atan2(y - cy, x - cx)
        # Two bright lobes facing the upper left and lower right.
        shine = 0.5 + 0.5 * math.cos(2 * (angle + math.pi / 4))
        base = tuple(dark[i] + (light[i] - dark[i]) * shine for i in range(3))
        pos = (angle + math.pi) / (2 * math.pi) * len(tints)
        k = int(pos) % len(tints)
        f = pos - int(pos)
        tint = tuple(tints[k][i] * (1 - f) + tints[(k + 1) % len(tints)][i] * f for i in range(3))
        return tuple(base[i] * 0.82 + tint[i] * 0.18 for i in range(3)) + (255,)
    return paint


# ---------------------------------------------------------------------------------------------------------
# Canvas: premultiplied RGBA floats, shapes composited "over" one another.

class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]

    def fill(self, shape, paint):
        n = self.size
        x0, y0, x1, y1 = shape.bbox()
        # At 256 pixels an edge pixel is a small part of the picture: fewer samples look the same.
        samples = SAMPLES if n <= 64 else SAMPLES // 2
        offsets = [(i + 0.5) / samples for i in range(samples)]
        for py in range(max(0, int(math.floor(y0))), min(n, int(math.ceil(y1)) + 1)):
            for px in range(max(0, int(math.floor(x0))), min(n, int(math.ceil(x1)) + 1)):
                hits = 0
                for oy in offsets:
                    for ox in offsets:
                        if shape.contains(px + ox, py + oy):
                            hits += 1
                if hits == 0:
                    continue
                r, g, b, a = paint(px + 0.5, py + 0.5)
                alpha = a / 255.0 * hits / (samples * samples)
                dst = self.px[py * n + px]
                keep = 1.0 - alpha
                dst[0] = r / 255.0 * alpha + dst[0] * keep
                dst[1] = g / 255.0 * alpha + dst[1] * keep
                dst[2] = b / 255.0 * alpha + dst[2] * keep
                dst[3] = alpha + dst[3] * keep

    def bgra_rows(self):
        """Rows of straight (not premultiplied) BGRA bytes, top row first."""
        n = self.size
        rows = []
        for y in range(n):
            row = bytearray()
            for x in range(n):
                r, g, b, a = self.px[y * n + x]
                if a <= 0.0:
                    row += b"\0\0\0\0"
                    continue
                row += bytes((_byte(b / a), _byte(g / a), _byte(r / a), _byte(a)))
            rows.append(bytes(row))
        return rows


def _byte(v):
    return max(0, min(255, int(round(v * 255))))


# ---------------------------------------------------------------------------------------------------------
# The pictures. Each takes the image size in pixels and returns a Canvas. Coordinates are pixels; the small
# sizes snap their edges to whole pixels so they stay sharp.

def _launcher_grid(s, highlight_amber=True):
    c = Canvas(s)
    if s == 16:
        # Designed at 16 px: three 3 px cells with 1 px seams need an odd width to sit centred on whole
        # pixels, so the tile is 15 px and the last row and column carry a faint shadow instead.
        frame, radius, cell, gap, start = (0, 15), 3.0, 3, 1, 2
    elif s == 32:
        frame, radius, cell, gap, start = (1, 31), 6.0, 6, 2, 5
    else:
        # The 48-pixel plan, scaled to the size (whole pixels at 48).
        k = s / 48.0
        frame, radius, cell, gap, start = (2 * k, 46 * k), 9.0 * k, 10 * k, 3 * k, 6 * k
    lo, hi = frame
    if s == 16:
        c.fill(RoundRect(lo + 1, lo + 1, hi + 1, hi + 1, radius), solid(BLACK, 70))
    c.fill(RoundRect(lo, lo, hi, hi, radius), solid(NAVY_EDGE))
    inset = 1 if s < 48 else 1.5 * s / 48
    c.fill(RoundRect(lo + inset, lo + inset, hi - inset, hi - inset, radius - inset),
           vertical(NAVY_TOP, NAVY_BOTTOM, lo, hi))
    cell_radius = 0.5 if s == 16 else cell * 0.22
    for row in range(3):
        for col in range(3):
            x = start + col * (cell + gap)
            y = start + row * (cell + gap)
            shape = RoundRect(x, y, x + cell, y + cell, cell_radius)
            if (row, col) == (1, 1) and highlight_amber:
                c.fill(shape, vertical(AMBER_TOP, AMBER_BOTTOM, y, y + cell))
            else:
                c.fill(shape, vertical(CELL_TOP, CELL_BOTTOM, y, y + cell))
    if s >= 32:
        # A soft glow ring around the chosen cell says "this one".
        x = start + cell + gap
        g = 1.0 if s == 32 else 1.5 * s / 48
        ring = RoundRect(x - g, x - g, x + cell + g, x + cell + g, cell_radius + g) - \
            RoundRect(x, x, x + cell, x + cell, cell_radius)
        c.fill(ring, solid(AMBER_TOP, 110))
    return c


def draw_main(s):
    return _launcher_grid(s)


def draw_small(s):
    # The notification-area icon: the same tile, every size drawn from the 16 px plan by nearest pixels (whole pixels
    # at 32 and 48), so it reads as the same shape wherever the shell shows it.
    if s == 16:
        return _launcher_grid(16)
    small = _launcher_grid(16)
    c = Canvas(s)
    for y in range(s):
        for x in range(s):
            c.px[y * s + x] = list(small.px[(y * 16 // s) * 16 + (x * 16 // s)])
    return c


def _arrow_badge(c, s, cx, cy, r):
    """A teal round badge with a bold white arrow pointing right."""
    edge = max(1.0, s / 32)
    c.fill(Circle(cx, cy, r), solid(TEAL_EDGE))
    c.fill(Circle(cx, cy, r - edge), vertical(TEAL_TOP, TEAL_BOTTOM, cy - r, cy + r))
    # Arrow: shaft and head, pointing right, slightly rounded.
    u = r / 10.0
    rounding = 0.6 * u
    shaft = Polygon([(cx - 5.2 * u, cy - 1.6 * u), (cx + 0.6 * u, cy - 1.6 * u), (cx + 0.6 * u, cy + 1.6 * u),
                     (cx - 5.2 * u, cy + 1.6 * u)], rounding)
    head = Polygon([(cx - 0.4 * u, cy - 5.0 * u), (cx + 5.6 * u, cy), (cx - 0.4 * u, cy + 5.0 * u)], rounding)
    c.fill(shaft | head, solid(WHITE))


def draw_start(s):
    c = Canvas(s)
    if s == 16:
        c.fill(Circle(8, 8, 7.6), solid(TEAL_EDGE))
        c.fill(Circle(8, 8, 6.6), vertical(TEAL_TOP, TEAL_BOTTOM, 1, 15))
        shaft = Polygon([(3.5, 7), (8, 7), (8, 9), (3.5, 9)])
        head = Polygon([(7.5, 3.5), (12.5, 8), (7.5, 12.5)])
        c.fill(shaft | head, solid(WHITE))
        return c
    _arrow_badge(c, s, s / 2, s / 2, s / 2 - s / 32)
    return c


def draw_moon(s):
    c = Canvas(s)
    u = s / 32.0
    cx, cy, r = 15.0 * u, 17.0 * u, 13.2 * u
    bite = Circle(cx + 7.5 * u, cy - 6.0 * u, 11.0 * u)
    edge = max(1.0, u)
    c.fill(Circle(cx, cy, r) - bite, solid(MOON_EDGE))
    inner_bite = Circle(cx + 7.5 * u, cy - 6.0 * u, 11.0 * u + edge)
    c.fill(Circle(cx, cy, r - edge) - inner_bite, vertical(MOON_TOP, MOON_BOTTOM, cy - r, cy + r))
    if s >= 32:
        # A small four-pointed star in the bitten-out sky.
        sx, sy, a, b = 24.0 * u, 8.0 * u, 4.2 * u, 1.1 * u
        star = Polygon([(sx, sy - a), (sx + b, sy - b), (sx + a, sy), (sx + b, sy + b), (sx, sy + a),
                        (sx - b, sy + b), (sx - a, sy), (sx - b, sy - b)])
        c.fill(star, solid(MOON_TOP))
    return c


def _disc(c, s):
    u = s / 32.0
    cx = cy = s / 2.0
    r = 15.2 * u
    edge = max(1.0, u)
    hole = Circle(cx, cy, max(1.5, 2.6 * u))
    c.fill(Circle(cx, cy, r) - hole, solid(DISC_EDGE))
    c.fill(Circle(cx, cy, r - edge) - Circle(cx, cy, max(1.5, 2.6 * u) + edge), disc_sheen(cx, cy, SILVER_LIGHT,
                                                                                           SILVER_DARK))
    # The clear hub around the hole.
    hub = Circle(cx, cy, 6.2 * u) - Circle(cx, cy, max(1.5, 2.6 * u) + edge)
    c.fill(hub, solid(WHITE, 120))
    if s >= 32:
        c.fill(Circle(cx, cy, 6.2 * u) - Circle(cx, cy, 5.4 * u), solid(DISC_EDGE, 90))


def draw_disc_image(s):
    c = Canvas(s)
    _disc(c, s)
    return c


def draw_cd_player(s):
    """The CD player item: the disc with an amber music note in front of it."""
    c = Canvas(s)
    _disc(c, s)
    u = s / 32.0
    edge = max(1.0, u * 0.9)
    # Note head (a tilted oval drawn as two circles), stem and flag.
    hx, hy = 9.0 * u, 25.0 * u
    head = Union(Circle(hx, hy, 3.6 * u), Circle(hx + 1.2 * u, hy - 0.6 * u, 3.4 * u))
    stem = RoundRect(hx + 2.4 * u, 9.0 * u, hx + 4.6 * u, hy, 0.5 * u)
    flag = Polygon([(hx + 4.6 * u, 9.0 * u), (hx + 10.0 * u, 13.0 * u), (hx + 10.0 * u, 16.0 * u),
                    (hx + 4.6 * u, 12.8 * u)], 0.4 * u)
    note = Union(head, stem, flag)
    outline = Polygon([(p[0], p[1]) for p in flag.points], 0.4 * u + edge)
    c.fill(Union(Circle(hx, hy, 3.6 * u + edge), Circle(hx + 1.2 * u, hy - 0.6 * u, 3.4 * u + edge),
                 RoundRect(hx + 2.4 * u - edge, 9.0 * u - edge, hx + 4.6 * u + edge, hy, 0.5 * u + edge),
                 outline), solid(MOON_EDGE))
    c.fill(note, vertical(AMBER_TOP, AMBER_BOTTOM, 8 * u, 29 * u))
    return c


def _state_badge(s, glyph):
    """An overlay: transparent except a round badge in the lower right corner carrying the CD state."""
    c = Canvas(s)
    u = s / 32.0
    cx = cy = s - 8.6 * u
    r = 8.2 * u
    edge = max(1.0, u)
    c.fill(Circle(cx, cy, r), solid(WHITE))
    c.fill(Circle(cx, cy, r - edge), vertical(NAVY_TOP, NAVY_BOTTOM, cy - r, cy + r))
    if glyph == "play":
        c.fill(Polygon([(cx - 2.6 * u, cy - 4.4 * u), (cx + 4.6 * u, cy), (cx - 2.6 * u, cy + 4.4 * u)], 0.5 * u),
               vertical(TEAL_TOP, TEAL_BOTTOM, cy - 4 * u, cy + 4 * u))
    else:
        c.fill(RoundRect(cx - 3.6 * u, cy - 3.6 * u, cx + 3.6 * u, cy + 3.6 * u, 0.8 * u),
               vertical(CORAL_TOP, CORAL_BOTTOM, cy - 4 * u, cy + 4 * u))
    return c


def draw_cd_play(s):
    return _state_badge(s, "play")


def draw_cd_stop(s):
    return _state_badge(s, "stop")


def draw_grip_cursor():
    """A four-way move arrow, white with a black rim, its hot spot at the centre."""
    s = 32
    c = Canvas(s)
    cx = cy = 15.5

    def arms(grow):
        a, w, h, hw = 13.5, 1.5, 5.0, 5.0  # arm length, half shaft width, head length, half head width
        pts = [
            (cx, cy - a), (cx + hw, cy - a + h), (cx + w, cy - a + h), (cx + w, cy - w),
            (cx + a - h, cy - w), (cx + a - h, cy - hw), (cx + a, cy), (cx + a - h, cy + hw), (cx + a - h, cy + w),
            (cx + w, cy + w), (cx + w, cy + a - h), (cx + hw, cy + a - h), (cx, cy + a),
            (cx - hw, cy + a - h), (cx - w, cy + a - h), (cx - w, cy + w), (cx - a + h, cy + w),
            (cx - a + h, cy + hw), (cx - a, cy), (cx - a + h, cy - hw), (cx - a + h, cy - w), (cx - w, cy - w),
            (cx - w, cy - a + h), (cx - hw, cy - a + h),
        ]
        return Polygon(pts, grow)

    c.fill(arms(1.2), solid(BLACK))
    c.fill(arms(0.0), solid(WHITE))
    return c, (16, 16)


# ---------------------------------------------------------------------------------------------------------
# File formats.

def _dib(canvas):
    """BITMAPINFOHEADER + bottom-up BGRA pixels + AND mask, as stored inside .ico and .cur files."""
    n = canvas.size
    rows = canvas.bgra_rows()
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(reversed(rows))
    stride = ((n + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x in range(n):
            if row[x * 4 + 3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + xor + bytes(mask)


def _png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def _png(canvas):
    """The picture as a PNG file: straight RGBA, each row with the filter that leaves the smallest sum."""
    n = canvas.size
    raw = bytearray()
    previous = bytes(n * 4)
    for bgra in canvas.bgra_rows():
        row = bytearray(bgra)
        row[0::4], row[2::4] = bgra[2::4], bgra[0::4]  # BGRA -> RGBA
        candidates = [(0, bytes(row)), (1, _png_sub(row)), (2, bytes((row[i] - previous[i]) & 0xFF
                                                                     for i in range(len(row))))]
        kind, filtered = min(candidates, key=lambda c: sum(b if b < 128 else 256 - b for b in c[1]))
        raw.append(kind)
        raw += filtered
        previous = bytes(row)
    header = struct.pack(">IIBBBBB", n, n, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _png_chunk(b"IHDR", header) + _png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)) +
            _png_chunk(b"IEND", b""))


def _png_sub(row):
    return bytes((row[i] - (row[i - 4] if i >= 4 else 0)) & 0xFF for i in range(len(row)))


def icon_file(canvases, hotspot=None):
    """An .ico (or, with a hot spot, a .cur) holding the given square images."""
    kind = 2 if hotspot else 1
    images = [_dib(c) if c.size <= LARGEST_BITMAP else _png(c) for c in canvases]
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for canvas, data in zip(canvases, images):
        n = canvas.size
        planes, bits = (hotspot if hotspot else (1, 32))
        out += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, planes, bits, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def checker_bitmap():
    """An 8x8 one-bit checkerboard: the pattern brush that greys out unused cells."""
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    rows = b"".join(bytes((0xAA if y % 2 else 0x55, 0, 0, 0)) for y in range(8))
    info = struct.pack("<IiiHHIIiiII", 40, 8, 8, 1, 1, 0, len(rows), 2835, 2835, 2, 2)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    return header + info + palette + rows


ICONS = {
    "mainicon.ico": draw_main,
    "xsmall.ico": draw_small,
    "start.ico": draw_start,
    "tstandby.ico": draw_moon,
    "xcd.ico": draw_cd_player,
    "pcdimage.ico": draw_disc_image,
    "pcdplay.ico": draw_cd_play,
    "pcdstop.ico": draw_cd_stop,
}


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.normpath(argv[1] if len(argv) > 1 else os.path.join(here, "..", "src", "resources", "icons"))
    os.makedirs(out, exist_ok=True)

    def write(name, data):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
        print(os.path.join(out, name))

    for name, draw in ICONS.items():
        write(name, icon_file([draw(s) for s in SIZES]))
    cursor, hotspot = draw_grip_cursor()
    write("gripcursor.cur", icon_file([cursor], hotspot))
    write("netpattern.bmp", checker_bitmap())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
