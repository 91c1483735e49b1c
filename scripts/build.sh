#!/usr/bin/env bash
# Configures and builds the Windows programs (build/win, 32-bit: what we ship)
# and, with --host, the window-free cores natively with clang and sanitizers
# (build/host). On a machine that cannot execute 32-bit code the tests run a
# 64-bit build of the same sources (build/win64); the 32-bit build then makes
# only the programs, so that it keeps compiling. The benchmarks are built too,
# unless --no-bench (the test run, which does not run them).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
host=0 bench=(--target all qf_bench)
for arg in "$@"; do
  case $arg in
    --host) host=1 ;;
    --no-bench) bench=() ;;
    *) echo "unknown argument: $arg" >&2; exit 2 ;;
  esac
done
source "$root/scripts/wine-env.sh"

cmake -S "$root" -B "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
if [ "$QF_WINE_BITS" = 64 ]; then
  cmake --build "$root/build/win" -j"$jobs" --target qf_programs
  cmake -S "$root" -B "$root/build/win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$root/build/win64" -j"$jobs" "${bench[@]}"
else
  cmake --build "$root/build/win" -j"$jobs" "${bench[@]}"
fi

if [ "$host" = 1 ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$root/build/host" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$root/build/host" -j"$jobs" "${bench[@]}"
fi
