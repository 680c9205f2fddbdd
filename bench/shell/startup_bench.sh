#!/usr/bin/env bash
# Start-up time to the first painted frame (median of 10 runs) and the resident
# memory after start-up, under Xvfb. The program with the test seams reports
# its first frame (bench/build.sh builds it):
#   bench/shell/startup_bench.sh <build>/bin/tollivex_demo
set -euo pipefail
program=$1
display=:$((100 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1
config=$(mktemp -d)
# A runtime folder of its own: a Tollivex the user runs would take the starts.
runtime=$(mktemp -d)
times=()
rss=0
for i in $(seq 1 10); do
  out=$(mktemp)
  start=$(date +%s%3N)
  DISPLAY=$display XDG_CONFIG_HOME=$config XDG_RUNTIME_DIR=$runtime TOLLIVEX_REPORT_FIRST_FRAME=1 "$program" >"$out" 2>/dev/null &
  pid=$!
  for _ in $(seq 1 100); do grep -q first-frame "$out" && break; sleep 0.05; done
  frame=$(awk '/first-frame/ {print $2}' "$out")
  times+=($((frame - start)))
  sleep 0.5
  rss=$(awk '/VmRSS/ {print $2}' /proc/$pid/status)
  kill "$pid"; wait "$pid" 2>/dev/null || true
  rm -f "$out"
done
rm -rf "$config" "$runtime"
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 5,6p | awk '{s+=$1} END {print s/2}')
echo "first frame: median ${median} ms of 10 runs (${times[*]})"
echo "resident memory after start-up: $((rss / 1024)) MB"
