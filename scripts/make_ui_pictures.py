#!/usr/bin/env python3
"""Draws the pictures of the desktop window into data/ui: the 42 contents-tree pictures a contents
file can ask for by ImageNumber (contents/), the tool bar and list-button pictures (toolbar/), the
application icon in several sizes, the splash picture and the about box picture. Every picture also
has an @2x copy (or a set of sizes) for 200% screens.

Usage: scripts/make_ui_pictures.py [OUTPUT_FOLDER]   (default: data/ui beside this script's folder)
Needs only Python's standard library: shapes are filled by a small anti-aliasing scanline filler
and written by the PNG writer below. The output is the same, byte for byte, on every run.
"""
import math
import os
import struct
import sys
import zlib

INK = (44, 56, 76)                 # outlines: dark enough on white, the fills carry it on dark
PAPER = (255, 255, 255)
PAPER_SHADE = (214, 223, 235)
TEXT_LINE = (132, 150, 176)
BLUE, BLUE_LIGHT = (40, 104, 188), (120, 176, 236)
FOLDER, FOLDER_BACK = (250, 200, 80), (222, 160, 48)
GREEN, GREEN_LIGHT, GREEN_DARK = (62, 150, 66), (132, 200, 84), (28, 88, 40)
RED, ORANGE, YELLOW = (214, 64, 52), (240, 128, 20), (255, 210, 60)
PURPLE, TEAL, GREY, FILM = (124, 84, 196), (0, 140, 150), (150, 160, 174), (92, 100, 122)
SUB = 5                            # sub-scanlines per pixel row


def write_png(path, width, height, rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\x00" + bytes(row) for row in rows)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as file:
        file.write(png)


class Pixels:
    """Premultiplied RGBA floats, filled shape by shape."""
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.r, self.g, self.b, self.a = ([0.0] * (width * height) for _ in range(4))

    def fill(self, contours, colour):
        """Non-zero winding fill of device-space contours; colour is (r, g, b[, a]) or f(x, y)."""
        w, h = self.width, self.height
        rows = {}
        for pts in contours:
            for (x0, y0), (x1, y1) in zip(pts, pts[1:] + pts[:1]):
                if y0 == y1:
                    continue
                direction = 1 if y1 > y0 else -1
                if y0 > y1:
                    x0, y0, x1, y1 = x1, y1, x0, y0
                edge = (y0, y1, x0, (x1 - x0) / (y1 - y0), direction)
                for row in range(max(0, int(y0)), min(h, int(math.ceil(y1)))):
                    rows.setdefault(row, []).append(edge)
        for row in sorted(rows):
            edges = rows[row]
            cover = [0.0] * (w + 2)
            steps = [0.0] * (w + 2)
            low, high = w, 0
            for k in range(SUB):
                y = row + (k + 0.5) / SUB
                hits = sorted((x0 + (y - y0) * slope, d) for y0, y1, x0, slope, d in edges if y0 <= y < y1)
                winding = 0
                for x, d in hits:
                    before = winding
                    winding += d
                    if before == 0 and winding != 0:
                        start = x
                    elif before != 0 and winding == 0:
                        a, b = max(0.0, start), min(float(w), x)
                        if b <= a:
                            continue
                        ia, ib = int(a), int(b)
                        low, high = min(low, ia), max(high, ib)
                        if ia == ib:
                            cover[ia] += (b - a) / SUB
                        else:
                            cover[ia] += (ia + 1 - a) / SUB
                            steps[ia + 1] += 1.0 / SUB
                            steps[ib] -= 1.0 / SUB
                            cover[ib] += (b - ib) / SUB
            running = 0.0
            for x in range(low, min(high + 1, w)):
                running += steps[x]
                c = min(1.0, cover[x] + running)
                if c <= 0.0005:
                    continue
                rgba = colour(x + 0.5, row + 0.5) if callable(colour) else colour
                alpha = (rgba[3] if len(rgba) > 3 else 1.0) * c
                i = row * w + x
                keep = 1.0 - alpha
                self.r[i] = rgba[0] / 255.0 * alpha + self.r[i] * keep
                self.g[i] = rgba[1] / 255.0 * alpha + self.g[i] * keep
                self.b[i] = rgba[2] / 255.0 * alpha + self.b[i] * keep
                self.a[i] = alpha + self.a[i] * keep

    def save(self, path):
        rows = []
        for y in range(self.height):
            row = bytearray()
            for i in range(y * self.width, (y + 1) * self.width):
                a = self.a[i]
                if a <= 0.0:
                    row += b"\0\0\0\0"
                    continue
                row += bytes(min(255, int(v / a * 255 + 0.5)) for v in (self.r[i], self.g[i], self.b[i]))
                row.append(min(255, int(a * 255 + 0.5)))
            rows.append(row)
        write_png(path, self.width, self.height, rows)


def area(pts):
    return sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1) in zip(pts, pts[1:] + pts[:1]))


