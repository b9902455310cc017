"""The game's icon: the window icon and the desktop icons are this one
picture, drawn at 64 x 64 and scaled."""
import os

import numpy as np
from PIL import Image

import art_items
from pix import (Fig, blank, paint, edge, paste, sparkle, dither_to, ramp_colors,
                 to_image, OUTLINE, GOLD)

SIZE = 64
SIZES = (32, 64, 128, 256)


def icon():
    """An open treasure chest on the beach at sunset, a cannonball flying
    over it, in a gold-rimmed disc. RGBA: clear outside the disc."""
    S = SIZE
    f = Fig(S, S)
    yy, xx = np.mgrid[0:S, 0:S].astype(np.float64)
    disc = f.m_ellipse([0, 0, S - 1, S - 1])
    inner = f.m_ellipse([4, 4, S - 5, S - 5])
    horizon = 34
    arr = dither_to(np.clip((yy - 4) / (horizon - 4), 0, 1),
                    ramp_colors([(76, 70, 150), (200, 110, 130), (250, 170, 110),
                                 (255, 222, 150)], 8))
    sun = (xx - 51) ** 2 + (yy - horizon) ** 2 < 9 ** 2
    arr[sun] = (255, 236, 170)
    sea = dither_to(np.clip((yy - horizon) / 12.0, 0, 1),
                    ramp_colors([(110, 120, 170), (50, 80, 140), (30, 54, 104)], 5))
    below = yy >= horizon
    arr[below] = sea[below]
    arr[(yy == horizon + 2) & (np.abs(xx - 51) < 6)] = (255, 220, 150)
    arr[(yy == horizon + 4) & (np.abs(xx - 51) < 3)] = (255, 220, 150)
    shore = 46 + 2 * np.sin(xx / 9.0)
    sand = yy >= shore
    arr[sand] = (232, 204, 150)
    arr[sand & (yy < shore + 1)] = (240, 244, 240)
    # the cannonball with its trail, upper left
    for i in range(6):
        arr[16 + i, 4 + 2 * i:6 + 2 * i] = (236, 232, 226)
    paste(arr, art_items.cannonball(), 12, 6)
    chest = art_items.chest_drawing(40, 3, 20, 34, 24, 8, 1)
    paste(arr, chest, 13, S - chest.shape[0] - 6)
    sparkle(arr, 47, 33, 3)
    out = blank(S, S)
    out[inner] = arr[inner]
    ring = disc & ~inner
    paint(out, ring, GOLD, sh=1)
    out[edge(disc)] = OUTLINE
    rgba = np.zeros((S, S, 4), np.uint8)
    rgba[:, :, :3] = out
    rgba[:, :, 3] = np.where(disc, 255, 0)
    return Image.fromarray(rgba, "RGBA")


def at_size(img, size):
    """Whole multiples keep the pixels sharp; smaller sizes are averaged."""
    if size >= img.width:
        return img.resize((size, size), Image.NEAREST)
    return img.resize((size, size), Image.BOX)


def maskable(img, size, background):
    """The icon for launchers that cut their own shape (a circle, a rounded
    square): the square filled with background, the disc inside the safe
    zone (the middle circle, 80% of the side across), scaled by a whole
    step so its pixels stay sharp."""
    step = int(size * 0.8) // img.width
    disc = img.resize((img.width * step, img.height * step), Image.NEAREST)
    out = Image.new("RGBA", (size, size), background + (255,))
    at = (size - disc.width) // 2
    out.alpha_composite(disc, (at, at))
    return out


def save_window_icon(out_dir):
    """The window icon beside the game's files: out_dir/icon.png."""
    icon().save(os.path.join(out_dir, "icon.png"), "PNG", optimize=False)


def generate(out_dir):
    """The desktop icons, out_dir/32.png ... out_dir/256.png."""
    os.makedirs(out_dir, exist_ok=True)
    img = icon()
    for size in SIZES:
        at_size(img, size).save(os.path.join(out_dir, "%d.png" % size), "PNG", optimize=False)
