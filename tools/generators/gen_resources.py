#!/usr/bin/env python3
"""Draws Tellu's pictures: the startup picture, the log window tile, the
status pictures, the two window icons and the two hand cursors.

Everything is drawn here from shapes and small pixel grids, with no image
library, so the output is the same on any machine.  The files are committed;
the build uses them as they are.  Run it again after changing a picture:

    tools/generators/gen_resources.py [output folder, default res/]
"""
import math
import os
import random
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# The status pictures' see-through colour.  Pure white and this grey are
# recoloured by the bitmap menu, so light details use off-white instead.
CLEAR = (192, 192, 192)


# ---------------------------------------------------------------- file output

def bmp_bytes(w, h, px):
    """24-bit bottom-up BMP of rows px[y][x] = (r, g, b)."""
    stride = (w * 3 + 3) & ~3
    body = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for r, g, b in px[y]:
            row += bytes((b, g, r))
        row += b"\0" * (stride - w * 3)
        body += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    return header + info + bytes(body)


def dib32(w, h, px):
    """Icon/cursor image: 32-bit BGRA rows plus the 1-bit AND mask."""
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for y in range(h - 1, -1, -1):
        for r, g, b, a in px[y]:
            colour += bytes((b, g, r, a))
    mask = bytearray()
    stride = ((w + 31) // 32) * 4
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if px[y][x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return info + bytes(colour) + bytes(mask)


def icon_file(images, cursor_hotspot=None):
    """ICO (or CUR with a hotspot) holding the given (size, rows) images."""
    kind = 2 if cursor_hotspot else 1
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for size, px in images:
        blob = dib32(size, size, px)
        if cursor_hotspot:
            a, b = cursor_hotspot
        else:
            a, b = 1, 32
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, a, b, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    return out + b"".join(blobs)


# ---------------------------------------------------------------- drawing

def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(c1, c2, t):
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


def smooth(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3 - 2 * t)


class Canvas:
    """Float RGBA canvas; shapes are signed distance functions (negative inside)."""

    def __init__(self, w, h, colour=(0, 0, 0), alpha=0.0):
        self.w, self.h = w, h
        self.px = [[list(colour) + [alpha] for _ in range(w)] for _ in range(h)]

    def blend(self, x, y, colour, a):
        if a <= 0:
            return
        p = self.px[y][x]
        a = min(a, 1.0)
        out_a = a + p[3] * (1 - a)
        for i in range(3):
            if out_a > 0:
                p[i] = (colour[i] * a + p[i] * p[3] * (1 - a)) / out_a
        p[3] = out_a

    def fill(self, sdf, colour, box=None, soft=0.5):
        """Fills a shape, anti-aliased over about one pixel; colour may be a
        function of (x, y, distance)."""
        x0, y0, x1, y1 = box if box else (0, 0, self.w, self.h)
        for y in range(max(0, int(y0)), min(self.h, int(y1) + 1)):
            for x in range(max(0, int(x0)), min(self.w, int(x1) + 1)):
                d = sdf(x + 0.5, y + 0.5)
                a = clamp(0.5 - d / (2 * soft))
                if a > 0:
                    c = colour(x + 0.5, y + 0.5, d) if callable(colour) else colour
                    self.blend(x, y, c[:3], a * (c[3] if len(c) > 3 else 1.0))

    def rgb(self, background):
        return [[tuple(int(round(clamp(mix(background, p[:3], p[3])[i], 0, 255))) for i in range(3))
                 for p in row] for row in self.px]

    def rgba(self):
        return [[tuple(int(round(clamp(v, 0, 255))) for v in p[:3]) + (int(round(clamp(p[3]) * 255)),)
                 for p in row] for row in self.px]


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def capsule(ax, ay, bx, by, r):
    def d(x, y):
        px, py, vx, vy = x - ax, y - ay, bx - ax, by - ay
        t = clamp((px * vx + py * vy) / (vx * vx + vy * vy)) if vx or vy else 0
        return math.hypot(px - vx * t, py - vy * t) - r
    return d


def rbox(x0, y0, x1, y1, r):
    cx, cy, hx, hy = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    def d(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r
    return d


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def minus(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def outline(shape, width):
    return lambda x, y: abs(shape(x, y)) - width / 2


def sphere_colour(cx, cy, r, base, light=(-0.45, -0.6, 0.66)):
    """Shaded ball: diffuse, ambient, a white highlight and a darker rim."""
    def c(x, y, d):
        nx, ny = (x - cx) / r, (y - cy) / r
        nz = math.sqrt(max(0.0, 1 - nx * nx - ny * ny))
        diff = max(0.0, nx * light[0] + ny * light[1] + nz * light[2])
        hx, hy, hz = light[0], light[1], light[2] + 1
        hl = math.sqrt(hx * hx + hy * hy + hz * hz)
        spec = max(0.0, (nx * hx + ny * hy + nz * hz) / hl) ** 40
        col = [v * (0.35 + 0.75 * diff) for v in base]
        col = [v + (255 - v) * spec * 0.9 for v in col]
        return tuple(clamp(v, 0, 255) for v in col)
    return c


# ---------------------------------------------------------------- pixel grids

def grid(rows, palette, background=CLEAR):
    out = []
    for row in rows:
        out.append([palette.get(ch, background) if ch != "." else background for ch in row])
    return out


PALETTE = {
    "K": (0, 0, 0), "D": (64, 64, 64), "G": (128, 128, 128), "L": (160, 160, 160),
    "W": (250, 250, 250), "R": (224, 0, 0), "r": (140, 0, 0), "P": (255, 120, 150),
    "Y": (255, 224, 0), "y": (196, 150, 0), "B": (0, 64, 224), "b": (0, 0, 128),
    "C": (0, 200, 224), "N": (0, 176, 64), "S": (248, 196, 150), "s": (200, 128, 88),
    "O": (255, 144, 0), "M": (200, 0, 200), "g": (0, 96, 32),
}

STATUS = {
    # 151: a small many-coloured figure
    151: [
        "......KK......",
        ".....KSSK.....",
        ".....KSSK.....",
        "......KK......",
        "..KK.KRRK.KK..",
        "..KYKRRRRKNK..",
        "...KYKRRKNK...",
        "....KRRRRK....",
        ".....KBBK.....",
        "....KBBBBK....",
        "....KBKKBK....",
        "...KMK..KOK...",
        "...KMK..KOK...",
        "..KKK....KKK..",
        "..............",
    ],
    # 152: a red cross
    152: [
        "..............",
        ".rr........rr.",
        ".rRr......rRr.",
        "..rRr....rRr..",
        "...rRr..rRr...",
        "....rRrrRr....",
        ".....rRRr.....",
        ".....rRRr.....",
        "....rRrrRr....",
        "...rRr..rRr...",
        "..rRr....rRr..",
        ".rRr......rRr.",
        ".rr........rr.",
        "..............",
        "..............",
    ],
    # 156: an ear
    156: [
        "..............",
        ".....KKKK.....",
        "....KSSSSK....",
        "...KSSssSSK...",
        "...KSsSSsSK...",
        "...KSsSSsSK...",
        "...KSSsSsSK...",
        "....KSSssSK...",
        "....KKSSsSK...",
        ".....KSsSK....",
        ".....KSsSK....",
        "....KSssSK....",
        "....KSSSK.....",
        ".....KKK......",
        "..............",
    ],
    # 157: red lips with a raised finger
    157: [
        "......KK......",
        ".....KSSK.....",
        ".....KSSK.....",
        ".....KSSK.....",
        ".....KSSK.....",
        "..KKKKSSKKKK..",
        ".KRRRKSSKRRRK.",
        "KRRRRKSSKRRRRK",
        "KrrrrKSSKrrrrK",
        ".KRRRKSSKRRRK.",
        "..KKKKSSKKKK..",
        "....KSSSSSK...",
        "....KSSSSSK...",
        ".....KKKKK....",
        "..............",
    ],
    # 158: a yellow telephone
    158: [
        "..............",
        "..KKKKKKKKKK..",
        ".KYYYYYYYYYYK.",
        "KYYKKKKKKKKYYK",
        "KYK.......KKYK",
        ".K..KKKKKK..K.",
        "...KYYYYYYK...",
        "..KYYKYYKYYK..",
        "..KYYYYYYYYK..",
        ".KYYKYYKYYYYK.",
        ".KYYYYYYYYYYK.",
        ".KYYKYYKYYyYK.",
        ".KyyyyyyyyyyK.",
        "..KKKKKKKKKK..",
        "..............",
    ],
    # 160: a red heart
    160: [
        "..............",
        "..............",
        "..rrr....rrr..",
        ".rRRRr..rRRRr.",
        "rRPPRRrrRRRRRr",
        "rRPRRRRRRRRRRr",
        "rRRRRRRRRRRRRr",
        "rRRRRRRRRRRRRr",
        ".rRRRRRRRRRRr.",
        "..rRRRRRRRRr..",
        "...rRRRRRRr...",
        "....rRRRRr....",
        ".....rRRr.....",
        "......rr......",
        "..............",
    ],
    # 171: a closed eye
    171: [
        "..............",
        "..............",
        "..............",
        "..............",
        "..............",
        ".K..........K.",
        "..KK......KK..",
        "...KKKKKKKK...",
        "...K.K..K.K...",
        "..K..K..K..K..",
        ".....K..K.....",
        "..............",
        "..............",
        "..............",
        "..............",
    ],
    # 150 and 163: plain grey squares
    150: [".............."] + ["..GGGGGGGGGG.."] + ["..GLLLLLLLLG.."] * 9 + ["..GGGGGGGGGG.."] + [".............."] * 3,
}
STATUS[163] = STATUS[150]

GRID_MARK = [".b.b.", "bbbbb", ".b.b.", "bbbbb", ".b.b."]


def status_pictures():
    for n, rows in STATUS.items():
        assert len(rows) == 15 and all(len(r) == 14 for r in rows), n
    pics = {n: grid(rows, PALETTE) for n, rows in STATUS.items()}
    # 164: a dark speckled square
    rnd = random.Random(164)
    sq = [[CLEAR] * 14 for _ in range(15)]
    for y in range(1, 13):
        for x in range(1, 13):
            edge = x in (1, 12) or y in (1, 12)
            v = rnd.random()
            sq[y][x] = (24, 24, 32) if edge else (200, 200, 176) if v < 0.16 else \
                (110, 110, 120) if v < 0.36 else (48, 48, 60)
    pics[164] = sq
    # 165 to 169: the Tellu pictures with the companion's grid mark
    for mark, base in zip(range(165, 170), (152, 156, 157, 158, 160)):
        pic = [list(row) for row in pics[base]]
        for dy, row in enumerate(GRID_MARK):
            for dx, ch in enumerate(row):
                x, y = 9 + dx, 10 + dy
                pic[y][x] = PALETTE["b"] if ch == "b" else (236, 236, 255)
        pics[mark] = pic
    return pics


# ---------------------------------------------------------------- letters

def letters_tellu(scale=1.0, ox=0.0, oy=0.0):
    """The word "Tellu" as one shape: rounded strokes, about 290 x 120 units."""
    def s(v):
        return v * scale
    def at(x, y):
        return ox + s(x), oy + s(y)
    T = union(rbox(*at(0, 0), *at(72, 22), s(6)), rbox(*at(25, 0), *at(47, 120), s(6)))
    ex, ey = at(111, 84)
    ring = lambda x, y: abs(math.hypot(x - ex, y - ey) - s(27)) - s(10)
    # the opening of the "e": a wedge below its bar, on the right
    a0, a1 = 0.3, 0.95
    d0, d1 = (math.cos(a0), math.sin(a0)), (math.cos(a1), math.sin(a1))
    def wedge(x, y):
        px, py = x - ex, y - ey
        return max(-(d0[0] * py - d0[1] * px), -(px * d1[1] - py * d1[0]))
    bar = rbox(*at(80, 77), *at(146, 92), s(3))
    e = union(minus(ring, wedge), bar)
    l1 = rbox(*at(158, 0), *at(180, 120), s(8))
    l2 = rbox(*at(192, 0), *at(214, 120), s(8))
    ux, uy = at(254, 88)
    left = rbox(*at(224, 46), *at(246, 96), s(8))
    right = rbox(*at(262, 46), *at(284, 120), s(8))
    bowl = lambda x, y: max(abs(math.hypot(x - ux, y - uy) - s(19)) - s(11), uy - y)
    u = union(left, right, bowl)
    return union(T, e, l1, l2, u)


def wood(x, y, d):
    g = y * 0.55 + 7 * math.sin(x * 0.041 + y * 0.012) + 2.5 * math.sin(x * 0.17 + 1.3)
    band = 0.5 + 0.5 * math.sin(g * 0.9)
    band = band ** 3
    fine = 0.5 + 0.5 * math.sin(x * 1.7 + y * 0.3 + 3 * math.sin(y * 0.21))
    light, dark = (232, 184, 120), (168, 104, 52)
    c = mix(light, dark, 0.65 * band + 0.12 * fine)
    # bevel: lit from the upper left near the edge
    return c


def startup_picture():
    W, H = 318, 210
    sky = Canvas(W, H, (0, 0, 0), 1.0)
    for y in range(H):
        t = y / (H - 1)
        c = mix((44, 104, 204), (176, 220, 252), t ** 0.9)
        for x in range(W):
            sky.px[y][x][:3] = list(c)
    rnd = random.Random(144)
    clouds = [(rnd.uniform(0, W), rnd.uniform(10, 120), rnd.uniform(14, 30)) for _ in range(14)]
    for y in range(H):
        for x in range(W):
            a = 0.0
            for cx, cy, r in clouds:
                dx, dy = (x - cx) / (r * 1.9), (y - cy) / r
                a += math.exp(-(dx * dx + dy * dy) * 2.2)
            sky.blend(x, y, (250, 252, 255), clamp(a * 0.55) * 0.85)

    balls = [(34, 168, 30, (230, 40, 40)), (112, 44, 21, (40, 90, 235)), (150, 178, 25, (30, 180, 70)),
             (206, 48, 17, (250, 210, 20)), (270, 40, 27, (200, 40, 200)), (292, 176, 24, (255, 130, 20)),
             (84, 190, 15, (20, 200, 220)), (236, 194, 16, (130, 60, 220)), (18, 50, 15, (255, 110, 160)),
             (178, 120, 12, (120, 220, 60))]
    for cx, cy, r, col in balls:
        # soft shadow below and right, then the ball
        sky.fill(circle(cx + 4, cy + 5, r), (20, 40, 80, 0.25), (cx - r, cy - r, cx + r + 10, cy + r + 10), soft=3)
        sky.fill(circle(cx, cy, r), sphere_colour(cx, cy, r, col), (cx - r - 2, cy - r - 2, cx + r + 2, cy + r + 2))

    word = letters_tellu(scale=1.0, ox=16, oy=40)
    box = (8, 30, 312, 172)
    shadow = lambda x, y: word(x - 5, y - 6)
    sky.fill(shadow, (16, 24, 48, 0.45), (box[0], box[1], box[2] + 8, box[3] + 8), soft=2.5)
    sky.fill(word, (70, 36, 14), box, soft=0.6)  # the dark rim

    inner = lambda x, y: word(x, y) + 2.2
    def carved(x, y, d):
        c = wood(x, y, d)
        e = 0.9
        gx = word(x + e, y) - word(x - e, y)
        gy = word(x, y + e) - word(x, y - e)
        gl = math.hypot(gx, gy) or 1.0
        lit = -(gx * -0.7 + gy * -0.7) / gl  # edges facing the upper left are lit
        rim = smooth(-9, -2.2, word(x, y))
        k = 1 + lit * 0.35 * rim
        return tuple(clamp(v * k, 0, 255) for v in c)
    sky.fill(inner, carved, box, soft=0.6)
    return sky.rgb((0, 0, 0))


# ---------------------------------------------------------------- small font

FONT5 = {
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".####"],
    "l": [".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "u": [".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"],
}


def log_tile():
    """34 x 33 light grey tile with the name embossed diagonally; seamless."""
    W, H = 34, 33
    text = "Tellu"
    tw = len(text) * 6 - 1
    def font(iu, iv):
        if iv < 0 or iv >= 7 or iu < 0 or iu >= tw:
            return 0.0
        ch, col = divmod(iu, 6)
        return 1.0 if col < 5 and FONT5[text[ch]][iv][col] == "#" else 0.0
    def ink(u, v):
        # bilinear, so the turned letters keep their strokes
        u, v = u - 0.5, v - 0.5
        iu, iv = math.floor(u), math.floor(v)
        fu, fv = u - iu, v - iv
        return (font(iu, iv) * (1 - fu) * (1 - fv) + font(iu + 1, iv) * fu * (1 - fv) +
                font(iu, iv + 1) * (1 - fu) * fv + font(iu + 1, iv + 1) * fu * fv)
    c, s = math.cos(math.pi / 4), math.sin(math.pi / 4)
    def at(x, y):
        # the text runs up to the right through the tile's centre; the tile
        # repeats, so a stroke leaving one edge comes back at the other
        total = 0.0
        for ox in (-W, 0, W):
            for oy in (-H, 0, H):
                dx, dy = x + ox - W / 2, y + oy - H / 2
                u = (dx * c - dy * s) * 0.78 + tw / 2
                v = (dx * s + dy * c) * 0.78 + 3.5
                total += ink(u, v)
        return min(total, 1.0)
    base = 220
    px = []
    for y in range(H):
        row = []
        for x in range(W):
            cx, cy = x + 0.5, y + 0.5
            relief = at(cx + 0.3, cy + 1.0) - at(cx - 0.3, cy - 1.0)
            v = int(round(clamp(base + 30 * relief - 5 * at(cx, cy), 0, 255)))
            row.append((v, v, v))
        px.append(row)
    return px


# ---------------------------------------------------------------- icons

def tellu_icon(size, cross):
    k = size / 32.0
    cv = Canvas(size, size)
    cx = cy = size / 2
    colours = [(230, 40, 40), (255, 150, 20), (240, 210, 20), (40, 190, 70),
               (20, 190, 220), (40, 80, 230), (170, 50, 210)]
    ring_r, ball_r = 10.6 * k, 3.7 * k
    for i, _ in enumerate(colours):
        a = -math.pi / 2 + i * 2 * math.pi / len(colours)
        bx, by = cx + ring_r * math.cos(a), cy + ring_r * math.sin(a)
        cv.fill(capsule(cx, cy, bx, by, 1.5 * k), (40, 40, 48))
        cv.fill(capsule(cx, cy, bx, by, 0.8 * k), (150, 150, 165))
    cv.fill(circle(cx, cy, 4.9 * k), (40, 40, 48))
    cv.fill(circle(cx, cy, 4.2 * k), sphere_colour(cx, cy, 4.2 * k, (235, 235, 240)))
    for i, col in enumerate(colours):
        a = -math.pi / 2 + i * 2 * math.pi / len(colours)
        bx, by = cx + ring_r * math.cos(a), cy + ring_r * math.sin(a)
        cv.fill(circle(bx, by, ball_r + 0.7 * k), (30, 30, 36))
        cv.fill(circle(bx, by, ball_r), sphere_colour(bx, by, ball_r, col))
    if cross:
        m = 5.0 * k
        for a, b, c, d in ((m, m, size - m, size - m), (size - m, m, m, size - m)):
            cv.fill(capsule(a, b, c, d, 3.6 * k), (0, 70, 90))
        for a, b, c, d in ((m, m, size - m, size - m), (size - m, m, m, size - m)):
            cv.fill(capsule(a, b, c, d, 2.6 * k), (0, 230, 240))
    return cv.rgba()


def hand_cursor(pointing):
    """32 x 32 hand, white with a black outline; returns rows and hotspot."""
    cv = Canvas(32, 32)
    if pointing:
        shapes = [capsule(12, 4, 12, 16, 2.6),            # index finger, raised
                  capsule(16, 13, 16, 17, 2.4), capsule(20, 14, 20, 18, 2.4),
                  capsule(24, 15, 24, 19, 2.3),
                  capsule(6, 17, 10, 22, 2.3),              # thumb
                  rbox(9.4, 15, 26.3, 29, 4)]
        hotspot = (12, 2)
    else:
        shapes = [capsule(9, 7, 9, 17, 2.3), capsule(14, 4, 14, 16, 2.4),
                  capsule(19, 4, 19, 16, 2.4), capsule(24, 7, 24, 17, 2.3),
                  capsule(4, 15, 8, 21, 2.3),               # thumb
                  rbox(6.7, 13, 26.3, 28, 5)]
        hotspot = (15, 15)
    hand = union(*shapes)
    cv.fill(lambda x, y: hand(x, y) - 1.2, (0, 0, 0))
    cv.fill(hand, (255, 255, 255))
    # finger joints
    if pointing:
        for a, b in ((14.2, 16.3), (18.2, 16.3), (22.1, 17.3)):
            cv.fill(capsule(a, b, a, b + 3, 0.45), (0, 0, 0))
    else:
        for a in (11.5, 16.5, 21.5):
            cv.fill(capsule(a, 9, a, 16, 0.45), (0, 0, 0))
    rows = cv.rgba()
    # cursors want crisp edges: no half-transparent rim
    rows = [[(r, g, b, 255) if a >= 128 else (0, 0, 0, 0) for r, g, b, a in row] for row in rows]
    return rows, hotspot


def scale_down(rows, n):
    """Box-filters an RGBA square down by an integer factor (icons)."""
    size = len(rows) // n
    out = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0] * 4
            for j in range(n):
                for i in range(n):
                    r, g, b, a = rows[y * n + j][x * n + i]
                    acc[0] += r * a; acc[1] += g * a; acc[2] += b * a; acc[3] += a
            a = acc[3] / (n * n)
            row.append(tuple(int(round(acc[c] / acc[3])) if acc[3] else 0 for c in range(3)) + (int(round(a)),))
        out.append(row)
    return out


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "res")
    os.makedirs(out, exist_ok=True)

    def write(name, data):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)

    for n, pic in sorted(status_pictures().items()):
        write(f"status{n}.bmp", bmp_bytes(14, 15, pic))
    write("tile146.bmp", bmp_bytes(34, 33, log_tile()))
    write("startup144.bmp", bmp_bytes(318, 210, startup_picture()))
    for name, cross in (("tellu128.ico", False), ("away155.ico", True)):
        images = [(48, tellu_icon(48, cross)), (32, tellu_icon(32, cross)),
                  (16, scale_down(tellu_icon(64, cross), 4))]
        write(name, icon_file(images))
    for name, pointing in (("hand104.cur", False), ("point138.cur", True)):
        rows, hotspot = hand_cursor(pointing)
        write(name, icon_file([(32, rows)], cursor_hotspot=hotspot))


if __name__ == "__main__":
    main()
