"""The two player pirates and the four enemy pirates of the ship level.

Every figure is built facing right (or front/back) in an 80x80 cell from
shaded parts; the left-facing rows are the same parts mirrored before
painting, so the light still comes from the upper left.
"""
import math

import numpy as np

from pix import (Fig, two_bone, sheet, mix, OUTLINE, SKIN, SKIN_DARK, COAT_RED,
                 COAT_BLUE, HAT, GOLD, STEEL, BOOT, BELT, CLOTH, HAIR, WOOD,
                 BONE, PURPLE, MAROON, GREEN, ORANGE, NAVY, OLIVE, RAG)

CELL = 80
GROUND = 67          # ankle height; boot soles end at y=71

# coats and trims of the two players
PLAYERS = {
    1: dict(coat=COAT_RED, trim=GOLD, ribbon=((20, 40, 110), (40, 70, 170),
                                             (90, 120, 220))),
    2: dict(coat=COAT_BLUE, trim=GOLD, ribbon=((120, 16, 24), (184, 34, 40),
                                               (230, 80, 70))),
}


def darker(ramp, t=0.28):
    return tuple(mix(c, (10, 6, 12), t) for c in ramp)


def polar(p, length, ang_deg):
    """Point at distance length from p, ang measured from straight down,
    positive towards +x."""
    a = math.radians(ang_deg)
    return (p[0] + length * math.sin(a), p[1] + length * math.cos(a))


# ---------------------------------------------------------------------------
# pieces shared by the side views
# ---------------------------------------------------------------------------
def side_leg(f, hip, ankle, trousers, boots, far=False, peg=False):
    if far:
        trousers, boots = darker(trousers), darker(boots)
    knee = two_bone(hip, ankle, 10.5, 10.5, bend=1)
    if peg:
        f.add(f.m_line([hip, knee], 8), trousers)
        f.add(f.m_line([knee, (ankle[0], ankle[1] + 4)], 4), WOOD)
        f.add(f.m_ellipse([knee[0] - 4, knee[1] - 2, knee[0] + 4,
                           knee[1] + 3]), WOOD, sh=1)
        return
    f.add(f.m_line([hip, knee], 8), trousers, sh=1)
    ax, ay = ankle
    boot = f.m_line([knee, ankle], 8) | f.m_poly(
        [(ax - 4, ay - 3), (ax + 5, ay - 1), (ax + 7, ay + 2),
         (ax + 7, ay + 4), (ax - 4, ay + 4)])
    boot |= f.m_rect([knee[0] - 4, knee[1] - 1, knee[0] + 4, knee[1] + 2])
    f.add(boot, boots, sh=1)
    # turned-down boot cuff
    f.add(f.m_rect([knee[0] - 4, knee[1] - 1, knee[0] + 4, knee[1] + 1]),
          tuple(mix(c, (255, 230, 200), 0.15) for c in boots), sh=0)


def cutlass(f, hand, ang_deg, length=18, guard=GOLD):
    """A curved cutlass whose blade leaves the hand at ang_deg (0 = pointing
    +x, positive = upwards)."""
    a = math.radians(ang_deg)
    ux, uy = math.cos(a), -math.sin(a)
    nx, ny = -uy, ux                      # normal, towards the blade's back
    hx, hy = hand
    pts_top, pts_bot = [], []
    for i in range(9):
        t = i / 8.0
        curve = 2.2 * t * t               # curves towards the back
        w = 1.6 + 1.4 * math.sin(t * math.pi * 0.8)
        cx = hx + ux * (3 + t * length) - nx * curve
        cy = hy + uy * (3 + t * length) - ny * curve
        pts_top.append((cx + nx * w * 0.5, cy + ny * w * 0.5))
        pts_bot.append((cx - nx * w * 0.9, cy - ny * w * 0.9))
    tip = (hx + ux * (length + 5) - nx * 3.2, hy + uy * (length + 5) - ny * 3.2)
    f.add(f.m_poly(pts_top + [tip] + pts_bot[::-1]), STEEL, sh=1)
    # grip and knuckle-bow guard
    f.add(f.m_line([(hx - ux * 3, hy - uy * 3), (hx + ux * 2, hy + uy * 2)], 3),
          BELT, outline=None)
    f.add(f.m_line([(hx + ux * 3 + nx * 3, hy + uy * 3 + ny * 3),
                    (hx + ux * 3 - nx * 3, hy + uy * 3 - ny * 3)], 3), guard,
          outline=OUTLINE, sh=0, hl=0)


def motion_arc(f, centre, r, a0, a1, thick=5):
    """Crescent swoosh of a sword stroke (angles from +x, positive down)."""
    cx, cy = centre
    outer, inner = [], []
    n = 24
    for i in range(n + 1):
        t = i / n
        a = math.radians(a0 + (a1 - a0) * t)
        w = thick * math.sin(math.pi * min(1.0, t * 1.15))
        outer.append((cx + (r + w * 0.5) * math.cos(a), cy + (r + w * 0.5) * math.sin(a)))
        inner.append((cx + (r - w) * math.cos(a), cy + (r - w) * math.sin(a)))
    m = f.m_poly(outer + inner[::-1])
    core_o, core_i = [], []
    for i in range(4, n - 1):
        t = i / n
        a = math.radians(a0 + (a1 - a0) * t)
        w = thick * math.sin(math.pi * min(1.0, t * 1.15))
        core_o.append((cx + (r) * math.cos(a), cy + (r) * math.sin(a)))
        core_i.append((cx + (r - w * 0.5) * math.cos(a), cy + (r - w * 0.5) * math.sin(a)))
    core = f.m_poly(core_o + core_i[::-1])
    f.add(m, (236, 226, 170), outline=None)
    # the tail end of the swoosh fades out in a dither
    yy, xx = np.mgrid[0:f.h, 0:f.w]
    ang = np.degrees(np.arctan2(yy - cy, xx - cx))
    fade = m & (ang < a0 + (a1 - a0) * 0.22) & (((xx + yy) % 2) == 0)
    f.add(fade, (250, 246, 214), outline=None)
    f.add(core, (255, 255, 246), outline=None)


