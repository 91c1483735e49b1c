# Sourced: the Wine environment every run of the project's programs uses.
qf_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The programs are 32-bit. Some machines cannot execute 32-bit code at all
# (wine32 fails with "Exec format error"); there the tests run a 64-bit build
# of the same sources under wine64 instead. QF_WINE_BITS overrides the probe.
if [ -z "${QF_WINE_BITS:-}" ]; then
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then QF_WINE_BITS=32; else QF_WINE_BITS=64; fi
fi
export QF_WINE_BITS
if [ "$QF_WINE_BITS" = 64 ]; then
  export WINEARCH=win64
  export WINELOADER=/usr/lib/wine/wine64
  QF_WINE=/usr/lib/wine/wine64
  QF_WIN_BUILD=$qf_root/build/win64
  QF_PREFIX_NAME=wineprefix64
else
  export WINEARCH=win32
  QF_WINE=/usr/lib/wine/wine
  QF_WIN_BUILD=$qf_root/build/win
  QF_PREFIX_NAME=wineprefix
fi
export QF_WINE QF_WIN_BUILD
export WINEDEBUG=${WINEDEBUG:--all}
# No debugger on a crash: it would wait for nobody until the time-out.
export WINEDLLOVERRIDES="mscoree,mshtml,winealsa.drv,winepulse.drv=;winedbg.exe=d"
export WINEPREFIX=${WINEPREFIX:-$qf_root/build/$QF_PREFIX_NAME}
# Wine's ANSI code page and its sort order follow the locale (the sort order
# also LC_MESSAGES and LC_COLLATE): keep them all fixed by LANG alone.
export LANG=C.UTF-8
for qf_lc in $(compgen -e | grep '^LC_' || true); do unset "$qf_lc"; done
unset qf_lc
# WinINet honours these; tests talk to loopback only.
unset http_proxy https_proxy ftp_proxy no_proxy HTTP_PROXY HTTPS_PROXY FTP_PROXY NO_PROXY ALL_PROXY all_proxy

# The loader that fits the build under test (Debian's "wine" always picks wine32).
wine() { "$QF_WINE" "$@"; }

# Makes a fresh prefix with the null graphics driver (windows without X).
qf_make_prefix() {
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  wine wineboot -i >/dev/null 2>&1 || true
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
