"""Full-screen backgrounds and terrain tiles."""
import math

import numpy as np
from PIL import Image, ImageFilter

from pix import (Fig, blank, paint, edge, keymask, paste, shifted, noise2,
                 dither_to, ramp_colors, OUTLINE, GOLD, STEEL, WOOD, WOOD_DARK,
                 BONE, IRON, HAT, checker)

W, H = 640, 480


def shade_mul(arr, mask_f, k):
    """Darken (k<1) or lighten (k>1) by a soft mask in [0,1]."""
    f = 1.0 + (k - 1.0) * mask_f[:, :, None]
    return np.clip(arr.astype(np.float64) * f, 0, 255)


def soft(mask, radius):
    img = Image.fromarray((mask * 255).astype(np.uint8), "L")
    img = img.filter(ImageFilter.GaussianBlur(radius))
    return np.array(img, np.float64) / 255.0


def no_key(arr):
    """Opaque pictures must never contain the key colour."""
    if keymask(arr).any():
        raise ValueError("opaque background contains the transparent key colour")
    return arr


def wrap_draw(fn, x, period=W):
    for dx in (-period, 0, period):
        fn(x + dx)


# ---------------------------------------------------------------------------
# small beach props (pixel sprites pasted into the backgrounds)
# ---------------------------------------------------------------------------
def prop_rock(w, h, seed):
    rng = np.random.RandomState(seed)
    f = Fig(w + 2, h + 2)
    pts = []
    for i in range(9):
        a = i / 9 * 2 * math.pi
        r = 0.82 + 0.18 * rng.rand()
        pts.append((w / 2 + 1 + math.cos(a) * w / 2 * r, h / 2 + 1 + math.sin(a) * h / 2 * r))
    arr = blank(w + 2, h + 2)
    m = f.m_poly(pts)
    paint(arr, m, ((92, 86, 84), (136, 128, 120), (178, 170, 158)), sh=2,
          outline=(60, 50, 46))
    return arr


def prop_shell(kind):
    arr = blank(12, 11)
    f = Fig(12, 11)
    if kind == 0:       # scallop
        m = f.m_ellipse([0, 0, 11, 10]) & f.m_rect([0, 0, 11, 7])
        m |= f.m_poly([(4, 6), (7, 6), (7, 9), (4, 9)])
        paint(arr, m, ((210, 140, 130), (244, 196, 180), (255, 232, 220)), sh=1,
              outline=(150, 90, 80))
        for x in (3, 5, 7):
            arr[2:6, x] = (214, 150, 140)
    else:               # starfish
        pts = []
        for i in range(10):
            a = -math.pi / 2 + i * math.pi / 5
            r = 5.4 if i % 2 == 0 else 2.2
            pts.append((5.5 + r * math.cos(a), 5.5 + r * math.sin(a)))
        m = f.m_poly(pts)
        paint(arr, m, ((190, 80, 40), (236, 124, 60), (255, 176, 110)), sh=1,
              outline=(130, 50, 30))
        arr[5, 5] = (255, 200, 150)
    return arr


def palm_shadow_mask(cx, cy, size, angle0, n=8):
    f = Fig(W, H)
    m = np.zeros((H, W), bool)
    for i in range(n):
        a = angle0 + i * 2 * math.pi / n + 0.2 * math.sin(i * 1.7)
        L = size * (0.8 + 0.2 * math.cos(i * 2.3))
        pts = []
        for k in range(7):
            t = k / 6
            px = cx + math.cos(a + 0.25 * t) * L * t
            py = cy + math.sin(a + 0.25 * t) * L * t
            wdt = L * 0.13 * math.sin(math.pi * min(1, t * 1.1))
            pts.append((px, py, wdt))
        left = [(x - math.sin(a) * w, y + math.cos(a) * w) for x, y, w in pts]
        right = [(x + math.sin(a) * w, y - math.cos(a) * w) for x, y, w in pts]
        m |= f.m_poly(left + right[::-1])
        # frond leaflets: serrated edge
        for x, y, w in pts[1:-1]:
            for s in (-1, 1):
                m |= f.m_line([(x, y), (x + s * math.sin(a) * w * 1.8 + math.cos(a) * 10,
                                     y - s * math.cos(a) * w * 1.8 + math.sin(a) * 10)], 3)
    m |= f.m_ellipse([cx - size * 0.12, cy - size * 0.12, cx + size * 0.12, cy + size * 0.12])
    return m


