"""Pick-ups, markers and props: cannonball, coins, ruby, ghost, chest,
hearts, map piece, crossed swords and the cave's treasure box."""
import math

import numpy as np

from pix import (Fig, blank, paint, edge, keymask, shifted, sparkle, sheet, OUTLINE,
                 GOLD, STEEL, RUBY, HEART, WOOD, WOOD_DARK, PARCH, GHOST, BELT,
                 checker)

IW, IH = 40, 70      # item cell


def sphere(arr, mask, cx, cy, rx, ry, colors, light=(-0.55, -0.6),
           outline=OUTLINE, bias=0.0):
    """Shade a round mask like a ball lit from the upper left, with banded
    colours (darkest first)."""
    h, w = mask.shape
    yy, xx = np.mgrid[0:h, 0:w].astype(np.float64)
    nx = (xx - cx) / max(rx, 1e-6)
    ny = (yy - cy) / max(ry, 1e-6)
    nz = np.sqrt(np.clip(1 - nx * nx - ny * ny, 0, 1))
    lx, ly = light
    lz = math.sqrt(max(0.0, 1 - lx * lx - ly * ly))
    d = np.clip(nx * lx + ny * ly + nz * lz, 0, 1) + bias
    d = d + (((xx + yy) % 2) - 0.5) * 0.06       # a touch of dither
    n = len(colors)
    idx = np.clip((d * n).astype(int), 0, n - 1)
    pal = np.array([c[:3] for c in colors], np.uint8)
    arr[mask] = pal[idx[mask]]
    if outline is not None:
        arr[edge(mask)] = outline


def dither_shadow(arr, x0, y0, x1, y1, color=(74, 52, 40), phase=0):
    """Soft-looking drop shadow: a checker of dark pixels over the key."""
    f = Fig(arr.shape[1], arr.shape[0])
    m = f.m_ellipse([x0, y0, x1, y1]) & checker(arr.shape[0], arr.shape[1], phase)
    arr[m & keymask(arr)] = color


# ---------------------------------------------------------------------------
def cannonball():
    """Dark iron, but with a hard white glint at the upper left and a cool
    rim of reflected light along the lower right, so that the ball keeps its
    round outline over dark sea as well as over pale sand."""
    arr = blank(20, 20)
    f = Fig(20, 20)
    m = f.m_ellipse([1, 1, 18, 18])
    sphere(arr, m, 9.5, 9.5, 8.5, 8.5,
           [(16, 16, 22), (28, 29, 38), (44, 46, 58), (66, 70, 86), (96, 100, 120)],
           bias=-0.08)
    yy, xx = np.mgrid[0:20, 0:20].astype(np.float64)
    inner = m & ~edge(m)
    ring = inner & ~(shifted(inner, 1, 1) & shifted(inner, 1, 0) & shifted(inner, 0, 1))
    rim = ring & ((xx - 9.5) + (yy - 9.5) > 3)
    arr[rim] = (118, 128, 152)
    arr[rim & ((xx - 9.5) + (yy - 9.5) > 9)] = (150, 162, 188)
    # the glint: a bright core in a soft halo
    arr[4:8, 5:7] = (128, 132, 150)
    arr[5:7, 4:8] = (128, 132, 150)
    arr[5:7, 5:7] = (206, 210, 226)
    arr[5, 5] = (255, 255, 255)
    return arr


# ---------------------------------------------------------------------------
COIN_FACE = [(150, 88, 18), (196, 130, 26), (226, 168, 40), (246, 204, 70),
             (255, 232, 130)]


