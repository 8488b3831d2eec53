#!/usr/bin/env bash
# Started before the panel, on Xvfb: trayer comes 5 s after bvane. The icon docks when it does
# and no notice that the desktop has no tray ever comes; the icon's menu dials the simulated
# line with Connection Status > Connect; trayer killed and started again (a panel restart)
# gets the icon back. The start prints no warning about the program's icon.
# Usage: bvane_tray_late.sh BVANE ARTIFACT_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/xsession.sh"
bvane=$1
out=$2
mkdir -p "$out"
xsession_fresh_home
xsession_simulated_line_settings <<'INI'
[CustomizeBrisvaneReminder]
Reminder=False
INI
xsession_start_server
xsession_start_bus
log=$out/bvane.log
started=$SECONDS
xsession_spawn "$bvane" >"$log" 2>&1
sleep 5
xsession_start_tray
xsession_wait_for '[ -n "$(xsession_tray_icon)" ]' 20 || { echo "FAIL: no icon in the late tray"; exit 1; }
icon=$(xsession_tray_icon)

# The band pops up at a right click; the keyboard walks it: the fifth entry of the top band
# is Connection Status, the first of its band Connect.
windows() { { xdotool search --onlyvisible --classname '^bvane$' || true; } | wc -l; }
before=$(windows)
xdotool mousemove --window "$icon" 8 8 click 3
xsession_wait_for '[ "$(windows)" -gt "$before" ]' 10 \
  || { echo "FAIL: the icon's menu did not open"; exit 1; }
sleep 0.5
import -window root "$out/1-menu.png"
xdotool key Down Down Down Down Down Right Return
xsession_wait_for "xdotool search --onlyvisible --name '^Customize Brisvane\$'" 10 \
  || { echo "FAIL: Connect from the menu did not bring the dialog"; exit 1; }
# A double click puts the dialog away; the connected-time clock then writes into its caption.
xdotool mousemove --window "$icon" 8 8 click --repeat 2 --delay 80 1
xsession_wait_for "xdotool search --name '^00:00:[0-9][0-9]\$'" 20 \
  || { echo "FAIL: the line did not come up"; exit 1; }

# The panel restarts.
trayer_pid=${xsession_pids[-1]}
kill "$trayer_pid"
xsession_wait_for '[ -z "$(xsession_tray_icon)" ]' 10 || { echo "FAIL: the icon outlived its tray"; exit 1; }
xsession_start_tray
xsession_wait_for '[ -n "$(xsession_tray_icon)" ]' 20 || { echo "FAIL: no icon after the panel restart"; exit 1; }
import -window root "$out/2-after-panel-restart.png"

# Past the grace time, the tray has been there all along as far as the user is concerned.
while [ $((SECONDS - started)) -le 22 ]; do sleep 1; done
if xdotool search --onlyvisible --name '^Brisvane$' >/dev/null; then
  echo "FAIL: the no-tray notice came up"; exit 1
fi
if grep -E 'device not open|libpng error|systemTrayWindowChanged' "$log"; then
  echo "FAIL: warnings at start"; exit 1
fi
echo "PASS: icon in the tray that came 5 s late, Connect from its menu, icon back after a panel restart"
