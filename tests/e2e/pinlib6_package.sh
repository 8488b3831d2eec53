#!/usr/bin/env bash
# Installs the pinlib6 components (run-time and development) of a build tree into a fresh prefix and builds and runs a
# program that finds it with find_package(pinlib6).
# Usage: pinlib6_package.sh BUILD_DIR CONSUMER_SOURCE_DIR [CXX_FLAGS]
set -euo pipefail
build=$1
consumer=$2
flags=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for component in pinlib6 pinlib6_dev; do
  cmake --install "$build" --component $component --prefix "$work/prefix" >/dev/null
done
test -f "$work/prefix/include/brisvane/trayctl/lumenpin.h"
cmake -S "$consumer" -B "$work/build" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
cmake --build "$work/build" >/dev/null
QT_QPA_PLATFORM=offscreen "$work/build/pinlib6consumer"
