#!/usr/bin/env bash
# Configures and builds the Windows programs (build/win, 32-bit: what we ship)
# and, with --host, the window-free cores natively with clang and sanitizers
# (build/host). On a machine that cannot execute 32-bit code the tests run a
# 64-bit build of the same sources (build/win64); the 32-bit build then makes
# only the programs, so that it keeps compiling.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
source "$root/scripts/wine-env.sh"

cmake -S "$root" -B "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
if [ "$QF_WINE_BITS" = 64 ]; then
  cmake --build "$root/build/win" -j"$jobs" --target qf_programs
  cmake -S "$root" -B "$root/build/win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$root/build/win64" -j"$jobs"
else
  cmake --build "$root/build/win" -j"$jobs"
fi

if [ "${1:-}" = "--host" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$root/build/host" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$root/build/host" -j"$jobs"
fi
