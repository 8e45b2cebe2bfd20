"""Vostrel's application icon: a full-colour stopwatch for launchers and menus.

The picture is a list of flat-coloured shapes, worked out anew for each size:
small sizes drop the details that would blur into a smudge and keep their
strokes at least a pixel wide, large ones gain the minute marks and the
case's highlight. The same shapes are written as SVG (the scalable icon) and
rendered into PNG with anti-aliased edges by a small signed-distance
rasteriser, so the output depends on nothing but Python itself.
"""
import math
import struct
import zlib

SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
SCALABLE = 256  # the detail of the scalable icon, in its own units

CASE_DARK = '#3d4852'
CASE_LIGHT = '#8c99a6'
STEEL = '#6c7a87'
FACE = '#fbfaf5'
REMAINING = '#f0806f'
INK = '#1e2327'
MINUTE_MARK = '#7b858e'
ACCENT = '#d93a2b'
HIGHLIGHT = '#ffffff'


def rgb(colour):
    return tuple(int(colour[i:i + 2], 16) / 255 for i in (1, 3, 5))


def hour_angle(hour):
    """Radians from the +x axis, clockwise on screen, towards an hour of the face."""
    return math.radians(hour * 30 - 90)


def fmt(value):
    return f'{value:.3f}'.rstrip('0').rstrip('.')


# --- shapes: a signed distance in pixels (negative inside), a bounding box and
# the same shape as SVG ---------------------------------------------------------

class Disc:
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r

    def distance(self, x, y):
        return math.hypot(x - self.cx, y - self.cy) - self.r

    def box(self):
        return self.cx - self.r, self.cy - self.r, self.cx + self.r, self.cy + self.r

    def svg(self, paint):
        return f'<circle cx="{fmt(self.cx)}" cy="{fmt(self.cy)}" r="{fmt(self.r)}" {paint}/>'


class Ring(Disc):
    """The band between two circles, drawn in SVG as a stroked circle."""

    def __init__(self, cx, cy, r_out, r_in):
        super().__init__(cx, cy, r_out)
        self.r_in = r_in

    def distance(self, x, y):
        d = math.hypot(x - self.cx, y - self.cy)
        return max(d - self.r, self.r_in - d)

    def svg(self, paint):
        stroke = paint.replace('fill=', 'stroke=').replace('fill-opacity=', 'stroke-opacity=')
        return (f'<circle cx="{fmt(self.cx)}" cy="{fmt(self.cy)}" r="{fmt((self.r + self.r_in) / 2)}" '
                f'fill="none" stroke-width="{fmt(self.r - self.r_in)}" {stroke}/>')


class Sector:
    """A slice of a disc clockwise from one hour to a later one, less than half the face."""

    def __init__(self, cx, cy, r, first_hour, last_hour):
        self.cx, self.cy, self.r = cx, cy, r
        self.a0, self.a1 = hour_angle(first_hour), hour_angle(last_hour)

    def distance(self, x, y):
        dx, dy = x - self.cx, y - self.cy
        after_first = -(dx * -math.sin(self.a0) + dy * math.cos(self.a0))
        before_last = dx * -math.sin(self.a1) + dy * math.cos(self.a1)
        return max(math.hypot(dx, dy) - self.r, after_first, before_last)

    def box(self):
        return self.cx - self.r, self.cy - self.r, self.cx + self.r, self.cy + self.r

    def svg(self, paint):
        x0, y0 = self.cx + self.r * math.cos(self.a0), self.cy + self.r * math.sin(self.a0)
        x1, y1 = self.cx + self.r * math.cos(self.a1), self.cy + self.r * math.sin(self.a1)
        return (f'<path d="M{fmt(self.cx)} {fmt(self.cy)}L{fmt(x0)} {fmt(y0)}'
                f'A{fmt(self.r)} {fmt(self.r)} 0 0 1 {fmt(x1)} {fmt(y1)}Z" {paint}/>')


class Arc(Sector):
    """A band along a circle between two hours, with square ends."""

    def __init__(self, cx, cy, r_out, r_in, first_hour, last_hour):
        super().__init__(cx, cy, r_out, first_hour, last_hour)
        self.r_in = r_in

    def distance(self, x, y):
        return max(super().distance(x, y), self.r_in - math.hypot(x - self.cx, y - self.cy))

    def svg(self, paint):
        r = (self.r + self.r_in) / 2
        x0, y0 = self.cx + r * math.cos(self.a0), self.cy + r * math.sin(self.a0)
        x1, y1 = self.cx + r * math.cos(self.a1), self.cy + r * math.sin(self.a1)
        stroke = paint.replace('fill=', 'stroke=').replace('fill-opacity=', 'stroke-opacity=')
        return (f'<path d="M{fmt(x0)} {fmt(y0)}A{fmt(r)} {fmt(r)} 0 0 1 {fmt(x1)} {fmt(y1)}" fill="none" '
                f'stroke-width="{fmt(self.r - self.r_in)}" {stroke}/>')


