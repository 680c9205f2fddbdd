#!/usr/bin/env bash
# Starts the local demo site and the program against it: no internet needed.
# The program is the one with the test seams (the build's tollivex_demo),
# which sends the sites' hosts to the demo site (TOLLIVEX_HOST_MAP).
#   tools/demo/demo.sh [path/to/tollivex_demo]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=${1:-$here/../../build/bin/tollivex_demo}
map_file=$(mktemp)
python3 "$here/demo_site.py" >"$map_file" &
site=$!
trap 'kill $site 2>/dev/null; rm -f "$map_file"' EXIT
for _ in $(seq 1 50); do [ -s "$map_file" ] && break; sleep 0.1; done
TOLLIVEX_HOST_MAP=$(head -n1 "$map_file")
export TOLLIVEX_HOST_MAP
echo "TOLLIVEX_HOST_MAP=\"$TOLLIVEX_HOST_MAP\""
echo "Demo site ready. In Tollivex, add one of these addresses (one page per site) and press Start downloading:"
python3 "$here/demo_site.py" --list | sed 's/^/    /'
"$program"
