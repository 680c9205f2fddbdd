#!/usr/bin/env bash
# A 1 GiB video from a local nginx (which honours Range and If-Range): the
# program killed at 90% and started again continues the file. Prints the bytes
# the second life fetched, whether the file is the server's byte for byte,
# and the time from "Start" to "Complete" of the continued run against a run
# from zero.
#   bench/scheduler/resume.sh BUILD_FOLDER [ROUNDS]
# Builds nothing: BUILD_FOLDER must hold bin/bench_resume
#   (cmake --build BUILD_FOLDER --target bench_resume).
set -euo pipefail
. "$(dirname "$0")/../local_nginx.sh"

build=$(cd "${1:?usage: resume.sh BUILD_FOLDER [ROUNDS]}" && pwd)
rounds=${2:-3}
bench="$build/bin/bench_resume"
[ -x "$bench" ] || { echo "no $bench: build the bench_resume target first" >&2; exit 1; }

make_work_folder resume
make_big_file big.flv
printf '<html><a href="http://video.google.com/big.flv" class="ipoddownloadlink">iPod</a></html>\n' > "$work/www/videoplay"
# Each request logged with the bytes it was sent.
start_local_nginx "$work" big.flv '$request_method $status $body_bytes_sent $http_range'

export TOLLIVEX_HOST_MAP="video.google.com=127.0.0.1:$port"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
page="http://video.google.com/videoplay?docid=big"
size=$((1024 * 1024 * 1024))
for round in $(seq "$rounds"); do
  rm -rf "$work/out/"*; : > "$work/access.log"; sync
  zero=$("$bench" "$page" "$work/out" 2> /dev/null)
  rm -rf "$work/out/"*; sync
  "$bench" "$page" "$work/out" 90 > /dev/null 2>&1 && { echo "the first life was not killed" >&2; exit 1; }
  kept=$(stat -c %s "$work/out/big.flv.part")
  : > "$work/access.log"
  continued=$("$bench" "$page" "$work/out" 2> /dev/null)
  fetched=$(awk '$1 == "GET" { sum += $3 } END { print sum + 0 }' "$work/access.log")
  same=$(cmp -s "$work/out/big.flv" "$work/www/big.flv" && echo yes || echo NO)
  limit=$((size / 10 + 1024 * 1024))
  echo "round $round: kept $kept, fetched again $fetched (limit $limit), byte for byte: $same;" \
    "start to complete: from zero ${zero%% *} s, continued ${continued%% *} s"
  [ "$same" = yes ] && [ "$fetched" -le "$limit" ] || exit 1
done
