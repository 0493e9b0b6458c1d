#!/usr/bin/env python3
"""Draws the small GIF pictures in data/icons: the expand/collapse boxes of expandable blocks
(cplus.gif, cminus.gif), the contents-tree pictures 1.gif to 11.gif (books, folders, pages) and the
tree lines and plus/minus boxes the website's contents tree draws with; and data/nopic.bmp, the
preview shown for templates without a sample picture. With --group, the same pictures drawn flat
in that group's colours, for the group's own icons folder.

Usage: scripts/make_icons.py [OUTPUT_FOLDER]   (default: data/icons beside this script's folder)
       scripts/make_icons.py --group NAME [OUTPUT_FOLDER]   (default: data/Templates/NAME/icons)
Needs only Python's standard library; the GIF writer is below.
"""
import argparse
import os

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

    def hline(self, x0, x1, y, colour, dotted=False):
        for x in range(x0, x1 + 1):
            if not dotted or x % 2 == 0:
                self.dot(x, y, colour)

    def vline(self, x, y0, y1, colour, dotted=False):
        for y in range(y0, y1 + 1):
            if not dotted or y % 2 == 0:
                self.dot(x, y, colour)


def shade(colour, factor):
    return tuple(max(0, min(255, int(c * factor))) for c in colour)


# Colours of the classic pictures' sheets, tree lines and +/- boxes; a flat group brings its own.
CLASSIC = {"paper": (255, 255, 255), "edge": (95, 110, 130), "rule": (150, 165, 185), "accent": (30, 90, 200),
           "line": (160, 170, 185), "dotted": True, "shape": "box", "rounded": False,
           "box": (255, 255, 255), "frame": (110, 125, 145), "sign": (30, 40, 60)}


def closed_book(cover, ink=None, paper=(250, 250, 245)):
    """Bevelled in shades of the cover; with ink, flat: ink outlines on a cover tint."""
    c = Canvas()
    dark = ink or shade(cover, 0.55)
    c.fill(3, 1, 12, 13, cover)
    c.frame(3, 1, 12, 13, dark)
    c.fill(4, 12, 13, 14, paper)                     # page edges
    c.hline(4, 13, 14, dark)
    c.vline(13, 2, 14, dark)
    c.vline(5, 2, 12, ink or shade(cover, 0.8))      # spine
    c.fill(7, 4, 10, 5, ink or (255, 255, 255))      # label
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


def flat_open_book(tint, ink):
    """Two tinted pages dipping into the spine, on a cover notched at the spine."""
    c = Canvas()
    c.fill(2, 4, 13, 11, tint)
    c.hline(1, 5, 3, ink)
    c.hline(10, 14, 3, ink)
    c.dot(6, 4, ink)
    c.dot(9, 4, ink)
    c.vline(1, 3, 12, ink)
    c.vline(14, 3, 12, ink)
    c.vline(7, 5, 12, ink)                           # spine
    c.vline(8, 5, 12, ink)
    c.hline(1, 14, 12, ink)
    c.hline(0, 6, 13, ink)
    c.hline(9, 15, 13, ink)
    for y in (6, 8, 10):
        c.hline(3, 5, y, ink)
        c.hline(10, 12, y, ink)
    return c


def closed_folder(colour, ink=None):
    c = Canvas()
    dark = ink or shade(colour, 0.6)
    c.fill(1, 3, 6, 4, colour)
    c.fill(1, 4, 14, 13, colour)
    c.frame(1, 4, 14, 13, dark)
    c.hline(1, 6, 3, dark)
    c.hline(2, 13, 5, colour if ink else shade(colour, 1.15))
    return c


