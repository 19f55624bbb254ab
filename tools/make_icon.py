#!/usr/bin/env python3
"""Draws the program icon and writes it as a Windows .ico file.

The drawing is a bold white "Q" on a blue disc. It is described by shapes
in a unit square and rendered at each size with supersampling, so every
image is drawn for its own size rather than scaled from another one.

Images written, in this order:
  32x32 and 16x16 in 16 colours (4 bits per pixel, the standard VGA palette)
  32x32 and 16x16 in 256 colours (8 bits per pixel, palette made here)
  20x20, 24x24, 40x40 and 48x48 in 32 bits per pixel (alpha channel)

Only the standard library is used. The output is byte-for-byte the same at
every run, so the committed icon can be checked against this tool:

  make_icon.py                 write resources/starter.ico
  make_icon.py -o FILE         write FILE
  make_icon.py --check FILE    exit 1 unless FILE is what this tool writes
  make_icon.py --preview FILE  also write a PNG sheet of every image
"""

import argparse
import math
import struct
import sys
import zlib
from pathlib import Path

SUPERSAMPLE = 8  # samples per pixel along each axis

# Colours as (r, g, b): the disc shades from its top to its bottom colour.
# The 16-colour images get a flat disc in colours of the VGA palette, as a
# gradient would only break up into unrelated palette colours there.
FULL_COLOURS = {'disc_top': (40, 110, 220), 'disc_bottom': (10, 50, 150), 'rim': (5, 25, 90)}
VGA_COLOURS = {'disc_top': (0, 0, 255), 'disc_bottom': (0, 0, 255), 'rim': (0, 0, 128)}
LETTER = (255, 255, 255)

# The shapes, in a unit square with y growing downwards.
DISC_CENTRE = (0.5, 0.5)
DISC_RADIUS = 0.48
RIM_WIDTH = 0.045
Q_CENTRE = (0.49, 0.47)
Q_OUTER = 0.29
Q_INNER = 0.155
TAIL_FROM = (0.56, 0.58)
TAIL_TO = (0.80, 0.83)
TAIL_HALF_WIDTH = 0.075

# The 16 colours every 4-bit icon uses.
VGA_PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def _segment_distance(px, py, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    cx, cy = ax + t * dx, ay + t * dy
    return math.hypot(px - cx, py - cy)


def _sample(x, y, colours):
    """What lies at the point (x, y): None outside the disc, else a colour."""
    dist = math.hypot(x - DISC_CENTRE[0], y - DISC_CENTRE[1])
    if dist > DISC_RADIUS:
        return None
    q = math.hypot(x - Q_CENTRE[0], y - Q_CENTRE[1])
    if Q_INNER <= q <= Q_OUTER or _segment_distance(x, y, TAIL_FROM, TAIL_TO) <= TAIL_HALF_WIDTH:
        return LETTER
    if dist > DISC_RADIUS - RIM_WIDTH:
        return colours['rim']
    shade = (y - (DISC_CENTRE[1] - DISC_RADIUS)) / (2 * DISC_RADIUS)
    return tuple(round(t + (b - t) * shade) for t, b in zip(colours['disc_top'], colours['disc_bottom']))


def render(size, colours=FULL_COLOURS):
    """Rows of (r, g, b, coverage) pixels, top row first; coverage in 0..1."""
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = 0
            hits = 0
            for sy in range(n):
                for sx in range(n):
                    c = _sample((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size, colours)
                    if c is not None:
                        r += c[0]
                        g += c[1]
                        b += c[2]
                        hits += 1
            if hits:
                row.append((r / hits, g / hits, b / hits, hits / (n * n)))
            else:
                row.append((0.0, 0.0, 0.0, 0.0))
        rows.append(row)
    return rows


def _nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((p - c) ** 2 for p, c in zip(palette[i], colour)))


def _opaque(pixel):
    # Palette images have a one-bit mask: a pixel at least half covered is drawn.
    return pixel[3] >= 0.5


def _palette_256(images):
    """A palette of the colours the 8-bit images need, padded to 256."""
    colours = []
    seen = set()
    for rows in images:
        for row in rows:
            for p in row:
                if _opaque(p):
                    c = tuple(round(v) for v in p[:3])
                    if c not in seen:
                        seen.add(c)
                        colours.append(c)
    colours.sort()
    if len(colours) > 255:
        # Keep an even spread of them; index 0 stays black for masked pixels.
        step = len(colours) / 255
        colours = [colours[int(i * step)] for i in range(255)]
    palette = [(0, 0, 0)] + colours
    return palette + [(0, 0, 0)] * (256 - len(palette))


def _row_bytes(bits):
    return (bits + 31) // 32 * 4


def _and_mask(rows, opaque):
    size = len(rows)
    out = bytearray()
    for row in reversed(rows):  # bottom-up, as every DIB
        line = bytearray(_row_bytes(size))
        for x, p in enumerate(row):
            if not opaque(p):
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def _header(size, bits, image_bytes, colours):
    # BITMAPINFOHEADER; an icon's height counts the colour and the mask bitmaps.
    return struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bits, 0, image_bytes, 0, 0, colours, 0)


