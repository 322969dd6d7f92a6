#!/usr/bin/env python3
"""Draws quorvel's banner picture and its icon.

Writes two files next to the sources:

  resources/banner.bmp   200 x 59, 8 bits per pixel, 128-colour palette:
                         the number "264" over flames.
  resources/quorvel.ico  16, 32 and 48 pixel 32-bit images of a flame.

Everything is computed from fixed numbers (the flames use a small seeded
generator of our own), so running the script again gives the same bytes.
Standard library only.

    python3 scripts/make_banner.py [--preview DIR]

With --preview, PNG copies of both pictures (enlarged) are written to DIR
so they can be looked at with any image viewer.
"""

import math
import os
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BANNER_PATH = os.path.join(ROOT, "resources", "banner.bmp")
ICON_PATH = os.path.join(ROOT, "resources", "quorvel.ico")

WIDTH = 200
HEIGHT = 59
PALETTE_SIZE = 128
FIRE_COLOURS = 104          # palette[0 .. 103]: the flame gradient
# palette[104 .. 127]: colours for the digits and their outline


# ---------------------------------------------------------------------------
# Small helpers
# ---------------------------------------------------------------------------

class Rng:
    """xorshift32: tiny, fast enough, and the same everywhere."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF or 1

    def next(self):
        x = self.state
        x ^= (x << 13) & 0xFFFFFFFF
        x ^= x >> 17
        x ^= (x << 5) & 0xFFFFFFFF
        self.state = x
        return x

    def below(self, n):
        return self.next() % n

    def unit(self):
        return self.next() / 4294967296.0


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return (lerp(c1[0], c2[0], t), lerp(c1[1], c2[1], t), lerp(c1[2], c2[2], t))


def gradient(stops, t):
    """stops: [(position, (r, g, b)), ...] with positions rising from 0 to 1."""
    t = clamp(t)
    for i in range(1, len(stops)):
        p1, c1 = stops[i]
        if t <= p1:
            p0, c0 = stops[i - 1]
            return mix(c0, c1, (t - p0) / (p1 - p0) if p1 > p0 else 1.0)
    return stops[-1][1]


def smoothstep(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3.0 - 2.0 * t)


# ---------------------------------------------------------------------------
# Colours
# ---------------------------------------------------------------------------

FIRE_STOPS = [
    (0.00, (0, 0, 0)),
    (0.10, (28, 4, 2)),
    (0.24, (92, 10, 4)),
    (0.38, (160, 24, 6)),
    (0.52, (214, 62, 8)),
    (0.66, (244, 122, 16)),
    (0.79, (252, 184, 36)),
    (0.90, (255, 228, 110)),
    (1.00, (255, 250, 226)),
]

# The digits: near-white at the top, warm pale gold at the bottom.
DIGIT_STOPS = [
    (0.00, (255, 255, 250)),
    (0.45, (255, 246, 204)),
    (1.00, (250, 206, 112)),
]

OUTLINE = (22, 6, 2)


def fire_colour(t):
    return gradient(FIRE_STOPS, t)


def build_palette():
    pal = []
    for i in range(FIRE_COLOURS):
        pal.append(fire_colour(i / (FIRE_COLOURS - 1)))
    extra = PALETTE_SIZE - FIRE_COLOURS
    # dark browns for the outline and its soft edge
    darks = 6
    for i in range(darks):
        pal.append(mix(OUTLINE, (70, 22, 8), i / (darks - 1)))
    # the digit fill gradient
    fills = extra - darks
    for i in range(fills):
        pal.append(gradient(DIGIT_STOPS, i / (fills - 1)))
    return [tuple(int(round(c)) for c in rgb) for rgb in pal]


# ---------------------------------------------------------------------------
# Flames: the well-known "Doom fire" spreading automaton
# ---------------------------------------------------------------------------

def make_fire(width, height, seed=0x264F1A3E, steps=220):
    """Returns rows (top first) of flame heat in 0 .. 1."""
    levels = 72
    margin = 24                     # extra columns so flames drift in from the side
    w = width + 2 * margin
    h = height + 1                  # bottom row is the hot source, not drawn
    rng = Rng(seed)
    heat = [0] * (w * h)

    # Each column cools at its own rate, varying smoothly along the width;
    # where it cools slowly a tall tongue of flame rises, elsewhere the
    # flames stay low.
    wave = [0.0] * w
    for freq, amp, phase in [(0.19, 0.50, 0.4), (0.083, 0.35, 2.2), (0.37, 0.15, 5.0)]:
        for x in range(w):
            wave[x] += amp * math.sin(x * freq + phase)
    lo, hi = min(wave), max(wave)
    # (rounded so that the last bit of a libm's sin() can never matter)
    cooling = [round(0.25 + 1.7 * (1.0 - (c - lo) / (hi - lo)) ** 1.6, 6) for c in wave]
    for x in range(w):
        heat[(h - 1) * w + x] = levels

    for _ in range(steps):
        for x in range(w):
            for y in range(1, h):
                src = y * w + x
                v = heat[src]
                if v == 0:
                    heat[src - w] = 0
                    continue
                r = rng.below(4)
                dst = src - w - r + 1      # drift slightly to the left
                if dst < (y - 1) * w:
                    dst += w
                elif dst >= y * w:
                    dst -= w
                decay = (r & 1) + int(cooling[x] + rng.unit())
                heat[dst] = max(0, v - decay)

    # A light [1 2 1] blur both ways takes the salt out of the texture.
    soft = [0.0] * (w * h)
    for y in range(h):
        for x in range(w):
            acc = 0.0
            for dy, ky in ((-1, 1), (0, 2), (1, 1)):
                yy = min(h - 1, max(0, y + dy))
                for dx, kx in ((-1, 1), (0, 2), (1, 1)):
                    xx = min(w - 1, max(0, x + dx))
                    acc += ky * kx * heat[yy * w + xx]
            soft[y * w + x] = acc / 16.0

    rows = []
    for y in range(height):
        row = soft[y * w + margin:y * w + margin + width]
        rows.append([v / levels for v in row])
    return rows


# ---------------------------------------------------------------------------
# The digits "264", drawn as thick strokes along simple paths
# ---------------------------------------------------------------------------

def arc(cx, cy, rx, ry, a0, a1, n=24):
    """Points of an elliptical arc in the unit box (y grows downwards)."""
    pts = []
    for i in range(n + 1):
        a = math.radians(lerp(a0, a1, i / n))
        pts.append((round(cx + rx * math.cos(a), 6), round(cy - ry * math.sin(a), 6)))
    return pts


def glyph_paths(ch):
    """Stroke centre lines of a digit in a unit box, x right, y down."""
    if ch == "2":
        top = arc(0.5, 0.27, 0.5, 0.27, 165, -38)
        return [top + [(0.0, 1.0), (1.0, 1.0)]]
    if ch == "6":
        bowl = arc(0.5, 0.68, 0.5, 0.32, 0, 360, 40)
        stem = arc(0.56, 0.68, 0.56, 0.68, 62, 180, 24)
        return [bowl, stem]
    if ch == "4":
        return [[(0.72, 1.0), (0.72, 0.0), (0.0, 0.70), (1.0, 0.70)]]
    raise ValueError(ch)


def segments_for_text(text, x0, y0, glyph_w, glyph_h, gap, slant):
    segs = []
    for i, ch in enumerate(text):
        gx = x0 + i * (glyph_w + gap)
        for path in glyph_paths(ch):
            pts = []
            for (u, v) in path:
                px = gx + u * glyph_w + (1.0 - v) * glyph_h * slant
                py = y0 + v * glyph_h
                pts.append((px, py))
            for a, b in zip(pts, pts[1:]):
                segs.append((a, b))
    return segs


def seg_dist(px, py, seg):
    (ax, ay), (bx, by) = seg
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy
    t = 0.0 if ll == 0 else clamp(((px - ax) * dx + (py - ay) * dy) / ll)
    ex, ey = ax + t * dx - px, ay + t * dy - py
    return math.sqrt(ex * ex + ey * ey)


def distance_field(segs, width, height):
    far = 1e9
    field = [[far] * width for _ in range(height)]
    for seg in segs:
        (ax, ay), (bx, by) = seg
        xa, xb = int(min(ax, bx)) - 8, int(max(ax, bx)) + 9
        ya, yb = int(min(ay, by)) - 8, int(max(ay, by)) + 9
        for y in range(max(0, ya), min(height, yb)):
            row = field[y]
            for x in range(max(0, xa), min(width, xb)):
                d = seg_dist(x + 0.5, y + 0.5, seg)
                if d < row[x]:
                    row[x] = d
    return field


# ---------------------------------------------------------------------------
# The banner
# ---------------------------------------------------------------------------

def render_banner():
    fire = make_fire(WIDTH, HEIGHT)
    img = [[fire_colour(fire[y][x]) for x in range(WIDTH)] for y in range(HEIGHT)]

    # Darken the very top a little so the flames fade into night.
    for y in range(HEIGHT):
        k = 0.55 + 0.45 * smoothstep(0.0, 14.0, y)
        img[y] = [(r * k, g * k, b * k) for (r, g, b) in img[y]]

    glyph_w, glyph_h, gap, slant = 25.0, 37.0, 9.0, 0.12
    stroke = 3.9                     # half thickness of a stroke
    outline = 2.2                    # width of the dark rim around it
    text_w = 3 * glyph_w + 2 * gap + 2 * stroke + glyph_h * slant
    x0 = (WIDTH - text_w) / 2.0 + stroke
    y0 = (HEIGHT - glyph_h) / 2.0 - 1.0
    segs = segments_for_text("264", x0, y0, glyph_w, glyph_h, gap, slant)
    dist = distance_field(segs, WIDTH, HEIGHT)

    # Soft shadow, cast down and to the right.
    sx, sy = 2, 2
    for y in range(HEIGHT):
        for x in range(WIDTH):
            ys, xs = y - sy, x - sx
            if 0 <= ys < HEIGHT and 0 <= xs < WIDTH:
                d = dist[ys][xs]
                cov = 0.7 * clamp(stroke + outline + 1.5 - d)
                if cov > 0:
                    r, g, b = img[y][x]
                    k = 1.0 - 0.75 * cov
                    img[y][x] = (r * k, g * k, b * k)

    for y in range(HEIGHT):
        for x in range(WIDTH):
            d = dist[y][x]
            c_out = clamp(stroke + outline + 0.5 - d)
            if c_out <= 0:
                continue
            img[y][x] = mix(img[y][x], OUTLINE, c_out)
            c_fill = clamp(stroke + 0.5 - d)
            if c_fill > 0:
                t = (y + 0.5 - y0) / glyph_h
                fill = gradient(DIGIT_STOPS, t)
                # rounded look: a little darker towards the stroke's edge
                edge = clamp(d / stroke)
                fill = mix(fill, (236, 150, 52), 0.35 * edge * edge)
                img[y][x] = mix(img[y][x], fill, c_fill)
    return img


def quantize(img, palette):
    cache = {}
    out = []
    for row in img:
        line = []
        for (r, g, b) in row:
            key = (int(round(r)), int(round(g)), int(round(b)))
            idx = cache.get(key)
            if idx is None:
                best, idx = None, 0
                for i, (pr, pg, pb) in enumerate(palette):
                    # weighted distance: green matters most to the eye
                    dr, dg, db = key[0] - pr, key[1] - pg, key[2] - pb
                    e = 3 * dr * dr + 4 * dg * dg + 2 * db * db
                    if best is None or e < best:
                        best, idx = e, i
                cache[key] = idx
            line.append(idx)
        out.append(line)
    return out


def bmp_bytes(indices, palette):
    width, height = len(indices[0]), len(indices)
    row_size = (width + 3) & ~3
    image_size = row_size * height
    offbits = 14 + 40 + 4 * len(palette)
    file_size = offbits + image_size
    out = bytearray()
    out += struct.pack("<2sIHHI", b"BM", file_size, 0, 0, offbits)
    out += struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0,
                       image_size, 2835, 2835, len(palette), len(palette))
    for (r, g, b) in palette:
        out += bytes((b, g, r, 0))
    for y in range(height - 1, -1, -1):      # bottom row first
        out += bytes(indices[y])
        out += bytes(row_size - width)
    assert len(out) == file_size
    return bytes(out)


# ---------------------------------------------------------------------------
# The icon: a flame on a transparent background
# ---------------------------------------------------------------------------

def teardrop(u, v, cx, bottom, height, half_width, lean):
    """True if (u, v) lies in a flame tongue: round at the bottom, pointed
    at the top, its tip bent sideways by `lean`."""
    s = (v - bottom) / height                     # 0 at the base, 1 at the tip
    if s <= 0.0 or s >= 1.0:
        return False
    half = half_width * math.sin(math.pi * s ** 0.55)
    centre = cx + lean * s * s
    return abs(u - centre) < half


def flame_layer(u, v, k):
    """The flame's silhouette shrunk by k (1 = outer edge) towards its base."""
    bottom = 0.04 + 0.05 * (1.0 - k)
    main = teardrop(u, v, 0.02, bottom, 0.93 * k ** 1.15, 0.66 * k, 0.16)
    side = teardrop(u, v, -0.30 * k, bottom + 0.02, 0.58 * k ** 1.3, 0.36 * k, -0.26 * k)
    right = teardrop(u, v, 0.34 * k, bottom + 0.02, 0.46 * k ** 1.3, 0.30 * k, 0.22 * k)
    return main or side or right


