#!/usr/bin/env bash
# Sets the machine up, builds, and runs every test:
#   1. the Windows build's tests under Wine (a throw-away prefix, warm server, ctest -j),
#   2. the window-free cores natively under AddressSanitizer and UndefinedBehaviorSanitizer,
#   3. each fuzz target for a bounded time (FUZZ_SECONDS, default 30).
# Arguments are passed to both ctest runs (for example -R SocketTest to run some tests).
# QF_SKIP_HOST=1 skips steps 2 and 3.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
start=$(date +%s)

"$root/scripts/setup.sh"
if [ "${QF_SKIP_HOST:-0}" = 1 ]; then "$root/scripts/build.sh"; else "$root/scripts/build.sh" --host; fi

source "$root/scripts/wine-env.sh"
export WINEPREFIX="$root/build/wineprefix"
echo "== Wine prefix"
qf_make_prefix
trap qf_stop_wine EXIT
qf_warm_wine "$root/build/win/tests/support/keeper.exe"

status=0
echo "== Windows tests under Wine"
ctest --test-dir "$root/build/win" -j"$jobs" --output-on-failure "$@" || status=1
qf_stop_wine

if [ "${QF_SKIP_HOST:-0}" != 1 ]; then
  echo "== Host tests under sanitizers"
  ASAN_OPTIONS=detect_leaks=1 ctest --test-dir "$root/build/host" -j"$jobs" --output-on-failure "$@" || status=1

  echo "== Fuzz targets (${FUZZ_SECONDS:-30} s each)"
  if [ -s "$root/build/host/fuzzers.txt" ]; then
    while read -r exe corpus; do
      work=$(mktemp -d)
      if [ "$corpus" != "-" ] && [ -d "$corpus" ]; then cp -r "$corpus"/. "$work"/; fi
      echo "-- $(basename "$exe")"
      if ! "$exe" -max_total_time="${FUZZ_SECONDS:-30}" -timeout=10 -rss_limit_mb=2048 \
           -artifact_prefix="$root/build/host/" "$work" >"$root/build/host/$(basename "$exe").log" 2>&1; then
        tail -n 40 "$root/build/host/$(basename "$exe").log"
        status=1
      fi
      rm -rf "$work"
    done <"$root/build/host/fuzzers.txt"
  fi
fi

echo "== Tests took $(( $(date +%s) - start )) s; status $status"
exit $status
