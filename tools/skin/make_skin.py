#!/usr/bin/env python3
"""Draws the default skin (package/Skin/Default) and the language flags
(package/Language) from the palette and size table below.

  make_skin.py [PACKAGE_DIR]      (default: the checkout's package/)

Output is byte-for-byte repeatable: no clocks, no randomness, no text chunks.
Shapes are anti-aliased by sampling each pixel SS x SS times.
"""
import os
import struct
import sys
import zlib

# ---- palette (R, G, B) -------------------------------------------------------
HEADER = (0x2a, 0x3b, 0x58)      # header band, dialog title bar
PAGE = (0xf4, 0xf6, 0xf9)        # page area, selected tab, dialog body
ACCENT = (0x14, 0xa0, 0x86)      # home panel buttons, header separator
SLATE = (0x3b, 0x55, 0x7c)       # push buttons, back button
DISABLED = (0xb3, 0xba, 0xc3)    # disabled push button
FRAME_EDGE = (0x1a, 0x26, 0x3a)  # 1 px outline of dialogs
WHITE, BLACK = (0xff, 0xff, 0xff), (0x00, 0x00, 0x00)
UK_BLUE, UK_RED = (0x01, 0x21, 0x69), (0xc8, 0x10, 0x2e)
DE_BLACK, DE_RED, DE_GOLD = (0x00, 0x00, 0x00), (0xdd, 0x00, 0x00), (0xff, 0xce, 0x00)
GLOBE_FIELD, GLOBE_LINE = (0x8e, 0x98, 0xa5), (0xec, 0xef, 0xf3)

# ---- sizes (pixels) ----------------------------------------------------------
MAIN_W, MAIN_H, HEADER_H = 760, 520, 72  # header rows 0..71, separator row 72
NAV_W, NAV_H, NAV_R, NAV_GAP = 110, 40, 6, 3  # unselected buttons end NAV_GAP above the tab's bottom
PANEL_W, PANEL_H, PANEL_R = 140, 34, 6
PUSH_W, PUSH_H, PUSH_R = 100, 28, 5
CORNER_W, MID_W, TITLE_H, BOTTOM_H, FRAME_R = 12, 4, 32, 12, 8
BACK_D = 32
FLAG_W, FLAG_H = 32, 20
SS = 4


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(len(a)))


def lighten(c, t):
    return mix(c, WHITE, t)


def darken(c, t):
    return mix(c, BLACK, t)


def q(v):
    return max(0, min(255, int(v + 0.5)))


def vgrad(top, bottom, h, alpha=(1.0, 1.0), shine=None):
    """Colour of row y, top to bottom; `shine` tints the first inner row."""
    def colour(x, y):
        t = min(max((y - 0.5) / max(h - 1, 1), 0.0), 1.0)
        c = mix(top, bottom, t)
        if shine is not None and 1 <= y < 2:
            c = mix(c, WHITE, shine)
        return c + (alpha[0] + (alpha[1] - alpha[0]) * t,)
    return colour


def solid(c, a=1.0):
    return lambda x, y: c + (a,)


# ---- shapes: inside(x, y) on continuous coordinates -------------------------
def rrect(x0, y0, x1, y1, r, top=True, bottom=True):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        if (y < y0 + r and not top) or (y > y1 - r and not bottom):
            return True
        dx = x - min(max(x, x0 + r), x1 - r)
        dy = y - min(max(y, y0 + r), y1 - r)
        return dx * dx + dy * dy <= r * r
    return inside


def ring(outer, inner):
    return lambda x, y: outer(x, y) and not inner(x, y)


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def stroke(points, width):
    """A polyline with round ends and joins."""
    segs, h2 = list(zip(points, points[1:])), (width / 2.0) ** 2

    def near(x, y, a, b):
        vx, vy = b[0] - a[0], b[1] - a[1]
        t = min(max(((x - a[0]) * vx + (y - a[1]) * vy) / (vx * vx + vy * vy), 0.0), 1.0)
        return (x - a[0] - t * vx) ** 2 + (y - a[1] - t * vy) ** 2 <= h2
    return lambda x, y: any(near(x, y, a, b) for a, b in segs)


def band(a, b, c, width):
    """Points within width/2 of the line a*x + b*y = c."""
    limit = (width / 2.0) ** 2 * (a * a + b * b)
    return lambda x, y: (a * x + b * y - c) ** 2 <= limit


