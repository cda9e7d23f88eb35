#!/usr/bin/env python3
"""Writes a camera-like DNG: an uncompressed 14-bit Bayer mosaic with its colour
filter pattern, white balance, orientation and EXIF shooting time. With --cr3,
Canon's CR3 boxes around the same tags, a GPS position and an XMP rating, and no
sensor data: enough for a metadata reader.

The camera's colour matrix is the XYZ -> linear sRGB one, so after white balance
the camera's red, green and blue are sRGB's own and the developed colours can be
worked out: a patch of linear sRGB (r, g, b) is stored as r * neutral_r, ...

  make_dng.py OUT [--size 96x64] [--orientation 1] [--neutral 0.5,1,0.8]
              [--pattern RGGB] [--scene patches|photo] [--time "2024:05:01 14:30:00"] [--cr3]

Scenes: "patches" is a grey left half (linear 0.214, sRGB 128), a red top-right
quarter (linear 0.8, 0.02, 0.02) and a blue bottom-right one (0.02, 0.02, 0.8);
"photo" is smooth gradients with rings, for timing. Plain Python, no packages.
"""
import argparse
import math
import struct

WHITE = 16383
XYZ_TO_SRGB = [3.2404542, -1.5371385, -0.4985314, -0.9692660, 1.8760108, 0.0415560,
               0.0556434, -0.2040259, 1.0572252]
GREY, RED, BLUE = (0.214, 0.214, 0.214), (0.8, 0.02, 0.02), (0.02, 0.02, 0.8)

SHORT, LONG, ASCII, BYTE, RATIONAL, SRATIONAL = 3, 4, 2, 1, 5, 10
SIZES = {BYTE: 1, ASCII: 1, SHORT: 2, LONG: 4, RATIONAL: 8, SRATIONAL: 8}


def pack(kind, values):
    if kind == ASCII:
        return values.encode() + b"\0"
    if kind in (RATIONAL, SRATIONAL):
        code = "<i" if kind == SRATIONAL else "<I"
        return b"".join(struct.pack(code, round(v * 10000)) + struct.pack("<I", 10000) for v in values)
    code = {BYTE: "<B", SHORT: "<H", LONG: "<I"}[kind]
    return b"".join(struct.pack(code, v) for v in values)


def directory(entries, at, extra_at):
    """entries: (tag, kind, values); returns the IFD bytes at offset at and the
    value area that follows at extra_at."""
    body, extra = b"", b""
    for tag, kind, values in sorted(entries):
        data = pack(kind, values)
        count = len(data) // SIZES[kind]
        if len(data) <= 4:
            field = data.ljust(4, b"\0")
        else:
            field = struct.pack("<I", extra_at + len(extra))
            extra += data + (b"\0" if len(data) % 2 else b"")
        body += struct.pack("<HHI", tag, kind, count) + field
    return struct.pack("<H", len(entries)) + body + struct.pack("<I", 0), extra


def tiff(entries):
    """A TIFF structure of one IFD."""
    ifd, extra = directory(entries, 8, 8 + 2 + 12 * len(entries) + 4)
    return b"II*\0" + struct.pack("<I", 8) + ifd + extra


def box(kind, payload):
    return struct.pack(">I", 8 + len(payload)) + kind + payload


CANON_UUID = bytes.fromhex("85c0b687820f11e08111f4ce462b6a48")
XMP_UUID = bytes.fromhex("be7acfcb97a942e89c71999491e3afac")
XMP = (b'<x:xmpmeta xmlns:x="adobe:ns:meta/"><rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#">'
       b'<rdf:Description rdf:about="" xmlns:xmp="http://ns.adobe.com/xap/1.0/" xmp:Rating="4"/>'
       b'</rdf:RDF></x:xmpmeta>')


def write_cr3(path, ifd0, exif):
    gps = [(0, BYTE, [2, 3, 0, 0]), (1, ASCII, "N"), (2, RATIONAL, [31, 12, 0]), (3, ASCII, "E"),
           (4, RATIONAL, [121, 30, 0])]
    canon = box(b"uuid", CANON_UUID + box(b"CNCV", b"CanonCR3_001/00.09.00/00.00.00")
                + box(b"CMT1", tiff(ifd0)) + box(b"CMT2", tiff(exif)) + box(b"CMT4", tiff(gps)))
    with open(path, "wb") as out:
        out.write(box(b"ftyp", b"crx " + struct.pack(">I", 1) + b"crx isom") + box(b"moov", canon)
                  + box(b"uuid", XMP_UUID + XMP) + box(b"mdat", b""))


