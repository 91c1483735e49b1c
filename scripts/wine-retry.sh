#!/usr/bin/env bash
# Runs a short Windows command under Wine, again when a try hangs: on a busy
# machine a process starting among many others now and then never gets going.
# Usage: wine-retry.sh <seconds per try> <program> [args...]
limit=$1; shift
for try in 1 2 3; do
  timeout -k 5 "$limit" "$(dirname "${BASH_SOURCE[0]}")/wine-run.sh" "$@" && exit 0
  rc=$?
  [ "$rc" -ne 124 ] && [ "$rc" -ne 137 ] && exit "$rc"   # a real failure is not retried
  echo "try $try did not end within $limit s" >&2
done
exit 1
