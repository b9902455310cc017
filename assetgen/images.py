"""Writes every picture the game loads.

generate(out_dir) fills out_dir/sprites, out_dir/minigames and
out_dir/VX_pics.  Everything is drawn procedurally; a fixed seed is used
wherever something is scattered, so repeated runs give identical bytes.
"""
import os

import art_items
import art_pirates
import art_scenes
import art_titles
from pix import save_png, to_image


def _save_bmp(arr, path):
    to_image(arr).save(path, "BMP")


def _save_jpg(arr, path, quality=90):
    to_image(arr).save(path, "JPEG", quality=quality, optimize=False,
                       progressive=False, subsampling=0)


def _save_gif(img, path):
    img.save(path, "GIF", optimize=False)


# relative path -> (builder, writer)
ASSETS = {
    "sprites/pirate_ssheet.png": (lambda: art_pirates.player_sheet(1), save_png),
    "sprites/pirate2_ssheet.png": (lambda: art_pirates.player_sheet(2), save_png),
    "sprites/ball.bmp": (art_items.cannonball, _save_bmp),
    "sprites/treasure_sheet.png": (art_items.coin_sheet, save_png),
    "sprites/r_sheet.png": (art_items.ruby_sheet, save_png),
    "sprites/ghost_sheet.png": (art_items.ghost_sheet, save_png),
    "sprites/chest_sheet.png": (art_items.chest_sheet, save_png),
    "sprites/heart_sheet.png": (art_items.heart_cells, save_png),
    "sprites/bg.jpg": (art_scenes.beach_bg, _save_jpg),
    "sprites/main_pic.png": (art_titles.main_pic, save_png),
    "VX_pics/vx_logo.gif": (art_titles.vx_logo, _save_gif),
    "VX_pics/comp_logo.png": (art_titles.comp_logo, save_png),
    "minigames/map_sheet.png": (art_items.map_sheet, save_png),
    "minigames/fight_sheet.png": (art_items.fight_sheet, save_png),
    "minigames/bg.png": (art_scenes.sky_bg, save_png),
    "minigames/ground.png": (art_scenes.ground_tile, save_png),
    "minigames/trap.png": (art_scenes.trap_tile, save_png),
    "minigames/cave.png": (art_scenes.cave_bg, save_png),
    "minigames/t_box.png": (art_items.t_box_sheet, save_png),
    "minigames/shore.png": (art_scenes.shore_bg, save_png),
    "minigames/ship.png": (art_scenes.ship_deck, save_png),
    "minigames/water.png": (art_scenes.water_bg, save_png),
    "minigames/pirates.png": (art_pirates.enemy_sheet, save_png),
}


def make(out_dir, rel):
    build, write = ASSETS[rel]
    path = os.path.join(out_dir, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    write(build(), path)


def generate(out_dir):
    for rel in ASSETS:
        make(out_dir, rel)
