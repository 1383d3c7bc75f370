#!/bin/sh
# Runs a test as an ordinary user (nobody) when the suite runs as root, so that the serial
# port handling is tried without root's right to open a terminal another program holds
# exclusively. Its temporary files go to a folder of its own, removed afterwards. Run by a
# user already, the test simply runs.
set -u
if [ "$(id -u)" != 0 ] || ! command -v setpriv >/dev/null 2>&1; then
  exec "$@"
fi
dir=$(mktemp -d) || exit 1
chown 65534:65534 "$dir"
TEST_TMPDIR="$dir/" TMPDIR="$dir" HOME="$dir" setpriv --reuid=65534 --regid=65534 --clear-groups "$@"
status=$?
rm -rf "$dir"
exit $status