def side_head(f, by, coat, ribbon, dx=0):
    """Young pirate's head in profile, facing right, with tricorn."""
    o = dx
    # hair and pony tail
    f.add(f.m_ellipse([29 + o, 15 + by, 39 + o, 30 + by])
          | f.m_line([(31 + o, 27 + by), (29 + o, 34 + by)], 4), HAIR, sh=1)
    f.add(f.m_rect([28 + o, 27 + by, 32 + o, 29 + by]), ribbon, sh=0, hl=0)
    # face
    face = f.m_ellipse([32 + o, 13 + by, 50 + o, 31 + by])
    face |= f.m_poly([(47 + o, 19 + by), (53 + o, 23 + by), (49 + o, 25 + by)])
    f.add(face, SKIN, sh=2)
    f.pixels([(37 + o, 20 + by), (38 + o, 20 + by), (36 + o, 21 + by),
              (36 + o, 22 + by), (37 + o, 23 + by), (38 + o, 23 + by)],
             SKIN[0])                                   # ear
    f.pixels([(37 + o, 21 + by), (37 + o, 22 + by)], SKIN_DARK[1])
    # eye, brow, mouth
    f.pixels([(45 + o, 20 + by), (46 + o, 20 + by), (45 + o, 21 + by),
              (46 + o, 21 + by), (45 + o, 22 + by), (46 + o, 22 + by)], (24, 16, 20))
    f.pixels([(46 + o, 20 + by)], (255, 255, 255))
    f.pixels([(44 + o, 18 + by), (45 + o, 18 + by), (46 + o, 18 + by),
              (47 + o, 18 + by)], HAIR[0])
    f.pixels([(46 + o, 27 + by), (47 + o, 27 + by), (48 + o, 26 + by)],
             (120, 46, 40))
    f.pixels([(44 + o, 26 + by), (44 + o, 25 + by)], SKIN[0])
    # tricorn: crown, then the upturned brim with gold lace
    f.add(f.m_ellipse([30 + o, 2 + by, 50 + o, 16 + by]), HAT, sh=2)
    brim = f.m_poly([(22 + o, 9 + by), (27 + o, 11 + by), (34 + o, 12 + by),
                     (46 + o, 12 + by), (55 + o, 8 + by), (58 + o, 11 + by),
                     (54 + o, 16 + by), (44 + o, 18 + by), (32 + o, 18 + by),
                     (24 + o, 15 + by)])
    f.add(brim, HAT, sh=1)
    lace = f.m_line([(23 + o, 10 + by), (27 + o, 12 + by), (34 + o, 13 + by),
                     (46 + o, 13 + by), (56 + o, 9 + by)], 1)
    f.add(lace & brim, GOLD[2], outline=None)
    skull(f, 40 + o, 5 + by)


def skull(f, x, y):
    """Tiny skull badge, 5x4, top-left at (x, y)."""
    w = (238, 236, 226)
    d = (40, 30, 36)
    f.pixels([(x + 1, y), (x + 2, y), (x + 3, y), (x, y + 1), (x + 2, y + 1),
              (x + 4, y + 1), (x + 1, y + 2), (x + 2, y + 2), (x + 3, y + 2),
              (x + 1, y + 3), (x + 3, y + 3)], w)
    f.pixels([(x + 1, y + 1), (x + 3, y + 1)], d)


def side_body(f, by, coat, dx=0, lean=0):
    o = dx
    tails = f.m_poly([(31 + o, 44 + by), (30 + o, 52 + by), (26 + o, 60 + by),
                      (33 + o, 60 + by), (40 + o, 55 + by), (40 + o, 46 + by)])
    f.add(tails, coat, sh=1)
    torso = f.m_poly([(33 + o + lean, 30 + by), (45 + o + lean, 30 + by),
                      (50 + o + lean, 37 + by), (50 + o, 50 + by),
                      (47 + o, 55 + by), (34 + o, 55 + by), (30 + o, 48 + by),
                      (30 + o + lean, 36 + by)])
    f.add(torso, coat, sh=2)
    shirt = f.m_poly([(44 + o + lean, 31 + by), (49 + o + lean, 36 + by),
                      (50 + o, 44 + by), (46 + o, 44 + by), (44 + o + lean, 36 + by)])
    f.add(shirt & torso, CLOTH, outline=OUTLINE, sh=1)
    f.pixels([(43 + o + lean, 37 + by), (43 + o, 41 + by), (42 + o, 51 + by)],
             GOLD[2])
    belt = f.m_rect([30 + o, 45 + by, 50 + o, 48 + by]) & grow_poly(f, torso)
    f.add(belt, BELT, sh=0, hl=0)
    f.add(f.m_rect([45 + o, 44 + by, 49 + o, 49 + by]), GOLD, sh=1)
    f.pixels([(47 + o, 46 + by), (47 + o, 47 + by)], BELT[0])


