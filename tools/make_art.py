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

from PIL import Image, ImageDraw, ImageFilter, ImageFont

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


# ---------------------------------------------------------------------------
# The pictures of the windows. Every image has its resource id, size and PNG colour
# type fixed by the windows that use it; TABLE below is the one list, and it also
# writes the id header and the resource script fragment.

FONT_PATH = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
NIGHT = (6, 22, 30)
HEADER = (16, 64, 78)       # the login frame's title band, behind its buttons
EMBER = (196, 76, 40)       # the close buttons' warning face
KEY = (255, 128, 255)       # the colour key shared with the layered login window


def font(size):
    return ImageFont.truetype(FONT_PATH, size)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def strip_rows(height):
    """Colours of the title strips from top to bottom: a light edge, a teal gradient
    and a gold line at the bottom, so buttons laid on it can match their rows."""
    rows = []
    for y in range(height):
        if y == 0:
            rows.append(mix(TEAL, SILVER, 0.25))
        elif y >= height - 1:
            rows.append(GOLD_DEEP)
        else:
            rows.append(mix(TEAL, TEAL_DARK, (y - 1) / max(1, height - 3)))
    return rows


STRIP = strip_rows(27)


def strip_background(width, height, top):
    """A piece of the title strip starting at strip row top; rows below the strip
    continue its darkest colour (the page covers them)."""
    img = Image.new("RGB", (width, height))
    d = ImageDraw.Draw(img)
    for y in range(height):
        row = top + y
        d.line((0, y, width, y), fill=STRIP[row] if row < len(STRIP) else TEAL_DARK)
    return img


def smooth_mask(size, draw, scale=4):
    """An antialiased mask: draw(ImageDraw, scale) paints white at scale times the size."""
    w, h = size
    big = Image.new("L", (w * scale, h * scale), 0)
    draw(ImageDraw.Draw(big), scale)
    return big.resize((w, h), Image.LANCZOS)


def paint(img, mask, colour):
    img.paste(Image.new(img.mode, img.size, colour + ((255,) if img.mode == "RGBA" else ())),
              (0, 0), mask)


def text_mask(size, text, px, dx=0, dy=0):
    """A caption centred in size, pixel-aligned (no resampling keeps it sharp)."""
    mask = Image.new("L", size, 0)
    d = ImageDraw.Draw(mask)
    f = font(px)
    box = d.textbbox((0, 0), text, font=f)
    x = (size[0] - (box[2] - box[0])) // 2 - box[0] + dx
    y = (size[1] - (box[3] - box[1])) // 2 - box[1] + dy
    d.text((x, y), text, font=f, fill=255)
    return mask, (x + box[0], y + box[1], x + box[2], y + box[3])


def diamond(d, cx, cy, r, fill):
    d.polygon([(cx, cy - r), (cx + r, cy), (cx, cy + r), (cx - r, cy)], fill=fill)


# --- window glyphs, drawn as masks at four times their size ----------------------

def glyph_close(size, inset):
    def draw(d, s):
        w, h = size
        a, b = inset * s, (min(w, h) - inset) * s
        ox = (w - min(w, h)) * s // 2
        d.line((ox + a, a, ox + b, b), fill=255, width=2 * s)
        d.line((ox + a, b, ox + b, a), fill=255, width=2 * s)
    return smooth_mask(size, draw)


def glyph_minimize(size, y, half):
    def draw(d, s):
        cx = size[0] * s // 2
        d.rectangle((cx - half * s, y * s, cx + half * s, (y + 2) * s), fill=255)
    return smooth_mask(size, draw)


def glyph_corners(size, inward):
    """Four corner brackets: pointing out for full screen, in for the window size."""
    def draw(d, s):
        w, h = size
        l, t, r, b = 7 * s, 7 * s, (w - 7) * s, (h - 7) * s
        k = 4 * s
        lw = 2 * s
        for (x, y, sx, sy) in ((l, t, 1, 1), (r, t, -1, 1), (l, b, 1, -1), (r, b, -1, -1)):
            if inward:
                # the bracket's corner sits inside, arms pointing to the window's corner
                x2, y2 = x + sx * k, y + sy * k
                d.line((x2, y2, x2 - sx * k, y2), fill=255, width=lw)
                d.line((x2, y2, x2, y2 - sy * k), fill=255, width=lw)
            else:
                d.line((x, y, x + sx * k, y), fill=255, width=lw)
                d.line((x, y, x, y + sy * k), fill=255, width=lw)
    return smooth_mask(size, draw)


