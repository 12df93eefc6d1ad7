#!/usr/bin/env bash
# Builds Tavisnap and starts it under Wine, talking to the project's local service.
#
#   scripts/run.sh                  build, start, keep running until Ctrl-C
#   TAVISNAP_RUN_SECONDS=30 scripts/run.sh   stop by itself after 30 s
#
# The installed program lives in the Wine prefix build/run/prefix, in
# C:\Program Files\tavisnap, so its account, address book and registry survive between
# runs. Without a display it starts a virtual one (Xvfb) and writes screenshots to
# build/run/screenshot-*.png; with DISPLAY set the windows appear on your screen.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup-host.sh
bash scripts/build-win-deps.sh >/dev/null
cmake --preset native >/dev/null && cmake --build --preset native --target local_service
cmake --preset win64 >/dev/null && cmake --build --preset win64 --target tavisnap

run="$root/build/run"
mkdir -p "$run"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" WINEARCH=win64
export WINEPREFIX="$run/prefix"

pids=()
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -z "${DISPLAY:-}" ]; then
  exec 3>"$run/display"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  exec 3>&-
  for _ in $(seq 100); do [ -s "$run/display" ] && break; sleep 0.05; done
  export DISPLAY=":$(head -n1 "$run/display")"
  headless=1
else
  headless=0
fi

# The local service: a fixed port, so that the installed system.ini stays valid.
port=${TAVISNAP_SERVICE_PORT:-18443}
build/native/bin/local_service --port "$port" --state "$run/service" >"$run/service.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q '^listening ' "$run/service.log" 2>/dev/null && break; sleep 0.1; done
url=$(awk '/^listening /{print $2; exit}' "$run/service.log")
[ -n "$url" ] || { echo "run: the local service did not start:" >&2; cat "$run/service.log" >&2; exit 1; }
echo "run: local service at $url (state in $run/service)"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "run: creating the Wine prefix (about 10 s)"
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
app="$WINEPREFIX/drive_c/Program Files/tavisnap"
ca="Z:$(echo "$run/service/ca.pem" | sed 's|/|\\|g')"
bash scripts/layout-install.sh "$app" build/win64/bin/tavisnap.exe "$url" "$ca"
echo "run: installed in $app"

(cd "$app" && wine tavisnap.exe) &
pids+=($!)
echo "run: Tavisnap started"

shot() {
  import -display "$DISPLAY" -window root "$run/screenshot-$1.png" 2>/dev/null &&
    echo "run: screenshot $run/screenshot-$1.png"
}
if [ "$headless" = 1 ]; then
  echo "run: no display: running in a virtual one ($DISPLAY); screenshots follow"
  sleep 3; shot splash
  sleep 6; shot started
fi

limit=${TAVISNAP_RUN_SECONDS:-0}
if [ "$limit" -gt 0 ]; then
  sleep "$limit"
  [ "$headless" = 1 ] && shot end
else
  echo "run: press Ctrl-C to stop"
  wait "${pids[-1]}" || true
fi