def grow_poly(f, m):
    from pix import grow
    return grow(m, 1)


def side_arm(f, shoulder, hand, coat, far=False):
    if far:
        coat = darker(coat)
    f.add(f.m_line([shoulder, hand], 7), coat, sh=1)
    # white cuff and hand
    sx, sy = shoulder
    hx, hy = hand
    d = max(1e-6, math.hypot(hx - sx, hy - sy))
    cx, cy = hx - (hx - sx) / d * 2, hy - (hy - sy) / d * 2
    f.add(f.m_line([(cx, cy), (hx - (hx - sx) / d * 0.5, hy - (hy - sy) / d * 0.5)], 7),
          darker(CLOTH, 0.3) if far else CLOTH, sh=0)
    skin = darker(SKIN) if far else SKIN
    f.add(f.m_ellipse([hx - 3, hy - 2, hx + 3, hy + 3]), skin, sh=1)


# ---------------------------------------------------------------------------
# player pirate
# ---------------------------------------------------------------------------
SIDE_STEPS = [  # (near ankle x, far ankle x, far ankle lift, near arm angle, bob)
    (48, 29, 0, -28, 0),
    (39, 40, 5, 4, -1),
    (30, 47, 0, 30, 0),
]


def player_side(pno, frame):
    p = PLAYERS[pno]
    coat, ribbon = p["coat"], p["ribbon"]
    f = Fig(CELL, CELL)
    nx, fx, lift, arm, by = SIDE_STEPS[frame]
    hip = (38, 50 + by)
    # far side first
    side_arm(f, (36, 34 + by), polar((36, 34 + by), 13, -arm), coat, far=True)
    side_leg(f, (37, 50 + by), (fx, GROUND - lift), CLOTH, BOOT, far=True)
    side_leg(f, hip, (nx, GROUND + (1 if frame == 1 else 0)), CLOTH, BOOT)
    side_body(f, by, coat)
    side_head(f, by, coat, ribbon)
    hand = polar((41, 34 + by), 13, arm)
    cutlass(f, hand, 48 + arm * 0.6)
    side_arm(f, (41, 34 + by), hand, coat)
    return f


def player_strike(pno):
    p = PLAYERS[pno]
    coat, ribbon = p["coat"], p["ribbon"]
    f = Fig(CELL, CELL)
    motion_arc(f, (44, 37), 31, -62, 72, thick=7)
    by = 1
    side_arm(f, (36, 35 + by), (25, 40 + by), coat, far=True)
    side_leg(f, (35, 50 + by), (22, GROUND), CLOTH, BOOT, far=True)
    side_leg(f, (40, 50 + by), (53, GROUND), CLOTH, BOOT)
    side_body(f, by, coat, dx=2, lean=2)
    side_head(f, by, coat, ribbon, dx=3)
    hand = (58, 35 + by)
    cutlass(f, hand, 4, length=17)
    side_arm(f, (44, 34 + by), hand, coat)
    return f


FRONT_STEPS = [  # (left ankle dy, right ankle dy, left hand dy, bob)
    (1, -3, -2, 0),
    (0, 0, 0, -1),
    (-3, 1, 2, 0),
]


def front_legs(f, by, steps, trousers, boots, back=False):
    ld, rd = steps
    for hx, d in ((35, ld), (45, rd)):
        hip = (hx, 50 + by)
        ank = (hx + (-1 if hx < 40 else 1), GROUND + d)
        f.add(f.m_line([hip, ank], 8), trousers, sh=1)
        ax, ay = ank
        boot = f.m_rect([ax - 4, ay - 9, ax + 4, ay + 3])
        if not back:
            boot |= f.m_ellipse([ax - 4, ay - 1, ax + 4, ay + 5])
        else:
            boot |= f.m_rect([ax - 4, ay, ax + 4, ay + 4])
        f.add(boot, boots, sh=1)
        f.add(f.m_rect([ax - 4, ay - 9, ax + 4, ay - 7]),
              tuple(mix(c, (255, 230, 200), 0.15) for c in boots), sh=0)
        if back:
            f.add(f.m_rect([ax - 3, ay + 2, ax + 3, ay + 4]), BOOT[0],
                  outline=None)


def front_arms(f, by, lh, rh, coat):
    """Both arms seen from the front or behind: sleeve, cuff, hand."""
    for sh_, hand in (((28, 34 + by), lh), ((52, 34 + by), rh)):
        f.add(f.m_line([sh_, hand], 7), coat, sh=1)
        f.add(f.m_rect([hand[0] - 3, hand[1] - 4, hand[0] + 3, hand[1] - 2]),
              CLOTH, sh=0)
        f.add(f.m_ellipse([hand[0] - 3, hand[1] - 2, hand[0] + 3, hand[1] + 3]),
              SKIN, sh=1)


