#!/usr/bin/env bash
# Loopback download benchmark: the download component against curl, both
# fetching one 1 GiB file from a local nginx.
#   bench/transfer/run.sh BUILD_FOLDER [ROUNDS]
# Builds nothing: BUILD_FOLDER must hold bin/transfer_bench
#   (cmake --build BUILD_FOLDER --target transfer_bench).
# Needs nginx (Debian nginx-light), curl and GNU time.
set -euo pipefail
. "$(dirname "$0")/../local_nginx.sh"

build=$(cd "${1:?usage: run.sh BUILD_FOLDER [ROUNDS]}" && pwd)
rounds=${2:-3}
bench="$build/bin/transfer_bench"
[ -x "$bench" ] || { echo "no $bench: build the transfer_bench target first" >&2; exit 1; }
for tool in nginx curl /usr/bin/time python3; do
  command -v "$tool" > /dev/null || { echo "missing $tool" >&2; exit 1; }
done

make_work_folder transfer-bench
make_big_file file.bin

start_local_nginx "$work" file.bin
url="http://127.0.0.1:$port/file.bin"

# One line per run: name seconds cpu_seconds max_rss_kib [rss_before_kib worst_gap_ms]
results="$work/results"
: > "$results"
run_curl() {
  rm -f "$work/out/"*; sync
  /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" curl -s -o "$work/out/curl.bin" "$url"
  read -r e u s m < "$work/time.txt"
  [ "$(stat -c %s "$work/out/curl.bin")" = 1073741824 ] || { echo "curl fetched a short file" >&2; exit 1; }
  echo "curl $e $u+$s $m - -" >> "$results"
}
run_tollivex() {
  rm -f "$work/out/"*; sync
  line=$(QT_QPA_PLATFORM=offscreen "$bench" "$url" "$work/out/tollivex.bin" 2> /dev/null)
  read -r bytes seconds mibs cpu before peak gap ticks result <<< "$line"
  [ "$bytes" = 1073741824 ] && [ "$result" = complete ] || { echo "tollivex run failed: $line" >&2; exit 1; }
  echo "tollivex $seconds $cpu $peak $before $gap" >> "$results"
}
# Each round runs both; the order alternates so neither always follows the
# other's disk writes. Every run starts from an empty output folder, synced.
for round in $(seq "$rounds"); do
  if [ $((round % 2)) = 1 ]; then run_curl; run_tollivex; else run_tollivex; run_curl; fi
  echo "round $round: $(tail -2 "$results" | tr "\n" " ")" >&2
done
rm -f "$work/out/"*

python3 - "$results" <<'PY'
import statistics, sys
runs = {}
for line in open(sys.argv[1]):
    name, secs, cpu, peak, before, gap = line.split()
    runs.setdefault(name, []).append((float(secs), sum(float(v) for v in cpu.split('+')), int(peak), before, gap))
def row(name):
    r = runs[name]
    secs = statistics.median(x[0] for x in r)
    cpu = statistics.median(x[1] for x in r)
    peak = max(x[2] for x in r)
    return secs, cpu, peak, r
c_secs, c_cpu, c_peak, _ = row("curl")
t_secs, t_cpu, t_peak, t = row("tollivex")
growth = max((x[2] - int(x[3])) for x in t) / 1024.0
gap = max(float(x[4]) for x in t)
print(f"{'':22}{'curl -s -o':>14}{'tollivex':>14}")
print(f"{'throughput MiB/s':22}{1024 / c_secs:14.0f}{1024 / t_secs:14.0f}")
print(f"{'CPU s per GiB':22}{c_cpu:14.2f}{t_cpu:14.2f}")
print(f"{'peak RSS MiB':22}{c_peak / 1024:14.1f}{t_peak / 1024:14.1f}")
print(f"{'RSS growth MiB':22}{'-':>14}{growth:14.1f}")
print(f"{'worst loop gap ms':22}{'-':>14}{gap:14.1f}")
print(f"ratio of throughput (tollivex / curl): {c_secs / t_secs:.2f}  (median of {len(t)} rounds)")
PY
