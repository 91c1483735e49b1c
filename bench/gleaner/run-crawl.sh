#!/usr/bin/env bash
# Crawl benchmark: a generated site of 2,000 linked pages served on
# 127.0.0.1, crawled by Gleaner.exe with 6 channels (under Wine) and by
# "wget -r" in the same run. Prints pages per second for both and, as the
# floor under Gleaner, the same pages fetched by WinINet alone from as many
# threads (no crawl, no masks, no automation); then the ratios of Gleaner to
# WinINet alone and to wget.
#   bench/gleaner/run-crawl.sh [pages] [channels] [rounds]
#
# Wine runs most calls as a round trip to its server process, and on a virtual
# machine a wake-up across CPUs costs several times one on the same CPU; so by
# default the Wine server and Gleaner share CPU 0 (BENCH_PIN=0 lets them float).
# The HTTP server and wget are never pinned.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
pages=${1:-2000}
channels=${2:-6}
rounds=${3:-1}

source "$root/scripts/wine-env.sh"
[ -x "$(command -v wget)" ] || { echo "wget is missing (scripts/setup.sh installs it)"; exit 1; }
if [ ! -f "$QF_WIN_BUILD/bench/gleaner/gleaner_crawl_bench.exe" ]; then "$root/scripts/build.sh"; fi

work=$(mktemp -d)
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  "$QF_WINE" "$QF_WIN_BUILD/gleaner/Gleaner.exe" /UnregServer >/dev/null 2>&1 || true
  qf_stop_wine
  rm -rf "$work"
}

# The site: a tree (page i links to pages 10i+1 .. 10i+10) with a link back
# to the first page and one to the next page on every page, about 3 KB each.
/usr/bin/python3 - "$work/site" "$pages" <<'PY'
import os, sys
root, n = sys.argv[1], int(sys.argv[2])
os.makedirs(root)
words = "engine search record portion mask value channel crawl document address".split()
for i in range(n):
    links = [10 * i + k for k in range(1, 11) if 10 * i + k < n] + [0, (i + 1) % n]
    body = "".join("<p>%s</p>\n" % " ".join(words[(i + j + k) % 10] for k in range(40)) for j in range(6))
    a = "".join('<li><a href="p%d.htm">page %d</a></li>\n' % (l, l) for l in links)
    with open(os.path.join(root, "p%d.htm" % i), "w") as f:
        f.write("<html><head><title>Page %d</title></head>\n<body>\n%s<ul>\n%s</ul>\n</body></html>\n" % (i, body, a))
PY

port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
/usr/bin/python3 "$root/tests/support/peers/http.py" "$port" "$work/site" >/dev/null 2>&1 &
server_pid=$!
for _ in $(seq 100); do (echo >/dev/tcp/127.0.0.1/$port) 2>/dev/null && break; sleep 0.05; done

source "$root/scripts/wine-env.sh"
export WINEPREFIX="$root/build/bench-prefix$QF_WINE_BITS"
[ -d "$WINEPREFIX" ] || qf_make_prefix
trap cleanup EXIT
pin=""
[ "${BENCH_PIN:-1}" != 0 ] && pin="taskset -c 0"
qf_stop_wine
$pin bash -c 'source "$1/scripts/wine-env.sh"; qf_warm_wine "$QF_WIN_BUILD/tests/support/keeper.exe"' _ "$root"
$pin "$QF_WINE" "$QF_WIN_BUILD/gleaner/Gleaner.exe" /RegServer

