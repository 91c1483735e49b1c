#!/usr/bin/env bash
# Screenshots of SBF's window under Xvfb, during and after a crawl of the
# fixture site served on 127.0.0.1, saved under the build folder.
# Usage: tests/searchwindow/shots.sh (after a build of the Windows programs)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-env.sh"
out="$QF_WIN_BUILD/screenshots"
mkdir -p "$out"
# The tests' prefix (scripts/test.sh makes it), drawn on the X display for once.
export WINEPREFIX="${SHOTS_PREFIX:-$root/build/$QF_PREFIX_NAME}"
[ -d "$WINEPREFIX" ] || qf_make_prefix
port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
# The fixture site, its start page also linking to a page that never ends.
site=$(mktemp -d)
cp -r "$root/tests/searchwindow/site/." "$site/"
echo '<a href="/stall/b.htm">Held</a>' >>"$site/index.htm"
/usr/bin/python3 "$root/tests/support/peers/http.py" "$port" "$site" 0 >/dev/null 2>&1 &
server=$!
restore() {
  kill $server 2>/dev/null || true
  rm -rf "$site"
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 || true
  wineserver -k >/dev/null 2>&1 || true
}
trap restore EXIT
# The X driver first, with every Wine process ended: a desktop process left
# from the null driver would keep drawing nowhere.
"$QF_WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f >/dev/null 2>&1
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
# A warm server and desktop, as the tests have: COM starts the engine at once.
wineserver -p >/dev/null 2>&1 || true
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "
  '$QF_WINE' rundll32.exe user32.dll,GetDesktopWindow >/dev/null 2>&1
  '$QF_WINE' '$QF_WIN_BUILD/gleaner/Gleaner.exe' /RegServer
  '$QF_WINE' '$QF_WIN_BUILD/tests/searchwindow/sbf_shots.exe' 'http://127.0.0.1:$port/index.htm' '$out' </dev/null >'$out/shots.log' 2>&1 &
  pid=\$!
  sleep \${SHOT_DELAY:-6}; import -window root '$out/sbf-screen.png' || true
  wait \$pid"
for f in "$out"/*.bmp; do [ -f "$f" ] && convert "$f" "${f%.bmp}.png"; done
ls "$out"
