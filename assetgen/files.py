"""Small file helpers shared by the generator's tests."""
import atexit
import glob
import hashlib
import os
import shutil
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))

# Where the build generated the game's files (CTest sets it to build/game).
BUILT_ENV = "BRINEGRAB_BUILT_ASSETS"
_generated = {}


def digest_tree(root):
    """Maps every file below root (by relative path) to its SHA-256."""
    out = {}
    for dirpath, _, files in os.walk(root):
        for f in files:
            p = os.path.join(dirpath, f)
            with open(p, "rb") as fh:
                out[os.path.relpath(p, root)] = hashlib.sha256(fh.read()).hexdigest()
    return out


def digest(path):
    with open(path, "rb") as fh:
        return hashlib.sha256(fh.read()).hexdigest()


def _fresh(tree):
    """Did the build finish generating tree after the last change to the generator?"""
    stamp = os.path.join(tree, "assets.stamp")
    if not os.path.isfile(stamp):
        return False
    sources = [p for p in glob.glob(os.path.join(HERE, "*.py"))
               if not os.path.basename(p).startswith("test_") and p != os.path.abspath(__file__)]
    newest = max(os.path.getmtime(p) for p in sources)
    return os.path.getmtime(stamp) >= newest


def built_tree(what, generate):
    """The asset tree to test: the one the build generated, when it is up to
    date with the generator; otherwise generate(out_dir) run once per process
    into a temporary directory (what names it: "images" or "sounds")."""
    tree = os.environ.get(BUILT_ENV, "")
    if tree and _fresh(tree):
        return tree
    if what not in _generated:
        tmp = tempfile.mkdtemp(prefix="brinegrab_%s_" % what)
        atexit.register(shutil.rmtree, tmp, True)
        generate(tmp)
        _generated[what] = tmp
    return _generated[what]


def copy_files(src, dst, rels):
    """A private copy of just the files rels of the tree src, to damage."""
    shutil.rmtree(dst, ignore_errors=True)
    for rel in rels:
        os.makedirs(os.path.dirname(os.path.join(dst, rel)), exist_ok=True)
        shutil.copyfile(os.path.join(src, rel), os.path.join(dst, rel))
