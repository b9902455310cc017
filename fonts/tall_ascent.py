#!/usr/bin/python3
"""Copies a face with its ascent raised to the tallest of its accented letters.

Usage: tall_ascent.py SOURCE OUTPUT

SDL_ttf cuts every glyph off at the face's ascent, and Yanone Kaffeesatz's
(0.735 em) is below its accented capitals (Ä, É, Ё, Й: up to 0.963 em): drawn
as it is, "Ärger" loses its dots. The copy's ascent covers every letter of
Latin-1, Latin Extended-A and -B and Cyrillic; its glyphs are the same.
"""
import os
import sys

from fontTools.pens.boundsPen import BoundsPen
from fontTools.ttLib import TTFont

RANGES = [(0x20, 0x250), (0x400, 0x530)]


def main(argv):
    source, output = argv[1], argv[2]
    font = TTFont(source)
    cmap = font.getBestCmap()
    glyphs = font.getGlyphSet()
    top = 0
    for first, end in RANGES:
        for code in range(first, end):
            if code in cmap:
                pen = BoundsPen(glyphs)
                glyphs[cmap[code]].draw(pen)
                if pen.bounds is not None:
                    top = max(top, int(pen.bounds[3] + 0.999))
    font["hhea"].ascent = max(font["hhea"].ascent, top)
    os2 = font["OS/2"]
    os2.sTypoAscender = max(os2.sTypoAscender, top)
    os2.usWinAscent = max(os2.usWinAscent, top)
    font.save(output + ".part")
    os.replace(output + ".part", output)


if __name__ == "__main__":
    main(sys.argv)
