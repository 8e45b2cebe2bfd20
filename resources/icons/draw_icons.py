#!/usr/bin/env python3
"""Draws Vostrel's icons.

The seven pictures the program shows in its window and tray are 16-colour
.ico files: each image uses 4 bits per pixel from the standard 16-colour
palette and a 1-bit transparency mask; transparent pixels are black in the
colour bitmap, so no pixel inverts the screen. The 32x32 image comes first,
then 16x16 where the picture has one. The application icon that launchers
and menus show is a full-colour stopwatch (app_icon.py), written as SVG and
as a PNG drawn for each hicolor size, under hicolor/.

Run it from anywhere; it writes next to itself, or into the folder given
with --into DIR. With --preview DIR it also writes enlarged PNG copies of
the 16-colour pictures for looking at.
"""
import math
import os
import struct
import sys
import zlib

import app_icon

PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (128, 128, 128),
    (192, 192, 192), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_RED, DARK_GREEN, OLIVE, NAVY, PURPLE, TEAL, GREY, SILVER, RED, GREEN, YELLOW, BLUE, MAGENTA, CYAN, WHITE = range(16)


class Canvas:
    """A square of palette indices; None is transparent."""

    def __init__(self, size):
        self.size = size
        self.pixels = [[None] * size for _ in range(size)]

    def put(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.pixels[y][x] = colour

    def get(self, x, y):
        return self.pixels[y][x] if 0 <= x < self.size and 0 <= y < self.size else None

    def fill(self, inside, colour):
        for y in range(self.size):
            for x in range(self.size):
                if inside(x + 0.5, y + 0.5):
                    self.pixels[y][x] = colour

    def disc(self, cx, cy, r, colour):
        self.fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, colour)

    def ring(self, cx, cy, r_out, r_in, colour):
        self.fill(lambda x, y: r_in * r_in < (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out, colour)

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def line(self, x0, y0, x1, y1, colour, width=1):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        for i in range(steps + 1):
            t = i / steps
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            for dy in range(width):
                for dx in range(width):
                    self.put(round(x - (width - 1) / 2 + dx), round(y - (width - 1) / 2 + dy), colour)

    def polygon(self, points, colour):
        def inside(px, py):
            hit = False
            for (xa, ya), (xb, yb) in zip(points, points[1:] + points[:1]):
                if (ya > py) != (yb > py) and px < xa + (py - ya) * (xb - xa) / (yb - ya):
                    hit = not hit
            return hit
        self.fill(inside, colour)

    def outline(self, colour, of=None):
        """Draws colour on transparent pixels that touch the picture (or touch colour `of`)."""
        marks = []
        for y in range(self.size):
            for x in range(self.size):
                if self.pixels[y][x] is not None:
                    continue
                near = [self.get(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))]
                if any(c is not None and (of is None or c == of) for c in near):
                    marks.append((x, y))
        for x, y in marks:
            self.pixels[y][x] = colour


def polar(cx, cy, r, hour):
    """The point at radius r towards an hour (0..12) of a clock face."""
    angle = math.radians(hour * 30 - 90)
    return cx + r * math.cos(angle), cy + r * math.sin(angle)


# --- the pictures ---------------------------------------------------------
# Each picture is drawn for one size at a time; the 16x16 versions keep only
# the details that still read at that size.

def stopwatch(size):
    c = Canvas(size)
    if size == 32:
        cx, cy, r_case, r_face, r_dots = 16, 18, 13.5, 10.6, 8.6
        c.rect(13, 0, 18, 1, GREY)               # crown cap
        c.rect(15, 2, 16, 4, GREY)               # crown stem
        c.polygon([(5, 6), (8, 3), (11, 6), (8, 9)], GREY)       # left button
        c.polygon([(21, 6), (24, 3), (27, 6), (24, 9)], GREY)    # right button
    else:
        cx, cy, r_case, r_face, r_dots = 8, 9, 6.8, 5.2, 4.2
        c.rect(6, 0, 9, 0, GREY)
        c.rect(7, 1, 8, 2, GREY)
        c.rect(2, 2, 3, 3, GREY)
        c.rect(12, 2, 13, 3, GREY)
    c.disc(cx, cy, r_case, GREY)
    if size == 32:
        c.ring(cx, cy, r_case, r_case - 1.2, SILVER)
    c.disc(cx, cy, r_face, WHITE)
    dots = 12 if size == 32 else 4
    for i in range(dots):
        x, y = polar(cx, cy, r_dots, i * 12 / dots)
        c.put(math.floor(x), math.floor(y), RED)
    if size == 32:
        c.rect(15, 11, 16, 17, BLACK)    # minute hand to 12
        c.rect(15, 17, 20, 18, BLACK)    # hour hand to 3
        c.line(15, 18, 11, 24, RED)      # second hand towards 7
        c.rect(15, 17, 16, 18, BLACK)
    else:
        c.rect(7, 6, 7, 9, BLACK)
        c.rect(7, 9, 10, 9, BLACK)
        c.line(7, 9, 5, 11, RED)
        c.put(7, 9, BLACK)
    c.outline(BLACK)
    return c


