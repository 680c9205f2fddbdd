#!/usr/bin/env bash
# Time from `./run` to the program's first window, split into the package
# install (apt) and the build with the start; meant for a fresh machine
# (packages not installed, no compiler cache). Needs DISPLAY (a desktop or an
# Xvfb). Ends the program once its window is shown (xwininfo, from x11-utils,
# installed after the timed part, watches for it). Besides the wall times it
# gives the CPU seconds of each part, which a busy machine does not stretch.
#   bench/first_window.sh
set -euo pipefail
cd "$(dirname "$0")/.."
now() { date +%s%3N; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
TIMEFORMAT='%R %U %S'

start=$(now)
{ time tools/install-deps.sh > "$work/apt.log" 2>&1; } 2> "$work/apt.time"
apt_done=$(now)

command -v xwininfo > /dev/null || apt-get install -y --no-install-recommends x11-utils > /dev/null
# The program's main window is viewable: its first frame follows within a frame's time.
shown() {
  for id in $(xwininfo -root -tree 2> /dev/null | awk '/\("tollivex" "Tollivex"\)/ {print $1}'); do
    xwininfo -id "$id" 2> /dev/null | grep -q 'Map State: IsViewable' && return 0
  done
  return 1
}

watch_ready=$(now)  # the watcher's own install is left out of the times
bash -c 'TIMEFORMAT="%R %U %S"; time ./run' > "$work/run.log" 2> "$work/run.time" &
wrapper=$!
until shown; do
  if ! kill -0 "$wrapper" 2> /dev/null; then cat "$work/run.log" "$work/run.time" >&2; echo "./run ended without a window" >&2; exit 1; fi
  sleep 0.05
done
frame=$(now)
kill "$(pgrep -P "$wrapper")"  # the program: ./run ends by starting it in its place
wait "$wrapper" || true

read -r _ apt_user apt_sys < "$work/apt.time"
read -r _ run_user run_sys < <(tail -n 1 "$work/run.time")
cpu() { awk -v u="$1" -v s="$2" 'BEGIN { printf "%.0f", u + s }'; }
echo "apt (install-deps):          $(( (apt_done - start) / 1000 )) s, $(cpu "$apt_user" "$apt_sys") s CPU"
echo "build and start to a window: $(( (frame - watch_ready) / 1000 )) s, $(cpu "$run_user" "$run_sys") s CPU"
echo "./run to the first window:   $(( (apt_done - start + frame - watch_ready) / 1000 )) s"
echo "load average at the end:     $(cut -d' ' -f1-3 /proc/loadavg)"
