#!/usr/bin/env python3
"""Draws the start-up splash picture and writes resources/data/splash.psp.

The picture is a card with the program's mark and name on a soft shadow,
written in the one layout of the Paint Shop Pro image format that the
program reads: 24-bit colour, one layer of four channels (red, green, blue,
alpha), each run-length compressed. The build does not run Python, so the
result is committed. Standard library only.

    tools/make-splash.py [--out FILE.psp] [--preview FILE.png]

--preview also writes the picture as PNG, laid over a grey and white
checkerboard so that the shadow and the rounded corners show. The lettering
and the mark are the ones of the logo bitmaps (tools/make-images.py).
"""
import argparse
import importlib.machinery
import math
import os
import struct
import types

HERE = os.path.dirname(os.path.abspath(__file__))


def load_images_module():
    path = os.path.join(HERE, 'make-images.py')
    loader = importlib.machinery.SourceFileLoader('make_images', path)
    module = types.ModuleType(loader.name)
    module.__file__ = path
    loader.exec_module(module)
    return module


mi = load_images_module()
rrect, circle, line, poly = mi.rrect, mi.circle, mi.line, mi.poly
half, union, inter, cut, ring = mi.half, mi.union, mi.inter, mi.cut, mi.ring
grow, moved, slanted, arc, mix = mi.grow, mi.moved, mi.slanted, mi.arc, mi.mix

WIDTH, HEIGHT = 480, 270
CARD = (16, 10, 464, 250, 20)         # left, top, right, bottom, corner radius
WHITE = (255, 255, 255)
PALE = (178, 214, 255)                # the tagline
LEAN = 0.16                           # the forward lean of mark and name

# ---------------------------------------------------------------- canvas


