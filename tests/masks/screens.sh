#!/usr/bin/env bash
# Screenshots of the mask wizard's pages, the filter dialogs and a report under Xvfb,
# into build/shots (x-*.png). Usage: tests/masks/screens.sh (after a build).
set -eo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"; fi
cd "$root"
source scripts/wine-env.sh
export WINEPREFIX=$root/build/run-prefix$QF_WINE_BITS QF_SHOT_PAUSE=1
[ -d "$WINEPREFIX" ] || wine wineboot -i >/dev/null 2>&1 || true
mkdir -p build/shots
rm -f build/shots/*.ready build/shots/x-*.png
folder="Z:$(echo "$root/build/shots" | tr / '\\')"
"$QF_WINE" "$QF_WIN_BUILD/tests/masks/masks_screens.exe" "$folder" >build/shots/screens.log 2>&1 &
pid=$!
# The .ready file of each window gives its size and place on the screen.
for n in wizard-page0 wizard-page1 wizard-page2 wizard-page3 filter-add filter report; do
  for _ in $(seq 1 600); do [ -f "build/shots/$n.ready" ] && break; sleep 0.1; done
  sleep 1
  import -window root "build/shots/full-$n.png"
  read -r w h x y < "build/shots/$n.ready"
  convert "build/shots/full-$n.png" -crop "${w}x${h}+${x}+${y}" +repage "build/shots/x-$n.png"
done
wait $pid