def player_front(pno, frame):
    p = PLAYERS[pno]
    coat = p["coat"]
    f = Fig(CELL, CELL)
    ld, rd, hd, by = FRONT_STEPS[frame]
    front_legs(f, by, (ld, rd), CLOTH, BOOT)
    # coat with open front, tails reaching down the thighs
    body = f.m_poly([(28, 31 + by), (52, 31 + by), (55, 44 + by), (55, 58 + by),
                     (45, 56 + by), (40, 50 + by), (35, 56 + by), (25, 58 + by),
                     (25, 44 + by)])
    f.add(body, coat, sh=2)
    shirt = f.m_poly([(35, 31 + by), (45, 31 + by), (43, 47 + by), (37, 47 + by)])
    f.add(shirt, CLOTH, sh=1)
    f.add(f.m_poly([(36, 31 + by), (44, 31 + by), (40, 36 + by)]), SKIN, sh=0,
          outline=None)
    f.pixels([(34, 37 + by), (34, 41 + by), (46, 37 + by), (46, 41 + by)], GOLD[2])
    f.add(f.m_rect([26, 45 + by, 54, 48 + by]), BELT, sh=0, hl=0)
    f.add(f.m_rect([36, 44 + by, 44, 49 + by]), GOLD, sh=1)
    f.add(f.m_rect([38, 46 + by, 42, 47 + by]), BELT[0], outline=None)
    # arms: the sword hand (viewer's left) swings against the other
    lh = (24, 48 + by + hd)
    rh = (56, 48 + by - hd)
    cutlass(f, (lh[0] - 1, lh[1] + 1), -112, length=15)
    front_arms(f, by, lh, rh, coat)
    # head
    f.add(f.m_ellipse([29, 13 + by, 51, 32 + by]), SKIN, sh=2)
    f.add(f.m_ellipse([27, 19 + by, 31, 25 + by]), SKIN, sh=1)
    f.add(f.m_ellipse([49, 19 + by, 53, 25 + by]), SKIN, sh=1)
    for ex in (35, 44):
        f.pixels([(ex, 20 + by), (ex + 1, 20 + by), (ex, 21 + by), (ex + 1, 21 + by),
                  (ex, 22 + by), (ex + 1, 22 + by)], (24, 16, 20))
        f.pixels([(ex + 1, 20 + by)], (255, 255, 255))
        f.pixels([(ex - 1, 18 + by), (ex, 18 + by), (ex + 1, 18 + by),
                  (ex + 2, 18 + by)], HAIR[0])
    f.pixels([(39, 24 + by), (40, 24 + by), (40, 23 + by)], SKIN[0])
    f.pixels([(37, 27 + by), (38, 28 + by), (39, 28 + by), (40, 28 + by),
              (41, 28 + by), (42, 27 + by)], (120, 46, 40))
    f.pixels([(31, 24 + by), (48, 24 + by)], (236, 130, 110))      # cheeks
    # side hair
    f.add(f.m_poly([(29, 15 + by), (33, 15 + by), (32, 24 + by), (29, 22 + by)]),
          HAIR, sh=1)
    f.add(f.m_poly([(47, 15 + by), (51, 15 + by), (51, 22 + by), (48, 24 + by)]),
          HAIR, sh=1)
    # tricorn seen from the front: a point towards us
    f.add(f.m_ellipse([30, 3 + by, 50, 17 + by]), HAT, sh=2)
    brim = f.m_poly([(20, 13 + by), (26, 10 + by), (33, 13 + by), (40, 14 + by),
                     (47, 13 + by), (54, 10 + by), (60, 13 + by), (55, 18 + by),
                     (40, 21 + by), (25, 18 + by)])
    f.add(brim, HAT, sh=1)
    lace = f.m_line([(21, 14 + by), (26, 11 + by), (33, 14 + by), (40, 15 + by),
                     (47, 14 + by), (54, 11 + by), (59, 14 + by)], 1)
    f.add(lace & brim, GOLD[2], outline=None)
    skull(f, 38, 6 + by)
    return f


def player_back(pno, frame):
    p = PLAYERS[pno]
    coat, ribbon = p["coat"], p["ribbon"]
    f = Fig(CELL, CELL)
    ld, rd, hd, by = FRONT_STEPS[frame]
    front_legs(f, by, (rd, ld), CLOTH, BOOT, back=True)
    body = f.m_poly([(28, 31 + by), (52, 31 + by), (55, 44 + by), (56, 60 + by),
                     (41, 58 + by), (39, 58 + by), (24, 60 + by), (25, 44 + by)])
    f.add(body, coat, sh=2)
    f.add(f.m_line([(40, 49 + by), (40, 58 + by)], 1), darker(coat, 0.5),
          outline=None)
    f.add(f.m_rect([25, 45 + by, 55, 48 + by]), BELT, sh=0, hl=0)
    f.pixels([(33, 46 + by), (47, 46 + by)], GOLD[2])
    rh = (56, 48 + by + hd)
    lh = (24, 48 + by - hd)
    front_arms(f, by, lh, rh, coat)
    cutlass(f, (rh[0] + 1, rh[1] + 1), -68, length=15)
    f.add(f.m_ellipse([rh[0] - 3, rh[1] - 2, rh[0] + 3, rh[1] + 3]), SKIN, sh=1)
    # head from behind: ears, hair, pony tail with ribbon
    f.add(f.m_ellipse([27, 19 + by, 31, 25 + by]), SKIN, sh=1)
    f.add(f.m_ellipse([49, 19 + by, 53, 25 + by]), SKIN, sh=1)
    f.add(f.m_ellipse([29, 13 + by, 51, 32 + by]), HAIR, sh=2)
    f.add(f.m_line([(40, 28 + by), (40, 38 + by)], 5), HAIR, sh=1)
    f.add(f.m_rect([37, 29 + by, 43, 31 + by]), ribbon, sh=0, hl=0)
    f.add(f.m_ellipse([30, 3 + by, 50, 17 + by]), HAT, sh=2)
    brim = f.m_poly([(20, 11 + by), (30, 13 + by), (40, 10 + by), (50, 13 + by),
                     (60, 11 + by), (56, 17 + by), (40, 20 + by), (24, 17 + by)])
    f.add(brim, HAT, sh=1)
    lace = f.m_line([(21, 12 + by), (30, 14 + by), (40, 11 + by), (50, 14 + by),
                     (59, 12 + by)], 1)
    f.add(lace & brim, GOLD[2], outline=None)
    return f