# ---------------------------------------------------------------------------
def beach_bg():
    """The main playfield: warm sand seen from above, surf along the bottom,
    palm shadows in the corners, a calm pale strip across the middle."""
    yy, xx = np.mgrid[0:H, 0:W].astype(np.float64)
    n = noise2(H, W, 11, 90, 4)
    fine = noise2(H, W, 12, 6, 2)
    base = np.array((234, 214, 168), np.float64)
    # The band's cream: gold score text (200, 150, 0) and brown menu text
    # (100, 50, 10) both need a light ground (gold gets darker than any sand
    # only near white), so the band stays light and is made flat instead.
    lite = np.array((251, 243, 223), np.float64)
    dark = np.array((216, 190, 140), np.float64)
    t = np.clip((n - 0.3) * 1.6, 0, 1)
    sand = base[None, None] * (1 - t[:, :, None]) + dark[None, None] * t[:, :, None] * 0.0 \
        + base[None, None] * t[:, :, None]
    sand = base[None, None] + (dark - base)[None, None] * (t[:, :, None] * 0.8)
    # vignette: edges a little warmer and darker
    v = ((xx - 320) / 380) ** 2 + ((yy - 230) / 300) ** 2
    sand = sand + (dark - base)[None, None] * np.clip(v - 0.35, 0, 1)[:, :, None] * 0.9
    # calm pale band across the middle, where score and hearts go: a flat
    # cream core (y 195..285) with a soft edge, the sand's mottling fading
    # out into it
    band = np.exp(-((yy - 240) / 64.0) ** 6)
    core = np.exp(-((yy - 240) / 54.0) ** 8)
    sand = sand * (1 - band[:, :, None] * 0.9) + lite[None, None] * band[:, :, None] * 0.9
    sand = sand * (1 - core[:, :, None]) + lite[None, None] * core[:, :, None]
    # wind ripples away from the band
    rip = np.sin((yy * 0.9 + 14 * noise2(H, W, 13, 120, 2) * 6 + xx * 0.15) * 2 * math.pi / 13)
    ripm = (rip > 0.82) * (1 - band) * 0.07
    sand = sand * (1 - ripm[:, :, None])
    rip2 = (rip < -0.9) * (1 - band) * 0.04
    sand = sand * (1 + rip2[:, :, None])
    # grain
    sand += (fine[:, :, None] - 0.5) * 14 * (1 - band[:, :, None] * 0.85)
    rng = np.random.RandomState(5)
    speck = rng.rand(H, W)
    outside = band < 0.5     # no grains where thin text is drawn
    sand[(speck > 0.992) & outside] *= 0.86
    light_speck = (speck < 0.006) & outside
    sand[light_speck] = sand[light_speck] * 0.5 + 255 * 0.5
    # palm shadows in the two top corners and bottom-left
    pm = np.zeros((H, W), bool)
    pm |= palm_shadow_mask(-10, -20, 190, 0.3)
    pm |= palm_shadow_mask(660, 10, 170, 1.9, 7)
    pm |= palm_shadow_mask(-30, 470, 150, -0.6, 7)
    pms = soft(pm, 2.2)
    sand = shade_mul(sand, pms, 0.80)
    # the surf at the bottom: wet sand, foam and shallow water
    shore = 452 + 6 * np.sin(xx / 53.0) + 4 * np.sin(xx / 21.0 + 1.3) + 3 * np.sin(xx / 9.0)
    wet = np.clip(1 - (shore - yy) / 26.0, 0, 1) * (yy < shore)
    sand = sand * (1 - wet[:, :, None] * 0.16)
    water = yy >= shore
    depth = np.clip((yy - shore) / 26.0, 0, 1)
    shallow = np.array((96, 170, 168), np.float64)
    deep = np.array((44, 112, 150), np.float64)
    wcol = shallow[None, None] * (1 - depth[:, :, None]) + deep[None, None] * depth[:, :, None]
    wcol += (noise2(H, W, 14, 20, 2)[:, :, None] - 0.5) * 16
    arr = np.where(water[:, :, None], wcol, sand)
    foam = (yy >= shore - 1) & (yy < shore + 3 + 2 * np.sin(xx / 7.0))
    arr[foam] = (244, 246, 236)
    foam2 = (np.abs(yy - (shore + 11 + 3 * np.sin(xx / 31.0 + 2))) < 1.2) & \
        (np.sin(xx / 13.0) > -0.2)
    arr[foam2] = (214, 236, 226)
    arr = np.clip(arr, 0, 255).astype(np.uint8)
    # props along the edges
    for x, y, w, h, s in ((22, 150, 26, 18, 1), (42, 168, 14, 10, 2), (596, 300, 30, 20, 3),
                          (580, 322, 12, 9, 4), (560, 60, 16, 12, 5),
                          (96, 404, 20, 14, 6)):
        paste(arr, prop_rock(w, h, s), x, y)
    for x, y, k in ((70, 110, 0), (604, 150, 1), (30, 330, 1), (520, 420, 0),
                    (150, 440, 0), (610, 390, 0), (470, 24, 1)):
        paste(arr, prop_shell(k), x, y)
    return no_key(arr)


# ---------------------------------------------------------------------------
def cloud_mask(h, w, cx, cy, size, seed):
    """Outline of a puffy cloud: a row of overlapping round puffs on a
    flat bottom."""
    rng = np.random.RandomState(seed)
    f = Fig(w, h)
    m = np.zeros((h, w), bool)
    n = 5 + int(size / 14)
    for i in range(n):
        px = cx + (i - (n - 1) / 2) * size * 0.32 + rng.randint(-4, 5)
        r = size * (0.28 + 0.3 * math.sin(math.pi * (i + 0.5) / n)) + rng.randint(0, 5)
        py = cy - r * 0.5 + rng.randint(-3, 3)
        m |= f.m_ellipse([px - r, py - r, px + r, py + r])
    return m & f.m_rect([0, 0, w, cy + size * 0.18])