def glyph_tray(size):
    """An arrow down into a tray."""
    def draw(d, s):
        w, h = size
        cx = w * s // 2
        d.line((cx, 6 * s, cx, 15 * s), fill=255, width=2 * s)
        d.polygon([(cx - 5 * s, 12 * s), (cx + 5 * s, 12 * s), (cx, 18 * s)], fill=255)
        d.line((7 * s, 20 * s, (w - 7) * s, 20 * s), fill=255, width=2 * s)
    return smooth_mask(size, draw)


def window_button(size, top, glyph, hover, warn=False):
    """A title-strip window button: silver glyph on the strip; the hover face lights a
    rounded plate (ember for close) and turns the glyph gold (silver on ember)."""
    img = strip_background(size[0], size[1], top)
    if hover:
        plate = smooth_mask(size, lambda d, s: d.rounded_rectangle(
            (2 * s, 2 * s, (size[0] - 2) * s, (size[1] - 3) * s), radius=4 * s, fill=255))
        paint(img, plate, EMBER if warn else mix(TEAL, SILVER, 0.18))
        edge = smooth_mask(size, lambda d, s: d.rounded_rectangle(
            (2 * s, 2 * s, (size[0] - 2) * s, (size[1] - 3) * s), radius=4 * s,
            outline=255, width=s))
        paint(img, edge, GOLD)
    paint(img, glyph, SILVER if (warn or not hover) else GOLD)
    return img


def link_button(size, top, caption, hover):
    """A small captioned pill on the game window's strip: gold outline and silver text;
    the hover face fills with gold and darkens the caption."""
    img = strip_background(size[0], size[1], top)
    box = (0, 0, size[0] - 1, size[1] - 1)
    if hover:
        fill = smooth_mask(size, lambda d, s: d.rounded_rectangle(
            tuple(v * s for v in box), radius=8 * s, fill=255))
        paint(img, fill, GOLD)
    else:
        edge = smooth_mask(size, lambda d, s: d.rounded_rectangle(
            tuple(v * s for v in box), radius=8 * s, outline=255, width=s))
        paint(img, edge, GOLD_DEEP)
    mask, _ = text_mask(size, caption, 12, 0, 0)
    paint(img, mask, TEAL_DARK if hover else SILVER)
    return img


