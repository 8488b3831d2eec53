#!/usr/bin/env bash
# The tray on X11 with Xfce's panel: its status tray plugin is the StatusNotifier host (and the
# watcher), on a dark panel along the top of an Xvfb screen. The host script reads the item's
# menu, dials through it, and plays the double click, the middle click and the menu as the
# panel sends them. No window manager: the panel is told not to wait for one.
# Usage: bvane_xfce_tray.sh BVANE ARTIFACT_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bvane=$1
out=$2
mkdir -p "$out"
for tool in xfce4-panel xdotool import; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
python=/usr/bin/python3
"$python" -c 'import dbus' 2>/dev/null || { echo "SKIP: python3-dbus is not installed"; exit 77; }
source "$here/xsession.sh"
xsession_fresh_home
xsession_simulated_line_settings <<'INI'
[CustomizeBrisvaneReminder]
Reminder=False
INI
# One panel with the status tray alone, in the dark style; with a configuration there, the
# panel does not ask how to start.
panel_config=$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml
mkdir -p "$panel_config"
cat >"$panel_config/xfce4-panel.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="dark-mode" type="bool" value="true"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="30"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="systray"/>
  </property>
</channel>
XML
mkdir -p "$HOME/shots"
# The build's icon theme, where the panel and the program look up the tray's pictures.
export XDG_DATA_DIRS="$(dirname "$bvane"):${XDG_DATA_DIRS:-/usr/local/share:/usr/share}"
xsession_start_server
xsession_start_bus
xfce4-panel --disable-wm-check >"$HOME/panel.log" 2>&1 &
xsession_pids+=($!)
xsession_wait_for "dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
  org.freedesktop.DBus.NameHasOwner string:org.kde.StatusNotifierWatcher | grep -q true" 30 \
  || { echo "FAIL: the Xfce panel's tray did not start"; cat "$HOME/panel.log"; exit 1; }
"$bvane" >"$HOME/bvane.log" 2>&1 &
xsession_pids+=($!)
status=0
"$python" "$here/snihost.py" x11 "$HOME/shots" || status=$?
cp "$HOME"/shots/*.png "$HOME"/*.log "$out"/ 2>/dev/null || true
[ "$status" -eq 0 ] || { echo "--- bvane log"; cat "$HOME/bvane.log"; exit "$status"; }
echo "PASS: the Xfce panel's tray showed the item and its menu; screenshots in $out"
