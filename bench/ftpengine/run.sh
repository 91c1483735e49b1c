#!/usr/bin/env bash
# Transfer rate of the FTP engine against curl: one file (256 MiB unless
# BENCH_MIB says otherwise) over loopback from and to vsftpd, download and
# upload, passive and active. Prints MiB/s for each, the ratio ours/curl, and
# our progress events and socket/engine messages, in all and per MiB.
# Not part of the tests: run it by hand.
#
# Wine runs most calls (messages, socket calls) as a round trip to its server
# process. On a virtual machine a wake-up across CPUs costs ~45 us against ~6 us
# on one CPU, so by default the Wine server and our program share CPU 0
# (BENCH_PIN=0 lets them float); vsftpd and curl are never pinned.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)

if [ "${1:-}" != "--inner" ]; then
  "$root/scripts/setup.sh" >/dev/null
  "$root/scripts/build.sh" >/dev/null
  source "$root/scripts/wine-env.sh"
  [ -d "$WINEPREFIX" ] || qf_make_prefix
  qf_stop_wine
  if [ "${BENCH_PIN:-1}" != 0 ]; then
    taskset -c 0 bash -c 'source "$1/scripts/wine-env.sh"; qf_warm_wine "$QF_WIN_BUILD/tests/support/keeper.exe"' _ "$root"
  else
    qf_warm_wine "$QF_WIN_BUILD/tests/support/keeper.exe"
  fi
  trap qf_stop_wine EXIT
  /usr/bin/python3 "$root/tests/support/peers.py" --peers vsftpd -- "$0" --inner
  exit $?
fi

source "$root/scripts/wine-env.sh"
bench="$QF_WIN_BUILD/bench/ftpengine/ftp_bench.exe"
port=$QF_VSFTPD_PORT
srv=$QF_VSFTPD_ROOT
mib=${BENCH_MIB:-256}
pin=""
[ "${BENCH_PIN:-1}" != 0 ] && pin="taskset -c 0"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

head -c $((mib * 1048576)) /dev/urandom >"$srv/src.bin"
cp "$srv/src.bin" "$work/up.bin"
want=$(sha256sum <"$srv/src.bin" | cut -d' ' -f1)

check() {  # file
  local got
  got=$(sha256sum <"$1" | cut -d' ' -f1)
  if [ "$got" != "$want" ]; then echo "  MISMATCH: $1" >&2; exit 1; fi
  rm -f "$1"
}

mibs() { awk -v b="$1" 'BEGIN { printf "%.1f", b / 1048576 }'; }

# One row: our program and curl move the same file the same way.
row() {  # label, file ours wrote, file curl wrote, curl's speed variable, curl arguments...
  local label=$1 oursfile=$2 curlfile=$3 var=$4 ours events msgs speed curl_mibs
  shift 4
  read -r ours _ _ events msgs < <($pin "$QF_WINE" "$bench" 127.0.0.1 "$port" anonymous guest "${ourargs[@]}" </dev/null)
  check "$oursfile"
  speed=$(curl -s "${curlmode[@]}" -w "%{$var}" "$@")
  check "$curlfile"
  curl_mibs=$(mibs "$speed")
  printf "%-16s %10s %10s %9s %9s %9s %12s %12s\n" "$label" "$ours" "$curl_mibs" \
    "$(awk -v a="$ours" -v b="$curl_mibs" 'BEGIN { printf "%.2f", a / b }')" "$events" "$msgs" \
    "$(awk -v a="$events" -v m="$mib" 'BEGIN { printf "%.1f", a / m }')" \
    "$(awk -v a="$msgs" -v m="$mib" 'BEGIN { printf "%.1f", a / m }')"
}

echo "$mib MiB over loopback with vsftpd; blocks of up to 256 KiB received, 1 MiB sent; Wine ${pin:-not pinned}"
printf "%-16s %10s %10s %9s %9s %9s %12s %12s\n" "transfer" "ours MiB/s" "curl MiB/s" "ours/curl" "progress" \
  "messages" "progress/MiB" "messages/MiB"
for mode in pasv port; do
  if [ $mode = pasv ]; then curlmode=(--disable-epsv); else curlmode=(-P 127.0.0.1 --disable-eprt); fi
  ourargs=(get $mode src.bin "Z:$work/ours.bin")
  row "download $mode" "$work/ours.bin" "$work/curl.bin" speed_download \
    -o "$work/curl.bin" "ftp://127.0.0.1:$port/src.bin"
  ourargs=(put $mode up_ours.bin "Z:$work/up.bin")
  row "upload $mode" "$srv/up_ours.bin" "$srv/up_curl.bin" speed_upload \
    -T "$work/up.bin" "ftp://127.0.0.1:$port/up_curl.bin"
done
rm -f "$srv/src.bin"