def offset(pts, d):
    """Moves a polygon's edges outward by d (inward when negative), mitred corners."""
    sign = 1 if area(pts) > 0 else -1
    out = []
    n = len(pts)
    for i in range(n):
        (px, py), (x, y), (nx, ny) = pts[i - 1], pts[i], pts[(i + 1) % n]
        normals = []
        for dx, dy in ((x - px, y - py), (nx - x, ny - y)):
            length = math.hypot(dx, dy) or 1.0
            normals.append((sign * dy / length, -sign * dx / length))
        (ax, ay), (bx, by) = normals
        k = d / max(0.2, 1.0 + ax * bx + ay * by)
        out.append((x + (ax + bx) * k, y + (ay + by) * k))
    return out


def ellipse(cx, cy, rx, ry=None, steps=48):
    ry = rx if ry is None else ry
    return [(cx + rx * math.cos(2 * math.pi * i / steps), cy + ry * math.sin(2 * math.pi * i / steps)) for i in range(steps)]


def arc(cx, cy, rx, ry, start, end, steps=16):
    """Points along an ellipse from angle start to end (degrees, y down: 270 is the top)."""
    return [(cx + rx * math.cos(math.radians(start + (end - start) * i / steps)),
             cy + ry * math.sin(math.radians(start + (end - start) * i / steps))) for i in range(steps + 1)]


def rect(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def rotate(pts, degrees, cx, cy):
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))
    return [(cx + (x - cx) * c - (y - cy) * s, cy + (x - cx) * s + (y - cy) * c) for x, y in pts]


def star(cx, cy, outer, inner, points=5, turn=-90):
    return [(cx + (outer if i % 2 == 0 else inner) * math.cos(math.radians(turn + 180.0 * i / points)),
             cy + (outer if i % 2 == 0 else inner) * math.sin(math.radians(turn + 180.0 * i / points)))
            for i in range(points * 2)]


def rounded(x0, y0, x1, y1, r, steps=4):
    """A rectangle with quarter-circle corners of radius r."""
    return (arc(x1 - r, y0 + r, r, r, 270, 360, steps) + arc(x1 - r, y1 - r, r, r, 0, 90, steps) +
            arc(x0 + r, y1 - r, r, r, 90, 180, steps) + arc(x0 + r, y0 + r, r, r, 180, 270, steps))


def capsules(pts, width):
    """One round-capped contour per segment; the non-zero fill joins them."""
    r = width / 2.0
    out = []
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        angle = math.degrees(math.atan2(y1 - y0, x1 - x0))
        out.append(arc(x1, y1, r, r, angle - 90, angle + 90, 8) + arc(x0, y0, r, r, angle + 90, angle + 270, 8))
    return out or [ellipse(pts[0][0], pts[0][1], r, r, 16)]


class Pic:
    """Draws in design units onto Pixels: unit pixels per unit, origin at (ox, oy)."""
    def __init__(self, pixels, unit=1.0, ox=0.0, oy=0.0):
        self.px, self.unit, self.ox, self.oy = pixels, unit, ox, oy

    def view(self, x, y, unit):
        return Pic(self.px, unit * self.unit, self.ox + x * self.unit, self.oy + y * self.unit)

    def shape(self, colour, *contours):
        self.px.fill([[(self.ox + x * self.unit, self.oy + y * self.unit) for x, y in c] for c in contours], colour)

    def line(self, colour, width, *paths):
        self.shape(colour, *[c for pts in paths for c in capsules(pts, width)])

    def solid(self, pts, fill, ink=INK, w=1.0):
        """The shape in ink with its inset in the fill colour: a crisp outline on whole units."""
        self.shape(ink, pts)
        self.shape(fill, offset(pts, -w))


# ---- contents pictures, 16 units -------------------------------------------------------------
# The public list of image names gives only the order (book, folder, query, text, web document, web
# link, info, link, booklet, e-mail, e-mail 2, image, audio, music, video, index, idea, note, tool,
# each followed by its "new" copy); how each one looks is our own reading of its name.