def open_folder(colour, ink=None, back=None):
    c = Canvas()
    dark = ink or shade(colour, 0.6)
    back = back or shade(colour, 0.85)
    c.fill(1, 3, 6, 4, back)
    c.fill(1, 4, 12, 13, back)
    c.frame(1, 4, 12, 13, dark)
    for y in range(7, 14):                           # the front flap, tilted open
        shift = (13 - y) // 2
        c.hline(2 + shift, 14 + shift - 2, y, colour)
        if ink:                                      # flat: outline its slanted sides
            c.dot(2 + shift, y, ink)
            c.dot(12 + shift, y, ink)
    c.hline(2, 14, 13, dark)
    c.hline(5, 15, 7, dark)
    return c


def page(mark=None, look=CLASSIC):
    c = Canvas()
    edge = look["edge"]
    c.fill(3, 1, 12, 14, look["paper"])
    c.frame(3, 1, 12, 14, edge)
    c.fill(10, 1, 12, 3, TRANSPARENT)                # folded corner
    c.vline(10, 1, 3, edge)
    c.hline(10, 12, 3, edge)
    c.dot(11, 2, edge)
    if mark == "question":
        for x, y in [(6, 5), (7, 4), (8, 4), (9, 5), (9, 6), (8, 7), (7, 8), (7, 9), (7, 11)]:
            c.dot(x, y, look["accent"])
    elif mark == "blank":
        pass
    else:
        for y in (5, 7, 9, 11):
            c.hline(5, 10, y, look["rule"])
    return c


def joint(c, x0, y0, plus, look, depth=4):
    """A 9x9 closed/open mark at x0, y0: a +/- box, or a ▸/▾ triangle depth pixels deep."""
    sign = look["sign"]
    if look["shape"] == "triangle":
        start, end = 4 - (depth - 1) // 2, 4 - depth + 1
        for i in range(depth):
            if plus:
                c.vline(x0 + start + i, y0 + end + i, y0 + 8 - end - i, sign)
            else:
                c.hline(x0 + end + i, x0 + 8 - end - i, y0 + start + i, sign)
        return
    c.fill(x0, y0, x0 + 8, y0 + 8, look["box"])
    c.frame(x0, y0, x0 + 8, y0 + 8, look["frame"])
    if look["rounded"]:
        for x, y in ((0, 0), (8, 0), (0, 8), (8, 8)):
            c.dot(x0 + x, y0 + y, TRANSPARENT)
    c.hline(x0 + 2, x0 + 6, y0 + 4, sign)
    if plus:
        c.vline(x0 + 4, y0 + 2, y0 + 6, sign)


def expander(plus, look=CLASSIC):
    c = Canvas(9, 9)
    joint(c, 0, 0, plus, look, 5)
    return c


def tree_piece(kind, look=CLASSIC):
    """16x16 pieces of the website contents tree: lines and plus/minus joins."""
    c = Canvas()
    grey, dotted = look["line"], look["dotted"]
    if kind == "vertline":
        c.vline(8, 0, 15, grey, dotted)
    elif not kind.startswith("root"):
        c.vline(8, 0, 8 if kind.startswith("last") else 15, grey, dotted)
        c.hline(8, 15, 8, grey, dotted)
    if kind.endswith(("plus", "minus")):
        joint(c, 4, 4, kind.endswith("plus"), look)
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


def rgb(code):
    return tuple(int(code[i:i + 2], 16) for i in (1, 3, 5))


def flat(paper, edge, rule, accent, line, sign, books, folder, shape="triangle", box=None, frame=None, rounded=True):
    """A flat group's look: sheets in paper, edge and rule colours, the accent on the question mark and
    the expandable blocks' marks; solid tree lines; joints are ▸/▾ triangles or +/- boxes in sign colour.
    Books are (tint, ink) in place of blue, green and red; the folder is (tint, ink, back tint)."""
    colours = dict(paper=paper, edge=edge, rule=rule, accent=accent, line=line, sign=sign, box=box, frame=frame)
    look = {key: value and rgb(value) for key, value in colours.items()}
    look.update(dotted=False, shape=shape, rounded=rounded,
                books=[tuple(map(rgb, pair)) for pair in books], folder=tuple(map(rgb, folder)))
    return look