ICON_LAYERS = [
    (1.00, (190, 26, 6)),       # outer flame: deep red
    (0.78, (240, 96, 12)),      # orange
    (0.55, (255, 186, 34)),     # yellow
    (0.30, (255, 246, 204)),    # near-white core
]


def render_icon(size):
    sub = 4
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            acc_r = acc_g = acc_b = acc_a = 0.0
            for sy in range(sub):
                for sx in range(sub):
                    u = (((x + (sx + 0.5) / sub) / size) * 2.0 - 1.0) * 0.86
                    v = (1.0 - (y + (sy + 0.5) / sub) / size) * 1.02 - 0.03
                    colour = None
                    for k, c in ICON_LAYERS:
                        if flame_layer(u, v, k):
                            colour = c
                    if colour is None:
                        continue
                    acc_r += colour[0]
                    acc_g += colour[1]
                    acc_b += colour[2]
                    acc_a += 1.0
            n = sub * sub
            if acc_a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((int(round(acc_r / acc_a)), int(round(acc_g / acc_a)),
                            int(round(acc_b / acc_a)), int(round(255 * acc_a / n))))
        pixels.append(row)
    return pixels


def icon_image_bytes(pixels):
    size = len(pixels)
    mask_row = ((size + 31) // 32) * 4
    xor_size = size * size * 4
    and_size = mask_row * size
    out = bytearray()
    out += struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                       xor_size + and_size, 0, 0, 0, 0)
    for y in range(size - 1, -1, -1):
        for (r, g, b, a) in pixels[y]:
            out += bytes((b, g, r, a))
    for y in range(size - 1, -1, -1):
        bits = bytearray(mask_row)
        for x, (_, _, _, a) in enumerate(pixels[y]):
            if a == 0:
                bits[x >> 3] |= 0x80 >> (x & 7)
        out += bits
    return bytes(out)