def player_sheet(pno):
    rows = []
    rows.append([player_side(pno, i).render() for i in range(3)]
                + [player_strike(pno).render()])
    rows.append([player_side(pno, i).render(flip=True) for i in range(3)]
                + [player_strike(pno).render(flip=True)])
    rows.append([player_back(pno, i).render() for i in range(3)] + [None])
    rows.append([player_front(pno, i).render() for i in range(3)] + [None])
    return sheet(rows, CELL, CELL, cols=4)


# ---------------------------------------------------------------------------
# enemies (all drawn facing right; rows 0 and 1 are mirrored)
# ---------------------------------------------------------------------------
ENEMY_STEPS = [(48, 29, -26, 0), (30, 47, 26, -1)]


def angry_eye(f, x, y, color=(24, 16, 20), brow=HAIR[0]):
    f.pixels([(x, y), (x + 1, y), (x, y + 1), (x + 1, y + 1)], color)
    f.pixels([(x + 1, y)], (255, 240, 200))
    f.pixels([(x - 1, y - 3), (x, y - 2), (x + 1, y - 2), (x + 2, y - 1)], brow)


def enemy_brute(frame):
    """Big bandana brute: striped shirt, beard, eye patch, spiked club."""
    f = Fig(CELL, CELL)
    nx, fx, arm, by = ENEMY_STEPS[frame]
    shirt_a = ((150, 140, 130), (226, 220, 208), (250, 248, 240))
    pants = NAVY
    # far arm (bare, muscled)
    f.add(f.m_line([(33, 34 + by), polar((33, 34 + by), 13, -arm)], 8),
          darker(SKIN_DARK), sh=1)
    side_leg(f, (35, 50 + by), (fx, GROUND), pants, BOOT, far=True)
    side_leg(f, (40, 50 + by), (nx, GROUND), pants, BOOT)
    hand = polar((44, 34 + by), 11, arm * 0.5 + 20)
    a = 128 + arm * 0.3
    ca, sa = math.cos(math.radians(a)), -math.sin(math.radians(a))
    tip = (hand[0] + ca * 30, hand[1] + sa * 30)
    mid = ((hand[0] + tip[0]) / 2, (hand[1] + tip[1]) / 2)
    club = f.m_line([(hand[0] - ca * 3, hand[1] - sa * 3), mid], 4) | \
        f.m_line([mid, tip], 8)
    f.add(club, WOOD, sh=1)
    for t in (0.6, 0.8, 0.97):
        px, py = hand[0] + ca * 30 * t, hand[1] + sa * 30 * t
        f.pixels([(px + sa * 5, py - ca * 5), (px - sa * 5, py + ca * 5)],
                 (200, 204, 214))
    # barrel chest with blue stripes
    torso = f.m_ellipse([24, 27 + by, 54, 56 + by])
    f.add(torso, shirt_a, sh=2)
    yy = np.arange(CELL)[:, None] + np.zeros((1, CELL), int)
    stripes = torso & ((yy - by) % 5 < 2)
    from pix import edge
    f.add(stripes & ~edge(torso), ((30, 40, 100), (46, 60, 140), (70, 86, 170)),
          outline=None, sh=0, hl=0)
    f.add(f.m_rect([24, 47 + by, 54, 50 + by]) & torso, BELT, sh=0, hl=0)
    f.add(f.m_rect([45, 46 + by, 49, 51 + by]), ((90, 90, 100), (150, 150, 160),
                                                  (210, 210, 220)), sh=1)
    # head: bald dome with bandana, black beard, eye patch
    f.add(f.m_ellipse([31, 10 + by, 53, 32 + by]), SKIN_DARK, sh=2)
    f.add(f.m_poly([(50, 20 + by), (56, 24 + by), (50, 26 + by)]), SKIN_DARK, sh=1)
    beard = f.m_poly([(37, 24 + by), (53, 25 + by), (52, 32 + by), (46, 38 + by),
                      (38, 35 + by), (34, 28 + by)])
    f.add(beard, ((18, 14, 18), (40, 30, 34), (70, 56, 60)), sh=1)
    f.pixels([(47, 29 + by), (48, 29 + by), (49, 29 + by), (50, 29 + by)],
             (190, 60, 60))
    f.pixels([(48, 30 + by), (49, 30 + by)], (250, 250, 240))   # bared teeth
    angry_eye(f, 47, 19 + by)
    f.add(f.m_line([(34, 13 + by), (52, 21 + by)], 1), (20, 16, 20), outline=None)
    bandana = f.m_poly([(30, 17 + by), (31, 11 + by), (38, 7 + by), (47, 7 + by),
                        (53, 12 + by), (54, 16 + by), (42, 15 + by), (31, 19 + by)])
    bandana_r = ((110, 20, 100), (170, 40, 150), (220, 100, 200))
    f.add(bandana, bandana_r, sh=2)
    f.add(f.m_poly([(31, 14 + by), (22, 10 + by), (24, 18 + by)])
          | f.m_poly([(31, 16 + by), (21, 21 + by), (27, 23 + by)]), bandana_r, sh=1)
    f.pixels([(40, 10 + by), (45, 9 + by), (49, 12 + by), (36, 13 + by),
              (43, 13 + by)], (250, 230, 250))
    f.pixels([(36, 20 + by), (36, 21 + by)], (230, 200, 80))        # earring
    # near arm holding a spiked club over the shoulder
    f.add(f.m_line([(44, 34 + by), hand], 8), SKIN_DARK, sh=1)
    f.add(f.m_ellipse([hand[0] - 4, hand[1] - 3, hand[0] + 4, hand[1] + 4]),
          SKIN_DARK, sh=1)
    return f


