#!/usr/bin/env python3
"""Renders the Sky Map's star chart (965 x 482, 16 colours, 4-bit BMP) from d3-celestial's data files.

The projection is the one the Sky Map window draws its circles with: right ascension grows to the
left, 0 h at x = 482, both side edges at 12 h, 40 pixels per hour; +90 degrees at y = 1, the
equator at y = 241, -90 degrees at y = 481, 8/3 pixels per degree. Only the Python 3 standard
library is used.

    python3 make_skychart.py DATA_DIR OUT.bmp [--png OUT.png]

DATA_DIR is the "data" folder of the npm package d3-celestial (stars.6.json,
constellations.lines.json, constellations.json, mw.json).
"""

import argparse
import json
import math
import os
import struct
import zlib

WIDTH, HEIGHT = 965, 482
C = 0.03333333333333333  # 1/30 as a 64-bit float, as the window multiplies

# The 16 colours. Yellow and the other bright hues stay free for the locations' circles.
PALETTE = [
    (0, 0, 0),        # 0 sky
    (0, 0, 56),       # 1 Milky Way, faintest level
    (6, 12, 84),      # 2 Milky Way
    (14, 26, 112),    # 3 Milky Way, brightest levels
    (72, 72, 72),     # 4 grid
    (0, 150, 150),    # 5 constellation figures
    (0, 255, 255),    # 6 equator and labels
    (255, 255, 255),  # 7 bright stars
    (200, 200, 200),  # 8 middle stars
    (130, 130, 130),  # 9 faint stars
    (0, 200, 200),    # 10 constellation abbreviations
    (160, 160, 160),  # 11 declination labels
    (40, 40, 40),     # 12 unused
    (0, 0, 128),      # 13 unused
    (0, 100, 100),    # 14 unused
    (96, 96, 96),     # 15 unused
]
SKY, MW1, MW2, MW3, GRID, FIGURE, EQUATOR, STAR1, STAR2, STAR3, ABBREV, DECLABEL = range(12)


def project(ra_hours, dec):
    """Chart pixel of a position, with the window's truncations."""
    if ra_hours < 12:
        x = int(482 - ra_hours * 40)
    else:
        x = 482 + int((24 - ra_hours) * 40)
    if dec > 0:
        y = int(241 - dec * C * 80)
    else:
        y = int(abs(dec) * C * 80 + 241)
    return x, y


def chart_x(lon):
    """Continuous x of a longitude in degrees (right ascension x 15), before wrapping at 12 h."""
    return 482.0 - lon * 8.0 / 3.0


def chart_y(dec):
    return 241.0 - dec * 8.0 / 3.0


# A 3 x 5 pixel font: each glyph is five rows of three bits.
FONT = {
    'A': "010101111101101", 'B': "110101110101110", 'C': "011100100100011", 'D': "110101101101110",
    'E': "111100110100111", 'F': "111100110100100", 'G': "011100101101011", 'H': "101101111101101",
    'I': "111010010010111", 'J': "001001001101010", 'K': "101101110101101", 'L': "100100100100111",
    'M': "101111111101101", 'N': "110101101101101", 'O': "010101101101010", 'P': "110101110100100",
    'Q': "010101101110011", 'R': "110101110101101", 'S': "011100010001110", 'T': "111010010010010",
    'U': "101101101101111", 'V': "101101101101010", 'W': "101101111111101", 'X': "101101010101101",
    'Y': "101101010010010", 'Z': "111001010100111",
    '0': "111101101101111", '1': "010110010010111", '2': "110001010100111", '3': "110001010001110",
    '4': "101101111001001", '5': "111100110001110", '6': "011100111101111", '7': "111001010010010",
    '8': "111101111101111", '9': "111101111001110",
    '+': "000010111010000", '-': "000000111000000", '\u00b0': "010101010000000",
    'h': "100100110101101", ' ': "000000000000000",
}


class Canvas:
    def __init__(self):
        self.pixels = bytearray([SKY]) * (WIDTH * HEIGHT)

    def set(self, x, y, colour):
        if 0 <= x < WIDTH and 0 <= y < HEIGHT:
            self.pixels[y * WIDTH + x] = colour

    def get(self, x, y):
        return self.pixels[y * WIDTH + x]

    def line(self, x0, y0, x1, y1, colour, dotted=False):
        """A line between two pixel centres; dotted draws every other pixel."""
        steps = int(max(abs(x1 - x0), abs(y1 - y0))) + 1
        for i in range(steps + 1):
            t = i / steps
            x = int(round(x0 + (x1 - x0) * t))
            y = int(round(y0 + (y1 - y0) * t))
            if dotted and (x + y) % 2:
                continue
            self.set(x, y, colour)

    def text_width(self, text):
        return len(text) * 4 - 1

    def text(self, x, y, text, colour, halo=True):
        """Draws text with its top left at (x, y); a black halo keeps it readable over lines."""
        if halo:
            for dx in (-1, 0, 1):
                for dy in (-1, 0, 1):
                    self._glyphs(x + dx, y + dy, text, SKY)
        self._glyphs(x, y, text, colour)

    def _glyphs(self, x, y, text, colour):
        for ch in text:
            bits = FONT.get(ch, FONT.get(ch.upper(), FONT[' ']))
            for row in range(5):
                for col in range(3):
                    if bits[row * 3 + col] == '1':
                        self.set(x + col, y + row, colour)
            x += 4


