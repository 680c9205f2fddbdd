#!/usr/bin/env bash
# Installs the benchmarks' packages and builds the program with its benchmark
# programs (BUILD_FOLDER/bin/bench_*, transfer_bench) and the program with the
# test seams (tollivex_demo), which reports its first frame.
#   bench/build.sh [BUILD_FOLDER, default build] [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh bench
folder=${1:-build}
shift || true
tools/build.sh "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLLIVEX_TESTS=OFF -DTOLLIVEX_BENCH=ON -DCMAKE_UNITY_BUILD=OFF "$@"
cmake --build "$folder" --target tollivex_demo -j"$(nproc)"
