#!/usr/bin/python3
"""Turns a 32- or 24-bit .bmp (as the program saves its screenshots) into a .png."""
import struct
import sys
import zlib


def convert(src, dst):
    data = open(src, "rb").read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits = struct.unpack_from("<H", data, 28)[0]
    bpp = bits // 8
    stride = (width * bpp + 3) & ~3
    top_down = height < 0
    height = abs(height)
    rows = []
    for y in range(height):
        sy = y if top_down else height - 1 - y
        row = data[offset + sy * stride: offset + sy * stride + width * bpp]
        out = bytearray(b"\0")
        for x in range(width):
            b, g, r = row[x * bpp: x * bpp + 3]
            out += bytes((r, g, b))
        rows.append(bytes(out))

    def chunk(kind, body):
        c = struct.pack(">I", len(body)) + kind + body
        return c + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b"")
    open(dst, "wb").write(png)


if __name__ == "__main__":
    convert(sys.argv[1], sys.argv[2])
