#!/usr/bin/env python3
"""Draws Vantorel's icons and small bitmaps and writes them as .ico and .bmp files.

Rerun from the repository root with
    python3 tools/make_art.py
It rewrites src/resources/icons/vantorel.ico (32x32 and 16x16), src/resources/icons/tray.ico
(16x16), src/resources/bitmaps/status.bmp (five 30x16 images, yellow mask) and
src/resources/bitmaps/tree.bmp (ten 16x16 images, blue mask). The output is deterministic
(standard library only, no randomness), so an unchanged script gives byte-identical files.
The build does not run this script; the generated files are committed.

Shapes are drawn on an 8x oversampled grid. Icons keep the coverage as alpha (smooth edges);
the masked bitmaps turn a pixel opaque only where at least half of it is covered, so no pixel
ends up half-way to the mask colour.
"""

import math
import os
import struct
import sys

SS = 8  # oversampling factor per axis


class Canvas:
    """An oversampled drawing surface; colours are (r, g, b) tuples, None is empty."""

    def __init__(self, width, height):
        self.w, self.h = width, height
        self.sw, self.sh = width * SS, height * SS
        self.px = [None] * (self.sw * self.sh)

    def _span_fill(self, y0, y1, inside, color):
        # inside(x, y) in logical coordinates, tested at every subsample centre of rows y0..y1.
        for sy in range(max(0, y0), min(self.sh, y1)):
            y = (sy + 0.5) / SS
            row = sy * self.sw
            for sx in range(self.sw):
                if inside((sx + 0.5) / SS, y):
                    self.px[row + sx] = color

    def polygon(self, pts, color):
        ys = [p[1] for p in pts]
        y0, y1 = int(min(ys) * SS) - 1, int(max(ys) * SS) + 2
        n = len(pts)
        for sy in range(max(0, y0), min(self.sh, y1)):
            y = (sy + 0.5) / SS
            xs = []
            for i in range(n):
                (ax, ay), (bx, by) = pts[i], pts[(i + 1) % n]
                if (ay <= y < by) or (by <= y < ay):
                    xs.append(ax + (y - ay) * (bx - ax) / (by - ay))
            xs.sort()
            row = sy * self.sw
            for k in range(0, len(xs) - 1, 2):
                s0 = max(0, math.ceil(xs[k] * SS - 0.5))
                s1 = min(self.sw - 1, math.floor(xs[k + 1] * SS - 0.5))
                for sx in range(s0, s1 + 1):
                    self.px[row + sx] = color

    def rect(self, x0, y0, x1, y1, color):
        self.polygon([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], color)

    def ellipse(self, cx, cy, rx, ry, color, rot=0.0, steps=64, t0=0.0, t1=2 * math.pi):
        c, s = math.cos(rot), math.sin(rot)
        pts = []
        for i in range(steps + 1):
            t = t0 + (t1 - t0) * i / steps
            ex, ey = rx * math.cos(t), ry * math.sin(t)
            pts.append((cx + ex * c - ey * s, cy + ex * s + ey * c))
        self.polygon(pts, color)

    def circle(self, cx, cy, r, color):
        self.ellipse(cx, cy, r, r, color)

    def line(self, x0, y0, x1, y1, width, color, caps=True):
        dx, dy = x1 - x0, y1 - y0
        length = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / length * width / 2, dx / length * width / 2
        self.polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)], color)
        if caps:
            self.circle(x0, y0, width / 2, color)
            self.circle(x1, y1, width / 2, color)

    def arc(self, cx, cy, r, width, a0, a1, color, steps=24):
        outer = [(cx + (r + width / 2) * math.cos(a0 + (a1 - a0) * i / steps),
                  cy - (r + width / 2) * math.sin(a0 + (a1 - a0) * i / steps)) for i in range(steps + 1)]
        inner = [(cx + (r - width / 2) * math.cos(a1 - (a1 - a0) * i / steps),
                  cy - (r - width / 2) * math.sin(a1 - (a1 - a0) * i / steps)) for i in range(steps + 1)]
        self.polygon(outer + inner, color)

    def pixels(self, x, y, rows, palette):
        """Sets whole logical pixels from a picture: rows of characters, palette char -> colour."""
        for j, line in enumerate(rows):
            for i, ch in enumerate(line):
                if ch in palette:
                    for sy in range((y + j) * SS, (y + j + 1) * SS):
                        for sx in range((x + i) * SS, (x + i + 1) * SS):
                            self.px[sy * self.sw + sx] = palette[ch]

    def resolve(self):
        """Returns rows of (r, g, b, coverage 0..1) per logical pixel."""
        out = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                r = g = b = n = 0
                for sy in range(y * SS, (y + 1) * SS):
                    base = sy * self.sw
                    for sx in range(x * SS, (x + 1) * SS):
                        p = self.px[base + sx]
                        if p is not None:
                            r += p[0]; g += p[1]; b += p[2]; n += 1
                if n:
                    row.append((round(r / n), round(g / n), round(b / n), n / (SS * SS)))
                else:
                    row.append((0, 0, 0, 0.0))
            out.append(row)
        return out


