#!/usr/bin/env python3
"""Writes QuillonFTP's own media into a folder: "blip.wav", the short tone
played when a transfer ends, and "spin.avi", the silent clip the toolbar
plays while a command runs (uncompressed 8-bit frames, which the platform's
animation control plays without a codec)."""
import math
import os
import struct
import sys


def chunk(fourcc, data):
    pad = b"\0" if len(data) % 2 else b""
    return fourcc + struct.pack("<I", len(data)) + data + pad


def riff_list(kind, fourcc, parts):
    body = fourcc + b"".join(parts)
    return kind + struct.pack("<I", len(body)) + body


def blip(rate=22050, seconds=0.14, pitch=1320.0):
    n = int(rate * seconds)
    samples = []
    for i in range(n):
        t = i / rate
        envelope = min(1.0, i / 80.0) * math.exp(-t * 28.0)
        samples.append(int(11000 * envelope * math.sin(2 * math.pi * pitch * t)))
    data = struct.pack("<%dh" % n, *samples)
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * 2, 2, 16)
    return riff_list(b"RIFF", b"WAVE", [chunk(b"fmt ", fmt), chunk(b"data", data)])


SIZE = 32
FRAMES = 12


def spinner_frame(k):
    """Twelve dots on a ring; the bright one moves on each frame, the ones
    behind it fade."""
    pixels = bytearray(SIZE * SIZE)
    for d in range(12):
        age = (k - d) % 12
        shade = max(1, 8 - age)  # palette index 1 (dim) .. 8 (bright)
        a = 2 * math.pi * d / 12 - math.pi / 2
        cx = SIZE / 2 - 0.5 + 11 * math.cos(a)
        cy = SIZE / 2 - 0.5 + 11 * math.sin(a)
        for y in range(SIZE):
            for x in range(SIZE):
                if (x - cx) ** 2 + (y - cy) ** 2 <= 2.6 ** 2:
                    pixels[y * SIZE + x] = shade
    # Bottom-up rows, as device-independent bitmaps store them.
    return b"".join(bytes(pixels[y * SIZE:(y + 1) * SIZE]) for y in reversed(range(SIZE)))


def palette():
    entries = [(0, 0, 0)]
    for i in range(1, 9):
        f = i / 8.0
        entries.append((int(40 + 215 * f), int(60 + 180 * f), int(90 + 165 * f)))  # dark blue to near white
    entries += [(0, 0, 0)] * (256 - len(entries))
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in entries)


def spin_avi():
    frame_bytes = SIZE * SIZE
    usec = 80000
    avih = struct.pack("<IIIIIIIIII4I", usec, frame_bytes * 1000000 // usec, 0, 0x10, FRAMES, 0, 1,
                       frame_bytes, SIZE, SIZE, 0, 0, 0, 0)
    strh = b"vids" + b"DIB " + struct.pack("<IHHIIIIIIIIhhhh", 0, 0, 0, 0, 1, 1000000 // usec, 0, FRAMES,
                                           frame_bytes, 0xFFFFFFFF, 0, 0, 0, SIZE, SIZE)
    strf = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 8, 0, frame_bytes, 0, 0, 256, 0) + palette()
    hdrl = riff_list(b"LIST", b"hdrl", [chunk(b"avih", avih),
                                         riff_list(b"LIST", b"strl", [chunk(b"strh", strh), chunk(b"strf", strf)])])
    frames = [chunk(b"00db", spinner_frame(k)) for k in range(FRAMES)]
    movi = riff_list(b"LIST", b"movi", frames)
    index = b""
    offset = 4  # from the "movi" tag
    for f in frames:
        index += b"00db" + struct.pack("<III", 0x10, offset, frame_bytes)
        offset += len(f)
    return riff_list(b"RIFF", b"AVI ", [hdrl, movi, chunk(b"idx1", index)])


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)
    for name, data in (("blip.wav", blip()), ("spin.avi", spin_avi())):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
