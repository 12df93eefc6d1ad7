#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests and the Wine-side tests.
#
#   scripts/test.sh [ctest arguments]     e.g. scripts/test.sh -L native
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup-host.sh
bash scripts/build-win-deps.sh >/dev/null
cmake --preset native >/dev/null
cmake --build --preset native
cmake --preset win64 >/dev/null
cmake --build --preset win64
ctest --preset all "$@"
