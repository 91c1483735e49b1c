#!/usr/bin/env bash
# Highlights a generated 10 MB C-like text with our scheme and, in the same
# run, with Debian's highlight and source-highlight (scripts/setup.sh installs
# them), and prints the ratio of our speed to the faster of the two.
# Usage: bench/syntaxedit/run-highlight.sh [megabytes]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
mb=${1:-10}
build="$root/build/bench-host"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Release, no sanitizers: figures, not checks.
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DHOST_SANITIZE=OFF -DHOST_FUZZ=OFF >/dev/null
cmake --build "$build" -j4 --target syntaxedit_highlight_bench >/dev/null

out=$("$build/bench/syntaxedit/syntaxedit_highlight_bench" "$root/tests/syntaxedit/schemes/clike.sch" "$work/gen.c" "$mb")
echo "$out" | grep -v '^ours_mbps'
ours=$(echo "$out" | awk '/^ours_mbps/ {print $2}')
bytes=$(stat -c %s "$work/gen.c")

# Seconds of wall time of a command, its output thrown away.
timed() {
  local t0 t1
  t0=$(date +%s.%N)
  (cd "$work" && "$@" >/dev/null)  # highlight leaves a style sheet in the current folder
  t1=$(date +%s.%N)
  echo "$t0 $t1" | awk '{printf "%.3f", $2 - $1}'
}

best=0
for tool in highlight source-highlight; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool: not installed (scripts/setup.sh installs it)"
    continue
  fi
  if [ "$tool" = highlight ]; then
    secs=$(timed highlight --syntax=c --out-format=html -i "$work/gen.c")
  else
    secs=$(timed source-highlight --src-lang=c --out-format=html -i "$work/gen.c" -o STDOUT)
  fi
  rate=$(awk -v b="$bytes" -v s="$secs" 'BEGIN {printf "%.2f", b / 1e6 / s}')
  echo "$tool: $secs s, $rate MB/s"
  best=$(awk -v a="$best" -v r="$rate" 'BEGIN {print (r > a ? r : a)}')
done
if awk -v b="$best" 'BEGIN {exit !(b > 0)}'; then
  awk -v o="$ours" -v b="$best" 'BEGIN {printf "ratio ours / faster of the two: %.2f (goal >= 1.0)\n", o / b}'
fi