def palette_image(rows, bits, palette):
    size = len(rows)
    pixels = bytearray()
    for row in reversed(rows):
        indices = [_nearest(palette, p[:3]) if _opaque(p) else 0 for p in row]
        line = bytearray(_row_bytes(size * bits))
        for x, i in enumerate(indices):
            if bits == 8:
                line[x] = i
            else:
                line[x // 2] |= i << (4 if x % 2 == 0 else 0)
        pixels += line
    mask = _and_mask(rows, _opaque)
    table = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    return _header(size, bits, len(pixels) + len(mask), len(palette)) + table + bytes(pixels) + mask


def truecolour_image(rows):
    size = len(rows)
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += struct.pack('<BBBB', round(b), round(g), round(r), round(a * 255))
    mask = _and_mask(rows, lambda p: round(p[3] * 255) > 0)
    return _header(size, 32, len(pixels) + len(mask), 0) + bytes(pixels) + mask


def build_icon():
    """The .ico file's bytes, and the rendered images for a preview."""
    small_palette_sizes = [32, 16]
    truecolour_sizes = [20, 24, 40, 48]
    rendered = {s: render(s) for s in small_palette_sizes + truecolour_sizes}
    palette8 = _palette_256([rendered[s] for s in small_palette_sizes])

    images = []  # (size, colour count byte, bits, data)
    for s in small_palette_sizes:
        images.append((s, 16, 4, palette_image(render(s, VGA_COLOURS), 4, VGA_PALETTE)))
    for s in small_palette_sizes:
        images.append((s, 0, 8, palette_image(rendered[s], 8, palette8)))
    for s in truecolour_sizes:
        images.append((s, 0, 32, truecolour_image(rendered[s])))

    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    data = b''
    for size, colours, bits, image in images:
        directory += struct.pack('<BBBBHHII', size % 256, size % 256, colours, 0, 1, bits, len(image), offset)
        offset += len(image)
        data += image
    return directory + data, rendered


def _png(width, height, rgba_rows):
    def chunk(kind, payload):
        return (struct.pack('>I', len(payload)) + kind + payload
                + struct.pack('>I', zlib.crc32(kind + payload) & 0xFFFFFFFF))
    raw = b''.join(b'\x00' + bytes(row) for row in rgba_rows)
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9))
            + chunk(b'IEND', b''))


def preview(rendered, scale=4):
    """A PNG sheet of every size, enlarged, on a light grey background."""
    sizes = sorted(rendered)
    width = sum(s * scale + 8 for s in sizes) + 8
    height = max(sizes) * scale + 16
    sheet = [[200, 200, 200, 255] * width for _ in range(height)]
    x0 = 8
    for s in sizes:
        for y, row in enumerate(rendered[s]):
            for x, (r, g, b, a) in enumerate(row):
                colour = [round(r * a + 200 * (1 - a)), round(g * a + 200 * (1 - a)),
                          round(b * a + 200 * (1 - a)), 255]
                for dy in range(scale):
                    line = sheet[8 + y * scale + dy]
                    for dx in range(scale):
                        i = (x0 + x * scale + dx) * 4
                        line[i:i + 4] = colour
        x0 += s * scale + 8
    return _png(width, height, sheet)


def main():
    default = Path(__file__).resolve().parent.parent / 'resources' / 'starter.ico'
    parser = argparse.ArgumentParser(description='Writes the program icon.')
    parser.add_argument('-o', '--output', type=Path, default=default)
    parser.add_argument('--check', type=Path, help='compare FILE with the icon instead of writing')
    parser.add_argument('--preview', type=Path, help='also write a PNG sheet of the images')
    args = parser.parse_args()

    icon, rendered = build_icon()
    if args.preview:
        args.preview.write_bytes(preview(rendered))
    if args.check:
        if not args.check.is_file() or args.check.read_bytes() != icon:
            print(f'{args.check} is not what {Path(__file__).name} draws: run it and commit the result',
                  file=sys.stderr)
            return 1
        print(f'{args.check} is up to date')
        return 0
    args.output.write_bytes(icon)
    return 0


if __name__ == '__main__':
    sys.exit(main())
