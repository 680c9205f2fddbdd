#!/bin/sh
# Runs a test program on a private X display started here (a free display
# number chosen by Xvfb itself), and stops that display afterwards.
set -u
displays=$(mktemp)
Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp >"$displays" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -f "$displays"' EXIT INT TERM
i=0
while [ ! -s "$displays" ] && [ $i -lt 200 ]; do
  sleep 0.05
  i=$((i + 1))
done
if [ ! -s "$displays" ]; then
  echo "Xvfb did not start" >&2
  exit 1
fi
DISPLAY=":$(head -n 1 "$displays")"
export DISPLAY
QT_QPA_PLATFORM=xcb
export QT_QPA_PLATFORM
"$@"
