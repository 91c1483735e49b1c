#!/usr/bin/env bash
# Runs a Windows program of the build under Wine (the CTest emulator).
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
# Now and then, while many Wine processes start at once, one dies before its
# program runs: a failure within seconds that printed nothing. That start is
# tried once more; anything the program itself says or does is not.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
for try in 1 2; do
  start=$SECONDS
  "$QF_WINE" "$@" | tee "$out"
  rc=${PIPESTATUS[0]}
  if [ "$rc" -eq 0 ] || [ -s "$out" ] || [ $((SECONDS - start)) -gt 5 ]; then exit "$rc"; fi
  echo "wine-run: the program ended at once with $rc and no output; starting it again" >&2
done
exit "$rc"