class Stroke:
    """A straight line of some width with round ends."""

    def __init__(self, x0, y0, x1, y1, width):
        self.x0, self.y0, self.x1, self.y1, self.half = x0, y0, x1, y1, width / 2

    def distance(self, x, y):
        vx, vy = self.x1 - self.x0, self.y1 - self.y0
        t = max(0.0, min(1.0, ((x - self.x0) * vx + (y - self.y0) * vy) / (vx * vx + vy * vy)))
        return math.hypot(x - self.x0 - t * vx, y - self.y0 - t * vy) - self.half

    def box(self):
        h = self.half
        return min(self.x0, self.x1) - h, min(self.y0, self.y1) - h, max(self.x0, self.x1) + h, max(self.y0, self.y1) + h

    def svg(self, paint):
        stroke = paint.replace('fill=', 'stroke=').replace('fill-opacity=', 'stroke-opacity=')
        return (f'<line x1="{fmt(self.x0)}" y1="{fmt(self.y0)}" x2="{fmt(self.x1)}" y2="{fmt(self.y1)}" '
                f'stroke-width="{fmt(2 * self.half)}" stroke-linecap="round" {stroke}/>')


class Block:
    """A rectangle with rounded corners, turned by some degrees about its centre."""

    def __init__(self, cx, cy, width, height, radius, degrees=0):
        self.cx, self.cy, self.hw, self.hh, self.r = cx, cy, width / 2, height / 2, radius
        self.degrees = degrees

    def distance(self, x, y):
        a = math.radians(-self.degrees)
        dx, dy = x - self.cx, y - self.cy
        lx, ly = dx * math.cos(a) - dy * math.sin(a), dx * math.sin(a) + dy * math.cos(a)
        qx, qy = abs(lx) - (self.hw - self.r), abs(ly) - (self.hh - self.r)
        return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - self.r

    def box(self):
        reach = math.hypot(self.hw, self.hh)
        return self.cx - reach, self.cy - reach, self.cx + reach, self.cy + reach

    def svg(self, paint):
        turn = f' transform="rotate({fmt(self.degrees)} {fmt(self.cx)} {fmt(self.cy)})"' if self.degrees else ''
        return (f'<rect x="{fmt(self.cx - self.hw)}" y="{fmt(self.cy - self.hh)}" width="{fmt(2 * self.hw)}" '
                f'height="{fmt(2 * self.hh)}" rx="{fmt(self.r)}"{turn} {paint}/>')


# --- the picture ----------------------------------------------------------------

def stopwatch(size):
    """The shapes of the stopwatch at one size, back to front, as (shape, colour, opacity)."""
    return small_stopwatch(size) if size in SMALL else large_stopwatch(size)


# Panel and menu sizes, placed by hand: the centre sits on a pixel's centre so
# that one-pixel strokes stay sharp. Centre x, centre y, case radius, face
# radius, crown cap width and height.
SMALL = {
    16: (7.5, 8.5, 7.5, 5.5, 5, 1),
    22: (10.5, 12.5, 9.5, 7.5, 7, 2),
    24: (11.5, 13.5, 10.5, 8.5, 7, 2),
}


def small_stopwatch(size):
    cx, cy, r_case, r_face, cap_w, cap_h = SMALL[size]
    layers = [
        (Block(cx, (cap_h + cy - r_case + 1) / 2, 1, cy - r_case + 1 - cap_h, 0), STEEL),
        (Block(cx, cap_h / 2, cap_w, cap_h, 0), CASE_DARK),
        (Disc(cx, cy, r_case), CASE_DARK),
        (Disc(cx, cy, r_case - 1), CASE_LIGHT),
        (Disc(cx, cy, r_face), FACE),
        (Sector(cx, cy, r_face - 1, 0, 4), REMAINING),
    ]
    if size > 16:
        # Twelve, three, six and nine, two pixels long.
        for dx, dy in ((0, -1), (1, 0), (0, 1), (-1, 0)):
            mid = r_face - 1
            layers.append((Block(cx + dx * mid, cy + dy * mid, 1 + abs(dx), 1 + abs(dy), 0), INK))
    tip = point(cx, cy, r_face - 1.5, 4)
    hand = 1.5 if size > 16 else 1.2
    layers += [(Stroke(cx, cy, tip[0], tip[1], hand), INK), (Disc(cx, cy, hand * 0.8), INK)]
    return [(shape, colour, 1.0) for shape, colour in layers]


