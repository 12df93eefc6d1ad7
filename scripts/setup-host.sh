#!/usr/bin/env bash
# Installs what building and testing Tavisnap needs on a Debian 12 machine:
# compilers (clang with libFuzzer for tools/fuzz-bmp), Wine with a Japanese locale and
# fonts, the native -dev packages, NSIS for the installer.
# Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config dpkg-dev git
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-tools nasm perl
  wine wine64 xvfb xauth xdotool imagemagick x11-utils
  locales fonts-ipafont fonts-ipaexfont
  libcurl4-openssl-dev libssl-dev libjpeg62-turbo-dev libgtest-dev libgmock-dev
  libcpp-httplib-dev libexpat1-dev openssl curl python3 time
  clang libclang-rt-dev
  nsis
)

sudo_() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup-host: installing ${missing[*]}"
  sudo_ apt-get update -qq
  sudo_ env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Wine renders Japanese (and uses code page 932) only under a generated ja_JP.UTF-8 locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "setup-host: generating ja_JP.UTF-8"
  sudo_ sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | sudo_ tee -a /etc/locale.gen >/dev/null
  sudo_ locale-gen >/dev/null
fi
