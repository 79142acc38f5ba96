#!/usr/bin/env python3
"""Check the structure of the application icon file.

Usage: python3 check_icon.py ICO

Exits non-zero with a message unless the file holds exactly the twelve
DIB images 48/32/24/16 px x 4/8/32 bpp, every image header agrees with its
directory entry, the image data lie inside the file without overlapping,
and every image has both opaque and transparent pixels.
"""
import struct
import sys

EXPECTED = {(n, bpp) for n in (48, 32, 24, 16) for bpp in (4, 8, 32)}


class Bad(Exception):
    pass


def need(cond, msg):
    if not cond:
        raise Bad(msg)


def row_bytes(width, bpp):
    return (width * bpp + 31) // 32 * 4


def check_image(data, n, bpp, name):
    """Validate one DIB image; return (opaque, transparent) pixel counts."""
    need(not data.startswith(b"\x89PNG"), f"{name}: PNG image, expected a DIB")
    need(len(data) >= 40, f"{name}: too short for BITMAPINFOHEADER")
    (size, w, h, planes, bits, comp, _img, _xr, _yr, used, _imp) = \
        struct.unpack_from("<IiiHHIIiiII", data)
    need(size == 40, f"{name}: biSize {size}, expected 40")
    need(w == n, f"{name}: biWidth {w} disagrees with directory width {n}")
    need(h == 2 * n, f"{name}: biHeight {h}, expected {2 * n}")
    need(planes == 1, f"{name}: biPlanes {planes}")
    need(bits == bpp, f"{name}: biBitCount {bits} disagrees with directory {bpp}")
    need(comp == 0, f"{name}: biCompression {comp}, expected BI_RGB")
    colours = 0 if bpp == 32 else (used or 1 << bpp)
    need(colours in (0, 1 << bpp), f"{name}: biClrUsed {used}")
    xor_len, and_len = row_bytes(n, bpp) * n, row_bytes(n, 1) * n
    total = 40 + 4 * colours + xor_len + and_len
    need(len(data) == total, f"{name}: dwBytesInRes {len(data)}, image needs {total}")
    pal = [data[40 + 4 * i:44 + 4 * i] for i in range(colours)]
    xor = data[40 + 4 * colours:40 + 4 * colours + xor_len]
    mask = data[len(data) - and_len:]
    opaque = clear = 0
    for y in range(n):
        mrow = mask[y * row_bytes(n, 1):]
        xrow = xor[y * row_bytes(n, bpp):]
        for x in range(n):
            is_clear = (mrow[x // 8] >> (7 - x % 8)) & 1
            if bpp == 32:
                alpha = xrow[4 * x + 3]
                need(not (alpha == 0 and not is_clear), f"{name}: alpha 0 but mask opaque at {x},{y}")
                need(not (alpha == 255 and is_clear), f"{name}: alpha 255 but mask clear at {x},{y}")
            elif is_clear:
                per = 8 // bpp
                idx = (xrow[x // per] >> ((per - 1 - x % per) * bpp)) & ((1 << bpp) - 1)
                need(idx == 0, f"{name}: transparent pixel {x},{y} has index {idx}")
                need(pal[0][:3] == b"\0\0\0", f"{name}: palette entry 0 is not black")
            opaque += not is_clear
            clear += is_clear
    need(opaque > 0, f"{name}: no opaque pixels")
    need(clear > 0, f"{name}: no transparent pixels")
    return opaque, clear


def check(data):
    need(len(data) >= 6, "file too short for ICONDIR")
    reserved, kind, count = struct.unpack_from("<HHH", data)
    need(reserved == 0 and kind == 1, f"not an icon file (reserved={reserved}, type={kind})")
    need(count == 12, f"{count} directory entries, expected 12")
    need(len(data) >= 6 + 16 * count, "directory runs past end of file")
    seen, spans = set(), []
    for i in range(count):
        w, h, ncol, res, planes, bpp, nbytes, off = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        name = f"entry {i} ({w}x{h}, {bpp} bpp)"
        need(w == h, f"{name}: not square")
        need((w, bpp) not in seen, f"{name}: duplicate size/depth")
        seen.add((w, bpp))
        need(ncol == (16 if bpp == 4 else 0), f"{name}: bColorCount {ncol}")
        need(res == 0, f"{name}: bReserved {res}")
        need(planes == 1, f"{name}: wPlanes {planes}")
        need(off >= 6 + 16 * count, f"{name}: offset {off} inside the directory")
        need(off + nbytes <= len(data), f"{name}: data {off}+{nbytes} beyond file end {len(data)}")
        spans.append((off, off + nbytes, name))
        opaque, clear = check_image(data[off:off + nbytes], w, bpp, name)
        print(f"{i:2d}: {w}x{h} {bpp:2d} bpp  {nbytes:5d} bytes @ {off:6d}  "
              f"opaque {opaque}, transparent {clear}")
    need(seen == EXPECTED, f"size/depth set differs: missing {sorted(EXPECTED - seen)}, "
                           f"unexpected {sorted(seen - EXPECTED)}")
    spans.sort()
    for (_, end, a), (start, _, b) in zip(spans, spans[1:]):
        need(end <= start, f"{a} overlaps {b}")


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: check_icon.py ICO")
    with open(sys.argv[1], "rb") as f:
        data = f.read()
    try:
        check(data)
    except (Bad, struct.error) as e:
        sys.exit(f"{sys.argv[1]}: FAIL: {e}")
    print(f"{sys.argv[1]}: OK")


if __name__ == "__main__":
    main()