def coin_cell(phase):
    """Spinning doubloon: phase 0 face, 1 turning, 2 edge-on, 3 the back."""
    arr = blank(IW, IH)
    half = [16, 10, 2, 10][phase]
    cx, cy, r = 19.5, 19.5, 16
    f = Fig(IW, IH)
    dither_shadow(arr, 20 - max(half, 4) - 2, 42, 20 + max(half, 4) + 2, 48,
                  phase=phase)
    if half <= 2:
        m = f.m_rect([17, 3, 22, 36]) | f.m_ellipse([17, 2, 22, 8]) \
            | f.m_ellipse([17, 31, 22, 37])
        arr[m] = GOLD[1]
        arr[m & ~np.roll(m, -1, axis=1)] = GOLD[0]
        arr[m & ~np.roll(m, 1, axis=1)] = GOLD[2]
        for y in range(6, 34, 3):                 # milled edge
            arr[y, 19:21] = GOLD[0]
        arr[10:14, 18] = GOLD[3]
        arr[edge(m)] = OUTLINE
        return arr
    # rim seen as the coin turns
    rim = f.m_ellipse([cx - half + 2, cy - r, cx + half + 2, cy + r])
    arr[rim] = GOLD[0]
    arr[edge(rim)] = OUTLINE
    face = f.m_ellipse([cx - half, cy - r, cx + half, cy + r])
    sphere(arr, face, cx - 1, cy - 1, half + 3, r + 3, COIN_FACE)
    # raised inner ring
    ring_o = f.m_ellipse([cx - half * 0.72, cy - r * 0.72, cx + half * 0.72,
                          cy + r * 0.72])
    ring_i = f.m_ellipse([cx - half * 0.72 + 1, cy - r * 0.72 + 1,
                          cx + half * 0.72 - 1, cy + r * 0.72 - 1])
    ring = ring_o & ~ring_i
    arr[ring & (np.mgrid[0:IH, 0:IW][0] < cy)] = GOLD[0]
    arr[ring & (np.mgrid[0:IH, 0:IW][0] >= cy)] = GOLD[3]
    s = half / 16.0
    if phase == 0:
        # embossed star: shadow then light
        pts = []
        for i in range(10):
            a = -math.pi / 2 + i * math.pi / 5
            rr = 8.5 if i % 2 == 0 else 3.6
            pts.append((cx + rr * math.cos(a) * s, cy + rr * math.sin(a)))
        sh = f.m_poly([(x + 1, y + 1) for x, y in pts])
        st = f.m_poly(pts)
        arr[sh & ~st] = GOLD[0]
        arr[st] = (255, 226, 104)
        arr[st & ~np.roll(st, 1, axis=0)] = GOLD[3]
    else:
        # the back: a cross of Burgundy
        for sgn in (-1, 1):
            a = f.m_line([(cx - 6 * s, cy - 6 * sgn), (cx + 6 * s, cy + 6 * sgn)],
                         3 if s > 0.7 else 2)
            arr[np.roll(np.roll(a, 1, 0), 1, 1) & ~a] = GOLD[0]
            arr[a] = (255, 226, 104)
    # glint
    if phase == 0:
        sparkle(arr, 9, 8, 3)
    elif phase == 1:
        arr[7:10, int(cx - half + 3)] = (255, 255, 240)
    elif phase == 3:
        sparkle(arr, 28, 30, 2)
    return arr


def coin_sheet():
    return sheet([[coin_cell(i) for i in range(4)]], IW, IH)


# ---------------------------------------------------------------------------
def ruby_cell(phase):
    arr = blank(IW, IH)
    f = Fig(IW, IH)
    bob = [0, -1, -1, 0][phase]
    dither_shadow(arr, 9, 41, 31, 47, color=(90, 30, 40), phase=phase)
    L, TL, TR, R, B = (5, 15 + bob), (13, 6 + bob), (27, 6 + bob), (35, 15 + bob), \
        (20, 37 + bob)
    ML, MR = (15, 15 + bob), (25, 15 + bob)
    facets = [
        ([TL, TR, MR, ML], RUBY[2]),                  # table
        ([L, TL, ML], (236, 64, 80)),                 # crown left
        ([TR, R, MR], RUBY[1]),                       # crown right
        ([L, ML, B], (220, 40, 64)),                  # pavilion left
        ([ML, MR, B], RUBY[1]),                       # pavilion middle
        ([MR, R, B], RUBY[0]),                        # pavilion right
    ]
    whole = f.m_poly([L, TL, TR, R, B])
    masks = []
    for pts, col in facets:
        m = f.m_poly(pts) & whole
        arr[m] = col
        masks.append(m)
    # facet seams in a deep red
    for pts, col in facets:
        seam = f.m_line(pts + [pts[0]], 1) & whole
        arr[seam] = (140, 12, 36)
    arr[edge(whole)] = OUTLINE
    # inner glow
    arr[f.m_poly([(17, 17 + bob), (23, 17 + bob), (20, 27 + bob)])] = (250, 96, 110)
    # moving glint: a light streak travelling over the facets
    glint_facet = [0, 1, 4, 2][phase]
    m = masks[glint_facet] & ~edge(masks[glint_facet])
    ys, xs = np.nonzero(m)
    if len(xs):
        gx, gy = int(np.median(xs)), int(np.median(ys))
        for d in range(-2, 3):
            if 0 <= gx + d < IW and m[gy - d, gx + d]:
                arr[gy - d, gx + d] = RUBY[3]
        arr[gy, gx] = (255, 255, 255)
    spots = [(31, 6), (8, 9), (33, 27), (12, 30)]
    sx, sy = spots[phase]
    sparkle(arr, sx, sy + bob, 3 if phase % 2 == 0 else 2)
    return arr


