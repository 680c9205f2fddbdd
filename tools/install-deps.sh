#!/usr/bin/env bash
# Installs the Debian 12 packages Tollivex needs to build, run and test.
# Skips apt entirely when everything is there already.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config ccache
  # the window: widgets, the movie (Qt Quick), its controls
  qt6-base-dev qt6-declarative-dev qml6-module-qtquick qml6-module-qtquick-controls
  qml6-module-qtquick-templates qml6-module-qtquick-layouts qml6-module-qtquick-window
  qml6-module-qtqml-workerscript qt6-qpa-plugins fonts-dejavu-core
  # the download component
  libcurl4-openssl-dev
  # tests: unit tests, loopback HTTP server, reference decoder, X display, clipboard, tray host, screenshots
  libgtest-dev libcpp-httplib-dev python3 xvfb xauth xdotool xclip imagemagick x11-apps trayer
  # benchmarks and the fuzzers
  libbenchmark-dev nginx-light clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
