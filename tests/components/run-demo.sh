#!/usr/bin/env bash
# Shows the components' demo form and the dock demo under Xvfb and saves
# their pictures under build/<win64|win>/screenshots (after scripts/build.sh):
# components-demo.png (the demo form's client area, drawn by the demo itself)
# and dock-demo.png (the whole screen, with the floating tool window).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-env.sh"
export WINEPREFIX="$root/build/run-prefix$QF_WINE_BITS"
[ -d "$WINEPREFIX" ] || wine wineboot -i >/dev/null 2>&1 || true
out="$QF_WIN_BUILD/screenshots"
mkdir -p "$out"
rm -f "$out/components-demo.bmp" "$out/components-demo.png" "$out/dock-demo.png"
# A desktop left by an earlier run (under the null driver, or on a display
# that is gone) makes every window fail to be created: start afresh, and
# name the X11 driver, which a prefix shared with the tests may have set to null.
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f >/dev/null 2>&1 || true
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
bmp=$(wine winepath -w "$out/components-demo.bmp" 2>/dev/null | tr -d '\r')
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "
  '$QF_WINE' '$QF_WIN_BUILD/components/components_demo.exe' '$bmp' </dev/null
  '$QF_WINE' '$QF_WIN_BUILD/tests/components/components_dock_demo.exe' 6 </dev/null &
  pid=\$!
  sleep 4; import -window root -crop 720x520+0+0 '$out/dock-demo.png' || true
  wait \$pid"
[ -f "$out/components-demo.bmp" ] && convert "$out/components-demo.bmp" "$out/components-demo.png" && rm -f "$out/components-demo.bmp"
ls "$out"/components-demo.png "$out"/dock-demo.png