def masked(canvas, mask):
    """Hard-edged pixels for a colour-keyed bitmap; no drawn pixel may equal the mask colour."""
    rows = []
    for row in canvas.resolve():
        out = []
        for r, g, b, a in row:
            if a >= 0.5:
                if (r, g, b) == mask:
                    r = r - 1 if r else r + 1
                out.append((r, g, b))
            else:
                out.append(mask)
        rows.append(out)
    return rows


def join_strips(strips):
    return [sum((s[y] for s in strips), []) for y in range(len(strips[0]))]


def bmp24(rows):
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        data += line + bytes(stride - len(line))
    header = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return struct.pack('<2sIHHI', b'BM', 14 + 40 + len(data), 0, 0, 54) + header + data


def ico(images):
    """images: list of rows of (r, g, b, coverage); written as 32-bit images with an AND mask."""
    blobs = []
    for rows in images:
        h, w = len(rows), len(rows[0])
        xor = bytearray()
        for row in reversed(rows):
            for r, g, b, a in row:
                xor += bytes((b, g, r, round(a * 255)))
        mask_stride = ((w + 31) // 32) * 4
        andmask = bytearray()
        for row in reversed(rows):
            bits = bytearray(mask_stride)
            for x, (_, _, _, a) in enumerate(row):
                if a < 0.5:
                    bits[x // 8] |= 0x80 >> (x % 8)
            andmask += bits
        header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
        blobs.append((w, h, header + xor + andmask))
    out = bytearray(struct.pack('<HHH', 0, 1, len(blobs)))
    offset = 6 + 16 * len(blobs)
    for w, h, blob in blobs:
        out += struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for _, _, blob in blobs:
        out += blob
    return bytes(out)


# Colours shared by several pictures.
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
SKY_TOP = (10, 18, 52)
SKY_BOTTOM = (28, 44, 104)
DISH = (226, 230, 238)
DISH_SHADE = (150, 158, 176)
DISH_DARK = (70, 78, 96)
SIGNAL = (255, 214, 40)
GRAPH_RED = (230, 30, 30)
FOLDER = (240, 196, 60)
FOLDER_DARK = (176, 128, 20)


def sky_tile(c, size, radius):
    """A rounded square of night sky with a vertical gradient."""
    steps = size * 2
    for i in range(steps):
        t = i / (steps - 1)
        col = tuple(round(SKY_TOP[k] + (SKY_BOTTOM[k] - SKY_TOP[k]) * t) for k in range(3))
        y0, y1 = size * i / steps, size * (i + 1) / steps
        c.rect(0, y0, size, y1 + 0.01, col)
    # Cut the corners back to empty by redrawing them outside the rounded outline.
    r = radius
    for (cx, cy, a0) in ((r, r, math.pi / 2), (size - r, r, 0), (size - r, size - r, -math.pi / 2),
                         (r, size - r, math.pi)):
        pts = [(cx + r * math.cos(a0 + math.pi / 2 * i / 12), cy - r * math.sin(a0 + math.pi / 2 * i / 12))
               for i in range(13)]
        corner = (cx + r * math.copysign(1, math.cos(a0 + math.pi / 4)),
                  cy - r * math.copysign(1, math.sin(a0 + math.pi / 4)))
        c.polygon(pts + [corner], None)


def dish(c, cx, cy, scale, with_stand=True):
    """A radio dish whose bowl opens towards the upper right, on a pedestal."""
    rot = math.pi / 4  # the rim runs from upper left to lower right; the bowl bulges down and left
    if with_stand:
        c.polygon([(cx - 3.2 * scale, cy + 2.2 * scale), (cx - 1.8 * scale, cy + 2.2 * scale),
                   (cx - 0.6 * scale, cy + 6.0 * scale), (cx - 4.4 * scale, cy + 6.0 * scale)], DISH_SHADE)
        c.rect(cx - 5.4 * scale, cy + 5.8 * scale, cx + 0.4 * scale, cy + 6.9 * scale, DISH_DARK)
    # The bowl: the half of an ellipse on the far side of its rim.
    c.ellipse(cx, cy, 5.6 * scale, 3.4 * scale, DISH_SHADE, rot=rot, t0=0, t1=math.pi)
    c.ellipse(cx + 0.2 * scale, cy - 0.2 * scale, 5.0 * scale, 2.6 * scale, DISH, rot=rot, t0=0, t1=math.pi)
    # The rim seen at a slant: a thin ellipse with a dark edge.
    c.ellipse(cx, cy, 5.6 * scale, 1.3 * scale, DISH_DARK, rot=rot)
    c.ellipse(cx, cy, 5.0 * scale, 0.7 * scale, DISH, rot=rot)
    # Feed arm and receiver in front of the bowl.
    fx, fy = cx + 3.0 * scale, cy - 3.0 * scale
    c.line(cx, cy, fx, fy, 0.8 * scale, DISH_DARK)
    c.circle(fx, fy, 1.0 * scale, SIGNAL)


def program_icon(size):
    c = Canvas(size, size)
    sky_tile(c, size, size * 0.18)
    s = size / 32
    if size >= 32:
        for x, y, r in ((5, 6, 0.7), (12, 3.5, 0.5), (27, 22, 0.6), (4, 17, 0.5), (17, 9, 0.45)):
            c.circle(x * s, y * s, r, WHITE)
    else:
        c.circle(3.5, 4.5, 0.6, WHITE)
        c.circle(8.5, 2.5, 0.5, WHITE)
    dish(c, 14 * s, 16 * s, 1.55 * s)
    # Signal arcs coming in from the upper right.
    for i, r in enumerate((5.0, 8.5) if size < 32 else (5.0, 8.0, 11.0)):
        c.arc(17.5 * s, 13.5 * s, (r + 0.5) * s, max(1.0, 1.6 * s), math.radians(5), math.radians(85), SIGNAL)
    return c.resolve()


def tray_icon():
    """16x16: a spike graph, red on black, as the lists draw their signal graphs."""
    c = Canvas(16, 16)
    c.rect(0.5, 0.5, 15.5, 15.5, (40, 48, 64))
    c.rect(1.5, 1.5, 14.5, 14.5, BLACK)
    c.rect(1.5, 12.0, 14.5, 12.6, (120, 120, 120))
    heights = [1, 2, 1, 3, 2, 4, 2, 10, 3, 2, 4, 1, 2]
    for i, hgt in enumerate(heights):
        x = 2 + i
        c.rect(x, 12 - hgt, x + 1, 12, GRAPH_RED if hgt < 10 else SIGNAL)
    return c.resolve()


YELLOW = (255, 255, 0)
BLUE = (0, 0, 255)


def status_running():
    c = Canvas(30, 16)
    col = (0, 128, 0)
    c.circle(17.2, 2.6, 1.9, col)                      # head
    c.line(16.0, 5.2, 13.2, 9.6, 2.2, col)             # torso, leaning forward
    c.line(15.6, 5.8, 19.2, 7.6, 1.4, col)             # front arm
    c.line(19.2, 7.6, 21.0, 5.6, 1.4, col)
    c.line(15.2, 6.0, 11.8, 6.4, 1.4, col)             # back arm
    c.line(11.8, 6.4, 10.4, 8.6, 1.4, col)
    c.line(13.2, 9.6, 16.8, 11.4, 1.6, col)            # front leg
    c.line(16.8, 11.4, 17.2, 14.6, 1.6, col)
    c.line(13.2, 9.6, 10.6, 12.2, 1.6, col)            # back leg
    c.line(10.6, 12.2, 7.6, 12.0, 1.6, col)
    for y in (5.5, 8.5, 11.5):                         # speed lines
        c.rect(2.0, y - 0.5, 6.0, y + 0.5, (90, 160, 90))
    return c


def status_stop():
    c = Canvas(30, 16)
    cx, cy = 15, 8
    oct_ = lambda r: [(cx + r * math.cos(math.pi / 8 + i * math.pi / 4), cy + r * math.sin(math.pi / 8 + i * math.pi / 4))
                      for i in range(8)]
    c.polygon(oct_(8.0), (120, 0, 0))
    c.polygon(oct_(7.2), (220, 20, 20))
    c.polygon(oct_(6.2), WHITE)
    c.polygon(oct_(5.4), (220, 20, 20))
    c.rect(10.5, 7.0, 19.5, 9.0, WHITE)
    return c


def status_done():
    c = Canvas(30, 16)
    col = (0, 96, 200)
    glyphs = [
        ["####.", "##.##", "##.##", "##.##", "##.##", "##.##", "##.##", "####."],   # D
        [".....", ".....", ".###.", "##.##", "##.##", "##.##", "##.##", ".###."],   # o
        [".....", ".....", "####.", "##.##", "##.##", "##.##", "##.##", "##.##"],   # n
        [".....", ".....", ".###.", "##.##", "#####", "##...", "##..#", ".###."],   # e
    ]
    x = 3
    for g in glyphs:
        c.pixels(x, 4, g, {'#': col})
        x += 6
    return c


def status_unplugged():
    c = Canvas(30, 16)
    body, dark, cable = (150, 150, 160), (60, 60, 70), (40, 40, 40)
    c.line(0.5, 8, 5, 8, 1.6, cable, caps=False)             # cable into the plug
    c.rect(5, 4.5, 11, 11.5, body)
    c.rect(5, 4.5, 11, 5.5, dark)
    c.rect(5, 10.5, 11, 11.5, dark)
    c.rect(11, 5.8, 14, 7.0, (200, 170, 60))                 # prongs
    c.rect(11, 9.0, 14, 10.2, (200, 170, 60))
    c.rect(19, 4, 25, 12, body)                              # the socket
    c.rect(19, 4, 20, 12, dark)
    c.rect(19.5, 5.8, 21.5, 7.0, BLACK)
    c.rect(19.5, 9.0, 21.5, 10.2, BLACK)
    c.line(25, 8, 29.5, 8, 1.6, cable, caps=False)
    c.line(15.2, 4.2, 17.8, 6.8, 1.0, (220, 20, 20))          # the break
    c.line(17.8, 4.2, 15.2, 6.8, 1.0, (220, 20, 20))
    return c


def status_question():
    c = Canvas(30, 16)
    col = (0, 60, 210)
    c.arc(15, 5.0, 3.2, 2.2, math.radians(-60), math.radians(200), col)
    c.line(16.6, 7.8, 15, 9.4, 2.2, col)
    c.line(15, 9.4, 15, 10.6, 2.2, col, caps=False)
    c.circle(15, 13.6, 1.35, col)
    return c


def tree_location():
    """A folder: one client directory."""
    c = Canvas(16, 16)
    c.polygon([(1, 3), (6, 3), (7.5, 4.5), (15, 4.5), (15, 14), (1, 14)], FOLDER_DARK)
    c.rect(1.8, 5.3, 14.2, 13.2, FOLDER)
    c.rect(1.8, 5.3, 14.2, 6.2, (252, 226, 130))
    return c


def tree_all_locations():
    """A globe: every location at once."""
    c = Canvas(16, 16)
    c.circle(8, 8, 7.0, (10, 60, 130))
    c.circle(8, 8, 6.2, (40, 120, 210))
    land = (40, 150, 60)
    c.polygon([(4, 3.5), (8, 3), (8.6, 5.5), (6.5, 7.5), (5, 10.5), (3.2, 8), (2.6, 5.5)], land)
    c.polygon([(9.5, 7), (13, 6.5), (13.8, 9.5), (11.5, 13), (10, 11)], land)
    c.arc(8, 8, 5.0, 0.7, math.radians(100), math.radians(160), (200, 230, 255))
    return c


def tree_open_folder():
    c = Canvas(16, 16)
    c.polygon([(1, 3), (6, 3), (7.5, 4.5), (13, 4.5), (13, 7), (1, 7)], FOLDER_DARK)
    c.polygon([(1, 14), (1, 3.5), (2, 3.5), (2, 7), (13, 7), (13, 14)], FOLDER_DARK)
    c.polygon([(1, 14), (3.5, 7.5), (15.5, 7.5), (13, 14)], FOLDER)
    return c


def tree_dish():
    c = Canvas(16, 16)
    dish(c, 9.0, 6.5, 0.9)
    return c


def tree_calendar():
    c = Canvas(16, 16)
    c.rect(1.5, 2.5, 14.5, 14.5, (90, 90, 100))
    c.rect(2.5, 5.5, 13.5, 13.5, WHITE)
    c.rect(2.5, 3.5, 13.5, 5.5, (200, 30, 30))
    for gx in range(4):
        for gy in range(3):
            col = (200, 30, 30) if (gx, gy) == (2, 1) else (120, 120, 130)
            c.rect(3.5 + gx * 2.5, 6.5 + gy * 2.3, 5.0 + gx * 2.5, 7.8 + gy * 2.3, col)
    return c


def tree_sky_map():
    c = Canvas(16, 16)
    c.rect(0.5, 2.5, 15.5, 13.5, (10, 10, 40))
    c.rect(0.5, 7.5, 15.5, 8.3, (0, 140, 160))
    for x, y in ((3, 4.5), (7, 5), (12, 4), (10, 11), (4, 11.5)):
        c.circle(x, y, 0.6, WHITE)
    c.ellipse(10.5, 9.5, 2.2, 1.9, (255, 220, 0))
    c.ellipse(10.5, 9.5, 1.3, 1.0, (10, 10, 40))
    return c


def tree_graph():
    c = Canvas(16, 16)
    c.rect(0.5, 1.5, 15.5, 14.5, BLACK)
    c.rect(1, 12, 15, 12.6, (120, 120, 120))
    for i, hgt in enumerate((1, 2, 1, 3, 2, 9, 2, 1, 3, 2, 1, 2, 1)):
        c.rect(1.5 + i, 12 - hgt, 2.5 + i, 12, GRAPH_RED)
    return c


def tree_log():
    c = Canvas(16, 16)
    c.polygon([(2.5, 1.5), (10, 1.5), (13.5, 5), (13.5, 14.5), (2.5, 14.5)], (110, 110, 120))
    c.polygon([(3.3, 2.3), (9.6, 2.3), (12.7, 5.4), (12.7, 13.7), (3.3, 13.7)], WHITE)
    for y in (6, 8, 10, 12):
        c.rect(4.5, y, 11.5, y + 0.9, (60, 90, 160))
    return c


def tree_check():
    c = Canvas(16, 16)
    c.line(3, 8.5, 6.5, 12, 2.4, (0, 150, 0))
    c.line(6.5, 12, 13, 4, 2.4, (0, 150, 0))
    return c


def tree_error():
    c = Canvas(16, 16)
    c.circle(8, 8, 7, (160, 0, 0))
    c.circle(8, 8, 6.2, (220, 30, 30))
    c.line(5.2, 5.2, 10.8, 10.8, 1.8, WHITE)
    c.line(10.8, 5.2, 5.2, 10.8, 1.8, WHITE)
    return c


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'resources')
    icons, bitmaps = os.path.join(root, 'icons'), os.path.join(root, 'bitmaps')
    os.makedirs(icons, exist_ok=True)
    os.makedirs(bitmaps, exist_ok=True)

    outputs = {
        os.path.join(icons, 'vantorel.ico'): ico([program_icon(32), program_icon(16)]),
        os.path.join(icons, 'tray.ico'): ico([tray_icon()]),
        # Order matters: the code picks images by index.
        os.path.join(bitmaps, 'status.bmp'): bmp24(join_strips(
            [masked(f(), YELLOW) for f in (status_running, status_stop, status_done,
                                           status_unplugged, status_question)])),
        os.path.join(bitmaps, 'tree.bmp'): bmp24(join_strips(
            [masked(f(), BLUE) for f in (tree_location, tree_all_locations, tree_open_folder, tree_dish,
                                         tree_calendar, tree_sky_map, tree_graph, tree_log, tree_check,
                                         tree_error)])),
    }
    for path, data in outputs.items():
        with open(path, 'wb') as f:
            f.write(data)
        print('wrote', os.path.normpath(path), len(data), 'bytes')
    return 0


if __name__ == '__main__':
    sys.exit(main())
