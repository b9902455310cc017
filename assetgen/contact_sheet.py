#!/usr/bin/python3
"""Artist's preview: composes contact sheets of a generated asset tree.

Usage: contact_sheet.py OUT_DIR PREFIX

Writes PREFIX_sprites.png (every sprite sheet at 3x on a checkerboard, so
the key colour shows as see-through) and PREFIX_scenes*.png (each
background as the game composes it, with sample text and sprites on top).
"""
import os
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/opentype/yanone-kaffeesatz/YanoneKaffeesatz-Bold.otf"
BROWN = (100, 50, 10)
GOLD = (200, 150, 0)


def keyed(img):
    """RGBA copy with the key colour made transparent."""
    a = np.array(img.convert("RGB"))
    alpha = ~((a[:, :, 0] == 0) & (a[:, :, 1] == 255) & (a[:, :, 2] == 255))
    return Image.fromarray(np.dstack([a, alpha.astype(np.uint8) * 255]), "RGBA")


def checker(w, h, s=12):
    yy, xx = np.mgrid[0:h, 0:w]
    c = (((xx // s) + (yy // s)) % 2).astype(bool)
    a = np.zeros((h, w, 3), np.uint8)
    a[c] = (150, 150, 160)
    a[~c] = (112, 112, 124)
    return Image.fromarray(a, "RGB")


def sprites_page(out, path):
    names = ["sprites/pirate_ssheet.png", "sprites/pirate2_ssheet.png",
             "minigames/pirates.png", "sprites/treasure_sheet.png",
             "sprites/r_sheet.png", "sprites/ghost_sheet.png",
             "sprites/chest_sheet.png", "minigames/map_sheet.png",
             "minigames/fight_sheet.png", "sprites/heart_sheet.png",
             "sprites/ball.bmp", "minigames/t_box.png", "minigames/ground.png",
             "minigames/trap.png"]
    k = 3
    placed, x, y, rowh, W = [], 8, 8, 0, 2000
    for n in names:
        im = Image.open(os.path.join(out, n))
        w, h = im.size[0] * k, im.size[1] * k
        if x + w > W:
            x, y, rowh = 8, y + rowh + 8, 0
        placed.append((n, im, x, y))
        x += w + 8
        rowh = max(rowh, h)
    page = checker(W, y + rowh + 8)
    for n, im, x, y in placed:
        big = keyed(im).resize((im.size[0] * k, im.size[1] * k), Image.NEAREST)
        page.paste(big, (x, y), big)
    page.save(path)


def text(d, xy, s, size, fill, anchor="mm"):
    d.text(xy, s, font=ImageFont.truetype(FONT, size), fill=fill, anchor=anchor)


def overlay(base, sprite, xy, alpha=255):
    sp = keyed(sprite)
    if alpha != 255:
        a = np.array(sp)
        a[:, :, 3] = (a[:, :, 3].astype(int) * alpha // 255).astype(np.uint8)
        sp = Image.fromarray(a, "RGBA")
    base.paste(sp, xy, sp)


def cell(sheet, x, y, w, h):
    return sheet.crop((x, y, x + w, y + h))


def scenes_page(out, path):
    o = lambda n: Image.open(os.path.join(out, n)).convert("RGB")
    p1, p2 = o("sprites/pirate_ssheet.png"), o("sprites/pirate2_ssheet.png")
    coins, hearts = o("sprites/treasure_sheet.png"), o("sprites/heart_sheet.png")
    pages = []

    # 1: main playfield, menu and play overlays side by side
    menu = o("sprites/bg.jpg")
    d = ImageDraw.Draw(menu)
    for i, s in enumerate(["Brinegrab", "New game", "Two players", "High scores",
                           "Instructions", "Sound: on", "Quit"]):
        text(d, (320, 40 + i * 62), s, 36 if i else 48, BROWN)
    play = o("sprites/bg.jpg")
    d = ImageDraw.Draw(play)
    for i in range(3):
        overlay(play, cell(hearts, 0 if i < 2 else 40, 0, 40, 40), (60 + i * 44, 220), 100)
    text(d, (320, 240), "Score: 12480", 36, GOLD)
    text(d, (560, 240), "P2 3400", 36, GOLD)
    overlay(play, cell(p1, 0, 0, 80, 80), (120, 320))
    overlay(play, cell(p2, 240, 80, 80, 80), (420, 300))
    overlay(play, cell(p1, 80, 240, 80, 80), (230, 100))
    for i, (x, y) in enumerate(((300, 330), (520, 140), (80, 60), (360, 420))):
        overlay(play, cell(coins, 40 * (i % 4), 0, 40, 70), (x, y))
    overlay(play, o("sprites/ball.bmp"), (400, 380))
    overlay(play, cell(o("sprites/ghost_sheet.png"), 0, 0, 40, 70), (560, 360))
    overlay(play, cell(o("sprites/chest_sheet.png"), 0, 0, 40, 70), (40, 380))
    overlay(play, cell(o("sprites/r_sheet.png"), 0, 0, 40, 70), (480, 60))
    pages.append([menu, play])

    # 2: side-scroller and cave
    run = Image.new("RGB", (640, 480))
    sky = o("minigames/bg.png")
    run.paste(sky.crop((200, 0, 640, 480)), (0, 0))
    run.paste(sky.crop((0, 0, 200, 480)), (440, 0))
    ground, trap = o("minigames/ground.png"), o("minigames/trap.png")
    heights = [360, 360, 340, 340, 380, 380, 360, 320]
    for i, hgt in enumerate(heights):
        tile = trap if i == 4 else ground
        for y in range(hgt, 480, 80):
            overlay(run, tile if y == hgt else ground, (i * 80, y))
    overlay(run, cell(p1, 80, 0, 80, 80), (80, 282))
    overlay(run, cell(o("minigames/map_sheet.png"), 0, 0, 40, 70), (420, 250))
    overlay(run, cell(o("minigames/fight_sheet.png"), 0, 0, 40, 70), (520, 220))
    cave = o("minigames/cave.png")
    tb = o("minigames/t_box.png")
    for i, x in enumerate((40, 200, 360, 520)):
        overlay(cave, cell(tb, 60 * [0, 1, 2, 0][i], 0, 60, 120), (x, 340))
    pages.append([run, cave])

    # 3: shore and ship over water
    shore = o("minigames/shore.png")
    d = ImageDraw.Draw(shore)
    text(d, (320, 220), "Score:", 36, GOLD)
    text(d, (320, 265), "1520", 36, GOLD)
    overlay(shore, o("sprites/ball.bmp"), (300, 100))
    overlay(shore, o("sprites/ball.bmp"), (500, 300))
    overlay(shore, cell(p2, 0, 240, 80, 80), (280, 390))
    deck = o("minigames/water.png")
    wat = o("minigames/water.png")
    deck.paste(wat.crop((300, 0, 640, 480)), (0, 0))
    deck.paste(wat.crop((0, 0, 300, 480)), (340, 0))
    overlay(deck, o("minigames/ship.png"), (0, 0))
    d = ImageDraw.Draw(deck)
    d.text((0, 5), "Score: 340", font=ImageFont.truetype(FONT, 50), fill=BROWN)
    en = o("minigames/pirates.png")
    for i in range(4):
        overlay(deck, cell(en, 0, 80 * i, 80, 80), (100 + i * 120, 165 + i * 60))
    overlay(deck, cell(p1, 240, 0, 80, 80), (60, 300))
    pages.append([shore, deck])

    # 4: title pictures on their splash colours
    splash = []
    for n, bg in (("sprites/main_pic.png", "white"), ("VX_pics/vx_logo.gif", "black"),
                  ("VX_pics/comp_logo.png", "white")):
        s = Image.new("RGB", (640, 480), bg)
        im = o(n)
        s.paste(im, ((640 - im.size[0]) // 2, (480 - im.size[1]) // 2))
        splash.append(s)
    pages.append(splash[:2])
    pages.append([splash[2], o("minigames/water.png")])

    for i, pair in enumerate(pages):
        page = Image.new("RGB", (1290, 480), (40, 40, 40))
        for j, im in enumerate(pair):
            page.paste(im, (j * 650, 0))
        page.save("%s_scenes%d.png" % (path, i + 1))


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    sprites_page(argv[1], argv[2] + "_sprites.png")
    scenes_page(argv[1], argv[2])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
