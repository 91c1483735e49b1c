#!/usr/bin/env bash
# Transfer rate of the FTP engine against curl and against the ceiling of the
# platform: one file (256 MiB unless BENCH_MIB says otherwise) over loopback
# from and to vsftpd, download and upload, passive and active.
#
#   bare  ftp_bare_bench: blocking Winsock calls in a loop under the same Wine,
#         with the engine's block sizes and the file read or written in the loop
#   ours  ftp_bench: the engine's blocking Get and Put
#   curl  curl, native
#
# Each row runs BENCH_ROUNDS times (3 by default), the programs one after the
# other within a round; rates are medians, ratios the medians of each round's
# ratio (so a machine whose load drifts compares like with like). The row also
# gives our progress events and socket/engine messages per MiB.
# BENCH_BEFORE=<an ftp_bench.exe built from an earlier commit> adds its rate
# in the same rounds, for before/after figures from one run.
# Not part of the tests: run it by hand.
#
# Wine runs most calls (messages, socket calls) as a round trip to its server
# process. On a virtual machine a wake-up across CPUs costs ~45 us against ~6 us
# on one CPU, so by default the Wine server and the Windows programs share CPU 0
# (BENCH_CPUS=0,1 gives them two, BENCH_PIN=0 lets them float); vsftpd and curl
# are never pinned.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)

if [ "${1:-}" != "--inner" ]; then
  "$root/scripts/setup.sh" >/dev/null
  "$root/scripts/build.sh" >/dev/null
  source "$root/scripts/wine-env.sh"
  [ -d "$WINEPREFIX" ] || qf_make_prefix
  qf_stop_wine
  if [ "${BENCH_PIN:-1}" != 0 ]; then
    taskset -c "${BENCH_CPUS:-0}" bash -c 'source "$1/scripts/wine-env.sh"; qf_warm_wine "$QF_WIN_BUILD/tests/support/keeper.exe"' _ "$root"
  else
    qf_warm_wine "$QF_WIN_BUILD/tests/support/keeper.exe"
  fi
  trap qf_stop_wine EXIT
  /usr/bin/python3 "$root/tests/support/peers.py" --peers vsftpd -- "$0" --inner
  exit $?
fi

source "$root/scripts/wine-env.sh"
bench=${BENCH_OURS:-$QF_WIN_BUILD/bench/ftpengine/ftp_bench.exe}
bare=${BENCH_BARE:-$QF_WIN_BUILD/bench/ftpengine/ftp_bare_bench.exe}
before=${BENCH_BEFORE:-}
port=$QF_VSFTPD_PORT
srv=$QF_VSFTPD_ROOT
mib=${BENCH_MIB:-256}
rounds=${BENCH_ROUNDS:-3}
pin=""
[ "${BENCH_PIN:-1}" != 0 ] && pin="taskset -c ${BENCH_CPUS:-0}"
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

median() {  # numbers as arguments
  printf '%s\n' "$@" | sort -g | awk '{ a[NR] = $1 } END {
    if (NR % 2) printf "%.2f", a[(NR + 1) / 2]; else printf "%.2f", (a[NR / 2] + a[NR / 2 + 1]) / 2 }'
}
div() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

# A Windows bench program moving the file: its MiB/s in $rate, the rest of its line in $extra.
winrun() {  # exe, get|put, pasv|port, remote, local
  local line
  line=$($pin "$QF_WINE" "$1" 127.0.0.1 "$port" anonymous guest "$2" "$3" "$4" "$5" </dev/null)
  read -r rate _ _ extra <<<"$line"
}

