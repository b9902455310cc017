#!/usr/bin/python3
"""Makes every image and sound the game loads, deterministically.

Usage: generate.py OUT_DIR [images] [sounds] [icon] [icons]

Writes the game's asset tree (sprites/, sfx/, minigames/, VX_pics/) and its
window icon (icon.png) under OUT_DIR; "icons" instead writes the desktop
icons (32.png, 64.png, 128.png, 256.png). The same inputs always give
byte-identical files, whichever process makes which file.
"""
import multiprocessing
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))


def _jobs(what):
    """(module, file) pairs, the slowest first: the music loops take most of
    the time, so they start at once and the small files fill in beside them."""
    jobs = []
    if "sounds" in what:
        import sounds
        jobs += [("sounds", rel) for rel in sounds.MUSIC]
        jobs += [("sounds", e[0]) for e in sounds.EFFECTS]
    if "images" in what:
        import images
        jobs += [("images", rel) for rel in images.ASSETS]
    if "icon" in what:
        jobs.append(("art_icon", "icon.png"))
    if "icons" in what:
        jobs.append(("art_icon", "icons"))
    return jobs


def _make(out, job):
    module, rel = job
    if module == "art_icon":
        import art_icon
        os.makedirs(out, exist_ok=True)
        if rel == "icons":
            art_icon.generate(out)
        else:
            art_icon.save_window_icon(out)
    else:
        sys.modules[module].make(out, rel)


def _make_in(args):
    _make(*args)


def main(argv):
    if len(argv) < 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    out = argv[1]
    what = argv[2:] or ["images", "sounds", "icon"]
    if "images" in what or "sounds" in what:
        for sub in ("sprites", "sfx", "minigames", "VX_pics"):
            os.makedirs(os.path.join(out, sub), exist_ok=True)
    jobs = _jobs(what)
    workers = min(len(os.sched_getaffinity(0)), len(jobs))
    if workers <= 1:
        for job in jobs:
            _make(out, job)
        return 0
    # The files are independent, so a first build makes them on every core.
    with multiprocessing.get_context("fork").Pool(workers) as pool:
        for _ in pool.imap_unordered(_make_in, [(out, job) for job in jobs]):
            pass
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