def enemy_skeleton(frame):
    """Skeleton pirate: skull, rags, rusty cutlass, glowing eye sockets."""
    f = Fig(CELL, CELL)
    nx, fx, arm, by = ENEMY_STEPS[frame]
    bone_far = darker(BONE, 0.3)
    # far arm bone
    fh = polar((35, 33 + by), 14, -arm)
    f.add(f.m_line([(35, 33 + by), fh], 3), bone_far, sh=0, hl=0)
    f.add(f.m_ellipse([fh[0] - 2, fh[1] - 2, fh[0] + 2, fh[1] + 2]), bone_far,
          sh=0, hl=0)
    for hx, ax, far in ((37, fx, True), (40, nx, False)):
        ramp = bone_far if far else BONE
        hip = (hx, 50 + by)
        knee = two_bone(hip, (ax, GROUND), 10.5, 10.5, 1)
        f.add(f.m_line([hip, knee], 3) | f.m_line([knee, (ax, GROUND)], 3),
              ramp, sh=0, hl=0)
        f.add(f.m_ellipse([knee[0] - 2, knee[1] - 2, knee[0] + 2, knee[1] + 2]),
              ramp, sh=0, hl=0)
        f.add(f.m_poly([(ax - 3, GROUND - 1), (ax + 6, GROUND + 2), (ax + 6, GROUND + 4),
                        (ax - 3, GROUND + 4)]), ramp, sh=1, hl=0)
    # ragged trousers stumps
    f.add(f.m_poly([(31, 47 + by), (48, 47 + by), (48, 55 + by), (45, 53 + by),
                    (43, 57 + by), (40, 53 + by), (37, 58 + by), (34, 54 + by),
                    (31, 56 + by)]), RAG, sh=1)
    # spine and ribcage under a torn shirt
    f.add(f.m_poly([(32, 30 + by), (46, 30 + by), (49, 40 + by), (47, 49 + by),
                    (31, 49 + by), (30, 40 + by)]), ((60, 50, 56), (86, 74, 80),
                                                     (110, 96, 102)), sh=1)
    for i, ry in enumerate((34, 38, 42)):
        f.add(f.m_line([(36, ry + by), (46, ry + by + 1)], 2), BONE, outline=None)
    f.add(f.m_line([(36, 31 + by), (36, 48 + by)], 3), BONE, outline=OUTLINE,
          sh=0, hl=0)
    shirt = f.m_poly([(31, 30 + by), (38, 30 + by), (37, 40 + by), (35, 44 + by),
                      (36, 49 + by), (33, 46 + by), (30, 50 + by), (29, 40 + by)])
    f.add(shirt, ((96, 40, 36), (140, 62, 50), (176, 96, 76)), sh=1)
    f.add(f.m_rect([29, 46 + by, 49, 48 + by]), BELT, sh=0, hl=0)
    # skull with hollow eyes, grin and a battered hat
    f.add(f.m_ellipse([33, 12 + by, 52, 30 + by]), BONE, sh=2)
    f.add(f.m_rect([42, 25 + by, 52, 32 + by]), BONE, sh=1)
    f.add(f.m_ellipse([44, 17 + by, 49, 23 + by]), (20, 12, 16), outline=None)
    f.pixels([(46, 19 + by), (46, 20 + by)], (255, 60, 40))
    f.pixels([(47, 19 + by)], (255, 200, 90))
    f.pixels([(50, 22 + by), (51, 23 + by), (50, 24 + by)], (30, 20, 24))
    for tx in (43, 45, 47, 49):
        f.pixels([(tx, 27 + by), (tx, 28 + by), (tx, 29 + by)], (60, 50, 50))
    f.add(f.m_line([(43, 28 + by), (51, 28 + by)], 1), (60, 50, 50), outline=None)
    f.pixels([(38, 17 + by), (39, 18 + by), (40, 20 + by)], BONE[0])   # crack
    hat_r = ((60, 42, 34), (94, 70, 54), (130, 102, 80))
    f.add(f.m_ellipse([31, 5 + by, 51, 18 + by]), hat_r, sh=2)
    f.add(f.m_poly([(24, 13 + by), (29, 14 + by), (36, 16 + by), (46, 15 + by),
                    (55, 11 + by), (56, 15 + by), (50, 19 + by), (31, 20 + by),
                    (25, 17 + by)]), hat_r, sh=1)
    f.pixels([(34, 8 + by), (35, 8 + by), (44, 6 + by), (26, 15 + by)], (0, 0, 0))
    # rusty cutlass and bony hand
    hand = polar((42, 33 + by), 14, arm)
    cutlass(f, hand, 60 + arm * 0.5, length=18,
            guard=((100, 60, 30), (150, 96, 50), (190, 140, 80)))
    f.add(f.m_line([(42, 33 + by), hand], 3), BONE, sh=0, hl=0)
    f.add(f.m_ellipse([hand[0] - 2, hand[1] - 2, hand[0] + 3, hand[1] + 3]), BONE,
          sh=1, hl=0)
    return f


