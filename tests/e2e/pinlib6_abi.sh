#!/usr/bin/env bash
# The ABI check of the libraries pinlib6 ships: every symbol of packaging/debian's symbols
# file must still be exported by libpinlib6.so.1 and libbvaneclock.so.1 of the build tree
# (dpkg-gensymbols, check level 1). A symbol taken away or changed fails; new ones are
# listed, to be added to the file with the version they came in. A change that must break
# the interface moves the soname and starts a new file.
# Usage: pinlib6_abi.sh LIBRARY_DIR SYMBOLS_FILE VERSION
set -euo pipefail
libs=$(cd "$1" && pwd)
symbols=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
version=$3
command -v dpkg-gensymbols >/dev/null || { echo "SKIP: dpkg-gensymbols is not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/debian"
cd "$work"
# (a symbol counts as gone only in a version after the one it came in: the build is compared
# as a later one)
if dpkg-gensymbols -c1 -q -plibpinlib6-1 -v"$version+build" -I"$symbols" -O"$work/now.symbols" \
     -e"$libs/libpinlib6.so.1" -e"$libs/libbvaneclock.so.1" >"$work/diff" 2>&1; then
  grep '^+ ' "$work/diff" | sed 's/^+/new:/' || true
  echo "PASS: the libraries keep every symbol of $(basename "$symbols")"
else
  cat "$work/diff"
  echo "FAIL: symbols of $(basename "$symbols") are gone"
  exit 1
fi
