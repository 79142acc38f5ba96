#!/usr/bin/env python3
"""Draw the application icon and write it as a multi-image .ico file.

Usage: python3 make_icon.py OUT.ico

The icon is a rounded amber square holding three stacked light slabs
(the paks) and a green up/down arrow (their order).  Every size is drawn
from geometry laid out for that size and supersampled, then stored as
uncompressed DIB images at 32 bpp (with alpha), 8 bpp and 4 bpp.
Only the standard library is used.
"""
import math
import struct
import sys
from collections import Counter

SIZES = (48, 32, 24, 16)
DEPTHS = (32, 8, 4)
SS = 8  # samples per pixel along each axis

AMBER_TOP = (252, 188, 60)
AMBER_BOTTOM = (242, 154, 30)
OUTLINE = (118, 58, 6)
SLAB = (255, 249, 232)
SLAB_EDGE = (82, 46, 18)
GREEN = (46, 160, 56)
GREEN_DARK = (14, 96, 26)

# Standard 16-colour VGA palette in the order Windows uses for 4-bpp bitmaps.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
       (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
       (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
       (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def sd_round_rect(x, y, x0, y0, x1, y1, r):
    """Signed distance from (x, y) to a rounded rectangle (negative inside)."""
    qx = abs(x - (x0 + x1) / 2) - ((x1 - x0) / 2 - r)
    qy = abs(y - (y0 + y1) / 2) - ((y1 - y0) / 2 - r)
    return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r


def sd_polygon(x, y, pts):
    """Signed distance from (x, y) to a simple polygon (negative inside)."""
    inside, best = False, float("inf")
    for (ax, ay), (bx, by) in zip(pts, pts[1:] + pts[:1]):
        if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
            inside = not inside
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        best = min(best, math.hypot(x - ax - t * dx, y - ay - t * dy))
    return -best if inside else best


def lerp(c0, c1, t):
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def layers(n):
    """Shapes for an n x n icon, bottom first: (sdf, fill, edge colour, edge width)."""
    edge = 1 if n < 40 else 2
    out = [(lambda x, y: sd_round_rect(x, y, 0, 0, n, n, n * 0.22),
            lambda x, y: lerp(AMBER_TOP, AMBER_BOTTOM, y / n), OUTLINE, edge)]
    # Three slabs, whole-pixel heights, centred vertically.
    gap = max(1, round(n / 16))
    margin = round(n / 8)
    h = (n - 2 * margin - 2 * gap) // 3
    top = (n - (3 * h + 2 * gap)) // 2
    left, right = margin, round(n * 0.625)
    for k in range(3):
        y0 = top + k * (h + gap)
        out.append((lambda x, y, y0=y0: sd_round_rect(x, y, left, y0, right, y0 + h, n / 24),
                    SLAB, SLAB_EDGE, edge))
    # Up/down arrow in the column right of the slabs.
    sw = max(1, round(n / 16))                      # stem width
    y0, y1 = top, top + 3 * h + 2 * gap
    if n < 32:
        # Small sizes: heads built from whole-pixel steps so they stay crisp.
        cx = (right + 1 + n - edge - 1) / 2
        rects = [(cx - sw / 2, y0, cx + sw / 2, y1)]
        for k in range(1, max(1, round(n / 16)) + 1):
            rects += [(cx - sw / 2 - k, y0 + k, cx + sw / 2 + k, y0 + k + 1),
                      (cx - sw / 2 - k, y1 - k - 1, cx + sw / 2 + k, y1 - k)]
        out.append((lambda x, y: min(sd_round_rect(x, y, *r, 0) for r in rects),
                    GREEN_DARK, GREEN_DARK, 0))
        return out
    c = (right + 1 + n - margin) / 2
    cx = math.floor(c) + 0.5 if sw % 2 else round(c)
    hw = sw / 2 + round(n / 16)                     # half width of the heads
    hh = hw + 0.5                                   # height of the heads
    y0, y1, s = y0 - 0.5, y1 + 0.5, sw / 2
    arrow = [(cx, y0), (cx + hw, y0 + hh), (cx + s, y0 + hh), (cx + s, y1 - hh),
             (cx + hw, y1 - hh), (cx, y1), (cx - hw, y1 - hh), (cx - s, y1 - hh),
             (cx - s, y0 + hh), (cx - hw, y0 + hh)]
    out.append((lambda x, y: sd_polygon(x, y, arrow), GREEN, GREEN_DARK, 0.9 if n < 40 else 1.2))
    return out


def shade(shapes, x, y):
    for sdf, fill, edge, width in reversed(shapes):
        d = sdf(x, y)
        if d < 0:
            if d > -width:
                return edge
            return fill(x, y) if callable(fill) else fill
    return None


def render(n):
    """Return n rows (top first) of (r, g, b, a) pixels, colour not premultiplied."""
    shapes = layers(n)
    rows = []
    for j in range(n):
        row = []
        for i in range(n):
            acc, hits = [0.0, 0.0, 0.0], 0
            for sj in range(SS):
                y = j + (sj + 0.5) / SS
                for si in range(SS):
                    col = shade(shapes, i + (si + 0.5) / SS, y)
                    if col is not None:
                        hits += 1
                        for k in range(3):
                            acc[k] += col[k]
            if hits:
                row.append(tuple(round(v / hits) for v in acc) + (round(255 * hits / SS ** 2),))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def nearest(rgb, pal, cache):
    if rgb not in cache:
        cache[rgb] = min(range(len(pal)),
                         key=lambda k: sum((a - b) ** 2 for a, b in zip(rgb, pal[k])))
    return cache[rgb]


def pack_row(values, bpp):
    """Pack one row of pixel values MSB first and pad it to a 4-byte multiple."""
    out, acc, nbits = bytearray(), 0, 0
    for v in values:
        acc, nbits = (acc << bpp) | v, nbits + bpp
        if nbits == 8:
            out.append(acc)
            acc, nbits = 0, 0
    if nbits:
        out.append(acc << (8 - nbits))
    return bytes(out) + bytes(-len(out) % 4)


def dib(pixels, bpp):
    """Encode rendered pixels as an icon DIB: header, palette, XOR bitmap, AND mask."""
    n = len(pixels)
    clear = [[p[3] < 128 for p in row] for row in pixels]
    palette, xor = b"", b""
    if bpp == 32:
        for row in reversed(pixels):
            xor += b"".join(bytes((b, g, r, a)) if a else bytes(4) for r, g, b, a in row)
    else:
        if bpp == 4:
            pal = VGA
        else:
            used = Counter(p[:3] for row, cl in zip(pixels, clear)
                           for p, c in zip(row, cl) if not c)
            pal = [(0, 0, 0)] + [c for c, _ in used.most_common() if c != (0, 0, 0)][:255]
            pal += [(0, 0, 0)] * (256 - len(pal))
        palette = b"".join(bytes((b, g, r, 0)) for r, g, b in pal)
        cache = {}
        for row, cl in zip(reversed(pixels), reversed(clear)):
            xor += pack_row([0 if c else nearest(p[:3], pal, cache)
                             for p, c in zip(row, cl)], bpp)
    mask = b"".join(pack_row([int(c) for c in cl], 1) for cl in reversed(clear))
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, bpp, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + palette + xor + mask


def build_ico():
    images = []
    for n in SIZES:
        pixels = render(n)
        for bpp in DEPTHS:
            images.append((n, bpp, dib(pixels, bpp)))
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = len(head) + 16 * len(images)
    entries, blobs = b"", b""
    for n, bpp, data in images:
        entries += struct.pack("<BBBBHHII", n, n, 16 if bpp == 4 else 0, 0, 1, bpp,
                               len(data), offset)
        offset += len(data)
        blobs += data
    return head + entries + blobs


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_icon.py OUT.ico")
    data = build_ico()
    with open(sys.argv[1], "wb") as f:
        f.write(data)
    print(f"wrote {sys.argv[1]} ({len(data)} bytes)")


if __name__ == "__main__":
    main()