def wrapped_segment(canvas, x0, y0, x1, y1, colour, dotted=False):
    """Draws a segment in continuous chart x, repeated one sky width (960 pixels) to each side,
    so a segment that crosses 12 h shows at both edges."""
    for shift in (-960, 0, 960):
        a, b = x0 + shift, x1 + shift
        if max(a, b) < -2 or min(a, b) > WIDTH + 2:
            continue
        canvas.line(a, y0, b, y1, colour, dotted)


def to_vector(lon, lat):
    lo, la = math.radians(lon), math.radians(lat)
    return (math.cos(la) * math.cos(lo), math.cos(la) * math.sin(lo), math.sin(la))


def to_lonlat(v):
    x, y, z = v
    return math.degrees(math.atan2(y, x)), math.degrees(math.asin(max(-1.0, min(1.0, z))))


def great_circle(p, q, step_degrees=2.0):
    """Points along the great circle from p to q (lon, lat in degrees), p and q included."""
    a, b = to_vector(*p), to_vector(*q)
    dot = max(-1.0, min(1.0, sum(i * j for i, j in zip(a, b))))
    angle = math.acos(dot)
    n = max(1, int(math.degrees(angle) / step_degrees))
    if angle < 1e-9:
        return [p, q]
    points = []
    for i in range(n + 1):
        t = i / n
        s0 = math.sin((1 - t) * angle) / math.sin(angle)
        s1 = math.sin(t * angle) / math.sin(angle)
        points.append(to_lonlat(tuple(s0 * i0 + s1 * i1 for i0, i1 in zip(a, b))))
    return points


def unwrap(lons):
    """Longitudes made continuous (no jumps of more than 180 degrees)."""
    out = [lons[0]]
    for lon in lons[1:]:
        d = (lon - out[-1] + 180.0) % 360.0 - 180.0
        out.append(out[-1] + d)
    return out


def fill_milky_way(canvas, polygons, colour):
    """Fills rings on the sphere by the even-odd rule along each pixel column's meridian,
    counted from the south pole, so rings that cross 12 h or circle a pole need no cutting."""
    crossings = [[] for _ in range(WIDTH)]
    for polygon in polygons:
        for ring in polygon:
            if ring[0] != ring[-1]:
                ring = ring + [ring[0]]
            for (lon0, lat0), (lon1, lat1) in zip(ring, ring[1:]):
                dlon = (lon1 - lon0 + 180.0) % 360.0 - 180.0
                if dlon == 0:
                    continue
                xa, xb = chart_x(lon0), chart_x(lon0 + dlon)
                lo, hi = min(xa, xb), max(xa, xb)
                for shift in (-960, 0, 960):
                    first = math.ceil(lo + shift - 0.5)
                    last = math.ceil(hi + shift - 0.5) - 1
                    for x in range(max(first, 0), min(last, WIDTH - 1) + 1):
                        cx = x + 0.5 - shift
                        t = (cx - xa) / (xb - xa)
                        crossings[x].append(chart_y(lat0 + (lat1 - lat0) * t))
    for x, ys in enumerate(crossings):
        ys.sort(reverse=True)  # from the south pole upwards
        for bottom, top in zip(ys[0::2], ys[1::2]):
            for y in range(max(0, math.ceil(top - 0.5)), min(HEIGHT - 1, math.ceil(bottom - 0.5) - 1) + 1):
                canvas.set(x, y, colour)


def draw_grid(canvas):
    for k in range(-6, 7):
        x = 482 + 80 * k
        for y in range(HEIGHT):
            canvas.set(x, y, GRID)
    for k in range(-3, 4):
        if k == 0:
            continue
        y = 241 + 80 * k
        for x in range(WIDTH):
            canvas.set(x, y, GRID)


def draw_equator(canvas):
    for x in range(0, WIDTH, 2):
        canvas.set(x, 241, EQUATOR)