def large_stopwatch(size):
    s = size / 256
    # Edges of the case and face fall on pixel boundaries.
    cx = size / 2
    cy = round(146 * s)
    r_case = round(106 * s)
    bezel = max(1, round(9 * s))
    r_face = r_case - bezel - max(1, round(5 * s))
    layers = []

    def add(shape, colour, opacity=1.0):
        layers.append((shape, colour, opacity))

    # Crown: a stem and a cap above the case.
    stem_w = round(22 * s)
    cap_w, cap_h = round(62 * s), round(22 * s)
    cap_top = round(8 * s)
    stem_top, stem_bottom = cap_top + cap_h / 2, cy - r_case + 2
    add(Block(cx, (stem_top + stem_bottom) / 2, stem_w, stem_bottom - stem_top, 0), STEEL)
    add(Block(cx, cap_top + cap_h / 2, cap_w, cap_h, min(cap_h / 2, 8 * s)), CASE_DARK)
    add(Block(cx, cap_top + cap_h * 0.3, cap_w - 2 * max(1, 6 * s), max(1, cap_h * 0.25), 2 * s), CASE_LIGHT)
    # The two side buttons, on the case's shoulders.
    reach = (r_case + 4 * s) * math.sqrt(0.5)
    for side in (-1, 1):
        add(Block(cx + side * reach, cy - reach, 26 * s, 30 * s, min(6 * s, 3), side * 45), CASE_DARK)
    # Case, bezel and face.
    add(Disc(cx, cy, r_case), CASE_DARK)
    add(Disc(cx, cy, r_case - bezel), CASE_LIGHT)
    if size >= 48:
        add(Arc(cx, cy, r_case - bezel, r_case - bezel - max(1.5, 4 * s), 8.5, 11.5), HIGHLIGHT, 0.45)
    add(Disc(cx, cy, r_face), FACE)
    # What is left of the count: a slice of the face from twelve to the hand.
    add(Sector(cx, cy, r_face - max(1, round(6 * s)), 0, 4), REMAINING)
    # Marks round the face: the minutes only where they are more than a speck.
    if size >= 128:
        for minute in range(60):
            if minute % 5:
                (x0, y0), (x1, y1) = point(cx, cy, r_face - 14 * s, minute / 5), point(cx, cy, r_face - 5 * s,
                                                                                           minute / 5)
                add(Stroke(x0, y0, x1, y1, 2.5 * s), MINUTE_MARK)
    if size >= 48:
        for hour in range(12):
            inner = r_face - (26 if hour % 3 == 0 else 20) * s
            (x0, y0), (x1, y1) = point(cx, cy, inner, hour), point(cx, cy, r_face - 6 * s, hour)
            add(Stroke(x0, y0, x1, y1, 7 * s), INK)
    else:
        # Twelve, three, six and nine as two-pixel bars on the pixel grid.
        for dx, dy in ((0, -1), (1, 0), (0, 1), (-1, 0)):
            mid = r_face - 2.5
            add(Block(cx + dx * mid, cy + dy * mid, 3 if dx else 2, 2 if dx else 3, 0), INK)
    # The hand, at the edge of what is left, with a short tail behind the hub.
    tip = point(cx, cy, r_face - 16 * s, 4)
    tail = point(cx, cy, 22 * s if size >= 48 else 0, 10)
    add(Stroke(tail[0], tail[1], tip[0], tip[1], max(1.6, 10 * s)), INK)
    add(Disc(cx, cy, max(1.3, 13 * s)), INK)
    if size >= 48:
        add(Disc(cx, cy, 5 * s), ACCENT)
    return layers


def point(cx, cy, r, hour):
    a = hour_angle(hour)
    return cx + r * math.cos(a), cy + r * math.sin(a)


# --- output -----------------------------------------------------------------------

def svg_text():
    parts = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{SCALABLE}" height="{SCALABLE}" '
             f'viewBox="0 0 {SCALABLE} {SCALABLE}">']
    for shape, colour, opacity in stopwatch(SCALABLE):
        paint = f'fill="{colour}"' + (f' fill-opacity="{fmt(opacity)}"' if opacity < 1 else '')
        parts.append('  ' + shape.svg(paint))
    parts.append('</svg>')
    return '\n'.join(parts) + '\n'


def render(size):
    """RGBA rows of premultiplied floats: each shape laid over the ones before it."""
    pixels = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]
    for shape, colour, opacity in stopwatch(size):
        red, green, blue = rgb(colour)
        x0, y0, x1, y1 = shape.box()
        for y in range(max(0, math.floor(y0) - 1), min(size, math.ceil(y1) + 1)):
            row = pixels[y]
            for x in range(max(0, math.floor(x0) - 1), min(size, math.ceil(x1) + 1)):
                # Coverage from the distance at the pixel's centre: a one-pixel ramp across the edge.
                a = min(1.0, max(0.0, 0.5 - shape.distance(x + 0.5, y + 0.5))) * opacity
                if a > 0:
                    r, g, b, old = row[x]
                    row[x] = (red * a + r * (1 - a), green * a + g * (1 - a), blue * a + b * (1 - a),
                              a + old * (1 - a))
    return pixels


def png(size):
    raw = bytearray()
    for row in render(size):
        raw.append(0)
        for r, g, b, a in row:
            if a <= 0:
                raw += b'\0\0\0\0'
            else:
                raw += bytes(min(255, round(c / a * 255)) for c in (r, g, b)) + bytes((round(a * 255),))

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))