echo "== $pages pages on 127.0.0.1:$port; Wine ${pin:-not pinned}"
# Clock ticks of user and system time used so far by every process of this
# Wine prefix (the server included).
prefix_ticks() {
  /usr/bin/python3 - "$WINEPREFIX" <<'PY'
import os, sys
want = b"WINEPREFIX=" + os.fsencode(sys.argv[1])
total = 0
for p in os.listdir("/proc"):
    if not p.isdigit():
        continue
    try:
        with open("/proc/%s/environ" % p, "rb") as f:
            if want not in f.read().split(b"\0"):
                continue
        with open("/proc/%s/stat" % p) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        total += int(fields[11]) + int(fields[12])
    except OSError:
        pass
print(total)
PY
}
# Runs the benchmark program; its output is taken whole and then printed, so
# that no line is cut by another's. The CPU time of the prefix is read at the
# marks the program prints around the measured part.
run_bench() {
  local out="" line a=0 b=0
  while IFS= read -r line; do
    line=${line%$'\r'}
    case "$line" in
      phase=begin) a=$(prefix_ticks) ;;
      phase=end) b=$(prefix_ticks) ;;
      *) out+="$line"$'\n' ;;
    esac
  done < <($pin "$QF_WINE" "$QF_WIN_BUILD/bench/gleaner/gleaner_crawl_bench.exe" "$@" 2>&1)
  ticks=$((b - a))
  printf '%s' "$out"
}
rate() { sed -n 's/.*pages_per_second=\([0-9.]*\).*/\1/p' <<<"$1" | tail -n 1; }
hz=$(getconf CLK_TCK)
# One line of the program's output with its CPU time per page added.
with_cpu() {
  echo "${1%$'\n'} cpu_ms_per_page=$(awk -v t="$2" -v hz="$hz" -v n="$pages" 'BEGIN{printf "%.3f", t * 1000 / hz / n}')"
}
# Rounds take the three in turn, so that a busy spell of the machine falls
# on all of them alike; the medians of the rounds are the figures.
: >"$work/rounds"
for round in $(seq "$rounds"); do
  [ "$rounds" -gt 1 ] && echo "-- round $round"
  line=$(run_bench "http://127.0.0.1:$port/p0.htm" "$channels"; echo "cpu_ticks=$ticks")
  ours_cpu=${line##*cpu_ticks=}
  line=${line%cpu_ticks=*}
  with_cpu "$line" "$ours_cpu"
  ours=$(rate "$line")

  line=$(run_bench --wininet "http://127.0.0.1:$port" "$pages" "$channels"; echo "cpu_ticks=$ticks")
  floor_cpu=${line##*cpu_ticks=}
  line=${line%cpu_ticks=*}
  with_cpu "$line" "$floor_cpu"
  floor=$(rate "$line")

  rm -rf "$work/wget"
  start=$(date +%s.%N)
  wget -q -r -l inf -nH -P "$work/wget" "http://127.0.0.1:$port/p0.htm" || true
  end=$(date +%s.%N)
  got=$(find "$work/wget" -name '*.htm' | wc -l)
  theirs=$(awk -v n="$got" -v a="$start" -v b="$end" 'BEGIN{printf "%.1f", n / (b - a)}')
  echo "wget -r: pages=$got seconds=$(awk -v a="$start" -v b="$end" 'BEGIN{printf "%.3f", b - a}') pages_per_second=$theirs"
  echo "${ours:-0} ${floor:-0} $theirs ${ours_cpu:-0} ${floor_cpu:-0}" >>"$work/rounds"
done
/usr/bin/python3 - "$work/rounds" <<'PY'
import statistics, sys
rows = [[float(x) for x in line.split()] for line in open(sys.argv[1]) if line.strip()]
def ratio(a, b):
    return a / b if b else 0.0
wininet = [ratio(r[0], r[1]) for r in rows]
wget = [ratio(r[0], r[2]) for r in rows]
cpu = [ratio(r[3], r[4]) for r in rows]  # above 1 when Gleaner spends more per page
if len(rows) > 1:
    print("rounds: gleaner/wininet %s" % " ".join("%.2f" % x for x in wininet))
    print("rounds: cpu per page gleaner/wininet %s" % " ".join("%.2f" % x for x in cpu))
    print("median of %d rounds:" % len(rows))
print("ratio gleaner/wininet: %.2f" % statistics.median(wininet))
print("ratio gleaner/wget: %.2f" % statistics.median(wget))
print("cpu per page gleaner/wininet: %.2f" % statistics.median(cpu))
PY