def new_mark(p):
    p.shape(PAPER, star(12.5, 3.5, 4.6, 2.4, 4, -90))
    p.shape(ORANGE, star(12.5, 3.5, 3.6, 1.2, 4, -90))
    p.shape(YELLOW, ellipse(12.5, 3.5, 1.0, 1.0, 12))


def book_closed(p, cover=BLUE):
    p.solid(rect(4, 3, 14, 15), PAPER)                         # the pages, seen past the cover
    p.shape(PAPER_SHADE, rect(5, 13, 13, 14), rect(12, 4, 13, 14))
    p.solid(rect(2, 1, 12, 13), cover)
    p.shape(INK, rect(4, 2, 5, 12))                            # spine
    p.shape(PAPER, rect(6, 4, 10, 6))                          # title label


def book_open(p):
    p.solid([(0, 5), (8, 6), (16, 5), (16, 15), (8, 16), (0, 15)], BLUE)
    for side in (1, -1):
        page = [(8 - side * 7, 2), (8, 3.5), (8, 14), (8 - side * 7, 12.5)]
        p.solid(page, PAPER)
        p.line(TEXT_LINE, 1, *[[(8 - side * 5.5, y - 0.8), (8 - side * 1.8, y)] for y in (6.5, 9)])


def folder_closed(p):
    p.solid([(1, 2), (6, 2), (8, 4), (15, 4), (15, 14), (1, 14)], FOLDER)
    p.shape(PAPER + (0.55,), rect(2, 5, 14, 6))


def folder_open(p):
    p.solid([(1, 2), (6, 2), (8, 4), (14, 4), (14, 14), (1, 14)], FOLDER_BACK)
    p.solid([(3.5, 7), (16, 7), (13.5, 14), (1, 14)], FOLDER)


def page(p, fold=True):
    if not fold:
        return p.solid(rect(2, 1, 13, 15), PAPER)
    p.solid([(3, 1), (10, 1), (14, 5), (14, 15), (3, 15)], PAPER)
    p.solid([(9, 1), (10, 1), (14, 5), (14, 6), (9, 6)], PAPER_SHADE)


def text_lines(p, x0, x1, ys, colour=TEXT_LINE):
    p.shape(colour, *[rect(x0, y, x1, y + 1) for y in ys])


def query(p):
    page(p)                                 # whole-unit blocks: a curved mark blurs at 16 px
    p.shape(BLUE, rect(6, 3, 11, 5), rect(5, 4, 7, 6), rect(10, 4, 12, 8), rect(8, 7, 11, 9),
            rect(8, 8, 10, 10), rect(8, 11, 10, 13))


def text(p):
    page(p)
    text_lines(p, 5, 12, (7, 9, 11))
    text_lines(p, 5, 9, (13,))
    text_lines(p, 5, 8, (3, 5))


def globe(p, cx, cy, r):
    p.solid(ellipse(cx, cy, r, r), BLUE_LIGHT)
    p.shape(GREEN + (0.9,), [(cx - r * 0.55, cy - r * 0.6), (cx + r * 0.1, cy - r * 0.75), (cx + r * 0.05, cy - r * 0.1),
                             (cx - r * 0.3, cy + r * 0.5), (cx - r * 0.7, cy)])
    p.shape(GREEN + (0.9,), [(cx + r * 0.35, cy + r * 0.05), (cx + r * 0.75, cy + r * 0.15), (cx + r * 0.4, cy + r * 0.7)])
    if r * p.unit >= 8:                     # the grid lines only muddy a small globe
        p.line(INK + (0.55,), 0.8, arc(cx, cy, r * 0.42, r - 0.6, 0, 360, 24), [(cx - r + 0.6, cy), (cx + r - 0.6, cy)])


def shortcut(p):
    p.solid(rect(0, 8, 8, 16), PAPER)
    p.line(BLUE, 1.5, arc(6.2, 14.2, 3.6, 3.6, 180, 270, 8))
    p.shape(BLUE, [(3.8, 9.0), (7.6, 10.6), (3.8, 13.0)])


def web_doc(p):
    page(p)
    text_lines(p, 5, 11, (4, 6))
    globe(p, 9.5, 11, 4.5)


def web_link(p):
    globe(p, 9, 7, 6.5)
    shortcut(p)


def info(p):
    p.solid(ellipse(8, 8, 7.5, 7.5), BLUE)
    p.shape(PAPER, ellipse(8, 4.6, 1.3, 1.3, 12), rect(7, 7, 9, 12.5), rect(6, 7, 8, 8), rect(6, 11.5, 10, 12.5))


