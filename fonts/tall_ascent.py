#!/usr/bin/python3
"""Copies a face with its ascent raised to the tallest of its accented letters.

Usage: tall_ascent.py SOURCE OUTPUT

SDL_ttf cuts every glyph off at the face's ascent, and Yanone Kaffeesatz's
(0.735 em) is below its accented capitals (Ä, É, Ё, Й: up to 0.963 em): drawn
as it is, "Ärger" loses its dots. The copy's ascent covers every letter of
Latin-1, Latin Extended-A and -B and Cyrillic; its glyphs are the same.

Its word space is wider: Yanone Kaffeesatz's (0.14 em) is 2 or 3 pixels at
the sizes the settings screen and the replay band draw, where "Music volume"
reads as one word. The copy's space and no-break space are 0.2 em; its
narrow no-break space (U+202F, French before ":") 0.16 em, or the space's
glyph where the face has none. English draws with the face itself, untouched.
"""
import os
import sys

from fontTools.pens.boundsPen import BoundsPen
from fontTools.ttLib import TTFont

RANGES = [(0x20, 0x250), (0x400, 0x530)]
WORD_SPACE = 0.2  # em
NARROW_SPACE = 0.16  # em


def widen_spaces(font):
    """Gives the spaces the widths above, U+00A0 and U+202F the space's
    glyph where the face has none of its own."""
    em = font["head"].unitsPerEm
    metrics = font["hmtx"].metrics
    space = font.getBestCmap()[0x20]
    for table in font["cmap"].tables:
        if table.isUnicode():
            for code in (0xA0, 0x202F):
                table.cmap.setdefault(code, space)
    cmap = font.getBestCmap()
    for code, width in ((0x20, WORD_SPACE), (0xA0, WORD_SPACE), (0x202F, NARROW_SPACE)):
        glyph = cmap[code]
        if glyph == space and code == 0x202F:
            continue  # the space's own width serves
        metrics[glyph] = (round(width * em), metrics[glyph][1])


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
    widen_spaces(font)
    font.save(output + ".part")
    os.replace(output + ".part", output)


if __name__ == "__main__":
    main(sys.argv)
