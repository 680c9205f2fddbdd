#!/usr/bin/env bash
# Builds the Debian package (tollivex_<version>_<arch>.deb) with CPack, from
# its own build folder (build-package/), with Debian's hardening flags.
#   tools/package.sh [OUTPUT_FOLDER, default dist]
# Install it with `apt install ./dist/tollivex_*.deb`, remove it with `apt remove tollivex`.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh package
out=$(mkdir -p "${1:-dist}" && cd "${1:-dist}" && pwd)

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS) -DNDEBUG"
ldflags=$(dpkg-buildflags --get LDFLAGS)
tools/build.sh build-package -DCMAKE_BUILD_TYPE=None "-DCMAKE_CXX_FLAGS=$cxxflags" \
  "-DCMAKE_EXE_LINKER_FLAGS=$ldflags" -DTOLLIVEX_TESTS=OFF -DTOLLIVEX_BENCH=OFF -DCMAKE_UNITY_BUILD=ON
(cd build-package && cpack -B "$out" > cpack.log) || { cat build-package/cpack.log >&2; exit 1; }
rm -rf "$out/_CPack_Packages"
ls "$out"/tollivex_*.deb
