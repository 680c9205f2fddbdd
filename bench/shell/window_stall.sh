#!/usr/bin/env bash
# The window's worst event-loop stall while a download run fetches a 1 GiB
# video from a local nginx, with 1,000 items in the list, the window shown on a
# private Xvfb display.
#   bench/shell/window_stall.sh BUILD_FOLDER [ROUNDS] [ITEMS]
# Builds nothing: BUILD_FOLDER must hold bin/bench_window_stall
#   (cmake --build BUILD_FOLDER --target bench_window_stall).
# Needs nginx (Debian nginx-light), curl, Xvfb and python3.
set -euo pipefail
. "$(dirname "$0")/../local_nginx.sh"

build=$(cd "${1:?usage: window_stall.sh BUILD_FOLDER [ROUNDS] [ITEMS]}" && pwd)
rounds=${2:-3}
items=${3:-1000}
here=$(cd "$(dirname "$0")" && pwd)
bench="$build/bin/bench_window_stall"
[ -x "$bench" ] || { echo "no $bench: build the bench_window_stall target first" >&2; exit 1; }
for tool in nginx curl Xvfb python3; do
  command -v "$tool" > /dev/null || { echo "missing $tool" >&2; exit 1; }
done

make_work_folder window-stall
make_big_file big.flv
# A Google Video page (served for any query) whose download link is the file,
# 100 KB like the sites' pages: its fetch rebuilds the list at every read.
{
  printf '<html><a href="http://video.google.com/big.flv" class="ipoddownloadlink">iPod</a>\n'
  python3 -c 'print("<!-- %s -->" % ("page text " * 10240))'
  printf '</html>\n'
} > "$work/www/videoplay"

start_local_nginx "$work" big.flv

export TOLLIVEX_HOST_MAP="video.google.com=127.0.0.1:$port"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
unset DBUS_SESSION_BUS_ADDRESS
results="$work/results"
: > "$results"
for round in $(seq "$rounds"); do
  rm -f "$work/out/"*; sync
  line=$(sh "$here/../../tests/monitor/run-with-xvfb.sh" "$bench" \
    "http://video.google.com/videoplay?docid=big" "$work/out" "$items" 2> /dev/null) || {
    echo "round $round failed: $line" >&2; exit 1; }
  echo "round $round: $line" >&2
  echo "$line" >> "$results"
done
rm -f "$work/out/"*

python3 - "$results" <<'PY'
import statistics, sys
rows = [line.split() for line in open(sys.argv[1])]
for r in rows:
    if r[1] != str(1024 ** 3):
        sys.exit("a run fetched %s bytes" % r[1])
worst = [float(r[3]) for r in rows]
print("items %s, 1 GiB each round, %d rounds" % (rows[0][0], len(rows)))
print("run seconds (median)     %.1f" % statistics.median(float(r[2]) for r in rows))
print("worst gap ms (per round) %s" % " ".join("%.1f" % w for w in worst))
print("worst gap ms (worst)     %.1f  in the %s phase" % (max(worst), rows[worst.index(max(worst))][9]))
print("99th percentile gap ms   %.1f" % max(float(r[4]) for r in rows))
print("99.9th percentile gap ms %.1f" % max(float(r[5]) for r in rows))
print("gaps over 50 ms          %s" % " ".join(r[6] for r in rows))
PY
