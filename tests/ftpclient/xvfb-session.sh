#!/usr/bin/env bash
# One session of the real program under Xvfb, against the pyftpdlib peer
# (run through tests/support/peers.py): start, connect, download, upload,
# exit. Then checks the files on both sides, the site file and the registry
# the program left, and keeps the pictures it took under <build>/screenshots.
# Usage: peers.py --peers ftp -- xvfb-session.sh <QuillonFTP.exe> <build folder>
set -euo pipefail
exe=$1
build=$2
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$root/scripts/wine-env.sh"
# A prefix of its own with a real graphics driver (the tests' one has the null driver).
export WINEPREFIX="$build/session-prefix$QF_WINE_BITS"
if [ ! -d "$WINEPREFIX" ]; then
  wine wineboot -i >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
fi
winpath() { echo "Z:$1" | tr / '\\'; }
fail() { echo "FAILED: $*" >&2; exit 1; }

work="$build/session"
rm -rf "$work"
mkdir -p "$work/program" "$work/local"
# A program folder of its own: the site file lives beside the program.
cp "$exe" "$work/program/QuillonFTP.exe"
head -c 2000000 /dev/urandom >"$QF_FTP_ROOT/session-get.bin"
head -c 30000 /dev/urandom >"$work/local/session-put.bin"
printf '[General]\r\nCount=1\r\n[Server1]\r\nName="Session"\r\nHostname="127.0.0.1"\r\nPort="%s"\r\nUsername="anonymous"\r\nPassword="session@example.com"\r\nPASV=Yes\r\n' \
  "$QF_FTP_PORT" >"$work/program/FTPServers.ini"
wine reg delete 'HKCU\Software\Orvane Software' /f >/dev/null 2>&1 || true
# The server (and its desktop) started without a display would give the
# program no screen to open windows on: it starts again under Xvfb.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true

shots="$build/screenshots"
mkdir -p "$shots"
rm -f "$shots"/session*.bmp "$shots"/session*.png
status=0
QF_SCREENSHOT=$(winpath "$shots/session.bmp") QF_SESSION_GET=session-get.bin QF_SESSION_PUT=session-put.bin \
  QF_SESSION_LOCAL=$(winpath "$work/local") \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$QF_WINE" "$work/program/QuillonFTP.exe" </dev/null || status=$?
# The registry reaches the prefix's files when the server ends.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
for f in "$shots"/session*.bmp; do
  [ -f "$f" ] && /usr/bin/python3 "$root/ftpclient/bmp2png.py" "$f" "${f%.bmp}.png" && rm -f "$f"
done
ls -l "$shots"/session*.png || true

[ "$status" = 0 ] || fail "the program reported $status failed steps"
cmp "$QF_FTP_ROOT/session-get.bin" "$work/local/session-get.bin" || fail "download differs"
cmp "$work/local/session-put.bin" "$QF_FTP_ROOT/session-put.bin" || fail "upload differs"
sites="$work/program/FTPServers.ini"
grep -q '^Temp=Temp' "$sites" || fail "site file not written by the program"
grep -q '^Name="Session"' "$sites" || fail "site lost from the site file"
grep -q '^PASV=Yes' "$sites" || fail "PASV not kept"
reg="$WINEPREFIX/user.reg"
grep -q 'Orvane Software\\\\Larch FTP\\\\Interface\]' "$reg" || fail "interface values not in the registry"
grep -q '"LocalDir"=' "$reg" || fail "LocalDir not in the registry"
grep -q '"LogVisible"=dword:00000001' "$reg" || fail "the shown log not kept in the registry"
grep -q 'Orvane Software\\\\Larch FTP\\\\QuillonFTP.INI\\\\frmMain\]' "$reg" || fail "window position not in the registry"
for p in session session-log session-small session-progress session-uploaded session-tip session-menuhint; do
  [ -s "$shots/$p.png" ] || fail "no picture $p.png"
done
echo "session passed; pictures in $shots"
