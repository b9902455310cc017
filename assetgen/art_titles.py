"""Title picture, studio logo and game logo."""
import math

import numpy as np
from PIL import Image, ImageDraw

from pix import (Fig, blank, paint, edge, grow, mix, sparkle, paste, scale,
                 dither_to, ramp_colors, font, checker, shifted, OUTLINE, GOLD,
                 STEEL, WOOD, BONE, HAT, BELT, TITLE_FONT, SANS_BOLD)
import art_pirates
import art_items
import art_scenes


def text_mask(text, path, size, w, h, x, y, anchor="mm"):
    img = Image.new("L", (w, h), 0)
    d = ImageDraw.Draw(img)
    d.fontmode = "1"
    d.text((x, y), text, font=font(path, size), fill=255, anchor=anchor)
    return np.array(img) > 127


def lettering(arr, mask, fill_stops, outline=OUTLINE, thick=3, shadow=(4, 4),
              shadow_col=(40, 20, 20), inner_light=None):
    """Chunky title lettering: vertical gradient fill, bevel light on top,
    a thick outline and a hard drop shadow."""
    h, w = mask.shape
    ys = np.nonzero(mask.any(axis=1))[0]
    y0, y1 = ys.min(), ys.max()
    out = grow(mask, thick, diag=True)
    if shadow:
        sh = shifted(out, -shadow[0], -shadow[1])
        arr[sh] = shadow_col
    arr[out] = outline
    yy = np.mgrid[0:h, 0:w][0]
    t = np.clip((yy - y0) / max(1, y1 - y0), 0, 1)
    cols = ramp_colors(fill_stops, 6)
    arr[mask] = dither_to(t, cols)[mask]
    top = mask & ~shifted(mask, 0, -2)
    arr[top] = inner_light or mix(fill_stops[0], (255, 255, 255), 0.6)
    return arr


def frame(arr, col_out=(60, 34, 20), col_in=GOLD[1]):
    h, w = arr.shape[:2]
    arr[:6, :] = col_out
    arr[-6:, :] = col_out
    arr[:, :6] = col_out
    arr[:, -6:] = col_out
    arr[1, 1:-1] = WOOD[1]
    arr[6, 6:-6] = col_in
    arr[-7, 6:-6] = col_in
    arr[6:-6, 6] = col_in
    arr[6:-6, -7] = col_in
    return arr


