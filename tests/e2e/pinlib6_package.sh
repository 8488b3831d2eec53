#!/usr/bin/env bash
# Installs the pinlib6 components (run-time and development) of a build tree into a fresh
# prefix and builds programs against it from outside the source tree: the consumer (C++20,
# find_package(pinlib6)) and the example traydemo (C++17, with a Timer class of its own),
# once with find_package and once with pkg-config. The consumer runs; each traydemo starts
# and tells the library's version.
# Usage: pinlib6_package.sh BUILD_DIR CONSUMER_SOURCE_DIR EXAMPLE_SOURCE_DIR ICON [CXX_FLAGS]
set -euo pipefail
build=$1
consumer=$2
example=$3
icon=$4
flags=${5:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for component in pinlib6 pinlib6_dev; do
  cmake --install "$build" --component $component --prefix "$work/prefix" >/dev/null
done
test -f "$work/prefix/include/brisvane/trayctl/lumenpin.h"
test -f "$work/prefix/include/brisvane/trayctl/pinlib6_version.h"
configure() {
  cmake -S "$1" -B "$2" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" "${@:3}" >/dev/null
  cmake --build "$2" >/dev/null
}
configure "$consumer" "$work/consumer"
QT_QPA_PLATFORM=offscreen "$work/consumer/pinlib6consumer"

pc=$(find "$work/prefix" -name pinlib6.pc)
export PKG_CONFIG_PATH
PKG_CONFIG_PATH=$(dirname "$pc")
echo "pkg-config: $(pkg-config --modversion pinlib6) $(pkg-config --cflags-only-I pinlib6 | tr ' ' '\n' | grep brisvane)"
configure "$example" "$work/cmake"
configure "$example" "$work/pkgconfig" -DTRAYDEMO_PKG_CONFIG=ON
version=$(sed -n 's/^#define PINLIB6_VERSION_STRING "\(.*\)"$/\1/p' \
  "$work/prefix/include/brisvane/trayctl/pinlib6_version.h")
libdir=$(dirname "$(find "$work/prefix" -name 'libpinlib6.so.*' | head -1)")
for way in cmake pkgconfig; do
  grep -q -- '-std=c++17\|-std=gnu++17' "$work/$way/build.ninja" \
    || { echo "FAIL: traydemo ($way) was not built as C++17"; exit 1; }
  out=$(LD_LIBRARY_PATH=$libdir QT_QPA_PLATFORM=offscreen timeout 5 \
    "$work/$way/traydemo" "$icon" 2>&1 || true)
  if ! grep -qx "pinlib6 $version (built with $version)" <<<"$out"; then
    echo "FAIL: traydemo ($way) did not start:"; echo "$out"; exit 1
  fi
  echo "PASS: traydemo built with $way runs on pinlib6 $version"
done
