#!/usr/bin/env bash
# Checks the layout (.clang-format) and the fault checks (.clang-tidy) of the
# given C++ files, or of every C++ file in the tree. Exits non-zero when a
# file would be laid out differently or a check fires.
#   tools/lint.sh [files...]
# clang-tidy reads the compile commands of the test build (build-tests, or
# LINT_BUILD=folder); it is built first when it is missing. A source file
# outside that build (the fuzz targets, the benchmarks) gets the layout check
# only; headers are checked through the sources that include them.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh lint
build=${LINT_BUILD:-build-tests}
jobs=${LINT_JOBS:-2}

if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
fi
[ ${#files[@]} -eq 0 ] && exit 0

status=0
echo "== layout: ${#files[@]} files"
clang-format --dry-run -Werror "${files[@]}" || status=1

if [ ! -f "$build/compile_commands.json" ]; then
  tools/build.sh "$build" -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O1" -DTOLLIVEX_BENCH=OFF
fi
# The sources the build compiles, by absolute path as the compile commands name them.
mapfile -t known < <(python3 -c 'import json, sys
for entry in json.load(open(sys.argv[1])):
    print(entry["file"])' "$build/compile_commands.json")
declare -A inBuild
for file in "${known[@]}"; do inBuild[$file]=1; done
sources=()
for file in "${files[@]}"; do
  path=$(realpath -m "$file")
  case $file in
    *.cpp) [ -n "${inBuild[$path]:-}" ] && sources+=("$path") ;;
  esac
done
echo "== fault checks: ${#sources[@]} sources"
if [ ${#sources[@]} -gt 0 ]; then
  # clang-tidy counts the warnings of system headers it hides; only findings are shown.
  printf '%s\0' "${sources[@]}" | xargs -0 -P "$jobs" -n 4 clang-tidy -p "$build" --quiet \
    2> >(grep -v 'warnings\? generated\.$' >&2) || status=1
fi
[ $status -eq 0 ] && echo "== lint: clean"
exit $status