class Canvas:
    """Premultiplied RGBA floats, one unit per pixel. Every fill is limited
    to a box, which keeps the pure-Python drawing fast enough."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.buf = [0.0] * (w * h * 4)

    def fill(self, f, paint, box, alpha=1.0, soft=1.0):
        """Composites shape f over the canvas inside box (x0, y0, x1, y1);
        soft is the width of the edge in pixels."""
        x0, y0, x1, y1 = (max(0, int(box[0])), max(0, int(box[1])),
                          min(self.w, int(math.ceil(box[2]))), min(self.h, int(math.ceil(box[3]))))
        edge = 1 / max(1.0, soft)
        const = None if callable(paint) else paint
        buf, w = self.buf, self.w
        for py in range(y0, y1):
            y = py + 0.5
            for px in range(x0, x1):
                x = px + 0.5
                cov = 0.5 - f(x, y) * edge
                if cov <= 0:
                    continue
                c = const or paint(x, y)
                a = min(cov, 1.0) * alpha * (c[3] / 255 if len(c) > 3 else 1)
                if a <= 0:
                    continue
                i = (py * w + px) * 4
                keep = 1 - a
                buf[i] = c[0] / 255 * a + buf[i] * keep
                buf[i + 1] = c[1] / 255 * a + buf[i + 1] * keep
                buf[i + 2] = c[2] / 255 * a + buf[i + 2] * keep
                buf[i + 3] = a + buf[i + 3] * keep

    def rgba(self):
        """Straight RGBA bytes, top row first."""
        out = bytearray(len(self.buf))
        for i in range(0, len(self.buf), 4):
            a = self.buf[i + 3]
            if a <= 0.5 / 255:
                continue
            for j in range(3):
                out[i + j] = min(255, round(self.buf[i + j] / a * 255))
            out[i + 3] = min(255, round(a * 255))
        return bytes(out)

# ---------------------------------------------------------------- lettering


def tagline_glyphs(text, x, base, h, s):
    """Monoline lowercase letters (and a capital S) of x-height h and stroke
    s from x on the base line: a list of (shape, box) pairs and the end."""
    r = (h - s) / 2
    cy = base - h / 2
    top = base - h
    asc = base - 1.42 * h
    out = []

    def stem(x0, y0, y1):
        return rrect(x0, y0, x0 + s, y1, s / 2 * 0.3)

    def bowl(x0):
        return ring(circle(x0 + h / 2, cy, r), s)

    for ch in text:
        if ch == ' ':
            x += 0.45 * h
            continue
        if ch == 'o':
            f, adv = bowl(x), h
        elif ch == 'c':
            f = cut(bowl(x), poly([(x + h / 2, cy), (x + h + 2, cy - h * 0.42), (x + h + 2, cy + h * 0.42)]))
            adv = h * 0.9
        elif ch == 'e':
            opening = poly([(x + h / 2, cy + s / 2), (x + h + 2, cy + s / 2), (x + h + 2, cy + h * 0.36)])
            f = union(cut(bowl(x), opening), rrect(x + s / 2, cy - s / 2, x + h - s / 2, cy + s / 2))
            adv = h
        elif ch == 'a':
            f, adv = union(bowl(x), stem(x + h - s, top, base)), h
        elif ch == 'g':
            hook = arc(x + h / 2, base + 0.2 * h, r, s, 0, 160)
            f, adv = union(bowl(x), stem(x + h - s, top, base + 0.2 * h), hook), h
        elif ch == 'b':
            f, adv = union(bowl(x), stem(x, asc, base)), h
        elif ch in 'nh':
            f = union(stem(x, asc if ch == 'h' else top, base), stem(x + h - s, cy, base),
                      inter(bowl(x), half(0, 1, cy)))
            adv = h
        elif ch == 'm':
            w = 1.5 * h
            ra = (w / 2 - s / 2) / 2
            ya = top + ra + s / 2
            parts = [stem(x, top, base), stem(x + w / 2 - s / 2, ya, base), stem(x + w - s, ya, base)]
            for xc in (x + s / 2 + ra, x + w / 2 + ra):
                parts.append(inter(ring(circle(xc, ya, ra), s), half(0, 1, ya)))
            f, adv = union(*parts), w
        elif ch == 'r':
            rr = 0.42 * h
            f = union(stem(x, top, base), arc(x + s / 2 + rr, top + s / 2 + rr, rr, s, 180, 300))
            adv = 0.66 * h
        elif ch == 't':
            xs, rt = x + 0.3 * h, 0.3 * h
            f = union(line(xs, base - 1.28 * h, xs, base - s / 2 - rt, s),
                      arc(xs + rt, base - s / 2 - rt, rt, s, 90, 180),
                      line(x + 0.02 * h, top + s / 2, x + 0.64 * h, top + s / 2, s))
            adv = 0.7 * h
        elif ch == 'k':
            f = union(stem(x, asc, base),
                      line(x + 0.74 * h, top + s / 2, x + s, base - 0.36 * h, s),
                      line(x + 0.32 * h, base - 0.52 * h, x + 0.78 * h, base - s / 2, s))
            adv = 0.8 * h
        elif ch == 'S':
            cap = 1.42 * h
            rs = (cap - s) / 4
            xc = x + rs + s / 2 + 0.04 * h
            f = union(arc(xc, base - cap + rs + s / 2, rs, s, 100, 330),
                      arc(xc, base - rs - s / 2, rs, s, -80, 150))
            adv = 2 * rs + s + 0.08 * h
        else:
            raise ValueError('no glyph for %r' % ch)
        out.append((f, (x - s, asc - s, x + adv + s, base + h)))
        x += adv + 0.2 * h
    return out, x

# ---------------------------------------------------------------- drawing


def scaled(f, k, ox, oy):
    """Shape f drawn at k pixels per unit with its origin at (ox, oy)."""
    return lambda x, y: f((x - ox) / k, (y - oy) / k) * k


def draw(c):
    left, top, right, bottom, radius = CARD
    card = rrect(left, top, right, bottom, radius)
    whole = (0, 0, WIDTH, HEIGHT)

    # A soft shadow below the card, then the card itself.
    c.fill(moved(card, 0, 5), (0, 8, 24, 190), whole, soft=14)
    c.fill(card, mi.dgrad(left, top, (54, 140, 240), right, bottom, (18, 46, 102)), whole)
    c.fill(inter(grow(card, -1), half(0, 1, 118)),
           mi.vgrad(top, (255, 255, 255, 46), 118, (255, 255, 255, 0)), (left, top, right, 120))
    c.fill(ring(grow(card, -0.5), 1), (255, 255, 255, 70), whole)

    # A rate curve across the foot of the card: climbing, then level.
    pts = []
    for i in range(0, 49):
        x = left + (right - left) * i / 48
        t = i / 48
        y = 232 - 34 * (1 - math.exp(-t * 5)) - 2.2 * math.sin(i * 1.3) * math.sin(i * 0.45 + 1) * t
        pts.append((x, y))
    foot = (left, 180, right, bottom)
    area = poly(pts + [(right, bottom + 4), (left, bottom + 4)])
    c.fill(inter(area, grow(card, -1)), mi.vgrad(190, (255, 255, 255, 40), bottom, (255, 255, 255, 0)), foot)
    for (ax, ay), (bx, by) in zip(pts, pts[1:]):
        c.fill(inter(line(ax, ay, bx, by, 2), grow(card, -1)), (255, 255, 255, 90),
               (min(ax, bx) - 3, min(ay, by) - 3, max(ax, bx) + 3, max(ay, by) + 3))

    # The mark: the logo's drive leaning forward with speed streaks, larger.
    k, ox, oy = 3.0, 31.0, 14.0
    mid = 36.5
    box = (ox, oy + 20 * k, ox + 52 * k, oy + 53 * k)
    slab = rrect(14, 24, 47, 49, 4)
    c.fill(scaled(slanted(moved(slab, 0.6, 1.2), LEAN, mid), k, ox, oy), (0, 12, 40, 110), box, soft=6)
    c.fill(scaled(slanted(cut(slab, ring(half(0, 1, 36), 1.2)), LEAN, mid), k, ox, oy),
           mi.vgrad(oy + 24 * k, WHITE, oy + 49 * k, (214, 226, 242)), box)
    c.fill(scaled(slanted(rrect(17, 38.5, 44, 46, 1.6), LEAN, mid), k, ox, oy),
           mi.vgrad(oy + 38 * k, (150, 198, 252), oy + 46 * k, (92, 156, 232)), box)
    c.fill(scaled(slanted(rrect(20, 41.3, 31, 43.2, 0.95), LEAN, mid), k, ox, oy), (30, 88, 176), box)
    c.fill(scaled(slanted(circle(39, 42.2, 2.6), LEAN, mid), k, ox, oy), (255, 236, 190), box, soft=5)
    c.fill(scaled(slanted(circle(39, 42.2, 2.0), LEAN, mid), k, ox, oy), mi.AMBER, box)
    for y, x0, col, a in ((28, 4, WHITE, 0.95), (36.5, 0.5, mi.AMBER, 1.0), (45, 5, WHITE, 0.95)):
        x1 = 9.5 + (mid - y) * LEAN
        streak = line(x0, y, x1, y, 3.2)
        paint = mi.dgrad(ox + x0 * k, 0, tuple(col) + (0,), ox + x1 * k, 0, tuple(col) + (255,))
        c.fill(scaled(streak, k, ox, oy), paint, (ox, oy + (y - 3) * k, ox + (x1 + 3) * k, oy + (y + 3) * k), a)

    # The name in the logo's letters, and the tagline below it.
    name, end = mi.word(200, 134, 28, 40, 7.2, 2.4, LEAN)
    name_box = (196, 84, end + 14, 146)
    c.fill(moved(name, 1.2, 2.4), (0, 12, 40, 120), name_box, soft=5)
    c.fill(name, WHITE, name_box)
    glyphs, _ = tagline_glyphs('Storage benchmark', 204, 168, 10.5, 2.0)
    for f, gbox in glyphs:
        c.fill(f, PALE, gbox)
    c.fill(rrect(204, 180, 246, 182.4, 1.2), mi.AMBER, (200, 176, 250, 186))

# ---------------------------------------------------------------- the file


def run_length(data):
    """A byte c above 128 repeats the next byte c - 128 times; a byte below
    128 is followed by c bytes to copy."""
    out = bytearray()
    i, n = 0, len(data)
    while i < n:
        run = 1
        while i + run < n and run < 127 and data[i + run] == data[i]:
            run += 1
        if run >= 3:
            out += bytes((128 + run, data[i]))
            i += run
            continue
        j = i
        while j < n and j - i < 127 and not (j + 2 < n and data[j] == data[j + 1] == data[j + 2]):
            j += 1
        out.append(j - i)
        out += data[i:j]
        i = j
    return bytes(out)


def block(block_id, data):
    return b'~BK\0' + struct.pack('<HI', block_id, len(data)) + data


def write_psp(w, h, rgba, name='Splash', compress=True):
    """The picture as a Paint Shop Pro file of the program's layout
    (compress=False stores the channels as they are)."""
    head = b'Paint Shop Pro Image File\n\x1a' + b'\0' * 5 + struct.pack('<HH', 5, 0)
    attributes = struct.pack('<IiidBHHHIBIIH', 42, w, h, 72.0, 1, int(compress), 24, 1, 1 << 24, 0, w * h * 3, 0, 1)
    title = b'Quenvale splash'
    creator = struct.pack('<I', 4) + b'~FL\0' + struct.pack('<HI', 0, len(title)) + title
    info = (struct.pack('<H', len(name)) + name.encode() + b'\x01'
            + struct.pack('<8i', 0, 0, w, h, 0, 0, w, h)
            + bytes((255, 0, 1, 0, 0)) + struct.pack('<8i', 0, 0, 0, 0, 0, 0, 0, 0) + bytes(3)
            + struct.pack('<H', 0))
    layer = struct.pack('<I', len(info) + 4) + info + struct.pack('<IHH', 8, 2, 4)
    # Red, green and blue of the image bitmap, then the transparency bitmap.
    for bitmap_type, channel_type, byte in ((0, 1, 0), (0, 2, 1), (0, 3, 2), (1, 0, 3)):
        packed = run_length(rgba[byte::4]) if compress else rgba[byte::4]
        layer += block(5, struct.pack('<IIIHH', 16, len(packed), w * h, bitmap_type, channel_type) + packed)
    return head + block(0, attributes) + block(1, creator) + block(3, block(4, layer))


def preview_png(w, h, rgba):
    """The picture over a checkerboard, so that its transparency shows."""
    out = bytearray()
    for y in range(h):
        for x in range(w):
            i = (y * w + x) * 4
            bg = 236 if (x // 12 + y // 12) % 2 else 196
            a = rgba[i + 3] / 255
            out += bytes(round(bg + (rgba[i + j] - bg) * a) for j in range(3)) + b'\xff'
    return mi.png(w, h, bytes(out))


def main():
    root = os.path.dirname(HERE)
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('--out', default=os.path.join(root, 'resources', 'data', 'splash.psp'))
    ap.add_argument('--preview', help='also write the picture as PNG')
    args = ap.parse_args()
    c = Canvas(WIDTH, HEIGHT)
    draw(c)
    rgba = c.rgba()
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    with open(args.out, 'wb') as fp:
        fp.write(write_psp(WIDTH, HEIGHT, rgba))
    if args.preview:
        with open(args.preview, 'wb') as fp:
            fp.write(preview_png(WIDTH, HEIGHT, rgba))


if __name__ == '__main__':
    main()
