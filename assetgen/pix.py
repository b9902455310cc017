"""Pixel-art toolkit shared by every art module.

Sprites are plain RGB arrays on the colour key (pure cyan).  A drawing is a
list of "parts": a boolean mask plus a colour ramp.  Parts are painted in
order; each one gets its own dark outline and simple light-from-upper-left
shading, so figures built from ellipses and polygons come out looking hand
pixelled.  Because masks are kept apart from colours, a figure can be mirrored
before painting and the light still falls from the upper left.
"""
import math

import numpy as np
from PIL import Image, ImageDraw, ImageFont

KEY = (0, 255, 255)
OUTLINE = (36, 22, 30)

FONT_DIR = "/usr/share/fonts/truetype"
TITLE_FONT = FONT_DIR + "/blankenburg/Blankenburg_UNZ1A.ttf"
SANS_BOLD = FONT_DIR + "/open-sans/OpenSans-ExtraBold.ttf"
SANS_COND = FONT_DIR + "/open-sans/OpenSans-CondBold.ttf"

# --- palette: (shadow, base, light[, shine]) ramps ----------------------------
SKIN = ((178, 102, 70), (230, 160, 116), (250, 202, 158))
SKIN_DARK = ((112, 62, 40), (160, 98, 64), (200, 138, 96))
COAT_RED = ((116, 22, 30), (182, 38, 40), (226, 82, 66))
COAT_BLUE = ((26, 44, 116), (44, 82, 176), (86, 134, 222))
HAT = ((22, 20, 30), (46, 42, 58), (84, 78, 100))
GOLD = ((150, 88, 18), (222, 166, 36), (255, 226, 104), (255, 250, 214))
STEEL = ((86, 96, 114), (164, 176, 192), (230, 236, 244), (255, 255, 255))
BOOT = ((44, 26, 20), (82, 50, 34), (126, 84, 54))
BELT = ((58, 34, 22), (98, 60, 36), (138, 92, 58))
CLOTH = ((150, 138, 116), (212, 202, 178), (244, 238, 220))
HAIR = ((44, 26, 18), (76, 46, 28), (112, 72, 44))
WOOD = ((86, 50, 26), (138, 86, 44), (182, 128, 70))
WOOD_DARK = ((54, 32, 20), (90, 56, 32), (126, 84, 50))
BONE = ((150, 140, 112), (214, 206, 180), (246, 242, 226))
RUBY = ((110, 8, 28), (196, 22, 48), (246, 84, 96), (255, 214, 220))
HEART = ((132, 10, 26), (214, 30, 46), (255, 102, 104), (255, 226, 226))
GREY = ((70, 70, 80), (124, 124, 136), (176, 176, 188))
IRON = ((14, 14, 20), (40, 40, 50), (84, 86, 100), (190, 194, 210))
PARCH = ((170, 128, 70), (222, 190, 128), (246, 226, 172))
PURPLE = ((64, 22, 70), (108, 40, 116), (156, 78, 160))
MAROON = ((72, 18, 34), (118, 30, 52), (164, 62, 80))
GREEN = ((24, 100, 36), (46, 160, 52), (126, 214, 84))
ORANGE = ((150, 70, 14), (218, 118, 28), (250, 176, 70))
NAVY = ((22, 26, 54), (38, 46, 90), (66, 78, 132))
OLIVE = ((60, 62, 30), (96, 98, 48), (134, 136, 74))
RAG = ((70, 72, 60), (112, 114, 94), (152, 152, 128))
GHOST = ((120, 150, 156), (178, 210, 200), (226, 244, 232), (250, 255, 250))
SPARK = (255, 252, 220)

FLIP_NONE = 0


def rgb(c):
    return tuple(int(v) for v in c[:3])


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def blank(w, h, color=KEY):
    a = np.empty((h, w, 3), np.uint8)
    a[:, :] = color
    return a


def to_image(arr):
    return Image.fromarray(np.ascontiguousarray(arr, dtype=np.uint8), "RGB")


def from_image(img):
    return np.array(img.convert("RGB"), dtype=np.uint8)


def keymask(arr):
    """True where the pixel is the transparent key colour."""
    return (arr[:, :, 0] == 0) & (arr[:, :, 1] == 255) & (arr[:, :, 2] == 255)


def shifted(mask, dx, dy):
    """Value at (x, y) is mask[y + dy, x + dx]; False off the edge."""
    h, w = mask.shape
    out = np.zeros_like(mask)
    ys0, ys1 = max(0, -dy), min(h, h - dy)
    xs0, xs1 = max(0, -dx), min(w, w - dx)
    if ys0 < ys1 and xs0 < xs1:
        out[ys0:ys1, xs0:xs1] = mask[ys0 + dy:ys1 + dy, xs0 + dx:xs1 + dx]
    return out


def edge(mask, diag=False):
    """Pixels of the mask that touch the outside (4- or 8-neighbourhood)."""
    inner = mask.copy()
    steps = [(1, 0), (-1, 0), (0, 1), (0, -1)]
    if diag:
        steps += [(1, 1), (-1, -1), (1, -1), (-1, 1)]
    for dx, dy in steps:
        inner &= shifted(mask, dx, dy)
    return mask & ~inner


