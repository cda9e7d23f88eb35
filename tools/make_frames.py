#!/usr/bin/env python3
"""Draws the frame pictures of data/bk and the watermark picture of data/sy.

Plain Python, no packages beyond the standard library: every pixel is computed
from distances to rounded rectangles and circles, with a one-pixel soft edge
for smoothing. Run from anywhere: python3 tools/make_frames.py
"""
import math
import os
import struct
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CLEAR = (0, 0, 0, 0)


def write_png(path, width, height, rows):
    """rows: list of bytearrays of RGBA bytes."""
    raw = b"".join(b"\x00" + bytes(r) for r in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def smooth(edge0, edge1, x):
    t = clamp((x - edge0) / (edge1 - edge0))
    return t * t * (3 - 2 * t)


def rounded_box(px, py, x0, y0, x1, y1, r):
    """Signed distance from (px, py) to a rounded rectangle; negative inside."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
    outside = math.hypot(max(qx, 0), max(qy, 0))
    inside = min(max(qx, qy), 0)
    return outside + inside - r


def coverage(d):
    """How much of a pixel lies inside a shape at signed distance d."""
    return clamp(0.5 - d)


def over(top, bottom):
    """Porter-Duff over for (r, g, b, a) tuples with a in 0..1."""
    ta, ba = top[3], bottom[3]
    a = ta + ba * (1 - ta)
    if a <= 0:
        return CLEAR
    return tuple((top[i] * ta + bottom[i] * ba * (1 - ta)) / a for i in range(3)) + (a,)


def mix(c0, c1, t):
    return tuple(c0[i] + (c1[i] - c0[i]) * t for i in range(len(c0)))


def render(width, height, opening, pixel):
    """opening = (x0, y0, x1, y1): a rectangle known to be fully transparent, so
    pixel(x, y) -> (r, g, b, a) runs only for the border."""
    ox0, oy0, ox1, oy1 = opening
    rows = []
    for y in range(height):
        row = bytearray(width * 4)
        inside_rows = oy0 <= y < oy1
        for x in range(width):
            if inside_rows and ox0 <= x < ox1:
                continue
            r, g, b, a = pixel(x + 0.5, y + 0.5)
            i = x * 4
            row[i] = int(clamp(r, 0, 255) + 0.5)
            row[i + 1] = int(clamp(g, 0, 255) + 0.5)
            row[i + 2] = int(clamp(b, 0, 255) + 0.5)
            row[i + 3] = int(clamp(a) * 255 + 0.5)
        rows.append(row)
    return rows


def white_mat():
    """A thin white mat with a bevelled cut and a soft shadow on the picture."""
    w, h, border = 1200, 900, 46
    paper = (250, 249, 245)

    def pixel(x, y):
        d = rounded_box(x, y, border, border, w - border, h - border, 2)
        if d <= 0:
            # The mat's shadow on the picture.
            return (0, 0, 0, 0.35 * smooth(-14, 0, d) ** 2)
        # A bright cut edge, then the paper, darkening faintly towards the outer edge.
        edge = min(x, y, w - x, h - y)
        tone = mix(paper, (232, 231, 226), smooth(8, 0, edge))
        if d < 4:
            tone = mix((255, 255, 253), tone, d / 4)
        return tone + (1.0,)

    return "白色卡纸", w, h, (border + 15, border + 15, w - border - 15, h - border - 15), pixel


def gallery_frame():
    """A dark wooden moulding with mitred corners, a gold lip and a cream mat."""
    w, h = 900, 1200
    moulding, lip, mat = 64, 7, 54
    inner = moulding + lip + mat

    def wood(x, y, depth):
        # Grain runs along each side; the side is the nearest outer edge.
        edges = (x, y, w - x, h - y)
        side = edges.index(min(edges))
        along = y if side in (0, 2) else x
        grain = 0.5 + 0.5 * math.sin(along * 0.045 + depth * 0.9 + math.sin(along * 0.011) * 3)
        light = (1.25, 1.15, 0.72, 0.6)[side]  # light from the top left
        profile = 0.55 + 0.45 * math.sin(math.pi * depth / moulding) ** 0.6
        base = mix((46, 28, 18), (74, 46, 30), grain)
        return tuple(c * light * profile for c in base)

    def pixel(x, y):
        depth = min(x, y, w - x, h - y)
        if depth < moulding:
            return wood(x, y, depth) + (1.0,)
        if depth < moulding + lip:
            t = (depth - moulding) / lip
            shine = 0.75 + 0.35 * math.sin(math.pi * t)
            return (212 * shine, 172 * shine, 92 * shine, 1.0)
        if depth < inner:
            cream = (244, 239, 226)
            cut = inner - depth
            if cut < 3:
                return (255, 255, 250, 1.0)
            shade = 0.96 + 0.04 * smooth(0, 12, depth - moulding - lip)
            return tuple(c * shade for c in cream) + (1.0,)
        # Shadow of the mat on the picture.
        return (0, 0, 0, 0.3 * (1 - smooth(0, 10, depth - inner)))

    return "深色画框", w, h, (inner + 11, inner + 11, w - inner - 11, h - inner - 11), pixel


def film_strip():
    """A strip of 35 mm film: black bands with sprocket holes and orange edge marks."""
    w, h = 1600, 900
    band, side = 112, 26
    hole_w, hole_h, pitch = 34, 48, 76

    def pixel(x, y):
        d = rounded_box(x, y, side, band, w - side, h - band, 10)
        if d < -0.5:
            return CLEAR
        film = clamp(d + 0.5)
        base = (16, 16, 18)
        in_band = y < band or y >= h - band
        if in_band:
            cy = band / 2 if y < band else h - band / 2
            cx = (math.floor((x - pitch / 2) / pitch) + 0.5) * pitch + pitch / 2
            hole = rounded_box(x, y, cx - hole_w / 2, cy - hole_h / 2, cx + hole_w / 2, cy + hole_h / 2, 6)
            if hole < 1:
                t = coverage(hole)
                return mix(base, (236, 234, 226), t) + (1.0,)
            # Edge print: short orange dashes between the holes and the picture.
            gap = band - y if y < band else y - (h - band)
            if 14 <= gap < 19 and int(x / 40) % 5 != 0 and x % 40 < 22:
                return (232, 142, 34, 1.0)
        return base + (film,)

    return "胶片", w, h, (side + 2, band + 2, w - side - 2, h - band - 2), pixel


def rounded_vignette():
    """A white card with a rounded window and a soft dark vignette inside it."""
    w, h = 1024, 768
    inset, radius = 34, 70

    def pixel(x, y):
        d = rounded_box(x, y, inset, inset, w - inset, h - inset, radius)
        card = (255, 255, 255, 1 - coverage(d))
        nx = (x - w / 2) / (w / 2 - inset)
        ny = (y - h / 2) / (h / 2 - inset)
        r = math.hypot(nx, ny)
        shade = (12, 10, 18, 0.78 * smooth(0.62, 1.38, r))
        return over(card, shade)

    # The vignette starts at 0.62 of the half sizes; inside that nothing is drawn.
    ox, oy = int(w / 2 - 0.62 * (w / 2 - inset) / math.sqrt(2)), int(h / 2 - 0.62 * (h / 2 - inset) / math.sqrt(2))
    return "圆角暗角", w, h, (ox, oy, w - ox, h - oy), pixel


def instant_print():
    """An instant-camera print: a square window, wider margin at the bottom."""
    w, h = 1000, 1200
    left, top, bottom = 52, 52, 250
    card = (247, 245, 238)

    def pixel(x, y):
        d = rounded_box(x, y, left, top, w - left, h - bottom, 1)
        if d < 0:
            return (0, 0, 0, 0.28 * (1 - smooth(0, 7, -d)))
        # Round card corners and a faint shading towards the edges.
        outer = rounded_box(x, y, 0, 0, w, h, 10)
        edge = min(x, y, w - x, h - y)
        tone = tuple(c * (0.965 + 0.035 * smooth(0, 18, edge)) for c in card)
        return tone + (coverage(outer),)

    return "拍立得", w, h, (left + 8, top + 8, w - left - 8, h - bottom - 8), pixel


def camera_mark():
    """Watermark: a white camera with a dark outline and a soft shadow, partly see-through."""
    w, h = 180, 136

    def body(x, y):
        d = rounded_box(x, y, 14, 34, 166, 120, 16)
        bump = rounded_box(x, y, 56, 16, 112, 44, 8)
        return min(d, bump)

    def pixel(x, y):
        shadow = (0, 0, 0, 0.35 * coverage(body(x - 4, y - 5) - 2) * 0.9)
        shape = body(x, y)
        lens = math.hypot(x - 90, y - 78) - 30
        glass = math.hypot(x - 90, y - 78) - 19
        flash = rounded_box(x, y, 132, 46, 152, 58, 3)
        color = (0, 0, 0, 0)
        outline = coverage(abs(shape) - 2.5)
        fill = coverage(shape)
        color = over((255, 255, 255, 0.82 * fill), color)
        color = over((40, 44, 52, outline), color)
        color = over((40, 44, 52, coverage(abs(lens) - 3)), color)
        color = over((70, 110, 160, 0.75 * coverage(glass)), color)
        color = over((255, 255, 255, 0.9 * coverage(math.hypot(x - 82, y - 70) - 5)), color)
        color = over((40, 44, 52, coverage(flash)), color)
        return over(color, shadow)

    return "相机", w, h, (0, 0, 0, 0), pixel


def main():
    bk = os.path.join(ROOT, "data", "bk")
    sy = os.path.join(ROOT, "data", "sy")
    os.makedirs(bk, exist_ok=True)
    os.makedirs(sy, exist_ok=True)
    for make in (white_mat, gallery_frame, film_strip, rounded_vignette, instant_print):
        name, w, h, opening, pixel = make()
        write_png(os.path.join(bk, name + ".png"), w, h, render(w, h, opening, pixel))
        print("bk/%s.png %dx%d" % (name, w, h))
    name, w, h, opening, pixel = camera_mark()
    write_png(os.path.join(sy, name + ".png"), w, h, render(w, h, opening, pixel))
    print("sy/%s.png %dx%d" % (name, w, h))


if __name__ == "__main__":
    main()
