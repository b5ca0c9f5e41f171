#!/usr/bin/env python3
"""Draws the program's icons, logo bitmaps and hand cursor.

Writes the .ico, .bmp and .cur files into resources/icons/ (the build does
not run Python, so the results are committed). Standard library only.

    tools/make-images.py [--out DIR] [--preview DIR] [--sheet FILE.png]

Every shape is a signed distance function in design units (icons: a 32-unit
square, whatever the pixel size); a pixel's coverage comes from the distance
at its centre, which gives antialiased edges without supersampling.
"""
import argparse
import math
import os
import struct
import zlib

# ---------------------------------------------------------------- palette

NAVY = (22, 52, 104)
BLUE_D = (30, 88, 176)
BLUE = (44, 126, 232)
BLUE_L = (120, 186, 252)
SKY = (40, 148, 248)          # the logo's background in the main window
GREY_D = (58, 66, 78)
GREY = (128, 138, 152)
GREY_M = (176, 184, 196)
GREY_L = (222, 227, 234)
WHITE = (250, 251, 253)
AMBER = (255, 168, 20)
AMBER_D = (196, 110, 0)
RED = (214, 52, 44)
RED_D = (150, 24, 20)
FLAT = (50, 82, 124)          # the page buttons' monochrome glyphs
MAGENTA = (255, 0, 255)

# ---------------------------------------------------------------- shapes