def ruby_sheet():
    return sheet([[ruby_cell(i) for i in range(4)]], IW, IH)


# ---------------------------------------------------------------------------
GHOST_DARK = (40, 52, 72)


def ghost_cell(phase):
    arr = blank(IW, IH)
    f = Fig(IW, IH)
    bob = [0, -1, -2, -1][phase]
    # wavy tail: a tapering ribbon whose centre line sways with the phase
    left, right = [], []
    for i in range(15):
        t = i / 14.0
        y = 26 + bob + t * 40
        sway = 5.0 * math.sin(t * 5.0 + phase * math.pi / 2) * t
        half = 13 * (1 - t) ** 0.8 + 1
        left.append((20 + sway - half, y))
        right.append((20 + sway + half, y))
    tail = f.m_poly(left + right[::-1])
    body = f.m_ellipse([6, 4 + bob, 34, 36 + bob])
    arms = f.m_poly([(7, 20 + bob), (0, 12 + bob + (phase % 2)), (2, 10 + bob),
                     (9, 16 + bob)]) | \
        f.m_poly([(33, 20 + bob), (40, 13 + bob - (phase % 2)), (38, 11 + bob),
                  (31, 16 + bob)])
    whole = tail | body | arms
    yy, xx = np.mgrid[0:IH, 0:IW]
    # body shading: pale, bluish-green and white
    lite = GHOST[2]
    arr[whole] = GHOST[1]
    arr[whole & ~np.roll(whole, -3, axis=1) & (yy < 40)] = GHOST[0]
    arr[body & ~np.roll(body, 3, axis=1) & (yy < 30 + bob)] = lite
    arr[body & ~np.roll(body, 3, axis=0)] = lite
    # the tail thins out: more and more of it dissolves into the background
    fade = (yy - (44 + bob)) / 26.0
    thr = np.tile(np.array([[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9],
                            [15, 7, 13, 5]]) / 16.0, (IH // 4 + 1, IW // 4 + 1))[:IH, :IW]
    gone = tail & ~body & (thr < fade)
    arr[edge(whole & ~gone)] = (86, 110, 124)
    arr[gone] = (0, 255, 255)
    # a ghostly tricorn: a wide brim turned up at both sides, in slate so
    # it stands apart from the pale body
    hat_ramp = ((52, 70, 86), (84, 110, 126), (132, 160, 170))
    crown = f.m_ellipse([12, 0 + bob, 28, 12 + bob])
    paint(arr, crown, hat_ramp, outline=(40, 54, 70))
    # seen from the front: both side corners cocked up, the front corner
    # pointing down over the brow
    brim = f.m_poly([(2, 2 + bob), (9, 7 + bob), (20, 6 + bob), (31, 7 + bob),
                     (38, 2 + bob), (35, 10 + bob), (21, 15 + bob), (19, 15 + bob),
                     (5, 10 + bob)])
    paint(arr, brim, hat_ramp, outline=(40, 54, 70), sh=1)
    arr[f.m_line([(6, 8 + bob), (19, 13 + bob), (21, 13 + bob), (34, 8 + bob)], 1)
        & brim & ~edge(brim)] = (200, 176, 96)     # faded gold braid
    arr[8 + bob, 19:22] = (226, 236, 226)      # a little skull on the front
    arr[9 + bob, 20] = (226, 236, 226)
    # hollow eyes with a cold glow, sorrowful brows and a wailing mouth
    for ex in (13, 23):
        e = f.m_ellipse([ex, 15 + bob, ex + 4, 21 + bob])
        arr[e] = GHOST_DARK
        arr[17 + bob:19 + bob, ex + 1:ex + 3] = (150, 250, 170)
        arr[17 + bob, ex + 1] = (235, 255, 235)
    arr[13 + bob, 12:15] = (100, 130, 140)
    arr[13 + bob, 26:29] = (100, 130, 140)
    mo = [(17, 24, 23, 31), (17, 25, 23, 30), (17, 23, 23, 30), (17, 24, 23, 32)][phase]
    m = f.m_ellipse([mo[0], mo[1] + bob, mo[2], mo[3] + bob])
    arr[m] = GHOST_DARK
    # wispy beard strands
    for bx in (11, 14, 26, 29):
        arr[28 + bob:31 + bob, bx] = (150, 182, 186)
    # glimmer specks drifting around
    specks = [(4, 30), (35, 40), (6, 50), (33, 24)]
    for k in range(2):
        sx, sy = specks[(phase + k * 2) % 4]
        sparkle(arr, sx, sy, 1, color=(214, 240, 224), core=(255, 255, 255))
    return arr


def ghost_sheet():
    return sheet([[ghost_cell(i) for i in range(4)]], IW, IH)


# ---------------------------------------------------------------------------
def chest_drawing(w, x0, y0, cw, ch, lid_h, open_state=0, glint=None):
    """Treasure chest: open_state 0 closed, 1 open full of gold, 2 open and
    empty.  Returns an RGB array."""
    h = y0 + ch + 2
    arr = blank(w, h)
    f = Fig(w, h)
    x1 = x0 + cw
    body_top = y0 + lid_h
    band_w = max(3, cw // 10)
    bands = [x0 + cw // 5, x1 - cw // 5 - band_w]
    if open_state:
        # lid swung back: we see its inside above the box
        lid = f.m_poly([(x0 + 2, body_top - lid_h * 1.7), (x1 - 2, body_top - lid_h * 1.7),
                        (x1, body_top), (x0, body_top)])
        paint(arr, lid, WOOD_DARK, sh=1)
        inner = f.m_poly([(x0 + 5, body_top - lid_h * 1.7 + 4), (x1 - 5, body_top - lid_h * 1.7 + 4),
                          (x1 - 3, body_top - 1), (x0 + 3, body_top - 1)])
        arr[inner] = (60, 34, 22)
        for bx in bands:
            m = f.m_rect([bx, body_top - lid_h * 1.7, bx + band_w - 1, body_top]) & lid
            paint(arr, m, GOLD, sh=1)
    else:
        lid = f.m_ellipse([x0, y0 - lid_h * 0.5, x1, y0 + lid_h * 1.5]) & \
            f.m_rect([x0, y0 - lid_h, x1, body_top])
        lid |= f.m_rect([x0, y0 + lid_h // 2, x1, body_top])
        paint(arr, lid, WOOD, sh=2)
        # planks on the lid
        for k in range(1, 3):
            yy = int(y0 + lid_h * k / 3.0)
            row = f.m_line([(x0 + 1, yy), (x1 - 1, yy)], 1) & lid & ~edge(lid)
            arr[row] = WOOD[0]
        for bx in bands:
            m = f.m_rect([bx, y0 - lid_h, bx + band_w - 1, body_top]) & lid
            paint(arr, m, GOLD, sh=1)
    body = f.m_rect([x0, body_top, x1, y0 + ch])
    if open_state:
        # the box's open mouth
        mouth = f.m_rect([x0 + 2, body_top - 3, x1 - 2, body_top + 3])
        paint(arr, mouth, ((30, 16, 12), (46, 26, 18), (64, 38, 26)), sh=0)
    paint(arr, body, WOOD, sh=2)
    for k in range(1, 3):
        yy = int(body_top + (ch - lid_h) * k / 3.0)
        row = f.m_line([(x0 + 1, yy), (x1 - 1, yy)], 1) & body & ~edge(body)
        arr[row] = WOOD[0]
    for bx in bands:
        m = f.m_rect([bx, body_top, bx + band_w - 1, y0 + ch])
        paint(arr, m, GOLD, sh=1)
    rim = f.m_rect([x0 - 1, body_top - 1, x1 + 1, body_top + 2])
    paint(arr, rim, GOLD, sh=1)
    # studs on the bands
    for bx in bands:
        for yy in range(body_top + 5, y0 + ch - 2, 6):
            arr[yy, bx + band_w // 2] = GOLD[3]
    if open_state == 1:
        # a heap of coins and jewels spilling over the rim
        rng = np.random.RandomState(7)
        heap = f.m_ellipse([x0 + 2, body_top - lid_h * 0.9, x1 - 2, body_top + lid_h * 0.7]) & \
            f.m_rect([0, 0, w, body_top])
        paint(arr, heap, GOLD, sh=1)
        ys, xs = np.nonzero(heap & ~edge(heap))
        for i in rng.permutation(len(xs))[:max(6, len(xs) // 9)]:
            x, y = xs[i], ys[i]
            arr[y, x] = GOLD[0]
            if x + 1 < w:
                arr[y, x + 1] = GOLD[3]
        cx = (x0 + x1) // 2
        for gx, gy, col in ((cx - 8, body_top - 5, (220, 30, 50)),
                            (cx + 6, body_top - 8, (40, 170, 70)),
                            (cx + 1, body_top - 3, (60, 90, 220))):
            arr[gy:gy + 3, gx:gx + 3] = col
            arr[gy, gx] = (255, 255, 255)
            arr[edge(f.m_rect([gx - 1, gy - 1, gx + 3, gy + 3]))] = OUTLINE
        # a strand of pearls over the edge
        for i in range(6):
            px, py = x1 - 10 + i, body_top + i * 2 - 2
            if 0 <= px < w:
                arr[py, px] = (250, 250, 240)
    # lock plate with keyhole
    cx = (x0 + x1) // 2
    lp = f.m_rect([cx - 4, body_top - 2, cx + 3, body_top + 7])
    paint(arr, lp, GOLD, sh=1)
    arr[body_top + 2:body_top + 5, cx - 1] = (30, 16, 12)
    arr[body_top + 1, cx - 1] = (30, 16, 12)
    if glint is not None:
        # a bright diagonal stroke moving across all the gold metal
        yy, xx = np.mgrid[0:h, 0:w]
        gold = np.zeros((h, w), bool)
        for c in GOLD[:3]:
            gold |= np.all(arr == np.array(c, np.uint8), axis=2)
        stripe = ((xx + (yy - y0) * 0.6 - glint) >= 0) & ((xx + (yy - y0) * 0.6 - glint) < 3)
        arr[gold & stripe] = GOLD[3]
        arr[gold & stripe & ((xx + (yy - y0) * 0.6 - glint) < 1)] = (255, 255, 255)
    return arr


def chest_cell(phase):
    arr = blank(IW, IH)
    dither_shadow(arr, 1, 62, 39, 69)
    c = chest_drawing(IW, 3, 40, 33, 27, 10, 0, glint=[-4, 10, 24, 38][phase] + 0)
    ch = c.shape[0]
    m = ~keymask(c)
    arr[:ch][m] = c[m]
    spots = [[(9, 26, 3), (30, 14, 2)], [(21, 10, 3), (6, 30, 1)],
             [(33, 24, 3), (14, 16, 2)], [(15, 30, 2), (26, 6, 2)]]
    for sx, sy, s in spots[phase]:
        sparkle(arr, sx, sy, s)
    return arr


def chest_sheet():
    return sheet([[chest_cell(i) for i in range(4)]], IW, IH)


# ---------------------------------------------------------------------------
def heart_mask(f, dx=0, dy=0):
    return (f.m_ellipse([2 + dx, 4 + dy, 21 + dx, 23 + dy])
            | f.m_ellipse([18 + dx, 4 + dy, 37 + dx, 23 + dy])
            | f.m_poly([(3 + dx, 17 + dy), (36 + dx, 17 + dy), (20 + dx, 36 + dy),
                        (19 + dx, 36 + dy)]))


def heart_cells():
    full = blank(40, 40)
    f = Fig(40, 40)
    m = heart_mask(f)
    cols = [HEART[0], (176, 18, 36), HEART[1], (238, 60, 72), HEART[2]]
    sphere(full, m, 16, 13, 20, 22, cols, outline=None, bias=0.1)
    ring = edge(m) | edge(m & ~edge(m))
    full[ring] = (40, 8, 16)
    full[8:10, 8:12] = HEART[3]
    full[10:12, 7:9] = HEART[3]
    full[7, 10] = (255, 255, 255)
    full[9, 26:28] = HEART[2]

    broken = blank(40, 40)
    crack = [(20, 6), (17, 12), (22, 17), (17, 23), (21, 29), (19.5, 37)]
    left_poly = [(0, 0)] + [(x - 0.5, y) for x, y in crack] + [(0, 40)]
    lm = heart_mask(f, -1, 1) & f.m_poly(left_poly)
    rm = heart_mask(f, 2, 0) & ~f.m_poly([(x + 2, y) for x, y in left_poly]) \
        & ~f.m_line([(x + 2, y) for x, y in crack], 2)
    # Darker than a plain grey: the game draws the hearts at 40 % opacity on
    # the pale middle band, where a light grey would all but vanish.
    gcols = [(30, 30, 38), (50, 50, 60), (72, 72, 84), (98, 98, 110),
             (128, 128, 140)]
    for part, dx in ((lm, -1), (rm, 2)):
        sphere(broken, part, 16 + dx, 13, 20, 22, gcols, outline=None)
        ring = edge(part) | edge(part & ~edge(part))
        broken[ring] = (30, 28, 36)
    broken[9:11, 8:11] = (176, 176, 188)
    return sheet([[full, broken]], 40, 40)


# ---------------------------------------------------------------------------
def map_cell(phase):
    """A treasure map held open between two wooden rollers: an island with a
    palm, a dotted trail and a red X that glints."""
    arr = blank(IW, IH)
    f = Fig(IW, IH)
    bob = [0, -1, -2, -1][phase]
    dither_shadow(arr, 4, 40, 36, 46, phase=phase)
    y0, y1 = 9 + bob, 33 + bob
    # the sheet, its long edges bowed a little as if pulled taut
    paper = f.m_poly([(6, y0), (20, y0 + 1), (34, y0), (34, y1), (20, y1 - 1), (6, y1)])
    paint(arr, paper, PARCH, sh=1, hl=0)
    yy, xx = np.mgrid[0:IH, 0:IW]
    inner = paper & ~edge(paper)
    # sea wash around the island
    sea = inner & ((xx < 10) | (xx > 30) | (yy < y0 + 4) | (yy > y1 - 4))
    arr[sea & checker(IH, IW)] = (150, 178, 176)
    island = f.m_poly([(11, 16 + bob), (16, 13 + bob), (23, 14 + bob), (29, 17 + bob),
                       (29, 23 + bob), (25, 28 + bob), (17, 29 + bob), (11, 26 + bob)])
    arr[island] = (206, 168, 96)
    arr[island & shifted(island, 0, 3) & shifted(island, 2, 0)] = (112, 150, 64)  # uplands
    arr[edge(island)] = (132, 88, 46)
    # a palm on the island's west end
    arr[18 + bob:23 + bob, 14] = (110, 70, 40)
    arr[17 + bob, 12:17] = (40, 120, 50)
    arr[18 + bob, 11] = (40, 120, 50)
    arr[18 + bob, 16] = (40, 120, 50)
    # the trail and the X
    for x, y in ((15, 25), (17, 25), (19, 24), (21, 23), (22, 21)):
        arr[y + bob, x] = (150, 30, 24)
    xc, yc = 25, 19 + bob
    for d in range(-2, 3):
        for w in (0, 1):
            arr[yc + d, xc + d + w] = (196, 20, 20)
            arr[yc + d, xc - d + w] = (196, 20, 20)
    # a compass mark in the corner
    arr[y1 - 6:y1 - 3, 31] = (96, 62, 36)
    arr[y1 - 5, 30:33] = (96, 62, 36)
    # the rollers, with knobs above and below
    for rx in (2, 33):
        roll = f.m_rect([rx, y0 - 2, rx + 5, y1 + 2])
        paint(arr, roll, WOOD, sh=1)
        for ky in (y0 - 5, y1 + 2):
            knob = f.m_ellipse([rx + 1, ky, rx + 4, ky + 3])
            paint(arr, knob, GOLD, sh=0)
    if phase in (1, 2):
        sparkle(arr, xc + 5, yc - 6, 2 if phase == 1 else 3)
    return arr


def map_sheet():
    return sheet([[map_cell(i) for i in range(4)]], IW, IH)


# ---------------------------------------------------------------------------
def sword_blade(f, a, b, width=4):
    return f.m_line([a, b], width)


def fight_cell(phase):
    arr = blank(IW, IH)
    f = Fig(IW, IH)
    dither_shadow(arr, 4, 42, 36, 48, color=(60, 40, 40), phase=phase)
    blades = [((7, 33), (33, 4)), ((33, 33), (7, 4))]
    masks = []
    for (hx, hy), (tx, ty) in blades:
        # curved cutlass blade from hilt to tip
        pts = []
        for i in range(9):
            t = i / 8.0
            x = hx + (tx - hx) * t
            y = hy + (ty - hy) * t
            bend = 2.5 * math.sin(t * math.pi) * (1 if tx > hx else -1)
            pts.append((x + bend, y + abs(bend) * 0.4))
        m = f.m_line(pts, 4)
        masks.append((m, pts))
    for k, (m, pts) in enumerate(masks):
        paint(arr, m, STEEL, sh=1)
        # gleam travelling along the blade
        t = [(0.25, 0.55), (0.55, 0.85), (0.8, 0.5), (0.4, 0.2)][phase][k]
        gx, gy = pts[int(round(t * 8))]
        for d in (-1, 0, 1):
            yy, xx = int(round(gy + d)), int(round(gx + d * (1 if k else -1)))
            if m[yy, xx]:
                arr[yy, xx] = (255, 255, 255)
    for (hx, hy), (tx, ty) in blades:
        # gold guard and leather grip
        sgn = 1 if tx > hx else -1
        guard = f.m_line([(hx + 5 * sgn - 4, hy - 4 + 0), (hx + 5 * sgn + 4, hy + 2)], 3) \
            if sgn > 0 else f.m_line([(hx - 5 - 4, hy + 2), (hx - 5 + 4, hy - 4)], 3)
        paint(arr, guard, GOLD, sh=0)
        grip = f.m_line([(hx, hy), (hx - 3 * sgn, hy + 4)], 3)
        paint(arr, grip, BELT, sh=0)
        pm = f.m_ellipse([hx - 3 * sgn - 2, hy + 3, hx - 3 * sgn + 2, hy + 7])
        paint(arr, pm, GOLD, sh=0)
    # clash spark where the blades cross
    s = [3, 2, 4, 2][phase]
    sparkle(arr, 20, 14, s, color=(255, 240, 150))
    if phase in (0, 2):
        for x, y in ((14, 9), (26, 9), (20, 6)):
            arr[y - (phase // 2), x] = (255, 220, 120)
    return arr


def fight_sheet():
    return sheet([[fight_cell(i) for i in range(4)]], IW, IH)


# ---------------------------------------------------------------------------
def t_box_sheet():
    cells = []
    for state in range(3):
        arr = blank(60, 120)
        dither_shadow(arr, 0, 110, 59, 119)
        c = chest_drawing(60, 4, 66, 51, 48, 14, state)
        m = ~keymask(c)
        arr[:c.shape[0]][m] = c[m]
        if state == 1:
            for sx, sy, s in ((14, 36, 3), (44, 30, 4), (30, 22, 2), (22, 50, 2),
                              (48, 50, 2)):
                sparkle(arr, sx, sy, s)
            # a few coins tossed up by the glitter
            for cx, cy in ((20, 44), (40, 40)):
                c = Fig(60, 120).m_ellipse([cx - 3, cy - 3, cx + 3, cy + 3])
                paint(arr, c, GOLD, sh=1)
        cells.append(arr)
    return sheet([cells], 60, 120)
