#!/usr/bin/env python3
"""Draws the picture of the Block Access help page, one per language.

The picture shows a linear run with the help page's example values: four
blocks per access, one block skipped after each access, and the speed
computed over every two accesses. Writes resources/help/block_access_<lang>.jpg
(the build does not run this; the pictures are committed). Needs ImageMagick's
convert and the DejaVu fonts.

    tools/make-help-picture.py [--out DIR] [--lang en|it|fr ...]
"""
import argparse
import os
import subprocess
import sys

WIDTH, HEIGHT = 660, 300
BLOCKS_PER_ACCESS = 4
SKIPPED = 1
CALC_EVERY = 2
ACCESSES = 4
CELL = 30                # one block, with its gap
LEFT = 30
ROW_TOP, ROW_BOTTOM = 100, 140

BLUE = "#2C7EE8"
BLUE_DARK = "#1E58B0"
GREY = "#D4D9E0"
GREY_DARK = "#8A93A0"
GREEN = "#1F9D55"
INK = "#202833"

TEXTS = {
    "en": {
        "values": ["blocks per access = 4", "skipped blocks = 1", "calc speed = 2"],
        "start": "Start Block",
        "access": "Access %d",
        "skipped": "skipped",
        "speed": "speed of accesses %d + %d",
        "legend_block": "block read or written",
        "legend_skip": "block skipped",
    },
    "it": {
        "values": ["blocchi per accesso = 4", "blocchi saltati = 1", "calcolo velocit\u00e0 = 2"],
        "start": "Blocco iniziale",
        "access": "Accesso %d",
        "skipped": "saltato",
        "speed": "velocit\u00e0 degli accessi %d + %d",
        "legend_block": "blocco letto o scritto",
        "legend_skip": "blocco saltato",
    },
    "fr": {
        "values": ["blocs par acc\u00e8s = 4", "blocs ignor\u00e9s = 1", "calcul de la vitesse = 2"],
        "start": "Bloc de d\u00e9but",
        "access": "Acc\u00e8s %d",
        "skipped": "ignor\u00e9",
        "speed": "vitesse des acc\u00e8s %d + %d",
        "legend_block": "bloc lu ou \u00e9crit",
        "legend_skip": "bloc ignor\u00e9",
    },
}

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"


