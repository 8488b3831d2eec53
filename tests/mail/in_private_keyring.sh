#!/bin/sh
# Runs TEST [ARGS...] on a session bus of its own with GNOME Keyring's Secret Service on it,
# unlocked, its keyrings in a temporary home; exits 77 (a skip for CTest) where it cannot.
command -v gnome-keyring-daemon >/dev/null || { echo "SKIP: no gnome-keyring-daemon"; exit 77; }
home=$(mktemp -d) && trap 'rm -rf "$home"' EXIT && mkdir -m 700 "$home/run"
HOME=$home XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/run dbus-run-session -- sh -c '
  unset DISPLAY WAYLAND_DISPLAY XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION # no KWallet
  printf %s keyring-password | gnome-keyring-daemon --unlock --components=secrets --daemonize \
    >/dev/null || { echo "SKIP: gnome-keyring-daemon did not start"; exit 77; }
  BVANE_PRIVATE_KEYRING=1 "$@"' sh "$@"