def scene_colour(scene, x, y, w, h):
    if scene == "patches":
        if x < w // 2:
            return GREY
        return RED if y < h // 2 else BLUE
    r = math.hypot(x - w * 0.4, y - h * 0.55) / w
    ring = 0.5 + 0.5 * math.cos(r * 60)
    return (0.05 + 0.6 * x / w * ring, 0.05 + 0.5 * y / h, 0.05 + 0.4 * (1 - x / w) * (1 - ring * 0.5))


def mosaic(scene, w, h, pattern, neutral):
    """The sensor's samples, row by row: each site keeps its filter's channel."""
    channel = {"R": 0, "G": 1, "B": 2}
    rows = []
    for y in range(h):
        sites = [channel[pattern[(y % 2) * 2]], channel[pattern[(y % 2) * 2 + 1]]]
        row = [0] * w
        for x in range(w):
            c = sites[x % 2]
            row[x] = min(WHITE, round(scene_colour(scene, x, y, w, h)[c] * neutral[c] * WHITE))
        rows.append(struct.pack("<%dH" % w, *row))
    return b"".join(rows)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out")
    parser.add_argument("--size", default="96x64")
    parser.add_argument("--orientation", type=int, default=1)
    parser.add_argument("--neutral", default="0.5,1,0.8")
    parser.add_argument("--pattern", default="RGGB")
    parser.add_argument("--scene", default="patches", choices=["patches", "photo"])
    parser.add_argument("--time", default="2024:05:01 14:30:00")
    parser.add_argument("--cr3", action="store_true")
    args = parser.parse_args()
    w, h = (int(n) for n in args.size.split("x"))
    neutral = [float(n) for n in args.neutral.split(",")]
    cfa = [{"R": 0, "G": 1, "B": 2}[c] for c in args.pattern]

    exif = [(33434, RATIONAL, [1 / 125]), (33437, RATIONAL, [5.6]), (34855, SHORT, [200]),
            (36867, ASCII, args.time), (42036, ASCII, "Tuvo Test 35mm F1.8")]
    ifd0 = [(254, LONG, [0]), (256, LONG, [w]), (257, LONG, [h]), (258, SHORT, [16]), (259, SHORT, [1]),
            (262, SHORT, [32803]), (271, ASCII, "Tuvo"), (272, ASCII, "Test Camera"),
            (273, LONG, [0]), (274, SHORT, [args.orientation]), (277, SHORT, [1]), (278, LONG, [h]),
            (279, LONG, [w * h * 2]), (284, SHORT, [1]), (306, ASCII, args.time),
            (33421, SHORT, [2, 2]), (33422, BYTE, cfa), (34665, LONG, [0]),
            (50706, BYTE, [1, 4, 0, 0]), (50707, BYTE, [1, 1, 0, 0]), (50708, ASCII, "Tuvo Test Camera"),
            (50717, LONG, [WHITE]), (50721, SRATIONAL, XYZ_TO_SRGB), (50728, RATIONAL, neutral),
            (50778, SHORT, [21])]
    if args.cr3:
        write_cr3(args.out, [(256, LONG, [w]), (257, LONG, [h]), (271, ASCII, "Canon"),
                             (272, ASCII, "Canon EOS R6"), (274, SHORT, [args.orientation]),
                             (306, ASCII, args.time)], exif)
        return
    # Lay out once to learn the sizes, then again with the offsets filled in.
    exif_at = 8
    exif_ifd, exif_extra = directory(exif, exif_at, exif_at + 2 + 12 * len(exif) + 4)
    ifd0_at = exif_at + len(exif_ifd) + len(exif_extra)
    ifd0_extra_at = ifd0_at + 2 + 12 * len(ifd0) + 4
    _, extra = directory(ifd0, ifd0_at, ifd0_extra_at)
    strip_at = ifd0_extra_at + len(extra)
    ifd0 = [(t, k, [strip_at] if t == 273 else [exif_at] if t == 34665 else v) for t, k, v in ifd0]
    ifd0_bytes, extra = directory(ifd0, ifd0_at, ifd0_extra_at)
    with open(args.out, "wb") as out:
        out.write(b"II*\0" + struct.pack("<I", ifd0_at) + exif_ifd + exif_extra + ifd0_bytes + extra)
        out.write(mosaic(args.scene, w, h, args.pattern, neutral))


if __name__ == "__main__":
    main()
