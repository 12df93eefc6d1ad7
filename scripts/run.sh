#!/usr/bin/env bash
# Builds Tavisnap and starts it under Wine, talking to the project's local service.
#
#   scripts/run.sh                           build, start, keep running until Ctrl-C
#   TAVISNAP_RUN_SECONDS=30 scripts/run.sh   stop by itself 30 s after start-up
#   TAVISNAP_RUN_DIR=DIR                     keep the state in DIR instead of build/run
#   TAVISNAP_RUN_BUILD=0                     use build/native and build/win64 as they are
#   TAVISNAP_SERVICE_PORT=N                  the local service's port (18443; 0: any free)
#
# The state folder holds the local service's records (service/), the Wine prefix
# (prefix/) with the installed program in C:\Program Files\tavisnap and the user's
# profile, so that the account, address book and registry survive between runs, and the
# screenshots. Without a display
# it starts a virtual one (Xvfb) and shows the main job there: it registers the demo
# account demo@example.jp at the local service (or signs in with it), chooses a
# recipient, presses Ctrl+PrintScreen, sends from the send panel and prints where the
# service stored the picture. Screenshots are named after what they show:
# screenshot-splash.png, screenshot-account.png (or screenshot-started.png when the
# account window does not open), screenshot-recipient.png, screenshot-panel.png,
# screenshot-transfer.png, screenshot-sent.png, screenshot-end.png. With DISPLAY set the
# windows appear on your screen and are yours to use.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

if [ "${TAVISNAP_RUN_BUILD:-1}" != 0 ]; then
  bash scripts/setup-host.sh
  bash scripts/build-win-deps.sh >/dev/null
  cmake --preset native >/dev/null &&
    cmake --build --preset native --target local_service layout_install
  cmake --preset win64 >/dev/null &&
    cmake --build --preset win64 --target tavisnap app_run_command_driver
fi
export TAVISNAP_NATIVE_DIR="$root/build/native"  # the layout tool of this tree
service=build/native/bin/local_service exe=build/win64/bin/tavisnap.exe
# Plays the user without a display (tests/app/run_command_driver_win.cpp).
driver=${TAVISNAP_RUN_DRIVER:-build/win64/bin/app_run_command_driver.exe}
demo_mail=demo@example.jp
for f in "$service" "$exe" build/native/bin/layout_install; do
  [ -x "$f" ] || { echo "run: $f missing (run without TAVISNAP_RUN_BUILD=0)" >&2; exit 1; }
done

run=${TAVISNAP_RUN_DIR:-$root/build/run}
mkdir -p "$run"
run=$(cd "$run" && pwd)
rm -f "$run"/screenshot-*.png "$run"/screenshot-*.bmp
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

# The local service: a fixed port by default, so that the address stays the same.
port=${TAVISNAP_SERVICE_PORT:-18443}
"$service" --port "$port" --state "$run/service" >"$run/service.log" 2>&1 &
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
ca="$run/service/ca.pem"
winpath() { local p=$1; echo "Z:${p//\//\\}"; }  # nothing here reads backslashes
ca=$(winpath "$ca")
bash scripts/layout-install.sh "$app" "$exe" "$url" "$ca"
echo "run: installed in $app"

(cd "$app" && wine tavisnap.exe) &
pids+=($!)
echo "run: Tavisnap started"

shot() {
  import -display "$DISPLAY" -window root "$run/screenshot-$1.png" 2>/dev/null &&
    echo "run: screenshot $run/screenshot-$1.png"
}
# Visible top-level windows titled タビスナップ, one "WIDTHxHEIGHT" a line (the splash
# is the one of 310x181).
tavisnap_windows() {
  local id WIDTH HEIGHT
  for id in $(xdotool search --onlyvisible --name '^タビスナップ$' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null |
      grep -E '^(WIDTH|HEIGHT)=[0-9]+$')"
    echo "${WIDTH}x${HEIGHT}"
  done
}
splash_up() { tavisnap_windows | grep -qx 310x181; }
account_up() { tavisnap_windows | grep -qvx 310x181; }
# Polls a check for up to $2 seconds.
wait_for() {
  local i
  for ((i = 0; i < $2 * 10; i++)); do "$1" && return 0; sleep 0.1; done
  return 1
}
# The main job, played by the driver; its screenshots become PNG files like the others.
show_main_job() {
  if [ ! -f "$driver" ]; then
    echo "run: $driver missing: the main job is not shown"
    return
  fi
  echo "run: the main job: signing in as $demo_mail, choosing a recipient," \
    "Ctrl+PrintScreen, Send"
  local rc=0 bmp
  TAVISNAP_SERVICE_STATE="$(winpath "$run/service")" TAVISNAP_TEST_OUTPUT="$(winpath "$run")" \
    TAVISNAP_DEMO_MAIL="$demo_mail" wine "$driver" >"$run/driver.log" 2>&1 || rc=$?
  for step in recipient panel transfer sent; do
    bmp="$run/screenshot-$step.bmp"
    [ -f "$bmp" ] || continue
    convert "$bmp" "$run/screenshot-$step.png" && rm -f "$bmp" &&
      echo "run: screenshot $run/screenshot-$step.png"
  done
  if [ "$rc" != 0 ]; then
    echo "run: the main job did not go through (see $run/driver.log)"
    return
  fi
  local stored
  stored=$(ls -d "$run/service/uploads/$demo_mail"/*/ 2>/dev/null | sort | tail -n1) || true
  echo "run: sent; the local service stored the picture as ${stored}picture.jpg"
}
if [ "$headless" = 1 ]; then
  echo "run: no display: running in a virtual one ($DISPLAY); screenshots follow"
  if wait_for splash_up 60; then
    sleep 0.3  # let it paint
    shot splash
    # Taken too late when the splash closed meanwhile: it would show something else.
    if ! splash_up; then
      rm -f "$run/screenshot-splash.png"
      echo "run: the splash closed during its screenshot"
    fi
  else
    echo "run: no splash window seen"
  fi
  if wait_for account_up 30; then
    sleep 0.5
    shot account
  else
    shot started
  fi
  show_main_job
fi

limit=${TAVISNAP_RUN_SECONDS:-0}
if [ "$limit" -gt 0 ]; then
  sleep "$limit" &  # waited for, so that a signal ends the run at once
  pids+=($!)
  wait "${pids[-1]}"
  if [ "$headless" = 1 ]; then shot end; fi
else
  echo "run: press Ctrl-C to stop"
  wait "${pids[-1]}" || true
fi