def ico_bytes(images):
    count = len(images)
    out = bytearray(struct.pack("<HHH", 0, 1, count))
    offset = 6 + 16 * count
    blobs = []
    for pixels in images:
        size = len(pixels)
        blob = icon_image_bytes(pixels)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32,
                           len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


# ---------------------------------------------------------------------------
# PNG previews
# ---------------------------------------------------------------------------

def png_bytes(rgba_rows):
    h, w = len(rgba_rows), len(rgba_rows[0])
    raw = bytearray()
    for row in rgba_rows:
        raw.append(0)
        for px in row:
            raw += bytes(px)

    def chunk(tag, data):
        c = struct.pack(">I", len(data)) + tag + data
        return c + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def enlarge(rows, k):
    out = []
    for row in rows:
        big = [px for px in row for _ in range(k)]
        out.extend([big] * k)
    return out


def write_previews(directory, indices, palette, icons):
    os.makedirs(directory, exist_ok=True)
    banner = [[palette[i] + (255,) for i in row] for row in indices]
    with open(os.path.join(directory, "banner.png"), "wb") as f:
        f.write(png_bytes(banner))
    with open(os.path.join(directory, "banner_x4.png"), "wb") as f:
        f.write(png_bytes(enlarge(banner, 4)))
    # icons side by side, enlarged, over a grey checker board
    k = 4
    total_w = sum(len(p) * k + 16 for p in icons) + 16
    total_h = max(len(p) for p in icons) * k + 32
    sheet = [[(150, 150, 150, 255) if ((x // 8 + y // 8) & 1) else (110, 110, 110, 255)
              for x in range(total_w)] for y in range(total_h)]
    ox = 16
    for pixels in icons:
        big = enlarge(pixels, k)
        for y, row in enumerate(big):
            for x, (r, g, b, a) in enumerate(row):
                br, bg_, bb, _ = sheet[16 + y][ox + x]
                t = a / 255.0
                sheet[16 + y][ox + x] = (int(round(lerp(br, r, t))), int(round(lerp(bg_, g, t))),
                                         int(round(lerp(bb, b, t))), 255)
        ox += len(pixels) * k + 16
    with open(os.path.join(directory, "icon_x4.png"), "wb") as f:
        f.write(png_bytes(sheet))


# ---------------------------------------------------------------------------

def main(argv):
    preview = None
    if len(argv) >= 2 and argv[0] == "--preview":
        preview = argv[1]
    elif argv:
        print(__doc__.strip())
        return 2

    palette = build_palette()
    assert len(palette) == PALETTE_SIZE
    indices = quantize(render_banner(), palette)
    assert all(i < PALETTE_SIZE for row in indices for i in row)
    bmp = bmp_bytes(indices, palette)

    icons = [render_icon(s) for s in (16, 32, 48)]
    ico = ico_bytes(icons)

    os.makedirs(os.path.dirname(BANNER_PATH), exist_ok=True)
    with open(BANNER_PATH, "wb") as f:
        f.write(bmp)
    with open(ICON_PATH, "wb") as f:
        f.write(ico)
    print("wrote %s (%d bytes)" % (os.path.relpath(BANNER_PATH, ROOT), len(bmp)))
    print("wrote %s (%d bytes)" % (os.path.relpath(ICON_PATH, ROOT), len(ico)))

    if preview:
        write_previews(preview, indices, palette, icons)
        print("previews in %s" % preview)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
