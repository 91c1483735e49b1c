#!/usr/bin/env bash
# Configures and builds the Windows programs (build/win) and, with --host,
# the window-free cores natively with clang and sanitizers (build/host).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

cmake -S "$root" -B "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/win" -j"$jobs"

if [ "${1:-}" = "--host" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$root/build/host" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$root/build/host" -j"$jobs"
fi
