#!/usr/bin/env bash
# Screenshots of the mask wizard's pages and the filter dialogs under Xvfb,
# into build/shots (x-*.png). Usage: tests/masks/screens.sh (after a build).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"; fi
cd "$root"
source scripts/wine-env.sh
export WINEPREFIX=$root/build/run-prefix$QF_WINE_BITS QF_SHOT_PAUSE=1
[ -d "$WINEPREFIX" ] || wine wineboot -i >/dev/null 2>&1 || true
mkdir -p build/shots
rm -f build/shots/*.ready build/shots/x-*.png
"$QF_WINE" "$QF_WIN_BUILD/tests/masks/masks_screens.exe" "Z:${root//\//\\}\\build\\shots" 2>/dev/null &
pid=$!
# Each window is centred on the 1280x1024 screen; its .bmp gives its size.
for n in wizard-page0 wizard-page1 wizard-page2 wizard-page3 filter-add filter; do
  for _ in $(seq 1 200); do [ -f build/shots/$n.ready ] && break; sleep 0.1; done
  sleep 1
  import -window root build/shots/full-$n.png
  read -r w h < <(identify -format "%w %h" build/shots/$n.bmp)
  convert build/shots/full-$n.png -crop "${w}x${h}+$(( (1280 - w) / 2 ))+$(( (1024 - h) / 2 ))" +repage build/shots/x-$n.png
done
wait $pid
