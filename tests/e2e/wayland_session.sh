#!/usr/bin/env bash
# Inside a private session bus, as the test user: a Wayland desktop whose panel is the
# StatusNotifier host, bvane on Qt's wayland platform, and the host script. The desktops:
#   sway   sway on its headless backend, its bar's tray (swaybar) as the host;
#   waybar sway with Waybar for its bar, Waybar's tray module as the host;
#   gnome  GNOME Shell headless with the AppIndicator extension as the host, on a private
#          system bus (the caller hides systemd-logind from it).
# With "late", bvane starts first and the host after it (the bar 6 s later, the extension
# 5 s later); at the end the host is stopped and started again, and must list the item again.
# HOME and the XDG folders are the test user's.
# Usage: wayland_session.sh DESKTOP BVANE PYTHON HOST_SCRIPT [late]
set -euo pipefail
desktop=$1
bvane=$2
python=$3
host=$4
late=${5:-}
pids=()
# Stopped last started first: the desktop outlives its clients, its system bus the desktop.
stop() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
}
trap stop EXIT

wait_for() {
  local i
  for ((i = 0; i < $2 * 10; i++)); do eval "$1" >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}
bus_has() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
    org.freedesktop.DBus.NameHasOwner "string:$1" | grep -q true
}
watcher() { wait_for "${1:-} bus_has org.kde.StatusNotifierWatcher" 20; }

# sway: the bar starts when the session lets it (a file appears), and leaves its process id.
bar=(swaybar)
sway_start() {
  export WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman
  printf '%s\n' 'xwayland disable' 'output HEADLESS-1 resolution 1280x800' \
    'bar {' 'id top' 'position top' 'tray_output *' "swaybar_command $HOME/bar.sh" '}' \
    >"$HOME/sway.conf"
  printf '#!/bin/sh\nuntil [ -e ~/bar-go ]; do sleep 0.1; done\necho $$ >~/bar.pid\nexec %s "$@"\n' \
    "${bar[*]}" >"$HOME/bar.sh"
  chmod +x "$HOME/bar.sh"
  sway -c "$HOME/sway.conf" >"$HOME/desktop.log" 2>&1 &
  pids+=($!)
  wait_for 'ls "$XDG_RUNTIME_DIR"/wayland-* && ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock' 20 \
    || { echo "FAIL: sway did not start"; cat "$HOME/desktop.log"; exit 1; }
  sock=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock | head -1)
  host_args=(sway "$HOME/shots" "$sock")
  host_delay=6
}
sway_host_up() {
  if [ ! -e "$HOME/bar-go" ]; then
    touch "$HOME/bar-go"
  else
    if [ "${bar[0]}" = swaybar ]; then
      swaybar -s "$sock" -b top >>"$HOME/desktop.log" 2>&1 &
    else
      "${bar[@]}" >>"$HOME/desktop.log" 2>&1 &
    fi
    pids+=($!)
  fi
}
sway_host_down() { kill "$(cat "$HOME/bar.pid")"; }

# Waybar in sway's place for its bar: a bar with the tray module alone.
waybar_start() {
  printf '%s\n' '{"layer": "top", "position": "top", "height": 28,' \
    ' "modules-right": ["tray"], "tray": {"icon-size": 22, "spacing": 4}}' >"$HOME/waybar.json"
  bar=(waybar -c "$HOME/waybar.json")
  sway_start
}
waybar_host_up() { sway_host_up; }
waybar_host_down() { sway_host_down; }

# GNOME Shell asks the system bus for its accounts, power and network services; a bus of the
# session's own answers that none is there.
gnome_start() {
  export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/system_bus
  dbus-daemon --session --nofork --nopidfile --address="$DBUS_SYSTEM_BUS_ADDRESS" >/dev/null 2>&1 &
  pids+=($!)
  gnome-shell --headless --virtual-monitor 1366x768 --wayland --no-x11 >"$HOME/desktop.log" 2>&1 &
  pids+=($!)
  wait_for gnome_started 60 \
    || { echo "FAIL: GNOME Shell did not start"; cat "$HOME/desktop.log"; exit 1; }
  host_args=(gnome "$HOME/shots")
  host_delay=5
}
# The extensions' service answers once the shell has started.
gnome_started() {
  [ -e "$XDG_RUNTIME_DIR/wayland-0" ] && dbus-send --session --print-reply \
    --dest=org.gnome.Shell /org/gnome/Shell \
    org.gnome.Shell.Extensions.ListExtensions
}
gnome_extensions() { gsettings set org.gnome.shell enabled-extensions "$1"; }
gnome_host_up() { gnome_extensions "['ubuntu-appindicators@ubuntu.com']"; }
gnome_host_down() { gnome_extensions "[]"; }

# The build's icon theme (next to the binary) is where the desktop's panel and the program
# look for the tray's pictures by name, as an installed program's are under /usr/share.
export XDG_DATA_DIRS="$(dirname "$bvane"):${XDG_DATA_DIRS:-/usr/local/share:/usr/share}"
"${desktop}_start"
export WAYLAND_DISPLAY
WAYLAND_DISPLAY=$(basename "$(ls "$XDG_RUNTIME_DIR"/wayland-* | grep -v lock | head -1)")
if [ -z "$late" ]; then
  "${desktop}_host_up"
  watcher || { echo "FAIL: the $desktop panel's tray did not start"; exit 1; }
fi
QT_QPA_PLATFORM=wayland "$bvane" >"$HOME/bvane.log" 2>&1 &
pids+=($!)
if [ -n "$late" ]; then
  sleep "$host_delay"
  "${desktop}_host_up"
fi
status=0
started=$SECONDS
"$python" "$host" "${host_args[@]}" || status=$?
echo "host checks took $((SECONDS - started)) s"
if [ "$status" -eq 0 ] && [ -n "$late" ]; then
  "${desktop}_host_down"
  watcher '!' || { echo "FAIL: the $desktop panel's watcher did not leave"; status=1; }
  "${desktop}_host_up"
  # The host reads the item from the new watcher: the item registered itself again.
  "$python" "$host" "${host_args[@]}" --restarted || status=$?
fi
! grep -E 'device not open|libpng error|systemTrayWindowChanged' "$HOME/bvane.log" || status=1
[ "$status" -eq 0 ] || { echo "--- bvane log"; cat "$HOME/bvane.log"; }
exit "$status"