def header_link(size, caption, hover):
    """A text link of the login frame's title band: a gold diamond and the caption,
    silver; the hover face is gold and underlined."""
    img = Image.new("RGB", size, HEADER)
    d = ImageDraw.Draw(img)
    mask, box = text_mask(size, caption, 13, 5, 0)
    colour = GOLD if hover else SILVER
    diamond(d, box[0] - 8, size[1] // 2, 3, GOLD if not hover else SILVER)
    paint(img, mask, colour)
    if hover:
        d.line((box[0], size[1] - 2, box[2], size[1] - 2), fill=GOLD)
    return img


def header_button(size, glyph, hover, warn=False):
    img = Image.new("RGB", size, HEADER)
    if hover:
        plate = smooth_mask(size, lambda d, s: d.ellipse(
            (0, 0, size[0] * s - 1, size[1] * s - 1), fill=255) if warn else d.rounded_rectangle(
            (0, 0, size[0] * s - 1, size[1] * s - 1), radius=3 * s, fill=255))
        paint(img, plate, EMBER if warn else mix(HEADER, SILVER, 0.2))
    elif warn:
        ring = smooth_mask(size, lambda d, s: d.ellipse(
            (s, s, (size[0] - 1) * s, (size[1] - 1) * s), outline=255, width=s))
        paint(img, ring, GOLD_DEEP)
    paint(img, glyph, SILVER if (warn or not hover) else GOLD)
    return img


def big_button(size, caption, hover):
    """A large gold call-to-action plate on the night panel."""
    w, h = size
    img = Image.new("RGB", size, TEAL_DARK)
    top, bottom = (GOLD, GOLD_DEEP) if not hover else (mix(GOLD, SILVER, 0.35), GOLD)
    grad = Image.new("RGB", size)
    gd = ImageDraw.Draw(grad)
    for y in range(h):
        gd.line((0, y, w, y), fill=mix(top, bottom, y / (h - 1)))
    plate = smooth_mask(size, lambda d, s: d.rounded_rectangle(
        (s, s, (w - 1) * s, (h - 1) * s), radius=10 * s, fill=255))
    img.paste(grad, (0, 0), plate)
    edge = smooth_mask(size, lambda d, s: d.rounded_rectangle(
        (s, s, (w - 1) * s, (h - 1) * s), radius=10 * s, outline=255, width=s))
    paint(img, edge, SILVER if hover else mix(GOLD_DEEP, NIGHT, 0.3))
    mask, _ = text_mask(size, caption, h // 2, 0, 0)
    paint(img, mask, TEAL_DARK)
    return img


def icon_on_strip(size, top):
    img = strip_background(size[0], size[1], top).convert("RGBA")
    img.alpha_composite(emblem(size[0]))
    return img.convert("RGB")


def title_strip(width):
    return strip_background(width, 27, 0)


def side_border(size, vertical):
    """The popup's border: deep gold outside, gold, then night teal inside."""
    img = Image.new("RGB", size)
    d = ImageDraw.Draw(img)
    colours = [GOLD_DEEP, GOLD, TEAL_DARK, NIGHT]
    n = size[0] if vertical else size[1]
    for i in range(n):
        c = colours[i] if i < len(colours) else NIGHT
        if vertical:
            d.line((i, 0, i, size[1]), fill=c)
        else:
            d.line((0, n - 1 - i, size[0], n - 1 - i), fill=c)
    return img


def key_tile(size):
    """The colour key with a small gold diamond: drawn colour-keyed, only the diamond
    shows."""
    img = Image.new("RGB", size, KEY)
    d = ImageDraw.Draw(img)
    diamond(d, size[0] // 2, size[1] // 2, 8, GOLD)
    diamond(d, size[0] // 2, size[1] // 2, 4, TEAL_DARK)
    return img


# --- the shaped frame behind the login window ------------------------------------

PAGE = (292, 257, 945, 642)          # where the login window shows the page
PANEL = (270, 196, 1066, 668)        # the night panel around it
BAND = (272, 204, 1064, 253)         # the title band with the buttons and links


def back_frame():
    W, H = 1411, 900
    img = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    # Soft shadow under the panel.
    shadow = Image.new("L", (W, H), 0)
    ImageDraw.Draw(shadow).rounded_rectangle(
        (PANEL[0] + 4, PANEL[1] + 8, PANEL[2] + 4, PANEL[3] + 10), radius=26, fill=150)
    shadow = shadow.filter(ImageFilter.GaussianBlur(9))
    img.paste(Image.new("RGBA", (W, H), NIGHT + (255,)), (0, 0), shadow)
    # Ember glow behind the medallion.
    glow = Image.new("L", (W, H), 0)
    ImageDraw.Draw(glow).ellipse((170, 96, 330, 256), fill=170)
    glow = glow.filter(ImageFilter.GaussianBlur(22))
    img.alpha_composite(Image.merge("RGBA", (*Image.new("RGB", (W, H), GOLD).split(), glow)))
    # The panel: a night teal gradient, gold rim and a silver hairline inside it.
    panel = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    pd = ImageDraw.Draw(panel)
    for y in range(PANEL[1], PANEL[3]):
        t = (y - PANEL[1]) / (PANEL[3] - PANEL[1])
        pd.line((PANEL[0], y, PANEL[2], y), fill=mix(TEAL_DARK, NIGHT, t) + (255,))
    pmask = smooth_mask((W, H), lambda d, s: d.rounded_rectangle(
        tuple(v * s for v in PANEL), radius=22 * s, fill=255), scale=2)
    img.paste(panel, (0, 0), pmask)
    d = ImageDraw.Draw(img)
    # The title band is flat, so the buttons' own backgrounds match it exactly.
    d.rectangle(BAND, fill=HEADER + (255,))
    d.line((BAND[0], BAND[3], BAND[2], BAND[3]), fill=GOLD_DEEP + (255,))
    rim = smooth_mask((W, H), lambda dd, s: dd.rounded_rectangle(
        tuple(v * s for v in PANEL), radius=22 * s, outline=255, width=3 * s), scale=2)
    img.paste(Image.new("RGBA", (W, H), GOLD + (255,)), (0, 0), rim)
    # The page's frame: a dark inset with a silver hairline.
    d.rectangle((PAGE[0] - 4, PAGE[1] - 3, PAGE[2] + 3, PAGE[3] + 3), fill=NIGHT + (255,))
    d.rectangle((PAGE[0] - 2, PAGE[1] - 2, PAGE[2] + 1, PAGE[3] + 1),
                outline=mix(TEAL, SILVER, 0.45) + (255,))
    d.rectangle(PAGE, fill=TEAL_DARK + (255,))
    # Ornament in the middle of the band: a crescent between two gold rules.
    mid = (503 + 712) // 2
    d.line((mid - 80, 238, mid - 16, 238), fill=GOLD_DEEP + (255,))
    d.line((mid + 16, 238, mid + 80, 238), fill=GOLD_DEEP + (255,))
    moon = smooth_mask((W, H), lambda dd, s: (dd.ellipse(((mid - 9) * s, 229 * s, (mid + 9) * s, 247 * s), fill=255),
                                               dd.ellipse(((mid - 4) * s, 226 * s, (mid + 12) * s, 242 * s), fill=0)), scale=2)
    img.paste(Image.new("RGBA", (W, H), SILVER + (255,)), (0, 0), moon)
    diamond(d, mid - 84, 238, 3, GOLD + (255,))
    diamond(d, mid + 84, 238, 3, GOLD + (255,))
    # The side column: a constellation and the realm's name written downwards.
    col = (PAGE[2] + PANEL[2]) // 2 + 1
    stars = [(col - 26, 300), (col + 18, 330), (col - 8, 372), (col + 24, 410)]
    for a, b in zip(stars, stars[1:]):
        d.line((a, b), fill=mix(TEAL, SILVER, 0.3) + (255,))
    for (x, y) in stars:
        diamond(d, x, y, 4, GOLD + (255,))
    f = font(26)
    for i, ch in enumerate("星月之境"):
        box = d.textbbox((0, 0), ch, font=f)
        d.text((col - (box[2] - box[0]) // 2 - box[0], 446 + i * 40), ch, font=f,
               fill=SILVER + (255,))
    # The footer: the health notice every client shows.
    notice = "抵制不良游戏，拒绝盗版游戏。注意自我保护，谨防受骗上当。适度游戏益脑，沉迷游戏伤身。"
    f = font(12)
    box = d.textbbox((0, 0), notice, font=f)
    d.text(((PANEL[0] + PANEL[2]) // 2 - (box[2] - box[0]) // 2, 650), notice, font=f,
           fill=mix(TEAL, SILVER, 0.55) + (255,))
    # The wordmark above the panel: gold letters with a night outline.
    f = font(54)
    word = "Morvessa"
    d.text((352, 126), word, font=f, fill=GOLD + (255,), stroke_width=3,
           stroke_fill=NIGHT + (255,))
    f = font(18)
    d.text((620, 160), "星 月 之 境", font=f, fill=SILVER + (255,), stroke_width=2,
           stroke_fill=NIGHT + (255,))
    # The medallion over the panel's corner.
    img.alpha_composite(emblem(124), (190, 114))
    return img


def as_palette(img):
    """RGB or RGBA to an 8-bit palette image (RGBA keeps its alpha in a tRNS chunk)."""
    if img.mode == "RGBA":
        return img.quantize(256, method=Image.Quantize.LIBIMAGEQUANT, dither=Image.Dither.NONE)
    return img.convert("P", palette=Image.Palette.ADAPTIVE, colors=256)


# id, name of the constant, file, colour type (2 RGB, 3 palette), maker
def table():
    close_login = glyph_close((24, 23), 7)
    minimize_login = glyph_minimize((21, 14), 6, 5)
    win27, win28 = (27, 27), (28, 27)
    rows = [
        (170, "IDB_BACK_FRAME", "back_frame", 3, back_frame),
        (183, "IDB_LOGIN_BACK", "login_back", 2, lambda: Image.new("RGB", (29, 30), KEY)),
        (184, "IDB_GAME_TRAY", "game_tray", 2, lambda: window_button(win27, 1, glyph_tray(win27), False)),
        (185, "IDB_GAME_TRAY_HOVER", "game_tray_hover", 2, lambda: window_button(win27, 1, glyph_tray(win27), True)),
        (186, "IDB_GAME_CLOSE", "game_close", 2, lambda: window_button(win28, 1, glyph_close(win28, 8), False, True)),
        (187, "IDB_GAME_CLOSE_HOVER", "game_close_hover", 2, lambda: window_button(win28, 1, glyph_close(win28, 8), True, True)),
        (188, "IDB_LOGIN_CLOSE", "login_close", 3, lambda: header_button((24, 23), close_login, False, True)),
        (189, "IDB_LOGIN_CLOSE_HOVER", "login_close_hover", 3, lambda: header_button((24, 23), close_login, True, True)),
        (190, "IDB_LOGIN_FORUM", "login_forum", 3, lambda: header_link((76, 16), "游戏论坛", False)),
        (191, "IDB_LOGIN_FORUM_HOVER", "login_forum_hover", 3, lambda: header_link((76, 16), "游戏论坛", True)),
        (192, "IDB_LOGIN_MINIMIZE", "login_minimize", 3, lambda: header_button((21, 14), minimize_login, False)),
        (193, "IDB_LOGIN_MINIMIZE_HOVER", "login_minimize_hover", 3, lambda: header_button((21, 14), minimize_login, True)),
        (194, "IDB_LOGIN_HOME", "login_home", 3, lambda: header_link((78, 17), "官方网站", False)),
        (195, "IDB_LOGIN_HOME_HOVER", "login_home_hover", 3, lambda: header_link((78, 17), "官方网站", True)),
        (196, "IDB_ENTER_GAME", "enter_game", 2, lambda: big_button((127, 43), "进入游戏", False)),
        (197, "IDB_ENTER_GAME_HOVER", "enter_game_hover", 2, lambda: big_button((127, 43), "进入游戏", True)),
        (198, "IDB_LOGIN_PAY", "login_pay", 3, lambda: header_link((76, 16), "账号充值", False)),
        (199, "IDB_LOGIN_PAY_HOVER", "login_pay_hover", 3, lambda: header_link((76, 16), "账号充值", True)),
        (200, "IDB_LOGIN_SERVICE", "login_service", 3, lambda: header_link((75, 17), "在线客服", False)),
        (201, "IDB_LOGIN_SERVICE_HOVER", "login_service_hover", 3, lambda: header_link((75, 17), "在线客服", True)),
        (202, "IDB_GAME_HOME", "game_home", 2, lambda: link_button((38, 18), 5, "官网", False)),
        (203, "IDB_GAME_HOME_HOVER", "game_home_hover", 2, lambda: link_button((38, 18), 5, "官网", True)),
        (204, "IDB_GAME_ICON", "game_icon", 2, lambda: icon_on_strip((25, 25), 2)),
        (205, "IDB_GAME_FULLSCREEN", "game_fullscreen", 2, lambda: window_button(win27, 1, glyph_corners(win27, False), False)),
        (206, "IDB_GAME_FULLSCREEN_HOVER", "game_fullscreen_hover", 2, lambda: window_button(win27, 1, glyph_corners(win27, False), True)),
        (207, "IDB_GAME_MINIMIZE", "game_minimize", 2, lambda: window_button(win28, 1, glyph_minimize(win28, 16, 6), False)),
        (208, "IDB_GAME_MINIMIZE_HOVER", "game_minimize_hover", 2, lambda: window_button(win28, 1, glyph_minimize(win28, 16, 6), True)),
        (209, "IDB_GAME_WINDOWED", "game_windowed", 2, lambda: window_button(win27, 1, glyph_corners(win27, True), False)),
        (210, "IDB_GAME_WINDOWED_HOVER", "game_windowed_hover", 2, lambda: window_button(win27, 1, glyph_corners(win27, True), True)),
        (211, "IDB_GAME_FORUM", "game_forum", 2, lambda: link_button((38, 18), 5, "论坛", False)),
        (212, "IDB_GAME_FORUM_HOVER", "game_forum_hover", 2, lambda: link_button((38, 18), 5, "论坛", True)),
        (213, "IDB_GAME_PAY", "game_pay", 2, lambda: link_button((38, 18), 5, "充值", False)),
        (214, "IDB_GAME_PAY_HOVER", "game_pay_hover", 2, lambda: link_button((38, 18), 5, "充值", True)),
        (215, "IDB_GAME_SERVICE", "game_service", 2, lambda: link_button((38, 18), 5, "客服", False)),
        (216, "IDB_GAME_SERVICE_HOVER", "game_service_hover", 2, lambda: link_button((38, 18), 5, "客服", True)),
        (217, "IDB_GAME_MENU", "game_menu", 2, lambda: link_button((38, 18), 5, "菜单", False)),
        (218, "IDB_GAME_MENU_HOVER", "game_menu_hover", 2, lambda: link_button((38, 18), 5, "菜单", True)),
        (219, "IDB_GAME_TITLE", "game_title", 2, lambda: title_strip(1500)),
        (221, "IDB_OAUTH_TITLE", "oauth_title", 2, lambda: title_strip(1500)),
        (222, "IDB_OAUTH_SIDE", "oauth_side", 2, lambda: side_border((3, 359), True)),
        (223, "IDB_OAUTH_BOTTOM", "oauth_bottom", 2, lambda: side_border((469, 4), False)),
        (224, "IDB_OAUTH_CLOSE", "oauth_close", 2, lambda: window_button(win27, 1, glyph_close(win27, 8), False, True)),
        (225, "IDB_OAUTH_CLOSE_HOVER", "oauth_close_hover", 2, lambda: window_button(win27, 1, glyph_close(win27, 8), True, True)),
        (226, "IDB_START_GAME", "start_game", 2, lambda: big_button((134, 48), "开始游戏", False)),
        (227, "IDB_START_GAME_HOVER", "start_game_hover", 2, lambda: big_button((134, 48), "开始游戏", True)),
    ]
    return rows


BITMAP_ID, BITMAP_NAME, BITMAP_FILE = 220, "IDB_KEY_TILE", "key_tile"


def write_images():
    images = os.path.join(RES, "images")
    os.makedirs(images, exist_ok=True)
    rows = table()
    for ident, name, file, colour_type, make in rows:
        img = make()
        path = os.path.join(images, file + ".png")
        if colour_type == 3:
            as_palette(img).save(path, "PNG", bits=8, optimize=False)
        else:
            img.convert("RGB").save(path, "PNG", optimize=False)
    key_tile((29, 30)).save(os.path.join(images, BITMAP_FILE + ".bmp"), "BMP")

    # The id header, shared by the resource script and the code.
    with open(os.path.join(ROOT, "src", "ui", "image_ids.h"), "w", encoding="utf-8") as f:
        f.write("// Ids of the pictures in the program's resources: \"PNG\" resources, and one\n"
                "// bitmap. Written by tools/make_art.py with the pictures; do not edit.\n"
                "#pragma once\n\n")
        for ident, name, file, colour_type, make in sorted(rows + [(BITMAP_ID, BITMAP_NAME, BITMAP_FILE, 0, None)]):
            f.write("#define %-26s %d\n" % (name, ident))
    with open(os.path.join(RES, "images.rc"), "w", encoding="utf-8") as f:
        f.write("// The pictures. Written by tools/make_art.py with them; do not edit.\n\n")
        for ident, name, file, colour_type, make in rows:
            f.write("%-26s PNG \"images/%s.png\"\n" % (name, file))
        f.write("%-26s BITMAP \"images/%s.bmp\"\n" % (BITMAP_NAME, BITMAP_FILE))


def main():
    os.makedirs(os.path.join(RES, "images"), exist_ok=True)
    write_ico(os.path.join(RES, "emblem.ico"), [128, 48, 32, 24, 16])
    write_images()


if __name__ == "__main__":
    main()