# One row: each program moves the same file the same way, BENCH_ROUNDS times.
row() {  # get|put, pasv|port
  local dir=$1 mode=$2 r rate extra events msgs
  local -a ours=() bares=() curls=() befores=() oc=() ob=() bc=() fc=() ev=() ms=() curlmode
  if [ "$mode" = pasv ]; then curlmode=(--disable-epsv); else curlmode=(-P 127.0.0.1 --disable-eprt); fi
  for ((r = 0; r < rounds; r++)); do
    if [ "$dir" = get ]; then
      winrun "$bench" get "$mode" src.bin "Z:$work/ours.bin"; check "$work/ours.bin"
    else
      winrun "$bench" put "$mode" up_ours.bin "Z:$work/up.bin"; check "$srv/up_ours.bin"
    fi
    read -r events msgs <<<"$extra"
    ours+=("$rate"); ev+=("$events"); ms+=("$msgs")
    if [ "$dir" = get ]; then
      winrun "$bare" get "$mode" src.bin "Z:$work/bare.bin"; check "$work/bare.bin"
    else
      winrun "$bare" put "$mode" up_bare.bin "Z:$work/up.bin"; check "$srv/up_bare.bin"
    fi
    bares+=("$rate")
    if [ "$dir" = get ]; then
      rate=$(curl -s "${curlmode[@]}" -w "%{speed_download}" -o "$work/curl.bin" "ftp://127.0.0.1:$port/src.bin")
      check "$work/curl.bin"
    else
      rate=$(curl -s "${curlmode[@]}" -w "%{speed_upload}" -T "$work/up.bin" "ftp://127.0.0.1:$port/up_curl.bin")
      check "$srv/up_curl.bin"
    fi
    rate=$(awk -v b="$rate" 'BEGIN { printf "%.1f", b / 1048576 }')
    curls+=("$rate")
    oc+=("$(div "${ours[r]}" "$rate")"); ob+=("$(div "${ours[r]}" "${bares[r]}")"); bc+=("$(div "${bares[r]}" "$rate")")
    if [ -n "$before" ]; then
      if [ "$dir" = get ]; then
        winrun "$before" get "$mode" src.bin "Z:$work/before.bin"; check "$work/before.bin"
      else
        winrun "$before" put "$mode" up_before.bin "Z:$work/up.bin"; check "$srv/up_before.bin"
      fi
      befores+=("$rate"); fc+=("$(div "$rate" "${curls[r]}")")
    fi
  done
  printf "%-14s %8s %8s %8s %9s %9s %9s %10s %10s" "$(if [ "$dir" = get ]; then echo download; else echo upload; fi) $mode" \
    "$(median "${bares[@]}")" "$(median "${ours[@]}")" "$(median "${curls[@]}")" \
    "$(median "${oc[@]}")" "$(median "${ob[@]}")" "$(median "${bc[@]}")" \
    "$(awk -v a="$(median "${ev[@]}")" -v m="$mib" 'BEGIN { printf "%.1f", a / m }')" \
    "$(awk -v a="$(median "${ms[@]}")" -v m="$mib" 'BEGIN { printf "%.1f", a / m }')"
  if [ -n "$before" ]; then printf " %8s %11s" "$(median "${befores[@]}")" "$(median "${fc[@]}")"; fi
  printf "\n"
}

echo "$mib MiB over loopback with vsftpd, $rounds rounds (medians); blocks of up to" \
  "$(grep -o 'ReceiveBlock = [0-9]*' "$root/ftpengine/FtpTransfer.h" | grep -o '[0-9]*') bytes received," \
  "$(grep -o 'SendBlock = [0-9]*' "$root/ftpengine/FtpTransfer.h" | grep -o '[0-9]*') sent; Wine ${pin:-not pinned}"
printf "%-14s %8s %8s %8s %9s %9s %9s %10s %10s" "transfer" "bare" "ours" "curl" "ours/curl" "ours/bare" \
  "bare/curl" "progr/MiB" "msgs/MiB"
if [ -n "$before" ]; then printf " %8s %11s" "before" "before/curl"; fi
printf "\n"
for mode in pasv port; do
  row get $mode
  row put $mode
done
rm -f "$srv/src.bin"
