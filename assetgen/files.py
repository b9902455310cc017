"""Small file helpers shared by the generator's tests."""
import hashlib
import os


def digest_tree(root):
    """Maps every file below root (by relative path) to its SHA-256."""
    out = {}
    for dirpath, _, files in os.walk(root):
        for f in files:
            p = os.path.join(dirpath, f)
            with open(p, "rb") as fh:
                out[os.path.relpath(p, root)] = hashlib.sha256(fh.read()).hexdigest()
    return out