def paint(w, h, layers, background=(0, 0, 0, 0.0)):
    """Composites (shape, colour) layers, bottom first; returns RGBA rows, alpha 0..1."""
    offs = [(i + 0.5) / SS for i in range(SS)]
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            r, g, b, a = background
            pr, pg, pb = r * a, g * a, b * a
            for shape, colour in layers:
                cover = sum(shape(x + ox, y + oy) for oy in offs for ox in offs) / (SS * SS)
                if cover == 0:
                    continue
                cr, cg, cb, ca = colour(x, y)
                k = cover * ca
                pr, pg, pb, a = pr * (1 - k) + cr * k, pg * (1 - k) + cg * k, pb * (1 - k) + cb * k, a * (1 - k) + k
            # Fully clear pixels keep the top colour so stretching never pulls in black.
            cr, cg, cb, _ = layers[-1][1](x, y)
            row.append((pr / a, pg / a, pb / a, a) if a > 0 else (cr, cg, cb, 0.0))
        rows.append(row)
    return rows


# ---- file writers ------------------------------------------------------------
def write_png(path, rows):
    w, h = len(rows[0]), len(rows)
    raw = b"".join(b"\0" + bytes(q(v) for p in row for v in (p[0], p[1], p[2], p[3] * 255)) for row in rows)

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_bmp(path, rows):
    """24-bit bottom-up BITMAPINFOHEADER bitmap."""
    w, h = len(rows[0]), len(rows)
    pad = b"\0" * ((4 - w * 3 % 4) % 4)
    body = b"".join(bytes(q(v) for p in row for v in (p[2], p[1], p[0])) + pad for row in reversed(rows))
    with open(path, "wb") as f:
        f.write(struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54))
        f.write(struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(body), 2835, 2835, 0, 0))
        f.write(body)


def crop(rows, x0, x1):
    return [row[x0:x1] for row in rows]


# ---- pictures ----------------------------------------------------------------
HEADER_TOP, HEADER_BOTTOM = lighten(HEADER, 0.10), darken(HEADER, 0.18)
PAGE_TOP, PAGE_BOTTOM = lighten(PAGE, 0.5), darken(PAGE, 0.035)


def main_background():
    rows = []
    for y in range(MAIN_H):
        if y < HEADER_H:
            base = mix(HEADER_TOP, HEADER_BOTTOM, y / (HEADER_H - 1))
            # A faint glow behind the product name at the left.
            rows.append([lighten(base, 0.07 * (1 - x / (MAIN_W - 1)) ** 2) for x in range(MAIN_W)])
        elif y == HEADER_H:
            rows.append([ACCENT] * MAIN_W)
        else:
            rows.append([mix(PAGE_TOP, PAGE_BOTTOM, (y - HEADER_H - 1) / (MAIN_H - HEADER_H - 2))] * MAIN_W)
    return rows


def framed(w, h, r, fill, edge, top=True, bottom=True, shape_h=None):
    """A rounded shape of height shape_h with a 1 px edge; open sides get no edge."""
    sh = shape_h or h
    outer = rrect(0, 0, w, sh, r, top, bottom)
    inner = rrect(1, 1 if top else 0, w - 1, sh - 1 if bottom else sh, r - 1, top, bottom)
    return paint(w, h, [(ring(outer, inner), edge), (inner, fill)])


def nav_button(kind):
    if kind == "disable":  # the selected page: a tab in page colour that runs into the page
        return framed(NAV_W, NAV_H, NAV_R, solid(PAGE_TOP), solid(PAGE_TOP), bottom=False)
    fill_a, edge_a = {"normal": ((0.10, 0.04), 0.16), "hover": ((0.24, 0.14), 0.38)}[kind]
    return framed(NAV_W, NAV_H, NAV_R, vgrad(WHITE, WHITE, NAV_H - NAV_GAP, fill_a),
                  solid(WHITE, edge_a), shape_h=NAV_H - NAV_GAP)


def raised(w, h, r, base, pressed=False):
    top, bottom = lighten(base, 0.14), darken(base, 0.08)
    if pressed:
        top, bottom = bottom, top
    return framed(w, h, r, vgrad(top, bottom, h, shine=None if pressed else 0.18), solid(darken(base, 0.22)))


def frame_pieces():
    w = 2 * CORNER_W + MID_W
    title = framed(w, TITLE_H, FRAME_R, vgrad(HEADER_TOP, HEADER_BOTTOM, TITLE_H, shine=0.08),
                   solid(FRAME_EDGE), bottom=False)
    foot = framed(w, BOTTOM_H, FRAME_R, solid(PAGE), solid(FRAME_EDGE), top=False)
    cuts = [(0, CORNER_W), (CORNER_W, CORNER_W + MID_W), (CORNER_W + MID_W, w)]
    out = {}
    for row, rows in (("1", title), ("2", foot)):
        for i, (x0, x1) in enumerate(cuts):
            out["b%s%d.png" % (row, i + 1)] = crop(rows, x0, x1)
    return out