GROUPS = {
    "Modern": flat("#ffffff", "#64748b", "#94a3b8", "#0f766e", "#cbd5e1", "#64748b",
                   [("#dbeafe", "#1d4ed8"), ("#ccfbf1", "#0f766e"), ("#ffe4e6", "#be123c")],
                   ("#fef3c7", "#b45309", "#fde68a")),
    "Dark": flat("#181d26", "#aab4c3", "#7d8798", "#f5bf4f", "#434c5a", "#aab4c3",
                 [("#1c2742", "#8fb0ff"), ("#15302c", "#5ec2b7"), ("#3a1d24", "#f48a9a")],
                 ("#3a2f14", "#f5bf4f", "#4d3d17")),
    "Compact": flat("#ffffff", "#6b7684", "#a7b0bc", "#1f5fbf", "#c3cad4", "#1f5fbf",
                    [("#dbe7fb", "#1f5fbf"), ("#dcefe3", "#2e7d4f"), ("#f8dcdc", "#b4373a")],
                    ("#fbeccb", "#a8741a", "#f3dca6"), shape="box", box="#ffffff", frame="#8d97a5"),
    "Print": flat("#ffffff", "#333333", "#999999", "#111111", "#b5b5b5", "#222222",
                  [("#ffffff", "#222222"), ("#d4d4d4", "#222222"), ("#8a8a8a", "#222222")],
                  ("#eeeeee", "#222222", "#d4d4d4"), shape="box", box="#ffffff", frame="#666666", rounded=False),
}


def pictures(look=None):
    """Every picture by name: the classic set, or a group's flat one."""
    if look is None:
        blue, green, yellow, red = (52, 101, 164), (56, 142, 60), (232, 181, 48), (192, 57, 43)
        drawn = {
            "1": closed_book(blue), "2": open_book(blue),
            "3": closed_book(green), "4": open_book(green),
            "5": closed_folder(yellow), "6": open_folder(yellow),
            "7": closed_book(red), "8": open_book(red),
            "cplus": expander(True), "cminus": expander(False),
        }
        look = CLASSIC
    else:
        paper = look["paper"]
        drawn = {}
        for number, (tint, ink) in zip((1, 3, 7), look["books"]):
            drawn[str(number)] = closed_book(tint, ink, paper)
            drawn[str(number + 1)] = flat_open_book(tint, ink)
        tint, ink, back = look["folder"]
        drawn["5"], drawn["6"] = closed_folder(tint, ink), open_folder(tint, ink, back)
        # the expandable blocks' marks stand beside text: in the accent colour
        bold = dict(look, sign=look["accent"])
        drawn["cplus"], drawn["cminus"] = expander(True, bold), expander(False, bold)
    drawn.update({"9": page(None, look), "10": page("question", look), "11": page("blank", look), "blank": Canvas()})
    for kind in ("vertline", "node", "lastnode", "plus", "minus", "lastplus", "lastminus", "rootplus", "rootminus"):
        drawn[kind] = tree_piece(kind, look)
    return drawn


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description="Draws the icons folder's pictures.")
    parser.add_argument("--group", choices=sorted(GROUPS), help="draw flat pictures in this group's colours")
    parser.add_argument("target", nargs="?", help="output folder")
    options = parser.parse_args()
    data = os.path.join(here, "..", "data")
    if options.group:
        target = options.target or os.path.join(data, "Templates", options.group, "icons")
    else:
        target = options.target or os.path.join(data, "icons")
    os.makedirs(target, exist_ok=True)
    drawn = pictures(GROUPS.get(options.group))
    for name, canvas in drawn.items():
        write_gif(os.path.join(target, name + ".gif"), canvas.pixels)
    if options.group:
        print("wrote %d pictures to %s" % (len(drawn), target))
        return
    write_bmp(os.path.join(target, "..", "nopic.bmp"), no_preview().pixels)
    print("wrote %d pictures to %s and nopic.bmp beside it" % (len(drawn), target))


if __name__ == "__main__":
    main()