def quoted(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def cell_x(block):
    return LEFT + block * CELL


def text(commands, x, y, words, size=12, colour=INK, bold=False, anchor="middle"):
    commands.append("push graphic-context")
    commands.append("font %s" % quoted(FONT_BOLD if bold else FONT))
    commands.append("font-size %d" % size)
    commands.append("fill %s" % colour)
    commands.append("text-anchor %s" % anchor)
    commands.append("text %d,%d %s" % (x, y, quoted(words)))
    commands.append("pop graphic-context")


def bracket(commands, x0, x1, y, colour, depth=8):
    commands.append("push graphic-context")
    commands.append("stroke %s" % colour)
    commands.append("stroke-width 2")
    commands.append("fill none")
    commands.append("polyline %d,%d %d,%d %d,%d %d,%d" % (x0, y, x0, y + depth, x1, y + depth, x1, y))
    mid = (x0 + x1) // 2
    commands.append("line %d,%d %d,%d" % (mid, y + depth, mid, y + depth + 6))
    commands.append("pop graphic-context")


def drawing(lang):
    t = TEXTS[lang]
    c = ["viewbox 0 0 %d %d" % (WIDTH, HEIGHT), "stroke-antialias 1", "text-antialias 1"]
    # The example values on top.
    for i, words in enumerate(t["values"]):
        text(c, 20 + i * 215, 30, words, size=14, bold=True, anchor="start")

    stride = BLOCKS_PER_ACCESS + SKIPPED
    blocks = ACCESSES * stride
    # The start block marker.
    text(c, cell_x(0), 66, t["start"], size=12, colour=BLUE_DARK, bold=True, anchor="start")
    c.append("push graphic-context")
    c.append("stroke %s" % BLUE_DARK)
    c.append("stroke-width 2")
    c.append("line %d,72 %d,%d" % (cell_x(0) + 13, cell_x(0) + 13, ROW_TOP - 6))
    c.append("fill %s" % BLUE_DARK)
    c.append("polygon %d,%d %d,%d %d,%d" % (cell_x(0) + 8, ROW_TOP - 10, cell_x(0) + 18, ROW_TOP - 10,
                                            cell_x(0) + 13, ROW_TOP - 2))
    c.append("pop graphic-context")

    # The blocks, numbered from the start block.
    for block in range(blocks):
        skipped = block % stride >= BLOCKS_PER_ACCESS
        x = cell_x(block)
        c.append("push graphic-context")
        c.append("fill %s" % (GREY if skipped else BLUE))
        c.append("stroke %s" % (GREY_DARK if skipped else BLUE_DARK))
        c.append("stroke-width 1")
        c.append("roundrectangle %d,%d %d,%d 3,3" % (x, ROW_TOP, x + CELL - 4, ROW_BOTTOM))
        c.append("pop graphic-context")
        text(c, x + (CELL - 4) // 2, ROW_TOP + 25, str(block), size=11, colour=INK if skipped else "white")
        if skipped:
            text(c, x + (CELL - 4) // 2, ROW_TOP - 8, t["skipped"], size=10, colour=GREY_DARK)

    # One bracket per access, one per speed value.
    for access in range(ACCESSES):
        x0 = cell_x(access * stride)
        x1 = cell_x(access * stride + BLOCKS_PER_ACCESS) - 4
        bracket(c, x0, x1, ROW_BOTTOM + 6, BLUE_DARK)
        text(c, (x0 + x1) // 2, ROW_BOTTOM + 36, t["access"] % (access + 1), size=12, colour=BLUE_DARK)
    for group in range(ACCESSES // CALC_EVERY):
        first = group * CALC_EVERY
        last = first + CALC_EVERY - 1
        x0 = cell_x(first * stride)
        x1 = cell_x(last * stride + BLOCKS_PER_ACCESS) - 4
        bracket(c, x0, x1, ROW_BOTTOM + 48, GREEN, depth=12)
        text(c, (x0 + x1) // 2, ROW_BOTTOM + 84, t["speed"] % (first + 1, last + 1), size=12, colour=GREEN,
             bold=True)

    # The legend.
    for i, (fill, stroke, words) in enumerate([(BLUE, BLUE_DARK, t["legend_block"]),
                                                (GREY, GREY_DARK, t["legend_skip"])]):
        x = 30 + i * 260
        c.append("push graphic-context")
        c.append("fill %s" % fill)
        c.append("stroke %s" % stroke)
        c.append("roundrectangle %d,262 %d,278 3,3" % (x, x + 16))
        c.append("pop graphic-context")
        text(c, x + 24, 275, words, size=12, anchor="start")
    return "\n".join(c) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser.add_argument("--out", default=os.path.join(root, "resources", "help"))
    parser.add_argument("--lang", nargs="*", default=sorted(TEXTS))
    args = parser.parse_args()
    for font in (FONT, FONT_BOLD):
        if not os.path.exists(font):
            sys.exit("missing font %s (fonts-dejavu-core)" % font)
    os.makedirs(args.out, exist_ok=True)
    for lang in args.lang:
        out = os.path.join(args.out, "block_access_%s.jpg" % lang)
        # The drawing goes as an argument: the usual security policy refuses "@file".
        subprocess.run(["convert", "-size", "%dx%d" % (WIDTH, HEIGHT), "xc:white", "-draw", drawing(lang),
                        "-strip", "-sampling-factor", "4:2:0", "-quality", "88", "jpeg:" + out], check=True)
        print(out)


if __name__ == "__main__":
    main()
