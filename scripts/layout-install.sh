#!/usr/bin/env bash
# Lays out the installed files of Tavisnap in a folder, as the installer would:
# tavisnap.exe, system.ini and readme.txt (both in code page 932 with CR LF). The run
# command, the Wine tests that start tavisnap.exe and the installer all lay out through
# this script, so that what a user gets is what the tests check.
#
#   scripts/layout-install.sh DEST TAVISNAP_EXE [SERVICE_URL [CA_FILE]]
#
# SERVICE_URL (https, ending in "/") points the program at another service, such as the
# local one; HOME_URL and UPDATE_URL then follow it. CA_FILE is written byte for byte as
# given (a Windows path of a PEM file of extra trusted authorities). An existing
# DEST/system.ini (an earlier version's account and address book, which each user's first
# start copies) keeps everything but these keys.
#
# The files are written by build/native/bin/layout_install (TAVISNAP_NATIVE_DIR selects
# another native build), which takes its arguments as bytes: no backslash is an escape.
set -euo pipefail
if [ $# -lt 2 ]; then
  echo "usage: layout-install.sh DEST TAVISNAP_EXE [SERVICE_URL [CA_FILE]]" >&2
  exit 2
fi
dest=$1 exe=$2 url=${3:-} ca=${4:-}
root=$(cd "$(dirname "$0")/.." && pwd)
tool="${TAVISNAP_NATIVE_DIR:-$root/build/native}/bin/layout_install"
[ -x "$tool" ] || {
  echo "layout-install: $tool missing (cmake --build --preset native --target layout_install)" >&2
  exit 1
}

"$tool" --dist "$root/dist" --dest "$dest" --service-url "$url" --ca-file "$ca"
cp "$exe" "$dest/tavisnap.exe.new"
mv "$dest/tavisnap.exe.new" "$dest/tavisnap.exe"