def grow(mask, r=1, diag=False):
    out = mask.copy()
    for _ in range(r):
        m = out.copy()
        steps = [(1, 0), (-1, 0), (0, 1), (0, -1)]
        if diag:
            steps += [(1, 1), (-1, -1), (1, -1), (-1, 1)]
        for dx, dy in steps:
            m |= shifted(out, dx, dy)
        out = m
    return out


def checker(h, w, phase=0):
    yy, xx = np.mgrid[0:h, 0:w]
    return ((xx + yy + phase) % 2) == 0


BAYER4 = np.array([[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9],
                   [15, 7, 13, 5]], np.float32) / 16.0 + 1 / 32.0


def bayer(h, w):
    return np.tile(BAYER4, (h // 4 + 1, w // 4 + 1))[:h, :w]


def paint(arr, mask, ramp, outline=OUTLINE, hl=1, sh=2, shade=True,
          light=(-1, -1)):
    """Fill a mask with a ramp: base colour, a shadow band on the lower right,
    a highlight rim on the upper left and a dark outline."""
    if not mask.any():
        return
    if isinstance(ramp[0], int):
        arr[mask] = ramp
        if outline is not None:
            arr[edge(mask) & mask] = outline
        return
    dark, base, lite = ramp[0], ramp[1], ramp[2]
    arr[mask] = base
    o = 1 if outline is not None else 0
    if shade:
        lx, ly = light
        shadow = np.zeros_like(mask)
        if sh:
            shadow = mask & ~shifted(mask, -lx * (sh + o), -ly * (sh + o))
            arr[shadow] = dark
        if hl:
            high = mask & ~shifted(mask, lx * (hl + o), ly * (hl + o)) & ~shadow
            arr[high] = lite
    if outline is not None:
        arr[edge(mask)] = outline


class Fig:
    """A drawing made of shaded parts, rendered on the key colour."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.parts = []

    # mask builders --------------------------------------------------------
    def _canvas(self):
        img = Image.new("L", (self.w, self.h), 0)
        return img, ImageDraw.Draw(img)

    def m_ellipse(self, box):
        img, d = self._canvas()
        d.ellipse([round(v) for v in box], fill=255)
        return np.array(img) > 0

    def m_poly(self, pts):
        img, d = self._canvas()
        d.polygon([(round(x), round(y)) for x, y in pts], fill=255)
        return np.array(img) > 0

    def m_rect(self, box):
        img, d = self._canvas()
        d.rectangle([round(v) for v in box], fill=255)
        return np.array(img) > 0

    def m_line(self, pts, width):
        img, d = self._canvas()
        pts = [(round(x), round(y)) for x, y in pts]
        d.line(pts, fill=255, width=int(width))
        r = width / 2.0
        if width > 2:
            for x, y in pts:
                d.ellipse([x - r + 0.5, y - r + 0.5, x + r - 0.5, y + r - 0.5],
                          fill=255)
        return np.array(img) > 0

    def m_pixels(self, pts):
        m = np.zeros((self.h, self.w), bool)
        for x, y in pts:
            x, y = int(round(x)), int(round(y))
            if 0 <= x < self.w and 0 <= y < self.h:
                m[y, x] = True
        return m

    # parts ------------------------------------------------------------------
    def add(self, mask, ramp, **opts):
        self.parts.append((mask, ramp, opts))
        return mask

    def ellipse(self, box, ramp, **o):
        return self.add(self.m_ellipse(box), ramp, **o)

    def poly(self, pts, ramp, **o):
        return self.add(self.m_poly(pts), ramp, **o)

    def rect(self, box, ramp, **o):
        return self.add(self.m_rect(box), ramp, **o)

    def line(self, pts, width, ramp, **o):
        return self.add(self.m_line(pts, width), ramp, **o)

    def pixels(self, pts, color):
        return self.add(self.m_pixels(pts), color, outline=None)

    def render(self, flip=False, arr=None):
        if arr is None:
            arr = blank(self.w, self.h)
        for mask, ramp, opts in self.parts:
            if flip:
                mask = mask[:, ::-1]
            paint(arr, mask, ramp, **opts)
        return arr


def limb(fig, a, b, width, ramp, **o):
    """A straight limb from point a to point b, drawn as a thick line."""
    return fig.line([a, b], width, ramp, **o)


def two_bone(hip, foot, l1, l2, bend=1):
    """Knee position for a leg from hip to foot; bend=+1 knee points to +x."""
    hx, hy = hip
    fx, fy = foot
    dx, dy = fx - hx, fy - hy
    d = math.hypot(dx, dy)
    d = min(d, l1 + l2 - 0.01)
    a = (l1 * l1 - l2 * l2 + d * d) / (2 * d)
    h = math.sqrt(max(0.0, l1 * l1 - a * a))
    mx, my = hx + a * dx / max(d, 1e-6), hy + a * dy / max(d, 1e-6)
    nx, ny = -dy / max(d, 1e-6), dx / max(d, 1e-6)
    k1 = (mx + h * nx, my + h * ny)
    k2 = (mx - h * nx, my - h * ny)
    return k1 if (k1[0] - k2[0]) * bend > 0 else k2


def sheet(cells, cw, ch, cols=None):
    """Join a list of rows of cell arrays into one sheet array."""
    rows = len(cells)
    cols = cols or max(len(r) for r in cells)
    out = blank(cw * cols, ch * rows)
    for r, row in enumerate(cells):
        for c, cell in enumerate(row):
            if cell is not None:
                out[r * ch:(r + 1) * ch, c * cw:(c + 1) * cw] = cell
    return out


def paste(dst, src, x, y, key=True):
    """Copy src onto dst at (x, y), skipping key pixels; clips at edges."""
    h, w = src.shape[:2]
    H, W = dst.shape[:2]
    x0, y0 = max(0, x), max(0, y)
    x1, y1 = min(W, x + w), min(H, y + h)
    if x0 >= x1 or y0 >= y1:
        return
    s = src[y0 - y:y1 - y, x0 - x:x1 - x]
    d = dst[y0:y1, x0:x1]
    if key:
        m = ~keymask(s)
        d[m] = s[m]
    else:
        d[:] = s


def scale(arr, k):
    return np.repeat(np.repeat(arr, k, axis=0), k, axis=1)


def sparkle(arr, x, y, size, color=SPARK, core=(255, 255, 255)):
    """A four-pointed twinkle centred on (x, y)."""
    h, w = arr.shape[:2]

    def put(px, py, c):
        if 0 <= px < w and 0 <= py < h:
            arr[py, px] = c
    for i in range(1, size + 1):
        c = color if i < size else mix(color, (255, 200, 60), 0.5)
        put(x + i, y, c)
        put(x - i, y, c)
        put(x, y + i, c)
        put(x, y - i, c)
    if size >= 3:
        for dx, dy in ((1, 1), (-1, 1), (1, -1), (-1, -1)):
            put(x + dx, y + dy, color)
    put(x, y, core)


def outline_silhouette(arr, color=OUTLINE):
    """Add a 1px outline outside everything that is not key."""
    solid = ~keymask(arr)
    ring = grow(solid, 1) & ~solid
    arr[ring] = color
    return arr


def font(path, size):
    return ImageFont.truetype(path, size)


def noise2(h, w, seed, scale_px, octaves=3, wrap_x=False):
    """Smooth value noise in [0, 1), tileable along x if wrap_x."""
    rng = np.random.RandomState(seed)
    total = np.zeros((h, w), np.float64)
    amp, norm = 1.0, 0.0
    s = float(scale_px)
    for _ in range(octaves):
        gw = max(2, int(round(w / s)))
        gh = max(2, int(math.ceil(h / s)) + 2)
        grid = rng.rand(gh, gw + 1)
        if wrap_x:
            grid[:, gw] = grid[:, 0]
        xs = np.linspace(0, gw, w, endpoint=False) if wrap_x else \
            np.linspace(0, gw - 1e-6, w)
        ys = np.arange(h) / s
        x0 = np.floor(xs).astype(int)
        y0 = np.floor(ys).astype(int)
        fx = xs - x0
        fy = ys - y0
        fx = fx * fx * (3 - 2 * fx)
        fy = fy * fy * (3 - 2 * fy)
        g00 = grid[y0][:, x0]
        g10 = grid[y0][:, x0 + 1]
        g01 = grid[y0 + 1][:, x0]
        g11 = grid[y0 + 1][:, x0 + 1]
        top = g00 + (g10 - g00) * fx[None, :]
        bot = g01 + (g11 - g01) * fx[None, :]
        total += amp * (top + (bot - top) * fy[:, None])
        norm += amp
        amp *= 0.5
        s /= 2.0
    return total / norm


def ramp_colors(stops, n):
    """n colours interpolated through a list of colour stops."""
    out = []
    for i in range(n):
        t = i / max(1, n - 1) * (len(stops) - 1)
        k = min(int(t), len(stops) - 2)
        out.append(mix(stops[k], stops[k + 1], t - k))
    return out


def quantize_to(arr_f, colors):
    """Map a float field in [0,1] to discrete colours (banded pixel look)."""
    idx = np.clip((arr_f * len(colors)).astype(int), 0, len(colors) - 1)
    pal = np.array(colors, np.uint8)
    return pal[idx]


def dither_to(arr_f, colors, h=None, w=None):
    """Like quantize_to but ordered-dithered between neighbouring bands."""
    hh, ww = arr_f.shape
    v = arr_f * (len(colors) - 1) + (bayer(hh, ww) - 0.5)
    idx = np.clip(np.round(v).astype(int), 0, len(colors) - 1)
    pal = np.array(colors, np.uint8)
    return pal[idx]


def save_png(arr_or_img, path):
    img = arr_or_img if isinstance(arr_or_img, Image.Image) else to_image(arr_or_img)
    img.save(path, "PNG", optimize=False)
