#!/usr/bin/env bash
# Shows the components' demo form under Xvfb and saves its picture as
# build/<win64|win>/components-demo.bmp (after scripts/build.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-env.sh"
export WINEPREFIX="$root/build/run-prefix$QF_WINE_BITS"
[ -d "$WINEPREFIX" ] || wine wineboot -i >/dev/null 2>&1 || true
out="$QF_WIN_BUILD/components-demo.bmp"
xvfb-run -a -s "-screen 0 1280x1024x24" "$QF_WINE" "$QF_WIN_BUILD/components/components_demo.exe" "$(wine winepath -w "$out" 2>/dev/null | tr -d '\r')"