def link(p):
    page(p)
    text_lines(p, 5, 12, (7, 9, 11))
    shortcut(p)


def booklet(p):
    p.solid([(4, 2), (13, 0.5), (13, 13.5), (4, 15)], PAPER)   # the inner sheets peek out
    p.solid([(3, 2), (11, 1), (11, 14), (3, 15)], TEAL)
    p.shape(PAPER, rect(3, 4, 4, 5), rect(3, 11, 4, 12))       # staples on the fold
    p.shape(PAPER + (0.85,), [(6, 4.6), (9, 4.2), (9, 5.2), (6, 5.6)])


def email(p):
    p.solid(rect(1, 3, 15, 13), PAPER)
    p.line(INK, 1, [(1.8, 3.8), (8, 9), (14.2, 3.8)])
    p.line(INK + (0.5,), 1, [(1.8, 12.2), (6, 8)], [(14.2, 12.2), (10, 8)])


def email2(p):
    p.solid([(1, 7), (8, 1.5), (15, 7), (15, 15), (1, 15)], PAPER_SHADE)
    p.solid(rect(3.5, 3, 12.5, 12), PAPER)                    # the letter half out
    text_lines(p, 5, 11, (5, 7))
    p.solid([(1, 7), (8, 12), (15, 7), (15, 15), (1, 15)], PAPER)
    p.shape(RED, ellipse(8, 11.3, 1.4, 1.4, 12))


def image(p):
    p.solid(rect(0, 2, 16, 14), (196, 226, 250))
    p.shape(YELLOW, ellipse(11, 5.8, 1.8, 1.8, 16))
    p.shape(GREEN, [(1, 13), (1, 10), (5, 6), (9, 10), (11, 8.5), (15, 12), (15, 13)])


def audio(p):
    p.solid([(1, 5), (4, 5), (8, 1), (8, 15), (4, 11), (1, 11)], GREY)
    p.line(BLUE, 1.4, arc(8.5, 8, 3, 3, -40, 40, 8), arc(8.5, 8, 6, 6, -45, 45, 10))


def music(p):
    heads = [rotate(ellipse(x, y, 2.6, 1.9, 20), -25, x, y) for x, y in ((4.2, 12.6), (11.6, 11.2))]
    for pts in heads:
        p.shape(INK, offset(pts, 0.8))
    p.shape(INK, [(5.2, 12), (5.2, 3.8), (15, 1.5), (15, 11), (13.4, 11), (13.4, 4.6), (6.8, 6), (6.8, 12)])
    p.shape(PURPLE, [(6, 4.4), (14.2, 2.5), (14.2, 4.0), (6, 5.8)])
    for pts in heads:
        p.shape(PURPLE, pts)


def video(p):
    p.solid(rect(1, 1, 15, 15), FILM)
    p.shape(PAPER, *[rect(x, y, x + 1.5, y + 1.5) for x in (2, 12.5) for y in (2.5, 5.5, 8.5, 11.5)])
    p.solid(rect(4.5, 2, 11.5, 7.5), BLUE_LIGHT, FILM)
    p.solid(rect(4.5, 8.5, 11.5, 14), BLUE_LIGHT, FILM)


def index(p):
    for y, colour in ((3, RED), (7, GREEN), (11, BLUE)):
        p.solid(rect(10, y, 16, y + 3), colour)                # tabs on the right edge
    page(p, False)
    p.shape(INK + (0.85,), *[rect(4, y, 5, y + 1) for y in (4, 7, 10)])
    text_lines(p, 6, 11, (4, 7, 10))
    text_lines(p, 4, 9, (13,))


def idea(p):
    p.solid(arc(8, 6.5, 5.5, 5.5, 125, 415, 20) + [(10, 11), (6, 11)], YELLOW)
    p.solid(rect(5.5, 10.5, 10.5, 14), GREY)
    p.shape(INK, rect(6, 12, 10, 12.6), rect(7, 14, 9, 15.2))
    p.shape(PAPER + (0.9,), arc(8, 6.5, 3.2, 3.2, 200, 250, 6) + arc(8, 6.5, 2.2, 2.2, 250, 200, 6))


def note(p):
    p.solid([(1, 1), (15, 1), (15, 10), (10, 15), (1, 15)], YELLOW)
    p.solid([(10, 10), (15, 10), (10, 15)], (226, 172, 30))
    text_lines(p, 3, 13, (4, 7), (150, 120, 30))
    text_lines(p, 3, 8, (10,), (150, 120, 30))


