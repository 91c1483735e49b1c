#!/usr/bin/env bash
# Sets the machine up, builds and starts a program of the suite under Wine in
# a virtual X display (default: the FTP client). Usage: scripts/run.sh [QuillonFTP|SBF]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-QuillonFTP}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
source "$root/scripts/wine-env.sh"
# The 64-bit test build stands in where 32-bit code cannot run here.
exe=$(find "$QF_WIN_BUILD" -name "$program.exe" -not -path '*/tests/*' -print -quit)
if [ -z "$exe" ]; then
  echo "$program.exe is not part of this build yet; built programs:" >&2
  find "$QF_WIN_BUILD" -name '*.exe' -not -path '*/tests/*' -not -path '*/googletest/*' -printf '  %f\n' >&2
  exit 1
fi
export WINEPREFIX="$root/build/run-prefix$QF_WINE_BITS"
[ -d "$WINEPREFIX" ] || wine wineboot -i >/dev/null 2>&1 || true
if [ "$program" = SBF ]; then
  # SBF drives the engine and the automation library through COM.
  wineserver -p >/dev/null 2>&1 || true
  wine "$(dirname "$exe")/../gleaner/Gleaner.exe" /RegServer || true
  kestrel=$(find "$QF_WIN_BUILD" -name Kestrel.dll -not -path '*/tests/*' -print -quit)
  [ -z "$kestrel" ] || wine regsvr32 /s "$kestrel" || true
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$QF_WINE" "$exe"
