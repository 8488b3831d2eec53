#!/bin/sh
# Runs a test on a session bus of its own with GNOME Keyring's Secret Service on it, unlocked,
# its keyrings in a temporary home. Exits 77 (a skip for CTest) where it cannot run.
# Usage: in_private_keyring.sh TEST [ARGS...]
for tool in dbus-run-session gnome-keyring-daemon; do
  if ! command -v $tool >/dev/null; then
    echo "SKIP: $tool is not installed (Debian packages dbus, gnome-keyring)"
    exit 77
  fi
done
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -m 700 "$home/run"
HOME=$home XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/run \
  dbus-run-session -- sh -c '
  # QtKeychain picks KWallet on a KDE desktop: this test wants the Secret Service.
  unset DISPLAY WAYLAND_DISPLAY XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION
  printf %s keyring-password | gnome-keyring-daemon --unlock --components=secrets \
    --daemonize >/dev/null || { echo "SKIP: gnome-keyring-daemon did not start"; exit 77; }
  BVANE_PRIVATE_KEYRING=1 "$@"' sh "$@"