def draw_figures(canvas, lines):
    for feature in lines["features"]:
        for path in feature["geometry"]["coordinates"]:
            for p, q in zip(path, path[1:]):
                points = great_circle(tuple(p), tuple(q))
                lons = unwrap([lon for lon, _ in points])
                for (lon0, lat0), lon1, (_, lat1) in zip(zip(lons, [lat for _, lat in points]), lons[1:],
                                                          points[1:]):
                    wrapped_segment(canvas, chart_x(lon0), chart_y(lat0), chart_x(lon1), chart_y(lat1), FIGURE)


def draw_stars(canvas, stars):
    # Faint stars first, so a bright neighbour's dot wins where they touch.
    features = sorted(stars["features"], key=lambda f: -float(f["properties"]["mag"]))
    for feature in features:
        mag = float(feature["properties"]["mag"])
        if mag > 5.3:
            continue
        lon, lat = feature["geometry"]["coordinates"]
        x, y = project((lon / 15.0) % 24.0, lat)
        if mag < 0.5:
            shape, colour = [(dx, dy) for dx in range(-1, 2) for dy in range(-1, 2)] + \
                [(-2, 0), (2, 0), (0, -2), (0, 2)], STAR1
        elif mag < 1.5:
            shape, colour = [(dx, dy) for dx in range(-1, 2) for dy in range(-1, 2)], STAR1
        elif mag < 2.5:
            shape, colour = [(0, 0), (-1, 0), (1, 0), (0, -1), (0, 1)], STAR1
        elif mag < 3.5:
            shape, colour = [(0, 0), (1, 0), (0, 1), (1, 1)], STAR2
        elif mag < 4.3:
            shape, colour = [(0, 0)], STAR1
        else:
            shape, colour = [(0, 0)], STAR3
        for dx, dy in shape:
            canvas.set(x + dx, y + dy, colour)


def draw_abbreviations(canvas, names):
    seen = set()
    for feature in names["features"]:
        abbreviation = feature["id"].upper()
        lon, lat = feature["geometry"]["coordinates"]
        if abbreviation in seen and abbreviation != "SER":
            continue
        seen.add(abbreviation)
        x, y = project((lon / 15.0) % 24.0, lat)
        width = canvas.text_width(abbreviation)
        left = min(max(x - width // 2, 4), WIDTH - 5 - width)
        top = min(max(y + 4, 4), HEIGHT - 7)
        canvas._glyphs(left, top, abbreviation, ABBREV)


def draw_scale_labels(canvas):
    for hours in range(0, 24, 2):
        if hours == 12:
            continue
        x, _ = project(float(hours), 0.0)
        label = "%dh" % hours
        width = canvas.text_width(label)
        canvas.text(x - width // 2, 244, label, EQUATOR)
    for degrees in (60, 30, 0, -30, -60):
        label = ("+%d\u00b0" % degrees) if degrees > 0 else ("%d\u00b0" % degrees)
        _, y = project(0.0, float(degrees))
        top = y - 7
        canvas.text(4, top, label, DECLABEL)
        canvas.text(WIDTH - 5 - canvas.text_width(label), top, label, DECLABEL)


def write_bmp(canvas, path):
    """A bottom-up, uncompressed 4-bit BMP with the 16-colour palette."""
    row_bytes = ((WIDTH + 1) // 2 + 3) // 4 * 4
    image = bytearray()
    for y in range(HEIGHT - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(WIDTH):
            value = canvas.get(x, y)
            row[x // 2] |= value << 4 if x % 2 == 0 else value
        image += row
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 4, 0, len(image), 2835, 2835, 16, 16)
    with open(path, "wb") as out:
        out.write(header + info + palette + image)


def write_png(canvas, path):
    """A PNG of the same picture, for looking at it."""
    raw = bytearray()
    for y in range(HEIGHT):
        raw.append(0)
        for x in range(WIDTH):
            raw += bytes(PALETTE[canvas.get(x, y)])

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        out.write(chunk(b"IEND", b""))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("data", help="the data folder of the d3-celestial package")
    parser.add_argument("out", help="the BMP to write")
    parser.add_argument("--png", help="also write a PNG for viewing")
    args = parser.parse_args()

    def load(name):
        with open(os.path.join(args.data, name), encoding="utf-8") as f:
            return json.load(f)

    canvas = Canvas()
    milky_way = {f["id"]: f["geometry"]["coordinates"] for f in load("mw.json")["features"]}
    for level, colour in (("ol1", MW1), ("ol2", MW2), ("ol3", MW2), ("ol4", MW3), ("ol5", MW3)):
        fill_milky_way(canvas, milky_way[level], colour)
    draw_grid(canvas)
    draw_figures(canvas, load("constellations.lines.json"))
    draw_equator(canvas)
    draw_stars(canvas, load("stars.6.json"))
    draw_abbreviations(canvas, load("constellations.json"))
    draw_scale_labels(canvas)
    write_bmp(canvas, args.out)
    if args.png:
        write_png(canvas, args.png)


if __name__ == "__main__":
    main()