def firecracker(size):
    c = Canvas(size)
    k = size / 32
    cx, cy = 16 * k, 16 * k
    width = 2 if size == 32 else 1
    rays = [(0, YELLOW), (1.5, BLUE), (3, RED), (4.5, YELLOW), (6, BLUE), (7.5, RED), (9, YELLOW), (10.5, BLUE)]
    for hour, colour in rays:
        x0, y0 = polar(cx, cy, 6 * k, hour)
        x1, y1 = polar(cx, cy, 15 * k, hour)
        c.line(x0 - 0.5, y0 - 0.5, x1 - 0.5, y1 - 0.5, colour, width)
    if size == 32:
        for hour, colour in [(0.75, RED), (2.25, YELLOW), (3.75, BLUE), (5.25, RED),
                             (6.75, YELLOW), (8.25, BLUE), (9.75, RED), (11.25, YELLOW)]:
            x, y = polar(cx, cy, 11.5, hour)
            c.rect(math.floor(x) - 1, math.floor(y) - 1, math.floor(x), math.floor(y), colour)
    # the red cracker lies across the picture, torn open at the burst
    half_len, half_w = 11 * k, 2.6 * k
    ux, uy = math.cos(math.radians(-45)), math.sin(math.radians(-45))
    px, py = -uy, ux
    def corner(a, b):
        return (cx + ux * a + px * b, cy + uy * a + py * b)
    c.polygon([corner(-half_len, -half_w), corner(-half_len, half_w), corner(half_len, half_w),
               corner(half_len, -half_w)], RED)
    if size == 32:
        c.polygon([corner(-half_len, half_w * 0.2), corner(-half_len, half_w), corner(half_len, half_w),
                   corner(half_len, half_w * 0.2)], DARK_RED)
    c.disc(cx, cy, 4.2 * k, YELLOW)
    c.disc(cx, cy, 2 * k, WHITE)
    c.outline(BLACK, of=RED)
    c.outline(BLACK, of=DARK_RED)
    return c


def eye(size):
    c = Canvas(size)
    k = size / 32
    cx, cy = 16 * k, 19 * k
    r, d = 15 * k, 10 * k

    def almond(x, y):
        return (x - cx) ** 2 + (y - cy + d) ** 2 <= r * r and (x - cx) ** 2 + (y - cy - d) ** 2 <= r * r
    c.fill(almond, WHITE)
    c.fill(lambda x, y: almond(x, y) and (x - cx) ** 2 + (y - cy) ** 2 <= (5.6 * k) ** 2, BLUE)
    if size == 32:
        c.fill(lambda x, y: almond(x, y) and (4.6) ** 2 < (x - cx) ** 2 + (y - cy) ** 2 <= 5.6 ** 2, NAVY)
    c.disc(cx, cy, 2.5 * k, BLACK)
    c.put(math.floor(cx + 1.6 * k), math.floor(cy - 2.2 * k), WHITE)
    c.outline(BLACK)
    # the brow: a thick black arch above the eye
    c.fill(lambda x, y: (12.5 * k) ** 2 <= (x - cx) ** 2 + (y - 21 * k) ** 2 <= (15.5 * k) ** 2
           and y < 10.5 * k, BLACK)
    return c


def face(smiling):
    c = Canvas(32)
    cx = cy = 16
    c.disc(cx, cy, 14.5, YELLOW)
    c.outline(BLACK)
    c.rect(10, 9, 12, 13, BLACK)
    c.rect(19, 9, 21, 13, BLACK)
    if smiling:
        # an open red mouth inside a black lip line
        c.fill(lambda x, y: (x - cx) ** 2 + (y - 17) ** 2 <= 9 ** 2 and y >= 18, BLACK)
        c.fill(lambda x, y: (x - cx) ** 2 + (y - 17) ** 2 <= 7.4 ** 2 and y >= 19.5, RED)
    else:
        c.fill(lambda x, y: 6.4 ** 2 <= (x - cx) ** 2 + (y - 30) ** 2 <= 8.3 ** 2 and y <= 25, BLACK)
    return c


