#!/usr/bin/env python3
"""Makes the GIF files the real-file tests read: picture sources as PPM files
written here, turned into GIFs by ImageMagick's convert. Writes OUTDIR/list.txt,
one line per GIF: "<gif> <needs-local-table 0|1> <ppm of frame 1> [<ppm of frame 2> ...]"."""
import os
import shutil
import subprocess
import sys


def convert_program():
    # The packaged program first: a wrapper earlier on PATH may change pictures.
    for p in ("/usr/bin/convert", shutil.which("convert")):
        if p and os.path.exists(p):
            return p
    sys.exit("make-gifs.py: ImageMagick's convert is missing (scripts/setup.sh installs it)")


def write_ppm(path, w, h, pixel):
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (w, h))
        row = bytearray()
        for y in range(h):
            for x in range(w):
                row += bytes(pixel(x, y))
        f.write(row)


def palette(n, salt):
    # n distinct colours spread over the cube.
    return [((i * 37 + salt) % 256, (i * 91 + 2 * salt) % 256, (i * 151 + 3 * salt + i // 256) % 256) for i in range(n)]


def noise(n, seed):
    state = [seed]

    def pick(x, y):
        state[0] = (state[0] * 1103515245 + 12345) & 0xFFFFFFFF
        return (state[0] >> 16) % n
    return pick


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    convert = convert_program()
    cases = []  # (gif, needs local, [(ppm, w, h, pixel)], convert options)

    def src(name, w, h, colours, picker):
        pal = palette(colours, len(name))
        return (name + ".ppm", w, h, lambda x, y: pal[picker(x, y)])

    cases.append(("one.gif", 0, [src("one", 1, 1, 1, lambda x, y: 0)], []))
    cases.append(("two-colours.gif", 0, [src("two", 33, 9, 2, lambda x, y: (x // 3 + y) % 2)], []))
    cases.append(("small.gif", 0, [src("small", 7, 3, 4, lambda x, y: (x + 2 * y) % 4)], []))
    cases.append(("bands.gif", 0, [src("bands", 640, 480, 256, lambda x, y: (x // 3 + y // 7) % 256)], []))
    cases.append(("odd-noise.gif", 0, [src("oddnoise", 1001, 13, 200, noise(200, 3))], []))
    cases.append(("noise.gif", 0, [src("noise", 512, 384, 256, noise(256, 9))], []))
    cases.append(("interlaced.gif", 0, [src("inter", 300, 211, 64, lambda x, y: (x * y // 5) % 64)],
                  ["-interlace", "Line"]))
    cases.append(("interlaced-short.gif", 0, [src("intershort", 9, 6, 16, noise(16, 4))],
                  ["-interlace", "Line"]))
    cases.append(("frames.gif", 1, [src("frame1", 120, 80, 16, lambda x, y: (x // 8 + y // 8) % 16),
                                    src("frame2", 120, 80, 32, noise(32, 21))], []))

    running = []
    with open(os.path.join(out, "list.txt"), "w") as listing:
        for gif, local, sources, options in cases:
            paths = []
            for name, w, h, pixel in sources:
                path = os.path.join(out, name)
                write_ppm(path, w, h, pixel)
                paths.append(path)
            # No dithering and no colour reduction: every source has at most 256 colours.
            # The programs start slowly, so they run side by side.
            running.append(subprocess.Popen([convert, *paths, "+dither", *options, os.path.join(out, gif)]))
            listing.write(" ".join([gif, str(local)] + [os.path.basename(p) for p in paths]) + "\n")
    failed = [p.args for p in running if p.wait() != 0]
    if failed:
        sys.exit("make-gifs.py: convert failed: %s" % failed)


if __name__ == "__main__":
    main()
