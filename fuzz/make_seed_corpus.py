#!/usr/bin/env python3
"""Writes the small seed files under fuzz/corpus/: a few PNG colour types, a two-glyph
TrueType font and a bitmap font, URLs with embedded content. The audio seeds are made by
make_seed_corpus.sh with sox, lame and oggenc. Run from anywhere; the output is fixed."""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def png(width, height, colour_type, depth, rows, palette=None, trns=None, interlace=0):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(
            ">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
    out = b"\x89PNG\r\n\x1a\n"
    out += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0,
                                      interlace))
    if palette:
        out += chunk(b"PLTE", palette)
    if trns:
        out += chunk(b"tRNS", trns)
    out += chunk(b"IDAT", zlib.compress(b"".join(b"\x00" + r for r in rows)))
    return out + chunk(b"IEND", b"")


def pngs():
    write("png", "rgba_2x2.png", png(2, 2, 6, 8, [b"\xff\x00\x00\x80\x00\xff\x00\xff"] * 2))
    write("png", "rgb_3x1.png", png(3, 1, 2, 8, [b"\x10\x20\x30" * 3]))
    write("png", "grey16_1x2.png", png(1, 2, 0, 16, [b"\x12\x34", b"\xff\xff"]))
    write("png", "palette4_4x1.png",
          png(4, 1, 3, 4, [b"\x01\x23"], palette=b"\x00\x00\x00\xff\x00\x00\x00\xff\x00\x00\x00\xff",
              trns=b"\x00\x80"))
    write("png", "grey_alpha_interlaced_3x3.png",
          png(3, 3, 4, 8, [b"\x80\xff\x40\x80\x00\x00"] * 3, interlace=1))


def truetype():
    """Glyph 0 empty, glyph 1 a square mapped from 'A' and from U+00E5."""
    def table_head():
        return struct.pack(">IIIIHHQQhhhhHHhhh", 0x10000, 0x10000, 0, 0x5F0F3CF5, 0, 1000, 0, 0,
                           0, 0, 600, 700, 0, 8, 2, 0, 0)

    def table_hhea():
        return struct.pack(">IhhhHhhhhhh4hhH", 0x10000, 800, -200, 0, 700, 0, 0, 600, 1, 0, 0,
                           0, 0, 0, 0, 0, 2)

    def table_maxp():
        return struct.pack(">IHHHHHHHHHHHHHH", 0x10000, 2, 4, 1, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0)

    def table_cmap():
        segments = [(0x41, 0x41, -0x40), (0xE5, 0xE5, -0xE4), (0xFFFF, 0xFFFF, 1)]
        n = len(segments)
        body = struct.pack(">HHHH", n * 2, 4, 1, n * 2 - 4)
        body += b"".join(struct.pack(">H", e) for _, e, _ in segments) + b"\x00\x00"
        body += b"".join(struct.pack(">H", s) for s, _, _ in segments)
        body += b"".join(struct.pack(">h", d) for _, _, d in segments)
        body += b"\x00\x00" * n
        sub = struct.pack(">HHH", 4, 6 + len(body), 0) + body
        return struct.pack(">HHHHI", 0, 1, 3, 1, 12) + sub

    square = struct.pack(">hhhhhHH", 1, 0, 0, 600, 700, 3, 0) + b"\x01" * 4
    square += struct.pack(">hhhh", 0, 600, 0, -600) + struct.pack(">hhhh", 0, 0, 700, 0)
    tables = {
        b"cmap": table_cmap(),
        b"glyf": square,
        b"head": table_head(),
        b"hhea": table_hhea(),
        b"hmtx": struct.pack(">HhHh", 500, 0, 650, 0),
        b"loca": struct.pack(">HHH", 0, 0, len(square) // 2),
        b"maxp": table_maxp(),
        b"name": struct.pack(">HHH", 0, 0, 6),
        b"post": struct.pack(">IIhhIIIII", 0x30000, 0, 0, 0, 1, 0, 0, 0, 0),
    }
    count = len(tables)
    out = struct.pack(">IHHHH", 0x10000, count, 128, 3, count * 16 - 128)
    offset = 12 + 16 * count
    body = b""
    for tag, data in sorted(tables.items()):
        padded = data + b"\x00" * (-len(data) % 4)
        out += tag + struct.pack(">III", 0, offset + len(body), len(data))
        body += padded
    return out + body


BDF = b"""STARTFONT 2.1
FONT -fuzz-seed-medium-r-normal--8-80-75-75-c-80-iso8859-1
SIZE 8 75 75
FONTBOUNDINGBOX 4 4 0 0
STARTPROPERTIES 2
FONT_ASCENT 4
FONT_DESCENT 0
ENDPROPERTIES
CHARS 1
STARTCHAR A
ENCODING 65
SWIDTH 500 0
DWIDTH 5 0
BBX 4 4 0 0
BITMAP
F0
90
90
F0
ENDCHAR
ENDFONT
"""


def fonts():
    # The fuzzer's first byte picks the pixel size.
    write("font", "square.ttf", b"\x17" + truetype())
    write("font", "square_1px.ttf", b"\x00" + truetype())
    write("font", "square.bdf", b"\x07" + BDF)


def urls():
    write("stream_url", "incbin", b"incbin::fuzz/file\x00hello, bytes")
    write("stream_url", "upper_case", b"InCbIn::fuzz/file\x00\x01\x02\x03\x04\x05")
    write("stream_url", "unknown_protocol", b"http::fuzz/file\x00x")
    write("stream_url", "missing_name", b"incbin::nothing\x00")
    write("stream_url", "ram_ops", b"incbin::fuzz/file\x00\x01\x00\x05\x01\x10\x02\x7f\x03\x00\x00\x81")


if __name__ == "__main__":
    pngs()
    fonts()
    urls()
