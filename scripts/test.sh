#!/usr/bin/env bash
# Sets the machine up, builds, and runs every test:
#   1. the Windows build's tests under Wine (a throw-away prefix, warm server, ctest -j),
#   2. the window-free cores natively under AddressSanitizer and UndefinedBehaviorSanitizer,
#   3. each fuzz target for a bounded time (FUZZ_SECONDS; by default 30, less
#      when many targets share few cores, so the step takes about a minute and a half).
# Arguments are passed to both ctest runs (for example -R SocketTest to run some tests).
# QF_SKIP_HOST=1 skips steps 2 and 3.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
start=$(date +%s)

"$root/scripts/setup.sh"
if [ "${QF_SKIP_HOST:-0}" = 1 ]; then "$root/scripts/build.sh" --no-bench; else "$root/scripts/build.sh" --no-bench --host; fi

source "$root/scripts/wine-env.sh"
echo "== Wine prefix ($QF_WINE_BITS-bit)"
qf_make_prefix
trap qf_stop_wine EXIT
qf_warm_wine "$QF_WIN_BUILD/tests/support/keeper.exe"

status=0
echo "== Windows tests under Wine"
# A Wine test that fails is run once more (Wine under load now and then loses a
# process or a message); both results stay in the log.
ctest --test-dir "$QF_WIN_BUILD" -j"$jobs" --output-on-failure --repeat until-pass:2 "$@" || status=1
qf_stop_wine

if [ "${QF_SKIP_HOST:-0}" != 1 ]; then
  echo "== Host tests under sanitizers"
  ASAN_OPTIONS=detect_leaks=1 ctest --test-dir "$root/build/host" -j"$jobs" --output-on-failure "$@" || status=1

  if [ -z "${FUZZ_SECONDS:-}" ]; then
    targets=$(grep -c . "$root/build/host/fuzzers.txt" || true)
    FUZZ_SECONDS=$(( targets > 0 ? 90 * jobs / targets : 30 ))
    [ "$FUZZ_SECONDS" -gt 30 ] && FUZZ_SECONDS=30
    [ "$FUZZ_SECONDS" -lt 5 ] && FUZZ_SECONDS=5
  fi
  echo "== Fuzz targets ($FUZZ_SECONDS s each, $jobs at a time)"
  if [ -s "$root/build/host/fuzzers.txt" ]; then
    export FUZZ_SECONDS root
    # Each target starts from a copy of its seeds; a crash leaves its input in build/host.
    if ! xargs -P "$jobs" -L 1 bash -c '
        exe=$0; corpus=$1; name=$(basename "$exe"); log="$root/build/host/$name.log"
        work=$(mktemp -d)
        if [ "$corpus" != "-" ] && [ -d "$corpus" ]; then cp -r "$corpus"/. "$work"/; fi
        if "$exe" -max_total_time="$FUZZ_SECONDS" -timeout=10 -rss_limit_mb=2048 \
             -artifact_prefix="$root/build/host/$name-" "$work" >"$log" 2>&1; then
          echo "-- $name: $(grep -o "Done [0-9]* runs" "$log" | tail -n 1)"
          rm -rf "$work"
        else
          echo "-- $name FAILED"; tail -n 40 "$log"; rm -rf "$work"; exit 1
        fi' <"$root/build/host/fuzzers.txt"; then
      status=1
    fi
  fi
fi

echo "== Tests took $(( $(date +%s) - start )) s; status $status"
exit $status
