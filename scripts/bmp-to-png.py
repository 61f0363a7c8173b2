#!/usr/bin/env python3
"""Converts an 8-bit palette BMP (as the catalogue builder writes) to PNG.

Usage: bmp-to-png.py IN.bmp OUT.png. Standard library only, so that
`make screenshots` needs no imaging package.
"""
import struct
import sys
import zlib


def read_bmp(path):
    data = open(path, "rb").read()
    if data[:2] != b"BM":
        raise SystemExit(f"{path}: not a BMP file")
    offset, = struct.unpack_from("<I", data, 10)
    header, width, height, _, bits = struct.unpack_from("<IiiHH", data, 14)
    if bits != 8:
        raise SystemExit(f"{path}: {bits} bits per pixel, only 8 are read")
    colours, = struct.unpack_from("<I", data, 46)
    palette = [data[14 + header + 4 * i:14 + header + 4 * i + 3][::-1]
               for i in range(colours or 256)]
    stride = (width + 3) & ~3
    rows = []
    for y in range(abs(height)):
        source = y if height < 0 else abs(height) - 1 - y
        row = data[offset + source * stride:offset + source * stride + width]
        rows.append(b"".join(palette[i] for i in row))
    return width, abs(height), rows


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + row for row in rows)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        out.write(chunk(b"IEND", b""))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit("usage: bmp-to-png.py IN.bmp OUT.png")
    write_png(sys.argv[2], *read_bmp(sys.argv[1]))
