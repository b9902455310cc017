#!/usr/bin/python3
"""Cuts a face down to the characters the catalogs use, plus printable ASCII
and the characters of TEXT (the languages' own names, which the settings
screen shows in every language).

Usage: subset.py SOURCE FONT_NUMBER OUTPUT TEXT [CATALOG.po ...]

Made again whenever a catalog changes, so the face can never lack a character
a translation uses. A catalog that does not exist yet adds nothing.
"""
import ast
import logging
import os
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

ASCII = {chr(c) for c in range(0x20, 0x7F)}


def translated_texts(path):
    """Every msgstr of a .po file (the header's included: it costs nothing)."""
    texts, current = [], None
    with open(path, encoding="utf-8") as po:
        for raw in po:
            line = raw.strip()
            if line.startswith("msgstr"):
                current = []
                texts.append(current)
                line = line.split(None, 1)[1] if " " in line else '""'
            elif line.startswith(("msgid", "msgctxt", "#")) or not line:
                current = None
                continue
            if current is not None and line.startswith('"'):
                current.append(ast.literal_eval(line))
    return ["".join(parts) for parts in texts]


def main(argv):
    source, number, output, text, catalogs = argv[1], int(argv[2]), argv[3], argv[4], argv[5:]
    characters = set(ASCII) | set(text)
    for path in catalogs:
        if os.path.exists(path):
            for text in translated_texts(path):
                characters.update(text)
    characters.discard("\n")
    # Tables it cannot cut (a font editor's notes) are dropped: no need to say so.
    logging.getLogger("fontTools.subset").setLevel(logging.ERROR)
    options = subset.Options()
    options.font_number = number
    options.layout_features = ["*"]
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    font = TTFont(source, fontNumber=number, lazy=True)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=sorted(ord(c) for c in characters))
    subsetter.subset(font)
    font.save(output + ".part")
    os.replace(output + ".part", output)


if __name__ == "__main__":
    main(sys.argv)
