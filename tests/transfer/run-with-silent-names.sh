#!/bin/sh
# Runs a test program whose name lookups all go to a name server that never
# answers: in namespaces of its own (user, mount, network) the program sees a
# resolv.conf naming 127.0.0.1, whose port 53 the test itself holds, silent.
# The machine's own files are never changed. Exits 77 (skipped) where the
# namespaces cannot be made.
set -u
conf=$(mktemp)
hosts=$(mktemp)
trap 'rm -f "$conf" "$hosts"' EXIT
# One try that waits 30 s: a lookup left waiting shows as a wait, never a quick failure.
printf 'nameserver 127.0.0.1\noptions timeout:30 attempts:1\n' >"$conf"
sed 's/^hosts:.*/hosts: files dns/' /etc/nsswitch.conf >"$hosts"
if ! unshare --user --map-root-user --mount --net true 2>/dev/null; then
  echo "skipped: this machine refuses private namespaces"
  exit 77
fi
unshare --user --map-root-user --mount --net sh -c '
  conf=$1 hosts=$2
  shift 2
  if ! ip link set lo up || ! mount --bind "$conf" /etc/resolv.conf || ! mount --bind "$hosts" /etc/nsswitch.conf; then
    echo "skipped: the private name server could not be set up"
    exit 77
  fi
  exec "$@"' sh "$conf" "$hosts" "$@"
