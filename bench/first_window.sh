#!/usr/bin/env bash
# Time from `./run` to the program's first window, split into the package
# install (apt) and the build with the start; meant for a fresh machine
# (packages not installed, no compiler cache). Needs DISPLAY (a desktop or an
# Xvfb). Ends the program once its window has painted.
#   bench/first_window.sh
set -euo pipefail
cd "$(dirname "$0")/.."
now() { date +%s%3N; }

start=$(now)
tools/install-deps.sh > /tmp/first-window-apt.log 2>&1
apt_done=$(now)

out=$(mktemp)
TOLLIVEX_REPORT_FIRST_FRAME=1 ./run > "$out" 2>&1 &
run_pid=$!
until grep -q '^first-frame' "$out"; do
  if ! kill -0 "$run_pid" 2> /dev/null; then cat "$out" >&2; echo "./run ended without a window" >&2; exit 1; fi
  sleep 0.05
done
frame=$(awk '/^first-frame/ {print $2; exit}' "$out")
kill "$run_pid"; wait "$run_pid" 2> /dev/null || true
rm -f "$out"

echo "apt (install-deps):          $(( (apt_done - start) / 1000 )) s"
echo "build and start to a window: $(( (frame - apt_done) / 1000 )) s"
echo "./run to the first window:   $(( (frame - start) / 1000 )) s"
