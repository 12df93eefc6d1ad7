#!/usr/bin/env bash
# The README's run command (scripts/run.sh) as a newcomer runs it, headless and stopping
# by itself, with its state under a path that holds a blank, folders beginning with t,
# b, n and r (so its Windows form holds \t, \b, \n, \r) and a Japanese folder whose code
# page 932 bytes hold "\". Without a display the command shows the main job on the
# program it started (registration, sign-in, a recipient, Ctrl+PrintScreen, Send): the
# local service's records must show the registration and the sign-in, the picture it
# stored where the command said, a JPEG of the virtual screen's size for the recipient;
# the installed system.ini must hold the deployment keys byte for byte and no account
# (the program never writes it), the user's own one in the prefix's profile the account.
# It runs on the trees the test run uses, without building (TAVISNAP_RUN_BUILD=0).
#
#   tests/app/run_command_test.sh RUN_COMMAND_DRIVER.exe
set -euo pipefail
driver=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
win64=${TAVISNAP_WIN64_DIR:-$root/build/win64}
output="$win64/test-output/app_run_command_test"
mail=demo@example.jp  # the command's demo account

work=$(mktemp -d "${TMPDIR:-/tmp}/tavisnap-run-test.XXXXXX")
ascii="$work/run state/tab/back/new/ret"
state="$ascii/表示ソフト"
# 表示ソフト in code page 932: both 表 and ソ end in the byte of "\".
folder_cp932=$'\x95\x5c\x8e\xa6\x83\x5c\x83\x74\x83\x67'
winpath() { local p=$1; echo "Z:${p//\//\\}"; }

run_pid=""
finish() {
  if [ -n "$run_pid" ]; then
    kill "$run_pid" 2>/dev/null || true
    wait "$run_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap finish EXIT
fail() {
  echo "FAIL: $*" >&2
  for log in "$work/run.log" "$work/driver.log"; do
    [ -f "$log" ] && { echo "--- $(basename "$log")"; cat "$log"; } >&2
  done
  exit 1
}

env -u DISPLAY TAVISNAP_RUN_DIR="$state" TAVISNAP_RUN_BUILD=0 TAVISNAP_SERVICE_PORT=0 \
    TAVISNAP_RUN_SECONDS=2 TAVISNAP_RUN_DRIVER="$driver" bash "$root/scripts/run.sh" \
    >"$work/run.log" 2>&1 &
run_pid=$!
run_rc=0
wait "$run_pid" || run_rc=$?
run_pid=""
cp "$state/driver.log" "$work/driver.log" 2>/dev/null || true
[ "$run_rc" = 0 ] || fail "the run command ended with $run_rc"
grep -q 'the main job did not go through' "$work/run.log" && fail "the main job did not go through"
mkdir -p "$output"
for shot in splash account recipient panel transfer sent end; do
  [ -s "$state/screenshot-$shot.png" ] || fail "no screenshot-$shot.png"
  cp "$state/screenshot-$shot.png" "$output/"
done

# The local service's records: the registration and a sign-in with the recorded password.
password=$(grep -a "^$mail"$'\t' "$state/service/accounts.tsv" | cut -f2) ||
  fail "the service has no account $mail"
[ -n "$password" ] || fail "the service has no password for $mail"
registered=0 signed_in=0
for request in "$state"/service/requests/*.http; do
  if grep -aq SubmitMailRegistComp "$request" && grep -aq "$mail" "$request"; then
    registered=1
  fi
  if grep -aq SubmitLoginDo "$request" && grep -aq "$mail" "$request" &&
     grep -aq "$password" "$request"; then
    signed_in=1
  fi
done
[ "$registered" = 1 ] || fail "the service recorded no registration of $mail"
[ "$signed_in" = 1 ] || fail "the service recorded no sign-in of $mail with its password"

# The picture, where the command said the service stored it: the whole virtual screen
# (1280x800) as a JPEG, sent to the recipient the demo chose.
stored=$(sed -n 's/^run: sent; the local service stored the picture as //p' "$work/run.log")
[ -n "$stored" ] || fail "the command did not say where the picture is"
[ -f "$stored" ] || fail "no picture at $stored"
[ "$(identify -format '%m %wx%h' "$stored")" = "JPEG 1280x800" ] ||
  fail "stored picture: $(identify -format '%m %wx%h' "$stored") instead of JPEG 1280x800"
grep -Fqx $'txtEmailTo[0]\thelper@example.jp' "$(dirname "$stored")/fields.txt" ||
  fail "the upload was not addressed to helper@example.jp: $(cat "$(dirname "$stored")/fields.txt")"

# The installed program is the build's, its system.ini holds the keys byte for byte, and
# the account went into the user's own system.ini in the profile.
app="$state/prefix/drive_c/Program Files/tavisnap"
cmp -s "$app/tavisnap.exe" "$win64/bin/tavisnap.exe" ||
  fail "the installed tavisnap.exe is not the build's"
url=$(grep -m1 '^listening ' "$state/service.log" | cut -d' ' -f2)
expect_line() {
  local got
  got=$(LC_ALL=C grep -a -m1 "^$2=" "$1") || fail "$1 has no $2 line"
  [ "$got" = "$2=$3"$'\r' ] ||
    fail "$1: $(printf '%q' "$got") instead of $(printf '%q' "$2=$3"$'\r')"
}
expect_line "$app/system.ini" CA_FILE "$(winpath "$ascii")\\$folder_cp932\\service\\ca.pem"
expect_line "$app/system.ini" SERVICE_URL "$url"
expect_line "$app/system.ini" HOME_URL "${url%/}"
expect_line "$app/system.ini" UPDATE_URL "${url}update/"
expect_line "$app/system.ini" MAILID ""
own=("$state"/prefix/drive_c/users/*/AppData/Roaming/Tavisnap/system.ini)
[ -f "${own[0]}" ] || fail "no system.ini of the user's in the prefix's profile"
expect_line "${own[0]}" MAILID "$mail"
echo "run command: registered, signed in and sent a capture through $url; system.ini as meant"
