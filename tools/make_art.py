#!/usr/bin/python3
"""Draws the client's artwork and writes it under res/.

Run it with Debian's Python (Pillow comes from python3-pil):
    /usr/bin/python3 tools/make_art.py
The generated files are committed, so building needs no Python.
"""
import io
import math
import os
import struct

from PIL import Image, ImageDraw, ImageFilter

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES = os.path.join(ROOT, "res")

# The game's palette: night teal, moon silver, ember gold.
TEAL_DARK = (12, 46, 58)
TEAL = (24, 96, 112)
GOLD = (232, 178, 72)
GOLD_DEEP = (170, 108, 32)
SILVER = (226, 234, 240)


def emblem(size):
    """The Morvessa emblem: a gold-ringed teal medallion with a crescent moon and a
    four-pointed star, drawn large and scaled down for crisp small icons."""
    big = 512
    img = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    c = big / 2
    # Ring: deep gold rim with a lighter inner edge.
    d.ellipse((8, 8, big - 8, big - 8), fill=GOLD_DEEP + (255,))
    d.ellipse((28, 28, big - 28, big - 28), fill=GOLD + (255,))
    # Field: a radial teal gradient.
    field = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    fd = ImageDraw.Draw(field)
    for r in range(int(c - 48), 0, -4):
        t = r / (c - 48)
        col = tuple(int(TEAL_DARK[i] * t + TEAL[i] * (1 - t)) for i in range(3))
        fd.ellipse((c - r, c - r, c + r, c + r), fill=col + (255,))
    img.alpha_composite(field)
    # Crescent: a silver disc with an offset disc of the field cut out of it.
    moon = Image.new("L", (big, big), 0)
    md = ImageDraw.Draw(moon)
    md.ellipse((120, 110, 360, 350), fill=255)
    md.ellipse((178, 84, 412, 318), fill=0)
    img.paste(Image.new("RGBA", (big, big), SILVER + (255,)), (0, 0), moon)
    # Star: four points in gold.
    sx, sy, r1, r2 = 338, 318, 78, 20
    pts = []
    for k in range(8):
        a = math.pi / 4 * k - math.pi / 2
        r = r1 if k % 2 == 0 else r2
        pts.append((sx + r * math.cos(a), sy + r * math.sin(a)))
    d = ImageDraw.Draw(img)
    d.polygon(pts, fill=GOLD + (255,))
    glow = img.filter(ImageFilter.GaussianBlur(1))
    img = Image.alpha_composite(glow, img)
    return img.resize((size, size), Image.LANCZOS)


def ico_entry(img):
    """One 32-bit BMP icon image: BITMAPINFOHEADER with double height, BGRA rows bottom
    up, then the AND mask (all zero: the alpha channel decides)."""
    w, h = img.size
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    px = img.load()
    rows = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = px[x, y]
            rows += bytes((b, g, r, a))
    mask_stride = ((w + 31) // 32) * 4
    mask = bytes(mask_stride * h)
    return header + bytes(rows) + mask


def write_ico(path, sizes):
    images = [ico_entry(emblem(s)) for s in sizes]
    out = io.BytesIO()
    out.write(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        dim = 0 if s >= 256 else s
        out.write(struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset))
        offset += len(data)
    for data in images:
        out.write(data)
    with open(path, "wb") as f:
        f.write(out.getvalue())


def main():
    os.makedirs(os.path.join(RES, "images"), exist_ok=True)
    write_ico(os.path.join(RES, "emblem.ico"), [128, 48, 32, 24, 16])


if __name__ == "__main__":
    main()
