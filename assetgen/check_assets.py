#!/usr/bin/python3
"""Checks a generated asset tree against what the game loads.

Usage: check_assets.py OUT_DIR [--images-only]

Exits non-zero, listing every problem, if a picture is missing, is not
really the format its extension claims, has the wrong size, has an empty
sprite cell where the game expects something, or lets the transparent
key colour (pure cyan) leak where it must not.  If sounds.py offers
check_sounds(out_dir), its findings are reported too.
"""
import os
import sys

import numpy as np
from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

MAGIC = {
    ".png": (b"\x89PNG\r\n\x1a\n",),
    ".jpg": (b"\xff\xd8\xff",),
    ".gif": (b"GIF87a", b"GIF89a"),
    ".bmp": (b"BM",),
}
PIL_FORMAT = {".png": "PNG", ".jpg": "JPEG", ".gif": "GIF", ".bmp": "BMP"}


def grid(cols, rows, cw, ch, skip=()):
    return [(c * cw, r * ch, cw, ch) for r in range(rows) for c in range(cols)
            if (c, r) not in skip]


def upper(cells, h=40):
    return [(x, y, w, h) for x, y, w, _ in cells]


ITEM4 = grid(4, 1, 40, 70)
PIRATE_FULL = grid(4, 4, 80, 80, skip={(3, 2), (3, 3)})

# path: size, exact?, kind, cells that must show something, cells that must
# be blank key colour
CONTRACT = {
    "sprites/pirate_ssheet.png": ((320, 320), True, "sprite", PIRATE_FULL,
                                  [(240, 160, 80, 80), (240, 240, 80, 80)]),
    "sprites/pirate2_ssheet.png": ((320, 320), True, "sprite", PIRATE_FULL,
                                   [(240, 160, 80, 80), (240, 240, 80, 80)]),
    "sprites/ball.bmp": ((20, 20), True, "sprite", [(4, 4, 12, 12)],
                         [(0, 0, 2, 2), (18, 0, 2, 2), (0, 18, 2, 2), (18, 18, 2, 2)]),
    "sprites/treasure_sheet.png": ((160, 70), True, "sprite", upper(ITEM4), []),
    "sprites/r_sheet.png": ((160, 70), True, "sprite", upper(ITEM4), []),
    "sprites/ghost_sheet.png": ((160, 70), True, "sprite", upper(ITEM4), []),
    "sprites/chest_sheet.png": ((160, 70), True, "sprite", ITEM4, []),
    "sprites/heart_sheet.png": ((80, 40), True, "sprite", grid(2, 1, 40, 40), []),
    "sprites/bg.jpg": ((640, 480), True, "jpeg", [], []),
    "sprites/main_pic.png": ((640, 480), False, "picture", [], []),
    "VX_pics/vx_logo.gif": ((640, 480), False, "picture", [], []),
    "VX_pics/comp_logo.png": ((640, 480), False, "picture", [], []),
    "minigames/map_sheet.png": ((160, 70), True, "sprite", upper(ITEM4), []),
    "minigames/fight_sheet.png": ((160, 70), True, "sprite", upper(ITEM4), []),
    "minigames/bg.png": ((640, 480), True, "tile", [], []),
    "minigames/ground.png": ((80, 80), True, "tile", [], []),
    "minigames/trap.png": ((80, 80), True, "trap", [(0, 0, 80, 80)], []),
    "minigames/cave.png": ((640, 480), True, "opaque", [], []),
    "minigames/t_box.png": ((180, 120), True, "sprite", grid(3, 1, 60, 120), []),
    "minigames/shore.png": ((640, 480), True, "opaque", [], []),
    "minigames/ship.png": ((640, 480), True, "deck", [], [(0, 0, 640, 60)]),
    "minigames/water.png": ((640, 480), True, "tile", [], []),
    "minigames/pirates.png": ((160, 320), True, "sprite", grid(2, 4, 80, 80), []),
}

MIN_PIXELS = 20        # a cell "shows something" with at least this many


def key_mask(a):
    return (a[:, :, 0] == 0) & (a[:, :, 1] == 255) & (a[:, :, 2] == 255)


def near_key(a, slack):
    """Colours close to the key colour but not exactly it."""
    r, g, b = (a[:, :, i].astype(int) for i in range(3))
    return (r <= slack) & (g >= 255 - slack) & (b >= 255 - slack) & ~key_mask(a)


def seam_ok(a):
    """The right edge must run on into the left edge no worse than any
    ordinary pair of neighbouring columns does."""
    f = a.astype(np.float64)
    seam = np.abs(f[:, -1] - f[:, 0]).mean()
    inner = np.abs(np.diff(f, axis=1)).mean(axis=(0, 2))
    return seam <= max(np.percentile(inner, 95) * 1.5, 8.0), seam, inner.mean()