# ---------------------------------------------------------------------------
def main_pic():
    W, H = 560, 400
    yy, xx = np.mgrid[0:H, 0:W].astype(np.float64)
    horizon = 250
    arr = dither_to(np.clip(yy / horizon, 0, 1),
                    ramp_colors([(76, 70, 150), (200, 110, 130), (250, 170, 110),
                                 (255, 222, 150)], 10))
    sun = (xx - 380) ** 2 + (yy - horizon) ** 2
    arr[sun < 50 ** 2] = (255, 236, 170)
    arr[(sun >= 50 ** 2) & (sun < 58 ** 2) & checker(H, W)] = (255, 230, 160)
    for cx, cy, s, seed in ((90, 130, 60, 71), (470, 150, 50, 72), (300, 190, 40, 73)):
        m = art_scenes.cloud(arr, cx, cy, s, seed)
        warm = arr[m].astype(np.int32)
        arr[m] = np.clip(warm * np.array([1.0, 0.8, 0.76]) + 6, 0, 255).astype(np.uint8)
    sea = dither_to(np.clip((yy - horizon) / 150.0, 0, 1),
                    ramp_colors([(110, 120, 170), (50, 80, 140), (30, 54, 104)], 7))
    below = yy >= horizon
    arr[below] = sea[below]
    art_scenes.glitter(arr, below & (np.abs(xx - 380) < 60 - (yy - horizon) * 0.3),
                       10, color=(255, 220, 150), density=0.08)
    waves = below & (np.sin(xx * 2 * math.pi / 40 + yy * 1.9) > 0.95) & (np.sin(yy) > 0.3)
    arr[waves] = (130, 150, 200)
    # the ship riding at anchor
    ship = art_scenes.ship_side(250, 190, scale_k=1.0)
    paste(arr, ship, 18, horizon - 128)
    # cannonball in flight with a puff and a dotted trail
    f = Fig(W, H)
    for cx, cy, r in ((52, 196, 10), (42, 190, 8), (60, 186, 7)):
        arr[f.m_ellipse([cx - r, cy - r, cx + r, cy + r])] = (236, 232, 226)
    for i in range(10):
        t = i / 10
        px = 70 + t * 150
        py = 190 - 90 * math.sin(t * math.pi * 0.8)
        if i % 2 == 0:
            arr[int(py):int(py) + 2, int(px):int(px) + 2] = (230, 226, 220)
    ball = scale(art_items.cannonball(), 2)
    paste(arr, ball, 226, 84)
    # beach in the foreground
    shore = 318 + 14 * np.sin(xx / 90.0 + 1) + 4 * np.sin(xx / 23.0)
    sand = dither_to(np.clip((yy - 318) / 80.0, 0, 1),
                     [(246, 222, 170), (232, 204, 150), (214, 180, 124)])
    beach = yy >= shore
    arr[beach] = sand[beach]
    arr[(yy >= shore - 3) & (yy < shore)] = (240, 244, 240)
    arr[(yy >= shore) & (yy < shore + 4)] = (200, 170, 120)
    # treasure chest overflowing, the hero, coins
    chest = scale(art_items.chest_drawing(60, 4, 66, 51, 48, 14, 1), 2)
    paste(arr, chest, 400, 400 - chest.shape[0] + 4)
    for sx, sy, s in ((430, 250, 4), (500, 232, 3), (470, 270, 2)):
        sparkle(arr, sx, sy, s)
    hero = scale(art_pirates.player_strike(1).render(), 2)
    paste(arr, hero, 210, 400 - 150)
    coin = art_items.coin_cell(0)[:40]
    coin2 = art_items.coin_cell(1)[:40]
    for (cx, cy), c in (((120, 340), coin), ((160, 356), coin2), ((60, 350), coin)):
        paste(arr, c, cx, cy)
    # title lettering
    m = text_mask("Brinegrab", TITLE_FONT, 104, W, H, W // 2, 58)
    lettering(arr, m, [(255, 240, 160), (240, 180, 40), (200, 110, 20)],
              thick=3, shadow=(5, 5))
    return frame(arr)


# ---------------------------------------------------------------------------
def compass(size):
    """Gold compass rose with an anchor at its heart, drawn at 1x."""
    f = Fig(size, size)
    c = size / 2 - 0.5
    arr = blank(size, size)
    ring = f.m_ellipse([2, 2, size - 3, size - 3]) & ~f.m_ellipse([8, 8, size - 9, size - 9])
    paint(arr, ring, GOLD, sh=2)
    for i in range(32):
        a = i * math.pi / 16
        r0 = size / 2 - 5
        arr[int(c + r0 * math.sin(a)), int(c + r0 * math.cos(a))] = GOLD[3]
    # eight points: long ones red and cream, short ones gold
    for i in range(8):
        a = -math.pi / 2 + i * math.pi / 4
        L = size * (0.48 if i % 2 == 0 else 0.3)
        wdt = size * 0.07
        tip = (c + L * math.cos(a), c + L * math.sin(a))
        l = (c + wdt * math.cos(a - math.pi / 2), c + wdt * math.sin(a - math.pi / 2))
        r = (c + wdt * math.cos(a + math.pi / 2), c + wdt * math.sin(a + math.pi / 2))
        if i % 2 == 0:
            paint(arr, f.m_poly([(c, c), l, tip]), (200, 40, 40) if i == 0 else (236, 226, 200),
                  sh=0, hl=0)
            paint(arr, f.m_poly([(c, c), tip, r]), (140, 20, 30) if i == 0 else (180, 166, 140),
                  sh=0, hl=0)
        else:
            paint(arr, f.m_poly([l, tip, r, (c, c)]), GOLD, sh=1)
    hub = f.m_ellipse([c - 5, c - 5, c + 5, c + 5])
    paint(arr, hub, GOLD, sh=1)
    arr[int(c) - 1:int(c) + 1, int(c) - 1:int(c) + 1] = (60, 30, 20)
    return arr


def vx_logo():
    W, H = 440, 300
    arr = np.zeros((H, W, 3), np.uint8)
    rose = scale(compass(64), 2)
    paste(arr, rose, W // 2 - 64, 14)
    m = text_mask("VX Games", SANS_BOLD, 64, W, H, W // 2, 212)
    lettering(arr, m, [(255, 236, 150), (246, 176, 40), (206, 96, 24)],
              outline=(90, 40, 16), thick=2, shadow=(3, 3), shadow_col=(50, 24, 10))
    m2 = text_mask("~ est. on the seven seas ~", SANS_BOLD, 18, W, H, W // 2, 268)
    arr[m2] = (170, 160, 140)
    img = Image.fromarray(arr, "RGB").convert("P", palette=Image.ADAPTIVE, colors=128)
    return img


# ---------------------------------------------------------------------------
def skull_emblem():
    """Skull over crossed cutlasses, drawn at 1x on the key (120x100)."""
    w, h = 120, 100
    f = Fig(w, h)
    arr = blank(w, h)
    # two cutlasses crossing behind the skull
    for flip in (False, True):
        g = Fig(w, h)
        pts = []
        for i in range(11):
            t = i / 10
            x = 12 + t * 96
            y = 92 - t * 84 + 10 * math.sin(t * math.pi)
            pts.append((x, y))
        blade = g.m_line(pts[2:], 7)
        tip = g.m_poly([pts[-1], (pts[-1][0] + 8, pts[-1][1] - 10), (pts[-2][0] + 2, pts[-2][1] - 4)])
        m = blade | tip
        grip = g.m_line([pts[0], pts[2]], 6)
        guard = g.m_line([(pts[2][0] - 9, pts[2][1] - 9), (pts[2][0] + 9, pts[2][1] + 9)], 5)
        pommel = g.m_ellipse([pts[0][0] - 5, pts[0][1] - 5, pts[0][0] + 5, pts[0][1] + 5])
        if flip:
            m, grip, guard, pommel = m[:, ::-1], grip[:, ::-1], guard[:, ::-1], pommel[:, ::-1]
        paint(arr, m, STEEL, sh=2)
        ys, xs = np.nonzero(m & ~edge(m))
        paint(arr, grip, BELT, sh=1)
        paint(arr, guard, GOLD, sh=1)
        paint(arr, pommel, GOLD, sh=1)
    skull = f.m_ellipse([32, 8, 88, 62]) | f.m_rect([44, 50, 76, 74])
    paint(arr, skull, BONE, sh=3)
    for ex in (40, 62):
        eye = f.m_ellipse([ex, 30, ex + 18, 48])
        paint(arr, eye, ((20, 12, 16), (34, 22, 26), (50, 36, 40)), sh=0, hl=0)
        arr[35:38, ex + 5:ex + 8] = (200, 40, 40)
    nose = f.m_poly([(60, 50), (56, 58), (64, 58)])
    arr[nose] = (34, 22, 26)
    for tx in range(47, 75, 6):
        arr[64:73, tx] = OUTLINE
    arr[67, 45:76] = OUTLINE
    # tricorn on the skull
    crown = f.m_ellipse([36, 0, 84, 22])
    paint(arr, crown, HAT, sh=2)
    brim = f.m_poly([(22, 14), (34, 8), (46, 14), (60, 16), (74, 14), (86, 8), (98, 14),
                     (86, 22), (60, 26), (34, 22)])
    paint(arr, brim, HAT, sh=2)
    lace = f.m_line([(23, 15), (34, 9), (46, 15), (60, 17), (74, 15), (86, 9), (97, 15)], 2)
    arr[lace & brim] = GOLD[2]
    return arr


def comp_logo():
    W, H = 500, 320
    arr = np.full((H, W, 3), 255, np.uint8)
    em = scale(skull_emblem(), 2)
    # a soft gold halo behind the emblem
    f = Fig(W, H)
    halo = f.m_ellipse([W // 2 - 110, 8, W // 2 + 110, 200])
    arr[halo & checker(H, W)] = (252, 232, 170)
    arr[f.m_ellipse([W // 2 - 96, 20, W // 2 + 96, 188])] = (252, 232, 170)
    paste(arr, em, W // 2 - 120, 0)
    m = text_mask("Brinegrab", TITLE_FONT, 96, W, H, W // 2, 256)
    lettering(arr, m, [(255, 236, 140), (232, 160, 30), (170, 70, 20)],
              thick=3, shadow=(4, 4), shadow_col=(120, 90, 70))
    return arr
