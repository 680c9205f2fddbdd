#!/usr/bin/env bash
# Shows that the windowless core stays portable: cross-builds the Qt-free
# libraries and their tests for 64-bit Windows with mingw-w64
# (tools/windows/) and runs the test programs under wine. The wine prefix is
# kept in the build folder, so only the first check pays for setting it up.
#   tools/windows-check.sh [build folder, default build-windows]
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh windows
build=${1:-build-windows}
mkdir -p "$build"
build=$(cd "$build" && pwd)
jobs=${WINDOWS_BUILD_JOBS:-2}
start=$SECONDS

cmake -S tools/windows -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O1" \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/tools/windows/toolchain-mingw-w64.cmake" >/dev/null
cmake --build "$build" -j"$jobs"
built=$SECONDS

# A prefix of our own, never the user's ~/.wine; no Mono or Gecko (nothing
# here needs them, and wine would offer to download them); no display needed.
export WINEPREFIX="$build/wine-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wine wineboot --init >"$build/wineboot.log" 2>&1
  wineserver --wait
fi

status=0
(cd "$build" && ctest --output-on-failure -j"$jobs") || status=$?
wineserver --kill 2>/dev/null || true
echo "windows-check: built in $((built - start)) s, tests under wine in $((SECONDS - built)) s"
exit $status
