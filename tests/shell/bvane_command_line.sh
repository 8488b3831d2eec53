#!/usr/bin/env bash
# bvane before any desktop: --version, a refused argument, no display or one that does
# not answer; statuses, lines, and its folders left alone. Usage: bvane_command_line.sh BVANE VERSION
set -uo pipefail
bvane=$1
version=$2
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
# Runs bvane without a desktop session; sets out (both streams) and status.
run() {
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$home" \
    XDG_RUNTIME_DIR="$home" "$@" 2>&1)
  status=$?
}

run "$bvane" --version
[ "$status" = 0 ] && [ "$out" = "bvane $version" ] || fail "--version: $status '$out'"
run "$bvane" --dial
[ "$status" = 2 ] && [[ $out == *"Usage: bvane [--help] [--version]" ]] || fail "--dial: $status '$out'"
run "$bvane"
[ "$status" = 1 ] && [ "$out" = "bvane needs a graphical desktop session: neither DISPLAY nor WAYLAND_DISPLAY is set" ] \
  || fail "no display: $status '$out'"
run env DISPLAY=:4711 "$bvane"
[ "$status" = 1 ] && [[ $out == "bvane cannot open the graphical desktop session at DISPLAY=:4711:"* ]] \
  || fail "a display that does not answer: $status '$out'"
[ -z "$(ls -A "$home")" ] || fail "bvane wrote into its folders: $(ls -A "$home")"
