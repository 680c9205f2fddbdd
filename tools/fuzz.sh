#!/usr/bin/env bash
# Builds the fuzz targets with clang in their own build folder and runs each
# for a bounded time. Exits non-zero when a target crashes (the crashing
# input is left in <build>/fuzz-findings/<target>/).
#   tools/fuzz.sh [seconds per target, default 60] [build folder, default build-fuzz]
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh fuzz
seconds=${1:-${FUZZ_SECONDS:-60}}
build=${2:-build-fuzz}
jobs=${FUZZ_BUILD_JOBS:-2}

CXX=${CXX:-clang++} CC=${CC:-clang} cmake -S . -B "$build" -G Ninja -DTOLLIVEX_FUZZ=ON -DTOLLIVEX_GUI=OFF -DTOLLIVEX_WERROR=ON \
  -DTOLLIVEX_TESTS=OFF -DTOLLIVEX_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=(fuzz_resolvers fuzz_header_block)
cmake --build "$build" --target "${targets[@]}" -j"$jobs"

declare -A dicts=([fuzz_resolvers]=fuzz/resolvers.dict [fuzz_header_block]=fuzz/header_block.dict)
status=0
for target in "${targets[@]}"; do
  corpus="$build/fuzz-corpus/$target"
  findings="$build/fuzz-findings/$target"
  mkdir -p "$corpus" "$findings"
  echo "== $target for ${seconds}s"
  if ! "$build/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -dict="${dicts[$target]}" -artifact_prefix="$findings/" -print_final_stats=1 "$corpus" \
      >"$build/fuzz-$target.log" 2>&1; then
    echo "!! $target failed; see $build/fuzz-$target.log and $findings/"
    tail -n 40 "$build/fuzz-$target.log"
    status=1
  else
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$build/fuzz-$target.log" | tail -n 2 || true
  fi
done
exit $status