def clock(size):
    c = Canvas(size)
    if size == 32:
        cx = cy = 16
        c.disc(cx, cy, 15.5, BLACK)
        c.disc(cx, cy, 12.6, WHITE)
        for hour in range(12):
            outer = polar(cx, cy, 12, hour)
            inner = polar(cx, cy, 9 if hour % 3 == 0 else 10.5, hour)
            c.line(outer[0] - 0.5, outer[1] - 0.5, inner[0] - 0.5, inner[1] - 0.5, BLACK)
        c.line(15, 15, 11, 12, BLACK, 2)     # hour hand to 10
        c.line(16, 15, 21, 8, BLACK, 2)      # minute hand to 1
        c.line(15.5, 16, 15.5, 25, RED)      # second hand to 6
        c.rect(15, 15, 16, 16, RED)
    else:
        cx = cy = 8
        c.disc(cx, cy, 8.1, BLACK)
        c.disc(cx, cy, 5.9, WHITE)
        for x, y in ((7, 3), (8, 3), (12, 7), (12, 8), (7, 12), (8, 12), (3, 7), (3, 8)):
            c.put(x, y, BLACK)
        c.line(7, 7, 5, 5, BLACK)            # hour hand to 10
        c.line(7, 7, 10, 4, BLACK)           # minute hand to 1
        c.line(7, 8, 7, 11, RED)             # second hand to 6
        c.put(7, 7, BLACK)
    return c


ICONS = {
    128: [stopwatch(32), stopwatch(16)],
    130: [firecracker(32), firecracker(16)],
    131: [eye(32), eye(16)],
    132: [face(smiling=False)],
    133: [face(smiling=True)],
    134: [clock(32), clock(16)],
}
ICONS[136] = ICONS[128]


# --- file formats -----------------------------------------------------------

def row_bytes(bits_per_row):
    return (bits_per_row + 31) // 32 * 4


def image_bytes(canvas):
    """A device-independent bitmap as an icon image: header, palette, colours, mask."""
    n = canvas.size
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    colours, mask = b'', b''
    for y in reversed(range(n)):  # bottom-up
        row = [canvas.pixels[y][x] for x in range(n)]
        nibbles = [0 if p is None else p for p in row]
        packed = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, n, 2))
        colours += packed.ljust(row_bytes(4 * n), b'\0')
        bits = 0
        for x, p in enumerate(row):
            bits |= (p is None) << (n - 1 - x)
        mask += bits.to_bytes(n // 8, 'big').ljust(row_bytes(n), b'\0')
    return header + palette + colours + mask


def ico_bytes(canvases):
    images = [image_bytes(c) for c in canvases]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        out += struct.pack('<BBBBHHII', c.size, c.size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return out + b''.join(images)


def png_bytes(canvas, scale=1, background=None):
    """RGBA (transparent where the icon is) or, with a background, RGB."""
    n = canvas.size * scale
    channels = 4 if background is None else 3
    raw = b''
    for y in range(n):
        raw += b'\0'
        for x in range(n):
            p = canvas.pixels[y // scale][x // scale]
            if background is None:
                raw += bytes((0, 0, 0, 0) if p is None else PALETTE[p] + (255,))
            else:
                raw += bytes(background if p is None else PALETTE[p])

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', n, n, 8, 6 if channels == 4 else 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)


def main():
    args = sys.argv[1:]
    options = dict(zip(args[::2], args[1::2]))
    out = options.get('--into', os.path.dirname(os.path.abspath(__file__)))
    for icon_id, canvases in ICONS.items():
        write(os.path.join(out, f'{icon_id}.ico'), ico_bytes(canvases))
    hicolor = os.path.join(out, 'hicolor')
    write(os.path.join(hicolor, 'scalable', 'io.pelmark.Vostrel.svg'), app_icon.svg_text().encode())
    for size in app_icon.SIZES:
        write(os.path.join(hicolor, f'{size}x{size}', 'io.pelmark.Vostrel.png'), app_icon.png(size))
    if '--preview' in options:
        for icon_id, canvases in ICONS.items():
            for c in canvases:
                write(os.path.join(options['--preview'], f'{icon_id}-{c.size}.png'),
                      png_bytes(c, 256 // c.size, background=(212, 208, 200)))


if __name__ == '__main__':
    main()
