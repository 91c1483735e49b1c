#!/usr/bin/env bash
# Sets the machine up, builds and starts a program of the suite under Wine in
# a virtual X display (default: the FTP client). Usage: scripts/run.sh [QuillonFTP|SBF]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-QuillonFTP}
case $program in
  QuillonFTP) targets=(QuillonFTP) ;;
  # SBF reaches the engine and the file objects through COM.
  SBF) targets=(SBF Gleaner Kestrel) ;;
  *) echo "unknown program: $program (QuillonFTP or SBF)" >&2; exit 2 ;;
esac
"$root/scripts/setup.sh"
source "$root/scripts/wine-env.sh"
# Only the program and what it needs, in the build that the Wine here runs
# (the 64-bit one stands in where 32-bit code cannot run); no tests, no benchmarks.
toolchain=mingw-i686
[ "$QF_WINE_BITS" = 64 ] && toolchain=mingw-x86_64
cmake -S "$root" -B "$QF_WIN_BUILD" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$QF_WIN_BUILD" -j"$(nproc)" --target "${targets[@]}"
exe=$(find "$QF_WIN_BUILD" -name "$program.exe" -not -path '*/tests/*' -print -quit)
if [ -z "$exe" ]; then
  echo "$program.exe was not built" >&2
  exit 1
fi
export WINEPREFIX="$root/build/run-prefix$QF_WINE_BITS"
[ -d "$WINEPREFIX" ] || wine wineboot -i >/dev/null 2>&1 || true
# A server (and its desktop) started without the display cannot make windows
# on the virtual one: end it before the program starts under Xvfb.
fresh_server() { wineserver -k >/dev/null 2>&1 || true; wineserver -w >/dev/null 2>&1 || true; }
winpath() { echo "Z:$1" | tr / '\\'; }

if [ "$program" = QuillonFTP ]; then
  # The "Local demo" site: a pyftpdlib server on 127.0.0.1 serving a small demo folder.
  sites="$(dirname "$exe")/FTPServers.ini"
  demo="$root/build/demo-ftp"
  if [ ! -f "$sites" ]; then
    port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
    printf '[General]\r\nCount=1\r\n[Server1]\r\nName="Local demo"\r\nHostname="127.0.0.1"\r\nPort="%s"\r\nUsername="anonymous"\r\nPassword="demo@example.com"\r\nPASV=Yes\r\n' "$port" >"$sites"
    echo "Wrote the site file $sites with the site \"Local demo\" (port $port)."
  fi
  port=$(grep -A3 -i '^Name="Local demo"' "$sites" | sed -n 's/^Port="\([0-9]*\)".*/\1/p' | head -n 1)
  if [ -n "$port" ]; then
    mkdir -p "$demo/docs/empty"
    [ -f "$demo/readme.txt" ] || printf 'A demo folder of QuillonFTP.\nDownload, upload, rename and delete freely.\n' >"$demo/readme.txt"
    [ -f "$demo/docs/sample.bin" ] || head -c 200000 /dev/urandom >"$demo/docs/sample.bin"
    /usr/bin/python3 "$root/tests/support/peers/ftp.py" "$port" "$demo" "$((port + 1))" "$((port + 20))" elradfmwMT \
      >/dev/null 2>&1 &
    server=$!
    trap 'kill "$server" 2>/dev/null || true' EXIT
    sleep 1
    echo "Demo FTP server on 127.0.0.1:$port serving $demo"
  fi
fi

if [ "$program" = SBF ]; then
  # SBF drives the engine and the automation library through COM.
  wineserver -p >/dev/null 2>&1 || true
  wine "$(dirname "$exe")/../gleaner/Gleaner.exe" /RegServer || true
  kestrel=$(find "$QF_WIN_BUILD" -name Kestrel.dll -not -path '*/tests/*' -print -quit)
  [ -z "$kestrel" ] || wine regsvr32 /s "$kestrel" || true
  # A small demo site on an HTTP server of the test peers, on 127.0.0.1
  # only; its start page is the start address the window comes up with.
  port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
  /usr/bin/python3 "$root/tests/support/peers/http.py" "$port" "$root/searchwindow/DemoSite" 0 >/dev/null 2>&1 &
  server=$!
  trap 'kill "$server" 2>/dev/null || true' EXIT
  for _ in $(seq 50); do (echo >"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break; sleep 0.1; done
  export SBF_START_ADDRESS="http://127.0.0.1:$port/index.htm"
  echo "Demo site on $SBF_START_ADDRESS serving $root/searchwindow/DemoSite"
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    "$QF_WINE" "$exe"
    exit 0
  fi
  # No display: crawl the demo site under Xvfb and save pictures of the
  # found list and of the Results panel.
  shot="$root/build/screenshots/$program.bmp"
  mkdir -p "$(dirname "$shot")"
  rm -f "$shot" "${shot%.bmp}.png" "${shot%.bmp}-results.bmp" "${shot%.bmp}-results.png"
  fresh_server
  QF_SCREENSHOT=$(winpath "$shot") xvfb-run -a -s "-screen 0 1280x1024x24" "$QF_WINE" "$exe" || true
  saved=0
  for f in "$shot" "${shot%.bmp}-results.bmp"; do
    if [ -f "$f" ]; then
      /usr/bin/python3 "$root/ftpclient/bmp2png.py" "$f" "${f%.bmp}.png" && rm -f "$f"
      echo "No display: crawled the demo site under Xvfb; screenshot saved to ${f%.bmp}.png"
      saved=$((saved + 1))
    fi
  done
  [ "$saved" = 2 ] || { echo "No display: ran under Xvfb, but the screenshots were not saved" >&2; exit 1; }
  exit 0
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  "$QF_WINE" "$exe"
elif [ "$program" != QuillonFTP ]; then
  fresh_server
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$QF_WINE" "$exe"
else
  # No display: run under Xvfb, connect to the first site, save a screenshot and close.
  shot="$root/build/screenshots/$program.bmp"
  mkdir -p "$(dirname "$shot")"
  rm -f "$shot" "${shot%.bmp}.png"
  fresh_server
  QF_SCREENSHOT=$(winpath "$shot") xvfb-run -a -s "-screen 0 1280x1024x24" "$QF_WINE" "$exe" || true
  if [ -f "$shot" ]; then
    for f in "$shot" "${shot%.bmp}-progress.bmp"; do
      if [ -f "$f" ]; then /usr/bin/python3 "$root/ftpclient/bmp2png.py" "$f" "${f%.bmp}.png" && rm -f "$f"; fi
    done
    shot="${shot%.bmp}.png"
    echo "No display: ran under Xvfb; screenshot saved to $shot"
  else
    echo "No display: ran under Xvfb, but no screenshot was saved" >&2
    exit 1
  fi
fi
