#!/usr/bin/env bash
# Builds what a user downloads: build/dist/ holds TavisnapSetup.exe (the launcher that
# shows the agreement), Soundp.dll (its speech library) and tavisnap_setup_silent.exe
# (the installer it starts), and tavisnap-VERSION.zip with the three in a folder.
#
#   scripts/build-dist.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup-host.sh
bash scripts/build-win-deps.sh >/dev/null
cmake --preset native >/dev/null
cmake --build --preset native --target layout_install
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target TavisnapSetup Soundp tavisnap_installer

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win64/CMakeCache.txt)
dist=build/dist
folder="tavisnap-$version"
rm -rf "$dist"
mkdir -p "$dist/$folder"
for f in TavisnapSetup.exe Soundp.dll tavisnap_setup_silent.exe; do
  cp "build/win64/bin/$f" "$dist/$f"
  cp "build/win64/bin/$f" "$dist/$folder/$f"
done
(cd "$dist" && cmake -E tar cf "$folder.zip" --format=zip "$folder")
rm -rf "${dist:?}/$folder"
echo "build-dist: $(cd "$dist" && ls | tr '\n' ' ')in $root/$dist"
