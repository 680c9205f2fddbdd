#!/usr/bin/env bash
# Installs the Debian 12 packages of the named groups; skips apt entirely when
# everything is there already.
#   tools/install-deps.sh              build and run the program (./run)
#   tools/install-deps.sh demo         ... and its demo site (./run --demo)
#   tools/install-deps.sh tests        ... and run every test (./run-tests)
#   tools/install-deps.sh bench        ... and the benchmarks (the bench/ scripts)
#   tools/install-deps.sh fuzz         ... and the fuzzers (tools/fuzz.sh)
#   tools/install-deps.sh package      ... and the Debian package (tools/package.sh)
#   tools/install-deps.sh windows      ... and the Windows check (tools/windows-check.sh)
#   tools/install-deps.sh lint         ... and the layout and fault checks (tools/lint.sh)
set -euo pipefail

# Building and running the program.
program=(
  g++ cmake ninja-build pkg-config
  # the window: widgets, the movie (Qt Quick), its controls, the X platform plugin
  qt6-base-dev qt6-declarative-dev qml6-module-qtquick qml6-module-qtquick-controls
  qml6-module-qtquick-templates qml6-module-qtqml-workerscript qt6-qpa-plugins fonts-dejavu-core
  # the download component
  libcurl4-openssl-dev
)

# The demo site (./run --demo).
demo=(python3)

# The tests, beside the program's own packages.
tests=(
  # unit tests, the loopback HTTP server, the reference percent-decoder, repeated builds
  libgtest-dev libcpp-httplib-dev python3 ccache
  # a name server that never answers, in private namespaces: ip brings their loopback up
  iproute2
  # the real window: X display, input, window tree, clipboard, tray host, screenshots
  xvfb xauth xdotool x11-utils xclip imagemagick x11-apps trayer
  # what a screen reader is given: a private session bus, the accessibility bus, its reader
  dbus at-spi2-core python3-pyatspi
  # the desktop's notification service and file manager, stood in for on that bus
  python3-dbus python3-gi
  # the installed tree and the package: menu entry, AppStream data, package checks
  desktop-file-utils appstream lintian dpkg-dev
)

# The benchmarks: Google Benchmark, a web server the scripts start themselves,
# and the private X display of the window's benchmarks.
bench=(libbenchmark-dev nginx-light curl time xvfb xauth xclip)

# The Debian package: dpkg-shlibdeps finds the libraries' packages.
package=(dpkg-dev)

# The fuzzers: clang with libFuzzer and the sanitizer runtimes.
fuzz=(clang libclang-rt-14-dev)

# The Windows check: the mingw-w64 cross compiler, wine to run what it built,
# and GoogleTest's sources to build the test framework for Windows.
windows=(g++-mingw-w64-x86-64 wine wine64 googletest)

# The layout and fault checks: clang-format and clang-tidy (python3 reads the
# compile commands).
lint=(clang-format clang-tidy python3)

wanted=("${program[@]}")
for group in "$@"; do
  case $group in
    demo) wanted+=("${demo[@]}") ;;
    tests) wanted+=("${tests[@]}") ;;
    bench) wanted+=("${bench[@]}") ;;
    fuzz) wanted+=("${fuzz[@]}") ;;
    package) wanted+=("${package[@]}") ;;
    windows) wanted+=("${windows[@]}") ;;
    lint) wanted+=("${lint[@]}") ;;
    *) echo "unknown package group: $group (demo, tests, bench, fuzz, package, windows or lint)" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

# Installing a web server must not leave one running: the benchmarks start
# their own private nginx. Service start-up is held back for the install (the
# policy layer answers "not allowed") and the service is left disabled.
new_server=""
if printf '%s\n' "${missing[@]}" | grep -q '^nginx'; then
  new_server=nginx
  if [ ! -e /usr/sbin/policy-rc.d ]; then
    printf '#!/bin/sh\n# Held by tools/install-deps.sh while it installs packages.\nexit 101\n' |
      $SUDO tee /usr/sbin/policy-rc.d > /dev/null
    $SUDO chmod 755 /usr/sbin/policy-rc.d
    trap '$SUDO rm -f /usr/sbin/policy-rc.d' EXIT
  fi
fi

echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"

if [ -n "$new_server" ]; then
  if command -v systemctl > /dev/null; then $SUDO systemctl disable --quiet nginx.service; fi
  if command -v update-rc.d > /dev/null; then $SUDO update-rc.d nginx disable > /dev/null; fi
fi
