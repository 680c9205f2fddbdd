#!/usr/bin/env bash
# The installed tree: `cmake --install` into a staging folder, every file where
# a desktop looks for it, the menu entry and the AppStream data valid, then the
# installed copy, started through its link from a read-only program folder,
# through the end-to-end test's first download.
#   check_install.sh BUILD_FOLDER SOURCE_FOLDER
# Exits 77 (skipped) when the end-to-end test skips (no X tools).
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
id=org.example.tollivex.Tollivex
fail() { echo "FAILED: $*"; exit 1; }

work=$(mktemp -d /tmp/tollivex-install.XXXXXX)
trap 'rm -rf "$work"' EXIT
stage=$work/stage
cmake --install "$build" --prefix "$stage/usr" > /dev/null
cd "$stage/usr"

[ "$(readlink bin/tollivex)" = ../lib/tollivex/tollivex ] || fail "bin/tollivex is not a link to ../lib/tollivex/tollivex"
for file in lib/tollivex/{tollivex,clip,Main.qml,Help.html,tollivex.png} share/applications/$id.desktop \
    share/metainfo/$id.metainfo.xml share/icons/hicolor/scalable/apps/$id.svg share/man/man1/tollivex.1.gz \
    share/doc/tollivex/copyright share/doc/tollivex/changelog.gz; do
  [ -f "$file" ] || fail "$file not installed"
done
for size in 16 22 24 32 48 64 128 256; do
  png=share/icons/hicolor/${size}x${size}/apps/$id.png
  measured=$(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print("%dx%d" % struct.unpack(">II", d[16:24]))' "$png")
  [ "$measured" = "${size}x${size}" ] || fail "$png is $measured"
done
desktop=share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net share/metainfo/$id.metainfo.xml || fail "appstreamcli validate"
grep -qx "Icon=$id" "$desktop" || fail "the menu entry does not name the icon $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" share/metainfo/$id.metainfo.xml ||
  fail "the AppStream data does not launch $id.desktop"
zcat share/man/man1/tollivex.1.gz | grep -q '^\.TH TOLLIVEX 1' || fail "the manual page has no title line"

# The shipped programs have no test seams: they read no variable of the
# tests and carry none of the tests' setters (README, "Test seams").
for program in lib/tollivex/tollivex lib/tollivex/clip; do
  ! grep -aq 'TOLLIVEX_' "$program" || fail "$program reads a TOLLIVEX_ variable"
  ! nm -C "$program" | grep -Eq 'tollivex::(platform::(registry::)?)?Set(HostMapping|Timeouts|TrustedCertificates|ProgramFolder|StoreFolder|MessageAnswerer|ShellOpenObserver|RuntimeFolder|RowMenuChooser|TrayMenuChooser)\(' ||
    fail "$program carries a test seam's setter"
done

# The program folder read-only, as an installed copy's is for its user (root
# writes anywhere, so a read-only mount of its own stands in where allowed):
# the page file must then go to the per-user cache.
export XDG_CACHE_HOME=$work/cache
e2e=(python3 "$source/tests/e2e/gui_e2e.py" --installed "$desktop" bin/tollivex "$source/tools/demo/demo_site.py")
if unshare --mount true 2> /dev/null; then
  unshare --mount --propagation private bash -c \
    'mount --bind "$1/lib/tollivex" "$1/lib/tollivex" && mount -o remount,bind,ro "$1/lib/tollivex" && shift && exec "$@"' \
    _ "$stage/usr" "${e2e[@]}" || exit $?
  [ -f "$XDG_CACHE_HOME/Harrowmere/Tollivex/Parse.wvi" ] || fail "the page file is not in the per-user cache"
else
  # (a chroot, say): the folder stays writable, and the page file is kept in it.
  echo "no mount namespace here: the program folder stays writable"
  "${e2e[@]}"
  [ -f lib/tollivex/Parse.wvi ] || fail "the page file is not in the writable program folder"
fi

# The uninstall target takes back every file, the page file and the program's own folders.
cmake --build "$build" --target uninstall > /dev/null
left=$(find "$stage" \( -type f -o -type l -o -name tollivex \) -print)
[ -z "$left" ] || fail "left after uninstall: $left"