def tool(p):
    handle = rotate(rect(6.5, 5, 9.5, 17), 45, 8, 8)
    head = rotate(rect(2.5, 0.5, 13.5, 5.5), 45, 8, 8)
    p.solid(handle, (190, 120, 60))
    p.solid(head, GREY)


CONTENTS = [query, text, web_doc, web_link, info, link, booklet, email, email2, image,
            audio, music, video, index, idea, note, tool]


def contents_picture(number, p):
    if number <= 8:
        draw = [book_closed, book_open, folder_closed, folder_open][(number - 1) // 4 * 2 + (number - 1) % 2]
        marked = (number - 1) % 4 >= 2
    else:
        draw, marked = CONTENTS[(number - 9) // 2], number % 2 == 0
    draw(p)
    if marked:
        new_mark(p)


# ---- tool bar, 24 units; list buttons, 16 units ---------------------------------------------

def arrow(p, turn, grid=24, colour=BLUE, bar=False):
    """An arrow pointing right, turned by turn degrees about the picture's centre."""
    c = grid / 2.0
    s = grid / 24.0
    pts = [(3, 9), (12, 9), (12, 4), (21, 12), (12, 20), (12, 15), (3, 15)]
    if bar:
        pts = [(x - 2, y) for x, y in pts]
        p.solid(rotate(rect(20 * s, 3 * s, 23 * s, 21 * s), turn, c, c), colour)
    p.solid(rotate([(x * s, y * s) for x, y in pts], turn, c, c), colour)


def gear(cx, cy, outer, inner, teeth=8):
    pts = []
    step = 360.0 / teeth
    for k in range(teeth):
        a = k * step
        for da, r in ((-0.3, inner), (-0.17, outer), (0.17, outer), (0.3, inner)):
            pts.append((cx + r * math.cos(math.radians(a + da * step)), cy + r * math.sin(math.radians(a + da * step))))
    return pts


def tb_new(p):
    p.solid([(5, 1), (15, 1), (21, 7), (21, 23), (5, 23)], PAPER)
    p.solid([(14, 1), (15, 1), (21, 7), (21, 8), (14, 8)], PAPER_SHADE)
    p.solid(star(7, 7.5, 6.8, 3.0), YELLOW, (190, 110, 0))


def tb_open(p):
    p.solid([(1, 3), (9, 3), (11, 6), (21, 6), (21, 21), (1, 21)], FOLDER_BACK)
    p.solid([(5, 10), (24, 10), (20, 21), (1, 21)], FOLDER)


def tb_save(p):
    p.solid([(2, 2), (19, 2), (22, 5), (22, 22), (2, 22)], BLUE)
    p.solid(rect(6, 2, 18, 9), (214, 220, 228))
    p.shape(INK, rect(14, 3, 16, 8))
    p.solid(rect(5, 13, 19, 22), PAPER)
    text_lines(p, 7, 17, (15, 18))


def tb_create(p):
    for d in (0, 3):
        p.solid([(2 + d, 1 + d), (11 + d, 1 + d), (15 + d, 5 + d), (15 + d, 18 + d), (2 + d, 18 + d)], PAPER)
    text_lines(p, 7, 15, (8, 11, 14))
    ring = gear(16, 16, 7.6, 5.6)
    p.shape(INK, ring, ellipse(16, 16, 2.4, 2.4, 24)[::-1])
    p.shape(ORANGE, offset(ring, -1), ellipse(16, 16, 3.4, 3.4, 24)[::-1])


def tb_help(p):
    p.solid(ellipse(12, 12, 11, 11, 64), BLUE)
    p.line(PAPER, 2.6, arc(12, 9.2, 3.6, 3.4, 190, 400, 16) + [(12, 14)])
    p.shape(PAPER, ellipse(12, 18, 1.6, 1.6, 16))


def tb_browse(p):
    p.solid([(1, 3), (9, 3), (11, 6), (21, 6), (21, 20), (1, 20)], FOLDER)
    p.shape(PAPER + (0.55,), rect(2, 7, 20, 8))
    globe(p, 16.5, 16, 7)


def tb_preview(p):
    p.solid(rect(1, 2, 23, 22), PAPER)
    p.shape(BLUE, rect(2, 3, 22, 7))
    p.line(GREY, 1, [(5.5, 10), (5.5, 19.5), (9, 19.5)], [(5.5, 15.5), (9, 15.5)])
    for x, y, colour in ((4, 9, BLUE), (8, 14, GREEN), (8, 18, GREEN)):
        p.solid(rect(x, y, x + 3, y + 3), colour)
        text_lines(p, x + 5, 21 if x == 4 else 19, (y + 1,))


# The help window's tool bar (the mock-up in the designer). Outlines sit on whole units here too,
# so a half-unit line or a 1.2-unit pen of the drawn-in-code pictures becomes a 1-unit inset.

def tb_pane(hide):
    def draw(p):
        p.solid(rect(2, 4, 22, 20), PAPER)                     # the window
        p.solid(rect(2, 4, 9, 20), BLUE_LIGHT if hide else PAPER)   # its left pane
        p.shape(BLUE, [(17, 8), (17, 16), (12, 12)] if hide else [(13, 8), (18, 12), (13, 16)])
    return draw


def tb_locate(p):
    p.shape(BLUE, ellipse(12, 12, 7.5, 7.5, 64), ellipse(12, 12, 5.5, 5.5, 64)[::-1])
    p.line(BLUE, 2, [(12, 1.5), (12, 7)], [(12, 17), (12, 22.5)], [(1.5, 12), (7, 12)], [(17, 12), (22.5, 12)])
    p.shape(RED, ellipse(12, 12, 2, 2, 24))


def tb_stop(p):
    r = 10 / math.cos(math.radians(22.5))                      # the flat sides on 2 and 22
    p.solid([(12 + r * math.cos(math.radians(22.5 + 45 * k)), 12 + r * math.sin(math.radians(22.5 + 45 * k)))
             for k in range(8)], RED, (164, 49, 40))
    p.line(PAPER, 2.6, [(8, 8), (16, 16)], [(16, 8), (8, 16)])


def tb_refresh(p):
    p.line(GREEN, 2.6, arc(12, 12, 7.5, 7.5, -100, -390, 40))   # clockwise round to the head
    a = math.radians(100)
    ex, ey = 12 + 7.5 * math.cos(a), 12 - 7.5 * math.sin(a)
    (ax, ay), (ox, oy) = (math.sin(a), math.cos(a)), (math.cos(a), -math.sin(a))
    p.shape(GREEN, [(ex + ax * 4.5, ey + ay * 4.5), (ex + ox * 4, ey + oy * 4), (ex - ox * 4, ey - oy * 4)])


def tb_home(p):
    p.solid(rect(5, 11, 19, 22), PAPER)
    p.solid(rect(10, 14, 15, 22), BLUE)
    p.solid(offset([(1.5, 12.5), (12, 2.5), (22.5, 12.5)], 0.5), RED)


def tb_print(p):
    p.solid(rect(6, 2, 18, 10), PAPER)
    p.solid(rounded(2, 8, 22, 18, 2.5), GREY)
    p.solid(rect(6, 14, 18, 23), PAPER)
    p.shape(GREY, rect(8, 17, 16, 18), rect(8, 19, 14, 20))
    p.shape(GREEN, ellipse(18.5, 11, 1, 1, 16))


def tb_option(p):
    teeth = [rotate(rect(10, 1, 14, 6), 45 * k, 12, 12) for k in range(8)]
    p.shape((125, 133, 145), ellipse(12, 12, 7.5, 7.5, 64), *teeth)
    p.shape(PAPER, ellipse(12, 12, 3, 3, 24))


def tb_jump(p):
    bend = [(4.5, 21), (4.5, 13.5)]
    for i in range(1, 13):                                     # the quadratic bend to (10.5, 7.5)
        t = i / 12.0
        bend.append(((1 - t) ** 2 * 4.5 + 2 * (1 - t) * t * 4.5 + t * t * 10.5,
                     (1 - t) ** 2 * 13.5 + 2 * (1 - t) * t * 7.5 + t * t * 7.5))
    p.line(BLUE, 3, bend + [(15, 7.5)])
    p.shape(BLUE, [(14, 2), (21.5, 7.5), (14, 13)])


def small_arrow(turn, bar=False):
    def draw(p):
        c, pts = 8.0, [(1, 9), (8, 2), (15, 9), (11, 9), (11, 15), (5, 15), (5, 9)]
        if bar:
            p.solid(rotate(rect(1, 1, 15, 4), turn, c, c), BLUE)
            pts = [(2, 11), (8, 5), (14, 11), (10, 11), (10, 15), (6, 15), (6, 11)]
        p.solid(rotate(pts, turn, c, c), BLUE)
    return draw


TOOLBAR = {"new": tb_new, "open": tb_open, "save": tb_save, "create": tb_create,
           "previous": lambda p: arrow(p, 180), "next": lambda p: arrow(p, 0),
           "help": tb_help, "browse": tb_browse, "preview": tb_preview,
           "hide": tb_pane(True), "show": tb_pane(False), "locate": tb_locate, "stop": tb_stop,
           "refresh": tb_refresh, "home": tb_home, "print": tb_print, "option": tb_option, "jump": tb_jump}
LIST_BUTTONS = {"top": small_arrow(0, True), "up": small_arrow(0), "down": small_arrow(180),
                "bottom": small_arrow(180, True), "folder": folder_closed}


# ---- application icon, 64 units ----------------------------------------------------------------

def leaf(base, control, tip, width, shrink=0.0, steps=28):
    """A leaf along a quadratic curve: the left and right halves and the midrib."""
    def point(t):
        u = 1 - t
        x = u * u * base[0] + 2 * u * t * control[0] + t * t * tip[0]
        y = u * u * base[1] + 2 * u * t * control[1] + t * t * tip[1]
        dx = 2 * u * (control[0] - base[0]) + 2 * t * (tip[0] - control[0])
        dy = 2 * u * (control[1] - base[1]) + 2 * t * (tip[1] - control[1])
        length = math.hypot(dx, dy)
        return x, y, -dy / length, dx / length
    left, right, rib = [], [], []
    for i in range(steps + 1):
        t = 0.02 + 0.96 * i / steps if shrink else i / float(steps)
        x, y, nx, ny = point(t)
        half = max(0.0, width * math.sin(math.pi * t ** 0.85) - shrink)
        rib.append((x, y))
        left.append((x + nx * half, y + ny * half))
        right.append((x - nx * half, y - ny * half))
    return left, right, rib


def app_icon(p, pixels):
    w = max(1.25, 64.0 / pixels)           # at least one pixel of outline
    p = p.view(-4, 0, 1.0)                 # the leaf reaches further right than the page left
    p.solid([(12, 4), (38, 4), (52, 18), (52, 56), (12, 56)], PAPER, INK, w)
    p.solid([(36, 4), (38, 4), (52, 18), (52, 20), (36, 20)], PAPER_SHADE, INK, w)
    unit = pixels / 64.0
    snap = lambda v: round((v - 4) * unit) / unit + 4
    bars = [(18, 11, 30, 1.2), (18, 17, 30, 1.2), (18, 24, 44, 1.8), (18, 30, 38, 1.8)]
    if pixels < 48:
        bars = [(18, 12, 30, 1), (18, 18, 30, 1), (18, 26, 44, 1)] if pixels >= 32 else [(18, 14, 30, 1), (18, 22, 38, 1)]
    for x0, y, x1, h in bars:                # text lines on whole pixels, so they stay sharp
        p.shape(TEXT_LINE, rect(snap(x0), snap(y), snap(x1), snap(y) + max(1, round(h * w * unit)) / unit))
    shape = (22, 58), (50, 52), (60, 20), 13.0
    left, right, rib = leaf(*shape)
    p.line(GREEN_DARK, 2.6 if pixels >= 48 else 4.0, [(23, 57), (16, 63)])
    p.shape(GREEN_DARK, left + right[::-1])
    left, right, rib = leaf(*shape, shrink=w)
    p.shape(GREEN_LIGHT, left + rib[::-1])
    p.shape(GREEN, rib + right[::-1])
    if pixels >= 32:
        p.line((214, 240, 176), w * 0.9, rib[2:-3])
    if pixels >= 64:
        for t in (9, 14, 19):
            (x0, y0), (x, y), (x1, y1) = rib[t - 1:t + 2]
            tx, ty = (x1 - x0) / math.hypot(x1 - x0, y1 - y0), (y1 - y0) / math.hypot(x1 - x0, y1 - y0)
            p.line((214, 240, 176), w * 0.7, *[[(x, y), (x + 5 * (tx * 0.7 + s * ty), y + 5 * (ty * 0.7 - s * tx))]
                                               for s in (1, -1)])


# ---- splash: built-in stroke font --------------------------------------------------------------
# Glyphs are centre lines in units with y up from the baseline, x-height 10; (width, paths, dots).

def _a(cx, cy, r, start, end, rx=None):
    return arc(cx, cy, rx or r, r, start, end, 20)


GLYPHS = {
    "L": (7, [[(0, 14), (0, 0), (7, 0)]], []),
    "e": (10, [[(0, 5), (10, 5)] + _a(5, 5, 5, 0, 320)], []),
    "a": (10, [_a(5, 5, 5, 0, 360), [(10, 10), (10, 0)]], []),
    "f": (7, [[(2, 0), (2, 10.5)] + _a(5.5, 10.5, 3.5, 180, 20), [(-0.5, 10), (6.5, 10)]], []),
    "s": (7, [_a(3.5, 7.5, 2.5, 30, 270, 3.5) + _a(3.5, 2.5, 2.5, 90, -150, 3.5)[1:]], []),
    "m": (12, [[(0, 0), (0, 10)], [(0, 7)] + _a(3, 7, 3, 180, 0) + [(6, 0)], [(6, 7)] + _a(9, 7, 3, 180, 0) + [(12, 0)]], []),
    "i": (0, [[(0, 0), (0, 10)]], [(0, 13.6)]),
    "t": (6.5, [[(2, 13), (2, 3)] + _a(5, 3, 3, 180, 290), [(-0.5, 10), (6.5, 10)]], []),
    "h": (9, [[(0, 0), (0, 14)], [(0, 5.5)] + _a(4.5, 5.5, 4.5, 180, 0) + [(9, 0)]], []),
}
KERN = {"L": -2.0, "f": -1.0, "t": -0.5}


def text_width(word, stroke, gap):
    return sum(GLYPHS[ch][0] + KERN.get(ch, 0) for ch in word) + (stroke + gap) * (len(word) - 1)


def draw_text(p, word, x, baseline, size, colours, stroke=2.2, gap=1.6):
    """size: pixels per font unit; colours: one per letter."""
    for ch, colour in zip(word, colours):
        width, paths, dots = GLYPHS[ch]
        place = lambda pts: [(x + px * size, baseline - py * size) for px, py in pts]
        p.line(colour, stroke * size, *[place(pts) for pts in paths])
        for dx, dy in dots:
            p.shape(colour, ellipse(*place([(dx, dy)])[0], stroke * size * 0.62, steps=20))
        x += (width + KERN.get(ch, 0) + stroke + gap) * size


def splash(p):
    """340 x 207 units; the lower right stays plain and dark for the version label."""
    top, bottom = (24, 78, 62), (14, 30, 48)
    scale = p.unit

    def background(x, y):
        t = min(1.0, max(0.0, (y / scale) / 207.0 * 0.75 + (x / scale) / 340.0 * 0.35))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    p.shape(background, rect(0, 0, 340, 207))
    left, right, rib = leaf((236, 70), (330, 80), (372, -30), 48)   # a faint leaf, clear of the label
    p.shape(PAPER + (0.045,), left + right[::-1])
    p.shape(PAPER + (0.03,), left + rib[::-1])
    p.shape(GREEN_LIGHT, rect(148, 128, 318, 130))
    app_icon(p.view(18, 40, 120 / 64.0), 120 * scale)
    word = "Leafsmith"
    size = 170.0 / text_width(word, 2.2, 1.6)
    colours = [(170, 226, 120)] * 4 + [PAPER] * 5
    draw_text(p, word, 150, 112, size, colours)


# ---- output --------------------------------------------------------------------------------------

def render(path, width, height, draw, unit=1.0):
    pixels = Pixels(width, height)
    draw(Pic(pixels, unit))
    pixels.save(path)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "ui")
    count = 0
    for scale, suffix in ((1, ""), (2, "@2x")):
        for n in range(1, 43):
            render(os.path.join(target, "contents", "%d%s.png" % (n, suffix)), 16 * scale, 16 * scale,
                   lambda p: contents_picture(n, p), scale)
        for name, draw in TOOLBAR.items():
            render(os.path.join(target, "toolbar", name + suffix + ".png"), 24 * scale, 24 * scale, draw, scale)
        for name, draw in LIST_BUTTONS.items():
            render(os.path.join(target, "toolbar", name + suffix + ".png"), 16 * scale, 16 * scale, draw, scale)
        render(os.path.join(target, "splash%s.png" % suffix), 340 * scale, 207 * scale, splash, scale)
        count += 42 + len(TOOLBAR) + len(LIST_BUTTONS) + 1
    for size in (16, 32, 48, 64, 128, 256):
        name = "leafsmith.png" if size == 256 else "leafsmith-%d.png" % size
        render(os.path.join(target, name), size, size, lambda p: app_icon(p, size), size / 64.0)
    render(os.path.join(target, "about.png"), 64, 64, lambda p: app_icon(p, 64))
    count += 7
    print("wrote %d pictures to %s" % (count, target))


if __name__ == "__main__":
    main()
