# Sourced: the Wine environment every run of the project's programs uses.
qf_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml,winealsa.drv,winepulse.drv="
export WINEPREFIX=${WINEPREFIX:-$qf_root/build/wineprefix}
# Wine's ANSI code page follows the locale: keep it fixed.
export LANG=C.UTF-8
unset LC_ALL LC_CTYPE
# WinINet honours these; tests talk to loopback only.
unset http_proxy https_proxy ftp_proxy no_proxy HTTP_PROXY HTTPS_PROXY FTP_PROXY NO_PROXY ALL_PROXY all_proxy

# Makes a fresh 32-bit prefix with the null graphics driver (windows without X).
qf_make_prefix() {
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  wineboot -i >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
}

# One warm server, the desktop process and a keeper window for the whole run:
# without them each test waits on Wine helpers that inherited its pipes.
qf_warm_wine() {
  local keeper=$1
  wineserver -p >/dev/null 2>&1 || true
  wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
  if [ -n "$keeper" ] && [ -f "$keeper" ]; then
    (wine "$keeper" </dev/null >/dev/null 2>&1 &)
  fi
}

qf_stop_wine() {
  wineserver -k >/dev/null 2>&1 || true
}
