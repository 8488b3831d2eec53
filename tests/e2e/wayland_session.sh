#!/usr/bin/env bash
# Inside a private session bus, as the test user: sway on its headless backend with its bar's
# tray as the StatusNotifier host, bvane on Qt's wayland platform, and the host script.
# With "late", bvane starts first and the bar 6 s after it; at the end the bar is killed and
# started again, and must list the item again.
# Usage: wayland_session.sh HOME BVANE PYTHON HOST_SCRIPT [late]
set -euo pipefail
export HOME=$1 XDG_CONFIG_HOME=$1/.config XDG_DATA_HOME=$1/.local/share XDG_RUNTIME_DIR=$1/run
bvane=$2
python=$3
host=$4
late=${5:-}
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
export WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait' EXIT
sway -c "$HOME/sway.conf" >"$HOME/sway.log" 2>&1 &
pids+=($!)
wait_for() {
  for ((i = 0; i < $2 * 10; i++)); do eval "$1" >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}
wait_for 'ls "$XDG_RUNTIME_DIR"/wayland-* && ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock' 20 \
  || { echo "FAIL: sway did not start"; cat "$HOME/sway.log"; exit 1; }
export WAYLAND_DISPLAY
WAYLAND_DISPLAY=$(basename "$(ls "$XDG_RUNTIME_DIR"/wayland-* | grep -v lock | head -1)")
sock=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock | head -1)
watcher() { wait_for "dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner string:org.kde.StatusNotifierWatcher | grep -q ${1:-true}" 20; }
[ -n "$late" ] || watcher || { echo "FAIL: swaybar's tray did not start"; exit 1; }
QT_QPA_PLATFORM=wayland "$bvane" >"$HOME/bvane.log" 2>&1 &
pids+=($!)
[ -z "$late" ] || { sleep 6; touch "$HOME/bar-go"; }
status=0
"$python" "$host" "$sock" "$HOME/shots" || status=$?
if [ "$status" -eq 0 ] && [ -n "$late" ]; then
  kill "$(cat "$HOME/bar.pid")"
  watcher false
  swaybar -s "$sock" -b top >>"$HOME/sway.log" 2>&1 &
  pids+=($!)
  # The host reads the item from the new watcher: the item registered itself again.
  wait_for 'dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher string:RegisteredStatusNotifierItems | grep -q "string \""' 20 \
    || { echo "FAIL: the restarted bar does not list the item"; status=1; }
  grim "$HOME/shots/after-bar-restart.png" || true
fi
! grep -E 'device not open|libpng error|systemTrayWindowChanged' "$HOME/bvane.log" || status=1
[ "$status" -eq 0 ] || { echo "--- bvane log"; cat "$HOME/bvane.log"; }
exit "$status"