def shade_clouds(arr, m, wrap=False):
    """Lit tops, white rims and a blue-grey belly."""
    if wrap:
        def sh(mask, dx, dy):
            return np.roll(np.roll(mask, -dy, 0), -dx, 1)
    else:
        sh = shifted
    cols = [(176, 196, 222), (214, 226, 240), (240, 246, 252), (255, 255, 255)]
    arr[m] = cols[1]
    arr[m & ~sh(m, -2, -4)] = cols[2]
    arr[m & ~sh(m, 0, -2)] = cols[3]
    arr[m & ~sh(m, 0, 5)] = cols[0]
    return m


def cloud(arr, cx, cy, size, seed):
    h, w = arr.shape[:2]
    return shade_clouds(arr, cloud_mask(h, w, cx, cy, size, seed))


def glitter(arr, region, seed, color=(255, 246, 210), density=0.05):
    """Short horizontal sparkle dashes on water inside a boolean region."""
    rng = np.random.RandomState(seed)
    ys, xs = np.nonzero(region)
    if not len(xs):
        return
    pick = rng.rand(len(xs)) < density / 4
    h, w = arr.shape[:2]
    for x, y in zip(xs[pick], ys[pick]):
        L = 2 + int(rng.rand() * 5)
        arr[y, max(0, x - L // 2):min(w, x + L // 2 + 1)] = color


def sky_bg():
    """Side-scrolling backdrop: sky, clouds, sea and islands; tiles in x."""
    yy, xx = np.mgrid[0:H, 0:W].astype(np.float64)
    horizon = 318
    sky_cols = ramp_colors([(60, 104, 190), (104, 152, 222), (166, 204, 238),
                            (226, 236, 236)], 9)
    t = np.clip(yy / horizon, 0, 1) ** 1.2
    arr = dither_to(t, sky_cols)
    # sun glow
    sun = (xx - 470) ** 2 + (yy - 110) ** 2
    arr[sun < 26 ** 2] = (255, 244, 196)
    arr[sun < 22 ** 2] = (255, 252, 230)
    ring = (sun >= 26 ** 2) & (sun < 34 ** 2) & checker(H, W)
    arr[ring] = (250, 238, 200)
    # clouds, all wrapped so the picture tiles
    cm = np.zeros((H, W), bool)
    # none in the top 60 rows: the gold score scrolls over them there and
    # reads far better on blue than on white
    for cx, cy, s_, seed in ((60, 118, 54, 1), (250, 150, 46, 2), (410, 124, 60, 3),
                             (560, 170, 60, 4), (150, 230, 40, 5), (330, 250, 46, 6),
                             (620, 260, 36, 7)):
        wide = cloud_mask(H, 3 * W, cx + W, cy, s_, seed)
        cm |= wide[:, :W] | wide[:, W:2 * W] | wide[:, 2 * W:]
    shade_clouds(arr, cm, wrap=True)
    # islands on the horizon
    f = Fig(W, H)
    isl = np.zeros((H, W), bool)
    for cx, wd, ht in ((120, 150, 34), (300, 70, 16), (520, 110, 26)):
        for dx in (-W, 0, W):
            x = cx + dx
            pts = [(x - wd / 2, horizon + 1)]
            for k in range(1, 12):
                tt = k / 12
                pts.append((x - wd / 2 + wd * tt,
                            horizon - ht * math.sin(math.pi * tt) ** 0.7
                            - 3 * math.sin(tt * 17 + cx)))
            pts.append((x + wd / 2, horizon + 1))
            isl |= f.m_poly(pts)
    arr[isl] = (92, 132, 138)
    arr[isl & ~np.roll(np.roll(isl, 3, 0), 3, 1)] = (120, 160, 156)
    # palms on the big island (wrapped)
    for px in (100, 130, 515):
        for dx in (-W, 0, W):
            x = px + dx
            if -20 < x < W + 20:
                trunk = f.m_line([(x, horizon - 20), (x + 3, horizon - 40)], 2)
                arr[trunk] = (78, 110, 116)
                for a in (-2.6, -2.0, -1.2, -0.5, 0.1):
                    leaf = f.m_line([(x + 3, horizon - 40),
                                     (x + 3 + 12 * math.cos(a), horizon - 40 + 12 * math.sin(a) + 4)], 2)
                    arr[leaf] = (78, 110, 116)
    # the sea
    sea_cols = ramp_colors([(70, 140, 190), (46, 104, 160), (30, 72, 126)], 6)
    st = np.clip((yy - horizon) / (H - horizon), 0, 1)
    sea = dither_to(st, sea_cols)
    below = yy > horizon
    arr[below] = sea[below]
    waves = below & (np.sin(xx * 2 * math.pi / 64 * (1 + (yy > 380)) + yy * 0.9) > 0.93) & \
        (np.sin(yy * 1.3) > 0.2)
    arr[waves] = (150, 196, 226)
    arr[horizon:horizon + 1, :][~isl[horizon:horizon + 1, :]] = (200, 226, 240)
    # sun glitter on the water under the sun
    glitter(arr, below & (np.abs(xx - 470) < 46 - (yy - horizon) * 0.15) & (yy < 420), 8)
    return no_key(arr)


# ---------------------------------------------------------------------------
EARTH = [(72, 44, 30), (98, 62, 40), (124, 82, 52), (150, 104, 66)]


def ground_tile(top=0):
    """80x80 earth with a grassy top starting at row 'top'; tiles in x."""
    arr = blank(80, 80)
    yy, xx = np.mgrid[0:80, 0:80].astype(np.float64)
    n = noise2(80, 80, 21, 16, 3, wrap_x=True)
    t = np.clip(n * 0.9 + (yy - top) / 200.0, 0, 1)
    earth = dither_to(1 - t, EARTH)
    arr[:] = earth
    # embedded stones (wrapped)
    f = Fig(80, 80)
    for cx, cy, r in ((14, 30, 6), (44, 46, 8), (68, 28, 5), (28, 64, 7),
                      (62, 68, 6), (4, 54, 4), (50, 20, 3)):
        for dx in (-80, 0, 80):
            m = f.m_ellipse([cx + dx - r, cy + top * 0.7 - r * 0.7,
                             cx + dx + r, cy + top * 0.7 + r * 0.7])
            paint(arr, m, ((96, 90, 92), (138, 132, 128), (180, 174, 164)), sh=1,
                  outline=(52, 34, 26))
    # grass cap: solid top rows with a ragged lower fringe
    fringe = top + 8 + 2.5 * np.sin(xx[0] * 2 * math.pi / 20) + \
        1.5 * np.sin(xx[0] * 2 * math.pi / 8 + 1)
    for x in range(80):
        fy = int(round(fringe[x]))
        arr[top:fy, x] = (84, 160, 56)
        arr[top:top + 2, x] = (150, 212, 92)
        arr[top + 2:top + 3, x] = (116, 190, 70)
        if x % 5 == 2:
            arr[fy:fy + 2, x] = (84, 160, 56)       # dangling blades
        arr[fy:fy + 1, x] = (46, 100, 40)
    for x in range(0, 80, 7):
        arr[top + 3, x] = (170, 226, 110)
    arr[top:top + 1, :] = (174, 228, 112)
    if top:
        arr[:top] = (0, 255, 255)
    return arr


def trap_tile():
    """A bed of iron spikes whose tips are the tile's top row, where a pirate
    would stand: five tall blades with bloody points, set into a riveted
    plate with hazard stripes, over bare earth with a skull in it."""
    g = ground_tile(top=0)
    arr = blank(80, 80)
    arr[20:] = g[20:]           # earth and stones; the grass cap is gone
    f = Fig(80, 80)
    yy = np.mgrid[0:80, 0:80][0]
    # the spikes, pitch 16; the sky shows between them
    for i in range(5):
        cx = 8 + 16 * i
        m = f.m_poly([(cx - 7, 20), (cx - 0.5, 0), (cx + 0.5, 0), (cx + 7, 20)])
        arr[m] = STEEL[1]
        left = m & (np.mgrid[0:80, 0:80][1] < cx)
        arr[left] = STEEL[2]
        arr[m & ~shifted(m, -2, 0)] = STEEL[0]              # shaded right flank
        arr[f.m_line([(cx - 1, 3), (cx - 3, 15)], 1) & m] = STEEL[3]   # glint
        arr[edge(m)] = OUTLINE
        tip = m & (yy < 7) & ~edge(m)
        arr[tip] = (196, 18, 24)
        arr[tip & (yy < 3)] = (236, 60, 52)
    # blood running down two of the blades
    for x, y0, y1 in ((23, 6, 12), (57, 6, 14), (56, 8, 11)):
        arr[y0:y1, x] = (160, 12, 18)
    # the plate the spikes are set into
    plate = f.m_rect([0, 16, 79, 25])
    paint(arr, plate, IRON, sh=1, outline=None)
    arr[16, :] = IRON[2]
    arr[17, :] = IRON[3]
    for y in range(19, 24):
        for x in range(80):
            yellow = ((x + y) // 5) % 2 == 0     # period 10: tiles in 80
            arr[y, x] = (234, 184, 34) if yellow else (30, 26, 30)
    arr[18, :] = IRON[1]
    arr[24, :] = IRON[0]
    arr[25, :] = OUTLINE
    for x in range(4, 80, 16):
        arr[17, x:x + 2] = (230, 234, 244)
    arr[20:23, 30] = (160, 12, 18)       # a drip over the stripes
    # a skull half buried in the earth
    sx, sy = 18, 36
    sk = f.m_ellipse([sx, sy, sx + 16, sy + 14]) | f.m_rect([sx + 3, sy + 10, sx + 13, sy + 17])
    paint(arr, sk, BONE, sh=2)
    arr[sy + 5:sy + 9, sx + 3:sx + 7] = (36, 22, 26)
    arr[sy + 5:sy + 9, sx + 9:sx + 13] = (36, 22, 26)
    arr[sy + 10:sy + 12, sx + 7:sx + 9] = (60, 40, 40)
    for x in (sx + 5, sx + 7, sx + 9, sx + 11):
        arr[sy + 14:sy + 17, x] = (120, 110, 90)
    return arr


# ---------------------------------------------------------------------------
def voronoi(h, w, n, seed):
    rng = np.random.RandomState(seed)
    px = rng.rand(n) * w
    py = rng.rand(n) * h
    yy, xx = np.mgrid[0:h, 0:w].astype(np.float32)
    d1 = np.full((h, w), 1e9, np.float32)
    d2 = np.full((h, w), 1e9, np.float32)
    idx = np.zeros((h, w), np.int32)
    for i in range(n):
        d = (xx - px[i]) ** 2 + (yy - py[i] * 1.0) ** 2
        closer = d < d1
        d2 = np.where(closer, d1, np.minimum(d2, d))
        idx = np.where(closer, i, idx)
        d1 = np.where(closer, d, d1)
    return idx, np.sqrt(d2) - np.sqrt(d1)


def torch(arr, x, y):
    f = Fig(W, H)
    paint(arr, f.m_rect([x - 2, y, x + 2, y + 22]), WOOD_DARK, sh=1)
    paint(arr, f.m_rect([x - 6, y + 18, x + 6, y + 22]), IRON, sh=1)
    paint(arr, f.m_rect([x - 4, y - 4, x + 4, y + 2]), IRON, sh=1)
    flame = f.m_poly([(x - 6, y - 3), (x - 4, y - 12), (x, y - 22), (x + 3, y - 13),
                      (x + 6, y - 3)])
    arr[flame] = (236, 110, 30)
    inner = f.m_poly([(x - 3, y - 3), (x - 1, y - 10), (x + 1, y - 15), (x + 3, y - 3)])
    arr[inner] = (255, 214, 80)
    arr[f.m_rect([x - 1, y - 7, x + 1, y - 3])] = (255, 250, 210)


def cave_bg():
    yy, xx = np.mgrid[0:H, 0:W].astype(np.float64)
    idx, gap = voronoi(H, W, 150, 31)
    rng = np.random.RandomState(32)
    tone = rng.rand(150)[idx]
    n = noise2(H, W, 33, 30, 3)
    # light: three torches and a shaft from a crack in the roof
    light = np.zeros((H, W))
    for tx, ty in ((150, 250), (310, 230), (470, 250)):
        light += 1.0 * np.exp(-(((xx - tx) / 150) ** 2 + ((yy - ty) / 130) ** 2))
    light += 0.35 * np.exp(-(((xx - 320) / 240) ** 2 + ((yy - 470) / 120) ** 2))
    light = np.clip(light, 0, 1.2)
    wall_v = 0.16 + 0.16 * tone + 0.10 * n + 0.55 * light
    wall_v[gap < 2.2] *= 0.55
    wall_v[(gap >= 2.2) & (gap < 3.4)] *= 1.12
    # darker towards the roof: the top third stays quiet
    roof = np.clip(0.25 + yy / 260.0, 0, 1)
    wall_v = wall_v * roof + (1 - roof) * 0.08
    cols = [(18, 13, 20), (30, 22, 32), (46, 34, 44), (66, 48, 54), (92, 68, 66),
            (124, 92, 78), (160, 120, 90), (196, 152, 104)]
    arr = dither_to(np.clip(wall_v, 0, 1), cols)
    # stalactites hanging from the roof
    f = Fig(W, H)
    rng = np.random.RandomState(35)
    x = 4
    while x < W:
        wd = rng.randint(10, 26)
        L = rng.randint(18, 64)
        m = f.m_poly([(x, 0), (x + wd, 0), (x + wd * 0.55, L), (x + wd * 0.45, L)])
        paint(arr, m, ((22, 16, 24), (40, 30, 40), (66, 50, 60)), sh=2,
              outline=(12, 8, 14))
        arr[min(H - 1, L + 3), min(W - 1, int(x + wd / 2))] = (120, 110, 130)
        x += wd + rng.randint(2, 20)
    arr[0:6, :] = (12, 8, 14)
    # the floor: packed sand and pebbles, lit in the middle
    floor_y = 432 + 3 * np.sin(xx / 40.0)
    fl = yy >= floor_y
    fv = 0.35 + 0.45 * light + 0.15 * noise2(H, W, 34, 8, 2) + (yy - 432) / 200.0
    fcols = [(52, 38, 36), (84, 62, 50), (120, 92, 64), (156, 122, 82), (186, 152, 102)]
    floor = dither_to(np.clip(fv, 0, 1), fcols)
    arr[fl] = floor[fl]
    lip = (yy >= floor_y) & (yy < floor_y + 2)
    arr[lip] = (200, 166, 112)
    arr[(yy >= floor_y - 2) & (yy < floor_y)] = (30, 22, 28)
    for tx, ty in ((150, 250), (310, 230), (470, 250)):
        torch(arr, tx, ty)
    # scattered coins and a skull on the floor, between the boxes
    for cx, cy in ((120, 462), (140, 470), (292, 466), (440, 458), (610, 470),
                   (12, 464), (333, 474)):
        m = f.m_ellipse([cx - 3, cy - 2, cx + 3, cy + 2])
        arr[m] = GOLD[1]
        arr[edge(m)] = GOLD[0]
        arr[cy - 1, cx - 1] = GOLD[3]
    sk = f.m_ellipse([456, 448, 470, 462])
    paint(arr, sk, BONE, sh=1)
    arr[454:457, 459:461] = (30, 20, 24)
    arr[454:457, 464:466] = (30, 20, 24)
    return no_key(arr)


# ---------------------------------------------------------------------------
def ship_side(w, h, sails=True, seed=0, scale_k=1.0):
    """A pirate ship seen from the side, facing left, as a key-coloured
    sprite."""
    f = Fig(w, h)
    k = scale_k
    hull_top = h * 0.62
    hull = f.m_poly([(w * 0.04, hull_top - 8 * k), (w * 0.18, hull_top),
                     (w * 0.82, hull_top), (w * 0.97, hull_top - 14 * k),
                     (w * 0.9, h * 0.95), (w * 0.15, h * 0.95)])
    arr = blank(w, h)
    # masts and sails first (behind the hull)
    for mx, top_f in ((0.36, 0.05), (0.62, 0.0)):
        x = w * mx
        paint(arr, f.m_rect([x - 2 * k, h * top_f, x + 2 * k, hull_top + 2]), WOOD_DARK,
              sh=1)
        if sails:
            for j, (y0, y1, wd) in enumerate(((0.10, 0.30, 0.17), (0.32, 0.56, 0.21))):
                yt, yb = h * (top_f + y0), h * (top_f + y1)
                sw = w * wd
                sail = f.m_poly([(x - sw / 2, yt), (x + sw / 2, yt),
                                 (x + sw / 2 + 4 * k, (yt + yb) / 2), (x + sw / 2, yb),
                                 (x - sw / 2, yb), (x - sw / 2 - 6 * k, (yt + yb) / 2)])
                paint(arr, sail, ((172, 160, 136), (224, 214, 190), (248, 242, 226)),
                      sh=int(3 * k))
                paint(arr, f.m_rect([x - sw / 2 - 2, yt - 2 * k, x + sw / 2 + 2, yt + k]),
                      WOOD_DARK, sh=0)
            if mx > 0.5:
                # black flag with skull
                fl = f.m_poly([(x, h * top_f), (x - 30 * k, h * top_f + 4 * k),
                               (x - 26 * k, h * top_f + 11 * k),
                               (x, h * top_f + 16 * k)])
                paint(arr, fl, HAT, sh=1)
                sk = f.m_ellipse([x - 14 * k, h * top_f + 4 * k, x - 7 * k,
                                  h * top_f + 10 * k])
                arr[sk] = (236, 232, 220)
    paint(arr, hull, ((70, 38, 22), (112, 66, 36), (150, 98, 56)), sh=int(3 * k))
    ys, xs = np.nonzero(hull)
    # planking lines, gold stripe, gunports
    for j in range(1, 6):
        yl = int(hull_top + (h * 0.95 - hull_top) * j / 6)
        arr[yl, :][hull[yl, :] & ~edge(hull)[yl, :]] = (80, 46, 26)
    stripe = hull & (np.mgrid[0:h, 0:w][0] >= hull_top + 5 * k) & \
        (np.mgrid[0:h, 0:w][0] < hull_top + 8 * k) & ~edge(hull)
    arr[stripe] = GOLD[1]
    for i in range(5):
        gx = w * (0.26 + i * 0.12)
        gp = f.m_rect([gx - 4 * k, hull_top + 12 * k, gx + 4 * k, hull_top + 19 * k])
        paint(arr, gp, ((20, 12, 12), (34, 22, 20), (34, 22, 20)), sh=0,
              outline=GOLD[0])
    # stern castle
    stern = f.m_rect([w * 0.76, hull_top - 16 * k, w * 0.96, hull_top])
    paint(arr, stern, ((70, 38, 22), (112, 66, 36), (150, 98, 56)), sh=2)
    for i in range(3):
        wx = w * 0.79 + i * 8 * k
        arr[f.m_rect([wx, hull_top - 11 * k, wx + 4 * k, hull_top - 6 * k])] = (255, 214, 110)
    # rail
    arr[f.m_rect([w * 0.06, hull_top - 3 * k, w * 0.8, hull_top])] = WOOD[2]
    return arr


def shore_bg():
    """Side view of the shore under fire: a calm darker sea in the middle."""
    yy, xx = np.mgrid[0:H, 0:W].astype(np.float64)
    horizon = 150
    sky = dither_to(np.clip(yy / horizon, 0, 1),
                    ramp_colors([(238, 150, 96), (250, 196, 130), (252, 226, 170)], 7))
    arr = sky.copy()
    # sunset sun on the horizon
    sun = (xx - 150) ** 2 + (yy - horizon) ** 2
    arr[sun < 40 ** 2] = (255, 236, 170)
    arr[(sun < 46 ** 2) & (sun >= 40 ** 2) & checker(H, W)] = (255, 226, 160)
    for cx, cy, s, seed in ((90, 50, 60, 11), (380, 80, 44, 12), (560, 30, 70, 13)):
        m = cloud(arr, cx, cy, s, seed)
        warm = arr[m].astype(np.int32)
        warm = np.clip(warm * np.array([1.0, 0.86, 0.74]) + np.array([10, 8, 6]), 0, 255)
        arr[m] = warm.astype(np.uint8)
    # sea: darker and calm in the middle so the gold score reads
    st = np.clip((yy - horizon) / 220.0, 0, 1)
    sea = dither_to(st, ramp_colors([(70, 96, 140), (40, 66, 112), (30, 52, 92),
                                     (36, 66, 104)], 8))
    below = yy >= horizon
    arr[below] = sea[below]
    glitter(arr, below & (np.abs(xx - 150) < 50 - (yy - horizon) * 0.3) & (yy < 230), 9,
            color=(255, 214, 150), density=0.08)
    waves = below & (np.sin(xx * 2 * math.pi / 48 + yy * 1.7) > 0.95) & \
        (np.sin(yy * 0.7) > 0.5) & ((yy < 200) | (yy > 300))
    arr[waves] = (96, 130, 170)
    arr[horizon, :] = (250, 220, 170)
    # the enemy ship on the horizon, firing
    ship = ship_side(180, 120, scale_k=0.8)
    paste(arr, ship, 430, horizon - 86)
    smoke = Fig(W, H)
    for cx, cy, r in ((458, 142, 6), (452, 136, 5), (446, 132, 4)):
        m = smoke.m_ellipse([cx - r, cy - r, cx + r, cy + r])
        arr[m] = (226, 220, 214)
    # beach at the bottom
    shore_line = 392 + 5 * np.sin(xx / 45.0) + 3 * np.sin(xx / 17.0)
    sand = dither_to(np.clip((yy - 392) / 88.0 + 0.1 * noise2(H, W, 41, 10, 2), 0, 1),
                     [(240, 214, 160), (226, 196, 140), (206, 172, 118)])
    beach = yy >= shore_line
    arr[beach] = sand[beach]
    wet = (yy >= shore_line) & (yy < shore_line + 6)
    arr[wet] = (190, 160, 112)
    foam = (yy >= shore_line - 3) & (yy < shore_line) 
    arr[foam] = (236, 240, 236)
    foam2 = (np.abs(yy - shore_line + 10) < 1) & (np.sin(xx / 11.0) > 0)
    arr[foam2] = (170, 196, 214)
    for x, y, w, h, s in ((30, 430, 30, 20, 41), (590, 440, 24, 16, 42)):
        paste(arr, prop_rock(w, h, s), x, y)
    for x, y, k in ((120, 450, 1), (500, 460, 0), (300, 466, 0)):
        paste(arr, prop_shell(k), x, y)
    return no_key(arr)


# ---------------------------------------------------------------------------
def water_bg():
    """Open sea seen from above, tiles in x; lighter near the top so the
    brown score text reads over it."""
    yy, xx = np.mgrid[0:H, 0:W].astype(np.float64)
    n = noise2(H, W, 51, 120, 3, wrap_x=True)
    swell = np.sin(xx * 2 * math.pi / 320 + yy * 0.045 + 2.5 * n)
    v = 0.42 + 0.45 * (n - 0.5) + 0.12 * swell
    v += np.clip((130 - yy) / 130.0, 0, 1) * 0.35
    cols = ramp_colors([(34, 88, 148), (50, 112, 172), (72, 140, 196),
                        (104, 168, 212), (140, 192, 224)], 7)
    arr = dither_to(np.clip(v, 0, 1), cols)
    # little wave crests: a light curl over a dark trough, scattered on a
    # jittered grid that wraps around the sides
    rng = np.random.RandomState(52)
    crest = np.zeros((H, W), bool)
    trough = np.zeros((H, W), bool)
    for gy in range(0, H, 24):
        for gx in range(0, W, 40):
            x = gx + rng.randint(0, 30) + (12 if (gy // 24) % 2 else 0)
            y = gy + rng.randint(0, 16)
            L = rng.randint(5, 13)
            for dx in (-W, 0, W):
                xs = np.arange(x + dx - L, x + dx + L + 1)
                ok = (xs >= 0) & (xs < W)
                arc = np.round(y + (np.abs(xs - x - dx) / L) ** 2 * 3).astype(int)
                arc = np.clip(arc, 0, H - 2)
                crest[arc[ok], xs[ok]] = True
                trough[arc[ok] + 1, xs[ok]] = True
    arr[trough & ~crest] = (30, 80, 136)
    arr[crest] = (206, 232, 242)
    return no_key(arr)


def ship_deck():
    """The deck, seen from above: sea shows (key colour) along the top and
    between the balusters of the rail."""
    arr = blank(W, H)
    yy, xx = np.mgrid[0:H, 0:W]
    deck_top = 100
    plank_h = 20
    rng = np.random.RandomState(61)
    wood_cols = [(104, 64, 36), (128, 82, 46), (150, 100, 58), (170, 118, 70)]
    n = noise2(H, W, 62, 40, 3)
    grain = noise2(H, W, 63, 4, 1)
    v = 0.45 + 0.35 * (n - 0.5) + 0.25 * (grain - 0.5)
    for row in range((H - deck_top) // plank_h + 1):
        y0 = deck_top + row * plank_h
        v[y0:y0 + plank_h] += (rng.rand() - 0.5) * 0.18
    # shade under the rail and near the bottom gunwale
    v -= np.clip((deck_top + 30 - yy) / 60.0, 0, 1) * 0.4
    deck = dither_to(np.clip(v, 0, 1), wood_cols)
    arr[deck_top:] = deck[deck_top:]
    for row in range((H - deck_top) // plank_h + 1):
        y0 = deck_top + row * plank_h
        arr[y0:y0 + 1, :] = (62, 36, 22)
        arr[y0 + 1:y0 + 2, :] = (176, 126, 78)
        off = (row * 173) % 240
        for x in range(off, W + 240, 240):
            if 0 <= x < W:
                arr[y0:y0 + plank_h, x:x + 1] = (62, 36, 22)
                for nx_ in (x - 4, x + 3):
                    for ny_ in (y0 + 5, y0 + plank_h - 5):
                        if 0 <= nx_ < W and ny_ < H:
                            arr[ny_, nx_] = (40, 30, 28)
    f = Fig(W, H)
    # the rail: a heavy cap beam over turned balusters, sea between them
    paint(arr, f.m_rect([0, 62, W - 1, 72]), WOOD, sh=2)
    for x in range(6, W, 24):
        bal = f.m_rect([x, 72, x + 9, deck_top + 6])
        paint(arr, bal, WOOD, sh=2)
        arr[f.m_rect([x + 2, 82, x + 7, 85])] = WOOD[0]
    paint(arr, f.m_rect([0, deck_top - 2, W - 1, deck_top + 8]), WOOD_DARK, sh=2)
    arr[:62] = (0, 255, 255)
    # cannons at the rail, pointing out to sea
    for cx in (120, 320, 520):
        paint(arr, f.m_rect([cx - 18, 104, cx + 18, 124]), WOOD_DARK, sh=2)
        for wx in (cx - 14, cx + 10):
            paint(arr, f.m_ellipse([wx - 1, 118, wx + 6, 126]), WOOD_DARK, sh=1)
        barrel = f.m_rect([cx - 7, 66, cx + 7, 116]) | f.m_ellipse([cx - 10, 106, cx + 10, 124])
        paint(arr, barrel, IRON, sh=3)
        paint(arr, f.m_rect([cx - 9, 66, cx + 9, 71]), IRON, sh=1)
        arr[f.m_rect([cx - 3, 110, cx + 3, 114])] = IRON[3]
    # the gunwale along the bottom edge
    paint(arr, f.m_rect([0, 452, W - 1, H - 1]), WOOD_DARK, sh=3)
    arr[f.m_rect([0, 452, W - 1, 455])] = WOOD[2]
    for x in range(20, W, 80):
        paint(arr, f.m_rect([x, 458, x + 8, 476]), WOOD, sh=1)
    # barrels and a coil of rope at the corners, off the lanes
    for bx, by in ((8, 118), (592, 118), (600, 410)):
        b = f.m_ellipse([bx, by, bx + 36, by + 36])
        paint(arr, b, WOOD, sh=3)
        for r in (5, 11):
            ring = f.m_ellipse([bx + r, by + r, bx + 36 - r, by + 36 - r])
            arr[edge(ring)] = IRON[1]
        arr[by + 15:by + 18, bx + 16:bx + 19] = WOOD[0]
    rope = f.m_ellipse([18, 404, 58, 440])
    paint(arr, rope, ((150, 120, 70), (200, 168, 108), (232, 208, 150)), sh=2)
    for r in (6, 12):
        arr[edge(f.m_ellipse([18 + r, 404 + r * 0.9, 58 - r, 440 - r * 0.9]))] = (130, 100, 60)
    # a hatch grating in the middle of the deck
    g = f.m_rect([286, 250, 354, 310])
    paint(arr, g, WOOD_DARK, sh=2)
    for gx in range(292, 350, 8):
        for gy in range(256, 306, 8):
            arr[gy:gy + 4, gx:gx + 4] = (34, 22, 18)
    out = arr
    # the deck itself must never contain the key except where the sea shows
    solid = np.zeros((H, W), bool)
    solid[deck_top + 6:] = True
    if (solid & keymask(out)).any():
        raise ValueError("ship deck has holes below the rail")
    return out