def rrect(x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def f(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r
    return f


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def line(x0, y0, x1, y1, w):
    """A stroke with round caps."""
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy or 1e-9

    def f(x, y):
        t = min(1.0, max(0.0, ((x - x0) * dx + (y - y0) * dy) / ll))
        return math.hypot(x - x0 - t * dx, y - y0 - t * dy) - w / 2
    return f


def poly(pts):
    n = len(pts)

    def f(x, y):
        d = float('inf')
        inside = False
        for i in range(n):
            ax, ay = pts[i]
            bx, by = pts[i - 1]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            t = min(1.0, max(0.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            d = min(d, math.hypot(wx - ex * t, wy - ey * t))
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / ey:
                inside = not inside
        return -d if inside else d
    return f


def half(nx, ny, c):
    """The side of the line nx*x + ny*y = c where the product is smaller."""
    k = math.hypot(nx, ny)
    return lambda x, y: (nx * x + ny * y - c) / k


def union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def inter(*fs):
    return lambda x, y: max(f(x, y) for f in fs)


def cut(a, *bs):
    b = union(*bs)
    return lambda x, y: max(a(x, y), -b(x, y))


def ring(f, w):
    return lambda x, y: abs(f(x, y)) - w / 2


def grow(f, d):
    return lambda x, y: f(x, y) - d


def moved(f, dx, dy):
    return lambda x, y: f(x - dx, y - dy)


def slanted(f, t, base):
    """Leans a shape to the right by t per unit of height above base."""
    return lambda x, y: f(x - (base - y) * t, y)


def arc(cx, cy, r, w, a0, a1):
    """A round-capped arc from angle a0 to a1 (degrees, clockwise, 0 = east)."""
    a0, a1 = math.radians(a0), math.radians(a1)
    mid, span = (a0 + a1) / 2, (a1 - a0) / 2
    ends = [(cx + r * math.cos(a), cy + r * math.sin(a)) for a in (a0, a1)]

    def f(x, y):
        a = math.atan2(y - cy, x - cx) - mid
        a = (a + math.pi) % (2 * math.pi) - math.pi
        if abs(a) <= span:
            return abs(math.hypot(x - cx, y - cy) - r) - w / 2
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - w / 2
    return f

# ---------------------------------------------------------------- paints


def mix(c0, c1, t):
    t = min(1.0, max(0.0, t))
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def vgrad(y0, c0, y1, c1):
    return lambda x, y: mix(c0, c1, (y - y0) / (y1 - y0))


def dgrad(x0, y0, c0, x1, y1, c1):
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy
    return lambda x, y: mix(c0, c1, ((x - x0) * dx + (y - y0) * dy) / ll)

# ---------------------------------------------------------------- canvas


class Canvas:
    """Premultiplied RGBA floats; k pixels per design unit."""

    def __init__(self, w, h=None, k=None):
        self.w, self.h = w, h or w
        self.k = k or w / 32
        self.px = 1 / self.k            # one pixel in design units
        self.buf = [0.0] * (self.w * self.h * 4)

    def snap(self, v):
        return math.floor(v * self.k + 0.5) / self.k

    def fill(self, f, paint, alpha=1.0, soft=0.0):
        """Composites shape f over the canvas; soft widens the edge (units)."""
        k, w, buf = self.k, self.w, self.buf
        edge = 1 / max(self.px, soft)
        const = None if callable(paint) else paint
        for py in range(self.h):
            y = (py + 0.5) / k
            for px in range(w):
                x = (px + 0.5) / k
                cov = 0.5 - f(x, y) * edge
                if cov <= 0:
                    continue
                c = const or paint(x, y)
                a = min(cov, 1.0) * alpha * (c[3] / 255 if len(c) > 3 else 1)
                i = (py * w + px) * 4
                keep = 1 - a
                buf[i] = c[0] / 255 * a + buf[i] * keep
                buf[i + 1] = c[1] / 255 * a + buf[i + 1] * keep
                buf[i + 2] = c[2] / 255 * a + buf[i + 2] * keep
                buf[i + 3] = a + buf[i + 3] * keep

    def shape(self, f, paint, edge=GREY_D, lw=None):
        """A filled shape with an outline of about one pixel."""
        lw = lw or max(self.px, 0.8)
        self.fill(f, edge)
        self.fill(grow(f, -lw), paint)

    def rgba(self):
        """Straight (not premultiplied) RGBA bytes, top row first."""
        out = bytearray(len(self.buf))
        for i in range(0, len(self.buf), 4):
            a = self.buf[i + 3]
            if a <= 0.5 / 255:
                continue
            for j in range(3):
                out[i + j] = min(255, round(self.buf[i + j] / a * 255))
            out[i + 3] = min(255, round(a * 255))
        return bytes(out)

# ---------------------------------------------------------------- parts


def drive_slab(c, y0, y1, body=GREY_L, led=True):
    """A disk drive seen from the front: light top, darker front band."""
    s = c.snap
    y0, y1 = s(y0), s(y1)
    f = rrect(s(2), y0, s(30), y1, 3)
    c.shape(f, vgrad(y0, WHITE, y1, body))
    front = s(y0 + (y1 - y0) * 0.5)
    c.fill(inter(grow(f, -max(c.px, 0.8)), half(0, -1, -front)),
           vgrad(front, GREY_M, y1, GREY))
    c.fill(rrect(s(2) + 1, front - c.px, s(30) - 1, front, 0), (255, 255, 255, 150))
    if led:
        ly = (front + y1) / 2
        c.fill(circle(25, ly, max(1.6, c.px * 1.1)), AMBER)
        if c.k >= 1:
            c.fill(rrect(6, ly - 0.5, 17, ly + 0.5), GREY_D, 0.5)


def usb_stick(c, body, dark):
    s = c.snap
    plug = rrect(s(21), s(11), s(31), s(21), 0.6)
    c.shape(plug, vgrad(11, WHITE, 21, GREY_M), GREY)
    for y in (14, 17):
        c.fill(rrect(s(25), s(y), s(28), s(y + 2)), GREY_D)
    f = rrect(s(1), s(8), s(23), s(24), 3)
    c.shape(f, vgrad(8, mix(body, WHITE, 0.45), 24, body), dark)
    c.fill(rrect(s(5), s(12), s(17), s(20), 1.5), (255, 255, 255, 90))
    if c.k >= 1.4:
        c.fill(circle(6, 16, 1.4), dark)


def net_mark(c, x0, x1, y, stem_top, col=GREY_D):
    """A cable down from a device to a bar with nodes at both ends."""
    px = c.px
    t = max(px, 1.2 if c.k > 1 else 2)
    cx = c.snap(16 - t / 2) + t / 2
    c.fill(rrect(cx - t / 2, stem_top, cx + t / 2, y), col)
    c.fill(rrect(x0, y - t / 2, x1, y + t / 2), col)
    for x in (x0, x1):
        c.shape(rrect(x - 2.5, y - 2.5, x + 2.5, y + 2.5, 0.8), BLUE_L, BLUE_D)
    c.shape(rrect(cx - 3, y - 3, cx + 3, y + 3, 0.8), BLUE, BLUE_D)

# ---------------------------------------------------------------- icons


def icon_program(c):
    s = c.snap
    small = c.w < 24
    body = rrect(s(9), s(1), s(31), s(31), 3.5)
    c.shape(body, dgrad(9, 1, BLUE_L, 31, 31, BLUE_D), NAVY)
    cx, cy, r = 20, 13.5, 8.5 if small else 8.8
    c.fill(circle(cx, cy, r + max(c.px, 0.8)), NAVY, 0.8)
    c.fill(circle(cx, cy, r), dgrad(12, 5, WHITE, 28, 22, GREY_M))
    if not small:
        c.fill(ring(circle(cx, cy, 5.6), 0.5), GREY, 0.7)
    c.fill(circle(cx, cy, 2.2 if small else 2), BLUE_D)
    arm = line(27.5, 26.5, 22, 16, 2.6 if small else 2.2)
    c.fill(grow(arm, max(c.px, 0.7)), NAVY)
    c.fill(arm, AMBER)
    c.fill(circle(27.5, 26.5, 2.8), AMBER_D)
    if not small:
        c.fill(circle(27.5, 26.5, 1.3), AMBER)
        for x, y in ((12, 4), (28, 4), (12, 28)):
            c.fill(circle(x, y, 1), NAVY, 0.6)
    for y, x0 in ((9, 2), (15, 0.5), (21, 3)):
        f = line(x0 + 1, y, 7.5, y, 2.2)
        c.fill(grow(f, c.px * 0.7), NAVY, 0.35)
        c.fill(f, AMBER)


def icon_page(c):
    small = c.w < 24
    cx, cy, r = 16, 17, 14.5
    c.fill(moved(circle(cx, cy, r), 0, 1), (0, 0, 0, 60), soft=1.5)
    c.shape(circle(cx, cy, r), dgrad(6, 4, BLUE_L, 26, 30, BLUE_D), NAVY)
    c.fill(circle(cx, cy, r - 2.6), vgrad(4, WHITE, 30, GREY_L))
    # scale: blue turning amber towards the top speed
    w = 3 if small else 2.4
    c.fill(arc(cx, cy, r - 5.4, w, 140, 300), BLUE)
    c.fill(arc(cx, cy, r - 5.4, w, 300, 400), AMBER)
    if c.w >= 48:
        for i in range(9):
            a = math.radians(140 + i * 260 / 8)
            c.fill(line(cx + 7.6 * math.cos(a), cy + 7.6 * math.sin(a),
                        cx + 6.6 * math.cos(a), cy + 6.6 * math.sin(a), 0.6), GREY_D)
    a = math.radians(-40)
    needle = poly([(cx + 10.5 * math.cos(a), cy + 10.5 * math.sin(a)),
                   (cx + 2.2 * math.cos(a + 1.57), cy + 2.2 * math.sin(a + 1.57)),
                   (cx - 2.2 * math.cos(a), cy - 2.2 * math.sin(a)),
                   (cx + 2.2 * math.cos(a - 1.57), cy + 2.2 * math.sin(a - 1.57))])
    c.fill(grow(needle, 0.6), NAVY, 0.5)
    c.fill(needle, AMBER_D)
    c.fill(circle(cx, cy, 3), NAVY)
    c.fill(circle(cx - 0.5, cy - 0.5, 1), (255, 255, 255, 120))
    c.fill(rrect(cx - 5, cy + 6, cx + 5, cy + 9, 1), GREY_D if small else GREY, 0.9)


def tab_quick(c):
    s = c.snap
    bolt = poly([(16, 0), (24, 0), (19, 10), (26, 10), (11, 26), (14, 16), (7, 16)])
    drive = rrect(2, 20, 30, 30, 3)
    c.fill(cut(drive, grow(bolt, 2), rrect(s(22), s(23), s(26), s(27), 0.5)), FLAT)
    c.fill(bolt, FLAT)


def tab_file(c):
    s = c.snap
    doc = poly([(6, 2), (18, 2), (26, 10), (26, 30), (6, 30)])
    fold = poly([(16, 2), (26, 12), (16, 12)])
    lines = [rrect(s(10), s(y), s(22), s(y + 2)) for y in (15, 19, 23)] + [rrect(s(10), s(11), s(14), s(13))]
    c.fill(cut(doc, grow(fold, 2), *lines), FLAT)
    c.fill(poly([(18, 4), (24, 10), (18, 10)]), FLAT)


def tab_block(c):
    for i in range(9):
        x, y = 2 + (i % 3) * 10, 2 + (i // 3) * 10
        f = rrect(x, y, x + 8, y + 8, 1)
        c.fill(cut(f, rrect(x + 2, y + 2, x + 6, y + 6)) if i in (1, 5, 6) else f, FLAT)


def tab_options(c):
    s = c.snap
    c.fill(cut(circle(16, 16, 15), circle(16, 8.5, 2.6), rrect(s(14), s(13), s(18), s(25), 0.5)), FLAT)


def drive_fixed(c):
    drive_slab(c, 8, 25)


def drive_ram(c):
    s = c.snap
    pcb = cut(rrect(s(1), s(8), s(31), s(24), 1), rrect(15, 21, 17, 25, 0.8))
    c.shape(pcb, vgrad(8, BLUE, 24, BLUE_D), NAVY)
    small = c.w < 24
    for x in (4, 12, 20) if small else (3.5, 10.5, 17.5, 24.5):
        c.fill(rrect(s(x), s(10), s(x + (6 if small else 5)), s(18), 0.5), GREY_D)
    step = 4 if small else 1.5
    x = 3.0
    while x < 29:
        if not 14 < x + 0.5 < 18:
            c.fill(rrect(s(x), s(20), s(x) + max(c.px, 0.8), s(23)), AMBER)
        x += step


def drive_removable(c):
    usb_stick(c, GREY_M, GREY_D)
    c.fill(rrect(c.snap(3), c.snap(20), c.snap(21), c.snap(22)), BLUE, 0.9)


def drive_usb_blue(c):
    usb_stick(c, BLUE, NAVY)


def drive_usb_amber(c):
    usb_stick(c, AMBER, AMBER_D)


def drive_network(c):
    drive_slab(c, 3, 18)
    net_mark(c, 5, 27, 26.5, 18)


def drive_iscsi(c):
    drive_slab(c, 4, 20, led=False)
    cx, cy, r = 23, 23.5, 7.5
    c.shape(circle(cx, cy, r), vgrad(16, BLUE_L, 31, BLUE_D), NAVY)
    w = max(c.px, 1.1)
    nodes = [(cx - 3.2, cy + 2.2), (cx + 3.2, cy + 2.2), (cx, cy - 3.4)]
    for i in range(3):
        (ax, ay), (bx, by) = nodes[i], nodes[i - 1]
        c.fill(line(ax, ay, bx, by, w), WHITE)
    for x, y in nodes:
        c.fill(circle(x, y, 1.7 if c.w >= 24 else 2), WHITE)


def drive_optical(c):
    cx, cy = 16, 16
    c.shape(cut(circle(cx, cy, 15), circle(cx, cy, 2.5)),
            dgrad(4, 4, WHITE, 28, 28, GREY_M), GREY)
    c.fill(arc(cx, cy, 10, 3.5, 200, 250), BLUE_L, 0.8)
    c.fill(arc(cx, cy, 10, 3.5, 20, 70), AMBER, 0.45)
    c.fill(cut(circle(cx, cy, 6), circle(cx, cy, 2.5)), GREY_M)
    c.fill(ring(circle(cx, cy, 2.5 + c.px / 2), c.px), GREY)


def drive_tape(c):
    s = c.snap
    c.shape(rrect(s(1), s(6), s(31), s(27), 2), vgrad(6, GREY, 27, GREY_D), (30, 34, 42))
    c.fill(rrect(s(4), s(9), s(28), s(20), 1.5), vgrad(9, WHITE, 20, GREY_L))
    c.fill(rrect(s(4), s(9), s(28), s(11) if c.w < 24 else s(10.5)), BLUE)
    win = rrect(s(8), s(12), s(24), s(18), 2.5)
    c.fill(win, GREY_D)
    for x in (11.5, 20.5):
        c.fill(circle(x, 15, 2.6), WHITE)
        c.fill(circle(x, 15, 1.2), GREY_D)
    c.fill(poly([(7, 27), (9, 22.5), (23, 22.5), (25, 27)]), GREY_D)
    if c.w >= 32:
        for x in (11, 21):
            c.fill(circle(x, 25, 0.9), GREY)

# ---------------------------------------------------------------- menu items


def menu_arrow(c, up, fill, edge):
    """A drive with a thick arrow leaving it (up) or entering it (down)."""
    drive_slab(c, 19, 30, led=c.w >= 24)
    if up:
        pts = [(16, 1), (26, 11), (20, 11), (20, 19), (12, 19), (12, 11), (6, 11)]
    else:
        pts = [(12, 1), (20, 1), (20, 9), (26, 9), (16, 19), (6, 9), (12, 9)]
    c.shape(poly(pts), fill, edge)


def menu_read(c):
    menu_arrow(c, True, vgrad(1, BLUE_L, 19, BLUE), BLUE_D)


def menu_write(c):
    menu_arrow(c, False, vgrad(1, AMBER, 19, AMBER_D), AMBER_D)


def menu_delete(c):
    cross = union(line(7, 7, 25, 25, 6), line(25, 7, 7, 25, 6))
    c.fill(grow(cross, max(c.px, 0.9)), RED_D)
    c.fill(cross, vgrad(5, RED, 27, RED_D))

# ---------------------------------------------------------------- logo


def glyphs(x, base, xh, cap, s):
    """The word's letters from x on base line `base`: (shape, advance) pairs."""
    R = xh / 2
    rc = R - s / 2
    cy = base - R
    top = base - xh

    def bowl(x0):
        return ring(circle(x0 + R, cy, rc), s)

    def stem(x0, y0, y1):
        return rrect(x0, y0, x0 + s, y1)
    out = []
    # Q: a round capital with a diagonal tail
    RQ = cap / 2
    qx, qy = x + RQ, base - RQ
    out.append((union(ring(circle(qx, qy, RQ - s * 0.55), s * 1.1),
                      poly([(qx + 2, qy + RQ * 0.35), (qx + 2 + s * 1.2, qy + RQ * 0.35 - s * 0.6),
                            (qx + RQ + s * 0.6, base + s * 0.35), (qx + RQ - s * 0.6, base + s * 0.95)])),
                2 * RQ))
    # u
    out.append((union(stem(x, top, cy), stem(x + 2 * R - s, top, base),
                      inter(bowl(x), half(0, -1, -cy))), 2 * R))
    # e: a bowl with a bar, open at the lower right
    bar = rrect(x + s / 2, cy - s * 0.4, x + 2 * R - s / 2, cy + s * 0.4)
    e_open = poly([(x + R, cy + s * 0.4), (x + 2 * R + 2, cy + s * 0.4), (x + 2 * R + 2, cy + R * 0.75)])
    out.append((union(cut(bowl(x), e_open), bar), 2 * R))
    # n
    out.append((union(stem(x, top, base), stem(x + 2 * R - s, cy, base),
                      inter(bowl(x), half(0, 1, cy))), 2 * R))
    # v
    a, m = s * 1.15, R
    out.append((poly([(x - 1, top), (x - 1 + a, top), (x + m, base - s * 1.7), (x + 2 * m + 1 - a, top),
                      (x + 2 * m + 1, top), (x + m + s * 0.55, base), (x + m - s * 0.55, base)]), 2 * R))
    # a: single storey
    out.append((union(bowl(x), stem(x + 2 * R - s, top, base)), 2 * R))
    # l
    out.append((stem(x, base - cap, base), s))
    out.append(out[2])
    return out


def word(x, base, xh, cap, s, gap, lean):
    parts = []
    for f, adv in glyphs(0, base, xh, cap, s):
        parts.append(moved(f, x, 0))
        x += adv + gap
    return slanted(union(*parts), lean, base - xh / 2), x - gap


def draw_logo(c):
    # the mark: a drive leaning forward with speed streaks behind it
    lean, mid = 0.16, 36.5
    slab = rrect(14, 24, 47, 49, 4)
    front = rrect(17, 38, 44, 46, 1.6)
    c.fill(slanted(cut(slab, ring(half(0, 1, 36), 1.6)), lean, mid), WHITE)
    c.fill(slanted(front, lean, mid), mix(SKY, WHITE, 0.6))
    c.fill(slanted(circle(39, 42, 2.2), lean, mid), AMBER)
    c.fill(slanted(rrect(20, 41, 31, 43, 1), lean, mid), SKY)
    for y, x0 in ((28, 4), (36.5, 1), (45, 5)):
        c.fill(line(x0, y, 9.5 + (mid - y) * lean, y, 3.4), WHITE)
    f, end = word(56, 50, 20.5, 29, 5.2, 1.8, lean)
    c.fill(f, WHITE)
    return end


def logo_bitmap(scale):
    c = Canvas(236 * scale, 73 * scale, scale)
    draw_logo(c)
    rgba = c.rgba()
    out = bytearray()
    for i in range(0, len(rgba), 4):
        a = rgba[i + 3] / 255
        if a < 0.03:
            out += bytes(MAGENTA)
        else:
            out += bytes(round(SKY[j] + (rgba[i + j] - SKY[j]) * a) for j in range(3))
    return c.w, c.h, bytes(out)

# ---------------------------------------------------------------- cursor


def draw_hand(c):
    hand = union(line(11, 3.5, 11, 18, 5),
                 line(16, 12.5, 16, 19, 5), line(20.8, 13.5, 20.8, 20, 5),
                 line(25.2, 15, 25.2, 21, 4.6),
                 poly([(8.5, 16), (27.5, 16), (27.5, 23), (24, 29), (12, 29), (8.5, 24)]),
                 line(4, 17.5, 10, 25, 5))
    c.fill(hand, (0, 0, 0))
    c.fill(grow(hand, -1), (255, 255, 255))
    for x, y0 in ((13.5, 14), (18.4, 15), (23, 16.5)):
        c.fill(line(x, y0, x, y0 + 4, 0.9), (0, 0, 0))
    return 11, 1                      # hot spot: the tip of the index finger

# ---------------------------------------------------------------- files


def png(w, h, rgba):
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    rows = b''.join(b'\0' + rgba[y * w * 4:(y + 1) * w * 4] for y in range(h))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(rows, 9)) + chunk(b'IEND', b''))


def dib(n, rgba):
    """A 32-bit icon image: header, BGRA rows bottom-up, then the AND mask."""
    head = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    xor, mask = bytearray(), bytearray()
    stride = (n + 31) // 32 * 4
    for y in reversed(range(n)):
        bits = bytearray(stride)
        for x in range(n):
            i = (y * n + x) * 4
            if rgba[i + 3] == 0:
                bits[x >> 3] |= 0x80 >> (x & 7)
                xor += b'\0\0\0\0'
            else:
                xor += bytes((rgba[i + 2], rgba[i + 1], rgba[i], rgba[i + 3]))
        mask += bits
    return head + bytes(xor) + bytes(mask)


def icon_file(images, hotspot=None):
    """images: (size, rgba) pairs; 256 is stored as PNG. hotspot makes a .cur."""
    datas = [png(n, n, rgba) if n >= 256 else dib(n, rgba) for n, rgba in images]
    out = struct.pack('<HHH', 0, 2 if hotspot else 1, len(images))
    offset = 6 + 16 * len(images)
    for (n, _), data in zip(images, datas):
        a, b = hotspot if hotspot else (1, 32)
        out += struct.pack('<BBBBHHII', n % 256, n % 256, 0, 0, a, b, len(data), offset)
        offset += len(data)
    return out + b''.join(datas)


def bmp24(w, h, rgb):
    stride = (w * 3 + 3) & ~3
    rows = b''.join(bytes(b for x in range(w) for b in rgb[(y * w + x) * 3:(y * w + x) * 3 + 3][::-1])
                    + b'\0' * (stride - w * 3) for y in reversed(range(h)))
    head = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(rows), 3780, 3780, 0, 0)
    return b'BM' + struct.pack('<IHHI', 14 + len(head) + len(rows), 0, 0, 54) + head + rows

# ---------------------------------------------------------------- the set


DRIVE = (16, 32, 48)
MENU = (16, 20, 24, 32)
TAB = (16, 24, 32, 40, 48)
ICONS = [  # (macro, file, draw, sizes)
    ('IDI_PROGRAM', 'program.ico', icon_program, (16, 24, 32, 48, 64, 256)),
    ('IDI_PAGE', 'page.ico', icon_page, (16, 24, 32, 48, 64, 96, 128)),
    ('IDI_TAB_QUICK', 'tab-quick.ico', tab_quick, TAB),
    ('IDI_TAB_FILE', 'tab-file.ico', tab_file, TAB),
    ('IDI_TAB_BLOCK', 'tab-block.ico', tab_block, TAB),
    ('IDI_TAB_OPTIONS', 'tab-options.ico', tab_options, TAB),
    ('IDI_DRIVE_FIXED', 'drive-fixed.ico', drive_fixed, DRIVE),
    ('IDI_DRIVE_RAM', 'drive-ram.ico', drive_ram, DRIVE),
    ('IDI_DRIVE_REMOVABLE', 'drive-removable.ico', drive_removable, DRIVE),
    ('IDI_DRIVE_NETWORK', 'drive-network.ico', drive_network, DRIVE),
    ('IDI_DRIVE_OPTICAL', 'drive-optical.ico', drive_optical, DRIVE),
    ('IDI_DRIVE_TAPE', 'drive-tape.ico', drive_tape, DRIVE),
    ('IDI_DRIVE_USB_BLUE', 'drive-usb-blue.ico', drive_usb_blue, DRIVE),
    ('IDI_DRIVE_USB_AMBER', 'drive-usb-amber.ico', drive_usb_amber, DRIVE),
    ('IDI_DRIVE_ISCSI', 'drive-iscsi.ico', drive_iscsi, DRIVE),
    ('IDI_MENU_READ', 'menu-read.ico', menu_read, MENU),
    ('IDI_MENU_WRITE', 'menu-write.ico', menu_write, MENU),
    ('IDI_MENU_DELETE', 'menu-delete.ico', menu_delete, MENU),
]

RC_HEAD = """LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL

// Icons, logo bitmaps and the hand cursor. Written by tools/make-images.py;
// edit the drawing there and run it again instead of editing the images.

"""


def render(draw, n):
    c = Canvas(n)
    draw(c)
    return c.rgba()


def make_sheet(rows, path):
    """rows: lists of (w, h, rgba). Each row shows its images on the page
    buttons' light and hot greys, then the small ones enlarged."""
    def zoom(img, z):
        w, h, rgba = img
        return w * z, h * z, b''.join(rgba[((y // z) * w + x // z) * 4:((y // z) * w + x // z) * 4 + 4]
                                      for y in range(h * z) for x in range(w * z))
    pad = 8
    tiles = []
    for r in rows:
        big = [zoom(i, 4) for i in r if i[0] in (16, 32)]
        tiles.append([((240, 240, 240), i) for i in r] + [((204, 204, 204), i) for i in r]
                     + [((240, 240, 240), i) for i in big])
    width = max(sum(i[0] + pad for _, i in t) + pad for t in tiles)
    height = sum(max(i[1] for _, i in t) + pad for t in tiles) + pad
    out = bytearray(b'\xff\xff\xff\xff' * width * height)
    y = pad
    for t in tiles:
        x = pad
        for bg, (w, h, rgba) in t:
            for yy in range(h):
                for xx in range(w):
                    i = (yy * w + xx) * 4
                    a = rgba[i + 3] / 255
                    o = ((y + yy) * width + x + xx) * 4
                    out[o:o + 3] = bytes(round(bg[j] + (rgba[i + j] - bg[j]) * a) for j in range(3))
            x += w + pad
        y += max(i[1] for _, i in t) + pad
    with open(path, 'wb') as fp:
        fp.write(png(width, height, bytes(out)))


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('--out', default=os.path.join(root, 'resources', 'icons'))
    ap.add_argument('--preview', help='also write every image as PNG into this folder')
    ap.add_argument('--sheet', help='also write a contact sheet of all images (PNG)')
    args = ap.parse_args()
    os.makedirs(args.out, exist_ok=True)
    rc = [RC_HEAD]
    sheet = []

    def write(name, data):
        with open(os.path.join(args.out, name), 'wb') as fp:
            fp.write(data)

    def preview(name, w, h, rgba):
        if args.preview:
            os.makedirs(args.preview, exist_ok=True)
            with open(os.path.join(args.preview, name + '.png'), 'wb') as fp:
                fp.write(png(w, h, rgba))

    for macro, name, draw, sizes in ICONS:
        images = [(n, render(draw, n)) for n in sizes]
        write(name, icon_file(images))
        rc.append('%-20s ICON "icons/%s"\n' % (macro, name))
        for n, rgba in images:
            preview('%s-%d' % (name[:-4], n), n, n, rgba)
        sheet.append([(n, n, rgba) for n, rgba in images])

    for macro, name, scale in (('IDB_LOGO', 'logo.bmp', 1), ('IDB_LOGO_LARGE', 'logo-large.bmp', 2)):
        w, h, rgb = logo_bitmap(scale)
        write(name, bmp24(w, h, rgb))
        rc.append('%-20s BITMAP "icons/%s"\n' % (macro, name))
        rgba = b''.join(bytes(rgb[i:i + 3]) + b'\xff' for i in range(0, len(rgb), 3))
        preview(name[:-4], w, h, rgba)
        shown = b''.join((bytes(SKY) if rgb[i:i + 3] == bytes(MAGENTA) else bytes(rgb[i:i + 3])) + b'\xff'
                         for i in range(0, len(rgb), 3))
        sheet.append([(w, h, shown)])

    c = Canvas(32)
    hot = draw_hand(c)
    rgba = c.rgba()
    write('hand.cur', icon_file([(32, rgba)], hot))
    rc.append('%-20s CURSOR "icons/hand.cur"\n' % 'IDC_HAND_POINTER')
    preview('hand', 32, 32, rgba)
    sheet.append([(32, 32, rgba)])

    write('images.rc', ''.join(rc).encode())
    if args.sheet:
        make_sheet(sheet, args.sheet)


if __name__ == '__main__':
    main()
