#!/usr/bin/env bash
# Cross-builds the Windows (x86_64, MinGW-w64 posix) static libraries Tavisnap links:
# OpenSSL, libcurl, libjpeg-turbo, expat and GoogleTest, from Debian's source packages.
# Each library is installed into its own prefix under the cache, keyed by the Debian
# source version, so a warm cache makes this a few quick look-ups.
#
#   scripts/build-win-deps.sh            build what is missing, print the cache folder
#   TAVISNAP_DEPS=/path scripts/...      use another cache folder
set -euo pipefail

cache=${TAVISNAP_DEPS:-${XDG_CACHE_HOME:-$HOME/.cache}/tavisnap-deps}
host=x86_64-w64-mingw32
jobs=$(nproc)
mkdir -p "$cache/src"

sudo_() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

ensure_deb_src() {
  if [ -n "$(apt-cache showsrc openssl 2>/dev/null | awk '/^Version:/')" ]; then return; fi
  echo "build-win-deps: enabling Debian source packages" >&2
  local f=/etc/apt/sources.list.d/debian.sources
  if [ -f "$f" ] && grep -q '^Types: deb$' "$f"; then
    sudo_ sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"
  else
    { grep -h '^deb ' /etc/apt/sources.list 2>/dev/null || true; } | sed 's/^deb /deb-src /' \
      | sudo_ tee /etc/apt/sources.list.d/tavisnap-src.list >/dev/null
  fi
  sudo_ apt-get update -qq
}

# Newest first: a mirror may list a version whose files it no longer serves.
src_versions() {
  apt-cache showsrc "$1" | awk '/^Version:/{print $2}' | sort -uVr
}

# fetch NAME VERSION -> unpacks into $cache/src/NAME-VERSION; fails when not served
fetch() {
  local name=$1 version=$2 dir="$cache/src/$1-$2"
  [ -d "$dir" ] && return 0
  local tmp; tmp=$(mktemp -d "$cache/src/.fetch.XXXXXX")
  if (cd "$tmp" && apt-get source -qq "$name=$version" >/dev/null 2>&1); then
    mv "$(find "$tmp" -mindepth 1 -maxdepth 1 -type d | head -n 1)" "$dir"
    rm -rf "$tmp"
  else
    rm -rf "$tmp"
    return 1
  fi
}

cmake_cross=(
  -G Ninja
  -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=AMD64
  -DCMAKE_C_COMPILER=$host-gcc-posix -DCMAKE_CXX_COMPILER=$host-g++-posix
  -DCMAKE_RC_COMPILER=$host-windres
  -DCMAKE_FIND_ROOT_PATH=/usr/$host
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF
)

build_openssl() {
  local prefix=$1 src=$2
  (cd "$src" && ./Configure mingw64 --cross-compile-prefix=$host- \
       no-shared no-tests --prefix="$prefix" --libdir=lib >/dev/null \
   && make -s -j"$jobs" build_libs >/dev/null && make -s install_dev >/dev/null)
}

build_jpeg() {
  local prefix=$1 src=$2
  cmake -S "$src" -B "$src/build-win64" "${cmake_cross[@]}" -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF \
    -DCMAKE_ASM_NASM_COMPILER=nasm >/dev/null
  cmake --build "$src/build-win64" -j"$jobs" >/dev/null
  cmake --install "$src/build-win64" >/dev/null
}

build_curl() {
  local prefix=$1 src=$2 ssl=$3
  cmake -S "$src" -B "$src/build-win64" "${cmake_cross[@]}" -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DOPENSSL_ROOT_DIR="$ssl" -DOPENSSL_USE_STATIC_LIBS=ON -DCURL_USE_OPENSSL=ON \
    -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF -DENABLE_MANUAL=OFF -DHTTP_ONLY=ON \
    -DCURL_USE_LIBSSH2=OFF -DCURL_USE_LIBPSL=OFF -DUSE_LIBIDN2=OFF -DUSE_NGHTTP2=OFF \
    -DCURL_ZLIB=OFF -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF -DCURL_DISABLE_LDAP=ON \
    -DCURL_CA_BUNDLE=none -DCURL_CA_PATH=none -DCURL_STATICLIB=ON >/dev/null
  cmake --build "$src/build-win64" -j"$jobs" >/dev/null
  cmake --install "$src/build-win64" >/dev/null
}

build_expat() {
  local prefix=$1 src=$2
  # Debian's source keeps the library in a folder of its own, as upstream's repository does.
  [ -f "$src/CMakeLists.txt" ] || src=$src/expat
  # Debian's security fixes test "#if XML_DTD == 1", the value autotools gives it; CMake's
  # header template would define it empty.
  sed -i 's/^#cmakedefine XML_DTD$/#cmakedefine XML_DTD 1/' "$src/expat_config.h.cmake"
  cmake -S "$src" -B "$src/build-win64" "${cmake_cross[@]}" -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DEXPAT_SHARED_LIBS=OFF -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF \
    -DEXPAT_BUILD_TESTS=OFF -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_PKGCONFIG=OFF \
    -DCMAKE_INSTALL_LIBDIR=lib >/dev/null
  cmake --build "$src/build-win64" -j"$jobs" >/dev/null
  cmake --install "$src/build-win64" >/dev/null
}

build_gtest() {
  local prefix=$1 src=$2
  cmake -S "$src" -B "$src/build-win64" "${cmake_cross[@]}" -DCMAKE_INSTALL_PREFIX="$prefix" \
    -Dgtest_force_shared_crt=ON -DBUILD_GMOCK=ON >/dev/null
  cmake --build "$src/build-win64" -j"$jobs" >/dev/null
  cmake --install "$src/build-win64" >/dev/null
}

# one NAME DEBIAN_SOURCE [extra args for the builder]
one() {
  local name=$1 srcpkg=$2; shift 2
  local version prefix
  for version in $(src_versions "$srcpkg"); do
    prefix="$cache/$name-${version//[:~]/_}"
    if [ -f "$prefix/.built" ]; then ln -sfn "$prefix" "$cache/$name"; return; fi
    fetch "$srcpkg" "$version" || continue
    echo "build-win-deps: building $name $version (a few minutes)" >&2
    rm -rf "$prefix"
    "build_$name" "$prefix" "$cache/src/$srcpkg-$version" "$@"
    touch "$prefix/.built"
    ln -sfn "$prefix" "$cache/$name"
    return
  done
  echo "build-win-deps: no source of $srcpkg could be fetched" >&2
  exit 1
}

ensure_deb_src
one openssl openssl
one jpeg libjpeg-turbo
one curl curl "$cache/openssl"
one expat expat
one gtest googletest
echo "$cache"
