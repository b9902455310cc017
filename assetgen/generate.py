#!/usr/bin/python3
"""Makes every image and sound the game loads, deterministically.

Usage: generate.py OUT_DIR [images] [sounds] [icon] [icons]

Writes the game's asset tree (sprites/, sfx/, minigames/, VX_pics/) and its
window icon (icon.png) under OUT_DIR; "icons" instead writes the desktop
icons (32.png, 64.png, 128.png, 256.png). The same inputs always give
byte-identical files.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))


def main(argv):
    if len(argv) < 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    out = argv[1]
    what = argv[2:] or ["images", "sounds", "icon"]
    if "images" in what or "sounds" in what:
        for sub in ("sprites", "sfx", "minigames", "VX_pics"):
            os.makedirs(os.path.join(out, sub), exist_ok=True)
    if "images" in what:
        import images
        images.generate(out)
    if "sounds" in what:
        import sounds
        sounds.generate(out)
    if "icon" in what or "icons" in what:
        import art_icon
        os.makedirs(out, exist_ok=True)
        if "icon" in what:
            art_icon.save_window_icon(out)
        if "icons" in what:
            art_icon.generate(out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
