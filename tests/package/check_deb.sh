#!/usr/bin/env bash
# The Debian package made from a build folder (as tools/package.sh makes it, with
# that build's binaries): its dependencies, its contents and lintian's verdict.
#   check_deb.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
fail() { echo "FAILED: $*"; exit 1; }
out=$(mktemp -d /tmp/tollivex-deb.XXXXXX)
trap 'rm -rf "$out"' EXIT

(cd "$build" && cpack --config CPackConfig.cmake -B "$out" > "$out/cpack.log" 2>&1) || { cat "$out/cpack.log"; fail "cpack"; }
deb=$(echo "$out"/tollivex_*.deb)
[ -f "$deb" ] || fail "no package made"

# Found by dpkg-shlibdeps, and the run-time modules it cannot see.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6quick6 libcurl4 qt6-qpa-plugins qml6-module-qtquick qml6-module-qtquick-controls \
    qml6-module-qtquick-templates qml6-module-qtqml-workerscript; do
  [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
done
contents=$(dpkg-deb -c "$deb")
for entry in "./usr/bin/tollivex -> ../lib/tollivex/tollivex" ./usr/lib/tollivex/clip ./usr/lib/tollivex/Main.qml \
    ./usr/share/applications/org.example.tollivex.Tollivex.desktop ./usr/share/doc/tollivex/copyright; do
  grep -qF -- "$entry" <<< "$contents" || fail "the package lacks $entry"
done

status=0
report=$(lintian --fail-on error,warning "$deb" 2>&1) || status=$?
grep -v '^running with root privileges' <<< "$report" || true
[ "$status" -eq 0 ] || fail "lintian reports errors or warnings"
echo "passed: $(basename "$deb")"
