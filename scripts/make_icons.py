#!/usr/bin/env python3
"""Draws the small GIF pictures in data/icons: the expand/collapse boxes of expandable blocks
(cplus.gif, cminus.gif), the contents-tree pictures 1.gif to 11.gif (books, folders, pages) and the
tree lines and plus/minus boxes the website's contents tree draws with; and data/nopic.bmp, the
preview shown for templates without a sample picture.

Usage: scripts/make_icons.py [OUTPUT_FOLDER]   (default: data/icons beside this script's folder)
Needs only Python's standard library; the GIF writer is below.
"""
import os
import sys

TRANSPARENT = (255, 0, 255)


def lzw_encode(indices, min_code_size):
    """GIF-flavoured LZW: variable code width, clear code at start, end code at the end."""
    clear = 1 << min_code_size
    end = clear + 1
    table = {(i,): i for i in range(clear)}
    next_code = end + 1
    width = min_code_size + 1
    out = bytearray()
    bit_buffer = 0
    bit_count = 0

    def emit(code):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += width
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    emit(clear)
    current = ()
    for index in indices:
        candidate = current + (index,)
        if candidate in table:
            current = candidate
            continue
        emit(table[current])
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear)
            table = {(i,): i for i in range(clear)}
            next_code = end + 1
            width = min_code_size + 1
        current = (index,)
    if current:
        emit(table[current])
    emit(end)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def write_gif(path, pixels):
    """pixels: rows of (r, g, b) tuples; TRANSPARENT marks see-through pixels."""
    height = len(pixels)
    width = len(pixels[0])
    palette = []
    for row in pixels:
        for colour in row:
            if colour not in palette:
                palette.append(colour)
    if TRANSPARENT not in palette:
        palette.append(TRANSPARENT)
    bits = 1
    while (1 << bits) < len(palette):
        bits += 1
    size = 1 << bits
    palette += [(0, 0, 0)] * (size - len(palette))
    indices = [palette.index(colour) for row in pixels for colour in row]
    min_code_size = max(2, bits)
    data = lzw_encode(indices, min_code_size)
    gif = bytearray(b"GIF89a")
    gif += width.to_bytes(2, "little") + height.to_bytes(2, "little")
    gif += bytes([0x80 | 0x70 | (bits - 1), 0, 0])
    for r, g, b in palette:
        gif += bytes([r, g, b])
    gif += bytes([0x21, 0xF9, 4, 0x01, 0, 0, palette.index(TRANSPARENT), 0])
    gif += bytes([0x2C, 0, 0, 0, 0]) + width.to_bytes(2, "little") + height.to_bytes(2, "little") + bytes([0])
    gif += bytes([min_code_size])
    for start in range(0, len(data), 255):
        chunk = data[start:start + 255]
        gif += bytes([len(chunk)]) + chunk
    gif += bytes([0, 0x3B])
    with open(path, "wb") as file:
        file.write(gif)


