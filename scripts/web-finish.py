#!/usr/bin/env python3
"""Completes the built page in WEB_DIR: the icons drawn by the asset
generator, the web app manifest, the service worker that keeps the page's
files for offline play, and a gzip-compressed copy of every file.

Usage: web-finish.py WEB_DIR

The service worker's cache is named after a digest of the files, so every
build that changes a file gets a new cache, and the old one is dropped."""
import gzip
import hashlib
import json
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "assetgen"))
import art_icon  # noqa: E402

WEB = sys.argv[1]
NAME = "Brinegrab"
COLOUR = "#101418"


def write(name, data):
    with open(os.path.join(WEB, name), "wb") as f:
        f.write(data)


def main():
    for name in os.listdir(WEB):
        if name.endswith(".gz"):
            os.remove(os.path.join(WEB, name))
    icon = art_icon.icon()
    for size in (192, 512):
        art_icon.at_size(icon, size).save(os.path.join(WEB, "icon-%d.png" % size), "PNG")
    manifest = {
        "name": NAME,
        "short_name": NAME,
        "start_url": "./",
        "scope": "./",
        "display": "fullscreen",
        "orientation": "landscape",
        "background_color": COLOUR,
        "theme_color": COLOUR,
        "icons": [{"src": "icon-%d.png" % s, "sizes": "%dx%d" % (s, s), "type": "image/png"}
                  for s in (192, 512)],
    }
    write("manifest.webmanifest", (json.dumps(manifest, indent=2) + "\n").encode())

    files = sorted(n for n in os.listdir(WEB)
                   if n != "sw.js" and os.path.isfile(os.path.join(WEB, n)))
    # A language's catalog and faces (locale/, fonts/) are fetched only for a
    # language that needs them: not in the list, but in the digest, so that a
    # new catalog makes a new cache.
    apart = sorted(os.path.join(d, n) for d in ("locale", "fonts")
                   if os.path.isdir(os.path.join(WEB, d))
                   for n in os.listdir(os.path.join(WEB, d)))
    digest = hashlib.sha256()
    for name in files + apart:
        digest.update(name.encode() + b"\0")
        with open(os.path.join(WEB, name), "rb") as f:
            digest.update(f.read())
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "platform", "web", "sw.js")) as f:
        worker = f.read()
    worker = worker.replace("CACHE_NAME", json.dumps("brinegrab-" + digest.hexdigest()[:16]))
    worker = worker.replace("PAGE_FILES", json.dumps(["./"] + files))
    write("sw.js", worker.encode())

    for name in files + ["sw.js"]:
        with open(os.path.join(WEB, name), "rb") as f:
            data = f.read()
        # mtime 0: the same build gives the same bytes.
        write(name + ".gz", gzip.compress(data, compresslevel=9, mtime=0))


main()