def enemy_captain(frame):
    """Peg-leg captain: big bicorne with skull, plum coat, black beard, hook."""
    f = Fig(CELL, CELL)
    nx, fx, arm, by = ENEMY_STEPS[frame]
    coat = PURPLE
    # far arm with the hook
    hook_at = polar((35, 34 + by), 13, -arm)
    f.add(f.m_line([(35, 34 + by), hook_at], 7), darker(coat), sh=1)
    f.add(f.m_rect([hook_at[0] - 3, hook_at[1] - 1, hook_at[0] + 3, hook_at[1] + 2]),
          darker(GOLD), sh=0)
    hx, hy = hook_at
    f.add(f.m_line([(hx, hy + 2), (hx, hy + 6), (hx + 2, hy + 8), (hx + 4, hy + 7),
                    (hx + 5, hy + 5)], 2), STEEL, outline=None)
    # peg leg and the one good leg swap between frames
    peg_x, boot_x = (nx, fx) if frame == 0 else (fx, nx)
    side_leg(f, (37, 50 + by), (fx, GROUND), MAROON, BOOT, far=True,
             peg=(peg_x == fx))
    side_leg(f, (40, 50 + by), (nx, GROUND), MAROON, BOOT, peg=(peg_x == nx))
    # long coat with gold trim
    tails = f.m_poly([(30, 40 + by), (25, 62 + by), (34, 63 + by), (42, 56 + by),
                      (42, 44 + by)])
    f.add(tails, coat, sh=1)
    torso = f.m_poly([(32, 29 + by), (46, 29 + by), (52, 38 + by), (52, 52 + by),
                      (48, 58 + by), (34, 56 + by), (29, 48 + by), (29, 36 + by)])
    f.add(torso, coat, sh=2)
    f.add(f.m_line([(48, 32 + by), (51, 40 + by), (51, 52 + by), (48, 57 + by)], 2)
          & torso, GOLD[1], outline=None)
    for yb in (38, 43, 48):
        f.pixels([(46, yb + by), (47, yb + by)], GOLD[2])
    f.add(f.m_rect([29, 46 + by, 52, 49 + by]) & torso, ((20, 20, 24), (40, 36, 40),
                                                         (70, 64, 70)), sh=0, hl=0)
    # head with great black beard
    f.add(f.m_ellipse([33, 13 + by, 52, 31 + by]), SKIN, sh=2)
    f.add(f.m_poly([(49, 19 + by), (55, 23 + by), (49, 25 + by)]), SKIN, sh=1)
    beard = f.m_poly([(36, 22 + by), (53, 24 + by), (54, 33 + by), (49, 40 + by),
                      (43, 38 + by), (37, 33 + by)])
    f.add(beard, ((16, 12, 16), (36, 26, 30), (66, 50, 56)), sh=1)
    f.add(f.m_line([(44, 25 + by), (48, 24 + by), (53, 26 + by)], 2),
          ((16, 12, 16), (36, 26, 30), (66, 50, 56)), outline=None)
    f.pixels([(47, 29 + by), (48, 29 + by), (49, 29 + by)], (170, 40, 40))
    angry_eye(f, 46, 18 + by, brow=(20, 14, 18))
    # bicorne hat, wide, with skull and crossbones
    f.add(f.m_poly([(26, 14 + by), (32, 3 + by), (40, 0 + by), (48, 3 + by),
                    (55, 14 + by), (40, 18 + by)]), HAT, sh=2)
    f.add(f.m_poly([(23, 16 + by), (40, 12 + by), (58, 15 + by), (56, 19 + by),
                    (40, 18 + by), (25, 20 + by)]), HAT, sh=1)
    f.add(f.m_line([(24, 16 + by), (40, 12 + by), (57, 15 + by)], 1), GOLD[2],
          outline=None)
    f.add(f.m_ellipse([37, 5 + by, 43, 10 + by]), BONE, outline=None, sh=0, hl=0)
    f.pixels([(38, 7 + by), (41, 7 + by), (39, 11 + by), (41, 11 + by),
              (35, 11 + by), (45, 11 + by), (36, 12 + by), (44, 12 + by)],
             (30, 20, 26))
    f.pixels([(36, 10 + by), (44, 10 + by), (37, 11 + by), (43, 11 + by),
              (37, 12 + by), (43, 12 + by)], BONE[2])
    # feather plume
    f.add(f.m_poly([(30, 8 + by), (22, 2 + by), (18, 4 + by), (27, 12 + by)]),
          ((150, 20, 30), (206, 40, 48), (244, 110, 100)), sh=1)
    # cutlass raised in the near hand
    hand = polar((43, 34 + by), 12, arm)
    cutlass(f, hand, 75 + arm * 0.4, length=19)
    f.add(f.m_line([(43, 34 + by), hand], 7), coat, sh=1)
    f.add(f.m_rect([hand[0] - 3, hand[1] - 3, hand[0] + 3, hand[1] - 1]), GOLD,
          sh=0)
    f.add(f.m_ellipse([hand[0] - 3, hand[1] - 2, hand[0] + 3, hand[1] + 3]), SKIN,
          sh=1)
    return f


