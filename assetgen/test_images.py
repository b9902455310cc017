"""Tests for the picture generator and its checker.

    /usr/bin/python3 -m unittest discover -s assetgen -p 'test_*.py'

The generated pictures must pass check_assets and be reproducible byte for
byte; the checker must reject each kind of broken picture the game
could be handed (exercised on deliberately damaged copies); and the art must
behave as the game uses it: walk cycles really move, left rows mirror right
rows, the two players differ by coat colour, animations change frame to
frame.
"""
import os
import re
import shutil
import sys
import tempfile
import unittest

import numpy as np
from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from files import built_tree, copy_files, digest  # noqa: E402
import art_icon  # noqa: E402
import check_assets  # noqa: E402
import generate  # noqa: E402
import images  # noqa: E402




def _rgb(root, rel):
    with Image.open(os.path.join(root, rel)) as im:
        return np.array(im.convert("RGB"))


def _truncate(path):
    with open(path, "r+b") as fh:
        fh.truncate(40)


def _solid(a):
    return ~check_assets.key_mask(a)


class GeneratedImages(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.out = built_tree("images", images.generate)

    def test_passes_the_checker(self):
        self.assertEqual(check_assets.check_images(self.out), [])

    def test_reproducible(self):
        # Drawn again in this process, byte for byte what the build drew in
        # its own: one file of each format the game reads, and the pictures
        # that scatter things with a seeded generator (rocks, glints, waves).
        self.assertEqual(set(images.ASSETS), set(check_assets.CONTRACT))
        tmp = tempfile.mkdtemp(prefix="brinegrab_img_")
        self.addCleanup(shutil.rmtree, tmp, True)
        for rel in ("sprites/ball.bmp", "VX_pics/vx_logo.gif", "sprites/chest_sheet.png",
                    "minigames/water.png", "sprites/bg.jpg"):
            build, write = images.ASSETS[rel]
            path = os.path.join(tmp, os.path.basename(rel))
            write(build(), path)
            self.assertEqual(digest(path), digest(os.path.join(self.out, rel)), rel)

    def test_player_sheets_move_and_mirror(self):
        for rel in ("sprites/pirate_ssheet.png", "sprites/pirate2_ssheet.png"):
            a = _rgb(self.out, rel)
            cells = [[a[r * 80:(r + 1) * 80, c * 80:(c + 1) * 80] for c in range(4)]
                     for r in range(4)]
            for r in range(4):
                for c1, c2 in ((0, 1), (1, 2), (0, 2)):
                    self.assertFalse(np.array_equal(cells[r][c1], cells[r][c2]),
                                     "%s row %d: frames %d and %d are the same"
                                     % (rel, r, c1, c2))
            for c in range(4):   # left row has the right row's silhouette, mirrored
                self.assertTrue(np.array_equal(_solid(cells[1][c]),
                                               _solid(cells[0][c])[:, ::-1]),
                                "%s column %d: left row is not the mirror" % (rel, c))
            # the stroke reaches further forward than any walking frame
            reach = lambda cell: np.nonzero(_solid(cell).any(axis=0))[0].max()
            self.assertGreater(reach(cells[0][3]), max(reach(cells[0][c]) for c in range(3)) + 8)
            # feet stand near y=70 as the hit boxes expect
            for r in range(4):
                bottom = np.nonzero(_solid(cells[r][0]).any(axis=1))[0].max()
                self.assertTrue(66 <= bottom <= 74, "%s row %d feet at %d" % (rel, r, bottom))

    def test_players_told_apart_by_coat(self):
        def reds_blues(rel):
            c = _rgb(self.out, rel)[240:320, 0:80]
            solid, a = _solid(c), c.astype(int)
            red = (solid & (a[:, :, 0] > a[:, :, 2] + 80) & (a[:, :, 1] < 90)).sum()
            blue = (solid & (a[:, :, 2] > a[:, :, 0] + 80) & (a[:, :, 2] > 120)).sum()
            return red, blue
        r1, b1 = reds_blues("sprites/pirate_ssheet.png")
        r2, b2 = reds_blues("sprites/pirate2_ssheet.png")
        self.assertGreater(r1, 3 * max(b1, 1))
        self.assertGreater(b2, 3 * max(r2, 1))

    def test_animations_change_every_frame(self):
        for rel, n, w in (("sprites/treasure_sheet.png", 4, 40), ("sprites/r_sheet.png", 4, 40),
                          ("sprites/ghost_sheet.png", 4, 40), ("sprites/chest_sheet.png", 4, 40),
                          ("minigames/map_sheet.png", 4, 40), ("minigames/fight_sheet.png", 4, 40),
                          ("minigames/t_box.png", 3, 60), ("minigames/pirates.png", 2, 80)):
            a = _rgb(self.out, rel)
            frames = [a[:, i * w:(i + 1) * w] for i in range(n)]
            for i in range(n):
                self.assertFalse(np.array_equal(frames[i], frames[(i + 1) % n]),
                                 "%s: frames %d and %d are identical" % (rel, i, (i + 1) % n))

    def test_hearts_full_and_lost(self):
        a = _rgb(self.out, "sprites/heart_sheet.png").astype(int)
        full, lost = a[:, :40], a[:, 40:]
        sat = lambda c: (c.max(axis=2) - c.min(axis=2))[_solid(c.astype(np.uint8))].mean()
        self.assertGreater(sat(full), 80)
        self.assertLess(sat(lost), 30)

    def test_ship_deck_lets_the_sea_through_at_the_top_only(self):
        a = _rgb(self.out, "minigames/ship.png")
        key = check_assets.key_mask(a)
        self.assertTrue(key[:60].all())
        self.assertFalse(key[120:].any())


class EveryDrawIsSeeded(unittest.TestCase):
    # The byte-for-byte checks make only a few files again; this covers the
    # rest of both generators: randomness comes from RandomState(seed) alone,
    # never numpy's global generator, an unseeded one, Python's or the clock.
    UNSEEDED = re.compile(r"np\.random\b(?!\.RandomState\(\s*[\w.])|RandomState\(\s*(None\s*)?\)"
                          r"|^\s*(import|from)\s+(random|time|datetime|uuid)\b|os\.urandom")

    def test_no_unseeded_source_of_randomness(self):
        here = os.path.dirname(os.path.abspath(__file__))
        found = []
        for name in sorted(os.listdir(here)):
            if not name.endswith(".py") or name.startswith("test_"):
                continue
            with open(os.path.join(here, name)) as fh:
                for n, line in enumerate(fh, 1):
                    if self.UNSEEDED.search(line):
                        found.append("%s:%d: %s" % (name, n, line.strip()))
        self.assertEqual(found, [])


class CheckerRejectsBrokenImages(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="brinegrab_bad_")
        cls.good = built_tree("images", images.generate)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def _copy(self, name):
        bad = os.path.join(self.tmp, name)
        copy_files(self.good, bad, check_assets.CONTRACT)
        return bad

    def _damaged(self, rel, damage):
        bad = self._copy("bad")
        damage(os.path.join(bad, rel))
        return [p for p in check_assets.check_images(bad) if p.startswith(rel)]

    @staticmethod
    def _edit(fmt="PNG", **kw):
        def go(fn):
            def damage(path):
                with Image.open(path) as im:
                    a = np.array(im.convert("RGB"))
                img = fn(a)
                if isinstance(img, np.ndarray):
                    img = Image.fromarray(img)
                img.save(path, fmt, **kw)
            return damage
        return go

    def test_each_fault_is_reported(self):
        e = self._edit

        def blank_cell(a):
            a[80:160, 80:160] = (0, 255, 255)
            return a

        def draw_in_unused(a):
            a[250, 250] = (0, 0, 0)
            return a

        def hole(a):
            a[300, 300] = (0, 255, 255)
            return a

        def fringe(a):
            a[60, 5] = (12, 250, 250)
            return a

        def teal_blot(a):
            a[200:230, 200:230] = (10, 240, 240)
            return a

        def seam(a):
            a[:, :320] = a[:, :320] // 2
            return a

        def deck_hole(a):
            a[300:310, 300:310] = (0, 255, 255)
            return a

        def empty_trap_top(a):
            a[:20] = (120, 80, 40)
            return a

        cases = [
            ("sprites/bg.jpg", lambda p: Image.open(p).save(p, "PNG"), "is not .jpg"),
            ("sprites/ball.bmp", lambda p: Image.open(p).resize((24, 24)).save(p, "BMP"),
             "size 24x24"),
            ("sprites/main_pic.png", lambda p: Image.new("RGB", (800, 600), "white").save(p),
             "must fit"),
            ("sprites/pirate_ssheet.png", e()(blank_cell), "is empty"),
            ("sprites/pirate_ssheet.png", e()(draw_in_unused), "pure key colour"),
            ("minigames/cave.png", e()(hole), "pure cyan pixels"),
            ("sprites/ghost_sheet.png", e()(fringe), "near-cyan"),
            ("sprites/bg.jpg", e("JPEG", quality=90)(teal_blot), "near pure cyan"),
            ("sprites/heart_sheet.png",
             lambda p: Image.open(p).convert("RGBA").save(p), "alpha"),
            ("minigames/water.png", e()(seam), "does not tile"),
            ("minigames/ship.png", e()(deck_hole), "holes"),
            ("minigames/trap.png", e()(empty_trap_top), "see-through"),
            ("VX_pics/vx_logo.gif", os.remove, "missing"),
            ("VX_pics/comp_logo.png", _truncate, "cannot be decoded"),
        ]
        for rel, damage, expect in cases:
            with self.subTest(rel=rel, expect=expect):
                problems = self._damaged(rel, damage)
                self.assertTrue(any(expect in p for p in problems),
                                "%s: expected '%s' in %s" % (rel, expect, problems))

    def test_command_line_exit_status(self):
        self.assertEqual(check_assets.main(["x", self.good, "--images-only"]), 0)
        bad = self._copy("cli")
        os.remove(os.path.join(bad, "sprites", "ball.bmp"))
        self.assertEqual(check_assets.main(["x", bad, "--images-only"]), 1)
        self.assertEqual(check_assets.main(["x", os.path.join(self.tmp, "nope")]), 2)


class Icons(unittest.TestCase):
    def test_one_picture_for_the_window_and_every_desktop_size(self):
        tmp = tempfile.mkdtemp(prefix="brinegrab_icon_")
        self.addCleanup(shutil.rmtree, tmp, True)
        self.assertEqual(generate.main(["x", tmp, "icon", "icons"]), 0)
        with Image.open(os.path.join(tmp, "icon.png")) as im:
            window = np.array(im)
        self.assertEqual(window.shape, (64, 64, 4))
        self.assertEqual(window[0, 0, 3], 0, "clear outside the round badge")
        self.assertTrue((window[12:52, 12:52, 3] == 255).all(), "opaque inside it")
        for size in art_icon.SIZES:
            with Image.open(os.path.join(tmp, "%d.png" % size)) as im:
                self.assertEqual((im.size, im.mode), ((size, size), "RGBA"))
                a = np.array(im)
            if size >= 64:
                k = size // 64
                self.assertTrue((a[::k, ::k] == window).all(), "%d px: the same pixels" % size)


if __name__ == "__main__":
    unittest.main()
