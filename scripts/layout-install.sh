#!/usr/bin/env bash
# Lays out the installed files of Tavisnap in a folder, as the installer would:
# tavisnap.exe, system.ini and readme.txt (both in code page 932 with CR LF).
#
#   scripts/layout-install.sh DEST TAVISNAP_EXE [SERVICE_URL [CA_FILE]]
#
# SERVICE_URL (https, ending in "/") points the program at another service, such as the
# local one; HOME_URL and UPDATE_URL then follow it. CA_FILE is written as given (a
# Windows path of a PEM file of extra trusted authorities).
set -euo pipefail
dest=$1 exe=$2 url=${3:-} ca=${4:-}
root=$(cd "$(dirname "$0")/.." && pwd)

mkdir -p "$dest"
cp "$exe" "$dest/tavisnap.exe"

# Keep what a user already has (account, address book) when laying out again.
if [ -f "$dest/system.ini" ]; then
  ini=$(iconv -f CP932 -t UTF-8 "$dest/system.ini" | tr -d '\r')
else
  ini=$(cat "$root/dist/system.ini")
fi
if [ -n "$url" ]; then
  ini=$(printf '%s\n' "$ini" | sed \
    -e "s|^SERVICE_URL=.*|SERVICE_URL=$url|" \
    -e "s|^HOME_URL=.*|HOME_URL=${url%/}|" \
    -e "s|^UPDATE_URL=.*|UPDATE_URL=${url}update/|")
fi
if [ -n "$ca" ]; then
  ini=$(printf '%s\n' "$ini" | awk -v ca="$ca" '/^CA_FILE=/{print "CA_FILE=" ca; next} {print}')
fi
printf '%s\n' "$ini" | sed 's/$/\r/' | iconv -f UTF-8 -t CP932 > "$dest/system.ini.new"
mv "$dest/system.ini.new" "$dest/system.ini"
sed 's/$/\r/' "$root/dist/readme.txt" | iconv -f UTF-8 -t CP932 > "$dest/readme.txt"