def back_button(pressed):
    c, r = BACK_D / 2.0, BACK_D / 2.0 - 1
    disc, edge = circle(c, c, r), ring(circle(c, c, r), circle(c, c, r - 2))
    fill, line, arrow = (darken(SLATE, 0.15), darken(SLATE, 0.35), WHITE) if pressed else (WHITE, SLATE, SLATE)
    s = BACK_D / 32.0
    shaft = stroke([(10 * s, c), (22 * s, c)], 2.6 * s)
    head = stroke([(15.5 * s, c - 6 * s), (10 * s, c), (15.5 * s, c + 6 * s)], 2.6 * s)
    return paint(BACK_D, BACK_D, [(disc, solid(fill)), (edge, solid(line)),
                                  (lambda x, y: shaft(x, y) or head(x, y), solid(arrow))])


def flag_english():
    w, h = FLAG_W, FLAG_H
    everywhere = lambda x, y: True
    diag1, diag2 = band(h, -w, 0, w / 5.0 * 0.85), band(h, w, w * h, w / 5.0 * 0.85)
    red1, red2 = band(h, -w, 0, w / 15.0), band(h, w, w * h, w / 15.0)
    cross = lambda x, y: abs(x - w / 2.0) <= h / 6.0 or abs(y - h / 2.0) <= h / 6.0
    red_cross = lambda x, y: abs(x - w / 2.0) <= h / 10.0 or abs(y - h / 2.0) <= h / 10.0
    return paint(w, h, [(everywhere, solid(UK_BLUE)), (lambda x, y: diag1(x, y) or diag2(x, y), solid(WHITE)),
                        (lambda x, y: red1(x, y) or red2(x, y), solid(UK_RED)),
                        (cross, solid(WHITE)), (red_cross, solid(UK_RED))])


def flag_german():
    edges = (7, 13)  # whole rows, so the bands stay crisp
    colour = lambda y: DE_BLACK if y < edges[0] else DE_RED if y < edges[1] else DE_GOLD
    return [[colour(y) + (1.0,)] * FLAG_W for y in range(FLAG_H)]


def flag_default():
    cx, cy, r = FLAG_W / 2.0, FLAG_H / 2.0, FLAG_H / 2.0 - 2
    lw = 1.3
    outline = ring(circle(cx, cy, r), circle(cx, cy, r - lw))
    meridian = lambda x, y: abs(((x - cx) / (r * 0.45)) ** 2 + ((y - cy) / r) ** 2 - 1) <= lw / (r * 0.45) * 0.9
    equator = lambda x, y: abs(y - cy) <= lw / 2 and abs(x - cx) <= r
    axis = lambda x, y: abs(x - cx) <= lw / 2 and abs(y - cy) <= r
    lines = lambda x, y: outline(x, y) or meridian(x, y) or equator(x, y) or axis(x, y)
    return paint(FLAG_W, FLAG_H, [(lambda x, y: True, solid(GLOBE_FIELD)), (lines, solid(GLOBE_LINE))])


def pictures():
    skin = {"main.bmp": main_background()}
    for kind in ("normal", "hover", "disable"):
        skin["btn_%s.png" % kind] = nav_button(kind)
    skin["spbtn_normal.png"] = raised(PANEL_W, PANEL_H, PANEL_R, ACCENT)
    skin["spbtn_horver.png"] = raised(PANEL_W, PANEL_H, PANEL_R, lighten(ACCENT, 0.16))  # sic: the name the program loads
    skin["spbtn_pressed.png"] = raised(PANEL_W, PANEL_H, PANEL_R, darken(ACCENT, 0.16), pressed=True)
    skin["normal99.png"] = raised(PUSH_W, PUSH_H, PUSH_R, SLATE)
    skin["hover99.png"] = raised(PUSH_W, PUSH_H, PUSH_R, lighten(SLATE, 0.14))
    skin["pressed99.png"] = raised(PUSH_W, PUSH_H, PUSH_R, darken(SLATE, 0.18), pressed=True)
    skin["disable99.png"] = raised(PUSH_W, PUSH_H, PUSH_R, DISABLED)
    skin.update(frame_pieces())
    skin["backbtn.png"] = back_button(False)
    skin["backbtn_pressed.png"] = back_button(True)
    flags = {"English.bmp": flag_english(), "German.bmp": flag_german(), "Default.bmp": flag_default()}
    return {os.path.join("Skin", "Default"): skin, "Language": flags}


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    package = argv[1] if len(argv) > 1 else os.path.join(here, "..", "..", "package")
    for folder, files in pictures().items():
        os.makedirs(os.path.join(package, folder), exist_ok=True)
        for name, rows in sorted(files.items()):
            path = os.path.join(package, folder, name)
            (write_bmp if name.endswith(".bmp") else write_png)(path, rows)
            print(os.path.normpath(path))


if __name__ == "__main__":
    main(sys.argv)