def enemy_bosun(frame):
    """Bald bosun in an orange vest with a parrot on his shoulder and a
    dagger."""
    f = Fig(CELL, CELL)
    nx, fx, arm, by = ENEMY_STEPS[frame]
    vest = ORANGE
    f.add(f.m_line([(35, 34 + by), polar((35, 34 + by), 13, -arm)], 7),
          darker(CLOTH), sh=1)
    side_leg(f, (37, 50 + by), (fx, GROUND), OLIVE, BOOT, far=True)
    side_leg(f, (40, 50 + by), (nx, GROUND), OLIVE, BOOT)
    torso = f.m_poly([(32, 29 + by), (46, 29 + by), (51, 37 + by), (51, 50 + by),
                      (47, 55 + by), (33, 55 + by), (29, 48 + by), (29, 36 + by)])
    f.add(torso, CLOTH, sh=2)
    vest_m = torso & ~f.m_poly([(44, 29 + by), (51, 37 + by), (51, 46 + by),
                                (46, 46 + by), (44, 38 + by)])
    f.add(vest_m, vest, sh=1)
    f.add(f.m_rect([29, 46 + by, 51, 50 + by]) & torso, ((100, 20, 20), (160, 34, 34),
                                                         (210, 70, 60)), sh=0, hl=0)
    # bald head, stubble, big earring, scar
    f.add(f.m_ellipse([32, 11 + by, 52, 31 + by]), SKIN_DARK, sh=2)
    f.add(f.m_poly([(49, 18 + by), (56, 22 + by), (49, 25 + by)]), SKIN_DARK, sh=1)
    f.add(f.m_poly([(38, 25 + by), (52, 26 + by), (51, 31 + by), (41, 31 + by)]),
          ((70, 44, 34), (100, 66, 48), (130, 90, 64)), outline=None, sh=0, hl=0)
    f.pixels([(45, 28 + by), (46, 28 + by), (47, 28 + by), (48, 27 + by),
              (49, 27 + by)], (40, 20, 20))
    angry_eye(f, 46, 18 + by)
    f.pixels([(43, 14 + by), (44, 15 + by), (45, 16 + by), (46, 17 + by)],
             (140, 70, 60))
    f.add(f.m_ellipse([35, 20 + by, 39, 25 + by]), SKIN_DARK, sh=0, hl=0)
    f.add(f.m_ellipse([35, 24 + by, 40, 30 + by]) & ~f.m_ellipse([36, 25 + by, 39, 29 + by]),
          GOLD[2], outline=None)
    f.pixels([(35, 27 + by), (40, 27 + by)], GOLD[0])
    f.pixels([(37, 12 + by), (40, 11 + by)], SKIN_DARK[2])
    # parrot on the far shoulder, bobbing against the walk
    pb = by + (1 if frame else 0)
    f.add(f.m_poly([(27, 24 + pb), (22, 36 + pb), (26, 37 + pb), (31, 28 + pb)]),
          ((20, 60, 130), (40, 90, 190), (90, 140, 230)), sh=1)     # tail
    f.add(f.m_ellipse([26, 14 + pb, 36, 30 + pb]), GREEN, sh=2)
    f.add(f.m_ellipse([28, 10 + pb, 37, 19 + pb]), ((170, 20, 20), (226, 40, 36),
                                                     (255, 110, 80)), sh=1)
    f.add(f.m_poly([(36, 13 + pb), (40, 15 + pb), (36, 18 + pb)]),
          ((200, 160, 20), (240, 210, 50), (255, 240, 140)), sh=0)
    f.pixels([(34, 13 + pb)], (255, 255, 255))
    f.pixels([(34, 14 + pb)], (20, 10, 10))
    f.add(f.m_poly([(27, 20 + pb), (33, 22 + pb), (31, 28 + pb), (27, 27 + pb)]),
          ((180, 140, 10), (236, 200, 40), (255, 238, 130)), sh=0)   # wing
    # dagger thrust forward
    hand = polar((43, 34 + by), 12, arm * 0.6 + 30)
    f.add(f.m_poly([(hand[0] + 2, hand[1] - 2), (hand[0] + 14, hand[1] - 1),
                    (hand[0] + 2, hand[1] + 2)]), STEEL, sh=1)
    f.add(f.m_line([(hand[0] + 2, hand[1] - 4), (hand[0] + 2, hand[1] + 3)], 2),
          GOLD[1], outline=None)
    f.add(f.m_line([(43, 34 + by), hand], 7), CLOTH, sh=1)
    f.add(f.m_ellipse([hand[0] - 3, hand[1] - 2, hand[0] + 3, hand[1] + 3]),
          SKIN_DARK, sh=1)
    return f


ENEMIES = [enemy_brute, enemy_skeleton, enemy_captain, enemy_bosun]


def enemy_sheet():
    rows = []
    for i, make in enumerate(ENEMIES):
        flip = i < 2
        rows.append([make(fr).render(flip=flip) for fr in range(2)])
    return sheet(rows, CELL, CELL, cols=2)
