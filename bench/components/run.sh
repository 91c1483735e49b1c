#!/usr/bin/env bash
# Makes a set of large GIFs with ImageMagick and decodes them with our reader
# and with giflib. Builds an optimised host build without sanitizers first
# (build/bench), since sanitizers would measure themselves.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build/bench
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DHOST_SANITIZE=OFF -DHOST_FUZZ=OFF >/dev/null
cmake --build "$build" -j4 --target gif_bench >/dev/null

convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert
dir=${GIF_BENCH_DIR:-$(mktemp -d)}
mkdir -p "$dir"
make() {  # name, convert arguments...
  local name=$1; shift
  [ -s "$dir/$name" ] || "$convert" "$@" "$dir/$name"
}
make photo.gif -seed 1 -size 4000x3000 plasma:fractal
make photo-interlaced.gif -seed 1 -size 4000x3000 plasma:fractal -interlace Line
make gradient.gif -size 4000x3000 gradient:navy-orange +dither -colors 256
make noise.gif -seed 2 -size 3000x2000 xc:gray +noise Random
make checker.gif -size 4000x4000 pattern:checkerboard
"$build/bench/components/gif_bench" "$dir"/*.gif
