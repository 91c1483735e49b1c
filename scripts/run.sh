#!/usr/bin/env bash
# Sets the machine up, builds and starts a program of the suite under Wine in
# a virtual X display (default: the FTP client). Usage: scripts/run.sh [QuillonFTP|SBF]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-QuillonFTP}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
exe=$(find "$root/build/win" -name "$program.exe" -print -quit)
if [ -z "$exe" ]; then
  echo "$program.exe is not part of this build yet; built programs:" >&2
  find "$root/build/win" -name '*.exe' -not -path '*/tests/*' -not -path '*/googletest/*' -printf '  %f\n' >&2
  exit 1
fi
source "$root/scripts/wine-env.sh"
export WINEPREFIX="$root/build/run-prefix"
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1 || true
exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$exe"