class Canvas:
    def __init__(self, width=16, height=16):
        self.width = width
        self.height = height
        self.pixels = [[TRANSPARENT] * width for _ in range(height)]

    def dot(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for x in range(x0, x1 + 1):
            self.dot(x, y0, colour)
            self.dot(x, y1, colour)
        for y in range(y0, y1 + 1):
            self.dot(x0, y, colour)
            self.dot(x1, y, colour)

    def hline(self, x0, x1, y, colour):
        for x in range(x0, x1 + 1):
            self.dot(x, y, colour)

    def vline(self, x, y0, y1, colour):
        for y in range(y0, y1 + 1):
            self.dot(x, y, colour)


def shade(colour, factor):
    return tuple(max(0, min(255, int(c * factor))) for c in colour)


def closed_book(cover):
    c = Canvas()
    dark = shade(cover, 0.55)
    c.fill(3, 1, 12, 13, cover)
    c.frame(3, 1, 12, 13, dark)
    c.fill(4, 12, 13, 14, (250, 250, 245))          # page edges
    c.hline(4, 13, 14, dark)
    c.vline(13, 2, 14, dark)
    c.vline(5, 2, 12, shade(cover, 0.8))            # spine
    c.fill(7, 4, 10, 5, (255, 255, 255))            # label
    return c


def open_book(cover):
    c = Canvas()
    dark = shade(cover, 0.55)
    paper = (252, 252, 248)
    c.fill(1, 3, 7, 12, paper)
    c.fill(8, 3, 14, 12, paper)
    c.frame(1, 3, 7, 12, dark)
    c.frame(8, 3, 14, 12, dark)
    for y in (5, 7, 9):
        c.hline(2, 6, y, (150, 160, 175))
        c.hline(9, 13, y, (150, 160, 175))
    c.hline(0, 15, 13, cover)
    c.hline(0, 15, 14, dark)
    return c


def closed_folder(colour):
    c = Canvas()
    dark = shade(colour, 0.6)
    c.fill(1, 3, 6, 4, colour)
    c.fill(1, 4, 14, 13, colour)
    c.frame(1, 4, 14, 13, dark)
    c.hline(1, 6, 3, dark)
    c.hline(2, 13, 5, shade(colour, 1.15))
    return c


def open_folder(colour):
    c = Canvas()
    dark = shade(colour, 0.6)
    c.fill(1, 3, 6, 4, shade(colour, 0.85))
    c.fill(1, 4, 12, 13, shade(colour, 0.85))
    c.frame(1, 4, 12, 13, dark)
    for y in range(7, 14):                           # the front flap, tilted open
        shift = (13 - y) // 2
        c.hline(2 + shift, 14 + shift - 2, y, colour)
    c.hline(2, 14, 13, dark)
    c.hline(5, 15, 7, dark)
    return c


def page(mark=None):
    c = Canvas()
    line = (150, 165, 185)
    c.fill(3, 1, 12, 14, (255, 255, 255))
    c.frame(3, 1, 12, 14, (95, 110, 130))
    c.fill(10, 1, 12, 3, TRANSPARENT)                # folded corner
    c.vline(10, 1, 3, (95, 110, 130))
    c.hline(10, 12, 3, (95, 110, 130))
    c.dot(11, 2, (95, 110, 130))
    if mark == "question":
        blue = (30, 90, 200)
        for x, y in [(6, 5), (7, 4), (8, 4), (9, 5), (9, 6), (8, 7), (7, 8), (7, 9), (7, 11)]:
            c.dot(x, y, blue)
    elif mark == "blank":
        pass
    else:
        for y in (5, 7, 9, 11):
            c.hline(5, 10, y, line)
    return c


def expander(plus, size=9):
    c = Canvas(size, size)
    c.fill(0, 0, size - 1, size - 1, (255, 255, 255))
    c.frame(0, 0, size - 1, size - 1, (110, 125, 145))
    middle = size // 2
    c.hline(2, size - 3, middle, (30, 40, 60))
    if plus:
        c.vline(middle, 2, size - 3, (30, 40, 60))
    return c


def tree_piece(kind):
    """16x16 pieces of the website contents tree: lines and boxed plus/minus joins."""
    c = Canvas()
    grey = (160, 170, 185)
    middle = 8
    dotted = lambda x0, x1, y: [c.dot(x, y, grey) for x in range(x0, x1 + 1) if x % 2 == 0]
    dotted_v = lambda x, y0, y1: [c.dot(x, y, grey) for y in range(y0, y1 + 1) if y % 2 == 0]
    if kind == "vertline":
        dotted_v(middle, 0, 15)
    elif kind in ("node", "lastnode", "plus", "minus", "lastplus", "lastminus"):
        dotted_v(middle, 0, middle if kind.startswith("last") else 15)
        dotted(middle, 15, middle)
        if "plus" in kind or "minus" in kind:
            c.fill(4, 4, 12, 12, (255, 255, 255))
            c.frame(4, 4, 12, 12, (110, 125, 145))
            c.hline(6, 10, middle, (30, 40, 60))
            if "plus" in kind:
                c.vline(middle, 6, 10, (30, 40, 60))
    elif kind in ("rootplus", "rootminus"):
        c.fill(4, 4, 12, 12, (255, 255, 255))
        c.frame(4, 4, 12, 12, (110, 125, 145))
        c.hline(6, 10, middle, (30, 40, 60))
        if kind == "rootplus":
            c.vline(middle, 6, 10, (30, 40, 60))
    return c


def write_bmp(path, pixels):
    """24-bit uncompressed BMP; rows are stored bottom up, each padded to four bytes."""
    height = len(pixels)
    width = len(pixels[0])
    row_size = (width * 3 + 3) // 4 * 4
    data = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes([b, g, r])
        data += line + bytes(row_size - len(line))
    header = b"BM" + (54 + len(data)).to_bytes(4, "little") + bytes(4) + (54).to_bytes(4, "little")
    info = (40).to_bytes(4, "little") + width.to_bytes(4, "little") + height.to_bytes(4, "little")
    info += (1).to_bytes(2, "little") + (24).to_bytes(2, "little") + bytes(4) + len(data).to_bytes(4, "little")
    info += (2835).to_bytes(4, "little") * 2 + bytes(8)
    with open(path, "wb") as file:
        file.write(header + info + data)


def no_preview(width=200, height=160):
    """A light card with a framed picture symbol: there is no sample picture."""
    background, card, line, sky, hill, sun = (238, 241, 245), (252, 253, 254), (176, 186, 199), (214, 226, 240), (160, 178, 200), (232, 196, 110)
    c = Canvas(width, height)
    c.fill(0, 0, width - 1, height - 1, background)
    c.fill(50, 35, 149, 124, card)
    c.frame(50, 35, 149, 124, line)
    c.fill(62, 47, 137, 112, sky)
    c.frame(62, 47, 137, 112, line)
    for y in range(80, 113):  # two hills
        for x in range(62, 138):
            if y > 112 - (x - 62) * 0.9 and y > 112 - (137 - x) * 0.6 + 10:
                c.dot(x, y, hill)
    for y in range(55, 70):  # the sun
        for x in range(110, 126):
            if (x - 118) ** 2 + (y - 62) ** 2 <= 36:
                c.dot(x, y, sun)
    return c


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "icons")
    os.makedirs(target, exist_ok=True)
    blue, green, yellow, red = (52, 101, 164), (56, 142, 60), (232, 181, 48), (192, 57, 43)
    pictures = {
        "1": closed_book(blue), "2": open_book(blue),
        "3": closed_book(green), "4": open_book(green),
        "5": closed_folder(yellow), "6": open_folder(yellow),
        "7": closed_book(red), "8": open_book(red),
        "9": page(), "10": page("question"), "11": page("blank"),
        "cplus": expander(True), "cminus": expander(False),
        "blank": Canvas(),
    }
    for kind in ("vertline", "node", "lastnode", "plus", "minus", "lastplus", "lastminus", "rootplus", "rootminus"):
        pictures[kind] = tree_piece(kind)
    for name, canvas in pictures.items():
        write_gif(os.path.join(target, name + ".gif"), canvas.pixels)
    write_bmp(os.path.join(target, "..", "nopic.bmp"), no_preview().pixels)
    print("wrote %d pictures to %s and nopic.bmp beside it" % (len(pictures), target))


if __name__ == "__main__":
    main()