def check_file(out_dir, rel, rule):
    size, exact, kind, must_show, must_blank = rule
    path = os.path.join(out_dir, rel)
    errs = []
    if not os.path.isfile(path):
        return ["missing"]
    ext = os.path.splitext(rel)[1].lower()
    with open(path, "rb") as fh:
        head = fh.read(16)
    if not any(head.startswith(m) for m in MAGIC[ext]):
        errs.append("content is not %s (starts with %r)" % (ext, head[:8]))
        return errs
    try:
        with Image.open(path) as im:
            im.load()
            img = im.copy()
            img.format = im.format
            img.info = dict(im.info)
    except Exception as e:           # unreadable or truncated
        return ["cannot be decoded: %s" % e]
    if img.format != PIL_FORMAT[ext]:
        errs.append("decoded as %s, expected %s" % (img.format, PIL_FORMAT[ext]))
    w, h = img.size
    if exact and (w, h) != size:
        errs.append("size %dx%d, expected %dx%d" % (w, h, size[0], size[1]))
        return errs
    if not exact and (w > size[0] or h > size[1] or w < 16 or h < 16):
        errs.append("size %dx%d, must fit in %dx%d" % (w, h, size[0], size[1]))
        return errs
    if "A" in img.mode or "transparency" in img.info:
        errs.append("has an alpha channel/transparency (%s); the game only "
                    "colour-keys pure cyan" % img.mode)
    a = np.array(img.convert("RGB"))
    key = key_mask(a)
    for (x, y, cw, ch) in must_show:
        n = int((~key[y:y + ch, x:x + cw]).sum())
        if n < MIN_PIXELS:
            errs.append("cell at (%d,%d) %dx%d is empty (%d drawn pixels)"
                        % (x, y, cw, ch, n))
    for (x, y, cw, ch) in must_blank:
        if not key[y:y + ch, x:x + cw].all():
            errs.append("area at (%d,%d) %dx%d should be pure key colour"
                        % (x, y, cw, ch))
    if kind in ("sprite", "trap", "deck"):
        n = int(near_key(a, 40).sum())
        if n:
            errs.append("%d near-cyan pixels that are not the exact key "
                        "colour (they would show as cyan fringes)" % n)
    if kind in ("opaque", "tile", "picture") and key.any():
        errs.append("%d pure cyan pixels in an opaque picture" % int(key.sum()))
    if kind == "jpeg":
        n = int(near_key(a, 60).sum()) + int(key.sum())
        if n:
            errs.append("%d pixels at or near pure cyan in the JPEG" % n)
    if kind == "tile":
        ok, seam, avg = seam_ok(a)
        if not ok:
            errs.append("does not tile horizontally: seam step %.1f vs "
                        "typical %.1f" % (seam, avg))
    if kind == "trap":
        if not key[:10].any():
            errs.append("no see-through space between the spikes")
        if key[-30:].any():
            errs.append("ground part (bottom 30 rows) has holes")
        ok, seam, avg = seam_ok(a[-40:])
        if not ok:
            errs.append("ground part does not tile horizontally")
    if kind == "deck":
        if key[120:].any():
            errs.append("deck below y=120 has see-through holes")
        if key[100:].mean() > 0.01:
            errs.append("deck area is not covered by planks")
    if rel.endswith("ball.bmp"):
        centre = a[6:14, 6:14].astype(int).sum(axis=2).mean()
        if centre > 300:
            errs.append("cannonball is not dark (mean %.0f)" % centre)
    return errs


def check_images(out_dir):
    problems = []
    for rel, rule in CONTRACT.items():
        for e in check_file(out_dir, rel, rule):
            problems.append("%s: %s" % (rel, e))
    return problems


def check_extra(out_dir):
    """Sound checks live with the sound generator, if it provides them:
    check_sounds(out_dir) raises on a bad sound and returns a report."""
    try:
        import sounds
    except ImportError:
        return []
    fn = getattr(sounds, "check_sounds", None)
    if fn is None:
        return []
    try:
        fn(out_dir)
    except Exception as e:
        return ["sounds: %s" % e]
    return []


def main(argv):
    args = [a for a in argv[1:] if a != "--images-only"]
    if len(args) != 1:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    out_dir = args[0]
    images_only = "--images-only" in argv[1:]
    if not os.path.isdir(out_dir):
        print("no such directory: %s" % out_dir, file=sys.stderr)
        return 2
    problems = check_images(out_dir)
    if not images_only:
        problems += check_extra(out_dir)
    for p in problems:
        print("FAIL " + p, file=sys.stderr)
    if problems:
        print("%d problem(s) found" % len(problems), file=sys.stderr)
        return 1
    print("all %d pictures look right" % len(CONTRACT))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
